// The export window of the member consumption query: it exports only what
// the query window handed over.

#include "export/TFrmExcelOption.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>

class TestTFrmExcelOption : public QObject
{
    Q_OBJECT
private slots:
    void buttonsExportTheirSource_data();
    void buttonsExportTheirSource();
};

void TestTFrmExcelOption::buttonsExportTheirSource_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("btnSale") << "btnSale"
                             << "成功导出1条数据!";
    QTest::newRow("btnSaleDetail") << "btnSaleDetail"
                                   << "成功导出3条数据!";
}

void TestTFrmExcelOption::buttonsExportTheirSource()
{
    QFETCH(QString, button);
    QFETCH(QString, message);
    TestDatabase t;
    t.db.exec("INSERT INTO SL_Store (StoreName) VALUES ('一店'), ('二店'), ('三店')");
    TFrmExcelOption form(t.ctx);
    form.show();
    QCOMPARE(form.windowTitle(), QString("导出Excel"));
    QCOMPARE(form.btnSale->text(), QString("导出销售主表数据"));
    QCOMPARE(form.btnSaleDetail->text(), QString("导出销售明细数据"));
    auto *b = form.findChild<QPushButton *>(button);

    // Not asked by the query window: the button does nothing at all.
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(t.files.titles.isEmpty());
    QVERIFY(t.prompter.messages.isEmpty());

    form.setSources({"Select Admin_Name as 操作员 from admin", {}},
                    {"Select StoreName as 店名 from SL_Store where StoreName in (?, ?, ?)",
                     {"一店", "二店", "三店"}});
    t.files.saveAnswers.enqueue(t.folder() + "/" + button);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{message});
    QVERIFY(QFile::exists(t.folder() + "/" + button + ".xls"));

    // Shown or closed again, the query window withdraws its sources.
    form.clearSources();
    t.prompter.clear();
    t.files.titles.clear();
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(t.files.titles.isEmpty());
    QVERIFY(t.prompter.messages.isEmpty());
}

QTEST_MAIN(TestTFrmExcelOption)
#include "tst_TFrmExcelOption.moc"
