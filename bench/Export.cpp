#include "Export.h"

#include "Bench.h"
#include "ChildProcess.h"
#include "Report.h"
#include "SqliteShell.h"
#include "StatementTrace.h"
#include "Stats.h"
#include "data/Database.h"
#include "export/ExcelExport.h"
#include "members/MemberRules.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <stdexcept>

namespace
{

// The progress window's side of an export, doing nothing.
class QuietFeedback : public ExportFeedback
{
public:
    void started(qint64) override {}
    void progressed(qint64) override {}
    void finished() override {}
};

} // namespace

QuerySource ExportSource()
{
    QuerySource source = SaleLinesSource(0);
    const QString one = QStringLiteral("WHERE SaleID = ?");
    if (!source.sql.contains(one))
        throw std::runtime_error("the sale-line select has changed; adjust ExportSource()");
    source.sql.replace(one, QStringLiteral("WHERE SaleDetailID <= ?"));
    source.sql += QStringLiteral(" LIMIT %1").arg(ExportRows);
    source.binds = {ExportRows};
    return source;
}

int ExportChild(const QString &file, const QString &database)
{
    try {
        Database db(QStringLiteral("bench-export"));
        db.open(database);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        QuietFeedback feedback;
        ExportResult result;
        QString error;
        QStringList statements;
        QElapsedTimer timer;
        timer.start();
        {
            StatementTrace trace(SqliteHandle(db.handle()));
            if (!WriteQueryAsXls(db, ExportSource(), out, result, error, &feedback)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
            out.close();
            statements = trace.statements();
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        std::printf("%.3f\n%lld\n%s\n", ms, result.rows,
                    statements.isEmpty() ? "" : statements.last().toUtf8().constData());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

void MeasureExport(const QString &self, const QString &database, const QString &workDir, int rounds)
{
    Report::Group(QStringLiteral("Export to .xls (ExportDataSetToExcel -> WriteQueryAsXls), "
                                 "a process each"));
    const QString xls = QDir(workDir).filePath(QStringLiteral("bench-export.xls"));
    const QString csv = QDir(workDir).filePath(QStringLiteral("bench-export.csv"));
    const QString report = QDir(workDir).filePath(QStringLiteral("bench-export.txt"));
    rounds = qMin(rounds, SlowRounds);

    QList<double> inside, wall, peak;
    QString select;
    qint64 rows = -1;
    QString problem;
    for (int r = 0; r < rounds && problem.isEmpty(); ++r) {
        QFile::remove(xls);
        const ChildRun run = RunChild(
            self, {QStringLiteral("--export"), xls, QStringLiteral("--database"), database},
            report);
        QFile f(report);
        QStringList lines;
        if (f.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        if (run.exitCode != 0 || lines.size() < 3) {
            problem = run.error.isEmpty() ? QStringLiteral("the export child failed") : run.error;
            break;
        }
        inside << lines[0].toDouble();
        rows = lines[1].toLongLong();
        select = lines.mid(2).join(QLatin1Char('\n')).trimmed();
        wall << run.wallMs;
        peak << run.peakMb;
    }
    const qint64 xlsBytes = QFileInfo(xls).size();

    QList<double> shellWall, shellPeak;
    if (problem.isEmpty()) {
        for (int r = 0; r < rounds; ++r) {
            const ChildRun run = RunChild(
                ShellProgram(),
                {QStringLiteral("-csv"), QStringLiteral("-header"), database, select}, csv);
            if (run.exitCode != 0) {
                problem = QStringLiteral("sqlite3 -csv failed");
                break;
            }
            shellWall << run.wallMs;
            shellPeak << run.peakMb;
        }
    }
    const qint64 csvBytes = QFileInfo(csv).size();
    QFile::remove(xls);
    QFile::remove(csv);
    QFile::remove(report);

    ResultLine whole;
    whole.operation = QStringLiteral("%1 rows x 13 columns, whole process").arg(ExportRows);
    whole.programMs = Median(wall);
    whole.shellMs = Median(shellWall);
    whole.rows = rows;
    whole.reference = problem.isEmpty()
                          ? QStringLiteral("peak %1 MB vs %2 MB; .xls %3 MB, .csv %4 MB")
                                .arg(Median(peak), 0, 'f', 1)
                                .arg(Median(shellPeak), 0, 'f', 1)
                                .arg(xlsBytes / 1048576.0, 0, 'f', 1)
                                .arg(csvBytes / 1048576.0, 0, 'f', 1)
                          : problem;
    Report::Line(whole);
    ResultLine own;
    own.operation = QStringLiteral("  of which WriteQueryAsXls itself");
    own.programMs = Median(inside);
    own.rows = rows;
    own.reference = QStringLiteral("select + COUNT(*) for the progress window + .xls");
    Report::Line(own);
}
