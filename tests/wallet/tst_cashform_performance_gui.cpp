#include "support/TestDatabase.h"
#include "wallet/RedemptionFixture.h"
#include "wallet/TCashForm.h"
#include "widgets/DataGridWidget.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The redemption window on a shop with 50,000 redemptions: it opens, finds a
// member and records at once, and its list does not read every row up front.
class TestCashFormPerformance : public QObject
{
    Q_OBJECT
private slots:
    void opensLooksUpAndRecordsAtOnce();
};

namespace
{

constexpr int Redemptions = 50000;

void Report(const char *what, qint64 ms)
{
    qInfo("%s: %lld ms", what, static_cast<long long>(ms));
    QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 took %2 ms").arg(what).arg(ms)));
}

} // namespace

void TestCashFormPerformance::opensLooksUpAndRecordsAtOnce()
{
    DemoWithoutRedemptions t;
    // Spread over the eight demo members, oldest first.
    t.db.exec(
        QStringLiteral(
            "INSERT INTO User_Cash (UserID, UserCard, UserName, CashProName, CashProPrice, "
            "CashNumOld, CashNum, CashNumNew, CashAddMoney, CashAdmin, CashDate) "
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
            "SELECT u.User_ID, u.User_Card, u.User_Name, '礼品' || (1 + i % 40), 60.0, 500.0, "
            "50, 450.0, 10.0, 'admin', datetime('2024-03-05 09:07:02', '-' || (? - i) || "
            "' minutes') FROM n JOIN User_Info u ON u.User_ID = 1 + i % 8"),
        {Redemptions, Redemptions});
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt(), Redemptions);

    QElapsedTimer clock;
    clock.start();
    TCashForm form(t.ctx);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Report("open and list every redemption", clock.elapsed());
    QVERIFY(form.DBGrid1->rowCount() > 0);
    QVERIFY(form.DBGrid1->rowCount() < Redemptions); // the rest is read as it scrolls
    QCOMPARE(form.DBGrid1->value(0, QStringLiteral("序号")).toInt(), Redemptions);

    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    clock.restart();
    QTest::mouseClick(form.Edit1, Qt::LeftButton);
    QTest::keyClicks(form.Edit1, QStringLiteral("1008"));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    Report("look a member up", clock.elapsed());
    QVERIFY(form.currentMemberId() > 0);
    QVERIFY(form.DBGrid1->rowCount() > 0);

    clock.restart();
    QTest::keyClicks(form.Edit2, QStringLiteral("cup"));
    QTest::keyClicks(form.Edit3, QStringLiteral("50"));
    QTest::keyClicks(form.Edit4, QStringLiteral("30"));
    QTest::mouseClick(form.Edit5, Qt::LeftButton);
    QTest::mouseClick(form.BtnOk, Qt::LeftButton);
    Report("record a redemption", clock.elapsed());
    QCOMPARE(t.prompter.last(), QStringLiteral("兑分成功！"));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt(), Redemptions + 1);
}

QTEST_MAIN(TestCashFormPerformance)
#include "tst_cashform_performance_gui.moc"
