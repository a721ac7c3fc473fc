#include "widgets/DataGridWidget.h"
#include "products/TFrmGoodsQuery.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>
#include <functional>

namespace
{

// The host system's database of sale mode "3": items with their barcodes and
// category rows; an item's Category holds the negated Code of its category.
QString makeHostDatabase(const QString &folder)
{
    const QString path = folder + "/host.db";
    Database host("host-fixture");
    host.openForCreate(path);
    host.exec("CREATE TABLE PType_Category (Code INTEGER, Name TEXT)");
    host.exec("CREATE TABLE PType (TypeID INTEGER, UserCode TEXT, FullName TEXT, BarCode TEXT, "
              "RetailPrice TEXT, Category INTEGER, Comment TEXT)");
    host.exec("INSERT INTO PType_Category VALUES (12, '饮料'), (13, '烘焙')");
    host.exec("INSERT INTO PType VALUES "
              "(1, 'U01', '红茶', '6930000000011', '3.5', -12, ''), "
              "(2, 'U02', '冰绿茶饮料', '6930000000028', '4', -12, ''), "
              "(3, 'U03', '茶点蛋糕', '6930000000035', '12', -13, '新品'), "
              "(4, 'U04', '可颂', '6930000000042', '8', -13, '')");
    host.close();
    return path;
}

// Adds catalogue products for the name filter: two on sale beginning with 可,
// one containing it, one not on sale.
void addColaProducts(TestDatabase &t)
{
    const QList<QVariantList> rows = {{"K-1", "可乐", 3, 2, 1},
                                      {"K-2", "可口饼", 4, 3, 1},
                                      {"K-3", "冰可乐", 3, 2, 1},
                                      {"K-4", "可可", 3, 2, 0}};
    for (const QVariantList &r : rows)
        t.db.exec("INSERT INTO Pro2 (Pro2Card, Pro2Name, Pro2PinYing, Pro2ShouJia, Pro2SortID, "
                  "Pro2BrandID, Pro2Show) VALUES (?, ?, 'K', 5, ?, ?, ?)",
                  r);
}

void setMode(TestDatabase &t, const QString &mode)
{
    t.session.settings.SaoMaYes = mode;
}

// Runs the modal search; `act` works in the open dialog. The dialog is
// closed without a pick when `act` leaves it open.
std::optional<QString> pick(TFrmGoodsQuery &dialog, const std::function<void()> &act)
{
    // The timer lives no longer than this call: when PickCode() refuses
    // without opening the dialog, it never fires into the finished call.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &dialog, [&] {
        act();
        if (dialog.isVisible())
            dialog.reject();
    });
    timer.start(0);
    return dialog.PickCode();
}

} // namespace

class TestTFrmGoodsQuery : public QObject
{
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void columnsOfTheMode_data();
    void columnsOfTheMode();
    void pickHandsBackTheCode_data();
    void pickHandsBackTheCode();
    void emptyResultPicksNothing();
    void otherModeListsNothing();
    void listsFilledOnceEachOpening();
    void hostDatabaseProblems_data();
    void hostDatabaseProblems();
    void hostTablesMissing();
};

void TestTFrmGoodsQuery::filters_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("brand");
    QTest::addColumn<QString>("codeColumn");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("1: everything on sale") << "1"
                                           << ""
                                           << ""
                                           << ""
                                           << "编码"
                                           << QStringList{"6901000000011",
                                                          "6901000000028",
                                                          "6901000000035",
                                                          "6901000000042",
                                                          "6901000000059",
                                                          "6901000000066",
                                                          "6901000000073",
                                                          "6901000000080",
                                                          "K-1",
                                                          "K-2",
                                                          "K-3"};
    QTest::newRow("1: name begins with 可") << "1"
                                            << "可"
                                            << ""
                                            << ""
                                            << "编码" << QStringList{"K-1", "K-2"};
    QTest::newRow("1: name and category") << "1"
                                          << "可"
                                          << "酒水"
                                          << ""
                                          << "编码" << QStringList{"K-1"};
    QTest::newRow("1: category and brand")
        << "1"
        << ""
        << "主食"
        << "点心"
        << "编码" << QStringList{"6901000000073", "6901000000080", "K-2"};
    QTest::newRow("1: quote finds nothing") << "1"
                                            << "可'乐"
                                            << ""
                                            << ""
                                            << "编码" << QStringList{};
    QTest::newRow("1: percent is literal") << "1"
                                           << "%"
                                           << ""
                                           << ""
                                           << "编码" << QStringList{};
    QTest::newRow("2: everything")
        << "2"
        << ""
        << ""
        << ""
        << "条码"
        << QStringList{"6920000000017", "6920000000024", "6920000000031", "6920000000048"};
    QTest::newRow("2: goods name") << "2"
                                   << "纯棉"
                                   << ""
                                   << ""
                                   << "条码" << QStringList{"6920000000017", "6920000000024"};
    QTest::newRow("2: category") << "2"
                                 << ""
                                 << "酒水"
                                 << ""
                                 << "条码" << QStringList{"6920000000048"};
    QTest::newRow("2: brand and name") << "2"
                                       << "休"
                                       << ""
                                       << "饮品"
                                       << "条码" << QStringList{"6920000000031"};
    QTest::newRow("2: quote finds nothing") << "2"
                                            << "'"
                                            << ""
                                            << ""
                                            << "条码" << QStringList{};
    QTest::newRow("3: everything")
        << "3"
        << ""
        << ""
        << ""
        << "条码"
        << QStringList{"6930000000011", "6930000000028", "6930000000035", "6930000000042"};
    QTest::newRow("3: 茶 anywhere")
        << "3"
        << "茶"
        << ""
        << ""
        << "条码" << QStringList{"6930000000011", "6930000000028", "6930000000035"};
    QTest::newRow("3: host category as brand") << "3"
                                               << "茶"
                                               << ""
                                               << "烘焙"
                                               << "条码" << QStringList{"6930000000035"};
    QTest::newRow("3: category list does not filter")
        << "3"
        << ""
        << "热菜"
        << ""
        << "条码"
        << QStringList{"6930000000011", "6930000000028", "6930000000035", "6930000000042"};
    QTest::newRow("3: quote finds nothing") << "3"
                                            << "O'"
                                            << ""
                                            << ""
                                            << "条码" << QStringList{};
}

void TestTFrmGoodsQuery::filters()
{
    QFETCH(QString, mode);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QString, brand);
    QFETCH(QString, codeColumn);
    QFETCH(QStringList, codes);
    TestDatabase t(TestDatabase::Content::Demo);
    addColaProducts(t);
    t.session.settings.HostDbPath = makeHostDatabase(t.folder());
    setMode(t, mode);
    TFrmGoodsQuery dialog(t.ctx);
    QStringList shown;
    pick(dialog, [&] {
        TypeText(dialog.edt_ProCard, name);
        if (!category.isEmpty())
            dialog.cb_ProSort->setCurrentText(category);
        if (!brand.isEmpty())
            dialog.cb_ProBrand->setCurrentText(brand);
        QCOMPARE(dialog.cb_ProSort->currentText(), category.isEmpty() ? "全部分类" : category);
        QCOMPARE(dialog.cb_ProBrand->currentText(), brand.isEmpty() ? "全部品牌" : brand);
        shown = GridColumn(dialog.DBGrid1, codeColumn);
    });
    QCOMPARE(shown, codes);
    QVERIFY2(t.prompter.messages.isEmpty(), qPrintable(t.prompter.messages.join('\n')));
}

void TestTFrmGoodsQuery::columnsOfTheMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("firstWidth");
    QTest::newRow("1") << "1" << QStringList{"序号", "编码", "产品名", "分类", "品牌"} << 30;
    QTest::newRow("2") << "2" << QStringList{"货号", "货名", "款号", "款型", "类名",
                                             "品牌", "颜色", "尺码", "条码"}
                       << 30;
    QTest::newRow("3") << "3" << QStringList{"序号", "编码", "产品名", "品牌", "条码"} << 60;
}

void TestTFrmGoodsQuery::columnsOfTheMode()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, titles);
    QFETCH(int, firstWidth);
    TestDatabase t(TestDatabase::Content::Demo);
    t.session.settings.HostDbPath = makeHostDatabase(t.folder());
    setMode(t, mode);
    TFrmGoodsQuery dialog(t.ctx);
    pick(dialog, [&] {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("产品搜索"));
        QCOMPARE(dialog.DBGrid1->titles(), titles);
        QCOMPARE(dialog.DBGrid1->columnWidth(0), firstWidth);
        for (int i = 1; i < titles.size(); ++i)
            QCOMPARE(dialog.DBGrid1->columnWidth(i), 80);
        QCOMPARE(dialog.DBGrid1->horizontalHeader()->defaultAlignment(), Qt::AlignCenter);
        // A filter keeps the columns.
        TypeText(dialog.edt_ProCard, "x");
        QCOMPARE(dialog.DBGrid1->columnWidth(0), firstWidth);
    });
}

void TestTFrmGoodsQuery::pickHandsBackTheCode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::newRow("1: the product code") << "1"
                                         << "水煮"
                                         << "6901000000028";
    QTest::newRow("2: the barcode") << "2"
                                    << "保温"
                                    << "6920000000048";
    QTest::newRow("3: the host barcode") << "3"
                                         << "可颂"
                                         << "6930000000042";
}

void TestTFrmGoodsQuery::pickHandsBackTheCode()
{
    QFETCH(QString, mode);
    QFETCH(QString, name);
    QFETCH(QString, code);
    TestDatabase t(TestDatabase::Content::Demo);
    t.session.settings.HostDbPath = makeHostDatabase(t.folder());
    setMode(t, mode);
    TFrmGoodsQuery dialog(t.ctx);
    bool closedByPick = false;
    const std::optional<QString> picked = pick(dialog, [&] {
        TypeText(dialog.edt_ProCard, name);
        QCOMPARE(dialog.DBGrid1->rowCount(), 1);
        DoubleClickRow(dialog.DBGrid1, 0);
        closedByPick = !dialog.isVisible();
    });
    QVERIFY(closedByPick);
    QCOMPARE(picked, std::optional<QString>(code));
    // Closing empties the filters and the lists.
    QVERIFY(dialog.edt_ProCard->text().isEmpty());
    QCOMPARE(dialog.cb_ProSort->count(), 0);
    QCOMPARE(dialog.cb_ProBrand->count(), 0);

    // Closed without a pick: nothing.
    QCOMPARE(pick(dialog, [] {}), std::nullopt);
}

void TestTFrmGoodsQuery::emptyResultPicksNothing()
{
    TestDatabase t(TestDatabase::Content::Demo);
    setMode(t, "1");
    TFrmGoodsQuery dialog(t.ctx);
    bool stillOpen = false;
    const std::optional<QString> picked = pick(dialog, [&] {
        TypeText(dialog.edt_ProCard, "没有");
        QCOMPARE(dialog.DBGrid1->rowCount(), 0);
        dialog.DBGrid1DblClick();
        stillOpen = dialog.isVisible();
    });
    QVERIFY(stillOpen);
    QCOMPARE(picked, std::nullopt);
}

void TestTFrmGoodsQuery::otherModeListsNothing()
{
    TestDatabase t(TestDatabase::Content::Demo);
    setMode(t, "0");
    TFrmGoodsQuery dialog(t.ctx);
    int rows = -1;
    const std::optional<QString> picked = pick(dialog, [&] {
        rows = dialog.DBGrid1->rowCount();
        TypeText(dialog.edt_ProCard, "鱼");
        rows += dialog.DBGrid1->rowCount();
    });
    QCOMPARE(rows, 0);
    QCOMPARE(picked, std::nullopt);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFrmGoodsQuery::listsFilledOnceEachOpening()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.session.settings.HostDbPath = makeHostDatabase(t.folder());
    t.db.exec("UPDATE SL_ProSort SET ProSortShow = '0' WHERE ProSortName = '主食'");
    TFrmGoodsQuery dialog(t.ctx);
    for (const QString mode : {"1", "1", "3"}) {
        setMode(t, mode);
        QStringList sorts, brands;
        pick(dialog, [&] {
            for (int i = 0; i < dialog.cb_ProSort->count(); ++i)
                sorts << dialog.cb_ProSort->itemText(i);
            for (int i = 0; i < dialog.cb_ProBrand->count(); ++i)
                brands << dialog.cb_ProBrand->itemText(i);
        });
        // Every category, shown or not, in table order.
        QCOMPARE(sorts, QStringList({"全部分类", "热菜", "凉菜", "酒水", "主食"}));
        QCOMPARE(brands, mode == QLatin1String("3")
                             ? QStringList({"全部品牌", "饮料", "烘焙"})
                             : QStringList({"全部品牌", "招牌菜", "饮品", "点心"}));
    }
}

void TestTFrmGoodsQuery::hostDatabaseProblems_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("not set") << ""
                             << ""
                             << "没有设置第三方软件的数据库文件";
    QTest::newRow("missing") << "missing.db"
                             << ""
                             << "找不到或无法读取第三方软件的数据库文件";
    QTest::newRow("not a database") << "notes.txt"
                                    << "这不是数据库，只是一段文字。"
                                    << "文件不是可以读取的第三方软件数据库";
}

void TestTFrmGoodsQuery::hostDatabaseProblems()
{
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, message);
    TestDatabase t(TestDatabase::Content::Demo);
    setMode(t, "3");
    if (!file.isEmpty()) {
        t.session.settings.HostDbPath = t.folder() + "/" + file;
        if (!content.isEmpty()) {
            QFile f(t.session.settings.HostDbPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.repeated(200).toUtf8());
        }
    }
    TFrmGoodsQuery dialog(t.ctx);
    bool opened = false;
    const std::optional<QString> picked = pick(dialog, [&] { opened = true; });
    QVERIFY(!opened);
    QCOMPARE(picked, std::nullopt);
    QCOMPARE(t.prompter.messages.size(), 1);
    QVERIFY2(t.prompter.messages.first().startsWith(message),
             qPrintable(t.prompter.messages.first()));
    // Once the file is set right, the next opening works.
    t.prompter.clear();
    t.session.settings.HostDbPath = makeHostDatabase(t.folder());
    int rows = 0;
    pick(dialog, [&] { rows = dialog.DBGrid1->rowCount(); });
    QCOMPARE(rows, 4);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFrmGoodsQuery::hostTablesMissing()
{
    TestDatabase t(TestDatabase::Content::Demo);
    setMode(t, "3");
    // A database, but not the host's: the statements fail and say so.
    t.session.settings.HostDbPath = t.file();
    TFrmGoodsQuery dialog(t.ctx);
    int rows = -1;
    pick(dialog, [&] {
        rows = dialog.DBGrid1->rowCount();
        TypeText(dialog.edt_ProCard, "茶");
    });
    QCOMPARE(rows, 0);
    QVERIFY(!t.prompter.messages.isEmpty());
    for (const QString &m : t.prompter.messages)
        QVERIFY2(m.startsWith("错误:") && m.contains("PType", Qt::CaseInsensitive), qPrintable(m));
}

QTEST_MAIN(TestTFrmGoodsQuery)
#include "tst_TFrmGoodsQuery.moc"
