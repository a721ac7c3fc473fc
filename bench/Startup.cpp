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
#include <optional>

namespace
{

constexpr int WaitLimitMs = 20000;

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

// The title of a window (xdotool getwindowname); empty when it has none.
QString WindowTitle(const QProcessEnvironment &env, const QString &window)
{
    QProcess name;
    name.setProcessEnvironment(env);
    name.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
    name.waitForFinished(-1);
    return QString::fromUtf8(name.readAllStandardOutput()).trimmed();
}

// What xev reports of the top-level windows, with the time each line came in.
struct WindowEvent {
    bool mapped = false;
    QString window; // decimal, as xdotool prints it
    double at = 0;
};

// Reads xev's lines ("MapNotify event, serial 18, synthetic NO, window
// 0x..," then "    event 0x.., window 0x200003, ...") as they come.
class EventReader
{
public:
    EventReader(QProcess &xev, const QElapsedTimer &clock) : m_xev(xev), m_clock(clock) {}

    // Waits up to `ms` for the next map or unmap of a window.
    std::optional<WindowEvent> next(int ms)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < ms) {
            while (m_xev.canReadLine()) {
                const QString line = QString::fromLatin1(m_xev.readLine());
                if (std::optional<WindowEvent> e = take(line))
                    return e;
            }
            m_xev.waitForReadyRead(20);
        }
        return std::nullopt;
    }

private:
    std::optional<WindowEvent> take(const QString &line)
    {
        static const QRegularExpression head(
            QStringLiteral("^(MapNotify|UnmapNotify) event, serial \\d+, synthetic NO"));
        static const QRegularExpression body(
            QStringLiteral("^\\s+event 0x[0-9a-f]+, window 0x([0-9a-f]+)"));
        const QRegularExpressionMatch h = head.match(line);
        if (h.hasMatch()) {
            m_pending = WindowEvent{h.captured(1) == QLatin1String("MapNotify"), QString(),
                                    double(m_clock.nsecsElapsed()) / 1e6};
            m_open = true;
            return std::nullopt;
        }
        const QRegularExpressionMatch b = body.match(line);
        if (m_open && b.hasMatch()) {
            m_open = false;
            m_pending.window = QString::number(b.captured(1).toULongLong(nullptr, 16));
            return m_pending;
        }
        return std::nullopt;
    }

    QProcess &m_xev;
    const QElapsedTimer &m_clock;
    WindowEvent m_pending;
    bool m_open = false;
};

void Unmeasured(const QString &why)
{
    ResultLine line;
    line.operation = QStringLiteral("start-up to the login window");
    line.reference = QStringLiteral("not measured: ") + why;
    Report::Line(line);
}

void Shown(const QString &operation, const QList<double> &values, const QString &note)
{
    ResultLine line;
    line.operation = operation;
    line.programMs = Median(values);
    line.reference = note;
    Report::Line(line);
}

} // namespace

void MeasureStartup(const QString &programPath, const QString &database, const QString &workDir,
                    int rounds)
{
    Report::Group(QStringLiteral("Start-up (memberpos, Release, on Xvfb; xev times the windows)"));
    for (const char *tool : {"Xvfb", "xdotool", "xev"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return Unmeasured(QString::fromLatin1(tool) + QStringLiteral(" is not installed"));
    }
    // The program starts in another folder: its path must not be relative.
    const QString program = QFileInfo(programPath).absoluteFilePath();
    if (!QFileInfo(program).isExecutable())
        return Unmeasured(program + QStringLiteral(" is missing"));

    const QString folder = QDir(workDir).filePath(QStringLiteral("startup"));
    QDir().mkpath(folder);
    const QString working = QDir(folder).filePath(AppInfo::DbFileName);
    const auto removeWorking = [&] {
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(working + suffix);
    };
    removeWorking();
    if (!QFile::copy(database, working))
        return Unmeasured(QStringLiteral("cannot copy the database"));

    // Xvfb picks a free display itself and tells its number (-displayfd), so
    // a test starting its own X server at the same time cannot take ours.
    QProcess xvfb;
    xvfb.setProgram(QStringLiteral("Xvfb"));
    xvfb.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    xvfb.setStandardErrorFile(QProcess::nullDevice());
    xvfb.start();
    xvfb.waitForStarted(-1);
    QString display;
    QElapsedTimer waiting;
    waiting.start();
    while (display.isEmpty() && waiting.elapsed() < 10000 && xvfb.state() == QProcess::Running) {
        if (xvfb.canReadLine())
            display = QString::fromLatin1(xvfb.readLine()).trimmed();
        else
            xvfb.waitForReadyRead(100);
    }
    if (display.isEmpty()) {
        Stop(xvfb);
        removeWorking();
        return Unmeasured(QStringLiteral("Xvfb did not start"));
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));

    QList<double> toSplash, splashWait, toLogin, total;
    QString problem;
    for (int r = 0; r < rounds && problem.isEmpty(); ++r) {
        QProcess xev;
        xev.setProcessEnvironment(env);
        xev.start(QStringLiteral("xev"), {QStringLiteral("-root"), QStringLiteral("-event"),
                                          QStringLiteral("substructure")});
        xev.waitForStarted(-1);
        xev.waitForReadyRead(2000); // xev has announced itself: it is listening

        QProcess app;
        app.setProcessEnvironment(env);
        app.setWorkingDirectory(folder);
        app.setStandardOutputFile(QProcess::nullDevice());
        app.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        app.start(program, {});
        EventReader events(xev, clock);

        // Each window mapped is told by its title: the splash screen, then
        // the login window once the splash is gone.
        std::optional<WindowEvent> splashShown, splashGone, loginShown;
        while (!loginShown && clock.elapsed() < WaitLimitMs) {
            const std::optional<WindowEvent> e = events.next(WaitLimitMs);
            if (!e)
                break;
            if (!e->mapped) {
                if (splashShown && !splashGone && e->window == splashShown->window)
                    splashGone = e;
                continue;
            }
            const QString title = WindowTitle(env, e->window);
            // On X the window manager's title may carry the program's name
            // after the window's own ("百纳餐饮会员管理系统 — 百纳会员管理系统").
            if (!splashShown && title.startsWith(AppInfo::ShortTitle))
                splashShown = e;
            else if (splashGone && title.startsWith(AppInfo::AppTitle))
                loginShown = e;
        }
        Stop(app);
        Stop(xev);
        if (!loginShown) {
            problem = !splashShown  ? QStringLiteral("the splash screen was not seen")
                      : !splashGone ? QStringLiteral("the splash screen did not go")
                                    : QStringLiteral("the login window was not seen");
            break;
        }
        toSplash << splashShown->at;
        splashWait << splashGone->at - splashShown->at;
        toLogin << loginShown->at - splashGone->at;
        total << splashShown->at + loginShown->at - splashGone->at;
    }
    Stop(xvfb);
    removeWorking();
    if (!problem.isEmpty())
        return Unmeasured(problem);

    Shown(QStringLiteral("process start to splash shown"), toSplash,
          QStringLiteral("%1 rounds").arg(toSplash.size()));
    Shown(QStringLiteral("splash on screen (Timer1, 1800 ms)"), splashWait,
          QStringLiteral("left out: a coarse timer, may end 5 % early"));
    Shown(QStringLiteral("splash gone to login window shown"), toLogin,
          QStringLiteral("opens the database, reads the settings row"));
    Shown(QStringLiteral("start-up to the login window without the splash's wait"), total,
          QStringLiteral("the first line plus the third"));
}
