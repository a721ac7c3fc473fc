// Sales statistics: the figures, lists and chart of a date range with its
// filters, on a small shop (StatisticsFixture.h), and the query plans that
// keep them fast on a large one.

#include "data/Database.h"
#include "data/TextRules.h"
#include "reports/SalesStatistics.h"
#include "reports/StatisticsFixture.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QSqlRecord>
#include <QtTest>

using SalesStatistics::Mode;

Q_DECLARE_METATYPE(ReportCriteria)

namespace
{

ReportCriteria Range(const QDate &start, const QDate &end, const QString &shop = AllChoice,
                     const QString &operatorName = AllChoice,
                     const QString &salesPerson = AllChoice)
{
    ReportCriteria c{start, end, shop, operatorName, salesPerson};
    c.refuseReversed = false;
    return c;
}

int RowCount(TestDatabase &t, const QuerySource &source)
{
    return t
        .value(QStringLiteral("SELECT COUNT(*) FROM (") + source.sql + QStringLiteral(")"),
               source.binds)
        .toInt();
}

QVariantList Column(TestDatabase &t, const QuerySource &source, int column)
{
    QSqlQuery q = t.db.exec(source.sql, source.binds);
    QVariantList out;
    while (q.next())
        out << q.value(column);
    return out;
}

QString Plan(Database &db, const QuerySource &source)
{
    QSqlQuery q = db.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + source.sql, source.binds);
    QString out;
    while (q.next())
        out += q.value(3).toString() + QLatin1Char('\n');
    return out;
}

const QDate Mar(int day)
{
    return QDate(2024, 3, day);
}

} // namespace

class TestSalesStatistics : public QObject
{
    Q_OBJECT
private slots:
    void totals_data();
    void totals();
    void listsNewestFirst();
    void chart_data();
    void chart();
    void beforeTheFirstComputation();
    void plansOnALargeShop_data();
    void plansOnALargeShop();
};

void TestSalesStatistics::totals_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<ReportCriteria>("criteria");
    // amount, points, pieces, cash, card, recharged, returned (the balance is
    // always 150.50)
    QTest::addColumn<QStringList>("figures");
    QTest::addColumn<int>("firstRows"); // sales or recharges listed
    QTest::addColumn<int>("lineRows");  // sale lines listed (sales mode)

    const int sales = int(Mode::Sales), recharges = int(Mode::Recharges);
    const QStringList none{"0", "0", "0", "0", "0", "0.00", "0"};
    QTest::newRow("a day's sale of two lines")
        << sales << Range(Mar(5), Mar(5), "总店", "admin")
        << QStringList{"20.00", "20", "3", "15.00", "5.00", "0.00", "0"} << 1 << 2;
    QTest::newRow("the end day counts up to midnight")
        << sales << Range(Mar(5), Mar(5))
        << QStringList{"28.00", "28", "4", "23.00", "5.00", "0.00", "0"} << 2 << 3;
    QTest::newRow("midnight starts the next day")
        << sales << Range(Mar(6), Mar(6))
        << QStringList{"100.00", "100", "1", "100.00", "0.00", "0.00", "0"} << 1 << 1;
    // The line and its return each count 10; the pieces cancel out.
    QTest::newRow("a return line")
        << sales << Range(Mar(4), Mar(4))
        << QStringList{"20.00", "0", "0", "0.00", "0.00", "0.00", "10.00"} << 1 << 2;
    QTest::newRow("one shop") << sales << Range(Mar(3), Mar(6), "二分店")
                              << QStringList{"25.00", "5", "1", "0.00", "5.00", "0.00", "10.00"}
                              << 2 << 3;
    QTest::newRow("the other shop")
        << sales << Range(Mar(3), Mar(6), "总店")
        << QStringList{"128.00", "128", "5", "123.00", "5.00", "0.00", "0"} << 3 << 4;
    QTest::newRow("one operator") << sales << Range(Mar(3), Mar(6), AllChoice, "收银员")
                                  << QStringList{"28.00", "8", "1", "8.00", "0.00", "0.00", "10.00"}
                                  << 2 << 3;
    QTest::newRow("the whole month")
        << sales << Range(Mar(1), Mar(31))
        << QStringList{"153.00", "133", "6", "123.00", "10.00", "0.00", "10.00"} << 5 << 7;
    // The shop assistant narrows the lines only (the window never chooses one).
    QTest::newRow("one shop assistant")
        << sales << Range(Mar(1), Mar(31), AllChoice, AllChoice, "王强")
        << QStringList{"30.00", "133", "2", "123.00", "10.00", "0.00", "10.00"} << 5 << 3;
    QTest::newRow("no sales in the range")
        << sales << Range(QDate(2024, 1, 1), QDate(2024, 1, 31)) << none << 0 << 0;
    QTest::newRow("start after the end") << sales << Range(Mar(5), Mar(4)) << none << 0 << 0;
    QTest::newRow("a shop that is not there")
        << sales << Range(Mar(1), Mar(31), "三分店") << none << 0 << 0;
    QTest::newRow("quotes in the shop's name")
        << sales << Range(Mar(1), Mar(31), "总店' OR '1'='1") << none << 0 << 0;
    QTest::newRow("a percent sign for the operator")
        << sales << Range(Mar(1), Mar(31), AllChoice, "%") << none << 0 << 0;

    const QStringList noSales{"0.00", "0", "0", "0.00", "0.00"};
    QTest::newRow("recharges of a day")
        << recharges << Range(Mar(5), Mar(5)) << noSales + QStringList{"150.00", "0.00"} << 2 << -1;
    QTest::newRow("recharges of one shop, a withdrawal among them")
        << recharges << Range(Mar(4), Mar(5), "总店") << noSales + QStringList{"80.00", "0.00"} << 2
        << -1;
    QTest::newRow("recharges of one operator")
        << recharges << Range(Mar(1), Mar(31), AllChoice, "收银员")
        << noSales + QStringList{"50.00", "0.00"} << 1 << -1;
    QTest::newRow("no recharges in the range")
        << recharges << Range(QDate(2024, 1, 1), QDate(2024, 1, 31))
        << noSales + QStringList{"0", "0.00"} << 0 << -1;
}

void TestSalesStatistics::totals()
{
    QFETCH(int, mode);
    QFETCH(ReportCriteria, criteria);
    QFETCH(QStringList, figures);
    QFETCH(int, firstRows);
    QFETCH(int, lineRows);
    TestDatabase t;
    StatisticsFixture::Fill(t);
    const Mode m = Mode(mode);

    const SalesStatistics::Totals got = SalesStatistics::Compute(t.db, criteria, m);
    const QStringList shown{got.amount, got.points,    got.pieces,  got.cash,
                            got.card,   got.recharged, got.returned};
    QCOMPARE(shown, figures);
    QCOMPARE(got.balance, QStringLiteral("150.50"));

    // The values are bound, never spliced into the statement.
    const QuerySource source = SalesStatistics::TotalsSource(t.db, criteria, m);
    QVERIFY(!source.sql.contains(QLatin1Char('\'')));
    QVERIFY(!source.sql.contains(QStringLiteral("2024")));

    if (m == Mode::Sales) {
        QCOMPARE(RowCount(t, SalesStatistics::SaleList(t.db, criteria)), firstRows);
        QCOMPARE(RowCount(t, SalesStatistics::LineList(t.db, criteria)), lineRows);
    } else {
        QCOMPARE(RowCount(t, SalesStatistics::RechargeList(t.db, criteria)), firstRows);
    }

    // The chart's bars add up to the figures.
    const SalesStatistics::Chart chart = SalesStatistics::ComputeChart(t.db, criteria, m);
    double first = 0, second = 0;
    for (const SalesStatistics::ChartPeriod &p : chart.periods) {
        first += p.first;
        second += p.second;
    }
    if (m == Mode::Sales) {
        QCOMPARE(TotalText(first + second), TotalText(figures[0].toDouble()));
        QCOMPARE(TotalText(second), TotalText(figures[6].toDouble()));
    } else {
        QCOMPARE(TotalText(first), TotalText(figures[5].toDouble()));
    }
    // Nothing was written.
    QCOMPARE(t.value("SELECT COUNT(*) FROM S_Sale").toInt(), 5);
    QCOMPARE(t.value("SELECT COUNT(*) FROM SL_Store").toInt(), 2);
}

void TestSalesStatistics::listsNewestFirst()
{
    TestDatabase t;
    StatisticsFixture::Fill(t);
    const ReportCriteria month = Range(Mar(1), Mar(31));

    const QuerySource sales = SalesStatistics::SaleList(t.db, month);
    QSqlQuery q = t.db.exec(sales.sql, sales.binds);
    QStringList titles;
    for (int i = 0; i < q.record().count(); ++i)
        titles << q.record().fieldName(i);
    QCOMPARE(titles, (QStringList{"序号", "卡号", "姓名", "门店", "操作员", "总金额", "总积分",
                                  "销售日期", "销售录入日期", "总现金", "总储值"}));
    QCOMPARE(titles.size(), SalesStatistics::SaleListWidths().size());
    QVERIFY(q.next());
    QCOMPARE(q.value(2).toString(), QStringLiteral("李秀英"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("总店"));
    QCOMPARE(q.value(4).toString(), QStringLiteral("admin"));
    QCOMPARE(Column(t, sales, 0), (QVariantList{4, 3, 1, 2, 5}));

    // The return line shows its amount and points with the quantity's sign.
    const QuerySource lines = SalesStatistics::LineList(t.db, Range(Mar(4), Mar(4)));
    QSqlQuery l = t.db.exec(lines.sql, lines.binds);
    titles.clear();
    for (int i = 0; i < l.record().count(); ++i)
        titles << l.record().fieldName(i);
    QCOMPARE(titles, (QStringList{"序号", "卡号", "姓名", "产品名", "销售价", "数量", "金额",
                                  "积分", "时间", "分类", "门店", "销售员", "操作员"}));
    QCOMPARE(titles.size(), SalesStatistics::LineListWidths().size());
    QCOMPARE(Column(t, lines, 0), (QVariantList{4, 3}));
    QCOMPARE(Column(t, lines, 6), (QVariantList{-10.0, 10.0}));
    QCOMPARE(Column(t, lines, 7), (QVariantList{-10.0, 10.0}));
    QCOMPARE(Column(t, lines, 11), (QVariantList{"王强", "王强"}));
    QCOMPARE(Column(t, lines, 12), (QVariantList{"收银员", "收银员"}));
    // Two lines of one sale: the later line first.
    QCOMPARE(Column(t, SalesStatistics::LineList(t.db, Range(Mar(5), Mar(5), "总店", "admin")), 0),
             (QVariantList{2, 1}));

    const QuerySource recharges = SalesStatistics::RechargeList(t.db, month);
    QSqlQuery r = t.db.exec(recharges.sql, recharges.binds);
    titles.clear();
    for (int i = 0; i < r.record().count(); ++i)
        titles << r.record().fieldName(i);
    QCOMPARE(titles, (QStringList{"单据号", "卡号", "姓名", "充值金额", "充值前金额", "充值后金额",
                                  "充值日期", "门店", "操作人"}));
    QCOMPARE(titles.size(), SalesStatistics::RechargeListWidths().size());
    QCOMPARE(Column(t, recharges, 0), (QVariantList{"R3", "R2", "R1", "R4"}));
    QCOMPARE(Column(t, recharges, 8), (QVariantList{"admin", "收银员", "admin", "admin"}));

    // Before the first computation: the line list's headings, no rows.
    QCOMPARE(RowCount(t, SalesStatistics::EmptyLineList()), 0);
}

void TestSalesStatistics::chart_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<ReportCriteria>("criteria");
    QTest::addColumn<bool>("byMonth");
    QTest::addColumn<QStringList>("bars"); // period:first:second

    const int sales = int(Mode::Sales), recharges = int(Mode::Recharges);
    QTest::newRow("days with sales")
        << sales << Range(Mar(3), Mar(6)) << false
        << QStringList{"2024-03-03:5:0", "2024-03-04:10:10", "2024-03-05:28:0", "2024-03-06:100:0"};
    QTest::newRow("days without sales at zero")
        << sales << Range(Mar(1), Mar(4), "二分店") << false
        << QStringList{"2024-03-01:0:0", "2024-03-02:0:0", "2024-03-03:5:0", "2024-03-04:10:10"};
    QTest::newRow("two months are still days")
        << sales << Range(QDate(2024, 1, 6), Mar(5)) << false << QStringList{};
    QTest::newRow("more than two months: months")
        << sales << Range(QDate(2024, 1, 1), Mar(31)) << true
        << QStringList{"2024-01:0:0", "2024-02:0:0", "2024-03:143:10"};
    QTest::newRow("centuries: the months with sales")
        << sales << Range(FirstReportDay, LastReportDay) << true << QStringList{"2024-03:143:10"};
    QTest::newRow("nothing in the range")
        << sales << Range(Mar(5), Mar(4)) << false << QStringList{};
    QTest::newRow("recharges, a withdrawal below zero")
        << recharges << Range(Mar(4), Mar(6)) << false
        << QStringList{"2024-03-04:-20:0", "2024-03-05:150:0", "2024-03-06:1000:0"};
}

void TestSalesStatistics::chart()
{
    QFETCH(int, mode);
    QFETCH(ReportCriteria, criteria);
    QFETCH(bool, byMonth);
    QFETCH(QStringList, bars);
    TestDatabase t;
    StatisticsFixture::Fill(t);
    const SalesStatistics::Chart chart = SalesStatistics::ComputeChart(t.db, criteria, Mode(mode));
    QCOMPARE(chart.step == SalesStatistics::Step::Month, byMonth);
    QCOMPARE(chart.series, Mode(mode) == Mode::Sales ? QStringList({"销售金额", "退货金额"})
                                                     : QStringList({"充值金额"}));
    if (QTest::currentDataTag() == QByteArray("two months are still days")) {
        // 6 January to 5 March: every day, in order.
        QCOMPARE(chart.periods.size(), 60);
        QCOMPARE(chart.periods.first().period, QStringLiteral("2024-01-06"));
        QCOMPARE(chart.periods.last().period, QStringLiteral("2024-03-05"));
        return;
    }
    QStringList got;
    for (const SalesStatistics::ChartPeriod &p : chart.periods)
        got << p.period + QLatin1Char(':') + NumberText(p.first) + QLatin1Char(':') +
                   NumberText(p.second);
    QCOMPARE(got, bars);
}

void TestSalesStatistics::beforeTheFirstComputation()
{
    const SalesStatistics::Totals initial = SalesStatistics::Totals::Initial();
    QCOMPARE(initial.amount, QStringLiteral("0.00"));
    for (const QString &figure : {initial.points, initial.pieces, initial.cash, initial.card,
                                  initial.recharged, initial.balance, initial.returned})
        QCOMPARE(figure, QStringLiteral("0"));
}

void TestSalesStatistics::plansOnALargeShop_data()
{
    QTest::addColumn<bool>("filtered");
    QTest::newRow("every shop and operator") << false;
    QTest::newRow("one shop and one operator") << true;
}

// On a shop with many sales, as the planner sees it after ANALYZE: the
// figures come from covering indexes without reading the tables, and the
// lists come in index order without sorting, so their first rows are there
// at once.
void TestSalesStatistics::plansOnALargeShop()
{
    QFETCH(bool, filtered);
    TestDatabase t;
    StatisticsFixture::Fill(t);
    t.db.exec(QStringLiteral(
        "INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, JiFenAll, SaleDate, "
        "SaleInputDate, FCashAll, FCardAll) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000) "
        "SELECT 1 + i % 2, 1 + i % 2, 1 + i % 3 % 2, 30, 3, "
        "datetime('2023-01-01', '+' || (i * 97) || ' minutes'), "
        "datetime('2023-01-01', '+' || (i * 97) || ' minutes'), 30, 0 FROM n"));
    t.db.exec(QStringLiteral(
        "INSERT INTO S_SaleDetail (SaleID, UserID, DaoGouID, ProName, ProSalePrice, ProShuliang) "
        "SELECT s.SaleID, s.UserID, 1, '菜', 10, 1 FROM S_Sale s, "
        "(SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3) WHERE s.SaleID > 5"));
    t.db.exec(QStringLiteral(
        "INSERT INTO TblAddMoney (FBillNo, UserID, FStoreID, FAdminID, FAddMoney, FDate) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "SELECT 'B' || i, 1, 1 + i % 2, 1 + i % 3 % 2, 50, "
        "datetime('2023-01-01', '+' || (i * 191) || ' minutes') FROM n"));
    t.db.exec(QStringLiteral("ANALYZE"));

    const ReportCriteria year = filtered
                                    ? Range(QDate(2023, 1, 1), QDate(2023, 12, 31), "总店", "admin")
                                    : Range(QDate(2023, 1, 1), QDate(2023, 12, 31));
    const QStringList bigTables{"s",           "d",        "m", "S_Sale", "S_SaleDetail",
                                "TblAddMoney", "User_Info"};
    // The figures: every read of the large tables is an index alone.
    for (const Mode mode : {Mode::Sales, Mode::Recharges}) {
        for (const QuerySource &source : {SalesStatistics::TotalsSource(t.db, year, mode),
                                          SalesStatistics::ChartSource(t.db, year, mode)}) {
            const QString plan = Plan(t.db, source);
            for (const QString &line : plan.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                const QString table = line.section(QLatin1Char(' '), 1, 1);
                if (!bigTables.contains(table))
                    continue;
                QVERIFY2(line.contains(QLatin1String("COVERING INDEX")), qPrintable(plan));
            }
            // Only the chart's few periods are sorted.
            QVERIFY2(plan.count(QLatin1String("TEMP B-TREE")) <= 1, qPrintable(plan));
        }
    }
    // The lists: newest first straight from the date indexes.
    for (const QuerySource &source :
         {SalesStatistics::SaleList(t.db, year), SalesStatistics::LineList(t.db, year),
          SalesStatistics::RechargeList(t.db, year)}) {
        const QString plan = Plan(t.db, source);
        QVERIFY2(!plan.contains(QLatin1String("TEMP B-TREE")), qPrintable(plan));
        QVERIFY2(!plan.contains(QRegularExpression(QStringLiteral("SCAN (s|d|m)\\b"))),
                 qPrintable(plan));
    }
}

QTEST_GUILESS_MAIN(TestSalesStatistics)
#include "tst_salesstatistics.moc"
