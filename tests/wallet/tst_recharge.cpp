#include "members/MemberAccount.h"
#include "support/FaultInjection.h"
#include "support/TestDatabase.h"
#include "wallet/Recharge.h"

#include <QtTest>

// The recharge operation, its bill number, card lookup, amount parsing and
// history selects on the demo database (5 March 2024, 09:07:02; seven
// recharge records on file; 1001 王建国 holds 500, 1007 赵敏 holds 20).
class TestRecharge : public QObject
{
    Q_OBJECT
private slots:
    void billNo_data();
    void billNo();
    void billNoOnFile_data();
    void billNoOnFile();
    void findCard_data();
    void findCard();
    void amountText_data();
    void amountText();
    void parseAmount_data();
    void parseAmount();
    void writesRecordAndBalance_data();
    void writesRecordAndBalance();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void failingWriteLeavesNothing_data();
    void failingWriteLeavesNothing();
    void twoConnectionsRechargeOneMember();
    void historySelects();
    void stores_data();
    void stores();
};

namespace
{

qint64 MemberId(TestDatabase &t, const QString &card)
{
    return t.value(QStringLiteral("SELECT User_ID FROM User_Info WHERE User_Card = ?"), {card})
        .toLongLong();
}

Money Yuan(const QString &text)
{
    const std::optional<Money> m = Money::parse(text);
    if (!m)
        qFatal("not an amount: %s", qPrintable(text));
    return *m;
}

RechargeRequest Request(TestDatabase &t, const QString &card, const QString &amount,
                        int storeId = 2)
{
    RechargeRequest r;
    r.memberId = MemberId(t, card);
    r.storeId = storeId;
    r.amount = Yuan(amount);
    r.maker = QStringLiteral("admin");
    r.adminId = 1;
    r.now = t.clock.now();
    return r;
}

// Adds recharge records until `rows` are on file.
void FillRecords(TestDatabase &t, int rows)
{
    while (t.value(QStringLiteral("SELECT COUNT(*) FROM TblAddMoney")).toInt() < rows)
        t.db.exec(QStringLiteral("INSERT INTO TblAddMoney (FBillNo, UserID, FStoreID, FAddMoney, "
                                 "FDate) VALUES ('x', 1, 1, 1, '2024-01-01 10:00:00')"));
}

// Everything a recharge touches, to compare before and after.
const QStringList RechargeSnapshot = {QStringLiteral("SELECT * FROM TblAddMoney ORDER BY FID"),
                                      QStringLiteral("SELECT * FROM User_Info ORDER BY User_ID")};

QStringList Snapshot(TestDatabase &t)
{
    return FaultInjection::Snapshot(t.db, RechargeSnapshot);
}

} // namespace

void TestRecharge::billNo_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<qint64>("rows");
    QTest::addColumn<QString>("billNo");
    QTest::newRow("12 records on 5 March 2024") << QDate(2024, 3, 5) << qint64(12) << "2024030513";
    QTest::newRow("none on file") << QDate(2024, 3, 5) << qint64(0) << "202403051";
    QTest::newRow("month and day padded") << QDate(2025, 1, 9) << qint64(8) << "202501099";
    QTest::newRow("no padding of the count")
        << QDate(2024, 12, 31) << qint64(99999) << "20241231100000";
}

void TestRecharge::billNo()
{
    QFETCH(QDate, date);
    QFETCH(qint64, rows);
    QFETCH(QString, billNo);
    QCOMPARE(Recharge::BillNo(date, rows), billNo);
}

void TestRecharge::billNoOnFile_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("next");
    QTest::newRow("the demo's seven") << 7 << "202403058"
                                      << "202403059";
    QTest::newRow("twelve, then one recharge") << 12 << "2024030513"
                                               << "2024030514";
}

void TestRecharge::billNoOnFile()
{
    QFETCH(int, rows);
    QFETCH(QString, shown);
    QFETCH(QString, next);
    TestDatabase t(TestDatabase::Content::Demo);
    FillRecords(t, rows);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM TblAddMoney")).toInt(), rows);
    QCOMPARE(Recharge::NextBillNo(t.db, t.clock.today()), shown);
    // The count is of all records, not of the day's.
    const RechargeResult r = Recharge(t.db).Run(Request(t, QStringLiteral("1001"), "10"));
    QVERIFY(!r.refusal);
    QCOMPARE(r.billNo, shown);
    QCOMPARE(t.value(QStringLiteral("SELECT FBillNo FROM TblAddMoney WHERE FID = ?"), {r.recordId})
                 .toString(),
             shown);
    QCOMPARE(Recharge::NextBillNo(t.db, t.clock.today()), next);
}

void TestRecharge::findCard_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name"); // empty: nobody
    const QString none;
    QTest::newRow("card") << none << "1001"
                          << "王建国";
    QTest::newRow("blanks around") << none << "  1005 "
                                   << "陈静";
    QTest::newRow("locked cards recharge too") << none << "1006"
                                               << "杨洋";
    QTest::newRow("unknown") << none << "9999" << none;
    QTest::newRow("part of a card") << none << "100" << none;
    QTest::newRow("quote") << none << "1001' OR '1'='1" << none;
    QTest::newRow("wildcard") << none << "10%" << none;
    QTest::newRow("held by two members")
        << "INSERT INTO User_Info (User_Card, User_Name) VALUES ('1002', '李二')"
        << "1002" << none;
    QTest::newRow("quoted card as stored")
        << "INSERT INTO User_Info (User_Card, User_Name) VALUES ('O''Neil', '欧尼')"
        << "O'Neil"
        << "欧尼";
}

void TestRecharge::findCard()
{
    QFETCH(QString, setup);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    TestDatabase t(TestDatabase::Content::Demo);
    if (!setup.isEmpty())
        t.db.exec(setup);
    const std::optional<Member> m = Recharge::FindCard(t.db, typed);
    QCOMPARE(m.has_value(), !name.isEmpty());
    if (m) {
        QCOMPARE(m->name, name);
        QCOMPARE(m->id, MemberId(t, typed.trimmed()));
    }
}

void TestRecharge::amountText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("digits") << "120" << true;
    QTest::newRow("minus and point anywhere") << "-1-.2." << true;
    QTest::newRow("letter") << "12a" << false;
    QTest::newRow("blank") << "1 2" << false;
    QTest::newRow("plus") << "+5" << false;
    QTest::newRow("full-width digit") << "１" << false;
}

void TestRecharge::amountText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(Recharge::IsAmountText(text), accepted);
}

void TestRecharge::parseAmount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("amount"); // as Money shows it; empty: refused
    QTest::addColumn<QString>("message");
    const QString notANumber = QStringLiteral("充值金额只能为数字!");
    const QString tooLong = QStringLiteral("充值金额长度不能超过9位!");
    const QString refused;
    QTest::newRow("whole") << "100"
                           << "100.00"
                           << "";
    QTest::newRow("decimals") << "20.5"
                              << "20.50"
                              << "";
    QTest::newRow("withdrawal") << "-50"
                                << "-50.00"
                                << "";
    QTest::newRow("zero is an amount") << "0"
                                       << "0.00"
                                       << "";
    QTest::newRow("point first") << ".5"
                                 << "0.50"
                                 << "";
    QTest::newRow("nine characters") << "123456789"
                                     << "123456789.00"
                                     << "";
    QTest::newRow("nine after trimming") << "  -99999999 "
                                         << "-99999999.00"
                                         << "";
    QTest::newRow("four decimals") << "0.0001"
                                   << "0.00"
                                   << "";
    QTest::newRow("empty") << "" << refused << "请输入充值金额!";
    QTest::newRow("blanks") << "   " << refused << "请输入充值金额!";
    QTest::newRow("ten characters") << "1234567890" << refused << tooLong;
    QTest::newRow("long junk") << "abcdefghijk" << refused << tooLong;
    QTest::newRow("lone minus") << "-" << refused << notANumber;
    QTest::newRow("minus inside") << "1-2" << refused << notANumber;
    QTest::newRow("two minus") << "--5" << refused << notANumber;
    QTest::newRow("minus after") << "5-" << refused << notANumber;
    QTest::newRow("two points") << "1.2.3" << refused << notANumber;
    QTest::newRow("lone point") << "." << refused << notANumber;
    QTest::newRow("minus point") << "-." << refused << notANumber;
    QTest::newRow("letters") << "abc" << refused << notANumber;
    QTest::newRow("exponent") << "1e5" << refused << notANumber;
    QTest::newRow("plus") << "+5" << refused << notANumber;
    QTest::newRow("quote") << "5'" << refused << notANumber;
    QTest::newRow("percent") << "%" << refused << notANumber;
    QTest::newRow("blank inside") << "1 2" << refused << notANumber;
    QTest::newRow("fifth decimal")
        << "1.23456" << refused << Money::OutOfRangeMessage(QStringLiteral("充值金额"));
    QTest::newRow("tiny") << "0.00001" << refused
                          << Money::OutOfRangeMessage(QStringLiteral("充值金额"));
}

void TestRecharge::parseAmount()
{
    QFETCH(QString, typed);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    const RechargeAmount r = Recharge::ParseAmount(typed);
    QCOMPARE(r.amount.has_value(), !amount.isEmpty());
    QCOMPARE(r.refusal.has_value(), !message.isEmpty());
    if (r.amount) {
        QCOMPARE(r.amount->toString(), amount);
        QCOMPARE(*r.amount, *Money::parse(typed));
    } else {
        QCOMPARE(r.refusal->message, message);
        QCOMPARE(r.refusal->focus, QStringLiteral("edt_AddMoney"));
    }
}

void TestRecharge::writesRecordAndBalance_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("balance"); // set before; empty: as in the demo
    QTest::addColumn<QString>("amount");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("after");
    QTest::newRow("100 + 20.5") << "1001"
                                << "100"
                                << "20.5" << 100.0 << 120.5;
    QTest::newRow("demo balance") << "1002"
                                  << ""
                                  << "300" << 1200.0 << 1500.0;
    QTest::newRow("withdrawal") << "1001"
                                << ""
                                << "-50" << 500.0 << 450.0;
    QTest::newRow("withdrawal below zero") << "1007"
                                           << ""
                                           << "-50" << 20.0 << -30.0;
    QTest::newRow("exact decimal sum") << "1004"
                                       << "0.1"
                                       << "0.2" << 0.1 << 0.3;
    QTest::newRow("four decimals") << "1004"
                                   << "0.0001"
                                   << "99999999" << 0.0001 << 99999999.0001;
}

void TestRecharge::writesRecordAndBalance()
{
    QFETCH(QString, card);
    QFETCH(QString, balance);
    QFETCH(QString, amount);
    QFETCH(double, before);
    QFETCH(double, after);
    TestDatabase t(TestDatabase::Content::Demo);
    if (!balance.isEmpty())
        t.db.exec(QStringLiteral("UPDATE User_Info SET User_ChuZhi = ? WHERE User_Card = ?"),
                  {balance.toDouble(), card});
    const QStringList othersBefore = FaultInjection::Snapshot(
        t.db, {QStringLiteral("SELECT * FROM User_Info WHERE User_Card <> '%1'").arg(card),
               QStringLiteral("SELECT * FROM TblAddMoney ORDER BY FID")});
    const qint64 member = MemberId(t, card);

    RechargeRequest request = Request(t, card, amount);
    request.maker = QStringLiteral("收银员");
    request.adminId = 2;
    const RechargeResult r = Recharge(t.db).Run(request);
    QVERIFY(!r.refusal);
    QVERIFY(r.recordId > 0);
    QCOMPARE(r.billNo, QStringLiteral("202403058"));
    QCOMPARE(r.balance.before, Money::fromDouble(before));
    QCOMPARE(r.balance.after, Money::fromDouble(after));

    QSqlQuery q = t.db.exec(QStringLiteral("SELECT FBillNo, UserID, FStoreID, FAddMoney, "
                                           "FBeforeMoney, FAfterMoney, FDate, FMaker, FAdminID "
                                           "FROM TblAddMoney WHERE FID = ?"),
                            {r.recordId});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("202403058"));
    QCOMPARE(q.value(1).toLongLong(), member);
    QCOMPARE(q.value(2).toInt(), 2);
    // Exactly the decimal amounts, not a sum in binary floating point
    // (0.1 + 0.2 would be stored as 0.30000000000000004).
    QVERIFY(q.value(3).toDouble() == Yuan(amount).toDouble());
    QVERIFY(q.value(4).toDouble() == before);
    QVERIFY2(q.value(5).toDouble() == after, qPrintable(q.value(5).toString()));
    QCOMPARE(q.value(6).toString(), QStringLiteral("2024-03-05 09:07:02"));
    QCOMPARE(q.value(7).toString(), QStringLiteral("收银员"));
    QCOMPARE(q.value(8).toInt(), 2);
    // The stored balance is exactly the record's balance after.
    QVERIFY(t.value(QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_ID = ?"), {member})
                .toDouble() == after);
    QCOMPARE(MemberAccount(t.db, member).balance(), r.balance.after);
    // Nothing else changed, and one record was added.
    QCOMPARE(FaultInjection::Snapshot(
                 t.db, {QStringLiteral("SELECT * FROM User_Info WHERE User_Card <> '%1'").arg(card),
                        QStringLiteral("SELECT * FROM TblAddMoney WHERE FID <> %1 ORDER BY FID")
                            .arg(r.recordId)}),
             othersBefore);
}

void TestRecharge::refusalsWriteNothing_data()
{
    QTest::addColumn<QString>("setup"); // what happens after the lookup, before confirming
    QTest::addColumn<QString>("amount");
    QTest::addColumn<int>("storeId");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString none;
    QTest::newRow("zero") << none << "0" << 2 << "充值金额不能为零!"
                          << "edt_AddMoney";
    QTest::newRow("zero with decimals") << none << "0.000" << 2 << "充值金额不能为零!"
                                        << "edt_AddMoney";
    QTest::newRow("member deleted meanwhile")
        << "DELETE FROM User_Info WHERE User_Card = '1001'"
        << "100" << 2 << "该会员已不存在（可能已被删除），不能充值！"
        << "edt_CardNo";
    QTest::newRow("store deleted meanwhile") << "DELETE FROM SL_Store WHERE StoreID = 2"
                                             << "100" << 2 << "所选门店已不存在，请重新选择门店！"
                                             << "cbStore";
    QTest::newRow("no store") << none << "-20" << 0 << "所选门店已不存在，请重新选择门店！"
                              << "cbStore";
}

void TestRecharge::refusalsWriteNothing()
{
    QFETCH(QString, setup);
    QFETCH(QString, amount);
    QFETCH(int, storeId);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t(TestDatabase::Content::Demo);
    const RechargeRequest request = Request(t, QStringLiteral("1001"), amount, storeId);
    if (!setup.isEmpty())
        t.db.exec(setup);
    const QStringList before = Snapshot(t);

    const RechargeResult r = Recharge(t.db).Run(request);
    QVERIFY(r.refusal);
    QCOMPARE(r.refusal->message, message);
    QCOMPARE(r.refusal->focus, focus);
    QCOMPARE(r.recordId, 0);
    QCOMPARE(Snapshot(t), before);
}

void TestRecharge::failingWriteLeavesNothing_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("amount");
    QTest::newRow("record") << "BEFORE INSERT ON TblAddMoney"
                            << "100";
    QTest::newRow("balance") << "BEFORE UPDATE OF User_ChuZhi ON User_Info"
                             << "100";
    QTest::newRow("withdrawal: record") << "BEFORE INSERT ON TblAddMoney"
                                        << "-600";
    QTest::newRow("withdrawal: balance") << "BEFORE UPDATE OF User_ChuZhi ON User_Info"
                                         << "-600";
}

void TestRecharge::failingWriteLeavesNothing()
{
    QFETCH(QString, trigger);
    QFETCH(QString, amount);
    TestDatabase t(TestDatabase::Content::Demo);
    const RechargeRequest request = Request(t, QStringLiteral("1001"), amount);
    FaultInjection::ExpectNothingWritten(t.db, trigger, RechargeSnapshot,
                                         [&] { Recharge(t.db).Run(request); });
    if (QTest::currentTestFailed())
        return;
    // Without the fault the same recharge goes through, numbered as shown.
    const RechargeResult r = Recharge(t.db).Run(request);
    QVERIFY(!r.refusal);
    QCOMPARE(r.billNo, QStringLiteral("202403058"));
    QCOMPARE(r.balance.after, Yuan("500") + Yuan(amount));
}

void TestRecharge::twoConnectionsRechargeOneMember()
{
    TestDatabase t(TestDatabase::Content::Demo);
    Database other(QStringLiteral("other-till"));
    other.open(t.file());
    const qint64 wang = MemberId(t, QStringLiteral("1001"));

    // Both tills show the same next bill number; the other till writes first.
    const QString shown = Recharge::NextBillNo(t.db, t.clock.today());
    QCOMPARE(Recharge::NextBillNo(other, t.clock.today()), shown);
    const RechargeResult a = Recharge(other).Run(Request(t, QStringLiteral("1001"), "30"));
    const RechargeResult b = Recharge(t.db).Run(Request(t, QStringLiteral("1001"), "-12.5"));
    QVERIFY(!a.refusal);
    QVERIFY(!b.refusal);
    QCOMPARE(a.billNo, shown);
    QVERIFY(b.billNo != a.billNo);
    QCOMPARE(b.billNo, QStringLiteral("202403059"));
    // Both amounts landed, the second starting from the first's balance after.
    QCOMPARE(b.balance.before, a.balance.after);
    QCOMPARE(MemberAccount(other, wang).balance(), Yuan("517.5"));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(DISTINCT FBillNo) FROM TblAddMoney")).toInt(), 9);

    // A till waiting for the other's write lock goes on once it is free.
    {
        Transaction held(other);
        t.db.setBusyTimeout(50);
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 Recharge(t.db).Run(Request(t, QStringLiteral("1001"), "1")));
        held.commit();
    }
    QCOMPARE(MemberAccount(t.db, wang).balance(), Yuan("517.5"));
    QVERIFY(!Recharge(t.db).Run(Request(t, QStringLiteral("1001"), "1")).refusal);
    QCOMPARE(MemberAccount(other, wang).balance(), Yuan("518.5"));
}

void TestRecharge::historySelects()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const QStringList titles = {"单据号",     "卡号",     "姓名", "充值金额", "充值前金额",
                                "充值后金额", "充值日期", "门店", "操作人"};
    // Records of the same second in the order written, the newest first.
    const RechargeResult first = Recharge(t.db).Run(Request(t, QStringLiteral("1003"), "5"));
    const RechargeResult second = Recharge(t.db).Run(Request(t, QStringLiteral("1003"), "7"));
    const QuerySource all = Recharge::History();
    QSqlQuery q = t.db.exec(all.sql, all.binds);
    QStringList names;
    for (int i = 0; i < q.record().count(); ++i)
        names << q.record().fieldName(i);
    QCOMPARE(names, titles);
    QStringList bills;
    QString lastDate = QStringLiteral("9999");
    while (q.next()) {
        bills << q.value(0).toString();
        QVERIFY(q.value(6).toString() <= lastDate);
        lastDate = q.value(6).toString();
    }
    QCOMPARE(bills.size(), 9);
    QCOMPARE(bills.mid(0, 2), (QStringList{second.billNo, first.billNo}));

    // One card's history; a record whose member or store is gone is still
    // in the whole history.
    const QuerySource mine = Recharge::CardHistory(QStringLiteral("1003"));
    QCOMPARE(mine.binds, QVariantList{QStringLiteral("1003")});
    QSqlQuery m = t.db.exec(mine.sql, mine.binds);
    int rows = 0;
    while (m.next()) {
        QCOMPARE(m.value(1).toString(), QStringLiteral("1003"));
        QCOMPARE(m.value(2).toString(), QStringLiteral("张伟"));
        ++rows;
    }
    QCOMPARE(rows, 3);
    QSqlQuery hostile = t.db.exec(mine.sql, {QStringLiteral("1003' OR '1'='1")});
    QVERIFY(!hostile.next());
    t.db.exec(QStringLiteral("DELETE FROM User_Info WHERE User_Card = '1003'"));
    t.db.exec(QStringLiteral("DELETE FROM SL_Store WHERE StoreID = 2"));
    QSqlQuery gone = t.db.exec(all.sql, all.binds);
    QVERIFY(gone.next());
    QCOMPARE(gone.value(0).toString(), second.billNo);
    QVERIFY(gone.value(1).isNull());
    QVERIFY(gone.value(7).isNull());
    QCOMPARE(gone.value(3).toDouble(), 7.0);
}

void TestRecharge::stores_data()
{
    QTest::addColumn<QString>("dianMian");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("every shown store") << "0" << QStringList{"总店", "二分店", "四分店"};
    QTest::newRow("own store") << "2" << QStringList{"二分店"};
    QTest::newRow("own store with blanks") << " 2 " << QStringList{"二分店"};
    QTest::newRow("own store not shown") << "3" << QStringList{};
    QTest::newRow("no such store") << "9" << QStringList{};
    QTest::newRow("not a number") << "1 OR 1=1" << QStringList{};
}

void TestRecharge::stores()
{
    QFETCH(QString, dianMian);
    QFETCH(QStringList, names);
    TestDatabase t(TestDatabase::Content::Demo);
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName, StoreShow) VALUES ('三分店', '0')"));
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('四分店')"));
    const QuerySource s = Recharge::Stores(dianMian);
    QSqlQuery q = t.db.exec(s.sql, s.binds);
    QStringList got;
    while (q.next()) {
        got << q.value(1).toString();
        QCOMPARE(q.value(0).toInt(),
                 t.value(QStringLiteral("SELECT StoreID FROM SL_Store WHERE StoreName = ?"),
                         {q.value(1)})
                     .toInt());
    }
    QCOMPARE(got, names);
}

QTEST_GUILESS_MAIN(TestRecharge)
#include "tst_recharge.moc"
