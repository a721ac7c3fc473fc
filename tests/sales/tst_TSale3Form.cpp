#include "app/TMain.h"
#include "widgets/DataGridWidget.h"
#include "products/TFrmGoodsQuery.h"
#include "sales/ModalDriver.h"
#include "sales/SaleScreenDriver.h"
#include "sales/TPayType_Frm.h"
#include "sales/TSale3Form.h"
#include "sales/TSaleForm.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// The scan-mode sale screen driven through its controls on the demo
// database in sale mode "1", and the main window's choice of screen.
class TestSale3Form : public QObject
{
    Q_OBJECT
private slots:
    void sellScannedAndPickedItems();
    void scanRefusals();
    void shopListFollowsOperatorShop_data();
    void shopListFollowsOperatorShop();
    void noShopClosesOnCardCheck();
    void mainWindowOpensScreenBySaleMode();
};

namespace
{

struct Screen : SaleScreenDriver {
    explicit Screen(TSale3Form &f) : SaleScreenDriver(f, "BtnOk"), form(f) {}
    TSale3Form &form;
};

// The test database of the current test, in sale mode "1".
std::unique_ptr<TestDatabase> ScanShop()
{
    auto t = std::make_unique<TestDatabase>(TestDatabase::Content::Demo);
    t->loginAs();
    t->db.exec(QStringLiteral("UPDATE DataSeting SET SaoMaYes = '1'"));
    t->session.settings.SaoMaYes = QStringLiteral("1");
    return t;
}

} // namespace

void TestSale3Form::sellScannedAndPickedItems()
{
    auto shop = ScanShop();
    TestDatabase &t = *shop;
    const QString card = QStringLiteral("1001"); // 王建国: 500 stored, 120 points
    const double moneyBefore = MemberValue(t, "User_MoneyAll", card).toDouble();

    TSale3Form form(t.ctx);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Screen s(form);
    QVERIFY(s.get<QLabel>("Label2022"));
    QVERIFY(s.edit("EditProPrice")->isReadOnly());
    QVERIFY(s.edit("Edit2")->isReadOnly());

    s.swipe(card);
    QCOMPARE(s.label("Label17"), QStringLiteral("王建国"));
    QCOMPARE(QApplication::focusWidget(), s.edit("Edit1"));
    QVERIFY(s.button("BtnScanCode")->isDefault());

    // A scanner types the code and Enter.
    TypeText(s.edit("Edit1"), QStringLiteral("6901000000011"));
    QTest::keyClick(s.edit("Edit1"), Qt::Key_Return);
    QCOMPARE(s.text("Edit2"), QStringLiteral("热菜"));
    QCOMPARE(s.text("edtMark"), QStringLiteral("招牌菜"));
    QCOMPARE(s.text("EditProName"), QStringLiteral("宫保鸡丁"));
    QCOMPARE(s.text("EditProPrice"), QStringLiteral("32"));
    QCOMPARE(s.text("EditProSalePrice"), QStringLiteral("32"));
    QCOMPARE(s.text("EditProJIfen"), QStringLiteral("3"));
    QVERIFY(s.text("Edit1").isEmpty());
    QCOMPARE(QApplication::focusWidget(), s.button("BtnJoinBuy"));
    s.type("EditProShuliang", QStringLiteral("2"));
    s.click("BtnJoinBuy");
    QCOMPARE(s.grid()->rowCount(), 1);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("64.00"));
    QVERIFY(s.text("Edit2").isEmpty());
    QVERIFY(s.text("EditProName").isEmpty());
    QCOMPARE(s.text("EditProShuliang"), QStringLiteral("1"));

    // 手工: picked by name in the product search, at a discount.
    s.get<QComboBox>("ComboBox5")->setCurrentText(QStringLiteral("0.9"));
    WhenModal<TFrmGoodsQuery> search([](TFrmGoodsQuery *d) {
        TypeText(d->findChild<QLineEdit *>(QStringLiteral("edt_ProCard")), QStringLiteral("小笼"));
        auto *grid = d->findChild<DataGridWidget *>(QStringLiteral("DBGrid1"));
        QCOMPARE(grid->rowCount(), 1);
        grid->selectRow(0);
        const QRect cell = grid->visualRect(grid->model()->index(0, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    });
    s.click("btnQueryHand");
    QVERIFY(search.ran());
    QCOMPARE(s.text("EditProName"), QStringLiteral("小笼包"));
    QCOMPARE(s.text("Edit2"), QStringLiteral("主食"));
    QCOMPARE(s.text("EditProPrice"), QStringLiteral("16"));
    QCOMPARE(s.text("EditProSalePrice"), QStringLiteral("14.4"));
    QCOMPARE(s.text("EditProJIfen"), QStringLiteral("1"));
    s.click("BtnJoinBuy");
    QCOMPARE(s.grid()->rowCount(), 2);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("78.40"));
    QCOMPARE(s.label("JifenAll"), QStringLiteral("7.00"));

    // The whole bill from the stored value.
    WhenModal<TPayType_Frm> pay([](TPayType_Frm *d) {
        auto *stored = d->findChild<QLineEdit *>(QStringLiteral("edt_Card"));
        auto *ok = d->findChild<QPushButton *>(QStringLiteral("BtnOk"));
        QTRY_VERIFY(d->isActiveWindow());
        QTest::keyClicks(stored, QStringLiteral("78.4"));
        QVERIFY(ok->isEnabled());
        QCOMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Return);
    });
    s.click("BtnPayMoney");
    QVERIFY(pay.ran());
    QCOMPARE(t.prompter.last(), QStringLiteral("收款结帐成功，请刷卡，操作下一位客户！"));
    QVERIFY(s.label("Label16").isEmpty());
    QCOMPARE(s.grid()->rowCount(), 0);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("0.00"));

    QCOMPARE(MemberValue(t, "User_ChuZhi", card).toDouble(), 421.6);
    QCOMPARE(MemberValue(t, "User_Num", card).toDouble(), 127.0);
    QCOMPARE(MemberValue(t, "User_MoneyAll", card).toDouble(), moneyBefore + 78.4);
    QSqlQuery sale = t.db.exec(QStringLiteral("SELECT SaleID, PriceAll, JiFenAll, FCashAll, "
                                              "FCardAll, StoreID FROM S_Sale "
                                              "ORDER BY SaleID DESC LIMIT 1"));
    QVERIFY(sale.next());
    QCOMPARE(sale.value(1).toDouble(), 78.4);
    QCOMPARE(sale.value(2).toDouble(), 7.0);
    QCOMPARE(sale.value(3).toDouble(), 0.0);
    QCOMPARE(sale.value(4).toDouble(), 78.4);
    QCOMPARE(sale.value(5).toInt(), 1);
    QSqlQuery lines =
        t.db.exec(QStringLiteral("SELECT ProName, ProSalePrice, ProShuliang, BrandID, ProSortID "
                                 "FROM S_SaleDetail WHERE SaleID = ? ORDER BY SaleDetailID"),
                  {sale.value(0)});
    QVERIFY(lines.next());
    QCOMPARE(lines.value(0).toString(), QStringLiteral("宫保鸡丁"));
    QCOMPARE(lines.value(2).toInt(), 2);
    QCOMPARE(lines.value(3).toInt(), 1);
    QCOMPARE(lines.value(4).toInt(), 1);
    QVERIFY(lines.next());
    QCOMPARE(lines.value(0).toString(), QStringLiteral("小笼包"));
    QCOMPARE(lines.value(1).toDouble(), 14.4);
    QCOMPARE(lines.value(2).toInt(), 1);
    QCOMPARE(lines.value(3).toInt(), 3);
    QCOMPARE(lines.value(4).toInt(), 4);
    QVERIFY(!lines.next());
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Order")).toInt(), 0);
}

void TestSale3Form::scanRefusals()
{
    auto shop = ScanShop();
    TestDatabase &t = *shop;
    t.db.exec(QStringLiteral("UPDATE Pro2 SET Pro2Show = 0 WHERE Pro2Card = '6901000000028'"));
    TSale3Form form(t.ctx);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Screen s(form);

    s.swipe(QString());
    QCOMPARE(t.prompter.last(), QStringLiteral("卡号不能为空！"));
    s.swipe(QStringLiteral("1002"));
    s.click("BtnJoinBuy");
    QCOMPARE(t.prompter.last(), QStringLiteral("请先扫码！"));
    QCOMPARE(QApplication::focusWidget(), s.edit("Edit1"));

    // A product taken off sale is not found; a quote is just a character.
    for (const QString &code : {QStringLiteral("6901000000028"), QStringLiteral("69'01")}) {
        s.type("Edit1", code);
        s.click("BtnScanCode");
        QCOMPARE(t.prompter.last(), QStringLiteral("没有找到该编码的产品！"));
        QVERIFY(s.text("EditProName").isEmpty());
        QCOMPARE(QApplication::focusWidget(), s.edit("Edit1"));
    }
    const int messages = t.prompter.messages.size();
    s.edit("Edit1")->clear();
    s.click("BtnScanCode");
    QCOMPARE(t.prompter.messages.size(), messages);

    // Abandoning returns to the card field.
    s.type("Edit1", QStringLiteral("6901000000035"));
    s.click("BtnScanCode");
    s.click("BtnJoinBuy");
    QCOMPARE(s.grid()->rowCount(), 1);
    s.click("BtnCancelBuy");
    QCOMPARE(s.grid()->rowCount(), 0);
    QCOMPARE(QApplication::focusWidget(), s.edit("UserCard"));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Order")).toInt(), 0);
}

void TestSale3Form::shopListFollowsOperatorShop_data()
{
    QTest::addColumn<QString>("dianMianId");
    QTest::addColumn<QStringList>("shops");
    QTest::newRow("no fixed shop") << "0" << QStringList{"总店", "二分店"};
    QTest::newRow("shop 2") << "2" << QStringList{"二分店"};
}

void TestSale3Form::shopListFollowsOperatorShop()
{
    QFETCH(QString, dianMianId);
    QFETCH(QStringList, shops);
    auto shop = ScanShop();
    shop->db.exec(
        QStringLiteral("INSERT INTO SL_Store (StoreName, StoreShow) VALUES ('旧店', '0')"));
    shop->session.login.MyDianMianID = dianMianId;
    TSale3Form form(shop->ctx);
    form.show();
    auto *list = form.findChild<QComboBox *>(QStringLiteral("ComboBox4"));
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    QCOMPARE(shown, shops);
    QVERIFY(shop->prompter.messages.isEmpty());
}

void TestSale3Form::noShopClosesOnCardCheck()
{
    auto shop = ScanShop();
    TestDatabase &t = *shop;
    t.session.login.MyDianMianID = QStringLiteral("7");
    TSale3Form form(t.ctx);
    form.show();
    const QString message = QStringLiteral("数据库中没有找到本店的资料，请与管理员联系。");
    QCOMPARE(t.prompter.messages, QStringList{message});
    QVERIFY(form.isVisible());
    Screen s(form);
    s.swipe(QStringLiteral("1001"));
    QCOMPARE(t.prompter.messages, (QStringList{message, message}));
    QVERIFY(!form.isVisible());
    QVERIFY(s.label("Label16").isEmpty());
}

void TestSale3Form::mainWindowOpensScreenBySaleMode()
{
    auto shop = ScanShop();
    TestDatabase &t = *shop;
    TMain main(t.ctx);
    auto *consume = main.findChild<QToolButton *>(QStringLiteral("BtnConsume"));

    // Mode "1": the scan-mode screen, modal.
    WhenModal<TSale3Form> scan([](TSale3Form *f) { QVERIFY(f->isModal()); });
    QTest::mouseClick(consume, Qt::LeftButton);
    QVERIFY(scan.ran());
    QVERIFY(!main.findChild<TSaleForm *>());

    // Mode "0": the standard screen, modeless, made once and kept.
    t.session.settings.SaoMaYes = QStringLiteral("0");
    QTest::mouseClick(consume, Qt::LeftButton);
    auto *standard = main.findChild<TSaleForm *>();
    QVERIFY(standard);
    QVERIFY(standard->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    standard->close();
    QTest::mouseClick(consume, Qt::LeftButton);
    QCOMPARE(main.findChildren<TSaleForm *>().size(), 1);
    QVERIFY(standard->isVisible());

    // The redemption path closes the member windows, the sale screen among them.
    main.CloseMemberForms();
    QVERIFY(!standard->isVisible());
}

QTEST_MAIN(TestSale3Form)
#include "tst_TSale3Form.moc"
