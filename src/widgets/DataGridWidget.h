#pragma once

#include "data/QuerySource.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <memory>

class Database;
class ReadConnection;
class RowTableModel;

// Draws stored numbers as ValueText does: plain decimal form of up to 15
// significant digits, no digit grouping (the default draws 6 digits,
// exponents and thousands separators).
class ValueTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
};

// A read-only grid over a select. Column titles are the select's aliases;
// rows are read forward-only into compact storage as the grid scrolls, so
// long lists open at once and a list read to its end costs little more than
// its values. The
// current row's values are read by those titles. Each grid reads through a
// connection of its own, so a list left half read never holds back the
// program's writes or another grid's fresh rows.
class DataGridWidget : public QTableView
{
    Q_OBJECT
public:
    explicit DataGridWidget(QWidget *parent = nullptr);
    ~DataGridWidget() override;

    // Runs the select and shows its rows; the selection goes to the first row.
    // Throws DbError when the select fails: one that does not prepare keeps
    // the rows shown; one that fails while running leaves the grid empty
    // (the rows before are let go first, so the select sees what is
    // committed now).
    void setSource(Database &db, const QuerySource &source);
    // The select last shown (used by the export buttons).
    const QuerySource &source() const { return m_source; }
    // Runs the last select again, keeping the current row where possible.
    void refresh(Database &db);
    void clearRows();

    int rowCount() const;
    // All rows counted (fetches what the grid has not fetched yet).
    int totalRowCount();
    bool hasCurrentRow() const;
    // A value of the current row, by column title; invalid when no row.
    QVariant currentValue(const QString &title) const;
    QVariant value(int row, const QString &title) const;
    int columnOf(const QString &title) const;
    QStringList titles() const;
    // Column widths in pixels, from the first column on.
    void setColumnWidths(const QList<int> &widths);

    RowTableModel *rowModel() const { return m_model; }

signals:
    void rowActivated(int row); // double-click or Enter on a row

private:
    RowTableModel *m_model;
    std::unique_ptr<ReadConnection> m_connection;
    QuerySource m_source;
};
