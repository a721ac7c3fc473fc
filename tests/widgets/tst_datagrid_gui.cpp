#include "support/TestDatabase.h"
#include "widgets/DataGridWidget.h"

#include <QtTest>

// What the shared grid shows for stored numbers.
class TestDataGrid : public QObject
{
    Q_OBJECT
private slots:
    void numbersShownInFull_data();
    void numbersShownInFull();
    void halfReadGridLeavesWritesFree();
};

void TestDataGrid::numbersShownInFull_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("shown");
    QTest::newRow("seven digits") << "12345.67"
                                  << "12345.67";
    QTest::newRow("nine digits, no exponent") << "1234567.89"
                                              << "1234567.89";
    QTest::newRow("sum of tenths") << "0.1 + 0.2"
                                   << "0.3";
    QTest::newRow("large amount") << "99999999999.9999"
                                  << "99999999999.9999";
    QTest::newRow("whole") << "300.0"
                           << "300";
    QTest::newRow("integer column") << "1234567890123"
                                    << "1234567890123";
    QTest::newRow("text stays text") << "'1e5'"
                                     << "1e5";
    QTest::newRow("null") << "NULL"
                          << "";
}

void TestDataGrid::numbersShownInFull()
{
    QFETCH(QString, expression);
    QFETCH(QString, shown);
    TestDatabase t;
    DataGridWidget grid;
    grid.setSource(t.db, {QStringLiteral("SELECT %1 AS 金额").arg(expression), {}});
    QCOMPARE(grid.rowCount(), 1);
    // The text the grid draws: its delegate's text for the cell's value.
    const auto *delegate = qobject_cast<QStyledItemDelegate *>(grid.itemDelegate());
    QVERIFY(delegate);
    const QVariant value = grid.model()->index(0, 0).data(Qt::DisplayRole);
    QCOMPARE(delegate->displayText(value, grid.locale()), shown);
}

void TestDataGrid::halfReadGridLeavesWritesFree()
{
    TestDatabase t;
    t.db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
              "INSERT INTO SL_Store (StoreName, StoreShow) SELECT '店' || i, '1' FROM n");
    DataGridWidget grid;
    grid.setSource(t.db,
                   {QStringLiteral("SELECT StoreID AS 序号, StoreName AS 店名 FROM SL_Store"), {}});
    QVERIFY(grid.rowCount() < 2000); // the rest is fetched as the grid scrolls
    // Another till writes; this till's next operation must still write.
    Database other(QStringLiteral("other-till"));
    other.open(t.file());
    other.exec("INSERT INTO SL_Store (StoreName) VALUES ('别的收银台')");
    t.db.setBusyTimeout(200);
    try {
        Transaction tx(t.db);
        t.db.exec("INSERT INTO SL_Store (StoreName) VALUES ('本收银台')");
        tx.commit();
    } catch (const DbError &e) {
        QFAIL(qPrintable(e.text()));
    }
    // The grid shows the writes once it is refreshed.
    grid.refresh(t.db);
    QCOMPARE(grid.totalRowCount(), 2003);
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid_gui.moc"
