#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <stdexcept>

// A statement that failed. The text is what the operator sees in the error box.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &text);
    // The error of a failed statement; a database another program keeps
    // locked past the busy timeout gives the Chinese busy message.
    explicit DbError(const QSqlError &error);
    QString text() const { return m_text; }
    // What the operator reads when another till holds the database too long.
    static QString BusyMessage();
    static bool IsBusy(const QSqlError &error);

private:
    QString m_text;
};

// The program's one connection to its SQLite database file. Every statement
// takes its values as bound parameters; failures throw DbError.
class Database
{
public:
    static constexpr const char *FileName = "BNA_Member.dll";

    // `connectionName` must be unique per open Database in the process.
    explicit Database(const QString &connectionName = QStringLiteral("memberpos"));
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing database file; a missing file is an error, never created.
    void open(const QString &path);
    // Opens (creating when needed) a file; for the database initialiser only.
    void openForCreate(const QString &path);
    // Opens another program's database file only to read it: no file is
    // created and none of our connection settings are applied.
    void openReadOnly(const QString &path);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    QSqlDatabase handle() const;
    QString connectionName() const { return m_name; }
    // How long a statement waits for another connection's write lock.
    void setBusyTimeout(int milliseconds);

    // Runs one statement with positional (?) parameters and returns the
    // active query, positioned before the first row. Grids that scroll back
    // and forth ask for a query that is not forward-only.
    QSqlQuery exec(const QString &sql, const QVariantList &binds = {}, bool forwardOnly = true);
    // First column of the first row, or `fallback` when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &binds = {},
                    const QVariant &fallback = QVariant());
    // Runs an INSERT and returns the new row's id.
    qint64 insert(const QString &sql, const QVariantList &binds = {});
    // Runs a statement and returns the number of rows it changed.
    int update(const QString &sql, const QVariantList &binds = {});
    // Runs a script of statements separated by ';' (no parameters).
    void execScript(const QString &script);

private:
    friend class Transaction;
    void connect(const QString &path, const QString &options);
    void applyPragmas();

    QString m_name;
    QString m_path;
    int m_transactionDepth = 0;
    // An inner guard ended without commit: the whole operation must fail.
    bool m_innerAbandoned = false;
};

// One user operation's writes: begun on construction with BEGIN IMMEDIATE,
// so the write lock is taken before the first read and another till waits
// for it instead of failing part-way; rolled back on destruction unless
// commit() was called. Nested guards join the outer one; an inner guard
// that ends without commit() (a step that returned early or threw) makes
// the outer commit() throw, so no part of an unfinished step is kept.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    void RollBack();

    Database &m_db;
    bool m_outer = false;
    bool m_done = false;
};
