#pragma once

// TFrmExcelOption: the small "导出Excel" window of the member consumption
// query. It exports what the query window hands over and nothing else.
//
// How the query window (TViewForm) uses it:
//   - when the operator asks for it (导出Excel with 导出当前查询记录 ticked):
//         option->setSources(salesGrid->source(), detailGrid->source());
//         option->show();   // modeless
//   - whenever the query window is shown or closed:
//         option->clearSources();
// btnSale "导出销售主表数据" exports the first source and btnSaleDetail
// "导出销售明细数据" the second, each through ExportDataSetToExcel (file dialog,
// existing-file refusal, messages). While no sources are set, that is when the
// query window has not asked in its current showing, the buttons do nothing.

#include "context/AppContext.h"
#include "data/QuerySource.h"

#include <QDialog>

class QPushButton;

class TFrmExcelOption : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmExcelOption(AppContext &ctx, QWidget *parent = nullptr);

    // The sales (master) and sale-lines (detail) selects to export.
    void setSources(const QuerySource &sales, const QuerySource &details);
    // Forgets both: the buttons do nothing until the next setSources().
    void clearSources();
    bool hasSources() const { return m_armed; }

    QPushButton *btnSale;
    QPushButton *btnSaleDetail;

    void btnSaleClick();
    void btnSaleDetailClick();

private:
    AppContext &m_ctx;
    QuerySource m_sales;
    QuerySource m_details;
    bool m_armed = false;
};
