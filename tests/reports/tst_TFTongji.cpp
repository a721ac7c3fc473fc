// The sales statistics window driven through its controls by object name,
// on the small shop of StatisticsFixture.h (today: 5 March 2024).

#include "data/Database.h"
#include "reports/StatisticsChartWidget.h"
#include "reports/StatisticsFixture.h"
#include "reports/TFTongji.h"
#include "sales/ModalDriver.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"
#include "widgets/CriteriaBarWidget.h"
#include "widgets/DataGridWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace
{

const char *const TotalLabels[] = {"Label5",
                                   "lbl_TotalSaleJiFenAll",
                                   "Label10",
                                   "lbl_TotalCash",
                                   "lbl_TotalSaleCard",
                                   "lbl_TotalAddCardMoney",
                                   "lbl_TotalEnabledMoney",
                                   "lbl_TotalReturnMoney"};

// The window's controls by object name and an operator's steps on them.
struct Driver {
    explicit Driver(TFTongji &f) : form(f) {}
    template <typename T> T *get(const char *name) const { return FindControl<T>(&form, name); }
    QPushButton *button(const char *name) const { return get<QPushButton>(name); }
    DataGridWidget *grid(const char *name) const { return get<DataGridWidget>(name); }
    // The eight figures, in the order of TotalLabels.
    QStringList figures() const
    {
        QStringList out;
        for (const char *name : TotalLabels)
            out << get<QLabel>(name)->text();
        return out;
    }
    void choose(const char *list, const QString &text) const
    {
        auto *box = get<QComboBox>(list);
        const int at = box->findText(text);
        QVERIFY2(at >= 0, qPrintable(text));
        box->setCurrentIndex(at);
    }
    void days(const QDate &start, const QDate &end) const
    {
        get<QDateEdit>("DateTimePicker1")->setDate(start);
        get<QDateEdit>("DateTimePicker2")->setDate(end);
    }
    void count() const { QTest::mouseClick(button("BitBtn1"), Qt::LeftButton); }
    QStringList items(const char *list) const
    {
        auto *box = get<QComboBox>(list);
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    TFTongji &form;
};

void Show(TFTongji &form)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

QList<int> Widths(DataGridWidget *grid)
{
    QList<int> out;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        out << grid->columnWidth(i);
    return out;
}

struct Shop : TestDatabase {
    Shop()
    {
        StatisticsFixture::Fill(*this);
        loginAs();
    }
};

} // namespace

class TestTFTongji : public QObject
{
    Q_OBJECT
private slots:
    void opensOnTodaysFigures();
    void criteriaChosen_data();
    void criteriaChosen();
    void modeSwitch();
    void chartFollowsTheCheckBox();
    void exportsWriteEachGrid();
    void anotherTillWritesWhileListsAreOpen();
    void keyboardOnly();
    void hostileNamesAndHugeAmounts();
    void modalAndClosed();
};

void TestTFTongji::opensOnTodaysFigures()
{
    Shop t;
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName, StoreShow) VALUES ('旧店', '0')"));
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    QCOMPARE(form.windowTitle(), QStringLiteral("销售统计"));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(d.get<QGroupBox>("GroupBox1")->title(), QStringLiteral(" 统 计  "));
    QCOMPARE(d.get<QGroupBox>("GroupBox2")->title(), QStringLiteral(" 合 计 "));
    QCOMPARE(d.get<QGroupBox>("GroupBox3")->title(), QStringLiteral(" 明 细 "));

    // Both days today; every shop (hidden ones too), shop assistant and
    // operator after 全部; the shop assistant is never shown.
    QCOMPARE(d.get<QDateEdit>("DateTimePicker1")->date(), QDate(2024, 3, 5));
    QCOMPARE(d.get<QDateEdit>("DateTimePicker2")->date(), QDate(2024, 3, 5));
    QCOMPARE(form.Criteria->caption(form.DateTimePicker2)->text(), QStringLiteral("至"));
    QCOMPARE(d.items("cbStore"), (QStringList{"全部", "总店", "二分店", "旧店"}));
    QCOMPARE(d.items("cbSalePerson"), (QStringList{"全部", "张丽", "王强"}));
    QCOMPARE(d.items("cbAdmin"), (QStringList{"全部", "admin", "收银员"}));
    QVERIFY(!d.get<QComboBox>("cbSalePerson")->isVisible());
    QVERIFY(!form.Criteria->caption(form.cbSalePerson)->isVisible());
    QVERIFY(d.get<QRadioButton>("rbSaleQuery")->isChecked());
    QCOMPARE(d.get<QRadioButton>("rbAddQuery")->text(), QStringLiteral("充值统计"));
    QCOMPARE(d.button("BitBtn1")->text(), QStringLiteral("   统  计   "));
    QVERIFY(d.button("BitBtn1")->isDefault());
    QCOMPARE(d.button("BitBtn2")->text(), QStringLiteral("   关  闭   "));
    QCOMPARE(d.button("btnExcel")->text(), QStringLiteral("导出Excel"));
    QCOMPARE(d.button("btnExportDetail")->text(), QStringLiteral("导出明细"));
    QVERIFY(d.button("btnExportDetail")->isVisible());
    QVERIFY(d.get<QCheckBox>("chkShowChart")->isChecked());

    // Today's figures: the sale of two lines and the one at 23:59:59.
    QCOMPARE(d.figures(),
             (QStringList{"28.00", "28", "4", "23.00", "5.00", "0.00", "150.50", "0"}));
    DataGridWidget *sales = d.grid("DBGrid1");
    DataGridWidget *lines = d.grid("DBGrid2");
    QVERIFY(lines->isVisible());
    QCOMPARE(GridColumn(sales, "序号"), (QStringList{"3", "1"}));
    QCOMPARE(GridColumn(lines, "序号"), (QStringList{"5", "2", "1"}));
    QCOMPARE(Widths(sales), (QList<int>{30, 80, 80, 80, 80, 80, 80, 120, 120, 80, 80}));
    QCOMPARE(Widths(lines), (QList<int>{30, 80, 80, 80, 80, 80, 80, 80, 120, 80, 80, 80, 80}));
    QCOMPARE(sales->horizontalHeader()->defaultAlignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFTongji::criteriaChosen_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("shop");
    QTest::addColumn<QString>("operatorName");
    QTest::addColumn<QStringList>("figures");
    QTest::addColumn<int>("sales");
    QTest::addColumn<int>("lines");
    QTest::newRow("a day's sale of two lines")
        << QDate(2024, 3, 5) << QDate(2024, 3, 5) << "总店"
        << "admin" << QStringList{"20.00", "20", "3", "15.00", "5.00", "0.00", "150.50", "0"} << 1
        << 2;
    QTest::newRow("a return line")
        << QDate(2024, 3, 4) << QDate(2024, 3, 4) << "全部"
        << "全部" << QStringList{"20.00", "0", "0", "0.00", "0.00", "0.00", "150.50", "10.00"} << 1
        << 2;
    QTest::newRow("one shop over four days")
        << QDate(2024, 3, 3) << QDate(2024, 3, 6) << "二分店"
        << "全部" << QStringList{"25.00", "5", "1", "0.00", "5.00", "0.00", "150.50", "10.00"} << 2
        << 3;
    QTest::newRow("no sales") << QDate(2024, 2, 1) << QDate(2024, 2, 29) << "全部"
                              << "全部"
                              << QStringList{"0", "0", "0", "0", "0", "0.00", "150.50", "0"} << 0
                              << 0;
    QTest::newRow("start after the end")
        << QDate(2024, 3, 6) << QDate(2024, 3, 3) << "全部"
        << "全部" << QStringList{"0", "0", "0", "0", "0", "0.00", "150.50", "0"} << 0 << 0;
}

void TestTFTongji::criteriaChosen()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, shop);
    QFETCH(QString, operatorName);
    QFETCH(QStringList, figures);
    QFETCH(int, sales);
    QFETCH(int, lines);
    Shop t;
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    d.days(start, end);
    d.choose("cbStore", shop);
    d.choose("cbAdmin", operatorName);
    d.count();
    QCOMPARE(d.figures(), figures);
    QCOMPARE(d.grid("DBGrid1")->totalRowCount(), sales);
    QCOMPARE(d.grid("DBGrid2")->totalRowCount(), lines);
    // No check of the days: a start after the end just finds nothing.
    QVERIFY(t.prompter.messages.isEmpty());
    // The criteria keep their values.
    QCOMPARE(d.get<QComboBox>("cbStore")->currentText(), shop);
    QCOMPARE(d.get<QDateEdit>("DateTimePicker1")->date(), start);
}

void TestTFTongji::modeSwitch()
{
    Shop t;
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    const QStringList salesFigures = d.figures();

    // The export buttons change at once, the figures at the next 统计.
    QTest::mouseClick(d.get<QRadioButton>("rbAddQuery"), Qt::LeftButton);
    QVERIFY(d.get<QRadioButton>("rbAddQuery")->isChecked());
    QCOMPARE(d.button("btnExcel")->text(), QStringLiteral("导出充值记录"));
    QVERIFY(!d.button("btnExportDetail")->isVisible());
    QCOMPARE(d.figures(), salesFigures);
    QVERIFY(d.grid("DBGrid2")->isVisible());

    d.count();
    QCOMPARE(d.figures(),
             (QStringList{"0.00", "0", "0", "0.00", "0.00", "150.00", "150.50", "0.00"}));
    QVERIFY(!d.grid("DBGrid2")->isVisible());
    DataGridWidget *recharges = d.grid("DBGrid1");
    QCOMPARE(recharges->titles(), (QStringList{"单据号", "卡号", "姓名", "充值金额", "充值前金额",
                                               "充值后金额", "充值日期", "门店", "操作人"}));
    QCOMPARE(GridColumn(recharges, "单据号"), (QStringList{"R2", "R1"}));
    QCOMPARE(Widths(recharges), (QList<int>{80, 80, 80, 80, 80, 80, 120, 80, 80}));
    QCOMPARE(form.chartView->shown().series, QStringList{"充值金额"});

    // Back to the sales: the detail button is back at once, the line list
    // with the next 统计.
    QTest::mouseClick(d.get<QRadioButton>("rbSaleQuery"), Qt::LeftButton);
    QCOMPARE(d.button("btnExcel")->text(), QStringLiteral("导出销售记录"));
    QCOMPARE(d.button("btnExportDetail")->text(), QStringLiteral("导出明细记录"));
    QVERIFY(d.button("btnExportDetail")->isVisible());
    QVERIFY(!d.grid("DBGrid2")->isVisible());
    d.count();
    QVERIFY(d.grid("DBGrid2")->isVisible());
    QCOMPARE(d.figures(), salesFigures);
    QCOMPARE(d.grid("DBGrid1")->titles().first(), QStringLiteral("序号"));
}

void TestTFTongji::chartFollowsTheCheckBox()
{
    Shop t;
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    auto *chart = d.get<StatisticsChartView>("chartView");
    QVERIFY(chart->isVisible());
    d.days(QDate(2024, 3, 3), QDate(2024, 3, 6));
    d.count();
    QCOMPARE(chart->shown().periods.size(), 4);
    QCOMPARE(chart->shown().periods[1].period, QStringLiteral("2024-03-04"));
    QCOMPARE(chart->shown().periods[1].second, 10.0);
    QCOMPARE(chart->chart()->series().size(), 1);

    // Hidden, the window is as it was without a chart, and nothing is drawn
    // at 统计.
    QTest::mouseClick(d.get<QCheckBox>("chkShowChart"), Qt::LeftButton);
    QVERIFY(!chart->isVisible());
    d.days(QDate(2024, 1, 1), QDate(2024, 3, 31));
    d.count();
    QCOMPARE(d.figures().first(), QStringLiteral("153.00"));
    QCOMPARE(chart->shown().periods.size(), 4);
    // Shown again: drawn for the figures shown, by month for three months.
    QTest::mouseClick(d.get<QCheckBox>("chkShowChart"), Qt::LeftButton);
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->shown().step, SalesStatistics::Step::Month);
    QCOMPARE(chart->shown().periods.size(), 3);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFTongji::exportsWriteEachGrid()
{
    Shop t;
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    d.days(QDate(2024, 3, 1), QDate(2024, 3, 31));
    d.count();
    const QString sales = QDir(t.folder()).filePath(QStringLiteral("销售"));
    t.files.saveAnswers << sales;
    QTest::mouseClick(d.button("btnExcel"), Qt::LeftButton);
    QCOMPARE(t.prompter.last(), QStringLiteral("成功导出5条数据!"));
    QVERIFY(QFileInfo(sales + QStringLiteral(".xls")).size() > 0);
    const QString lines = QDir(t.folder()).filePath(QStringLiteral("明细"));
    t.files.saveAnswers << lines;
    QTest::mouseClick(d.button("btnExportDetail"), Qt::LeftButton);
    QCOMPARE(t.prompter.last(), QStringLiteral("成功导出7条数据!"));
    QVERIFY(QFileInfo(lines + QStringLiteral(".xls")).size() > 0);

    QTest::mouseClick(d.get<QRadioButton>("rbAddQuery"), Qt::LeftButton);
    d.count();
    const QString recharges = QDir(t.folder()).filePath(QStringLiteral("充值"));
    t.files.saveAnswers << recharges;
    QTest::mouseClick(d.button("btnExcel"), Qt::LeftButton);
    QCOMPARE(t.prompter.last(), QStringLiteral("成功导出4条数据!"));
}

// A list longer than a page keeps its select open while the operator looks;
// another till still writes, and the next 统计 counts what it wrote.
void TestTFTongji::anotherTillWritesWhileListsAreOpen()
{
    Shop t;
    t.db.exec(QStringLiteral(
        "INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, SaleDate, FCashAll) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
        "SELECT 1, 1, 1, 1, '2024-03-05 08:00:00', 1 FROM n"));
    t.db.exec(QStringLiteral("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, ProSalePrice, "
                             "ProShuliang) SELECT SaleID, 1, '茶', 1, 1 FROM S_Sale WHERE "
                             "SaleDate = '2024-03-05 08:00:00'"));
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    QCOMPARE(d.figures()[0], QStringLiteral("628.00"));
    QVERIFY(d.grid("DBGrid1")->rowCount() < 602); // still reading

    Database other(QStringLiteral("another till"));
    other.open(t.file());
    other.setBusyTimeout(200);
    {
        Transaction tx(other);
        const qint64 sale = other.insert(QStringLiteral(
            "INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, SaleDate, FCashAll) "
            "VALUES (1, 1, 1, 72, '2024-03-05 12:00:00', 72)"));
        other.exec(QStringLiteral("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, "
                                  "ProSalePrice, ProShuliang) VALUES (?, 1, '鱼', 36, 2)"),
                   {sale});
        tx.commit();
    }
    d.count();
    QCOMPARE(d.figures()[0], QStringLiteral("700.00"));
    QCOMPARE(d.figures()[2], QStringLiteral("606"));
    QCOMPARE(d.grid("DBGrid1")->totalRowCount(), 603);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFTongji::keyboardOnly()
{
    Shop t;
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    auto *start = d.get<QDateEdit>("DateTimePicker1");
    start->setFocus();
    start->setDate(QDate(2024, 3, 4));
    // Enter anywhere is 统计.
    QTest::keyClick(start, Qt::Key_Return);
    QCOMPARE(d.figures()[0], QStringLiteral("48.00"));
    auto *sale = d.get<QRadioButton>("rbSaleQuery");
    sale->setFocus();
    QTest::keyClick(sale, Qt::Key_Right);
    QVERIFY(d.get<QRadioButton>("rbAddQuery")->isChecked());
    QCOMPARE(d.button("btnExcel")->text(), QStringLiteral("导出充值记录"));
    QTest::keyClick(d.get<QRadioButton>("rbAddQuery"), Qt::Key_Return);
    QCOMPARE(d.figures()[5], QStringLiteral("130.00"));
}

// Names with quotes and wildcards are chosen like any other; sums beyond
// what a double holds are shown, not a crash.
void TestTFTongji::hostileNamesAndHugeAmounts()
{
    Shop t;
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('O''Neil 100%_店')"));
    t.db.exec(QStringLiteral("INSERT INTO admin (Admin_Name) VALUES ('x'' OR ''1''=''1')"));
    const qint64 sale = StatisticsFixture::AddSale(t, QStringLiteral("2024-03-05 12:00:00"), 3, 3,
                                                   1, 1e200, 1e15, 1e300, 0);
    StatisticsFixture::AddLine(t, sale, 1, QStringLiteral("金条"), 1e200, 1, 1);
    StatisticsFixture::AddLine(t, sale, 1, QStringLiteral("金山"), 1e308, 10, 1);
    TFTongji form(t.ctx);
    Show(form);
    Driver d(form);
    d.choose("cbStore", QStringLiteral("O'Neil 100%_店"));
    d.choose("cbAdmin", QStringLiteral("x' OR '1'='1"));
    d.count();
    QCOMPARE(d.grid("DBGrid1")->totalRowCount(), 1);
    QCOMPARE(d.grid("DBGrid2")->totalRowCount(), 2);
    QCOMPARE(d.figures()[1], QStringLiteral("1000000000000000"));
    QCOMPARE(d.figures()[2], QStringLiteral("11"));
    QCOMPARE(form.chartView->shown().periods.size(), 1);
    // The other shops' sales stay out.
    d.choose("cbStore", QStringLiteral("总店"));
    d.count();
    QCOMPARE(d.grid("DBGrid1")->totalRowCount(), 0);
    QCOMPARE(d.figures()[0], QStringLiteral("0"));
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFTongji::modalAndClosed()
{
    Shop t;
    bool modal = false, computed = false;
    WhenModal<TFTongji> drive([&](TFTongji *form) {
        modal = form->isModal();
        computed = form->Label5->text() == QLatin1String("28.00");
        QTest::mouseClick(FindControl<QPushButton>(form, "BitBtn2"), Qt::LeftButton);
    });
    TFTongji form(t.ctx);
    form.exec();
    QVERIFY(drive.ran());
    QVERIFY(modal);
    QVERIFY(computed);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TestTFTongji)
#include "tst_TFTongji.moc"
