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
    // True for a file opened with openReadOnly().
    bool isReadOnly() const { return m_readOnly; }
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

    // Prepares and runs a statement on `handle`. Throws DbError.
    static QSqlQuery Run(QSqlDatabase handle, const QString &sql, const QVariantList &binds,
                         bool forwardOnly);

private:
    friend class Transaction;
    void connect(const QString &path, const QString &options);
    void applyPragmas();

    QString m_name;
    QString m_path;
    bool m_readOnly = false;
    int m_transactionDepth = 0;
    // An inner guard ended without commit: the whole operation must fail.
    bool m_innerAbandoned = false;
};

// A connection of its own that only reads, for one grid that fetches its
// rows as it scrolls. A select left half read there holds back only this
// connection's view of the file: the program's connection keeps writing
// after another till has written, and other grids see fresh rows.
class ReadConnection
{
public:
    // Opens `path`; `readOnlyFile` for a file the program must never write
    // to (another program's database).
    ReadConnection(const QString &path, bool readOnlyFile);
    ~ReadConnection();
    ReadConnection(const ReadConnection &) = delete;
    ReadConnection &operator=(const ReadConnection &) = delete;

    QString path() const { return m_path; }
    // The Qt SQL connection name (QSqlDatabase::database(name())).
    QString name() const { return m_name; }
    // A scrollable select, prepared with its values bound but not run yet
    // (it reads nothing and holds no view of the file). Throws DbError.
    QSqlQuery prepare(const QString &sql, const QVariantList &binds = {});
    // Runs a prepared select. Throws DbError.
    static void run(QSqlQuery &query);

private:
    QString m_name;
    QString m_path;
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
