#pragma once

#include "context/AppContext.h"
#include "reports/SalesStatistics.h"

#include <QDialog>
#include <optional>

class CriteriaBar;
class DataGridWidget;
class GridPanel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class StatisticsChartView;

// 销售统计: the sales of a date range (totals, the sales, their lines) or the
// stored-value recharges (total and list), for every shop and operator or
// one of each, with a chart of the amounts per day or month above the
// lists. A new window for each opening, shown modally; it opens on today's
// figures and only reads.
class TFTongji : public QDialog
{
    Q_OBJECT
public:
    explicit TFTongji(AppContext &ctx, QWidget *parent = nullptr);
    ~TFTongji() override;

    // 统 计: the criteria bar with the kit's controls under this window's names.
    CriteriaBar *Criteria;
    QDateEdit *DateTimePicker1, *DateTimePicker2; // 开始日期 至
    QComboBox *cbStore, *cbSalePerson, *cbAdmin;  // 店名, 销售员 (hidden), 操作员
    QRadioButton *rbSaleQuery, *rbAddQuery;
    QCheckBox *chkShowChart; // 显示图表
    QPushButton *BitBtn1;    // 统计
    QPushButton *BitBtn2;    // 关闭

    // 合 计: the values beside their captions.
    QLabel *Label5;                // 总消费金额
    QLabel *lbl_TotalSaleJiFenAll; // 总消费积分
    QLabel *Label10;               // 总消费件数
    QLabel *lbl_TotalCash;         // 总消费现金
    QLabel *lbl_TotalSaleCard;     // 总消费储值
    QLabel *lbl_TotalAddCardMoney; // 总充值金额
    QLabel *lbl_TotalEnabledMoney; // 总卡内余额
    QLabel *lbl_TotalReturnMoney;  // 总退货金额

    // 明 细: the chart, the sales or recharges, the sale lines.
    StatisticsChartView *chartView;
    DataGridWidget *DBGrid1, *DBGrid2;
    QPushButton *btnExcel, *btnExportDetail;

    void FormShow();
    // Computes every figure and list of the mode chosen.
    void MyTongji();
    void BitBtn1Click();
    void BitBtn2Click();
    void rbSaleQueryClick();
    void rbAddQueryClick();
    void btnExcelClick();
    void btnExportDetailClick();
    void chkShowChartClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ShowTotals(const SalesStatistics::Totals &totals);
    // Places the lists for the mode computed: the line list under the first
    // one in sales mode, the first list alone in recharge mode.
    void ShowListsFor(SalesStatistics::Mode mode);
    // Draws the chart of the last computation when it is shown.
    void DrawChart();

    AppContext &m_ctx;
    GridPanel *m_top, *m_detail;
    QVBoxLayout *m_lists;
    // What the figures shown were computed for.
    std::optional<ReportCriteria> m_computed;
    SalesStatistics::Mode m_computedMode = SalesStatistics::Mode::Sales;
    bool m_placed = false; // centred on the screen once
};
