#include "ChildProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

ChildRun RunChild(const QString &program, const QStringList &arguments, const QString &stdoutFile)
{
    ChildRun result;
    const QString timeProgram = QStringLiteral("/usr/bin/time");
    const bool timed = QFileInfo(timeProgram).isExecutable();
    QTemporaryFile peakFile;
    if (timed && !peakFile.open()) {
        result.error = QStringLiteral("cannot make a temporary file");
        return result;
    }
    QStringList all;
    if (timed)
        all << timeProgram << QStringLiteral("-f") << QStringLiteral("%M") << QStringLiteral("-o")
            << peakFile.fileName();
    all << program << arguments;
    std::vector<QByteArray> texts;
    for (const QString &a : all)
        texts.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &t : texts)
        argv.push_back(t.data());
    argv.push_back(nullptr);
    const QByteArray out = stdoutFile.toLocal8Bit();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.error = QStringLiteral("cannot start %1: %2")
                           .arg(program, QString::fromLocal8Bit(std::strerror(spawned)));
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.error = QStringLiteral("waitpid failed");
            return result;
        }
    }
    result.wallMs = double(timer.nsecsElapsed()) / 1e6;
    if (timed) {
        bool ok = false;
        // The last line holds the figure (a failed program gets a line before it).
        const QStringList lines =
            QString::fromLatin1(peakFile.readAll()).trimmed().split(QLatin1Char('\n'));
        const qint64 kib = lines.last().trimmed().toLongLong(&ok);
        if (ok)
            result.peakMb = double(kib) / 1024.0;
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
