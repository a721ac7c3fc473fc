#include "app/TMain.h"
#include "widgets/DataGridWidget.h"
#include "products/TFPro2.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace
{

// Products added to the demo catalogue for the searches: code, name, pinyin,
// category id, brand id, special, on sale.
void addSearchProducts(TestDatabase &t)
{
    const QList<QVariantList> rows = {
        {"A-100", "小葱拌豆腐", "XABY", 2, 1, 0, 1}, // 凉菜, 招牌菜
        {"A-200", "烤鸭", "ABC", 1, 1, 0, 1},        // 热菜
        {"A-300", "停售菜", "TSABC", 1, 1, 1, 0},    // special, not on sale
        {"A-400", "满100减50%", "MJ", 4, 3, 0, 1},
    };
    for (const QVariantList &r : rows)
        t.db.exec("INSERT INTO Pro2 (Pro2Card, Pro2Name, Pro2PinYing, Pro2ShouJia, Pro2SortID, "
                  "Pro2BrandID, Pro2TejiaYes, Pro2Show) VALUES (?, ?, ?, 10, ?, ?, ?, ?)",
                  r);
}

QStringList codesWhere(TestDatabase &t, const QString &condition)
{
    QStringList out;
    QSqlQuery q = t.db.exec("SELECT Pro2Card FROM Pro2 WHERE " + condition + " ORDER BY Pro2ID");
    while (q.next())
        out << q.value(0).toString();
    return out;
}

int rowOf(DataGridWidget *grid, const QString &code)
{
    return GridColumn(grid, "编码").indexOf(code);
}

void type(QLineEdit *edit, const QString &text)
{
    edit->clear();
    TypeText(edit, text);
}

bool browsing(TFPro2 &f)
{
    return f.BtnAppend->isVisible() && f.BtnModify->isVisible() && !f.BitBtn7->isVisible() &&
           !f.BitBtn8->isVisible() && !f.BtnCancelModify->isVisible() && !f.BtnPost->isVisible() &&
           !f.Edit2->isEnabled() && !f.ComboBox3->isEnabled() && !f.CheckBox3->isEnabled();
}

// Fills the fields of a product the way the operator types them.
void fillValid(TFPro2 &f, const QString &code)
{
    f.ComboBox3->setCurrentText("凉菜");
    f.ComboBox4->setCurrentText("饮品");
    f.ComboBox5->setCurrentText("瓶");
    type(f.Edit2, code);
    type(f.Edit3, "酸梅汤");
    type(f.Edit4, "SMT");
    type(f.Edit5, "");
    type(f.Edit6, "12.5");
    type(f.Edit7, "");
    type(f.Edit8, "西安");
    type(f.Edit9, "冰镇");
}

} // namespace

class TestTFPro2 : public QObject
{
    Q_OBJECT
private slots:
    void opensBrowsingProductsOnSale();
    void listing_data();
    void listing();
    void addStoresProductAndStaysAdding();
    void addRefusals_data();
    void addRefusals();
    void notOnSaleProductHiddenAfterAdd();
    void quoteStoredFullWidth();
    void emptyLookupTablesStoreZero();
    void priceKeysFiltered_data();
    void priceKeysFiltered();
    void cellClickLoadsProduct();
    void modifyChangesExactlyTheLoadedProduct();
    void modifyCodeRules_data();
    void modifyCodeRules();
    void modifyKeepsTheListShown();
    void modifyWithoutRowDoesNothing();
    void exportWritesTheListShown();
    void mainWindowOpensCatalogueInScanMode();
};

void TestTFPro2::opensBrowsingProductsOnSale()
{
    TestDatabase t(TestDatabase::Content::Demo);
    addSearchProducts(t);
    TFPro2 f(t.ctx);
    f.show();
    QCOMPARE(f.windowTitle(), QStringLiteral("产品管理"));
    QVERIFY(browsing(f));
    QVERIFY(!f.BtnDelete->isVisible());
    QVERIFY(f.btnExcel->isVisible());
    QCOMPARE(GridColumn(f.DBGrid1, "编码"), codesWhere(t, "Pro2Show = 1"));
    QCOMPARE(f.DBGrid1->titles(), QStringList({"序号", "编码", "产品名", "分类", "品牌", "单位",
                                               "零售价", "批发价", "是否特价", "是否销售"}));
    QCOMPARE(f.DBGrid1->columnWidth(2), 230);
    QCOMPARE(f.DBGrid1->columnWidth(5), 38);
    QVERIFY(f.LSql->text().contains(" where Pro2Show=1 "));
    QCOMPARE(f.ComboBox1->itemText(0), QStringLiteral("全部分类"));
    QCOMPARE(f.ComboBox1->count(), 5); // 全部分类 + four shown categories, by their order
    QCOMPARE(f.ComboBox1->itemText(1), QStringLiteral("热菜"));
    QCOMPARE(f.ComboBox2->itemText(0), QStringLiteral("全部品牌"));
    QCOMPARE(f.ComboBox5->itemText(0), QStringLiteral("个"));
    QCOMPARE(f.ComboBox6->currentText(), QStringLiteral("产品名"));
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFPro2::listing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("brand");
    QTest::addColumn<bool>("includeNotOnSale");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("pinyin anywhere, lower case") << "BtnFind"
                                                 << "拼音首字母"
                                                 << "ab"
                                                 << ""
                                                 << "" << false << QStringList{"A-100", "A-200"};
    QTest::newRow("pinyin with not on sale")
        << "BtnFind"
        << "拼音首字母"
        << "ab"
        << ""
        << "" << true << QStringList{"A-100", "A-200", "A-300"};
    QTest::newRow("pinyin and category") << "BtnFind"
                                         << "拼音首字母"
                                         << "ab"
                                         << "热菜"
                                         << "" << false << QStringList{"A-200"};
    QTest::newRow("name part") << "BtnFind"
                               << "产品名"
                               << "鱼"
                               << ""
                               << "" << false << QStringList{"6901000000028"};
    QTest::newRow("code part") << "BtnFind"
                               << "编码"
                               << "000000035"
                               << ""
                               << "" << false << QStringList{"6901000000035"};
    QTest::newRow("brand only") << "BtnFind"
                                << "产品名"
                                << ""
                                << ""
                                << "饮品" << false << QStringList{"6901000000059", "6901000000066"};
    QTest::newRow("category and brand")
        << "BtnFind"
        << "产品名"
        << ""
        << "主食"
        << "点心" << false << QStringList{"6901000000073", "6901000000080", "A-400"};
    QTest::newRow("percent is literal") << "BtnFind"
                                        << "产品名"
                                        << "0%"
                                        << ""
                                        << "" << false << QStringList{"A-400"};
    QTest::newRow("underscore is literal") << "BtnFind"
                                           << "编码"
                                           << "_"
                                           << ""
                                           << "" << false << QStringList{};
    QTest::newRow("all on sale") << "BtnAll"
                                 << ""
                                 << ""
                                 << ""
                                 << "" << false
                                 << QStringList{"6901000000011", "6901000000028", "6901000000035",
                                                "6901000000042", "6901000000059", "6901000000066",
                                                "6901000000073", "6901000000080", "A-100",
                                                "A-200",         "A-400"};
    QTest::newRow("all with not on sale")
        << "BtnAll"
        << ""
        << ""
        << ""
        << "" << true
        << QStringList{"6901000000011", "6901000000028", "6901000000035", "6901000000042",
                       "6901000000059", "6901000000066", "6901000000073", "6901000000080",
                       "A-100",         "A-200",         "A-300",         "A-400"};
    QTest::newRow("special, on sale or not")
        << "BtnSpecialPrice"
        << ""
        << ""
        << ""
        << "" << false << QStringList{"6901000000042", "6901000000080", "A-300"};
}

void TestTFPro2::listing()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, keyword);
    QFETCH(QString, category);
    QFETCH(QString, brand);
    QFETCH(bool, includeNotOnSale);
    QFETCH(QStringList, codes);
    TestDatabase t(TestDatabase::Content::Demo);
    addSearchProducts(t);
    TFPro2 f(t.ctx);
    f.show();
    // Start in adding mode: every list returns to browsing.
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    if (!field.isEmpty())
        f.ComboBox6->setCurrentText(field);
    TypeText(f.Edit1, keyword);
    if (!category.isEmpty())
        f.ComboBox1->setCurrentText(category);
    if (!brand.isEmpty())
        f.ComboBox2->setCurrentText(brand);
    f.CheckBox1->setChecked(includeNotOnSale);
    QTest::mouseClick(f.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(GridColumn(f.DBGrid1, "编码"), codes);
    QVERIFY(browsing(f));
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFPro2::addStoresProductAndStaysAdding()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TFPro2 f(t.ctx);
    f.show();
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    QVERIFY(f.Edit2->isEnabled());
    QVERIFY(f.BitBtn7->isVisible() && f.BitBtn8->isVisible());
    QVERIFY(!f.BtnAppend->isVisible() && !f.BtnModify->isVisible());
    QVERIFY(f.CheckBox3->isChecked());
    fillValid(f, " SMT-01 ");
    f.CheckBox2->setChecked(true);
    QTest::mouseClick(f.BitBtn7, Qt::LeftButton);

    QCOMPARE(t.prompter.messages,
             QStringList{"添加成功！暂不销售的产品，只有选中上面的选择框才能显示。"});
    QSqlQuery q = t.db.exec("SELECT Pro2Name, Pro2PinYing, Pro2JinJia, Pro2ShouJia, Pro2PifaJia, "
                            "Pro2Chandi, Pro2Other, Pro2TejiaYes, Pro2Show, Pro2SortID, "
                            "Pro2BrandID, Pro2DanweiID FROM Pro2 WHERE Pro2Card = 'SMT-01'");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("酸梅汤"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("SMT"));
    QVERIFY(q.value(2).isNull()); // empty purchase price stays empty
    QCOMPARE(q.value(3).toDouble(), 12.5);
    QVERIFY(q.value(4).isNull());
    QCOMPARE(q.value(5).toString(), QStringLiteral("西安"));
    QCOMPARE(q.value(6).toString(), QStringLiteral("冰镇"));
    QCOMPARE(q.value(7).toInt(), 1);
    QCOMPARE(q.value(8).toInt(), 1);
    QCOMPARE(q.value(9).toInt(),
             t.value("SELECT ProSortID FROM SL_ProSort WHERE ProSortName='凉菜'").toInt());
    QCOMPARE(q.value(10).toInt(),
             t.value("SELECT BrandID FROM SL_Brand WHERE BrandName='饮品'").toInt());
    QCOMPARE(q.value(11).toInt(),
             t.value("SELECT DanweiID FROM SL_Danwei WHERE DanweiName='瓶'").toInt());

    // Still adding, with blank fields; the new product is listed.
    QVERIFY(f.BitBtn7->isVisible() && f.Edit2->isEnabled());
    QVERIFY(f.Edit2->text().isEmpty() && f.Edit6->text().isEmpty());
    QVERIFY(!f.CheckBox2->isChecked() && f.CheckBox3->isChecked());
    QVERIFY(rowOf(f.DBGrid1, "SMT-01") >= 0);

    // 取消添加 returns to browsing and leaves the fields as they are.
    type(f.Edit3, "留着");
    QTest::mouseClick(f.BitBtn8, Qt::LeftButton);
    QVERIFY(browsing(f));
    QCOMPARE(f.Edit3->text(), QStringLiteral("留着"));
}

void TestTFPro2::addRefusals_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("empty code") << "Edit2"
                                << "   "
                                << "编码不能为空！"
                                << "Edit2";
    QTest::newRow("empty name") << "Edit3"
                                << ""
                                << "产品名不能为空！"
                                << "Edit3";
    QTest::newRow("empty pinyin") << "Edit4"
                                  << " "
                                  << "拼音首字母不能为空！"
                                  << "Edit4";
    QTest::newRow("empty retail price") << "Edit6"
                                        << ""
                                        << "零售价不能为空！"
                                        << "Edit6";
    QTest::newRow("code taken") << "Edit2"
                                << "6901000000011"
                                << "此产品编码已经存在，不能重复，请换一个试试！"
                                << "Edit2";
    QTest::newRow("code taken, blanks around") << "Edit2"
                                               << " 6901000000011 "
                                               << "此产品编码已经存在，不能重复，请换一个试试！"
                                               << "Edit2";
    QTest::newRow("lone point retail") << "Edit6"
                                       << "."
                                       << "零售价必须是数字，请重新输入！"
                                       << "Edit6";
    QTest::newRow("lone point purchase") << "Edit5"
                                         << "."
                                         << "进货价必须是数字，请重新输入！"
                                         << "Edit5";
    QTest::newRow("two points wholesale") << "Edit7"
                                          << "1.2.3"
                                          << "批发价必须是数字，请重新输入！"
                                          << "Edit7";
}

void TestTFPro2::addRefusals()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t(TestDatabase::Content::Demo);
    const int before = t.value("SELECT count(*) FROM Pro2").toInt();
    TFPro2 f(t.ctx);
    f.show();
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    fillValid(f, "NEW-1");
    // setText: the key filter would drop the points typed into price fields.
    f.findChild<QLineEdit *>(control)->setText(text);
    QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{message});
    QCOMPARE(f.focusWidget()->objectName(), focus);
    QCOMPARE(t.value("SELECT count(*) FROM Pro2").toInt(), before);
    // The mode and the fields stay.
    QVERIFY(f.BitBtn7->isVisible());
    QCOMPARE(f.findChild<QLineEdit *>(control)->text(), text);
    QCOMPARE(f.Edit8->text(), QStringLiteral("西安"));
}

void TestTFPro2::notOnSaleProductHiddenAfterAdd()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TFPro2 f(t.ctx);
    f.show();
    for (bool include : {false, true}) {
        f.CheckBox1->setChecked(include);
        QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
        const QString code = include ? "HIDE-2" : "HIDE-1";
        fillValid(f, code);
        f.CheckBox3->setChecked(false);
        QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
        QCOMPARE(t.value("SELECT Pro2Show FROM Pro2 WHERE Pro2Card = ?", {code}).toInt(), 0);
        QCOMPARE(rowOf(f.DBGrid1, code) >= 0, include);
    }
}

void TestTFPro2::quoteStoredFullWidth()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TFPro2 f(t.ctx);
    f.show();
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    fillValid(f, "Q'1");
    type(f.Edit3, "O'Neil's 汉堡");
    QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
    QCOMPARE(t.value("SELECT Pro2Name FROM Pro2 WHERE Pro2Card = ?", {"Q’1"}).toString(),
             QStringLiteral("O’Neil’s 汉堡"));
    // Found by the same text typed with an ASCII quote.
    TypeText(f.Edit1, "O'Neil");
    QTest::mouseClick(f.BtnFind, Qt::LeftButton);
    QCOMPARE(GridColumn(f.DBGrid1, "产品名"), QStringList{"O’Neil’s 汉堡"});
    // A second add with the code typed the same way is a duplicate.
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    fillValid(f, "Q'1");
    QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
    QCOMPARE(t.prompter.last(), QStringLiteral("此产品编码已经存在，不能重复，请换一个试试！"));
}

void TestTFPro2::emptyLookupTablesStoreZero()
{
    TestDatabase t; // no categories or brands
    t.db.exec("DELETE FROM SL_Danwei");
    TFPro2 f(t.ctx);
    f.show();
    QCOMPARE(f.ComboBox3->count(), 0);
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    type(f.Edit2, "Z1");
    type(f.Edit3, "无分类");
    type(f.Edit4, "WFL");
    type(f.Edit6, "3");
    QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
    QSqlQuery q = t.db.exec("SELECT Pro2SortID, Pro2BrandID, Pro2DanweiID FROM Pro2");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QCOMPARE(q.value(1).toInt(), 0);
    QCOMPARE(q.value(2).toInt(), 0);
}

void TestTFPro2::priceKeysFiltered_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("letters dropped") << "1a2b"
                                     << "12";
    QTest::newRow("one point only") << "12.3.4"
                                    << "12.34";
    QTest::newRow("minus and blank dropped") << "-5 0"
                                             << "50";
    QTest::newRow("full-width digits dropped") << "１2"
                                               << "2";
}

void TestTFPro2::priceKeysFiltered()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestDatabase t;
    TFPro2 f(t.ctx);
    f.show();
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    for (QLineEdit *e : {f.Edit5, f.Edit6, f.Edit7}) {
        TypeText(e, typed);
        QCOMPARE(e->text(), kept);
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), kept.chopped(1));
    }
    TypeText(f.Edit3, typed);
    QCOMPARE(f.Edit3->text(), typed); // other fields take any text
}

void TestTFPro2::cellClickLoadsProduct()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.db.exec(
        "UPDATE Pro2 SET Pro2PifaJia = NULL, Pro2Other = '辣' WHERE Pro2Card = '6901000000028'");
    TFPro2 f(t.ctx);
    f.show();
    QTest::mouseClick(f.BtnAppend, Qt::LeftButton);
    ClickRow(f.DBGrid1, rowOf(f.DBGrid1, "6901000000028"));
    QVERIFY(browsing(f));
    QCOMPARE(f.ComboBox3->currentText(), QStringLiteral("热菜"));
    QCOMPARE(f.ComboBox4->currentText(), QStringLiteral("招牌菜"));
    QCOMPARE(f.ComboBox5->currentText(), QStringLiteral("份"));
    QCOMPARE(f.Edit2->text(), QStringLiteral("6901000000028"));
    QCOMPARE(f.Edit3->text(), QStringLiteral("水煮鱼"));
    QCOMPARE(f.Edit5->text(), QStringLiteral("30"));
    QCOMPARE(f.Edit6->text(), QStringLiteral("68"));
    QCOMPARE(f.Edit7->text(), QString());
    QCOMPARE(f.Edit9->text(), QStringLiteral("辣"));
    QVERIFY(!f.CheckBox2->isChecked());
    QVERIFY(f.CheckBox3->isChecked());

    // A category hidden from the lists: no entry selected.
    t.db.exec("UPDATE SL_ProSort SET ProSortShow = '0' WHERE ProSortName = '凉菜'");
    TFPro2 g(t.ctx);
    g.show();
    ClickRow(g.DBGrid1, rowOf(g.DBGrid1, "6901000000042"));
    QCOMPARE(g.ComboBox3->currentIndex(), -1);
    QVERIFY(g.CheckBox2->isChecked());
}

void TestTFPro2::modifyChangesExactlyTheLoadedProduct()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TFPro2 f(t.ctx);
    f.show();
    const int fish = rowOf(f.DBGrid1, "6901000000028");
    f.DBGrid1->selectRow(fish);
    QTest::mouseClick(f.BtnModify, Qt::LeftButton);
    QVERIFY(f.BtnPost->isVisible() && f.BtnCancelModify->isVisible());
    QVERIFY(!f.BtnAppend->isVisible() && !f.BtnModify->isVisible());
    QVERIFY(f.Edit2->isEnabled());
    QCOMPARE(f.Edit3->text(), QStringLiteral("水煮鱼"));

    // The grid's current row moves (keyboard), the loaded product stays the target.
    f.DBGrid1->selectRow(rowOf(f.DBGrid1, "6901000000011"));
    type(f.Edit3, "酸菜鱼");
    type(f.Edit6, "72");
    f.CheckBox2->setChecked(true);
    f.ComboBox4->setCurrentText("点心");
    QTest::mouseClick(f.BtnPost, Qt::LeftButton);

    QCOMPARE(t.prompter.messages, QStringList{"修改成功！"});
    QSqlQuery q = t.db.exec("SELECT Pro2Name, Pro2ShouJia, Pro2TejiaYes, Pro2BrandID, Pro2JinJia "
                            "FROM Pro2 WHERE Pro2Card = '6901000000028'");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("酸菜鱼"));
    QCOMPARE(q.value(1).toDouble(), 72.0);
    QCOMPARE(q.value(2).toInt(), 1);
    QCOMPARE(q.value(3).toInt(), 3);
    QCOMPARE(q.value(4).toDouble(), 30.0);
    QCOMPARE(t.value("SELECT Pro2Name FROM Pro2 WHERE Pro2Card = '6901000000011'").toString(),
             QStringLiteral("宫保鸡丁"));
    QVERIFY(browsing(f));
    QVERIFY(!f.modifyingId());
}

void TestTFPro2::modifyCodeRules_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("own code kept") << "6901000000028"
                                   << "修改成功！";
    QTest::newRow("new code") << "6901000000999"
                              << "修改成功！";
    QTest::newRow("another product's code") << "6901000000011"
                                            << "这个编码已经存在，不能为重复，请换一个！";
    QTest::newRow("empty code") << ""
                                << "编码不能为空！";
}

void TestTFPro2::modifyCodeRules()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    TestDatabase t(TestDatabase::Content::Demo);
    const qint64 id =
        t.value("SELECT Pro2ID FROM Pro2 WHERE Pro2Card = '6901000000028'").toLongLong();
    TFPro2 f(t.ctx);
    f.show();
    f.DBGrid1->selectRow(rowOf(f.DBGrid1, "6901000000028"));
    QTest::mouseClick(f.BtnModify, Qt::LeftButton);
    type(f.Edit2, code);
    QTest::mouseClick(f.BtnPost, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{message});
    const bool stored = message == QStringLiteral("修改成功！");
    QCOMPARE(t.value("SELECT Pro2Card FROM Pro2 WHERE Pro2ID = ?", {id}).toString(),
             stored ? code : QStringLiteral("6901000000028"));
    QCOMPARE(t.value("SELECT count(*) FROM Pro2 WHERE Pro2Card = '6901000000011'").toInt(), 1);
    // A refused modification stays in modifying with the typed fields.
    QCOMPARE(f.BtnPost->isVisible(), !stored);
    if (!stored) {
        QCOMPARE(f.focusWidget(), f.Edit2);
        QCOMPARE(f.Edit2->text(), code);
    }
}

void TestTFPro2::modifyKeepsTheListShown()
{
    TestDatabase t(TestDatabase::Content::Demo);
    addSearchProducts(t);
    TFPro2 f(t.ctx);
    f.show();
    QTest::mouseClick(f.BtnSpecialPrice, Qt::LeftButton);
    const QString special = f.LSql->text();
    f.DBGrid1->selectRow(rowOf(f.DBGrid1, "A-300"));
    QTest::mouseClick(f.BtnModify, Qt::LeftButton);
    QVERIFY(!f.CheckBox3->isChecked()); // not on sale, as stored
    type(f.Edit3, "停售菜2");
    QTest::mouseClick(f.BtnPost, Qt::LeftButton);
    QCOMPARE(f.LSql->text(), special);
    QCOMPARE(GridColumn(f.DBGrid1, "编码"),
             QStringList({"6901000000042", "6901000000080", "A-300"}));
    QCOMPARE(GridColumn(f.DBGrid1, "产品名").last(), QStringLiteral("停售菜2"));
    // 取消修改 writes nothing.
    f.DBGrid1->selectRow(0);
    QTest::mouseClick(f.BtnModify, Qt::LeftButton);
    type(f.Edit3, "不保存");
    QTest::mouseClick(f.BtnCancelModify, Qt::LeftButton);
    QVERIFY(browsing(f));
    QCOMPARE(t.value("SELECT count(*) FROM Pro2 WHERE Pro2Name = '不保存'").toInt(), 0);
}

void TestTFPro2::modifyWithoutRowDoesNothing()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TFPro2 f(t.ctx);
    f.show();
    TypeText(f.Edit1, "没有这个产品");
    QTest::mouseClick(f.BtnFind, Qt::LeftButton);
    QCOMPARE(f.DBGrid1->rowCount(), 0);
    QTest::mouseClick(f.BtnModify, Qt::LeftButton);
    QVERIFY(browsing(f));
    QVERIFY(!f.modifyingId());
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTFPro2::exportWritesTheListShown()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TFPro2 f(t.ctx);
    f.show();
    QTest::mouseClick(f.BtnSpecialPrice, Qt::LeftButton);
    const QString name = t.folder() + "/特价产品";
    t.files.saveAnswers.enqueue(name);
    QTest::mouseClick(f.btnExcel, Qt::LeftButton);
    QVERIFY(QFileInfo(name + ".xls").size() > 0);
    QCOMPARE(t.prompter.messages, QStringList{"成功导出2条数据!"});
}

void TestTFPro2::mainWindowOpensCatalogueInScanMode()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    TMain main(t.ctx);
    // Not in scan mode: refused before any window opens.
    main.BtnProductsClick();
    QCOMPARE(t.prompter.messages.size(), 1);
    QVERIFY(!QApplication::activeModalWidget());

    t.db.exec("UPDATE DataSeting SET SaoMaYes = '1'");
    QString opened;
    int rows = -1;
    QTimer::singleShot(0, &main, [&] {
        if (auto *form = qobject_cast<TFPro2 *>(QApplication::activeModalWidget())) {
            opened = form->windowTitle();
            rows = form->DBGrid1->rowCount();
            form->reject();
        }
    });
    main.BtnProductsClick();
    QCOMPARE(opened, QStringLiteral("产品管理"));
    QCOMPARE(rows, 8);
    QCOMPARE(t.prompter.messages.size(), 1);
}

QTEST_MAIN(TestTFPro2)
#include "tst_TFPro2.moc"
