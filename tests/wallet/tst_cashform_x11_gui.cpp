#include "platform/qt/QtPrompter.h"
#include "support/TestDatabase.h"
#include "support/XvfbSession.h"
#include "wallet/RedemptionFixture.h"
#include "wallet/TCashForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

// The redemption window on a real X display (Xvfb, no window manager) with
// real message boxes, used with the keyboard only: Enter looks the member
// up, Tab into the cash box runs the checks (a refusal's message box closed
// with Enter must not bring the check back), Enter before the cash box sends
// the focus there filled in, and Enter records. The offscreen
// platform shows neither the focus coming back with the window nor a box
// opened from a focus change.

namespace
{

// Runs inside the X session (QT_QPA_PLATFORM=xcb): exit code 0 when the keys
// typed recorded the redemption and the window was left ready for the next.
int RunOnDisplay(int argc, char *argv[])
{
    QApplication app(argc, argv);
    DemoWithoutRedemptions t; // 1001 holds 120 points
    t.loginAs();
    QtPrompter prompter;
    AppContext ctx(t.db, t.session, prompter, t.clock, t.files, t.urls);
    TCashForm form(ctx);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form, 5000)) {
        qWarning("the window never became active");
        return 3;
    }

    // The operator's keys, with the pauses of a person; the boxes open and
    // close in between.
    const QString keys = QStringLiteral(
        "sleep 0.5; xdotool type --delay 40 1001; xdotool key Return; sleep 0.8; "
        "xdotool key --delay 80 Tab Tab Tab; sleep 0.8; "  // into the cash box: no item yet
        "xdotool key Return; sleep 0.8; "                  // the message closed
        "xdotool type --delay 40 cup; xdotool key Tab; "   // the focus is back in the item
        "xdotool type --delay 40 50; xdotool key Tab; "    // value
        "xdotool type --delay 40 30; xdotool key Return; " // points, and Enter at once
        "sleep 0.8; xdotool key Return; sleep 0.8; " // 加现金不能为空！ closed: cash filled
        "xdotool key Return; sleep 0.8; "            // recorded: 兑分成功！
        "xdotool key Return; sleep 0.8");
    QProcess operatorKeys;
    operatorKeys.start(QStringLiteral("sh"), {QStringLiteral("-c"), keys});
    QElapsedTimer clock;
    clock.start();
    while (operatorKeys.state() != QProcess::NotRunning && clock.elapsed() < 30000)
        QTest::qWait(50);
    QTest::qWait(300);

    int failures = 0;
    const auto expect = [&](bool ok, const char *what) {
        if (!ok) {
            qWarning("%s", what);
            ++failures;
        }
    };
    expect(QApplication::activeModalWidget() == nullptr, "a message box is still open");
    expect(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt() == 1,
           "not exactly one record");
    QSqlQuery q = t.db.exec(QStringLiteral(
        "SELECT CashProName, CashProPrice, CashNum, CashAddMoney, CashOther FROM User_Cash"));
    expect(q.next(), "no record");
    expect(q.value(0).toString() == QLatin1String("cup"), "item");
    expect(q.value(1).toDouble() == 50.0, "value");
    expect(q.value(2).toDouble() == 30.0, "points");
    expect(q.value(3).toDouble() == 20.0, "cash");
    expect(q.value(4).toString().isEmpty(), "remark");
    expect(t.value(QStringLiteral("SELECT User_Num FROM User_Info WHERE User_Card = '1001'"))
                   .toDouble() == 90.0,
           "points left");
    expect(QApplication::focusWidget() == form.Edit2, "the item box has not the keyboard");
    expect(form.Edit2->text().isEmpty() && form.Edit5->text().isEmpty(), "boxes not emptied");
    return failures == 0 ? 0 : 1;
}

} // namespace

class TestCashFormX11 : public QObject
{
    Q_OBJECT
private slots:
    void keyboardOnlyWithRealMessageBoxes();
};

void TestCashFormX11::keyboardOnlyWithRealMessageBoxes()
{
    XvfbSession::Run(120, 60000);
}

XVFB_TEST_MAIN(TestCashFormX11, RunOnDisplay)

#include "tst_cashform_x11_gui.moc"
