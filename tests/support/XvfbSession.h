#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// Tests that need a real X display (keyboard focus, message boxes closed
// with real keys) run their work in a second copy of the test executable,
// started with "--on-display" inside a fresh Xvfb without a window manager,
// on the xcb platform. The work returns 0 when everything held.
namespace XvfbSession
{

// Starts Xvfb on the first free display from `firstDisplay` on, runs the
// work there and checks that it ended with 0. Fails the calling test when
// Xvfb or xdotool is missing or the work does not end within `timeoutMs`.
inline void Run(int firstDisplay, int timeoutMs = 60000)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QFAIL("Xvfb and xdotool are needed (./test.sh installs them)");
    int display = firstDisplay;
    while (display < firstDisplay + 40 &&
           QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
        ++display;
    const QString name = QStringLiteral(":%1").arg(display);
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {name, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24"),
                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QVERIFY(xvfb.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)),
                             10000);

    QProcess session;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    session.setProcessEnvironment(env);
    session.setProcessChannelMode(QProcess::ForwardedChannels);
    session.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--on-display")});
    const bool finished = session.waitForFinished(timeoutMs);
    if (!finished) {
        // A message box nobody closed: the session would wait for ever.
        session.kill();
        session.waitForFinished(5000);
    }
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    QVERIFY2(finished, "the work on the display did not end");
    QCOMPARE(session.exitCode(), 0);
}

} // namespace XvfbSession

// main() of such a test: the work on the display when started with
// "--on-display", the Qt Test run of `TestClass` otherwise.
#define XVFB_TEST_MAIN(TestClass, work)                                                            \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        if (argc == 2 && qstrcmp(argv[1], "--on-display") == 0)                                    \
            return work(argc, argv);                                                               \
        QCoreApplication app(argc, argv);                                                          \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
