// memberpos-bench: the program's statements against the bare sqlite3 shell,
// side by side, on bench-data/large.db and bench-data/million.db. Run by
// ./bench.sh; not a test.
//
//   memberpos-bench [--rounds N] [--data DIR] [--program MEMBERPOS] [--only large|million|startup]
//                   [--sqlite3 SHELL] [--show-sql]
//   memberpos-bench --export FILE --database DB     (the export's child process)

#include "Bench.h"
#include "Cases.h"
#include "Export.h"
#include "Report.h"
#include "SqliteShell.h"
#include "Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>
#include <cstdio>

namespace
{

struct Options {
    int rounds = 5;
    QString data = QStringLiteral("bench-data");
    QString program;
    QString only;
    QString exportFile;
    QString database;
};

bool Parse(const QStringList &args, Options &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--rounds") && hasValue) {
            bool ok = false;
            o.rounds = args[++i].toInt(&ok);
            if (!ok || o.rounds < 1 || o.rounds > 100)
                return false;
        } else if (a == QLatin1String("--data") && hasValue) {
            o.data = args[++i];
        } else if (a == QLatin1String("--program") && hasValue) {
            o.program = args[++i];
        } else if (a == QLatin1String("--only") && hasValue) {
            o.only = args[++i];
        } else if (a == QLatin1String("--export") && hasValue) {
            o.exportFile = args[++i];
        } else if (a == QLatin1String("--database") && hasValue) {
            o.database = args[++i];
        } else if (a == QLatin1String("--show-sql")) {
            Bench::ShowStatements(true);
        } else if (a == QLatin1String("--sqlite3") && hasValue) {
            SetShellProgram(args[++i]);
        } else {
            return false;
        }
    }
    return true;
}

QString Thousands(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

void Header(const Options &o)
{
    Report::Text(QString::fromUtf8(
                     R"text(memberpos-bench: the program's statements against the bare sqlite3 shell

program ms  median of %1 rounds of the program's own functions on its own connections;
            a round repeats a short operation to last about 20 ms (time / repeats).
            Lists are read as the grids read them: RowReader into RowColumns on a
            ReadConnection; "first page" = the first 100 rows, "all rows" = to the end.
sqlite3 ms  the same statement with the same values (recorded with sqlite3_trace_v2 and
            sqlite3_expanded_sql while the program ran it), one sqlite3 process per line:
            .output /dev/null (rows formatted, then dropped), .timer on, a warm-up, then
            per round the statement repeated on one line; median of "Run Time: real" /
            repeats. A first page runs as SELECT * FROM (statement) LIMIT 100. Writes
            replay the recorded statements on the scratch copy with synchronous=FULL; the
            untimed set-up's statements (in one transaction) are timed apart and taken off.
ratio       program / sqlite3.
reference   model = the former way: QSqlQueryModel over a scrollable QSqlQuery (setQuery
            for a first page, fetchMore to the end for all rows), run once where the
            program takes more than %2 ms; MB kept = RowColumns. A list of 100 rows or
            fewer has one line, "all rows (one page)".
Operations slower than %2 ms run %3 rounds (noted); those slower than 20 ms get no
warm-up. Builds or tests running at the same time move the figures by 10-30 %.)text")
                     .arg(o.rounds)
                     .arg(SlowMs)
                     .arg(SlowRounds));
}

void Section(const Options &o, const QString &name)
{
    const QString path = QDir(o.data).filePath(name);
    if (!QFileInfo::exists(path)) {
        Report::Text(QStringLiteral("\n%1: missing, skipped").arg(path));
        return;
    }
    QElapsedTimer timer;
    timer.start();
    Bench bench(path, o.rounds);
    const qint64 members =
        bench.db().scalar(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toLongLong();
    const qint64 lines =
        bench.db().scalar(QStringLiteral("SELECT COUNT(*) FROM S_SaleDetail")).toLongLong();
    Report::Title(QStringLiteral("%1: %2 members, %3 sale lines")
                      .arg(name, Thousands(members), Thousands(lines)));
    const Picks picks = PickValues(bench.db());
    ReadCases(bench, picks);

    MeasureExport(QCoreApplication::applicationFilePath(), path, o.data, o.rounds);

    // The writes go to a consistent copy, opened as the program opens its file.
    const QString scratchPath = QDir(o.data).filePath(QStringLiteral("scratch-") + name);
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(scratchPath + suffix);
    bench.db().exec(QStringLiteral("VACUUM INTO ?"), {scratchPath});
    {
        Database scratch(QStringLiteral("bench-scratch"));
        scratch.open(scratchPath);
        WriteCases(bench, scratch, picks);
    }
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(scratchPath + suffix);

    if (name == QLatin1String("large.db") && !o.program.isEmpty())
        MeasureStartup(o.program, path, o.data, o.rounds);
    Report::Text(
        QStringLiteral("\n(%1 s for this section)").arg(timer.elapsed() / 1000.0, 0, 'f', 0));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Options o;
    if (!Parse(app.arguments().mid(1), o)) {
        std::fprintf(stderr,
                     "usage: memberpos-bench [--rounds N] [--data DIR] [--program MEMBERPOS] "
                     "[--only large|million|startup] [--sqlite3 SHELL] [--show-sql]\n");
        return 2;
    }
    if (!o.exportFile.isEmpty())
        return ExportChild(o.exportFile, o.database);

    try {
        Header(o);
        if (o.only == QLatin1String("startup")) {
            MeasureStartup(o.program, QDir(o.data).filePath(QStringLiteral("large.db")), o.data,
                           o.rounds);
            return 0;
        }
        for (const QString &name : {QStringLiteral("large.db"), QStringLiteral("million.db")}) {
            if (o.only.isEmpty() || name.startsWith(o.only))
                Section(o, name);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "memberpos-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
