// The grid panel of the list windows: its parts, the select it shows with
// the widths kept, its moves and the export of the select shown.

#include "support/GuiInput.h"
#include "support/TestDatabase.h"
#include "widgets/DataGridWidget.h"
#include "widgets/GridPanelWidget.h"
#include "widgets/NavigatorBarWidget.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace
{

const QuerySource MembersFrom{QStringLiteral("SELECT User_Card AS 卡号, User_Name AS 姓名 "
                                             "FROM User_Info WHERE User_Card >= ? "
                                             "ORDER BY User_Card"),
                              {QStringLiteral("1004")}};

QList<int> widths(DataGridWidget *grid)
{
    QList<int> out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->columnWidth(c);
    return out;
}

} // namespace

class TestGridPanel : public QObject
{
    Q_OBJECT
private slots:
    void parts();
    void sourceAndWidths();
    void failingSelectKeepsRows();
    void movesPastTheFetchedRows();
    void exportsTheSelectShown();
    void exportWithoutSelect();
};

void TestGridPanel::parts()
{
    TestDatabase t;
    GridPanel panel(t.ctx);
    auto *grid = FindControl<DataGridWidget>(&panel, "DBGrid1");
    auto *bar = FindControl<NavigatorBar>(&panel, "DBNavigator1");
    auto *excel = FindControl<QPushButton>(&panel, "btnExcel");
    QCOMPARE(panel.grid(), grid);
    QCOMPARE(panel.navigator(), bar);
    QCOMPARE(panel.exportButton(), excel);
    QCOMPARE(excel->text(), QString("导出Excel"));
    QCOMPARE(bar->view(), grid);
    QStringList names;
    for (QToolButton *b : bar->findChildren<QToolButton *>())
        names << b->objectName();
    QCOMPARE(names, (QStringList{"nbFirst", "nbPrior", "nbNext", "nbLast"}));
    // A window's own buttons go into the row under the grid.
    auto *close = new QPushButton(QStringLiteral("关闭"));
    panel.buttonRow()->addWidget(close);
    QCOMPARE(close->parentWidget(), &panel);
}

void TestGridPanel::sourceAndWidths()
{
    TestDatabase t(TestDatabase::Content::Demo);
    GridPanel panel(t.ctx);
    panel.show();
    panel.setColumnWidths({70, 130});
    QVERIFY(panel.setSource(MembersFrom));
    QCOMPARE(panel.grid()->titles(), (QStringList{"卡号", "姓名"}));
    QCOMPARE(panel.grid()->totalRowCount(), 5);
    QCOMPARE(panel.grid()->source().binds, MembersFrom.binds);
    QCOMPARE(widths(panel.grid()), (QList<int>{70, 130}));
    // Every select shown later gets the same widths, and so does a refresh.
    panel.grid()->setColumnWidth(0, 300);
    QVERIFY(panel.setSource({QStringLiteral("SELECT StoreID AS 序号, StoreName AS 店名 "
                                            "FROM SL_Store ORDER BY StoreID"),
                             {}}));
    QCOMPARE(widths(panel.grid()), (QList<int>{70, 130}));
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('三分店')"));
    panel.grid()->setColumnWidth(1, 20);
    QVERIFY(panel.refresh());
    QCOMPARE(panel.grid()->rowCount(), 3);
    QCOMPARE(widths(panel.grid()), (QList<int>{70, 130}));
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestGridPanel::failingSelectKeepsRows()
{
    TestDatabase t(TestDatabase::Content::Demo);
    GridPanel panel(t.ctx);
    QVERIFY(panel.setSource(MembersFrom));
    QVERIFY(!panel.setSource({QStringLiteral("SELECT NoSuchColumn FROM User_Info"), {}}));
    QCOMPARE(t.prompter.messages.size(), 1);
    QVERIFY(t.prompter.messages.first().startsWith(QStringLiteral("错误:")));
    QCOMPARE(panel.grid()->source().sql, MembersFrom.sql);
    QCOMPARE(panel.grid()->totalRowCount(), 5);
}

void TestGridPanel::movesPastTheFetchedRows()
{
    TestDatabase t;
    GridPanel panel(t.ctx);
    panel.show();
    const int total = 2000;
    QVERIFY(panel.setSource({QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                            "SELECT i + 1 FROM n WHERE i < ?) "
                                            "SELECT i AS 序号 FROM n"),
                             {total}}));
    QVERIFY(panel.grid()->rowCount() < total);
    QTest::mouseClick(FindControl<QToolButton>(&panel, "nbLast"), Qt::LeftButton);
    QCOMPARE(panel.grid()->currentValue("序号").toInt(), total);
    QCOMPARE(panel.grid()->rowCount(), total);
    QTest::mouseClick(FindControl<QToolButton>(&panel, "nbPrior"), Qt::LeftButton);
    QCOMPARE(panel.grid()->currentValue("序号").toInt(), total - 1);
    QTest::mouseClick(FindControl<QToolButton>(&panel, "nbFirst"), Qt::LeftButton);
    QCOMPARE(panel.grid()->currentValue("序号").toInt(), 1);
    QTest::mouseClick(FindControl<QToolButton>(&panel, "nbNext"), Qt::LeftButton);
    QCOMPARE(panel.grid()->currentValue("序号").toInt(), 2);
}

void TestGridPanel::exportsTheSelectShown()
{
    TestDatabase t(TestDatabase::Content::Demo);
    GridPanel panel(t.ctx);
    panel.show();
    QVERIFY(panel.setSource({QStringLiteral("SELECT User_Card AS 卡号 FROM User_Info"), {}}));
    QVERIFY(panel.setSource(MembersFrom));
    const QString file = t.folder() + QStringLiteral("/members");
    t.files.saveAnswers.enqueue(file);
    QTest::mouseClick(FindControl<QPushButton>(&panel, "btnExcel"), Qt::LeftButton);
    // The rows of the select shown last, its bound value included.
    QCOMPARE(t.files.titles, QStringList{"导出Excel"});
    QCOMPARE(t.prompter.messages, QStringList{"成功导出5条数据!"});
    QVERIFY(QFileInfo(file + QStringLiteral(".xls")).size() > 0);

    // Another select, another export.
    QVERIFY(panel.setSource({MembersFrom.sql, {QStringLiteral("1007")}}));
    t.files.saveAnswers.enqueue(t.folder() + QStringLiteral("/later.xls"));
    QTest::mouseClick(FindControl<QPushButton>(&panel, "btnExcel"), Qt::LeftButton);
    QCOMPARE(t.prompter.last(), QString("成功导出2条数据!"));
    QVERIFY(QFileInfo::exists(t.folder() + QStringLiteral("/later.xls")));

    // A cancelled file dialog writes nothing and says nothing.
    t.prompter.clear();
    QTest::mouseClick(FindControl<QPushButton>(&panel, "btnExcel"), Qt::LeftButton);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestGridPanel::exportWithoutSelect()
{
    TestDatabase t;
    GridPanel panel(t.ctx);
    panel.show();
    QTest::mouseClick(FindControl<QPushButton>(&panel, "btnExcel"), Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{"没有可导出的数据!"});
    QVERIFY(t.files.titles.isEmpty());
}

QTEST_MAIN(TestGridPanel)
#include "tst_gridpanel_gui.moc"
