#include "widgets/DataGridWidget.h"

#include "data/Database.h"
#include "data/TextRules.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>

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
    : QTableView(parent), m_model(new QSqlQueryModel(this))
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
    ReleaseQuery(); // the select goes before its connection
}

void DataGridWidget::ReleaseQuery()
{
    // An empty query of no connection: QSqlQueryModel::clear() would keep
    // one on the connection of the select it lets go.
    m_model->setQuery(QSqlQuery());
}

void DataGridWidget::setSource(Database &db, const QuerySource &source)
{
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库未打开"));
    const QuerySource wanted = source; // `source` may be m_source itself
    std::unique_ptr<ReadConnection> fresh;
    if (!m_reader || m_reader->path() != db.path())
        fresh = std::make_unique<ReadConnection>(db.path(), db.isReadOnly());
    // A select that does not prepare leaves the rows shown as they are.
    QSqlQuery query = (fresh ? *fresh : *m_reader).prepare(wanted.sql, wanted.binds);
    // The select shown so far is let go before the new one runs: while it
    // lives, its connection keeps seeing the database as it was.
    ReleaseQuery();
    m_source = QuerySource();
    ReadConnection::run(query);
    m_model->setQuery(std::move(query));
    if (fresh)
        m_reader = std::move(fresh);
    if (m_model->lastError().isValid())
        throw DbError(m_model->lastError());
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
        while (row >= m_model->rowCount() && m_model->canFetchMore())
            m_model->fetchMore();
        if (row < m_model->rowCount())
            selectRow(row);
    }
}

void DataGridWidget::clearRows()
{
    ReleaseQuery();
    m_source = QuerySource();
}

int DataGridWidget::rowCount() const
{
    return m_model->rowCount();
}

int DataGridWidget::totalRowCount()
{
    while (m_model->canFetchMore())
        m_model->fetchMore();
    return m_model->rowCount();
}

bool DataGridWidget::hasCurrentRow() const
{
    return currentIndex().isValid() && currentIndex().row() < m_model->rowCount();
}

int DataGridWidget::columnOf(const QString &title) const
{
    return m_model->record().indexOf(title);
}

QVariant DataGridWidget::value(int row, const QString &title) const
{
    const int column = columnOf(title);
    if (row < 0 || row >= m_model->rowCount() || column < 0)
        return QVariant();
    return m_model->record(row).value(column);
}

QVariant DataGridWidget::currentValue(const QString &title) const
{
    if (!hasCurrentRow())
        return QVariant();
    return value(currentIndex().row(), title);
}

QStringList DataGridWidget::titles() const
{
    QStringList out;
    const QSqlRecord r = m_model->record();
    for (int i = 0; i < r.count(); ++i)
        out << r.fieldName(i);
    return out;
}

void DataGridWidget::setColumnWidths(const QList<int> &widths)
{
    for (int i = 0; i < widths.size(); ++i)
        setColumnWidth(i, widths[i]);
}
