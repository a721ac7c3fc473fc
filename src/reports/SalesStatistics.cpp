#include "reports/SalesStatistics.h"

#include "data/Database.h"
#include "data/TextRules.h"

#include <QDate>
#include <QMap>

namespace SalesStatistics
{

namespace
{

// The columns the criteria apply to. The sales' figures and list take the
// shop and operator; the lines' also the shop assistant.
const ReportColumns LineColumns{.date = QStringLiteral("s.SaleDate"),
                                .shop = QStringLiteral("s.StoreID"),
                                .operatorColumn = QStringLiteral("s.AdminID"),
                                .salesPerson = QStringLiteral("d.DaoGouID")};
const ReportColumns SaleColumns{.date = QStringLiteral("s.SaleDate"),
                                .shop = QStringLiteral("s.StoreID"),
                                .operatorColumn = QStringLiteral("s.AdminID")};
const ReportColumns RechargeColumns{.date = QStringLiteral("m.FDate"),
                                    .shop = QStringLiteral("m.FStoreID"),
                                    .operatorColumn = QStringLiteral("m.FAdminID")};

// A line's amount without sign, and the lines of the sales in range.
const QString LineAmount = QStringLiteral("ABS(d.ProSalePrice * d.ProShuliang)");
const QString LinesOfSales =
    QStringLiteral(" FROM S_Sale s JOIN S_SaleDetail d ON d.SaleID = s.SaleID WHERE ");

const QString Balance = QStringLiteral("(SELECT SUM(User_ChuZhi) FROM User_Info)");

QuerySource Where(Database &db, const ReportCriteria &criteria, const ReportColumns &columns)
{
    QuerySource where;
    if (const Check refusal = BuildReportWhere(db, criteria, columns, where))
        throw DbError(refusal->message);
    return where;
}

// The figure of a sum: "0" when there was nothing to sum.
QString AmountText(const QVariant &sum)
{
    return sum.isNull() ? QStringLiteral("0") : TotalText(sum.toDouble());
}

QString CountText(const QVariant &sum)
{
    return sum.isNull() ? QStringLiteral("0") : NumberText(sum.toDouble());
}

const QString ZeroAmount = QStringLiteral("0.00");
const QString Zero = QStringLiteral("0");

const QString LineColumnsSelect = QStringLiteral(
    "SELECT d.SaleDetailID AS 序号, u.User_Card AS 卡号, u.User_Name AS 姓名, d.ProName AS 产品名, "
    "d.ProSalePrice AS 销售价, d.ProShuliang AS 数量, ABS(d.ProSalePrice) * d.ProShuliang AS 金额, "
    "ABS(d.ProJiFen) * d.ProShuliang AS 积分, s.SaleDate AS 时间, ps.ProSortName AS 分类, "
    "st.StoreName AS 门店, dg.DaoGouName AS 销售员, a.Admin_Name AS 操作员 "
    "FROM S_Sale s JOIN S_SaleDetail d ON d.SaleID = s.SaleID "
    "LEFT JOIN User_Info u ON u.User_ID = d.UserID "
    "LEFT JOIN SL_ProSort ps ON ps.ProSortID = d.ProSortID "
    "LEFT JOIN SL_Store st ON st.StoreID = s.StoreID "
    "LEFT JOIN SL_DaoGou dg ON dg.DaoGouID = d.DaoGouID "
    "LEFT JOIN admin a ON a.Admin_ID = s.AdminID WHERE ");

QString PeriodText(const QDate &day, Step step)
{
    return day.toString(step == Step::Day ? QStringLiteral("yyyy-MM-dd")
                                          : QStringLiteral("yyyy-MM"));
}

// Every period from `first` to `last` (days or first days of months).
QStringList PeriodsBetween(QDate first, QDate last, Step step)
{
    QStringList out;
    if (step == Step::Month) {
        first = QDate(first.year(), first.month(), 1);
        last = QDate(last.year(), last.month(), 1);
    }
    for (QDate at = first; at.isValid() && at <= last && out.size() <= MaxChartPeriods;
         at = step == Step::Day ? at.addDays(1) : at.addMonths(1))
        out << PeriodText(at, step);
    return out;
}

} // namespace

Totals Totals::Initial()
{
    return {ZeroAmount, Zero, Zero, Zero, Zero, Zero, Zero, Zero};
}

QuerySource TotalsSource(Database &db, const ReportCriteria &criteria, Mode mode)
{
    if (mode == Mode::Recharges) {
        const QuerySource where = Where(db, criteria, RechargeColumns);
        return {QStringLiteral("SELECT (SELECT SUM(m.FAddMoney) FROM TblAddMoney m WHERE ") +
                    where.sql + QStringLiteral("), ") + Balance,
                where.binds};
    }
    const QuerySource lines = Where(db, criteria, LineColumns);
    const QuerySource sales = Where(db, criteria, SaleColumns);
    return {QStringLiteral("SELECT l.amount, l.pieces, l.returned, t.cash, t.card, t.points, ") +
                Balance + QStringLiteral(" FROM (SELECT SUM(") + LineAmount +
                QStringLiteral(") AS amount, SUM(d.ProShuliang) AS pieces, "
                               "SUM(CASE WHEN d.ProShuliang < 0 THEN ") +
                LineAmount + QStringLiteral(" END) AS returned") + LinesOfSales + lines.sql +
                QStringLiteral(") l, (SELECT SUM(s.FCashAll) AS cash, SUM(s.FCardAll) AS card, "
                               "SUM(s.JiFenAll) AS points FROM S_Sale s WHERE ") +
                sales.sql + QStringLiteral(") t"),
            lines.binds + sales.binds};
}

Totals Compute(Database &db, const ReportCriteria &criteria, Mode mode)
{
    const QuerySource source = TotalsSource(db, criteria, mode);
    QSqlQuery q = db.exec(source.sql, source.binds);
    if (!q.next())
        throw DbError(QStringLiteral("统计失败：没有结果"));
    Totals t;
    if (mode == Mode::Recharges) {
        t.amount = t.cash = t.card = t.returned = ZeroAmount;
        t.points = t.pieces = Zero;
        t.recharged = AmountText(q.value(0));
        t.balance = AmountText(q.value(1));
        return t;
    }
    t.amount = AmountText(q.value(0));
    t.pieces = CountText(q.value(1));
    t.returned = AmountText(q.value(2));
    t.cash = AmountText(q.value(3));
    t.card = AmountText(q.value(4));
    t.points = CountText(q.value(5));
    t.balance = AmountText(q.value(6));
    t.recharged = ZeroAmount;
    return t;
}

QuerySource SaleList(Database &db, const ReportCriteria &criteria)
{
    const QuerySource where = Where(db, criteria, SaleColumns);
    return {QStringLiteral(
                "SELECT s.SaleID AS 序号, u.User_Card AS 卡号, u.User_Name AS 姓名, "
                "st.StoreName AS 门店, a.Admin_Name AS 操作员, s.PriceAll AS 总金额, "
                "s.JiFenAll AS 总积分, s.SaleDate AS 销售日期, s.SaleInputDate AS 销售录入日期, "
                "s.FCashAll AS 总现金, s.FCardAll AS 总储值 FROM S_Sale s "
                "LEFT JOIN User_Info u ON u.User_ID = s.UserID "
                "LEFT JOIN SL_Store st ON st.StoreID = s.StoreID "
                "LEFT JOIN admin a ON a.Admin_ID = s.AdminID WHERE ") +
                where.sql + QStringLiteral(" ORDER BY s.SaleDate DESC, s.SaleID DESC"),
            where.binds};
}

QuerySource LineList(Database &db, const ReportCriteria &criteria)
{
    const QuerySource where = Where(db, criteria, LineColumns);
    // Lines of one sale in the order they were written, newest first.
    return {LineColumnsSelect + where.sql +
                QStringLiteral(" ORDER BY s.SaleDate DESC, s.SaleID DESC, d.SaleDetailID DESC"),
            where.binds};
}

QuerySource EmptyLineList()
{
    return {LineColumnsSelect + QStringLiteral("d.SaleDetailID = -1"), {}};
}

QuerySource RechargeList(Database &db, const ReportCriteria &criteria)
{
    const QuerySource where = Where(db, criteria, RechargeColumns);
    return {QStringLiteral("SELECT m.FBillNo AS 单据号, u.User_Card AS 卡号, u.User_Name AS 姓名, "
                           "m.FAddMoney AS 充值金额, m.FBeforeMoney AS 充值前金额, "
                           "m.FAfterMoney AS 充值后金额, m.FDate AS 充值日期, "
                           "st.StoreName AS 门店, m.FMaker AS 操作人 FROM TblAddMoney m "
                           "LEFT JOIN User_Info u ON u.User_ID = m.UserID "
                           "LEFT JOIN SL_Store st ON st.StoreID = m.FStoreID WHERE ") +
                where.sql + QStringLiteral(" ORDER BY m.FDate DESC, m.FID DESC"),
            where.binds};
}

QList<int> SaleListWidths()
{
    // 序号 卡号 姓名 门店 操作员 总金额 总积分 销售日期 销售录入日期 总现金 总储值
    return {30, 80, 80, 80, 80, 80, 80, 120, 120, 80, 80};
}

QList<int> LineListWidths()
{
    // 序号 卡号 姓名 产品名 销售价 数量 金额 积分 时间 分类 门店 销售员 操作员
    return {30, 80, 80, 80, 80, 80, 80, 80, 120, 80, 80, 80, 80};
}

QList<int> RechargeListWidths()
{
    // 单据号 卡号 姓名 充值金额 充值前金额 充值后金额 充值日期 门店 操作人
    return {80, 80, 80, 80, 80, 80, 120, 80, 80};
}

QuerySource ShopNames()
{
    return {QStringLiteral("SELECT StoreName FROM SL_Store ORDER BY StoreID"), {}};
}

QuerySource SalesPersonNames()
{
    return {QStringLiteral("SELECT DaoGouName FROM SL_DaoGou ORDER BY DaoGouID"), {}};
}

QuerySource OperatorNames()
{
    return ReportOperatorNames();
}

Step ChartStep(const ReportCriteria &criteria)
{
    if (!criteria.startDay.isValid() || !criteria.endDay.isValid())
        return Step::Day;
    return criteria.endDay >= criteria.startDay.addMonths(2) ? Step::Month : Step::Day;
}

QuerySource ChartSource(Database &db, const ReportCriteria &criteria, Mode mode)
{
    // Summed first per stamp, which the date index delivers in order without
    // sorting, then per period over those few sums.
    const QString period =
        ChartStep(criteria) == Step::Day ? QStringLiteral("10") : QStringLiteral("7");
    const QString outer = QStringLiteral("SELECT substr(t, 1, ") + period +
                          QStringLiteral(") AS period, SUM(a), SUM(b) FROM (");
    const QString grouped = QStringLiteral(") g GROUP BY period ORDER BY period");
    if (mode == Mode::Recharges) {
        const QuerySource where = Where(db, criteria, RechargeColumns);
        return {outer +
                    QStringLiteral("SELECT m.FDate AS t, SUM(m.FAddMoney) AS a, NULL AS b "
                                   "FROM TblAddMoney m WHERE ") +
                    where.sql + QStringLiteral(" GROUP BY m.FDate") + grouped,
                where.binds};
    }
    const QuerySource where = Where(db, criteria, LineColumns);
    return {outer +
                QStringLiteral("SELECT s.SaleDate AS t, SUM(CASE WHEN d.ProShuliang > 0 THEN ") +
                LineAmount + QStringLiteral(" END) AS a, SUM(CASE WHEN d.ProShuliang < 0 THEN ") +
                LineAmount + QStringLiteral(" END) AS b") + LinesOfSales + where.sql +
                QStringLiteral(" GROUP BY s.SaleDate") + grouped,
            where.binds};
}

Chart ComputeChart(Database &db, const ReportCriteria &criteria, Mode mode)
{
    Chart chart;
    chart.step = ChartStep(criteria);
    chart.series = mode == Mode::Sales
                       ? QStringList{QStringLiteral("销售金额"), QStringLiteral("退货金额")}
                       : QStringList{QStringLiteral("充值金额")};
    const QuerySource source = ChartSource(db, criteria, mode);
    QMap<QString, ChartPeriod> byPeriod;
    QSqlQuery q = db.exec(source.sql, source.binds);
    while (q.next()) {
        const QString period = q.value(0).toString();
        byPeriod.insert(period, {period, q.value(1).toDouble(), q.value(2).toDouble()});
    }

    // The periods without rows, at zero: the whole range, or for many months
    // only those between the first and the last with rows.
    QStringList fill = PeriodsBetween(criteria.startDay, criteria.endDay, chart.step);
    if (fill.size() > MaxChartPeriods && !byPeriod.isEmpty()) {
        const QDate first = QDate::fromString(byPeriod.firstKey(), QStringLiteral("yyyy-MM"));
        const QDate last = QDate::fromString(byPeriod.lastKey(), QStringLiteral("yyyy-MM"));
        fill = PeriodsBetween(first, last, chart.step);
    }
    if (fill.size() <= MaxChartPeriods) {
        for (const QString &period : fill) {
            if (!byPeriod.contains(period))
                byPeriod.insert(period, {period, 0, 0});
        }
    }
    chart.periods = byPeriod.values();
    return chart;
}

} // namespace SalesStatistics
