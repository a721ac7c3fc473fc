#include "Bench.h"

#include "SqliteShell.h"
#include "StatementTrace.h"
#include "Stats.h"

#include <QElapsedTimer>
#include <QSqlQueryModel>
#include <QVector>
#include <cmath>
#include <stdexcept>

#if __has_include("data/RowReader.h")
#include "data/RowReader.h"
#define BENCH_ROW_READER 1
#endif

namespace
{

bool g_showStatements = false;

constexpr double RoundTargetMs = 20;   // a program round lasts about this long
constexpr double ShellTargetMs = 40;   // a shell line lasts about this long
constexpr double ShellShortestMs = 15; // a shorter line is timed again, repeated more
constexpr int MostRepeats = 2000;
constexpr int FirstPage = 100;

int RepeatFor(double onceMs, double targetMs)
{
    if (onceMs <= 0)
        return MostRepeats;
    return int(std::clamp(std::ceil(targetMs / onceMs), 1.0, double(MostRepeats)));
}

double ElapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The shell run of statements the program ran in `programMs` each time.
ShellTiming TimeStatementsInShell(ShellRun run, double programMs)
{
    run.repeat = RepeatFor(programMs, ShellTargetMs);
    ShellTiming t = TimeInShell(run);
    if (t.medianMs >= 0 && t.medianMs * run.repeat < ShellShortestMs && run.repeat < MostRepeats) {
        run.repeat = RepeatFor(t.medianMs, ShellTargetMs);
        t = TimeInShell(run);
    }
    return t;
}

int RoundsFor(double onceMs, int rounds)
{
    return onceMs > SlowMs ? qMin(rounds, SlowRounds) : rounds;
}

bool IsSelect(const QString &sql)
{
    const QString start = sql.trimmed().left(6);
    return start.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0 ||
           sql.trimmed().startsWith(QLatin1String("WITH"), Qt::CaseInsensitive);
}

QString Note(const QString &text, const QString &more)
{
    if (text.isEmpty())
        return more;
    if (more.isEmpty())
        return text;
    return text + QStringLiteral("; ") + more;
}

QString RoundsNote(const ProgramTiming &t, int rounds)
{
    return t.rounds < rounds ? QStringLiteral("%1 rounds").arg(t.rounds) : QString();
}

} // namespace

ProgramTiming TimeProgram(const Once &once, int rounds, double firstMs)
{
    ProgramTiming result;
    QElapsedTimer timer;
    if (firstMs < 0) {
        timer.start();
        const std::shared_ptr<void> kept = once();
        firstMs = ElapsedMs(timer);
    }
    result.repeat = RepeatFor(firstMs, RoundTargetMs);
    result.rounds = RoundsFor(firstMs, rounds);
    QList<double> samples;
    QVector<std::shared_ptr<void>> kept;
    kept.reserve(result.repeat);
    for (int r = 0; r < result.rounds; ++r) {
        timer.restart();
        for (int i = 0; i < result.repeat; ++i)
            kept << once();
        samples << ElapsedMs(timer) / result.repeat;
        kept.clear();
    }
    result.medianMs = Median(samples);
    return result;
}

void Bench::ShowStatements(bool show)
{
    g_showStatements = show;
}

void Bench::PrintStatements(const QStringList &statements)
{
    if (!g_showStatements)
        return;
    for (const QString &s : statements)
        Report::Text(QStringLiteral("      | ") + s);
}

Bench::Bench(const QString &path, int rounds)
    : m_path(path), m_rounds(rounds), m_db(QStringLiteral("bench-program"))
{
    m_db.open(path);
    m_reader = std::make_unique<ReadConnection>(path, false);
}

Bench::~Bench()
{
    m_reader.reset();
    m_db.close();
}

void Bench::List(const QString &label, const QuerySource &source, Lines lines)
{
    if (lines == Lines::FirstPageAndAllRows)
        ListLine(label + QStringLiteral(": first page"), source, false);
    ListLine(label + QStringLiteral(": all rows"), source, true);
}

void Bench::ListLine(const QString &label, const QuerySource &source, bool all)
{
    ResultLine line;
    line.operation = label;
    QStringList shown; // the statements the shell ran
    try {
        qint64 rows = 0;
        qint64 bytes = 0;
        const int count = all ? -1 : FirstPage;
        // The former way: a QSqlQueryModel over a scrollable query, as the
        // grids read before RowReader; setQuery alone reads its first block.
        const Once former = [&]() -> std::shared_ptr<void> {
            QSqlQuery query = m_reader->prepare(source.sql, source.binds);
            ReadConnection::run(query);
            auto model = std::make_shared<QSqlQueryModel>();
            model->setQuery(std::move(query));
            if (all) {
                while (model->canFetchMore())
                    model->fetchMore();
            }
            rows = model->rowCount();
            return model;
        };
#ifdef BENCH_ROW_READER
        const Once program = [&]() -> std::shared_ptr<void> {
            auto kept = std::make_shared<RowColumns>();
            RowReader reader(*m_reader, source);
            reader.read(*kept, count);
            rows = kept->rowCount();
            bytes = kept->memoryBytes();
            return kept;
        };
#else
        Q_UNUSED(count);
        const Once &program = former;
#endif
        // The statement as the program runs it, values spliced in.
        QStringList statements;
        QElapsedTimer timer;
        double firstMs = 0;
        {
            StatementTrace trace(SqliteHandle(m_reader->prepare(QStringLiteral("SELECT 1"))));
            timer.start();
            const std::shared_ptr<void> kept = program();
            firstMs = ElapsedMs(timer);
            statements = trace.statements();
        }
        const ProgramTiming p = TimeProgram(program, m_rounds, firstMs);
        line.programMs = p.medianMs;
        line.rows = rows;
        const ProgramTiming f = TimeProgram(former, m_rounds);
        line.reference = QStringLiteral("model %1").arg(MsText(f.medianMs));
#ifndef BENCH_ROW_READER
        line.reference = QStringLiteral("(no RowReader yet: the model twice)");
#endif
        if (all && bytes > 0)
            line.reference = Note(line.reference,
                                  QStringLiteral("%1 MB kept").arg(bytes / 1048576.0, 0, 'f', 1));
        line.reference = Note(line.reference, RoundsNote(p, m_rounds));

        if (statements.size() != 1 || !IsSelect(statements.first())) {
            line.reference = Note(line.reference, QStringLiteral("%1 statements recorded, not one "
                                                                 "select")
                                                      .arg(statements.size()));
        } else {
            ShellRun run;
            run.database = m_path;
            run.rounds = RoundsFor(p.medianMs, m_rounds);
            run.statements = {all ? statements.first()
                                  : QStringLiteral("SELECT * FROM (%1) LIMIT %2")
                                        .arg(statements.first())
                                        .arg(FirstPage)};
            shown = run.statements;
            const ShellTiming s = TimeStatementsInShell(run, p.medianMs);
            line.shellMs = s.medianMs;
            if (!s.error.isEmpty())
                line.reference = Note(line.reference, QStringLiteral("shell: ") + s.error);
        }
    } catch (const std::exception &e) {
        line.reference = QStringLiteral("error: ") + QString::fromUtf8(e.what());
    }
    Report::Line(line);
    PrintStatements(shown);
}

void Bench::Plain(const QString &label, const std::function<qint64(Database &)> &read)
{
    ResultLine line;
    line.operation = label;
    QStringList shown; // the statements the shell ran
    try {
        qint64 rows = 0;
        const Once program = [&]() -> std::shared_ptr<void> {
            rows = read(m_db);
            return nullptr;
        };
        QStringList statements;
        QElapsedTimer timer;
        double firstMs = 0;
        {
            StatementTrace trace(SqliteHandle(m_db.handle()));
            timer.start();
            program();
            firstMs = ElapsedMs(timer);
            statements = trace.statements();
        }
        const ProgramTiming p = TimeProgram(program, m_rounds, firstMs);
        line.programMs = p.medianMs;
        line.rows = rows;
        if (statements.size() > 1)
            line.reference = QStringLiteral("%1 statements").arg(statements.size());
        ShellRun run;
        run.database = m_path;
        run.rounds = RoundsFor(p.medianMs, m_rounds);
        run.statements = statements;
        shown = statements;
        const ShellTiming s = TimeStatementsInShell(run, p.medianMs);
        line.shellMs = s.medianMs;
        if (!s.error.isEmpty())
            line.reference = Note(line.reference, QStringLiteral("shell: ") + s.error);
    } catch (const std::exception &e) {
        line.reference = QStringLiteral("error: ") + QString::fromUtf8(e.what());
    }
    Report::Line(line);
    PrintStatements(shown);
}

void Bench::Write(const QString &label, Database &scratch, const std::function<void()> &setup,
                  const std::function<qint64()> &run)
{
    ResultLine line;
    line.operation = label;
    QStringList shown; // the statements the shell ran
    try {
        QStringList prelude;
        QStringList statements;
        qint64 rows = 0;
        // The first round, recorded: what the shell replays.
        {
            StatementTrace trace(SqliteHandle(scratch.handle()));
            setup();
            prelude = trace.statements();
        }
        {
            StatementTrace trace(SqliteHandle(scratch.handle()));
            rows = run();
            statements = trace.statements();
        }
        QList<double> samples;
        QElapsedTimer timer;
        for (int r = 0; r < m_rounds; ++r) {
            setup();
            timer.start();
            run();
            samples << ElapsedMs(timer);
        }
        line.programMs = Median(samples);
        line.rows = rows;
        line.reference = QStringLiteral("%1 statements, durable commit").arg(statements.size());

        ShellRun shell;
        shell.database = scratch.path();
        shell.rounds = m_rounds;
        // The program's connection writes with synchronous=FULL.
        shell.setup = {QStringLiteral("PRAGMA synchronous = FULL")};
        shell.prelude = prelude;
        shell.statements = statements;
        shell.repeat = 1;
        shown = statements;
        const ShellTiming s = TimeInShell(shell);
        line.shellMs = s.medianMs;
        if (!s.error.isEmpty())
            line.reference = Note(line.reference, QStringLiteral("shell: ") + s.error);
    } catch (const std::exception &e) {
        line.reference = QStringLiteral("error: ") + QString::fromUtf8(e.what());
    }
    Report::Line(line);
    PrintStatements(shown);
}
