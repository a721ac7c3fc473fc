#include "export/TFrmExcelOption.h"

#include "export/ExcelExport.h"

#include <QPushButton>
#include <QVBoxLayout>

TFrmExcelOption::TFrmExcelOption(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TFrmExcelOption"));
    setWindowTitle(QStringLiteral("导出Excel"));

    btnSale = new QPushButton(QStringLiteral("导出销售主表数据"), this);
    btnSale->setObjectName(QStringLiteral("btnSale"));
    btnSaleDetail = new QPushButton(QStringLiteral("导出销售明细数据"), this);
    btnSaleDetail->setObjectName(QStringLiteral("btnSaleDetail"));
    for (QPushButton *b : {btnSale, btnSaleDetail}) {
        b->setMinimumSize(200, 36);
        b->setAutoDefault(false);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(14);
    layout->addWidget(btnSale);
    layout->addWidget(btnSaleDetail);
    setFixedSize(sizeHint());

    connect(btnSale, &QPushButton::clicked, this, &TFrmExcelOption::btnSaleClick);
    connect(btnSaleDetail, &QPushButton::clicked, this, &TFrmExcelOption::btnSaleDetailClick);
}

void TFrmExcelOption::setSources(const QuerySource &sales, const QuerySource &details)
{
    m_sales = sales;
    m_details = details;
    m_armed = true;
}

void TFrmExcelOption::clearSources()
{
    m_sales = QuerySource();
    m_details = QuerySource();
    m_armed = false;
}

void TFrmExcelOption::btnSaleClick()
{
    if (m_armed)
        ExportDataSetToExcel(m_ctx, m_sales);
}

void TFrmExcelOption::btnSaleDetailClick()
{
    if (m_armed)
        ExportDataSetToExcel(m_ctx, m_details);
}
