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

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid_gui.moc"
