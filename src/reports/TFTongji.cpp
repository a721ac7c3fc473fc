#include "reports/TFTongji.h"

#include "reports/StatisticsChartWidget.h"
#include "widgets/CriteriaBarWidget.h"
#include "widgets/DataGridWidget.h"
#include "widgets/FormWidget.h"
#include "widgets/GridPanelWidget.h"
#include "widgets/NavigatorBarWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

using SalesStatistics::Mode;

namespace
{

// The wait cursor while the figures are computed.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

TFTongji::TFTongji(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TFTongji"));
    setWindowTitle(QStringLiteral("销售统计"));

    // 统 计: the kit's criteria bar under this window's names, every shop
    // (shown or not), and any two days (a start after the end finds nothing).
    auto *criteria = new QGroupBox(QStringLiteral(" 统 计  "), this);
    criteria->setObjectName(QStringLiteral("GroupBox1"));
    Criteria = new CriteriaBar(
        ctx, CriteriaBar::Shop | CriteriaBar::SalesPerson | CriteriaBar::Operator, criteria);
    Criteria->setNames(CriteriaBar::Shop, SalesStatistics::ShopNames());
    Criteria->setNames(CriteriaBar::SalesPerson, SalesStatistics::SalesPersonNames());
    Criteria->setNames(CriteriaBar::Operator, SalesStatistics::OperatorNames());
    Criteria->setRangeChecked(false);
    DateTimePicker1 = Criteria->dtpStart;
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = Criteria->dtpEnd;
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    Criteria->caption(DateTimePicker2)->setText(QStringLiteral("至"));
    cbStore = Criteria->cbShop;
    cbStore->setObjectName(QStringLiteral("cbStore"));
    cbAdmin = Criteria->cbOperator;
    cbAdmin->setObjectName(QStringLiteral("cbAdmin"));
    // The shop assistant is never chosen here: the list stays hidden on 全部.
    cbSalePerson = Criteria->cbSalePerson;
    cbSalePerson->hide();
    Criteria->caption(cbSalePerson)->hide();
    BitBtn1 = Criteria->btnQuery;
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setText(QStringLiteral("   统  计   "));
    BitBtn1->setDefault(true);

    rbSaleQuery = new QRadioButton(QStringLiteral("销售统计"), criteria);
    rbSaleQuery->setObjectName(QStringLiteral("rbSaleQuery"));
    rbSaleQuery->setChecked(true);
    rbAddQuery = new QRadioButton(QStringLiteral("充值统计"), criteria);
    rbAddQuery->setObjectName(QStringLiteral("rbAddQuery"));
    chkShowChart = new QCheckBox(QStringLiteral("显示图表"), criteria);
    chkShowChart->setObjectName(QStringLiteral("chkShowChart"));
    chkShowChart->setChecked(true);
    BitBtn2 = MakeButton(criteria, "BitBtn2", QStringLiteral("   关  闭   "));
    auto *modes = new QHBoxLayout;
    modes->addWidget(rbSaleQuery);
    modes->addWidget(rbAddQuery);
    modes->addSpacing(24);
    modes->addWidget(chkShowChart);
    modes->addStretch();
    modes->addWidget(BitBtn2);
    auto *criteriaLayout = new QVBoxLayout(criteria);
    criteriaLayout->addWidget(Criteria);
    criteriaLayout->addLayout(modes);

    // 合 计: caption and value, four to a row.
    auto *totals = new QGroupBox(QStringLiteral(" 合 计 "), this);
    totals->setObjectName(QStringLiteral("GroupBox2"));
    auto *totalsLayout = new QGridLayout(totals);
    int at = 0;
    const auto total = [&](const char *name, const QString &caption) {
        auto *value = new QLabel(QStringLiteral("0"), totals);
        value->setObjectName(QLatin1String(name));
        value->setMinimumWidth(110);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        totalsLayout->addWidget(new QLabel(caption, totals), at / 4, (at % 4) * 2, Qt::AlignRight);
        totalsLayout->addWidget(value, at / 4, (at % 4) * 2 + 1);
        ++at;
        return value;
    };
    Label5 = total("Label5", QStringLiteral("总消费金额："));
    lbl_TotalSaleJiFenAll = total("lbl_TotalSaleJiFenAll", QStringLiteral("总消费积分："));
    Label10 = total("Label10", QStringLiteral("总消费件数："));
    lbl_TotalCash = total("lbl_TotalCash", QStringLiteral("总消费现金："));
    lbl_TotalSaleCard = total("lbl_TotalSaleCard", QStringLiteral("总消费储值："));
    lbl_TotalAddCardMoney = total("lbl_TotalAddCardMoney", QStringLiteral("总充值金额："));
    lbl_TotalEnabledMoney = total("lbl_TotalEnabledMoney", QStringLiteral("总卡内余额："));
    lbl_TotalReturnMoney = total("lbl_TotalReturnMoney", QStringLiteral("总退货金额："));

    // 明 细: the chart, then the sales (or recharges) over their lines; the
    // two export buttons share one row under them.
    auto *lists = new QGroupBox(QStringLiteral(" 明 细 "), this);
    lists->setObjectName(QStringLiteral("GroupBox3"));
    chartView = new StatisticsChartView(lists);
    chartView->setObjectName(QStringLiteral("chartView"));
    chartView->setFixedHeight(170);
    m_top = new GridPanel(ctx, lists);
    m_top->navigator()->hide();
    DBGrid1 = m_top->grid();
    btnExcel = m_top->exportButton();
    m_detail = new GridPanel(ctx, lists);
    m_detail->navigator()->hide();
    m_detail->navigator()->setObjectName(QStringLiteral("DBNavigator2"));
    DBGrid2 = m_detail->grid();
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    btnExportDetail = m_detail->exportButton();
    btnExportDetail->setObjectName(QStringLiteral("btnExportDetail"));
    btnExportDetail->setText(QStringLiteral("导出明细"));
    // The panels' own rows keep only their (hidden) navigators.
    m_top->buttonRow()->removeWidget(btnExcel);
    m_detail->buttonRow()->removeWidget(btnExportDetail);
    auto *exports = new QHBoxLayout;
    exports->addStretch();
    exports->addWidget(btnExcel);
    exports->addWidget(btnExportDetail);
    m_lists = new QVBoxLayout(lists);
    m_lists->addWidget(chartView);
    m_lists->addWidget(m_top, 2);
    m_lists->addWidget(m_detail, 3);
    m_lists->addLayout(exports);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(criteria);
    layout->addWidget(totals);
    layout->addWidget(lists, 1);
    setFixedSize(1000, 720);

    setTabOrder(DateTimePicker1, DateTimePicker2);
    setTabOrder(DateTimePicker2, cbStore);
    setTabOrder(cbStore, cbAdmin);
    setTabOrder(cbAdmin, BitBtn1);
    setTabOrder(BitBtn1, rbSaleQuery);
    setTabOrder(rbSaleQuery, rbAddQuery);
    setTabOrder(rbAddQuery, chkShowChart);
    setTabOrder(chkShowChart, BitBtn2);
    setTabOrder(BitBtn2, DBGrid1);
    setTabOrder(DBGrid1, DBGrid2);
    setTabOrder(DBGrid2, btnExcel);
    setTabOrder(btnExcel, btnExportDetail);

    // 统计 hands over the criteria once the bar has read them.
    connect(Criteria, &CriteriaBar::queryRequested, this, &TFTongji::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFTongji::BitBtn2Click);
    // By mouse or by arrow key: the mode chosen changes the export buttons.
    connect(rbSaleQuery, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbSaleQueryClick();
    });
    connect(rbAddQuery, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbAddQueryClick();
    });
    connect(chkShowChart, &QCheckBox::toggled, this, &TFTongji::chkShowChartClick);
    // btnExcel and btnExportDetail are the grid panels': each writes the rows
    // of its grid (btnExcelClick, btnExportDetailClick).
}

TFTongji::~TFTongji() = default;

void TFTongji::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_placed) {
        m_placed = true;
        CenterOnScreen(this);
    }
    FormShow();
}

void TFTongji::FormShow()
{
    ShowTotals(SalesStatistics::Totals::Initial());
    // Headings without rows until the figures are in.
    for (GridPanel *panel : {m_top, m_detail}) {
        panel->setColumnWidths(SalesStatistics::LineListWidths());
        panel->setSource(SalesStatistics::EmptyLineList());
    }
    const QDate today = m_ctx.clock.today();
    Criteria->setRange(today, today);
    // The shop, shop assistant and operator lists were read again as the
    // bar was shown.
    MyTongji();
}

void TFTongji::MyTongji()
{
    const ReportCriteria criteria = Criteria->criteria();
    const Mode mode = rbSaleQuery->isChecked() ? Mode::Sales : Mode::Recharges;
    const BusyCursor busy;
    SalesStatistics::Totals totals;
    if (!Guarded(m_ctx.prompter,
                 [&] { totals = SalesStatistics::Compute(m_ctx.db, criteria, mode); }))
        return;
    ShowTotals(totals);

    QuerySource first, lines;
    if (!Guarded(m_ctx.prompter, [&] {
            if (mode == Mode::Sales) {
                first = SalesStatistics::SaleList(m_ctx.db, criteria);
                lines = SalesStatistics::LineList(m_ctx.db, criteria);
            } else {
                first = SalesStatistics::RechargeList(m_ctx.db, criteria);
            }
        }))
        return;
    m_computed = criteria;
    m_computedMode = mode;
    ShowListsFor(mode);
    if (mode == Mode::Sales) {
        m_top->setColumnWidths(SalesStatistics::SaleListWidths());
        m_top->setSource(first);
        m_detail->setColumnWidths(SalesStatistics::LineListWidths());
        m_detail->setSource(lines);
    } else {
        m_top->setColumnWidths(SalesStatistics::RechargeListWidths());
        m_top->setSource(first);
    }
    DrawChart();
}

void TFTongji::ShowTotals(const SalesStatistics::Totals &totals)
{
    Label5->setText(totals.amount);
    lbl_TotalSaleJiFenAll->setText(totals.points);
    Label10->setText(totals.pieces);
    lbl_TotalCash->setText(totals.cash);
    lbl_TotalSaleCard->setText(totals.card);
    lbl_TotalAddCardMoney->setText(totals.recharged);
    lbl_TotalEnabledMoney->setText(totals.balance);
    lbl_TotalReturnMoney->setText(totals.returned);
}

void TFTongji::ShowListsFor(Mode mode)
{
    const bool sales = mode == Mode::Sales;
    m_detail->setVisible(sales);
    if (!sales)
        m_detail->grid()->clearRows();
    m_lists->setStretchFactor(m_top, sales ? 2 : 1);
}

void TFTongji::DrawChart()
{
    chartView->setVisible(chkShowChart->isChecked());
    if (!chkShowChart->isChecked() || !m_computed)
        return;
    SalesStatistics::Chart chart;
    if (Guarded(m_ctx.prompter, [&] {
            chart = SalesStatistics::ComputeChart(m_ctx.db, *m_computed, m_computedMode);
        }))
        chartView->showChart(chart);
    else
        chartView->clearChart();
}

void TFTongji::BitBtn1Click()
{
    MyTongji();
}

void TFTongji::BitBtn2Click()
{
    close();
}

void TFTongji::rbSaleQueryClick()
{
    btnExcel->setText(QStringLiteral("导出销售记录"));
    btnExportDetail->setText(QStringLiteral("导出明细记录"));
    btnExportDetail->show();
}

void TFTongji::rbAddQueryClick()
{
    btnExportDetail->hide();
    btnExcel->setText(QStringLiteral("导出充值记录"));
}

void TFTongji::btnExcelClick()
{
    m_top->exportRows();
}

void TFTongji::btnExportDetailClick()
{
    m_detail->exportRows();
}

void TFTongji::chkShowChartClick()
{
    const BusyCursor busy;
    DrawChart();
}
