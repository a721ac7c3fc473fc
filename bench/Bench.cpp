#include "Bench.h"

#include "SqliteShell.h"
#include "StatementTrace.h"
#include "Stats.h"
#include "data/RowReader.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <stdexcept>

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

// The shell cannot stop reading after a page, so a first page runs as the
// statement under LIMIT 100. SQLite merges the two; where the statement
// sorts in a temporary B-tree, the shell then keeps only the top 100 rows
// while the program's statement sorts every row before its first (the line
// says so).
QString FirstPageOf(const QString &statement)
{
    return QStringLiteral("SELECT * FROM (%1) LIMIT %2").arg(statement).arg(FirstPage);
}

bool SortsEverything(const QStringList &plan)
{
    return std::any_of(plan.cbegin(), plan.cend(), [](const QString &line) {
        return line.contains(QLatin1String("TEMP B-TREE FOR ORDER BY"));
    });
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

ProgramTiming TimeProgram(const Once &once, int rounds, double firstMs, bool firstIsSample)
{
    ProgramTiming result;
    QElapsedTimer timer;
    if (firstMs < 0) {
        timer.start();
        const std::shared_ptr<void> kept = once();
        firstMs = ElapsedMs(timer);
        firstIsSample = true;
    }
    result.repeat = RepeatFor(firstMs, RoundTargetMs);
    result.rounds = RoundsFor(firstMs, rounds);
    QList<double> samples;
    // A slow operation's first run is a round like the others.
    if (firstIsSample && firstMs > SlowMs)
        samples << firstMs;
    QVector<std::shared_ptr<void>> kept;
    kept.reserve(result.repeat);
    while (samples.size() < result.rounds) {
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
    for (const QString &s : statements) {
        Report::Text(QStringLiteral("      | ") + s);
        for (const QString &step : Plan(s))
            Report::Text(QStringLiteral("      |   ") + step);
    }
}

QStringList Bench::Plan(const QString &statement)
{
    QStringList plan;
    if (!IsSelect(statement))
        return plan; // writes and transaction statements: no plan asked
    try {
        QSqlQuery q = m_reader->prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + statement);
        ReadConnection::run(q);
        while (q.next())
            plan << q.value(3).toString();
    } catch (const DbError &) {
    }
    return plan;
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
    Measured all = ListLine(label + QStringLiteral(": all rows"), source, true);
    if (lines == Lines::FirstPageAndAllRows) {
        if (all.line.rows > FirstPage)
            Print(ListLine(label + QStringLiteral(": first page"), source, false));
        else if (all.line.rows >= 0)
            all.line.operation = label + QStringLiteral(": all rows (one page)");
    }
    Print(all);
}

void Bench::Print(const Measured &measured)
{
    Report::Line(measured.line);
    PrintStatements(measured.shown);
}

Bench::Measured Bench::ListLine(const QString &label, const QuerySource &source, bool all)
{
    Measured measured;
    ResultLine &line = measured.line;
    QStringList &shown = measured.shown;
    line.operation = label;
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
        const Once program = [&]() -> std::shared_ptr<void> {
            auto kept = std::make_shared<RowColumns>();
            RowReader reader(*m_reader, source);
            reader.read(*kept, count);
            rows = kept->rowCount();
            bytes = kept->memoryBytes();
            return kept;
        };
        // The statement as the program runs it, values spliced in.
        QStringList statements;
        QElapsedTimer timer;
        double firstMs = 0;
        {
            StatementTrace trace(SqliteHandle(QSqlDatabase::database(m_reader->name(), false)));
            timer.start();
            const std::shared_ptr<void> kept = program();
            firstMs = ElapsedMs(timer);
            statements = trace.statements();
        }
        const ProgramTiming p = TimeProgram(program, m_rounds, firstMs, true);
        line.programMs = p.medianMs;
        line.rows = rows;
        // The model reads more than RowReader: when RowReader is slow, so is
        // the model; it needs no calibrating run then, and as a reference
        // one run does.
        ProgramTiming f;
        if (firstMs > SlowMs) {
            timer.restart();
            const std::shared_ptr<void> kept = former();
            f.medianMs = ElapsedMs(timer);
            f.rounds = 1;
        } else {
            f = TimeProgram(former, m_rounds, firstMs > RoundTargetMs ? firstMs : -1);
        }
        line.reference =
            QStringLiteral("model %1%2")
                .arg(MsText(f.medianMs), f.rounds == 1 ? QStringLiteral(" (1 run)") : QString());
        if (all && bytes > 0)
            line.reference = Note(line.reference,
                                  QStringLiteral("%1 MB kept").arg(bytes / 1048576.0, 0, 'f', 1));
        line.reference = Note(line.reference, RoundsNote(p, m_rounds));

        if (statements.size() != 1 || !IsSelect(statements.first())) {
            shown = statements;
            line.reference = Note(line.reference, QStringLiteral("%1 statements recorded, not one "
                                                                 "select")
                                                      .arg(statements.size()));
        } else {
            ShellRun run;
            run.database = m_path;
            run.rounds = RoundsFor(p.medianMs, m_rounds);
            run.warmUp = p.medianMs <= RoundTargetMs;
            run.statements = {all ? statements.first() : FirstPageOf(statements.first())};
            if (!all && SortsEverything(Plan(statements.first())))
                line.reference =
                    Note(line.reference, QStringLiteral("sorts every row; the shell the top 100"));
            shown = run.statements;
            const ShellTiming s = TimeStatementsInShell(run, p.medianMs);
            line.shellMs = s.medianMs;
            if (!s.error.isEmpty())
                line.reference = Note(line.reference, QStringLiteral("shell: ") + s.error);
        }
    } catch (const std::exception &e) {
        line.reference = QStringLiteral("error: ") + QString::fromUtf8(e.what());
    }
    return measured;
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
        run.warmUp = p.medianMs <= RoundTargetMs;
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
        QElapsedTimer first;
        double firstMs = 0;
        {
            StatementTrace trace(SqliteHandle(scratch.handle()));
            first.start();
            rows = run();
            firstMs = ElapsedMs(first);
            statements = trace.statements();
        }
        // A short operation runs several times a round, each after its set-up.
        const int repeat = RepeatFor(firstMs, RoundTargetMs);
        QList<double> samples;
        QElapsedTimer timer;
        for (int r = 0; r < m_rounds; ++r) {
            double sum = 0;
            for (int k = 0; k < repeat; ++k) {
                setup();
                timer.start();
                run();
                sum += ElapsedMs(timer);
            }
            samples << sum / repeat;
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
        shell.repeat = RepeatFor(line.programMs, ShellTargetMs);
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
