// The grid's model: a page at a time as the view asks, everything on
// demand, and a select that fails part-way keeps what was read.
#include "data/Database.h"
#include "support/TestDatabase.h"
#include "widgets/RowTableModel.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

// Numbers 1..rows; from row `failAt` on, the select fails while it runs.
QuerySource Numbers(int rows, int failAt = 0)
{
    return {QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < ?) SELECT i AS 序号, CASE WHEN ? > 0 AND i >= ? "
                           "THEN json('{') ELSE 'row ' || i END AS 名称 FROM n"),
            {rows, failAt, failAt}};
}

} // namespace

class TestRowTableModel : public QObject
{
    Q_OBJECT
private slots:
    void readsAPageAtATime();
    void aFailedPageKeepsTheRowsRead();
    void aFailingFirstPageLeavesTheModelEmpty();
};

void TestRowTableModel::readsAPageAtATime()
{
    TestDatabase t;
    ReadConnection connection(t.file(), false);
    RowTableModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.setReader(std::make_unique<RowReader>(connection, Numbers(600)));
    QCOMPARE(model.rowCount(), RowTableModel::PageRows);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("名称"));
    QCOMPARE(model.columnOf(QStringLiteral("序号")), 0);
    QVERIFY(model.canFetchMore(QModelIndex()));

    model.fetchMore(QModelIndex());
    QCOMPARE(model.rowCount(), 2 * RowTableModel::PageRows);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted[0][1].toInt(), RowTableModel::PageRows);
    QCOMPARE(inserted[0][2].toInt(), 2 * RowTableModel::PageRows - 1);

    QVERIFY(model.fetchAll());
    QCOMPARE(model.rowCount(), 600);
    QVERIFY(!model.canFetchMore(QModelIndex()));
    QCOMPARE(model.data(model.index(599, 1)).toString(), QStringLiteral("row 600"));
    QCOMPARE(model.data(model.index(599, 0)).toLongLong(), 600);
    QVERIFY(!model.data(model.index(599, 0), Qt::DecorationRole).isValid());

    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
}

void TestRowTableModel::aFailedPageKeepsTheRowsRead()
{
    TestDatabase t;
    ReadConnection connection(t.file(), false);
    RowTableModel model;
    QSignalSpy failed(&model, &RowTableModel::readFailed);
    model.setReader(std::make_unique<RowReader>(connection, Numbers(1000, 301)));
    QCOMPARE(model.rowCount(), RowTableModel::PageRows);

    QVERIFY(!model.fetchAll());
    QCOMPARE(model.rowCount(), 300);
    QCOMPARE(failed.size(), 1);
    QVERIFY(!model.readError().isEmpty());
    QVERIFY(!model.canFetchMore(QModelIndex()));
    QCOMPARE(model.data(model.index(299, 1)).toString(), QStringLiteral("row 300"));
}

void TestRowTableModel::aFailingFirstPageLeavesTheModelEmpty()
{
    TestDatabase t;
    ReadConnection connection(t.file(), false);
    RowTableModel model;
    model.setReader(std::make_unique<RowReader>(connection, Numbers(10)));
    QCOMPARE(model.rowCount(), 10);
    QVERIFY(!model.canFetchMore(QModelIndex())); // a short select is read at once

    QVERIFY_THROWS_EXCEPTION(
        DbError, model.setReader(std::make_unique<RowReader>(connection, Numbers(10, 3))));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
    QVERIFY(!model.canFetchMore(QModelIndex()));
}

QTEST_MAIN(TestRowTableModel)
#include "tst_rowtablemodel_gui.moc"
