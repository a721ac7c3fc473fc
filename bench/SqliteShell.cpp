#include "SqliteShell.h"

#include "Stats.h"

#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

namespace
{

QString g_shell = QStringLiteral("sqlite3");

// One script line holding every statement `times` times.
QString Line(const QStringList &statements, int times)
{
    QString one;
    for (const QString &s : statements) {
        QString text = s.trimmed();
        while (text.endsWith(QLatin1Char(';')))
            text.chop(1);
        one += text + QStringLiteral("; ");
    }
    QString line;
    line.reserve(one.size() * times + 1);
    for (int i = 0; i < times; ++i)
        line += one;
    return line + QLatin1Char('\n');
}

} // namespace

void SetShellProgram(const QString &path)
{
    g_shell = path;
}

QString ShellProgram()
{
    return g_shell;
}

ShellTiming TimeInShell(const ShellRun &run)
{
    ShellTiming result;
    if (run.statements.isEmpty()) {
        result.error = QStringLiteral("no statement recorded");
        return result;
    }
    const int repeat = qMax(1, run.repeat);
    const bool hasPrelude = !run.prelude.isEmpty();
    QStringList prelude = run.prelude;
    const bool ownTransaction = std::any_of(prelude.cbegin(), prelude.cend(), [](const QString &s) {
        return s.trimmed().startsWith(QLatin1String("BEGIN"), Qt::CaseInsensitive);
    });
    if (hasPrelude && !ownTransaction)
        prelude =
            QStringList{QStringLiteral("BEGIN")} + prelude + QStringList{QStringLiteral("COMMIT")};

    QString script = QStringLiteral(".output /dev/null\n");
    if (!run.setup.isEmpty())
        script += Line(run.setup, 1);
    script += QStringLiteral(".timer on\n");
    if (run.warmUp)
        script += Line(prelude + run.statements, 1);
    for (int r = 0; r < run.rounds; ++r) {
        if (hasPrelude)
            script += Line(prelude, repeat);
        script += Line(prelude + run.statements, repeat);
    }

    QProcess shell;
    shell.setProgram(g_shell);
    shell.setArguments({QStringLiteral("-batch"), QStringLiteral("-bail"), run.database});
    shell.start();
    if (!shell.waitForStarted(-1)) {
        result.error = QStringLiteral("cannot start %1").arg(g_shell);
        return result;
    }
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const QString out = QString::fromUtf8(shell.readAllStandardOutput());
    const QString err = QString::fromUtf8(shell.readAllStandardError()).trimmed();

    static const QRegularExpression runTime(QStringLiteral("Run Time: real ([0-9.]+)"));
    QList<double> reals;
    for (auto it = runTime.globalMatch(out); it.hasNext();)
        reals << it.next().captured(1).toDouble() * 1000.0;
    const int perRound = hasPrelude ? 2 : 1;
    const int first = run.warmUp ? 1 : 0;
    const int expected = first + run.rounds * perRound;
    if (shell.exitCode() != 0 || reals.size() != expected) {
        result.error =
            err.isEmpty()
                ? QStringLiteral("sqlite3 gave %1 timings of %2").arg(reals.size()).arg(expected)
                : err.left(300);
        return result;
    }
    QList<double> perRepeat;
    for (int r = 0; r < run.rounds; ++r) {
        const int at = first + r * perRound;
        const double line = hasPrelude ? reals[at + 1] - reals[at] : reals[at];
        perRepeat << line / repeat;
    }
    result.medianMs = Median(perRepeat);
    return result;
}
