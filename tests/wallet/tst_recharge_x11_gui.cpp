#include "platform/qt/QtPrompter.h"
#include "support/TestDatabase.h"
#include "support/XvfbSession.h"
#include "wallet/TAddMoney_Frm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QtTest>
#include <functional>
#include <memory>

// The recharge window on a real X display (Xvfb, no window manager), used
// with the keyboard only: card, Enter, amount, Enter, and Enter to close
// each message box. The keys must reach the boxes the window puts the
// focus in, also after a message box; the offscreen platform cannot show
// that.

namespace
{

bool Xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

void Type(const QString &text)
{
    Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
             QStringLiteral("--"), text});
}

void Key(const QString &key)
{
    Xdotool({QStringLiteral("key"), key});
}

// Presses Enter in each of the next `boxes` message boxes, once the box
// has the keyboard.
void CloseWithEnter(int boxes)
{
    auto *timer = new QTimer;
    auto left = std::make_shared<int>(boxes);
    auto last = std::make_shared<QPointer<QWidget>>();
    QObject::connect(timer, &QTimer::timeout, [timer, left, last] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || box == *last || !box->isActiveWindow())
            return;
        *last = box;
        Key(QStringLiteral("Return"));
        if (--*left == 0) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(50);
}

bool WaitFor(const std::function<bool()> &done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

double Balance(TestDatabase &t, const char *card)
{
    return t
        .value(QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_Card = ?"),
               {QString::fromLatin1(card)})
        .toDouble();
}

// Runs inside the X session (QT_QPA_PLATFORM=xcb): exit code 0 when both
// recharges were made with the keyboard alone.
int RunOnDisplay(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    QtPrompter prompter;
    AppContext ctx(t.db, t.session, prompter, t.clock, t.files, t.urls);
    TAddMoney_Frm form(ctx);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form, 5000)) {
        qWarning("the window never became active");
        return 3;
    }
    auto *card = form.findChild<QLineEdit *>(QStringLiteral("edt_CardNo"));
    auto *amount = form.findChild<QLineEdit *>(QStringLiteral("edt_AddMoney"));

    // A recharge: the success box is closed with Enter.
    Type(QStringLiteral("1001"));
    Key(QStringLiteral("Return"));
    if (!WaitFor([&] { return amount->hasFocus(); })) {
        qWarning("Enter in the card box did not look the card up");
        return 1;
    }
    Type(QStringLiteral("20.5"));
    CloseWithEnter(1);
    Key(QStringLiteral("Return"));
    if (!WaitFor([&] { return Balance(t, "1001") == 520.5 && card->hasFocus(); })) {
        qWarning("the recharge did not go through: balance %g", Balance(t, "1001"));
        return 1;
    }

    // A withdrawal right after: OK in the question box, then the success box.
    QTest::qWait(300);
    Type(QStringLiteral("1002"));
    Key(QStringLiteral("Return"));
    if (!WaitFor([&] { return amount->hasFocus(); })) {
        qWarning("keys typed after the message box were lost: card box '%s'",
                 qPrintable(card->text()));
        return 1;
    }
    Type(QStringLiteral("-5"));
    CloseWithEnter(2);
    Key(QStringLiteral("Return"));
    if (!WaitFor([&] { return Balance(t, "1002") == 1195.0 && card->hasFocus(); }, 8000)) {
        qWarning("the withdrawal did not go through: balance %g, window active %d",
                 Balance(t, "1002"), int(form.isActiveWindow()));
        return 1;
    }
    return 0;
}

} // namespace

class TestRechargeX11 : public QObject
{
    Q_OBJECT
private slots:
    void keyboardOnly();
};

void TestRechargeX11::keyboardOnly()
{
    XvfbSession::Run(130, 60000);
}

XVFB_TEST_MAIN(TestRechargeX11, RunOnDisplay)

#include "tst_recharge_x11_gui.moc"
