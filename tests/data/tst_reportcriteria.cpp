// Report criteria: the day range as stored texts, the shop and operator
// choices, and the condition they build, run against a database.

#include "data/ReportCriteria.h"
#include "support/TestDatabase.h"

#include <QtTest>

namespace
{

// Sales of the report tests, by bill number: the stamp, shop and operator.
// In the demo database shop 1 is 总店 and 2 is 二分店, operator 1 is admin
// and 2 is 收银员; 0 is the "none" of rows saved without one.
struct TestSale {
    const char *bill;
    const char *stamp;
    int store;
    int admin;
};

const TestSale Sales[] = {
    {"A", "2023-12-31 23:59:59", 1, 1}, {"B", "2024-01-01 00:00:00", 2, 1},
    {"C", "2024-02-28 12:00:00", 1, 2}, {"D", "2024-02-29 00:00:00", 2, 2},
    {"E", "2024-02-29 23:59:59", 1, 1}, {"F", "2024-03-01 00:00:00", 0, 0},
    {"G", "2024-04-30 23:59:59", 2, 1}, {"H", "2024-05-01 00:00:00", 0, 2},
};

// The demo database with its own sales replaced by the ones above.
void useTestSales(TestDatabase &t)
{
    t.db.exec(QStringLiteral("DELETE FROM S_Sale"));
    for (const TestSale &s : Sales)
        t.db.exec(QStringLiteral("INSERT INTO S_Sale (FBillNo, SaleDate, StoreID, AdminID) "
                                 "VALUES (?, ?, ?, ?)"),
                  {QString::fromLatin1(s.bill), QString::fromLatin1(s.stamp), s.store, s.admin});
}

// The bills of the sales the condition takes, in bill order.
QStringList billsWhere(TestDatabase &t, const QuerySource &where)
{
    QSqlQuery q = t.db.exec(QStringLiteral("SELECT s.FBillNo FROM S_Sale s "
                                           "LEFT JOIN SL_Store st ON st.StoreID = s.StoreID "
                                           "LEFT JOIN admin a ON a.Admin_ID = s.AdminID WHERE ") +
                                where.sql + QStringLiteral(" ORDER BY s.FBillNo"),
                            where.binds);
    QStringList bills;
    while (q.next())
        bills << q.value(0).toString();
    return bills;
}

QStringList bills(const QString &letters)
{
    QStringList out;
    for (const QChar c : letters)
        out << QString(c);
    return out;
}

ReportCriteria wholeSpan(const QString &shop = {}, const QString &operatorName = {})
{
    return {QDate(2023, 1, 1), QDate(2024, 12, 31), shop, operatorName};
}

} // namespace

class TestReportCriteria : public QObject
{
    Q_OBJECT
private slots:
    void wholeDaysTaken_data();
    void wholeDaysTaken();
    void demoSalesByDay_data();
    void demoSalesByDay();
    void shopAndOperator_data();
    void shopAndOperator();
    void refusals_data();
    void refusals();
    void columnsMustBeIdentifiers_data();
    void columnsMustBeIdentifiers();
    void salesPerson_data();
    void salesPerson();
    void reversedRangeHoldsNothing();
};

void TestReportCriteria::wholeDaysTaken_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("taken");
    QTest::newRow("one day, leap day")
        << QDate(2024, 2, 29) << QDate(2024, 2, 29) << "2024-02-29 00:00:00"
        << "2024-03-01 00:00:00"
        << "DE";
    QTest::newRow("into the leap day")
        << QDate(2024, 2, 28) << QDate(2024, 2, 29) << "2024-02-28 00:00:00"
        << "2024-03-01 00:00:00"
        << "CDE";
    QTest::newRow("february, no leap year")
        << QDate(2023, 2, 28) << QDate(2023, 2, 28) << "2023-02-28 00:00:00"
        << "2023-03-01 00:00:00"
        << "";
    QTest::newRow("month end") << QDate(2024, 4, 1) << QDate(2024, 4, 30) << "2024-04-01 00:00:00"
                               << "2024-05-01 00:00:00"
                               << "G";
    QTest::newRow("year end") << QDate(2023, 12, 31) << QDate(2023, 12, 31) << "2023-12-31 00:00:00"
                              << "2024-01-01 00:00:00"
                              << "A";
    QTest::newRow("across the new year")
        << QDate(2023, 12, 1) << QDate(2024, 1, 1) << "2023-12-01 00:00:00"
        << "2024-01-02 00:00:00"
        << "AB";
    QTest::newRow("day without sales")
        << QDate(2024, 3, 2) << QDate(2024, 3, 2) << "2024-03-02 00:00:00"
        << "2024-03-03 00:00:00"
        << "";
    QTest::newRow("every sale") << QDate(2023, 1, 1) << QDate(2024, 12, 31) << "2023-01-01 00:00:00"
                                << "2025-01-01 00:00:00"
                                << "ABCDEFGH";
}

void TestReportCriteria::wholeDaysTaken()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, from);
    QFETCH(QString, until);
    QFETCH(QString, taken);
    const ReportCriteria criteria{start, end, {}, {}};
    QVERIFY(!criteria.check());
    QCOMPARE(criteria.fromText(), from);
    QCOMPARE(criteria.untilText(), until);

    TestDatabase t(TestDatabase::Content::Demo);
    useTestSales(t);
    QuerySource where;
    QVERIFY(!BuildReportWhere(t.db, criteria, {.date = QStringLiteral("s.SaleDate")}, where));
    // The values are bound, never part of the text.
    QCOMPARE(where.sql, QString("s.SaleDate >= ? AND s.SaleDate < ?"));
    QCOMPARE(where.binds, (QVariantList{from, until}));
    QCOMPARE(billsWhere(t, where), bills(taken));
}

void TestReportCriteria::demoSalesByDay_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::newRow("the demo's week") << QDate(2024, 2, 27) << QDate(2024, 3, 5);
    QTest::newRow("leap day to month start") << QDate(2024, 2, 29) << QDate(2024, 3, 1);
    QTest::newRow("one day") << QDate(2024, 3, 2) << QDate(2024, 3, 2);
    QTest::newRow("before the sales") << QDate(2024, 1, 1) << QDate(2024, 2, 27);
}

// The demo's own sales, taken as SQLite's date() counts them by day.
void TestReportCriteria::demoSalesByDay()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    TestDatabase t(TestDatabase::Content::Demo);
    QVERIFY(t.value("SELECT COUNT(*) FROM S_Sale").toInt() > 0);
    QuerySource where;
    QVERIFY(!BuildReportWhere(t.db, {start, end, AllChoice, AllChoice},
                              {QStringLiteral("SaleDate"), QStringLiteral("StoreID"), MatchBy::Id,
                               QStringLiteral("AdminID")},
                              where));
    const int taken =
        t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale WHERE ") + where.sql, where.binds)
            .toInt();
    const int byDay = t.value("SELECT COUNT(*) FROM S_Sale WHERE date(SaleDate) BETWEEN ? AND ?",
                              {start.toString(Qt::ISODate), end.toString(Qt::ISODate)})
                          .toInt();
    QCOMPARE(taken, byDay);
}

void TestReportCriteria::shopAndOperator_data()
{
    QTest::addColumn<QString>("shop");
    QTest::addColumn<QString>("operatorName");
    QTest::addColumn<bool>("byName");
    QTest::addColumn<int>("conditions");
    QTest::addColumn<QString>("taken");
    QTest::newRow("全部, 全部") << "全部"
                                << "全部" << false << 2 << "ABCDEFGH";
    QTest::newRow("empty, empty") << ""
                                  << "" << false << 2 << "ABCDEFGH";
    QTest::newRow("全部 with blanks") << " 全部 "
                                      << "全部" << false << 2 << "ABCDEFGH";
    QTest::newRow("one shop by id") << "二分店"
                                    << "全部" << false << 3 << "BDG";
    QTest::newRow("one shop by name") << "二分店"
                                      << "全部" << true << 3 << "BDG";
    QTest::newRow("one operator by id") << "全部"
                                        << "收银员" << false << 3 << "CDH";
    QTest::newRow("one operator by name") << ""
                                          << "收银员" << true << 3 << "CDH";
    QTest::newRow("shop and operator by id") << "总店"
                                             << "admin" << false << 4 << "AE";
    QTest::newRow("shop and operator by name") << "二分店"
                                               << "收银员" << true << 4 << "D";
    // Sales saved without a shop or operator (id 0) are not taken for a
    // name that finds none.
    QTest::newRow("unknown shop by id") << "三分店"
                                        << "" << false << 3 << "";
    QTest::newRow("unknown operator by id") << ""
                                            << "王五" << false << 3 << "";
    QTest::newRow("unknown shop by name") << "三分店"
                                          << "" << true << 3 << "";
    QTest::newRow("quote in shop, by id") << "总店' OR '1'='1"
                                          << "" << false << 3 << "";
    QTest::newRow("quote in shop, by name") << "总店' OR '1'='1"
                                            << "" << true << 3 << "";
    QTest::newRow("quote in operator") << ""
                                       << "admin'; DELETE FROM S_Sale; --" << true << 3 << "";
}

void TestReportCriteria::shopAndOperator()
{
    QFETCH(QString, shop);
    QFETCH(QString, operatorName);
    QFETCH(bool, byName);
    QFETCH(int, conditions);
    QFETCH(QString, taken);
    TestDatabase t(TestDatabase::Content::Demo);
    useTestSales(t);
    const ReportColumns columns =
        byName ? ReportColumns{QStringLiteral("s.SaleDate"), QStringLiteral("st.StoreName"),
                               MatchBy::Name, QStringLiteral("a.Admin_Name"), MatchBy::Name}
               : ReportColumns{QStringLiteral("s.SaleDate"), QStringLiteral("s.StoreID"),
                               MatchBy::Id, QStringLiteral("s.AdminID"), MatchBy::Id};
    QuerySource where;
    QVERIFY(!BuildReportWhere(t.db, wholeSpan(shop, operatorName), columns, where));
    QCOMPARE(where.sql.count(QLatin1Char('?')), conditions);
    QCOMPARE(where.binds.size(), conditions);
    QVERIFY(!where.sql.contains(QLatin1Char('\'')));
    QCOMPARE(billsWhere(t, where), bills(taken));
    // Nothing typed was run: every sale and shop is still there.
    QCOMPARE(t.value("SELECT COUNT(*) FROM S_Sale").toInt(), int(std::size(Sales)));
    QCOMPARE(t.value("SELECT COUNT(*) FROM SL_Store").toInt(), 2);

    // A report without a shop or operator column ignores those choices.
    QVERIFY(!BuildReportWhere(t.db, wholeSpan(shop, operatorName),
                              {.date = QStringLiteral("s.SaleDate")}, where));
    QCOMPARE(billsWhere(t, where), bills("ABCDEFGH"));
}

void TestReportCriteria::refusals_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("end the day before start")
        << QDate(2024, 3, 5) << QDate(2024, 3, 4) << "结束日期不能早于开始日期！"
        << "dtpEnd";
    QTest::newRow("end a year before start")
        << QDate(2024, 1, 1) << QDate(2023, 12, 31) << "结束日期不能早于开始日期！"
        << "dtpEnd";
    QTest::newRow("no start day") << QDate() << QDate(2024, 3, 5) << "开始日期无效，请重新选择！"
                                  << "dtpStart";
    QTest::newRow("no end day") << QDate(2024, 3, 5) << QDate() << "结束日期无效，请重新选择！"
                                << "dtpEnd";
    // The day after 9999-12-31 has no four-digit year to compare with.
    QTest::newRow("end in year 9999")
        << QDate(2024, 3, 5) << QDate(9999, 12, 31) << "结束日期无效，请重新选择！"
        << "dtpEnd";
    QTest::newRow("start before 1900")
        << QDate(1899, 12, 31) << QDate(2024, 3, 5) << "开始日期无效，请重新选择！"
        << "dtpStart";
}

void TestReportCriteria::refusals()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const ReportCriteria criteria{start, end, QStringLiteral("总店"), QStringLiteral("admin")};
    const Check refusal = criteria.check();
    QVERIFY(refusal);
    QCOMPARE(refusal->message, message);
    QCOMPARE(refusal->focus, focus);

    TestDatabase t(TestDatabase::Content::Demo);
    QuerySource where{QStringLiteral("1 = 1"), {1}};
    const Check built = BuildReportWhere(t.db, criteria,
                                         {QStringLiteral("SaleDate"), QStringLiteral("StoreID"),
                                          MatchBy::Id, QStringLiteral("AdminID")},
                                         where);
    QVERIFY(built);
    QCOMPARE(built->message, message);
    QVERIFY(where.isEmpty());
    QVERIFY(where.binds.isEmpty());
}

void TestReportCriteria::columnsMustBeIdentifiers_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("shop");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "SaleDate"
                           << "StoreID" << true;
    QTest::newRow("table-qualified") << "S_Sale.SaleDate"
                                     << "s.StoreID" << true;
    QTest::newRow("statement in date column") << "SaleDate; DROP TABLE S_Sale"
                                              << "StoreID" << false;
    QTest::newRow("expression in shop column") << "SaleDate"
                                               << "StoreID OR 1" << false;
    QTest::newRow("two dots") << "main.S_Sale.SaleDate"
                              << "StoreID" << false;
    QTest::newRow("no date column") << ""
                                    << "StoreID" << false;
}

void TestReportCriteria::columnsMustBeIdentifiers()
{
    QFETCH(QString, date);
    QFETCH(QString, shop);
    QFETCH(bool, accepted);
    TestDatabase t(TestDatabase::Content::Demo);
    QuerySource where;
    bool thrown = false;
    try {
        BuildReportWhere(t.db, wholeSpan(QStringLiteral("总店")), {.date = date, .shop = shop},
                         where);
    } catch (const DbError &e) {
        thrown = true;
        QVERIFY(e.text().startsWith(QStringLiteral("无效的名称")));
    }
    QCOMPARE(thrown, !accepted);
    QVERIFY(t.value("SELECT COUNT(*) FROM S_Sale").toInt() > 0);
}

void TestReportCriteria::salesPerson_data()
{
    QTest::addColumn<QString>("salesPerson");
    QTest::addColumn<bool>("byName");
    QTest::addColumn<int>("conditions");
    QTest::addColumn<int>("lines");
    // The demo's lines: 张丽 three sold and one returned, 王强 six, 李娜 one.
    QTest::newRow("全部") << "全部" << false << 2 << 11;
    QTest::newRow("by id") << "王强" << false << 3 << 6;
    QTest::newRow("by name") << "李娜" << true << 3 << 1;
    QTest::newRow("nobody of that name") << "王五" << false << 3 << 0;
    QTest::newRow("a quote") << "张丽' OR '1'='1" << true << 3 << 0;
}

void TestReportCriteria::salesPerson()
{
    QFETCH(QString, salesPerson);
    QFETCH(bool, byName);
    QFETCH(int, conditions);
    QFETCH(int, lines);
    TestDatabase t(TestDatabase::Content::Demo);
    ReportCriteria criteria = wholeSpan();
    criteria.salesPerson = salesPerson;
    QCOMPARE(criteria.anySalesPerson(), salesPerson == AllChoice);
    ReportColumns columns{.date = QStringLiteral("s.SaleDate")};
    columns.salesPerson = byName ? QStringLiteral("dg.DaoGouName") : QStringLiteral("d.DaoGouID");
    columns.salesPersonBy = byName ? MatchBy::Name : MatchBy::Id;
    QuerySource where;
    QVERIFY(!BuildReportWhere(t.db, criteria, columns, where));
    QCOMPARE(where.binds.size(), conditions);
    QVERIFY(!where.sql.contains(QLatin1Char('\'')));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_SaleDetail d JOIN S_Sale s ON "
                                    "s.SaleID = d.SaleID LEFT JOIN SL_DaoGou dg ON "
                                    "dg.DaoGouID = d.DaoGouID WHERE ") +
                         where.sql,
                     where.binds)
                 .toInt(),
             lines);
}

// A window that takes any two days: an end before the start passes the
// check and its condition holds no row.
void TestReportCriteria::reversedRangeHoldsNothing()
{
    TestDatabase t(TestDatabase::Content::Demo);
    useTestSales(t);
    ReportCriteria criteria{QDate(2024, 12, 31), QDate(2023, 1, 1), {}, {}};
    QVERIFY(criteria.check());
    criteria.refuseReversed = false;
    QVERIFY(!criteria.check());
    QuerySource where;
    QVERIFY(!BuildReportWhere(t.db, criteria, {.date = QStringLiteral("s.SaleDate")}, where));
    QCOMPARE(billsWhere(t, where), QStringList());
    // Days out of range are still refused.
    criteria.endDay = QDate();
    QVERIFY(criteria.check());
}

QTEST_MAIN(TestReportCriteria)
#include "tst_reportcriteria.moc"
