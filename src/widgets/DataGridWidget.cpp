#include "widgets/DataGridWidget.h"

#include "data/Database.h"
#include "data/TextRules.h"
#include "widgets/RowTableModel.h"

#include <QHeaderView>

QString ValueTextDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return ValueText(value); // no digit grouping, no exponent
    default:
        return QStyledItemDelegate::displayText(value, locale);
    }
}

DataGridWidget::DataGridWidget(QWidget *parent)
    : QTableView(parent), m_model(new RowTableModel(this))
{
    setModel(m_model);
    setItemDelegate(new ValueTextDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(22);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { emit rowActivated(index.row()); });
}

DataGridWidget::~DataGridWidget()
{
    m_model->clear(); // the select goes before its connection
}

void DataGridWidget::setSource(Database &db, const QuerySource &source)
{
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库未打开"));
    const QuerySource wanted = source; // `source` may be m_source itself
    std::unique_ptr<ReadConnection> fresh;
    if (!m_connection || m_connection->path() != db.path())
        fresh = std::make_unique<ReadConnection>(db.path(), db.isReadOnly());
    // A select that does not prepare leaves the rows shown as they are.
    auto reader = std::make_unique<RowReader>(fresh ? *fresh : *m_connection, wanted);
    // The select shown so far is let go before the new one runs: while it
    // lives, its connection keeps seeing the database as it was.
    m_model->clear();
    m_source = QuerySource();
    if (fresh)
        m_connection = std::move(fresh);
    m_model->setReader(std::move(reader));
    m_source = wanted;
    if (m_model->rowCount() > 0)
        selectRow(0);
}

void DataGridWidget::refresh(Database &db)
{
    if (m_source.isEmpty())
        return;
    const int row = currentIndex().row();
    setSource(db, m_source);
    if (row >= 0) {
        while (row >= m_model->rowCount() && m_model->canFetchMore(QModelIndex()))
            m_model->fetchMore(QModelIndex());
        if (row < m_model->rowCount())
            selectRow(row);
    }
}

void DataGridWidget::clearRows()
{
    m_model->clear();
    m_source = QuerySource();
}

int DataGridWidget::rowCount() const
{
    return m_model->rowCount();
}

int DataGridWidget::totalRowCount()
{
    m_model->fetchAll();
    return m_model->rowCount();
}

bool DataGridWidget::hasCurrentRow() const
{
    return currentIndex().isValid() && currentIndex().row() < m_model->rowCount();
}

int DataGridWidget::columnOf(const QString &title) const
{
    return m_model->columnOf(title);
}

QVariant DataGridWidget::value(int row, const QString &title) const
{
    const int column = columnOf(title);
    if (row < 0 || row >= m_model->rowCount() || column < 0)
        return QVariant();
    return m_model->rows().value(row, column);
}

QVariant DataGridWidget::currentValue(const QString &title) const
{
    if (!hasCurrentRow())
        return QVariant();
    return value(currentIndex().row(), title);
}

QStringList DataGridWidget::titles() const
{
    return m_model->titles();
}

void DataGridWidget::setColumnWidths(const QList<int> &widths)
{
    for (int i = 0; i < widths.size(); ++i)
        setColumnWidth(i, widths[i]);
}
