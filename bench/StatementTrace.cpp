#include "StatementTrace.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <cstring>
#include <sqlite3.h>
#include <stdexcept>

namespace
{

sqlite3 *HandleOf(const QSqlDriver *driver)
{
    if (!driver)
        throw std::runtime_error("no driver");
    const QVariant handle = driver->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw std::runtime_error("the connection is not a QSQLITE connection");
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.data());
    if (!db)
        throw std::runtime_error("the connection is not open");
    return db;
}

} // namespace

sqlite3 *SqliteHandle(const QSqlDatabase &connection)
{
    return HandleOf(connection.driver());
}

sqlite3 *SqliteHandle(const QSqlQuery &query)
{
    return HandleOf(query.driver());
}

StatementTrace::StatementTrace(sqlite3 *handle) : m_handle(handle)
{
    sqlite3_trace_v2(m_handle, SQLITE_TRACE_STMT, &StatementTrace::Callback, this);
}

StatementTrace::~StatementTrace()
{
    sqlite3_trace_v2(m_handle, 0, nullptr, nullptr);
}

int StatementTrace::Callback(unsigned type, void *context, void *statement, void *text)
{
    if (type != SQLITE_TRACE_STMT)
        return 0;
    // A statement of a trigger comes as a comment ("-- TRIGGER name"); the
    // ones the search index (FTS5) runs on its own tables name the schema,
    // as 'main'.'User_Search_config', which the program's statements never
    // do. The shell runs both by itself as part of the statement.
    const char *unexpanded = static_cast<const char *>(text);
    if (unexpanded && unexpanded[0] == '-' && unexpanded[1] == '-')
        return 0;
    if (unexpanded && std::strstr(unexpanded, "'main'."))
        return 0;
    auto *self = static_cast<StatementTrace *>(context);
    char *expanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement));
    if (expanded) {
        self->m_statements << QString::fromUtf8(expanded);
        sqlite3_free(expanded);
    }
    return 0;
}
