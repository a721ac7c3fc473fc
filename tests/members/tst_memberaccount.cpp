#include "members/MemberAccount.h"
#include "support/FaultInjection.h"
#include "support/TestDatabase.h"

#include <QtTest>

// The one place where stored value, points and spending change: values
// before and after, limits checked against what is stored, one statement
// failing leaves the account as it was.
class TestMemberAccount : public QObject
{
    Q_OBJECT
private slots:
    void changesReportBeforeAndAfter();
    void limits_data();
    void limits();
    void limitHoldsAgainstAnotherTill();
    void vanishedMemberWritesNothing();
    void failingWriteLeavesAccount_data();
    void failingWriteLeavesAccount();
};

namespace
{

// Member 1001 of the demo data: 500 stored, 120 points, 64 spent.
constexpr qint64 Wang = 1;

Money Yuan(const char *text)
{
    return *Money::parse(QString::fromLatin1(text));
}

const QStringList AccountSnapshot = {
    QStringLiteral("SELECT User_ChuZhi, User_Num, User_MoneyAll FROM User_Info ORDER BY User_ID")};

} // namespace

void TestMemberAccount::changesReportBeforeAndAfter()
{
    TestDatabase t(TestDatabase::Content::Demo);
    MemberAccount account(t.db, Wang);
    const AccountChange<Money> credited = account.credit(Yuan("100.05"));
    QCOMPARE(credited.before, Yuan("500"));
    QCOMPARE(credited.after, Yuan("600.05"));
    const std::optional<AccountChange<Money>> debited = account.debit(Yuan("0.05"));
    QVERIFY(debited);
    QCOMPARE(debited->after, Yuan("600"));
    const AccountChange<double> points = account.addPoints(8.5);
    QCOMPARE(points.before, 120.0);
    QCOMPARE(points.after, 128.5);
    const AccountChange<double> spent = account.addSpending(-4);
    QCOMPARE(spent.after, spent.before - 4);
    // What is stored is what was reported.
    QCOMPARE(t.value("SELECT User_ChuZhi FROM User_Info WHERE User_ID = 1").toDouble(), 600.0);
    QCOMPARE(t.value("SELECT User_Num FROM User_Info WHERE User_ID = 1").toDouble(), 128.5);
    QCOMPARE(t.value("SELECT User_MoneyAll FROM User_Info WHERE User_ID = 1").toDouble(),
             spent.after);
    // Other members are untouched.
    QCOMPARE(t.value("SELECT User_ChuZhi FROM User_Info WHERE User_Card = '1002'").toDouble(),
             1200.0);
}

void TestMemberAccount::limits_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("amount");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("debit the whole balance") << "debit" << 500.0 << true;
    QTest::newRow("debit a cent more") << "debit" << 500.01 << false;
    QTest::newRow("take every point") << "points" << 120.0 << true;
    QTest::newRow("take a point more") << "points" << 121.0 << false;
}

void TestMemberAccount::limits()
{
    QFETCH(QString, kind);
    QFETCH(double, amount);
    QFETCH(bool, allowed);
    TestDatabase t(TestDatabase::Content::Demo);
    const QStringList before = FaultInjection::Snapshot(t.db, AccountSnapshot);
    MemberAccount account(t.db, Wang);
    bool done = false;
    {
        Transaction tx(t.db);
        done = kind == QLatin1String("debit") ? account.debit(Money::fromDouble(amount)).has_value()
                                              : account.takePoints(amount).has_value();
        tx.commit(); // a refused step does not fail the operation around it
    }
    QCOMPARE(done, allowed);
    if (!allowed)
        QCOMPARE(FaultInjection::Snapshot(t.db, AccountSnapshot), before);
}

void TestMemberAccount::limitHoldsAgainstAnotherTill()
{
    TestDatabase t(TestDatabase::Content::Demo);
    Database other(QStringLiteral("other-till"));
    other.open(t.file());
    // The other till spends 450 first; this till then may not take 100.
    QVERIFY(MemberAccount(other, Wang).debit(Yuan("450")));
    QVERIFY(!MemberAccount(t.db, Wang).debit(Yuan("100")));
    QVERIFY(MemberAccount(t.db, Wang).debit(Yuan("50")));
    QCOMPARE(MemberAccount(other, Wang).balance(), Money());
}

void TestMemberAccount::vanishedMemberWritesNothing()
{
    TestDatabase t(TestDatabase::Content::Demo);
    MemberAccount gone(t.db, 9999);
    QVERIFY(!gone.exists());
    QVERIFY_THROWS_EXCEPTION(DbError, gone.credit(Yuan("10")));
    QVERIFY_THROWS_EXCEPTION(DbError, gone.addPoints(1));
    QCOMPARE(t.value("SELECT COUNT(*) FROM User_Info WHERE User_ID = 9999").toInt(), 0);
}

void TestMemberAccount::failingWriteLeavesAccount_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("stored value") << "BEFORE UPDATE OF User_ChuZhi ON User_Info";
    QTest::newRow("points") << "BEFORE UPDATE OF User_Num ON User_Info";
    QTest::newRow("spending") << "BEFORE UPDATE OF User_MoneyAll ON User_Info";
}

void TestMemberAccount::failingWriteLeavesAccount()
{
    QFETCH(QString, trigger);
    TestDatabase t(TestDatabase::Content::Demo);
    // One operation that changes all three: any failing write undoes all.
    FaultInjection::ExpectNothingWritten(t.db, trigger, AccountSnapshot, [&] {
        Transaction tx(t.db);
        MemberAccount account(t.db, Wang);
        account.credit(Yuan("10"));
        account.addPoints(5);
        account.addSpending(10);
        tx.commit();
    });
}

QTEST_GUILESS_MAIN(TestMemberAccount)
#include "tst_memberaccount.moc"
