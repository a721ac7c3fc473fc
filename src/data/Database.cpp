#include "data/Database.h"

#include "data/SchemaSteps.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

namespace
{
constexpr int BusyTimeoutMs = 5000;
} // namespace

DbError::DbError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}

DbError::DbError(const QSqlError &error) : DbError(IsBusy(error) ? BusyMessage() : error.text()) {}

QString DbError::BusyMessage()
{
    return QStringLiteral("数据库正忙（其他收银台正在写入），请稍后再试。");
}

bool DbError::IsBusy(const QSqlError &error)
{
    // SQLITE_BUSY (5) and SQLITE_LOCKED (6), also as extended codes.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok && ((code & 0xff) == 5 || (code & 0xff) == 6);
}

Database::Database(const QString &connectionName) : m_name(connectionName) {}

Database::~Database()
{
    close();
}

void Database::open(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw DbError(QStringLiteral("数据库文件不存在：%1").arg(path));
    openForCreate(path);
    try {
        SchemaSteps::Upgrade(*this);
    } catch (const DbError &) {
        close();
        throw;
    }
}

void Database::openForCreate(const QString &path)
{
    connect(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    applyPragmas();
}

void Database::openReadOnly(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw DbError(QStringLiteral("数据库文件不存在：%1").arg(path));
    connect(path,
            QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    m_readOnly = true;
}

void Database::connect(const QString &path, const QString &options)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    db.setConnectOptions(options);
    if (!db.open()) {
        const QString why = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(QStringLiteral("无法打开数据库：%1").arg(why));
    }
    m_path = path;
}

void Database::applyPragmas()
{
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
    setBusyTimeout(BusyTimeoutMs);
}

void Database::setBusyTimeout(int milliseconds)
{
    exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(milliseconds));
}

void Database::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen() && !m_readOnly) {
            try {
                SchemaSteps::Optimize(*this);
            } catch (const DbError &) {
                // Statistics only: a busy or read-only file keeps its old ones.
            }
        }
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_path.clear();
    m_readOnly = false;
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Database::handle() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery Database::Run(QSqlDatabase handle, const QString &sql, const QVariantList &binds,
                        bool forwardOnly)
{
    QSqlQuery query(handle);
    query.setForwardOnly(forwardOnly);
    if (!query.prepare(sql))
        throw DbError(query.lastError());
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec())
        throw DbError(query.lastError());
    return query;
}

QSqlQuery Database::exec(const QString &sql, const QVariantList &binds, bool forwardOnly)
{
    if (!isOpen())
        throw DbError(QStringLiteral("数据库未打开"));
    return Run(handle(), sql, binds, forwardOnly);
}

QVariant Database::scalar(const QString &sql, const QVariantList &binds, const QVariant &fallback)
{
    QSqlQuery query = exec(sql, binds);
    if (!query.next())
        return fallback;
    return query.value(0);
}

qint64 Database::insert(const QString &sql, const QVariantList &binds)
{
    QSqlQuery query = exec(sql, binds);
    return query.lastInsertId().toLongLong();
}

int Database::update(const QString &sql, const QVariantList &binds)
{
    QSqlQuery query = exec(sql, binds);
    return query.numRowsAffected();
}

void Database::execScript(const QString &script)
{
    // Statements are separated by ';' at the end of a line; triggers and
    // views in the schema keep their inner ';' on lines of their own.
    QString current;
    const QStringList lines = script.split(QLatin1Char('\n'));
    bool inTrigger = false;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("--")) || (line.isEmpty() && current.isEmpty()))
            continue;
        current += raw + QLatin1Char('\n');
        if (line.startsWith(QLatin1String("CREATE TRIGGER"), Qt::CaseInsensitive))
            inTrigger = true;
        const bool ends = inTrigger ? line.compare(QLatin1String("END;"), Qt::CaseInsensitive) == 0
                                    : line.endsWith(QLatin1Char(';'));
        if (ends) {
            exec(current.trimmed());
            current.clear();
            inTrigger = false;
        }
    }
    if (!current.trimmed().isEmpty())
        exec(current.trimmed());
}

ReadConnection::ReadConnection(const QString &path, bool readOnlyFile) : m_path(path)
{
    static QAtomicInt counter;
    m_name = QStringLiteral("read-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    db.setConnectOptions((readOnlyFile ? QStringLiteral("QSQLITE_OPEN_READONLY;") : QString()) +
                         QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open()) {
        const QString why = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(QStringLiteral("无法打开数据库：%1").arg(why));
    }
    Database::Run(db, QStringLiteral("PRAGMA query_only = 1"), {}, true);
}

ReadConnection::~ReadConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlQuery ReadConnection::prepare(const QString &sql, const QVariantList &binds)
{
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    query.setForwardOnly(false);
    if (!query.prepare(sql))
        throw DbError(query.lastError());
    for (const QVariant &value : binds)
        query.addBindValue(value);
    return query;
}

void ReadConnection::run(QSqlQuery &query)
{
    if (!query.exec())
        throw DbError(query.lastError());
}

Transaction::Transaction(Database &db) : m_db(db)
{
    // SQLite has no nested BEGIN: an inner guard joins the running transaction,
    // and only the outermost one commits or rolls back.
    if (m_db.m_transactionDepth == 0) {
        m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
        m_db.m_innerAbandoned = false;
        m_outer = true;
    }
    ++m_db.m_transactionDepth;
}

Transaction::~Transaction()
{
    --m_db.m_transactionDepth;
    if (m_done)
        return;
    if (m_outer)
        RollBack();
    else
        m_db.m_innerAbandoned = true;
}

void Transaction::RollBack()
{
    try {
        m_db.exec(QStringLiteral("ROLLBACK"));
    } catch (const DbError &) {
        // SQLite has already rolled back (a failed COMMIT, a full disk).
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    m_done = true;
    if (!m_outer)
        return;
    if (m_db.m_innerAbandoned) {
        RollBack();
        throw DbError(QStringLiteral("操作的一部分没有完成，整个操作已撤销，没有保存任何数据。"));
    }
    try {
        m_db.exec(QStringLiteral("COMMIT"));
    } catch (const DbError &) {
        RollBack();
        throw;
    }
}
