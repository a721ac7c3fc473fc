// The settings dialog driven through its controls: every setting, every
// list page and the rules that read them.

#include "app/Login.h"
#include "app/MainRules.h"
#include "settings/TOptionForm.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlTableModel>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

namespace
{

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    edit->del();
    TypeText(edit, text);
}

QToolButton *navButton(TOptionForm &form, int list, const char *name)
{
    auto *bar = form.findChild<QWidget *>(QStringLiteral("DBNavigator%1").arg(list));
    return bar ? bar->findChild<QToolButton *>(QString::fromLatin1(name)) : nullptr;
}

// Clicks a check box or radio button on its caption (the widget may be wider
// than its caption in the page's layout).
void clickOption(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void clickNav(TOptionForm &form, int list, const char *name)
{
    QToolButton *b = navButton(form, list, name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
}

// The cell editor the grid has open (closed editors linger hidden until deleted).
QLineEdit *cellEditor(QTableView *grid)
{
    for (QLineEdit *e : grid->viewport()->findChildren<QLineEdit *>())
        if (!e->isHidden())
            return e;
    return nullptr;
}

void typeInCell(QTableView *grid, const QString &text)
{
    QLineEdit *editor = cellEditor(grid);
    QVERIFY(editor);
    editor->selectAll();
    TypeText(editor, text);
}

QStringList visibleTitles(QTableView *grid)
{
    QStringList titles;
    QHeaderView *header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!grid->isColumnHidden(logical))
            titles << grid->model()->headerData(logical, Qt::Horizontal).toString();
    }
    return titles;
}

QList<int> visibleWidths(QTableView *grid)
{
    QList<int> widths;
    QHeaderView *header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!grid->isColumnHidden(logical))
            widths << grid->columnWidth(logical);
    }
    return widths;
}

} // namespace

class TestTOptionForm : public QObject
{
    Q_OBJECT
private slots:
    void pagesInOrder();
    void showFillsFromSettingsRow();
    void basicSettingsSaved();
    void saleModeTakesEffect_data();
    void saleModeTakesEffect();
    void basicRefusals_data();
    void basicRefusals();
    void keyFilters();
    void printSettingsSaved();
    void listColumns_data();
    void listColumns();
    void listInsertAndEdit_data();
    void listInsertAndEdit();
    void listCancelAndRowChange();
    void newOperatorLogsInButIsNoAdministrator();
};

void TestTOptionForm::pagesInOrder()
{
    TestDatabase t;
    TOptionForm form(t.ctx);
    form.show();
    QCOMPARE(form.windowTitle(), QString("设置"));
    QStringList titles;
    for (int i = 0; i < form.PageControl1->count(); ++i)
        titles << form.PageControl1->tabText(i);
    QCOMPARE(titles, (QStringList{"操作员管理", "导购管理", "店名管理", "品牌管理", "分类管理",
                                  "基本设置", "折扣管理", "打印设置"}));
    // First 打印设置, afterwards the page last used.
    QCOMPARE(form.PageControl1->currentIndex(), 7);
    form.PageControl1->setCurrentIndex(2);
    form.hide();
    form.show();
    QCOMPARE(form.PageControl1->currentIndex(), 2);
    // The lists can be added to and changed, never deleted from.
    for (int list = 1; list <= 6; ++list) {
        auto *bar = form.findChild<QWidget *>(QStringLiteral("DBNavigator%1").arg(list));
        QVERIFY(bar);
        QStringList names;
        for (QToolButton *b : bar->findChildren<QToolButton *>())
            names << b->objectName();
        QCOMPARE(names, (QStringList{"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbEdit",
                                     "nbPost", "nbCancel", "nbRefresh"}));
    }
}

void TestTOptionForm::showFillsFromSettingsRow()
{
    TestDatabase t;
    t.db.exec("UPDATE DataSeting SET CashSeting = 300, JifenSeting = 7, JifenModiYesOrNo = 1, "
              "JinEModiYesOrNo = 0, PrintYesOrNo = 1, PrintBig = 2, Biaoti = '百纳', "
              "piaowei3 = '再见', SaoMaYes = '2', FEnabledCard = 1, FFloatNum = 1, "
              "FPrintCount = 4, FHostDbPath = '/data/host.db'");
    t.session.settings.load(t.db);
    TOptionForm form(t.ctx);
    form.show();
    QCOMPARE(form.Edit1->text(), QString("300"));
    QCOMPARE(form.Edit2->text(), QString("7"));
    QVERIFY(form.RadioButton1->isChecked());
    QVERIFY(form.RadioButton4->isChecked());
    QVERIFY(form.CheckBox1->isChecked());
    QVERIFY(form.edt_PrintCount->isVisibleTo(&form));
    QCOMPARE(form.edt_PrintCount->text(), QString("4"));
    QVERIFY(form.RadioButton6->isChecked());
    QCOMPARE(form.biaoti->text(), QString("百纳"));
    QCOMPARE(form.piaowei3->text(), QString("再见"));
    QVERIFY(form.CheckBox2->isChecked());
    QVERIFY(!form.GroupBox6->isHidden()); // on a page not in front
    QVERIFY(form.rbTwoFunc->isChecked());
    QVERIFY(form.chk_EnabledCardPwd->isChecked());
    QCOMPARE(form.edtFloatNum->text(), QString("1"));
    QCOMPARE(form.edtHostDbPath->text(), QString("/data/host.db"));

    // Page 基本设置 shown again reads the stored mode afresh.
    form.PageControl1->setCurrentIndex(5);
    clickOption(form.CheckBox2);
    QVERIFY(!form.CheckBox2->isChecked());
    QVERIFY(!form.GroupBox6->isVisibleTo(&form));
    form.PageControl1->setCurrentIndex(0);
    form.PageControl1->setCurrentIndex(5);
    QVERIFY(form.CheckBox2->isChecked());
    QVERIFY(form.rbTwoFunc->isChecked());
}

void TestTOptionForm::basicSettingsSaved()
{
    TestDatabase t;
    TOptionForm form(t.ctx);
    form.show();
    form.PageControl1->setCurrentIndex(5);
    retype(form.Edit1, "500");
    retype(form.Edit2, "20");
    clickOption(form.RadioButton1);
    clickOption(form.RadioButton4);
    retype(form.edtFloatNum, "0");
    clickOption(form.chk_EnabledCardPwd);
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{"设置成功!"});

    QSqlQuery q = t.db.exec("SELECT CashSeting, JifenSeting, JifenModiYesOrNo, JinEModiYesOrNo, "
                            "FFloatNum, FEnabledCard FROM DataSeting");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 500);
    QCOMPARE(q.value(1).toInt(), 20);
    QCOMPARE(q.value(2).toInt(), 1);
    QCOMPARE(q.value(3).toInt(), 0);
    QCOMPARE(q.value(4).toInt(), 0);
    QCOMPARE(q.value(5).toInt(), 1);
    const ShopSettings &s = t.session.settings;
    QCOMPARE(s.CashSeting, 500);
    QCOMPARE(s.JifenSeting, 20);
    QCOMPARE(s.JifenModiYesOrNo, 1);
    QCOMPARE(s.JinEModiYesOrNo, 0);
    QCOMPARE(s.FFloatNum, 0);
    QCOMPARE(s.FEnabledCard, 1);
}

void TestTOptionForm::saleModeTakesEffect_data()
{
    QTest::addColumn<QString>("radio"); // empty: scan box left unticked
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("screen");
    QTest::addColumn<bool>("productsOpen");
    QTest::newRow("unticked") << ""
                              << "0" << int(SaleScreen::Standard) << false;
    QTest::newRow("独立软件") << "rbSingle"
                              << "1" << int(SaleScreen::Scan) << true;
    QTest::newRow("做为进销存软件前台") << "rbTwoFunc"
                                        << "2" << int(SaleScreen::Retail) << false;
    QTest::newRow("做为第三方软件前台") << "rbOtherFunc"
                                        << "3" << int(SaleScreen::External) << false;
}

void TestTOptionForm::saleModeTakesEffect()
{
    QFETCH(QString, radio);
    QFETCH(QString, stored);
    QFETCH(int, screen);
    QFETCH(bool, productsOpen);
    TestDatabase t;
    TOptionForm form(t.ctx);
    form.show();
    form.PageControl1->setCurrentIndex(5);
    QVERIFY(!form.CheckBox2->isChecked());
    QVERIFY(!form.GroupBox6->isVisibleTo(&form));
    if (!radio.isEmpty()) {
        clickOption(form.CheckBox2);
        QVERIFY(form.GroupBox6->isVisibleTo(&form));
        QVERIFY(form.rbSingle->isChecked());
        clickOption(form.findChild<QRadioButton *>(radio));
    }
    if (stored == "3") {
        // The third-party mode needs the host system's database file.
        QVERIFY(form.btnHostDbPath->isEnabled());
        const QString host = t.folder() + "/host.db";
        QFile(host).open(QIODevice::WriteOnly);
        t.files.openAnswers.enqueue(host);
        QTest::mouseClick(form.btnHostDbPath, Qt::LeftButton);
        QCOMPARE(form.edtHostDbPath->text(), host);
    }
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{"设置成功!"});
    QCOMPARE(t.value("SELECT SaoMaYes FROM DataSeting").toString(), stored);
    // 消费 follows the running program's value at once, 产品 the database.
    QCOMPARE(int(SaleScreenFor(t.session.settings.SaoMaYes)), screen);
    QCOMPARE(!ProductsRefusal(t.db).has_value(), productsOpen);
}

void TestTOptionForm::basicRefusals_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty threshold") << "Edit1"
                                     << ""
                                     << "兑分设置只能是数字";
    QTest::newRow("decimal threshold") << "Edit1"
                                       << "1.5"
                                       << "兑分设置只能是数字";
    QTest::newRow("letters as points") << "Edit2"
                                       << "abc"
                                       << "积分设置只能是数字";
    QTest::newRow("decimal points") << "Edit2"
                                    << "2.5"
                                    << "积分设置只能是数字";
    QTest::newRow("third party without its database") << "edtHostDbPath"
                                                      << "/no/such/file.db"
                                                      << "请指定第三方软件的数据库文件！";
}

void TestTOptionForm::basicRefusals()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TestDatabase t;
    TOptionForm form(t.ctx);
    form.show();
    form.PageControl1->setCurrentIndex(5);
    if (control == "edtHostDbPath") {
        clickOption(form.CheckBox2);
        clickOption(form.rbOtherFunc);
    }
    auto *edit = form.findChild<QLineEdit *>(control);
    retype(edit, text);
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{message});
    QCOMPARE(form.focusWidget(), edit);
    QCOMPARE(t.value("SELECT CashSeting FROM DataSeting").toInt(), 100);
    QCOMPARE(t.value("SELECT SaoMaYes FROM DataSeting").toString(), QString("0"));
    QCOMPARE(t.session.settings.CashSeting, 100);
}

void TestTOptionForm::keyFilters()
{
    TestDatabase t;
    TOptionForm form(t.ctx);
    form.show();
    form.PageControl1->setCurrentIndex(5);
    // 保留小数位: only 0, 1 and 2.
    form.edtFloatNum->clear();
    QTest::keyClicks(form.edtFloatNum, "3a-9");
    QCOMPARE(form.edtFloatNum->text(), QString());
    QTest::keyClicks(form.edtFloatNum, "12");
    QCOMPARE(form.edtFloatNum->text(), QString("1"));
    form.edtFloatNum->clear();
    QTest::keyClicks(form.edtFloatNum, "2");
    QCOMPARE(form.edtFloatNum->text(), QString("2"));

    // 默认打印份数: digits only, never empty or 0.
    form.PageControl1->setCurrentIndex(7);
    clickOption(form.CheckBox1);
    QVERIFY(form.edt_PrintCount->isVisibleTo(&form));
    form.edt_PrintCount->selectAll();
    QTest::keyClick(form.edt_PrintCount, Qt::Key_Backspace);
    QCOMPARE(form.edt_PrintCount->text(), QString("1"));
    QTest::keyClicks(form.edt_PrintCount, "x5");
    QCOMPARE(form.edt_PrintCount->text(), QString("15"));
    QTest::keyClicks(form.edt_PrintCount, "99");
    QCOMPARE(form.edt_PrintCount->text(), QString("159"));
    form.edt_PrintCount->selectAll();
    QTest::keyClicks(form.edt_PrintCount, "0");
    QCOMPARE(form.edt_PrintCount->text(), QString("1"));
}

void TestTOptionForm::printSettingsSaved()
{
    TestDatabase t;
    t.db.exec("UPDATE DataSeting SET FPrintCount = 2");
    TOptionForm form(t.ctx);
    form.show();
    QVERIFY(!form.CheckBox1->isChecked());
    QVERIFY(!form.edt_PrintCount->isVisibleTo(&form));
    QVERIFY(!form.Label13->isVisibleTo(&form));

    clickOption(form.CheckBox1);
    QVERIFY(form.edt_PrintCount->isVisibleTo(&form));
    QVERIFY(form.Label13->isVisibleTo(&form));
    QCOMPARE(form.edt_PrintCount->text(), QString("2"));
    form.edt_PrintCount->selectAll();
    TypeText(form.edt_PrintCount, "3");
    clickOption(form.RadioButton6);
    retype(form.biaoti, " 百纳餐厅");
    const QList<QLineEdit *> footers = {form.piaowei1, form.piaowei2, form.piaowei3, form.piaowei4,
                                        form.piaowei5};
    for (int i = 0; i < 5; ++i)
        retype(footers[i], QStringLiteral("票尾%1 ").arg(i + 1));
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{"设置成功！"});
    QSqlQuery q = t.db.exec("SELECT PrintYesOrNo, PrintBig, FPrintCount, Biaoti, piaowei5 "
                            "FROM DataSeting");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(q.value(1).toInt(), 2);
    QCOMPARE(q.value(2).toInt(), 3);
    QCOMPARE(q.value(3).toString(), QString(" 百纳餐厅"));
    QCOMPARE(q.value(4).toString(), QString("票尾5 "));
    QCOMPARE(t.session.settings.PrintYesOrNo, 1);
    QCOMPARE(t.session.settings.PrintBig, 2);
    QCOMPARE(t.session.settings.Biaoti, QString(" 百纳餐厅"));
    QCOMPARE(t.session.settings.piaowei1, QString("票尾1 "));

    // Unticking hides the copies box; the stored count keeps its value.
    clickOption(form.CheckBox1);
    QVERIFY(!form.edt_PrintCount->isVisibleTo(&form));
    clickOption(form.RadioButton5);
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
    QCOMPARE(t.value("SELECT PrintYesOrNo FROM DataSeting").toInt(), 0);
    QCOMPARE(t.value("SELECT PrintBig FROM DataSeting").toInt(), 1);
    QCOMPARE(t.value("SELECT FPrintCount FROM DataSeting").toInt(), 3);
    QCOMPARE(t.session.settings.PrintYesOrNo, 0);
}

void TestTOptionForm::listColumns_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("操作员管理") << 1 << QStringList{"序号", "操作员", "密码", "权限"}
                                << QList<int>{100, 120, 120, 80};
    QTest::newRow("导购管理") << 2 << QStringList{"序号", "姓名"} << QList<int>{100, 280};
    QTest::newRow("店名管理") << 3 << QStringList{"序号", "店名"} << QList<int>{120, 280};
    QTest::newRow("品牌管理") << 4 << QStringList{"序号", "品牌"} << QList<int>{120, 260};
    QTest::newRow("分类管理") << 5 << QStringList{"序号", "分类"} << QList<int>{120, 280};
    QTest::newRow("折扣管理") << 6 << QStringList{"序号", "折扣", "默认折扣"}
                              << QList<int>{120, 120, 120};
}

void TestTOptionForm::listColumns()
{
    QFETCH(int, list);
    QFETCH(QStringList, titles);
    QFETCH(QList<int>, widths);
    TestDatabase t(TestDatabase::Content::Demo);
    TOptionForm form(t.ctx);
    form.show();
    auto *grid = form.findChild<QTableView *>(QStringLiteral("DBGrid%1").arg(list));
    QVERIFY(grid);
    QCOMPARE(visibleTitles(grid), titles);
    QCOMPARE(visibleWidths(grid), widths);
    QVERIFY(grid->model()->rowCount() > 0);
}

void TestTOptionForm::listInsertAndEdit_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("column"); // the first column typed into
    QTest::newRow("导购管理") << 2 << "SL_DaoGou"
                              << "DaoGouID"
                              << "DaoGouName";
    QTest::newRow("店名管理") << 3 << "SL_Store"
                              << "StoreID"
                              << "StoreName";
    QTest::newRow("品牌管理") << 4 << "SL_Brand"
                              << "BrandID"
                              << "BrandName";
    QTest::newRow("分类管理") << 5 << "SL_ProSort"
                              << "ProSortID"
                              << "ProSortName";
    QTest::newRow("折扣管理") << 6 << "SL_Zhekou"
                              << "ZhekouID"
                              << "ZhekouValue";
}

void TestTOptionForm::listInsertAndEdit()
{
    QFETCH(int, list);
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(QString, column);
    TestDatabase t(TestDatabase::Content::Demo);
    TOptionForm form(t.ctx);
    form.show();
    auto *grid = form.findChild<QTableView *>(QStringLiteral("DBGrid%1").arg(list));
    const int rowsBefore = t.value("SELECT COUNT(*) FROM " + table).toInt();

    clickNav(form, list, "nbInsert");
    typeInCell(grid, "新增'项");
    clickNav(form, list, "nbPost");
    QVERIFY(t.prompter.messages.isEmpty());
    QCOMPARE(t.value("SELECT COUNT(*) FROM " + table).toInt(), rowsBefore + 1);
    const QVariant id =
        t.value("SELECT " + key + " FROM " + table + " WHERE " + column + " = ?", {"新增'项"});
    QVERIFY(id.isValid() && id.toInt() > 0);
    if (list != 6) {
        // The show flag comes from the database's default.
        const QString show =
            table == "SL_DaoGou" ? "DaoGouShow" : QString(column).replace("Name", "Show");
        QCOMPARE(t.value("SELECT " + show + " FROM " + table + " WHERE " + key + " = ?", {id})
                     .toString(),
                 QString("1"));
    }
    // The grid stays on the saved row, which now shows its number.
    const QModelIndex current = grid->currentIndex();
    auto *model = qobject_cast<QSqlTableModel *>(grid->model());
    QCOMPARE(model->index(current.row(), model->fieldIndex(key)).data().toInt(), id.toInt());

    // Changing the row through 编辑.
    clickNav(form, list, "nbEdit");
    typeInCell(grid, "改过的");
    clickNav(form, list, "nbPost");
    QCOMPARE(
        t.value("SELECT " + column + " FROM " + table + " WHERE " + key + " = ?", {id}).toString(),
        QString("改过的"));
    QCOMPARE(t.value("SELECT COUNT(*) FROM " + table).toInt(), rowsBefore + 1);

    // The id column is the database's: it cannot be edited.
    QVERIFY(
        !(model->flags(model->index(current.row(), model->fieldIndex(key))) & Qt::ItemIsEditable));

    // An inserted row left empty is dropped, not saved.
    clickNav(form, list, "nbInsert");
    clickNav(form, list, "nbRefresh");
    QVERIFY(t.prompter.messages.isEmpty());
    QCOMPARE(t.value("SELECT COUNT(*) FROM " + table).toInt(), rowsBefore + 1);
}

void TestTOptionForm::listCancelAndRowChange()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TOptionForm form(t.ctx);
    form.show();
    form.PageControl1->setCurrentIndex(2);
    QTableView *grid = form.DBGrid3;
    auto *model = qobject_cast<QSqlTableModel *>(grid->model());
    QVERIFY(model->rowCount() >= 2);
    const int nameColumn = model->fieldIndex("StoreName");
    const QVariant firstId = model->index(0, model->fieldIndex("StoreID")).data();
    const QString firstName = model->index(0, nameColumn).data().toString();

    // 取消 drops what was typed.
    clickNav(form, 3, "nbFirst");
    clickNav(form, 3, "nbEdit");
    typeInCell(grid, "不要的名字");
    clickNav(form, 3, "nbCancel");
    QCOMPARE(model->index(0, nameColumn).data().toString(), firstName);
    QCOMPARE(t.value("SELECT StoreName FROM SL_Store WHERE StoreID = ?", {firstId}).toString(),
             firstName);

    // Moving to another row saves the row left, as the navigator's moves do.
    clickNav(form, 3, "nbEdit");
    typeInCell(grid, "总店");
    clickNav(form, 3, "nbNext");
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(t.value("SELECT StoreName FROM SL_Store WHERE StoreID = ?", {firstId}).toString(),
             QString("总店"));

    clickNav(form, 3, "nbEdit");
    typeInCell(grid, "分店甲");
    const QVariant secondId = model->index(1, model->fieldIndex("StoreID")).data();
    grid->setFocus();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(model->index(0, nameColumn)).center());
    QTRY_COMPARE(t.value("SELECT StoreName FROM SL_Store WHERE StoreID = ?", {secondId}).toString(),
                 QString("分店甲"));

    // Closing the dialog saves what is still being typed.
    clickNav(form, 3, "nbEdit");
    typeInCell(grid, "关窗前");
    form.hide();
    QCOMPARE(t.value("SELECT COUNT(*) FROM SL_Store WHERE StoreName = ?", {"关窗前"}).toInt(), 1);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestTOptionForm::newOperatorLogsInButIsNoAdministrator()
{
    TestDatabase t;
    TOptionForm form(t.ctx);
    form.show();
    form.PageControl1->setCurrentIndex(0);
    QTableView *grid = form.DBGrid1;
    clickNav(form, 1, "nbInsert");
    typeInCell(grid, "收银员");
    QTest::keyClick(cellEditor(grid), Qt::Key_Tab);
    typeInCell(grid, "8888");
    QTest::keyClick(cellEditor(grid), Qt::Key_Tab);
    typeInCell(grid, "1");
    clickNav(form, 1, "nbPost");
    QVERIFY(t.prompter.messages.isEmpty());
    QCOMPARE(t.value("SELECT Admin_Group FROM admin WHERE Admin_Name = ? AND Admin_Pwd = ?",
                     {"收银员", "8888"})
                 .toString(),
             QString("1"));

    // The new operator logs in at once and is refused the settings.
    LoginValues login;
    QVERIFY(!LogIn(t.db, "收银员", "8888", login));
    QCOMPARE(login.MyAdminGroup, QString("1"));
    const Check refusal = SettingsRefusal(login);
    QVERIFY(refusal);
    QCOMPARE(refusal->message, QString("你不是管理员，无此权限！"));
    // The administrator keeps the rights.
    LoginValues admin;
    QVERIFY(!LogIn(t.db, "admin", "admin", admin));
    QVERIFY(!SettingsRefusal(admin));
}

QTEST_MAIN(TestTOptionForm)
#include "tst_TOptionForm.moc"
