#include "data/Database.h"
#include "sales/SaleReturn.h"
#include "support/FaultInjection.h"
#include "support/TestDatabase.h"

#include <QSqlRecord>
#include <QtTest>

// Taking back one sold line: what each kind of sale gives back, what is
// refused with nothing written, a fault at each write, a line returned once.
class TestSaleReturn : public QObject
{
    Q_OBJECT
private slots:
    void returns_data();
    void returns();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void lineReturnedOnlyOnce();
    void listsFollowTheReturn();
    void inventoryTakesTheGoodsBack_data();
    void inventoryTakesTheGoodsBack();
    void failingWriteLeavesNothing_data();
    void failingWriteLeavesNothing();
};

namespace
{

// A member (500 stored, 100 points, 200 spent) with one sale: `cash` and
// `card` paid, total 100, 20 points, one line of 2 pieces at 30 (list price
// 35, 3 points a piece) and one line of 40. Returns the member, the sale
// and the first line.
struct Fixture {
    qint64 member = 0, sale = 0, line = 0, otherLine = 0;
};

Fixture MakeSale(TestDatabase &t, double cash, double card, double priceAll = 100,
                 qint64 tiaoId = 0)
{
    Fixture f;
    f.member = t.db.insert(
        "INSERT INTO User_Info (User_Card, User_Name, User_ChuZhi, User_Num, User_MoneyAll) "
        "VALUES ('8001', '退货会员', 500, 100, 200)");
    t.db.insert("INSERT INTO User_Info (User_Card, User_Name) VALUES ('8002', '别人')");
    f.sale = t.db.insert("INSERT INTO S_Sale (UserID, PriceAll, JiFenAll, SaleDate, FCashAll, "
                         "FCardAll) VALUES (?, ?, 20, '2024-03-01 12:00:00', ?, ?)",
                         {f.member, priceAll, cash, card});
    f.line = t.db.insert("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, ProPrice, "
                         "ProSalePrice, ProJiFen, ProShuliang, OrderOther, FTiaoID) "
                         "VALUES (?, ?, '宫保鸡丁', 35, 30, 3, 2, '少辣', ?)",
                         {f.sale, f.member, tiaoId});
    f.otherLine = t.db.insert("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, ProPrice, "
                              "ProSalePrice, ProJiFen, ProShuliang) "
                              "VALUES (?, ?, '米饭', 40, 40, 2, 1)",
                              {f.sale, f.member});
    return f;
}

double Num(TestDatabase &t, const QString &sql, const QVariantList &binds = {})
{
    return t.value(sql, binds).toDouble();
}

const QStringList ReturnSnapshot = {
    QStringLiteral("SELECT * FROM S_Sale ORDER BY SaleID"),
    QStringLiteral("SELECT * FROM S_SaleDetail ORDER BY SaleDetailID"),
    QStringLiteral("SELECT * FROM User_Info ORDER BY User_ID"),
    QStringLiteral("SELECT * FROM Pro_Tiao ORDER BY Pro_TiaoID"),
    QStringLiteral("SELECT * FROM Pro_Kuan ORDER BY Pro_KuanID"),
    QStringLiteral("SELECT * FROM Pro_Huo ORDER BY Pro_HuoID")};

// One column of every row a list's select gives, as text, and its titles.
QStringList ColumnOf(TestDatabase &t, const QuerySource &source, int column,
                     QStringList *titles = nullptr)
{
    QSqlQuery q = t.db.exec(source.sql, source.binds);
    if (titles) {
        titles->clear();
        for (int i = 0; i < q.record().count(); ++i)
            *titles << q.record().fieldName(i);
    }
    QStringList values;
    while (q.next())
        values << q.value(column).toString();
    return values;
}

std::optional<SaleReturn::Split> SplitOf(const QString &cash, const QString &card)
{
    if (cash.isEmpty())
        return std::nullopt;
    return SaleReturn::Split{*Money::parse(cash), *Money::parse(card)};
}

} // namespace

void TestSaleReturn::returns_data()
{
    QTest::addColumn<double>("cash");
    QTest::addColumn<double>("card");
    QTest::addColumn<QString>("splitCash"); // empty: no split asked
    QTest::addColumn<QString>("splitCard");
    QTest::addColumn<double>("cashAfter");
    QTest::addColumn<double>("cardAfter");
    QTest::addColumn<double>("balanceAfter");
    QTest::newRow("cash sale") << 100.0 << 0.0 << ""
                               << "" << 40.0 << 0.0 << 500.0;
    QTest::newRow("stored-value sale") << 0.0 << 100.0 << ""
                                       << "" << 0.0 << 40.0 << 560.0;
    QTest::newRow("mixed, 20 cash and 40 card") << 50.0 << 50.0 << "20"
                                                << "40" << 30.0 << 10.0 << 540.0;
    QTest::newRow("mixed, all to the card") << 50.0 << 60.0 << "0"
                                            << "60" << 50.0 << 0.0 << 560.0;
    QTest::newRow("nothing paid") << 0.0 << 0.0 << ""
                                  << "" << 0.0 << 0.0 << 500.0;
}

void TestSaleReturn::returns()
{
    QFETCH(double, cash);
    QFETCH(double, card);
    QFETCH(QString, splitCash);
    QFETCH(QString, splitCard);
    QFETCH(double, cashAfter);
    QFETCH(double, cardAfter);
    QFETCH(double, balanceAfter);
    TestDatabase t;
    const Fixture f = MakeSale(t, cash, card);

    const auto prepared = SaleReturn::Prepare(t.db, f.member, f.line);
    QVERIFY(std::holds_alternative<SaleReturn::Plan>(prepared));
    const SaleReturn::Plan plan = std::get<SaleReturn::Plan>(prepared);
    QCOMPARE(plan.amount, *Money::parse("60"));
    QCOMPARE(plan.points, 6.0);
    QCOMPARE(plan.payment == SaleReturn::Payment::Mixed, !splitCash.isEmpty());

    const SaleReturn::Result r =
        SaleReturn::Run(t.db, {f.member, f.line, SplitOf(splitCash, splitCard)});
    QVERIFY2(!r.refusal, r.refusal ? qPrintable(r.refusal->message) : "");
    // The sold line is marked; a negative copy joins the same sale.
    QCOMPARE(Num(t, "SELECT FReturnFlag FROM S_SaleDetail WHERE SaleDetailID = ?", {f.line}), 1.0);
    QSqlQuery neg = t.db.exec("SELECT SaleID, UserID, ProName, ProPrice, ProSalePrice, ProJiFen, "
                              "ProShuliang, FReturnFlag, OrderOther FROM S_SaleDetail "
                              "WHERE SaleDetailID = ?",
                              {r.returnLineId});
    QVERIFY(neg.next());
    QCOMPARE(neg.value(0).toLongLong(), f.sale);
    QCOMPARE(neg.value(1).toLongLong(), f.member);
    QCOMPARE(neg.value(2).toString(), QStringLiteral("宫保鸡丁"));
    QCOMPARE(neg.value(3).toDouble(), -35.0);
    QCOMPARE(neg.value(4).toDouble(), -30.0);
    QCOMPARE(neg.value(5).toDouble(), -3.0);
    QCOMPARE(neg.value(6).toInt(), -2);
    QCOMPARE(neg.value(7).toInt(), 1);
    QCOMPARE(neg.value(8).toString(), QStringLiteral("少辣"));
    // The sale's totals and the member.
    QCOMPARE(Num(t, "SELECT PriceAll FROM S_Sale WHERE SaleID = ?", {f.sale}), 40.0);
    QCOMPARE(Num(t, "SELECT JiFenAll FROM S_Sale WHERE SaleID = ?", {f.sale}), 14.0);
    QCOMPARE(Num(t, "SELECT FCashAll FROM S_Sale WHERE SaleID = ?", {f.sale}), cashAfter);
    QCOMPARE(Num(t, "SELECT FCardAll FROM S_Sale WHERE SaleID = ?", {f.sale}), cardAfter);
    QCOMPARE(Num(t, "SELECT User_Num FROM User_Info WHERE User_ID = ?", {f.member}), 94.0);
    QCOMPARE(Num(t, "SELECT User_MoneyAll FROM User_Info WHERE User_ID = ?", {f.member}), 140.0);
    QCOMPARE(Num(t, "SELECT User_ChuZhi FROM User_Info WHERE User_ID = ?", {f.member}),
             balanceAfter);
    // The other line can still be returned.
    QCOMPARE(Num(t, "SELECT FReturnFlag FROM S_SaleDetail WHERE SaleDetailID = ?", {f.otherLine}),
             0.0);
}

void TestSaleReturn::refusalsWriteNothing_data()
{
    QTest::addColumn<double>("cash");
    QTest::addColumn<double>("card");
    QTest::addColumn<double>("priceAll");
    QTest::addColumn<bool>("otherMember");
    QTest::addColumn<QString>("splitCash");
    QTest::addColumn<QString>("splitCard");
    QTest::addColumn<QString>("message");
    QTest::newRow("above the sale's total") << 50.0 << 0.0 << 50.0 << false << ""
                                            << ""
                                            << "当前销售明细退货金额大于总销售金额,不能退出!";
    QTest::newRow("another member's line") << 100.0 << 0.0 << 100.0 << true << ""
                                           << ""
                                           << "该销售明细不属于当前会员，不能退货！";
    QTest::newRow("mixed without a split") << 50.0 << 50.0 << 100.0 << false << ""
                                           << ""
                                           << "该笔消费由现金和储值卡共同支付，请先确定退款方式！";
    QTest::newRow("split above the amount") << 50.0 << 50.0 << 100.0 << false << "50"
                                            << "50"
                                            << "录入的现金金额、储值卡金额之和不能大于应退金额!";
    QTest::newRow("split below the amount") << 50.0 << 50.0 << 100.0 << false << "30"
                                            << "20"
                                            << "录入的现金金额、储值卡金额之和不能小于应退金额!";
    QTest::newRow("cash above the amount") << 80.0 << 20.0 << 100.0 << false << "70"
                                           << "0"
                                           << "录入的现金金额不能大于应退金额!";
    QTest::newRow("card above the amount") << 80.0 << 20.0 << 100.0 << false << "0"
                                           << "61"
                                           << "录入的储值卡金额不能大于应退金额!";
    QTest::newRow("cash above the sale's cash") << 30.0 << 70.0 << 100.0 << false << "40"
                                                << "20"
                                                << "录入的现金金额不能大于实际退货现金金额!";
    QTest::newRow("card above the sale's card") << 80.0 << 20.0 << 100.0 << false << "10"
                                                << "50"
                                                << "录入的储值卡金额不能大于实际退货储值卡金额!";
}

void TestSaleReturn::refusalsWriteNothing()
{
    QFETCH(double, cash);
    QFETCH(double, card);
    QFETCH(double, priceAll);
    QFETCH(bool, otherMember);
    QFETCH(QString, splitCash);
    QFETCH(QString, splitCard);
    QFETCH(QString, message);
    TestDatabase t;
    const Fixture f = MakeSale(t, cash, card, priceAll);
    const qint64 member = otherMember ? f.member + 1 : f.member;
    const QStringList before = FaultInjection::Snapshot(t.db, ReturnSnapshot);
    const SaleReturn::Result r =
        SaleReturn::Run(t.db, {member, f.line, SplitOf(splitCash, splitCard)});
    QVERIFY(r.refusal);
    QCOMPARE(r.refusal->message, message);
    QCOMPARE(FaultInjection::Snapshot(t.db, ReturnSnapshot), before);
}

void TestSaleReturn::lineReturnedOnlyOnce()
{
    TestDatabase t;
    const Fixture f = MakeSale(t, 0, 100);
    // A second window on another connection returns the same line first.
    Database other(QStringLiteral("second-window"));
    other.open(t.file());
    QVERIFY(!SaleReturn::Run(other, {f.member, f.line, std::nullopt}).refusal);
    const QStringList after = FaultInjection::Snapshot(t.db, ReturnSnapshot);
    const SaleReturn::Result again = SaleReturn::Run(t.db, {f.member, f.line, std::nullopt});
    QVERIFY(again.refusal);
    QCOMPARE(again.refusal->message, QStringLiteral("该商品已经退货!"));
    QCOMPARE(FaultInjection::Snapshot(t.db, ReturnSnapshot), after);
    QCOMPARE(Num(t, "SELECT User_ChuZhi FROM User_Info WHERE User_ID = ?", {f.member}), 560.0);
}

void TestSaleReturn::listsFollowTheReturn()
{
    TestDatabase t;
    const Fixture f = MakeSale(t, 100, 0);
    // A line of another member never shows in this member's list.
    const qint64 stranger =
        t.value("SELECT User_ID FROM User_Info WHERE User_Card = '8002'").toLongLong();
    t.db.insert("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, ProPrice, ProSalePrice, "
                "ProJiFen, ProShuliang) VALUES (?, ?, '可乐', 5, 5, 0, 1)",
                {f.sale, stranger});
    const auto ids = [](qint64 a, qint64 b = 0) {
        QStringList l{QString::number(a)};
        if (b)
            l << QString::number(b);
        return l;
    };

    QStringList titles;
    QCOMPARE(ColumnOf(t, SaleReturn::History(-1), 0, &titles), QStringList());
    QCOMPARE(titles.size(), 13);
    QCOMPARE(titles.first(), QStringLiteral("序号"));
    QCOMPARE(ColumnOf(t, SaleReturn::History(f.member), 0), ids(f.line, f.otherLine));
    QCOMPARE(ColumnOf(t, SaleReturn::ReturnedLinesExport(), 7), QStringList());

    const SaleReturn::Result r = SaleReturn::Run(t.db, {f.member, f.line, std::nullopt});
    QVERIFY(!r.refusal);
    // The returned line and its negative copy leave the list; the export of
    // returns holds both (quantities 2 and -2).
    QCOMPARE(ColumnOf(t, SaleReturn::History(f.member), 0), ids(f.otherLine));
    QCOMPARE(ColumnOf(t, SaleReturn::ReturnedLinesExport(), 7, &titles),
             (QStringList{QStringLiteral("2"), QStringLiteral("-2")}));
    QCOMPARE(titles.size(), 12);
    QCOMPARE(titles.at(7), QStringLiteral("数量"));
}

void TestSaleReturn::inventoryTakesTheGoodsBack_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("changed");
    QTest::newRow("inventory front end") << "2" << true;
    QTest::newRow("standard screen") << "0" << false;
}

void TestSaleReturn::inventoryTakesTheGoodsBack()
{
    QFETCH(QString, mode);
    QFETCH(bool, changed);
    TestDatabase t(TestDatabase::Content::Demo);
    t.db.exec("UPDATE DataSeting SET SaoMaYes = ?", {mode});
    const qint64 tiao = t.value("SELECT MIN(Pro_TiaoID) FROM Pro_Tiao").toLongLong();
    const qint64 kuan =
        t.value("SELECT Pro_KuanID FROM Pro_Tiao WHERE Pro_TiaoID = ?", {tiao}).toLongLong();
    const qint64 huo =
        t.value("SELECT Pro_HuoID FROM Pro_Kuan WHERE Pro_KuanID = ?", {kuan}).toLongLong();
    const Fixture f = MakeSale(t, 100, 0, 100, tiao);
    const auto read = [&](const char *sql, qint64 id) {
        QSqlQuery q = t.db.exec(QString::fromLatin1(sql), {id});
        q.next();
        QList<double> v;
        for (int i = 0; i < 7; ++i)
            v << q.value(i).toDouble();
        return v;
    };
    const char *tiaoSql = "SELECT Pro_TiaoAllJinNum, Pro_TiaoAllSaleNum, Pro_TiaoAllTuiNum, "
                          "Pro_TiaoAllCunNum, Pro_TiaoAllSaleJinE, Pro_TiaoAllTuiJinE, "
                          "Pro_TiaoAllCunJinE FROM Pro_Tiao WHERE Pro_TiaoID = ?";
    const char *kuanSql = "SELECT Pro_KuanAllJinNum, Pro_KuanAllSaleNum, Pro_KuanAllTuiNum, "
                          "Pro_KuanAllCunNum, Pro_KuanAllSaleJinE, Pro_KuanAllTuiJinE, "
                          "Pro_KuanAllCunJinE FROM Pro_Kuan WHERE Pro_KuanID = ?";
    const char *huoSql = "SELECT Pro_AllJinNum, Pro_AllSaleNum, Pro_AllTuiNum, Pro_AllCunNum, "
                         "Pro_AllSaleJinE, Pro_AllTuiJinE, Pro_AllCunJinE FROM Pro_Huo "
                         "WHERE Pro_HuoID = ?";
    const QList<QList<double>> before = {read(tiaoSql, tiao), read(kuanSql, kuan),
                                         read(huoSql, huo)};
    QVERIFY(!SaleReturn::Run(t.db, {f.member, f.line, std::nullopt}).refusal);
    const QList<QList<double>> after = {read(tiaoSql, tiao), read(kuanSql, kuan),
                                        read(huoSql, huo)};
    // 2 pieces at 30 come back: purchased +2, sold -2, returned +2, stock +2,
    // sold amount -60, returned amount +60, stock amount +60.
    const QList<double> delta = {2, -2, 2, 2, -60, 60, 60};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < 7; ++i)
            QCOMPARE(after[row][i] - before[row][i], changed ? delta[i] : 0.0);
    }
}

void TestSaleReturn::failingWriteLeavesNothing_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("line marked") << "BEFORE UPDATE OF FReturnFlag ON S_SaleDetail";
    QTest::newRow("negative line") << "BEFORE INSERT ON S_SaleDetail";
    QTest::newRow("sale totals") << "BEFORE UPDATE ON S_Sale";
    QTest::newRow("barcode row") << "BEFORE UPDATE ON Pro_Tiao";
    QTest::newRow("style row") << "BEFORE UPDATE ON Pro_Kuan";
    QTest::newRow("article row") << "BEFORE UPDATE ON Pro_Huo";
    QTest::newRow("points") << "BEFORE UPDATE OF User_Num ON User_Info";
    QTest::newRow("spending") << "BEFORE UPDATE OF User_MoneyAll ON User_Info";
    QTest::newRow("stored value") << "BEFORE UPDATE OF User_ChuZhi ON User_Info";
}

void TestSaleReturn::failingWriteLeavesNothing()
{
    QFETCH(QString, trigger);
    TestDatabase t(TestDatabase::Content::Demo);
    t.db.exec("UPDATE DataSeting SET SaoMaYes = '2'");
    const qint64 tiao = t.value("SELECT MIN(Pro_TiaoID) FROM Pro_Tiao").toLongLong();
    // A mixed sale: every kind of write happens.
    const Fixture f = MakeSale(t, 50, 50, 100, tiao);
    const SaleReturn::Request request{f.member, f.line, SplitOf("20", "40")};
    FaultInjection::ExpectNothingWritten(t.db, trigger, ReturnSnapshot,
                                         [&] { SaleReturn::Run(t.db, request); });
    if (QTest::currentTestFailed())
        return;
    // The line is still returnable, and is returned once the fault is gone.
    QVERIFY(!SaleReturn::Run(t.db, request).refusal);
}

QTEST_GUILESS_MAIN(TestSaleReturn)
#include "tst_salereturn.moc"
