#pragma once

#include "data/QuerySource.h"

#include <QByteArray>
#include <QStringList>
#include <QVariant>
#include <vector>

class ReadConnection;
struct sqlite3_stmt;

// Rows of a select kept by column: numbers as 64-bit integers or doubles,
// texts and blobs as bytes in one buffer per column, NULL as a kind of its
// own. A value becomes a QVariant only when it is asked for, so a list of a
// million rows costs about what its values take, not a QVariant per cell.
class RowColumns
{
public:
    int rowCount() const { return m_rows; }
    int columnCount() const { return int(m_columns.size()); }
    // The select's column names (its aliases).
    const QStringList &titles() const { return m_titles; }
    // The value the grid shows: qint64, double, QString, QByteArray or an
    // invalid QVariant for NULL. Invalid for a cell out of range.
    QVariant value(int row, int column) const;
    // An estimate of the memory the rows take.
    qint64 memoryBytes() const;
    void clear();

private:
    friend class RowReader;
    enum Kind : quint8 { Null, Integer, Real, Text, Blob };
    struct Column {
        std::vector<Kind> kinds;
        // The integer, the bits of the double, or where a text or blob lies
        // in `bytes`: its start shifted left by LengthBits, then its length.
        std::vector<qint64> payload;
        QByteArray bytes;
    };
    static constexpr int LengthBits = 24;
    void reset(const QStringList &titles);

    QStringList m_titles;
    std::vector<Column> m_columns;
    int m_rows = 0;
};

// A select on a ReadConnection, read forward-only in pieces. It runs at the
// first read(); from then on the statement holds its view of the file until
// every row is read or the reader is destroyed.
class RowReader
{
public:
    // Prepares `source` with its values bound. Throws DbError.
    RowReader(ReadConnection &connection, const QuerySource &source);
    ~RowReader();
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    const QStringList &titles() const { return m_titles; }
    // True once every row is read (or reading failed).
    bool atEnd() const { return m_statement == nullptr; }
    // Appends up to `count` more rows to `rows` (every remaining row when
    // count < 0) and returns how many it read. `rows` takes this reader's
    // titles when it holds other columns. Throws DbError.
    int read(RowColumns &rows, int count = -1);

private:
    void Step();
    void Finish();

    sqlite3_stmt *m_statement = nullptr;
    QStringList m_titles;
    bool m_started = false;
    bool m_hasRow = false; // the statement stands on a row not yet read
};
