#pragma once

#include "Report.h"
#include "data/Database.h"
#include "data/QuerySource.h"

#include <QString>
#include <functional>
#include <memory>

// How long the program takes for one operation: the median over the rounds
// of one round's time divided by `repeat` (short operations run several
// times a round so the clock sees them).
struct ProgramTiming {
    double medianMs = -1;
    int repeat = 1;
    int rounds = 0;
};

// Runs an operation once; what it returns lives until the clock has
// stopped (rows kept, a model), so freeing them is not timed.
using Once = std::function<std::shared_ptr<void>()>;

// Times `once`: a first run calibrates (short ones repeat up to a round of
// about 20 ms; `firstMs`, when known, stands for that run), then `rounds`
// rounds; an operation slower than SlowMs gets SlowRounds rounds at most,
// the first run counting as one of them when `firstIsSample`.
ProgramTiming TimeProgram(const Once &once, int rounds, double firstMs = -1,
                          bool firstIsSample = false);

inline constexpr double SlowMs = 100;
inline constexpr int SlowRounds = 3;

// The measurements on one database file: the program's statements through
// its own functions on its own connections, and the same statements with
// the same values in the sqlite3 shell, side by side.
class Bench
{
public:
    Bench(const QString &path, int rounds);

    // Print the statements recorded for each line below it.
    static void ShowStatements(bool show);
    ~Bench();

    QString path() const { return m_path; }
    // The program's connection (as the windows' Database).
    Database &db() { return m_db; }

    enum class Lines { FirstPageAndAllRows, AllRows };
    // A list as a grid reads it: the first 100 rows and every row, through
    // RowReader into RowColumns on a ReadConnection; the former way
    // (QSqlQueryModel over a scrollable query) in the reference column. A
    // list of 100 rows or fewer gets one line: its first page is all of it.
    void List(const QString &label, const QuerySource &source,
              Lines lines = Lines::FirstPageAndAllRows);
    // A plain read through the function a window calls; it returns the rows
    // it found.
    void Plain(const QString &label, const std::function<qint64(Database &)> &read);
    // A writing operation on `scratch` (a copy, opened as the program opens
    // its database): `setup` prepares each round untimed (in the shell: the
    // statements it ran, replayed before each round), `run` is timed.
    void Write(const QString &label, Database &scratch, const std::function<void()> &setup,
               const std::function<qint64()> &run);

private:
    // With ShowStatements: the statements, each with its query plan.
    void PrintStatements(const QStringList &statements);
    // The query plan's lines (EXPLAIN QUERY PLAN) on the list connection.
    QStringList Plan(const QString &statement);
    struct Measured {
        ResultLine line;
        QStringList shown; // the statements the shell ran
    };
    Measured ListLine(const QString &label, const QuerySource &source, bool all);
    void Print(const Measured &measured);

    QString m_path;
    int m_rounds;
    Database m_db;
    std::unique_ptr<ReadConnection> m_reader;
};
