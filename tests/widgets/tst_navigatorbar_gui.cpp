// The record navigator: its buttons in both looks, the moves over a lazily
// fetched grid and over other item views, and the editing buttons' signals.

#include "support/TestDatabase.h"
#include "widgets/DataGridWidget.h"
#include "widgets/NavigatorBarWidget.h"
#include "widgets/RowTableModel.h"

#include <QListView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace
{

// A select of `rows` numbered rows, more than the grid fetches at once.
QuerySource numbers(int rows)
{
    return {QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < ?) SELECT i AS 序号, 'row ' || i AS 名称 FROM n"),
            {rows}};
}

QToolButton *button(NavigatorBar &bar, const char *name)
{
    auto *b = bar.findChild<QToolButton *>(QLatin1String(name));
    if (!b)
        qFatal("no button %s", name);
    return b;
}

void click(NavigatorBar &bar, const char *name)
{
    QTest::mouseClick(button(bar, name), Qt::LeftButton);
}

// Which of the four moves are enabled, as "FPNL" with '-' for a disabled one.
QString movesEnabled(NavigatorBar &bar)
{
    QString s;
    const char *names[] = {"nbFirst", "nbPrior", "nbNext", "nbLast"};
    const char letters[] = "FPNL";
    for (int i = 0; i < 4; ++i)
        s += button(bar, names[i])->isEnabled() ? QLatin1Char(letters[i]) : QLatin1Char('-');
    return s;
}

// A grid and its navigator in one shown window.
struct GridWindow {
    QWidget window;
    DataGridWidget *grid = new DataGridWidget(&window);
    NavigatorBar *bar = new NavigatorBar(NavigatorMoves, NavigatorBar::Look::Icons, &window);

    explicit GridWindow(bool shown = true)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(bar);
        bar->setView(grid);
        window.resize(400, 300);
        if (shown)
            window.show();
    }
};

} // namespace

class TestNavigatorBar : public QObject
{
    Q_OBJECT
private slots:
    void buttons_data();
    void buttons();
    void movesPastTheFetchedRows();
    void movesOnAnEmptyGrid();
    void movesOnOtherViews();
    void beforeMoveCanKeepTheRow();
    void editingButtonsSignal_data();
    void editingButtonsSignal();
};

void TestNavigatorBar::buttons_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("captions");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("tips");
    QTest::newRow("moves, icons") << int(NavigatorMoves) << false
                                  << QStringList{"nbFirst", "nbPrior", "nbNext", "nbLast"}
                                  << QStringList{"", "", "", ""}
                                  << QStringList{"第一条", "上一条", "下一条", "最后一条"};
    QTest::newRow("editing list, captions")
        << int(NavigatorEditing) << true
        << QStringList{"nbFirst", "nbPrior", "nbNext",   "nbLast",   "nbInsert",
                       "nbEdit",  "nbPost",  "nbCancel", "nbRefresh"}
        << QStringList{"首条", "上条", "下条", "末条", "插入", "编辑", "保存", "取消", "刷新"}
        << QStringList{"第一条",       "上一条",   "下一条",   "最后一条", "插入新记录",
                       "编辑当前记录", "保存修改", "取消修改", "重新读取"};
    // The order is the bar's, whatever order the buttons are asked in.
    QTest::newRow("some, icons") << int(NavigatorBar::Refresh | NavigatorBar::Last |
                                        NavigatorBar::First)
                                 << false << QStringList{"nbFirst", "nbLast", "nbRefresh"}
                                 << QStringList{"", "", "刷新"}
                                 << QStringList{"第一条", "最后一条", "重新读取"};
}

void TestNavigatorBar::buttons()
{
    QFETCH(int, buttons);
    QFETCH(bool, captions);
    QFETCH(QStringList, names);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, tips);
    NavigatorBar bar(NavigatorBar::Buttons(buttons),
                     captions ? NavigatorBar::Look::Captions : NavigatorBar::Look::Icons);
    QStringList foundNames, foundTexts, foundTips;
    for (QToolButton *b : bar.findChildren<QToolButton *>()) {
        foundNames << b->objectName();
        foundTexts << b->text();
        foundTips << b->toolTip();
        // A button without a caption shows an icon.
        QVERIFY(!b->text().isEmpty() || !b->icon().isNull());
    }
    QCOMPARE(foundNames, names);
    QCOMPARE(foundTexts, texts);
    QCOMPARE(foundTips, tips);
    QCOMPARE(bar.button(NavigatorBar::Insert) != nullptr, names.contains("nbInsert"));
}

void TestNavigatorBar::movesPastTheFetchedRows()
{
    TestDatabase t;
    // Hidden at first: a shown grid fetches more by itself when scrolled to
    // its last fetched row.
    GridWindow w(false);
    const int total = 1000;
    w.grid->setSource(t.db, numbers(total));
    RowTableModel *model = w.grid->rowModel();
    QVERIFY2(model->rowCount() < total, "the grid fetched every row at once");
    QCOMPARE(w.grid->currentIndex().row(), 0);
    QCOMPARE(movesEnabled(*w.bar), QString("--NL"));

    // From the last row fetched, 下一条 fetches the next ones.
    const int fetched = model->rowCount();
    w.grid->selectRow(fetched - 1);
    QCOMPARE(model->rowCount(), fetched);
    QCOMPARE(movesEnabled(*w.bar), QString("FPNL"));
    w.bar->moveNext();
    QCOMPARE(w.grid->currentIndex().row(), fetched);
    QCOMPARE(w.grid->currentValue("序号").toInt(), fetched + 1);
    QVERIFY(model->rowCount() > fetched);

    w.window.show();

    // 最后一条 fetches the rest.
    click(*w.bar, "nbLast");
    QCOMPARE(model->rowCount(), total);
    QCOMPARE(w.grid->currentIndex().row(), total - 1);
    QCOMPARE(w.grid->currentValue("序号").toInt(), total);
    QCOMPARE(movesEnabled(*w.bar), QString("FP--"));
    // The whole row is selected and in sight.
    QCOMPARE(w.grid->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(w.grid->selectionModel()->selectedRows().first().row(), total - 1);
    QVERIFY(w.grid->viewport()->rect().intersects(w.grid->visualRect(model->index(total - 1, 0))));

    click(*w.bar, "nbPrior");
    QCOMPARE(w.grid->currentIndex().row(), total - 2);
    click(*w.bar, "nbFirst");
    QCOMPARE(w.grid->currentIndex().row(), 0);
    QCOMPARE(movesEnabled(*w.bar), QString("--NL"));
    // A disabled move does nothing.
    click(*w.bar, "nbPrior");
    QCOMPARE(w.grid->currentIndex().row(), 0);

    // A new select starts on its first row again, the buttons following.
    w.grid->setSource(t.db, numbers(1));
    QCOMPARE(w.grid->currentIndex().row(), 0);
    QCOMPARE(movesEnabled(*w.bar), QString("----"));
}

void TestNavigatorBar::movesOnAnEmptyGrid()
{
    TestDatabase t;
    GridWindow w;
    QCOMPARE(movesEnabled(*w.bar), QString("----"));
    w.grid->setSource(t.db, {QStringLiteral("SELECT 1 AS 序号 WHERE 0"), {}});
    QCOMPARE(w.grid->rowCount(), 0);
    QCOMPARE(movesEnabled(*w.bar), QString("----"));
    QSignalSpy moved(w.bar, &NavigatorBar::moved);
    w.bar->moveFirst();
    w.bar->moveNext();
    w.bar->moveLast();
    w.bar->movePrior();
    QCOMPARE(moved.count(), 0);
    QVERIFY(!w.grid->currentIndex().isValid());
}

void TestNavigatorBar::movesOnOtherViews()
{
    // A list view over a plain list model.
    QStringListModel names({"甲", "乙", "丙", "丁"});
    QListView list;
    list.setModel(&names);
    NavigatorBar bar(NavigatorMoves);
    bar.setView(&list);
    list.setCurrentIndex(names.index(1));
    QSignalSpy moved(&bar, &NavigatorBar::moved);
    click(bar, "nbLast");
    QCOMPARE(list.currentIndex().data().toString(), QString("丁"));
    click(bar, "nbPrior");
    QCOMPARE(list.currentIndex().data().toString(), QString("丙"));
    click(bar, "nbFirst");
    QCOMPARE(list.currentIndex().data().toString(), QString("甲"));
    QCOMPARE(moved.count(), 3);
    QCOMPARE(moved.last().first().toInt(), 0);

    // A table whose first column is hidden: the moves keep the column of the
    // current cell, or take the first one shown.
    QStandardItemModel cells(5, 3);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            cells.setItem(r, c, new QStandardItem(QStringLiteral("%1,%2").arg(r).arg(c)));
    QTableView table;
    table.setModel(&cells);
    table.setColumnHidden(0, true);
    bar.setView(&table);
    QCOMPARE(movesEnabled(bar), QString("----"));
    click(bar, "nbFirst");
    QVERIFY(!table.currentIndex().isValid()); // disabled without a current row
    bar.moveFirst();
    QCOMPARE(table.currentIndex(), cells.index(0, 1));
    table.setCurrentIndex(cells.index(1, 2));
    click(bar, "nbNext");
    QCOMPARE(table.currentIndex(), cells.index(2, 2));
    click(bar, "nbLast");
    QCOMPARE(table.currentIndex(), cells.index(4, 2));

    // Rows added to the model enable the forward moves again.
    QCOMPARE(movesEnabled(bar), QString("FP--"));
    cells.appendRow({new QStandardItem("5,0"), new QStandardItem("5,1"), new QStandardItem("5,2")});
    QCOMPARE(movesEnabled(bar), QString("FPNL"));
    click(bar, "nbNext");
    QCOMPARE(table.currentIndex(), cells.index(5, 2));
}

void TestNavigatorBar::beforeMoveCanKeepTheRow()
{
    QStringListModel names({"甲", "乙", "丙"});
    QListView list;
    list.setModel(&names);
    NavigatorBar bar(NavigatorMoves);
    bar.setView(&list);
    list.setCurrentIndex(names.index(1));
    int asked = 0;
    bool allow = false;
    bar.setBeforeMove([&] {
        ++asked;
        return allow;
    });
    for (const char *name : {"nbFirst", "nbPrior", "nbNext", "nbLast"})
        click(bar, name);
    QCOMPARE(asked, 4);
    QCOMPARE(list.currentIndex().row(), 1);

    allow = true;
    click(bar, "nbNext");
    QCOMPARE(asked, 5);
    QCOMPARE(list.currentIndex().row(), 2);
}

void TestNavigatorBar::editingButtonsSignal_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("signal");
    QTest::newRow("插入") << "nbInsert" << 0;
    QTest::newRow("编辑") << "nbEdit" << 1;
    QTest::newRow("保存") << "nbPost" << 2;
    QTest::newRow("取消") << "nbCancel" << 3;
    QTest::newRow("刷新") << "nbRefresh" << 4;
}

void TestNavigatorBar::editingButtonsSignal()
{
    QFETCH(QString, name);
    QFETCH(int, signal);
    NavigatorBar bar(NavigatorEditing, NavigatorBar::Look::Captions);
    QStringListModel names({"甲", "乙"});
    QListView list;
    list.setModel(&names);
    bar.setView(&list);
    list.setCurrentIndex(names.index(1));
    QSignalSpy insert(&bar, &NavigatorBar::insertClicked);
    QSignalSpy edit(&bar, &NavigatorBar::editClicked);
    QSignalSpy post(&bar, &NavigatorBar::postClicked);
    QSignalSpy cancel(&bar, &NavigatorBar::cancelClicked);
    QSignalSpy refresh(&bar, &NavigatorBar::refreshClicked);
    QSignalSpy moved(&bar, &NavigatorBar::moved);
    QTest::mouseClick(bar.findChild<QToolButton *>(name), Qt::LeftButton);
    const QList<int> counts = {int(insert.count()), int(edit.count()), int(post.count()),
                               int(cancel.count()), int(refresh.count())};
    QList<int> expected(5, 0);
    expected[signal] = 1;
    QCOMPARE(counts, expected);
    // The editing buttons leave the current row to the page.
    QCOMPARE(moved.count(), 0);
    QCOMPARE(list.currentIndex().row(), 1);
}

QTEST_MAIN(TestNavigatorBar)
#include "tst_navigatorbar_gui.moc"
