#pragma once

#include <QSqlDatabase>
#include <QStringList>

struct sqlite3;
class QSqlQuery;

// The SQLite handle under a Qt connection (the QSQLITE driver uses the
// system libsqlite3, so the bench can hook into it).
sqlite3 *SqliteHandle(const QSqlDatabase &connection);
sqlite3 *SqliteHandle(const QSqlQuery &query);

// Records every statement a connection runs while it lives, as SQLite
// expands it: the SQL with the bound values spliced in
// (sqlite3_expanded_sql at the first step), so the shell can run exactly
// what the program ran. Statements run by triggers, and those the search
// index (FTS5) runs on its own tables, are left out.
class StatementTrace
{
public:
    explicit StatementTrace(sqlite3 *handle);
    ~StatementTrace();
    StatementTrace(const StatementTrace &) = delete;
    StatementTrace &operator=(const StatementTrace &) = delete;

    const QStringList &statements() const { return m_statements; }

private:
    static int Callback(unsigned type, void *context, void *statement, void *text);

    sqlite3 *m_handle;
    QStringList m_statements;
};
