#include "widgets/RowTableModel.h"

#include "data/Database.h"

RowTableModel::~RowTableModel() = default;

void RowTableModel::setReader(std::unique_ptr<RowReader> reader)
{
    beginResetModel();
    m_reader.reset();
    m_rows.clear();
    m_shown = 0;
    m_readError.clear();
    m_titles = reader ? reader->titles() : QStringList();
    m_reader = std::move(reader);
    try {
        if (m_reader)
            m_reader->read(m_rows, PageRows);
    } catch (const DbError &) {
        m_reader.reset();
        m_rows.clear();
        m_titles.clear();
        endResetModel();
        throw;
    }
    m_shown = m_rows.rowCount();
    if (m_reader && m_reader->atEnd())
        m_reader.reset(); // every row read: the select lets go of the file
    endResetModel();
}

void RowTableModel::clear()
{
    setReader(nullptr);
}

bool RowTableModel::ReadMore(int count)
{
    if (!m_reader)
        return true;
    bool ok = true;
    try {
        m_reader->read(m_rows, count);
    } catch (const DbError &e) {
        m_readError = e.text();
        ok = false;
    }
    if (!ok || m_reader->atEnd())
        m_reader.reset();
    if (m_rows.rowCount() > m_shown) {
        beginInsertRows(QModelIndex(), m_shown, m_rows.rowCount() - 1);
        m_shown = m_rows.rowCount();
        endInsertRows();
    }
    if (!ok)
        emit readFailed(m_readError);
    return ok;
}

bool RowTableModel::fetchAll()
{
    return ReadMore(-1);
}

QStringList RowTableModel::titles() const
{
    return m_titles;
}

int RowTableModel::columnOf(const QString &title) const
{
    return int(m_titles.indexOf(title));
}

int RowTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int RowTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant RowTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_rows.value(index.row(), index.column());
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_titles.size())
        return m_titles[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool RowTableModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_reader != nullptr;
}

void RowTableModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        ReadMore(PageRows);
}
