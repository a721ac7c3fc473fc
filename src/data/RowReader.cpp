#include "data/RowReader.h"

#include "data/Database.h"

#include <QDateTime>
#include <QSqlDriver>
#include <cstring>
#include <sqlite3.h>

namespace
{

constexpr qint64 MaxCellBytes = (qint64(1) << 24) - 1;

sqlite3 *NativeHandle(const ReadConnection &connection)
{
    const QVariant handle = QSqlDatabase::database(connection.name(), false).driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("数据库连接不是 SQLite 连接"));
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    if (db == nullptr)
        throw DbError(QStringLiteral("数据库未打开"));
    return db;
}

QString ErrorText(sqlite3 *db, int code)
{
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

[[noreturn]] void Fail(sqlite3 *db, int code)
{
    const int primary = code & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw DbError(DbError::BusyMessage());
    throw DbError(ErrorText(db, code));
}

// Binds as the program's own Qt SQL statements do, so a select gives the
// same rows here as anywhere else.
int Bind(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(statement, index, bytes.constData(), quint64(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    case QMetaType::QDateTime:
        return Bind(statement, index, value.toDateTime().toString(Qt::ISODateWithMs));
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, index, text.constData(), quint64(text.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

} // namespace

QVariant RowColumns::value(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= columnCount())
        return QVariant();
    const Column &c = m_columns[size_t(column)];
    const qint64 payload = c.payload[size_t(row)];
    switch (c.kinds[size_t(row)]) {
    case Null:
        return QVariant();
    case Integer:
        return QVariant(payload);
    case Real: {
        double d;
        std::memcpy(&d, &payload, sizeof d);
        return QVariant(d);
    }
    case Text:
    case Blob: {
        const qint64 start = payload >> LengthBits;
        const qint64 length = payload & MaxCellBytes;
        const char *data = c.bytes.constData() + start;
        if (c.kinds[size_t(row)] == Text)
            return QString::fromUtf8(data, length);
        return QByteArray(data, length);
    }
    }
    return QVariant();
}

qint64 RowColumns::memoryBytes() const
{
    qint64 total = 0;
    for (const Column &c : m_columns)
        total += qint64(c.kinds.capacity() * sizeof(Kind) + c.payload.capacity() * sizeof(qint64)) +
                 c.bytes.capacity();
    return total;
}

void RowColumns::clear()
{
    m_titles.clear();
    m_columns.clear();
    m_rows = 0;
}

void RowColumns::reset(const QStringList &titles)
{
    clear();
    m_titles = titles;
    m_columns.resize(size_t(titles.size()));
}

RowReader::RowReader(ReadConnection &connection, const QuerySource &source)
{
    sqlite3 *db = NativeHandle(connection);
    const QByteArray sql = source.sql.toUtf8();
    int code = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_statement, nullptr);
    if (code != SQLITE_OK || m_statement == nullptr) {
        Finish();
        if (code == SQLITE_OK) // only blanks or a comment
            throw DbError(QStringLiteral("没有可执行的查询语句"));
        Fail(db, code);
    }
    if (sqlite3_bind_parameter_count(m_statement) != source.binds.size()) {
        Finish();
        throw DbError(QStringLiteral("查询参数的个数不对"));
    }
    for (int i = 0; i < source.binds.size(); ++i) {
        code = Bind(m_statement, i + 1, source.binds[i]);
        if (code != SQLITE_OK) {
            Finish();
            Fail(db, code);
        }
    }
    const int columns = sqlite3_column_count(m_statement);
    for (int i = 0; i < columns; ++i)
        m_titles << QString::fromUtf8(sqlite3_column_name(m_statement, i));
}

RowReader::~RowReader()
{
    Finish();
}

void RowReader::Finish()
{
    sqlite3_finalize(m_statement); // a no-op on nullptr
    m_statement = nullptr;
    m_hasRow = false;
}

void RowReader::Step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW) {
        m_hasRow = true;
        return;
    }
    sqlite3 *db = sqlite3_db_handle(m_statement);
    Finish(); // done, or failed: either way the statement lets go of the file
    if (code != SQLITE_DONE)
        Fail(db, code);
}

int RowReader::read(RowColumns &rows, int count)
{
    if (rows.m_titles != m_titles)
        rows.reset(m_titles);
    if (!m_started && m_statement) {
        m_started = true;
        Step();
    }
    int n = 0;
    const int columns = int(m_titles.size());
    while (m_hasRow && (count < 0 || n < count)) {
        for (int i = 0; i < columns; ++i) {
            RowColumns::Column &c = rows.m_columns[size_t(i)];
            // One call into the statement per cell; the value is read on
            // this thread only, which is all SQLite asks of it.
            sqlite3_value *value = sqlite3_column_value(m_statement, i);
            const int type = sqlite3_value_type(value);
            switch (type) {
            case SQLITE_INTEGER:
                c.kinds.push_back(RowColumns::Integer);
                c.payload.push_back(sqlite3_value_int64(value));
                break;
            case SQLITE_FLOAT: {
                const double d = sqlite3_value_double(value);
                qint64 bits;
                std::memcpy(&bits, &d, sizeof bits);
                c.kinds.push_back(RowColumns::Real);
                c.payload.push_back(bits);
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const bool text = type == SQLITE_TEXT;
                const void *data = text ? static_cast<const void *>(sqlite3_value_text(value))
                                        : sqlite3_value_blob(value);
                // A cell is kept up to 16 MB: the grid shows no more of it.
                const qint64 length = std::min<qint64>(sqlite3_value_bytes(value), MaxCellBytes);
                const qint64 start = c.bytes.size();
                if (length > 0)
                    c.bytes.append(static_cast<const char *>(data), length);
                c.kinds.push_back(text ? RowColumns::Text : RowColumns::Blob);
                c.payload.push_back((start << RowColumns::LengthBits) | length);
                break;
            }
            default:
                c.kinds.push_back(RowColumns::Null);
                c.payload.push_back(0);
                break;
            }
        }
        ++rows.m_rows;
        ++n;
        m_hasRow = false;
        Step();
    }
    return n;
}
