#include "Startup.h"

#include "Report.h"
#include "Stats.h"
#include "context/AppInfo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace
{

constexpr double SplashMs = 1800; // TSplashForm's Timer1
constexpr int WaitLimitMs = 20000;

// A display number no X server uses.
int FreeDisplay()
{
    for (int n = 57; n < 99; ++n) {
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return n;
    }
    return -1;
}

// True when a window whose whole title is `title` is mapped.
bool Shown(const QProcessEnvironment &env, const QString &title)
{
    QProcess search;
    search.setProcessEnvironment(env);
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"),
                  QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')});
    search.waitForFinished(-1);
    return search.exitCode() == 0 && !search.readAllStandardOutput().trimmed().isEmpty();
}

void Stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(-1);
    }
}

void Unmeasured(const QString &why)
{
    ResultLine line;
    line.operation = QStringLiteral("start-up to the login window");
    line.reference = QStringLiteral("not measured: ") + why;
    Report::Line(line);
}

} // namespace

void MeasureStartup(const QString &program, const QString &database, const QString &workDir,
                    int rounds)
{
    Report::Group(QStringLiteral("Start-up (memberpos, Release, on Xvfb)"));
    for (const char *tool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return Unmeasured(QString::fromLatin1(tool) + QStringLiteral(" is not installed"));
    }
    if (!QFileInfo(program).isExecutable())
        return Unmeasured(program + QStringLiteral(" is missing"));
    const int display = FreeDisplay();
    if (display < 0)
        return Unmeasured(QStringLiteral("no free display number"));

    const QString folder = QDir(workDir).filePath(QStringLiteral("startup"));
    QDir().mkpath(folder);
    const QString working = QDir(folder).filePath(AppInfo::DbFileName);
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(working + suffix);
    if (!QFile::copy(database, working))
        return Unmeasured(QStringLiteral("cannot copy the database"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));

    QProcess xvfb;
    xvfb.setProgram(QStringLiteral("Xvfb"));
    xvfb.setArguments({QStringLiteral(":%1").arg(display), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    xvfb.setStandardOutputFile(QProcess::nullDevice());
    xvfb.setStandardErrorFile(QProcess::nullDevice());
    xvfb.start();
    xvfb.waitForStarted(-1);
    bool up = false;
    for (int i = 0; i < 100 && !up && xvfb.state() == QProcess::Running; ++i) {
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")});
        probe.waitForFinished(-1);
        up = probe.exitCode() == 0;
        if (!up)
            QThread::msleep(50);
    }
    if (!up) {
        Stop(xvfb);
        return Unmeasured(QStringLiteral("Xvfb did not start"));
    }

    QList<double> splash, login;
    QString problem;
    for (int r = 0; r < rounds && problem.isEmpty(); ++r) {
        QProcess app;
        app.setProcessEnvironment(env);
        app.setWorkingDirectory(folder);
        app.setStandardOutputFile(QProcess::nullDevice());
        app.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        app.start(program, {});
        double splashAt = -1;
        double loginAt = -1;
        while (loginAt < 0 && timer.elapsed() < WaitLimitMs &&
               app.state() != QProcess::NotRunning) {
            if (splashAt < 0 && Shown(env, AppInfo::ShortTitle))
                splashAt = double(timer.nsecsElapsed()) / 1e6;
            if (Shown(env, AppInfo::AppTitle))
                loginAt = double(timer.nsecsElapsed()) / 1e6;
            else
                QThread::msleep(5);
        }
        Stop(app);
        if (loginAt < 0) {
            problem = QStringLiteral("the login window did not show");
            break;
        }
        if (splashAt >= 0)
            splash << splashAt;
        login << loginAt - SplashMs;
    }
    Stop(xvfb);
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(working + suffix);
    if (!problem.isEmpty())
        return Unmeasured(problem);

    ResultLine first;
    first.operation = QStringLiteral("splash screen shown");
    first.programMs = Median(splash);
    first.reference = QStringLiteral("from process start; %1 rounds, polled by xdotool (~5 ms)")
                          .arg(login.size());
    Report::Line(first);
    ResultLine second;
    second.operation = QStringLiteral("login window shown, minus the splash's 1800 ms");
    second.programMs = Median(login);
    second.reference = QStringLiteral("opens the database, reads the settings row");
    Report::Line(second);
}
