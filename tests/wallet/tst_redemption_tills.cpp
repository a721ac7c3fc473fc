#include "data/Database.h"
#include "support/TestDatabase.h"
#include "wallet/Redemption.h"
#include "wallet/RedemptionFixture.h"

#include <QProcess>
#include <QtTest>

// Two copies of the program redeeming the same member's points at once, each
// a process of its own (this executable started with --window).

namespace
{

constexpr int AttemptsPerWindow = 40;
constexpr int PointsHeld = 50; // fewer than both windows together try to take

// One window: redeems one point for a value of 1 again and again. Once the
// points are gone every attempt must be refused with the points message.
// Exit code 0: nothing went wrong.
int RunWindow(const QString &file, const QString &card, const QString &admin)
{
    Database db(QStringLiteral("window"));
    try {
        db.open(file);
        const qint64 member =
            db.scalar(QStringLiteral("SELECT User_ID FROM User_Info WHERE User_Card = ?"), {card})
                .toLongLong();
        const RedemptionTexts typed{QStringLiteral("积分换购"), QStringLiteral("1"),
                                    QStringLiteral("1"), QStringLiteral("0"), QString()};
        // The window checked against the points it showed at lookup time.
        const EntryCheck check = Redemption::CheckConfirmation(typed, PointsHeld);
        if (check.refusal)
            return 2;
        for (int i = 0; i < AttemptsPerWindow; ++i) {
            RedemptionRequest r;
            r.memberId = member;
            r.entry = check.entry;
            r.admin = admin;
            r.now = QDateTime::currentDateTime();
            const RedemptionResult result = Redemption(db).Run(r);
            if (result.refusal &&
                result.refusal->message != Redemption::PointsAboveCurrentMessage()) {
                qWarning("refused: %s", qPrintable(result.refusal->message));
                return 3;
            }
        }
    } catch (const DbError &e) {
        qWarning("database error: %s", qPrintable(e.text()));
        return 4;
    }
    return 0;
}

} // namespace

class TestRedemptionTills : public QObject
{
    Q_OBJECT
private slots:
    void twoWindowsRedeemOneMember();
};

void TestRedemptionTills::twoWindowsRedeemOneMember()
{
    DemoWithoutRedemptions t;
    t.db.exec(QStringLiteral("UPDATE User_Info SET User_Num = ? WHERE User_Card = '1001'"),
              {PointsHeld});

    QProcess a, b;
    for (QProcess *p : {&a, &b}) {
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--window"), t.file(), QStringLiteral("1001"),
                  p == &a ? QStringLiteral("甲") : QStringLiteral("乙")});
    }
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    // Every point was taken exactly once: the points before of the records
    // are 50, 49, ..., 1, each record took one, and none is left.
    QCOMPARE(t.value(QStringLiteral("SELECT User_Num FROM User_Info WHERE User_Card = '1001'"))
                 .toDouble(),
             0.0);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt(), PointsHeld);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(DISTINCT CashNumOld) FROM User_Cash")).toInt(),
             PointsHeld);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash WHERE CashNumNew <> "
                                    "CashNumOld - CashNum OR CashNum <> 1 OR CashNumNew < 0"))
                 .toInt(),
             0);
    QCOMPARE(t.value(QStringLiteral("SELECT MIN(CashNumNew) FROM User_Cash")).toDouble(), 0.0);
    QCOMPARE(t.value(QStringLiteral("SELECT MAX(CashNumOld) FROM User_Cash")).toDouble(),
             double(PointsHeld));
    // Neither window can take more than it tried: both took their share.
    for (const QString &admin : {QStringLiteral("甲"), QStringLiteral("乙")}) {
        const int taken =
            t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash WHERE CashAdmin = ?"), {admin})
                .toInt();
        QVERIFY2(taken >= PointsHeld - AttemptsPerWindow, qPrintable(admin));
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--window") == 0)
        return RunWindow(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                         QString::fromLocal8Bit(argv[4]));
    TestRedemptionTills test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_redemption_tills.moc"
