#include "data/Database.h"
#include "support/TestDatabase.h"
#include "wallet/Recharge.h"

#include <QProcess>
#include <QSet>
#include <QtTest>

// Two copies of the program recharging one member on one database file at
// once, each as a process of its own (this executable started with --till).

namespace
{

constexpr int RechargesPerTill = 100;

// One till: looks the card up and recharges it again and again, a
// withdrawal now and then. Exit code 0: every recharge was written.
int RunTill(const QString &file, const QString &card, const QString &amount)
{
    Database db(QStringLiteral("till"));
    db.open(file);
    try {
        for (int i = 0; i < RechargesPerTill; ++i) {
            const std::optional<Member> member = Recharge::FindCard(db, card);
            if (!member)
                return 2;
            RechargeRequest r;
            r.memberId = member->id;
            r.storeId = 1;
            r.amount = *Money::parse(i % 5 == 4 ? QStringLiteral("-1") : amount);
            r.maker = amount;
            r.adminId = 1;
            r.now = QDateTime::currentDateTime();
            if (Recharge(db).Run(r).refusal)
                return 3;
        }
    } catch (const DbError &e) {
        qWarning("database error: %s", qPrintable(e.text()));
        return 4;
    }
    return 0;
}

} // namespace

class TestRechargeTills : public QObject
{
    Q_OBJECT
private slots:
    void twoTillsRechargeOneMember();
};

void TestRechargeTills::twoTillsRechargeOneMember()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const qint64 firstNew =
        t.value(QStringLiteral("SELECT COALESCE(MAX(FID), 0) + 1 FROM TblAddMoney")).toLongLong();

    QProcess a, b;
    for (QProcess *p : {&a, &b})
        p->setProcessChannelMode(QProcess::ForwardedChannels);
    a.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--till"), t.file(), QStringLiteral("1001"), QStringLiteral("10.01")});
    b.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--till"), t.file(), QStringLiteral("1001"), QStringLiteral("0.1")});
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    // Every amount landed: each till made 80 recharges of its amount and 20
    // withdrawals of 1.
    const double expected = 500 + 80 * 10.01 + 80 * 0.1 - 40;
    QCOMPARE(t.value(QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_Card = '1001'"))
                 .toDouble(),
             expected);
    // Each record starts from the balance the one before it left, and no
    // two records share a bill number.
    QSqlQuery q = t.db.exec(QStringLiteral("SELECT FBillNo, FAddMoney, FBeforeMoney, FAfterMoney "
                                           "FROM TblAddMoney WHERE FID >= ? ORDER BY FID"),
                            {firstNew});
    QSet<QString> bills;
    Money balance = *Money::parse(QStringLiteral("500"));
    int rows = 0;
    while (q.next()) {
        ++rows;
        bills << q.value(0).toString();
        QCOMPARE(Money::fromVariant(q.value(2)), balance);
        balance += Money::fromVariant(q.value(1));
        QCOMPARE(Money::fromVariant(q.value(3)), balance);
    }
    QCOMPARE(rows, 2 * RechargesPerTill);
    QCOMPARE(bills.size(), rows);
    QCOMPARE(balance, Money::fromDouble(expected));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--till") == 0)
        return RunTill(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                       QString::fromLocal8Bit(argv[4]));
    TestRechargeTills test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rechargetills.moc"
