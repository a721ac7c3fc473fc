#include "platform/qt/QtPrompter.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QVBoxLayout>
#include <QtTest>

// A message box on a real X display (Xvfb, no window manager), closed with a
// real Enter key: the keys the operator types next must reach the box the
// dialog puts the focus in. The offscreen platform cannot show this fault.

namespace
{

bool Xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// Runs inside the X session (QT_QPA_PLATFORM=xcb): exit code 0 when the
// typed keys arrived.
int RunOnDisplay(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QDialog dialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    auto *edit = new QLineEdit(&dialog);
    auto *other = new QLineEdit(&dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(other);
    dialog.show();
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog, 5000)) {
        qWarning("the dialog never became active");
        return 3;
    }
    other->setFocus();

    QtPrompter prompter;
    QTimer::singleShot(500, [] { Xdotool({QStringLiteral("key"), QStringLiteral("Return")}); });
    prompter.information(QStringLiteral("收款方式中实收金额必须要大于等于应收金额!"));
    edit->setFocus(); // what a refusal does with the box it names
    QTest::qWait(300);
    Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
             QStringLiteral("30")});
    QTest::qWait(500);
    if (edit->text() != QLatin1String("30")) {
        qWarning("typed keys were lost: the box holds '%s'", qPrintable(edit->text()));
        return 1;
    }
    return 0;
}

} // namespace

class TestQtPrompterX11 : public QObject
{
    Q_OBJECT
private slots:
    void keysReachTheFocusAfterAMessage();
};

void TestQtPrompterX11::keysReachTheFocusAfterAMessage()
{
    XvfbSession::Run(90, 30000);
}

XVFB_TEST_MAIN(TestQtPrompterX11, RunOnDisplay)

#include "tst_qtprompter_x11_gui.moc"
