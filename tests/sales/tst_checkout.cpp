#include "data/TextRules.h"
#include "members/MemberCard.h"
#include "sales/Checkout.h"
#include "sales/OpenBill.h"
#include "support/FaultInjection.h"
#include "support/TestDatabase.h"

#include <QtTest>

// The open bill, the card check and the checkout's writes on the demo
// database (5 March 2024, 09:07:02).
class TestCheckout : public QObject
{
    Q_OBJECT
private slots:
    void cardCheck_data();
    void cardCheck();
    void openBillLinesAndTotals();
    void splitPayment();
    void pointsPerUnitRoundedInDetail();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void failingWriteLeavesNothing_data();
    void failingWriteLeavesNothing();
};

namespace
{

int MemberId(TestDatabase &t, const QString &card)
{
    return t.value(QStringLiteral("SELECT User_ID FROM User_Info WHERE User_Card = ?"), {card})
        .toInt();
}

void AddLine(TestDatabase &t, int userId, const QString &name, const QString &price,
             const QString &salePrice, const QString &points, const QString &qty,
             const QString &remark = QString())
{
    const SaleLineInput in{QStringLiteral("招牌菜"),
                           QStringLiteral("热菜"),
                           QStringLiteral("张丽"),
                           QStringLiteral("二分店"),
                           name,
                           price,
                           salePrice,
                           points,
                           qty,
                           remark};
    QVERIFY(!SaleLine::Validate(in, true, SaleScreenKind::Standard));
    OpenBill::AddLine(t.db, userId, 1, in, SaleLine::Figures(in));
}

// The checkout of the member's open bill as the sale screen and its dialog
// hand it over.
CheckoutRequest Request(TestDatabase &t, const QString &card, const QString &cash,
                        const QString &stored, const QString &shop = QStringLiteral("二分店"))
{
    CheckoutRequest r;
    r.memberId = MemberId(t, card);
    r.shopName = shop;
    r.bill = OpenBill::TotalsOf(t.db, r.memberId);
    r.cash = Money::parse(cash).value_or(Money());
    r.stored = Money::parse(stored).value_or(Money());
    r.adminId = 1;
    r.now = t.clock.now();
    return r;
}

// Everything a checkout touches, to compare before and after.
const QStringList CheckoutSnapshot = {
    QStringLiteral("SELECT * FROM S_Sale ORDER BY SaleID"),
    QStringLiteral("SELECT * FROM S_SaleDetail ORDER BY SaleDetailID"),
    QStringLiteral("SELECT * FROM S_Order ORDER BY OrderID"),
    QStringLiteral("SELECT * FROM User_Info ORDER BY User_ID")};

QStringList Snapshot(TestDatabase &t)
{
    return FaultInjection::Snapshot(t.db, CheckoutSnapshot);
}

} // namespace

void TestCheckout::cardCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("validUntil"); // empty: as in the demo data
    QTest::addColumn<QString>("message");    // empty: accepted
    const int std = int(SaleScreenKind::Standard);
    const int scan = int(SaleScreenKind::Scan);
    QTest::newRow("accepted, blanks trimmed") << " 1001 " << std << ""
                                              << "";
    QTest::newRow("empty") << "   " << std << ""
                           << "卡号不能为空!";
    QTest::newRow("scan: empty") << "" << scan << ""
                                 << "卡号不能为空！";
    QTest::newRow("unknown") << "9999" << std << ""
                             << "没有找到该用户";
    QTest::newRow("quote is no statement") << "10'01" << std << ""
                                           << "没有找到该用户";
    QTest::newRow("locked") << "1006" << std << ""
                            << "该用户已被锁定!";
    QTest::newRow("expired last month") << "1007" << scan << ""
                                        << "该卡已过期!";
    QTest::newRow("valid until today") << "1001" << std << "2024-03-05"
                                       << "该卡已过期!";
    QTest::newRow("valid until tomorrow") << "1001" << std << "2024-03-06"
                                          << "";
    QTest::newRow("no date") << "1001" << std << "none"
                             << "该卡已过期!";
}

void TestCheckout::cardCheck()
{
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(QString, validUntil);
    QFETCH(QString, message);
    TestDatabase t(TestDatabase::Content::Demo);
    if (!validUntil.isEmpty())
        t.db.exec(QStringLiteral("UPDATE User_Info SET User_Date = ? WHERE User_Card = '1001'"),
                  {validUntil == QLatin1String("none") ? QVariant() : QVariant(validUntil)});

    const CardCheckResult r = MemberCard::Check(t.db, typed, t.clock.now(), SaleScreenKind(kind));
    if (message.isEmpty()) {
        QVERIFY(!r.refusal);
        QVERIFY(r.member);
        QCOMPARE(r.member->id, MemberId(t, QStringLiteral("1001")));
        QCOMPARE(r.member->name, QStringLiteral("王建国"));
        QCOMPARE(r.member->balance, Money::fromUnits(500 * 10000));
        QCOMPARE(MemberFieldText(*r.member, MemberField::Balance), QStringLiteral("500"));
        QCOMPARE(r.member->points, 120.0);
    } else {
        QVERIFY(r.refusal);
        QVERIFY(!r.member);
        QCOMPARE(r.refusal->message, message);
        QCOMPARE(r.refusal->focus, QStringLiteral("UserCard"));
    }
}

void TestCheckout::openBillLinesAndTotals()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const int a = MemberId(t, QStringLiteral("1001"));
    const int b = MemberId(t, QStringLiteral("1002"));
    AddLine(t, a, QStringLiteral("宫保鸡丁"), "19.9", "19.9", "1", "3", QStringLiteral("少辣"));
    AddLine(t, a, QStringLiteral("水煮鱼"), "100", "85", "8", "1");
    AddLine(t, b, QStringLiteral("拍黄瓜"), "12", "12", "1", "1");

    const OpenBill::Totals totals = OpenBill::TotalsOf(t.db, a);
    QCOMPARE(totals.lines, 2);
    QCOMPARE(TotalText(totals.amount), QStringLiteral("144.70"));
    QCOMPARE(TotalText(totals.points), QStringLiteral("11.00"));

    // The grid's select names the lookups, and the line amount is the double.
    const QuerySource grid = OpenBill::Statement(a);
    QSqlQuery q = t.db.exec(grid.sql, grid.binds);
    QVERIFY(q.next());
    QCOMPARE(q.value(QStringLiteral("产品")).toString(), QStringLiteral("宫保鸡丁"));
    QCOMPARE(q.value(QStringLiteral("总价格")).toDouble(), 19.9 * 3);
    QCOMPARE(q.value(QStringLiteral("品牌")).toString(), QStringLiteral("招牌菜"));
    QCOMPARE(q.value(QStringLiteral("类别")).toString(), QStringLiteral("热菜"));
    QCOMPARE(q.value(QStringLiteral("导购")).toString(), QStringLiteral("张丽"));
    QCOMPARE(q.value(QStringLiteral("店名")).toString(), QStringLiteral("二分店"));
    const qint64 first = q.value(0).toLongLong();
    QVERIFY(q.next());
    QVERIFY(!q.next());

    OpenBill::DeleteLine(t.db, first);
    QCOMPARE(OpenBill::TotalsOf(t.db, a).lines, 1);
    OpenBill::Abandon(t.db, a);
    QCOMPARE(OpenBill::TotalsOf(t.db, a).lines, 0);
    QCOMPARE(OpenBill::TotalsOf(t.db, b).lines, 1);
}

void TestCheckout::splitPayment()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const int a = MemberId(t, QStringLiteral("1001"));
    const int other = MemberId(t, QStringLiteral("1002"));
    AddLine(t, a, QStringLiteral("宫保鸡丁"), "19.9", "19.9", "1", "3", QStringLiteral("少辣"));
    AddLine(t, other, QStringLiteral("拍黄瓜"), "12", "12", "1", "1");
    const double moneyBefore =
        t.value(QStringLiteral("SELECT User_MoneyAll FROM User_Info WHERE User_ID = ?"), {a})
            .toDouble();

    const CheckoutRequest request =
        Request(t, QStringLiteral("1001"), QStringLiteral("29.7"), QStringLiteral("30"));
    QCOMPARE(TotalText(request.bill.amount), QStringLiteral("59.70"));
    const CheckoutResult r = Checkout(t.db).Run(request);
    QVERIFY(!r.refusal);
    QVERIFY(r.saleId > 0);

    QSqlQuery sale =
        t.db.exec(QStringLiteral("SELECT UserID, AdminID, StoreID, PriceAll, JiFenAll, "
                                 "SaleDate, FCashAll, FCardAll, SaleInputDate "
                                 "FROM S_Sale WHERE SaleID = ?"),
                  {r.saleId});
    QVERIFY(sale.next());
    QCOMPARE(sale.value(0).toInt(), a);
    QCOMPARE(sale.value(1).toInt(), 1);
    QCOMPARE(sale.value(2).toInt(), 2); // 二分店
    QCOMPARE(sale.value(3).toDouble(), 59.7);
    QCOMPARE(sale.value(4).toDouble(), 3.0);
    QCOMPARE(sale.value(5).toString(), QStringLiteral("2024-03-05 09:07:02"));
    QCOMPARE(sale.value(6).toDouble(), 29.7);
    QCOMPARE(sale.value(7).toDouble(), 30.0);
    QCOMPARE(sale.value(8).toString(), QStringLiteral("2024-03-05 09:07:02"));

    QSqlQuery member = t.db.exec(
        QStringLiteral(
            "SELECT User_ChuZhi, User_Num, User_MoneyAll FROM User_Info WHERE User_ID = ?"),
        {a});
    QVERIFY(member.next());
    QCOMPARE(member.value(0).toDouble(), 470.0);
    QCOMPARE(member.value(1).toDouble(), 123.0);
    QCOMPARE(member.value(2).toDouble(), moneyBefore + 59.7);

    QSqlQuery detail =
        t.db.exec(QStringLiteral(
                      "SELECT UserID, BrandID, ProSortID, DaoGouID, ProName, OrderOther, ProJiFen, "
                      "ProPrice, ProSalePrice, ProShuliang FROM S_SaleDetail WHERE SaleID = ?"),
                  {r.saleId});
    QVERIFY(detail.next());
    QCOMPARE(detail.value(0).toInt(), a);
    QCOMPARE(detail.value(1).toInt(), 1);
    QCOMPARE(detail.value(2).toInt(), 1);
    QCOMPARE(detail.value(3).toInt(), 1);
    QCOMPARE(detail.value(4).toString(), QStringLiteral("宫保鸡丁"));
    QCOMPARE(detail.value(5).toString(), QStringLiteral("少辣"));
    QCOMPARE(detail.value(6).toDouble(), 1.0);
    QCOMPARE(detail.value(7).toDouble(), 19.9);
    QCOMPARE(detail.value(8).toDouble(), 19.9);
    QCOMPARE(detail.value(9).toInt(), 3);
    QVERIFY(!detail.next());

    QCOMPARE(OpenBill::TotalsOf(t.db, a).lines, 0);
    QCOMPARE(OpenBill::TotalsOf(t.db, other).lines, 1);
}

void TestCheckout::pointsPerUnitRoundedInDetail()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const int a = MemberId(t, QStringLiteral("1002"));
    AddLine(t, a, QStringLiteral("甲"), "10", "10", "2.5", "2");
    AddLine(t, a, QStringLiteral("乙"), "10", "10", "3.5", "1");
    const CheckoutRequest request =
        Request(t, QStringLiteral("1002"), QStringLiteral("30"), QStringLiteral("0"));
    QCOMPARE(request.bill.points, 8.5);
    const CheckoutResult r = Checkout(t.db).Run(request);
    QVERIFY(!r.refusal);
    QSqlQuery q = t.db.exec(
        QStringLiteral("SELECT ProJiFen FROM S_SaleDetail WHERE SaleID = ? ORDER BY SaleDetailID"),
        {r.saleId});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDouble(), 2.0); // 2.5: half to even
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDouble(), 4.0); // 3.5: half to even
    // The member earns the bill's unrounded points.
    QCOMPARE(
        t.value(QStringLiteral("SELECT User_Num FROM User_Info WHERE User_ID = ?"), {a}).toDouble(),
        860 + 8.5);
    QCOMPARE(t.value(QStringLiteral("SELECT FCashAll FROM S_Sale WHERE SaleID = ?"), {r.saleId})
                 .toDouble(),
             30.0);
}

void TestCheckout::refusalsWriteNothing_data()
{
    QTest::addColumn<QString>("setup"); // what happens between showing and paying
    QTest::addColumn<QString>("shop");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString none;
    QTest::newRow("member deleted meanwhile") << "DELETE FROM User_Info WHERE User_Card = '1001'"
                                              << "二分店"
                                              << "100"
                                              << "0"
                                              << "该会员已不存在（可能已被删除），不能结帐！"
                                              << "";
    QTest::newRow("unknown shop") << none << "三分店"
                                  << "100"
                                  << "0"
                                  << "没有找到店名为[三分店]的店面，请在消费界面重新选择店名！"
                                  << "";
    QTest::newRow("shop name twice")
        << "INSERT INTO SL_Store (StoreName) VALUES ('二分店')"
        << "二分店"
        << "100"
        << "0"
        << "店名[二分店]对应多个店面，无法确定结帐的店面，请与管理员联系。"
        << "";
    QTest::newRow("both zero") << none << "二分店"
                               << "0"
                               << "0"
                               << "现金和储值卡金额不能同时为空，请重新输入现金或储值卡金额!"
                               << "edt_Cash";
    QTest::newRow("both zero, with decimals")
        << none << "二分店"
        << "0.00"
        << "0.0"
        << "现金和储值卡金额不能同时为空，请重新输入现金或储值卡金额!"
        << "edt_Cash";
    QTest::newRow("negative cash") << none << "二分店"
                                   << "-60"
                                   << "0"
                                   << "现金和储值卡金额不能为负数!"
                                   << "edt_Cash";
    const QString changed = "账单已被修改（可能在其他收银台），请核对后重新结帐！";
    QTest::newRow("line added at another till")
        << "INSERT INTO S_Order (UserID, StoreID, BrandID, ProSortID, DaoGouID, AdminID, "
           "ProName, ProPrice, ProSalePrice, ProShuLiang, ProJiFen, ProSalePrice2, ProJifen2, "
           "OrderOther) SELECT UserID, StoreID, BrandID, ProSortID, DaoGouID, AdminID, ProName, "
           "ProPrice, ProSalePrice, ProShuLiang, ProJiFen, ProSalePrice2, ProJifen2, OrderOther "
           "FROM S_Order"
        << "二分店"
        << "100"
        << "0" << changed << "";
    QTest::newRow("line removed at another till") << "DELETE FROM S_Order"
                                                  << "二分店"
                                                  << "100"
                                                  << "0" << changed << "";
    QTest::newRow("balance spent at another till")
        << "UPDATE User_Info SET User_ChuZhi = 20 WHERE User_Card = '1001'"
        << "二分店"
        << "29.70"
        << "30"
        << "储值卡内金额不足,请充值!"
        << "edt_Card";
    QTest::newRow("balance too small") << none << "二分店"
                                       << "0"
                                       << "500.01"
                                       << "储值卡内金额不足,请充值!"
                                       << "edt_Card";
    QTest::newRow("stored value above due")
        << none << "二分店"
        << "0"
        << "70"
        << "收付款方式中所输入的储值金额[70]不能大于卡面金额[500 ]和应付金额[59.70]!"
        << "edt_Card";
    QTest::newRow("not covered") << none << "二分店"
                                 << "29.69"
                                 << "30"
                                 << "收款方式中实收金额必须大于等于应收金额!"
                                 << "edt_Cash";
}

void TestCheckout::refusalsWriteNothing()
{
    QFETCH(QString, setup);
    QFETCH(QString, shop);
    QFETCH(QString, cash);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t(TestDatabase::Content::Demo);
    const int a = MemberId(t, QStringLiteral("1001"));
    AddLine(t, a, QStringLiteral("宫保鸡丁"), "19.9", "19.9", "1", "3");
    const CheckoutRequest request = Request(t, QStringLiteral("1001"), cash, stored, shop);
    if (!setup.isEmpty())
        t.db.exec(setup);
    const QStringList before = Snapshot(t);

    const CheckoutResult r = Checkout(t.db).Run(request);
    QVERIFY(r.refusal);
    QCOMPARE(r.refusal->message, message);
    QCOMPARE(r.refusal->focus, focus);
    QCOMPARE(r.billChanged, message == Checkout::BillChangedMessage());
    QCOMPARE(r.saleId, 0);
    QCOMPARE(Snapshot(t), before);
}

void TestCheckout::failingWriteLeavesNothing_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("sale row") << "BEFORE INSERT ON S_Sale";
    QTest::newRow("stored-value debit") << "BEFORE UPDATE OF User_ChuZhi ON User_Info";
    QTest::newRow("detail line") << "BEFORE INSERT ON S_SaleDetail";
    QTest::newRow("points") << "BEFORE UPDATE OF User_Num ON User_Info";
    QTest::newRow("spending") << "BEFORE UPDATE OF User_MoneyAll ON User_Info";
    QTest::newRow("open lines removed") << "BEFORE DELETE ON S_Order";
}

void TestCheckout::failingWriteLeavesNothing()
{
    QFETCH(QString, trigger);
    TestDatabase t(TestDatabase::Content::Demo);
    const int a = MemberId(t, QStringLiteral("1001"));
    AddLine(t, a, QStringLiteral("宫保鸡丁"), "19.9", "19.9", "1", "3");
    AddLine(t, a, QStringLiteral("水煮鱼"), "100", "85", "8", "1");
    const CheckoutRequest request =
        Request(t, QStringLiteral("1001"), QStringLiteral("44.7"), QStringLiteral("100"));

    FaultInjection::ExpectNothingWritten(t.db, trigger, CheckoutSnapshot,
                                         [&] { Checkout(t.db).Run(request); });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(OpenBill::TotalsOf(t.db, a).lines, 2);

    // Once the fault is gone the same bill is paid normally.
    const CheckoutResult r = Checkout(t.db).Run(request);
    QVERIFY(!r.refusal);
    QCOMPARE(t.value(QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_ID = ?"), {a})
                 .toDouble(),
             400.0);
}

QTEST_GUILESS_MAIN(TestCheckout)
#include "tst_checkout.moc"
