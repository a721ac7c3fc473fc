#pragma once

#include "data/QuerySource.h"
#include "data/ReportCriteria.h"

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// 销售统计: the sums of a date range, optionally for one shop, one operator
// and one shop assistant, over the sales and their lines or over the
// stored-value recharges; the lists behind them; the sums per day or month
// for the chart. Every figure is summed by SQLite from the indexes of
// schema step 3, never by reading rows here.
//
// A line's amount is its price times its quantity taken without sign (a
// return line, which the return writes with price and quantity negated,
// counts 10 for -10 x -1 as for 10 x -1); the line list shows it with the
// sign of the quantity.
namespace SalesStatistics
{

enum class Mode {
    Sales,     // 销售统计: sales and sale lines
    Recharges, // 充值统计: stored-value recharges
};

// The eight figures of the 合计 group as they are shown: amounts with two
// decimals, points and pieces as plain numbers, "0" for a sum over no rows.
struct Totals {
    QString amount;    // 总消费金额: every line's amount, return lines included
    QString points;    // 总消费积分: the sales' points
    QString pieces;    // 总消费件数: the lines' quantities with their sign
    QString cash;      // 总消费现金
    QString card;      // 总消费储值
    QString recharged; // 总充值金额
    QString balance;   // 总卡内余额: every member's stored value now
    QString returned;  // 总退货金额: the return lines' amount

    // Before the first computation: "0.00" for 总消费金额, "0" for the rest.
    static Totals Initial();
    bool operator==(const Totals &) const = default;
};

// The one statement that reads all figures of a mode, as one view of the
// file: sales mode gives amount, pieces, returned, cash, card, points,
// balance; recharge mode gives recharged, balance. Throws DbError.
QuerySource TotalsSource(Database &db, const ReportCriteria &criteria, Mode mode);
// Runs it and shows the figures; the other mode's figures are zero ("0.00"
// for amounts, "0" for points and pieces). Throws DbError.
Totals Compute(Database &db, const ReportCriteria &criteria, Mode mode);

// The lists, newest first. Throws DbError (the shop, operator and shop
// assistant are looked up by name).
QuerySource SaleList(Database &db, const ReportCriteria &criteria);     // one row per sale
QuerySource LineList(Database &db, const ReportCriteria &criteria);     // one row per line
QuerySource RechargeList(Database &db, const ReportCriteria &criteria); // one row per recharge
// The line list's headings without rows: both grids before the first
// computation.
QuerySource EmptyLineList();

// Column widths in pixels: 序号 30, the dates 120, the rest 80.
QList<int> SaleListWidths();
QList<int> LineListWidths();
// 充值日期 120, the rest 80.
QList<int> RechargeListWidths();

// The names the lists offer after 全部: every shop (shown or not), every
// shop assistant and every operator, in the order they were entered.
QuerySource ShopNames();
QuerySource SalesPersonNames();
QuerySource OperatorNames();

// The chart: the range's sums per day, or per month for a range of more
// than two months.
enum class Step { Day, Month };
Step ChartStep(const ReportCriteria &criteria);

struct ChartPeriod {
    QString period;    // "2024-03-05" or "2024-03"
    double first = 0;  // sales mode: the sold lines' amount; recharges: the amount recharged
    double second = 0; // sales mode: the return lines' amount
    bool operator==(const ChartPeriod &) const = default;
};

struct Chart {
    Step step = Step::Day;
    QStringList series; // 销售金额, 退货金额 or 充值金额
    // Every period from the first to the last of the range in order, those
    // without rows at zero. A range of too many months holds only the months
    // from the first to the last one with rows (only those with rows when
    // they still are too many).
    QList<ChartPeriod> periods;
};

// The one grouped statement behind the chart: period, then the sums of
// the series. Throws DbError.
QuerySource ChartSource(Database &db, const ReportCriteria &criteria, Mode mode);
Chart ComputeChart(Database &db, const ReportCriteria &criteria, Mode mode);

// The most periods a chart fills in.
inline constexpr int MaxChartPeriods = 120;

} // namespace SalesStatistics
