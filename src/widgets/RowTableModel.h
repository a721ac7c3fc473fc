#pragma once

#include "data/RowReader.h"

#include <QAbstractTableModel>
#include <memory>

// The rows of one select for a grid: read forward-only into compact column
// storage, a page at a time as the view scrolls (or all at once when asked).
class RowTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int PageRows = 256;

    using QAbstractTableModel::QAbstractTableModel;
    ~RowTableModel() override;

    // Shows the rows of `reader`, reading its first page now. Throws DbError
    // when the select fails; the model is then empty.
    void setReader(std::unique_ptr<RowReader> reader);
    // No rows, no columns, no select left open.
    void clear();
    // Reads every row not read yet. Returns false when reading failed.
    bool fetchAll();

    const RowColumns &rows() const { return m_rows; }
    QStringList titles() const;
    int columnOf(const QString &title) const;
    // The reason the last read stopped early, or empty.
    QString readError() const { return m_readError; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    // Reading a later page failed: the rows read so far stay.
    void readFailed(const QString &text);

private:
    bool ReadMore(int count);

    std::unique_ptr<RowReader> m_reader;
    RowColumns m_rows;
    QStringList m_titles;
    int m_shown = 0; // rows announced to the views
    QString m_readError;
};
