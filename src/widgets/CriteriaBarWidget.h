#pragma once

#include "data/ReportCriteria.h"

#include <QWidget>

struct AppContext;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

// The row over a report's grid where the operator chooses what to list:
// 开始日期 (dtpStart) and 结束日期 (dtpEnd), both today at first, the shop
// (cbShop), the shop assistant (cbSalePerson) and the operator (cbOperator)
// when the report has them, each list starting with 全部, and 查询
// (btnQuery). 查询 refuses an end day before the start day (unless the
// window takes any two days); otherwise it hands the criteria to the window.
// A window whose controls have names of their own renames them and sets
// their captions.
class CriteriaBar : public QWidget
{
    Q_OBJECT
public:
    enum Choice { Shop = 0x1, Operator = 0x2, SalesPerson = 0x4 };
    Q_DECLARE_FLAGS(Choices, Choice)

    explicit CriteriaBar(AppContext &ctx, Choices choices = {}, QWidget *parent = nullptr);

    QDateEdit *dtpStart, *dtpEnd;
    QComboBox *cbShop;       // nullptr without the Shop choice
    QComboBox *cbOperator;   // nullptr without the Operator choice
    QComboBox *cbSalePerson; // nullptr without the SalesPerson choice
    QPushButton *btnQuery;

    // What is chosen now (not checked).
    ReportCriteria criteria() const;
    void setRange(const QDate &start, const QDate &end);
    // The names a list offers after 全部 instead of the usual ones
    // (ReportShopNames, ReportOperatorNames, ReportSalesPersonNames); they
    // are read at the next reload.
    void setNames(Choice list, const QuerySource &names);
    // The caption in front of one of the bar's controls.
    QLabel *caption(const QWidget *control) const;
    // Whether 查询 refuses an end day before the start day (it does at
    // first). Without the check such a range is handed over as it is and
    // holds no row.
    void setRangeChecked(bool checked);
    // Reads the shop and operator lists again; a name chosen stays chosen
    // while it is still listed, else 全部 is. False when the lists could
    // not be read (the error was shown). Every showing of the bar does it.
    bool reload();

signals:
    // 查询 with criteria that pass their check.
    void queryRequested(const ReportCriteria &criteria);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void query();

    AppContext &m_ctx;
    QuerySource m_shopNames, m_operatorNames, m_salesPersonNames;
    bool m_rangeChecked = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CriteriaBar::Choices)
