#include "widgets/DataGridWidget.h"
#include "members/TFrmCardPwd.h"
#include "sales/ModalDriver.h"
#include "sales/SaleScreenDriver.h"
#include "sales/TPayType_Frm.h"
#include "sales/TSaleForm.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// The standard sale screen driven by an operator through its controls, on
// the demo database (5 March 2024, 09:07:02).
class TestSaleForm : public QObject
{
    Q_OBJECT
private slots:
    void sellToMemberEndToEnd();
    void cardPasswordSlot();
    void cardRefusals_data();
    void cardRefusals();
    void enterRunsCardCheckThenAdd();
    void addRefusedWithoutMember();
    void priceFillsDiscountAndPoints();
    void anotherCardShowsItsOwnBill();
    void deleteAbandonAndClose();
    void historyRequest();
};

namespace
{

// The standard screen, with its way of adding an item.
struct Screen : SaleScreenDriver {
    explicit Screen(TSaleForm &f) : SaleScreenDriver(f, "BitBtn1"), form(f) {}
    void addItem(const QString &name, const QString &price, const QString &discount,
                 const QString &quantity) const
    {
        type("EditProName", name);
        list("ComboBox5")->setCurrentText(discount);
        type("EditProPrice", price);
        type("EditProShuliang", quantity);
        click("BitBtn2");
    }
    TSaleForm &form;
};

int OpenLines(TestDatabase &t, const QString &card)
{
    return t
        .value(QStringLiteral("SELECT COUNT(*) FROM S_Order o JOIN User_Info u "
                              "ON u.User_ID = o.UserID WHERE u.User_Card = ?"),
               {card})
        .toInt();
}

} // namespace

void TestSaleForm::sellToMemberEndToEnd()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    t.session.settings.FEnabledCard = 1;
    const QString card = QStringLiteral("1003"); // 张伟: password 8888, 300 stored, 45 points
    const double moneyBefore = MemberValue(t, "User_MoneyAll", card).toDouble();
    const int salesBefore = t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale")).toInt();

    TSaleForm form(t.ctx);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Screen s(form);
    QCOMPARE(s.list("ComboBox1")->currentText(), QStringLiteral("招牌菜"));
    QCOMPARE(s.list("ComboBox5")->currentText(), QStringLiteral("1"));
    QCOMPARE(s.list("ComboBox4")->count(), 2);

    // Card and password.
    WhenModal<TFrmCardPwd> password([](TFrmCardPwd *d) {
        TypeText(d->findChild<QLineEdit *>(QStringLiteral("edtCardPwd")), QStringLiteral(" 8888 "));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    });
    s.swipe(card);
    QVERIFY(password.ran());
    QCOMPARE(s.label("Label16"), card);
    QCOMPARE(s.label("Label17"), QStringLiteral("张伟"));
    QCOMPARE(s.label("Label20"), QStringLiteral("300"));
    QCOMPARE(s.label("Label21"), QStringLiteral("45"));
    QVERIFY(s.edit("UserCard")->text().isEmpty());
    // The focus comes back from the closed prompt to the brand list, and
    // Enter now adds an item.
    QTRY_COMPARE(QApplication::focusWidget(), s.list("ComboBox1"));
    QVERIFY(s.button("BitBtn2")->isDefault());

    // Two items typed by hand, booked to the second shop.
    s.list("ComboBox4")->setCurrentText(QStringLiteral("二分店"));
    s.addItem(QStringLiteral("宫保鸡丁"), QStringLiteral("19.9"), QStringLiteral("1"),
              QStringLiteral("3"));
    QCOMPARE(s.grid()->rowCount(), 1);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("59.70"));
    QCOMPARE(s.edit("EditProShuliang")->text(), QStringLiteral("1"));
    QVERIFY(s.edit("EditProName")->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), s.button("BitBtn5"));
    s.addItem(QStringLiteral("水煮鱼"), QStringLiteral("100"), QStringLiteral("0.85"),
              QStringLiteral("1"));
    QCOMPARE(s.grid()->rowCount(), 2);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("144.70"));
    QCOMPARE(s.label("JifenAll"), QStringLiteral("11.00"));
    QCOMPARE(s.grid()->value(1, QStringLiteral("打折价")).toDouble(), 85.0);
    QCOMPARE(s.grid()->value(1, QStringLiteral("积分")).toDouble(), 8.0);
    QCOMPARE(s.grid()->value(0, QStringLiteral("总价格")).toDouble(), 19.9 * 3);

    // Checkout: 44.70 cash and 100 from the stored value.
    WhenModal<TPayType_Frm> pay([](TPayType_Frm *d) {
        auto *due = d->findChild<QLineEdit *>(QStringLiteral("edt_PayMoney"));
        auto *cash = d->findChild<QLineEdit *>(QStringLiteral("edt_Cash"));
        auto *stored = d->findChild<QLineEdit *>(QStringLiteral("edt_Card"));
        auto *ok = d->findChild<QPushButton *>(QStringLiteral("BtnOk"));
        QCOMPARE(due->text(), QStringLiteral("144.70"));
        QVERIFY(stored->isEnabled());
        QTest::keyClicks(cash, QStringLiteral("44.7"));
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(stored, QStringLiteral("100"));
        QCOMPARE(d->findChild<QLineEdit *>(QStringLiteral("edt_RealMoney"))->text(),
                 QStringLiteral("144.7"));
        QCOMPARE(d->findChild<QLineEdit *>(QStringLiteral("edt_PayZero"))->text(),
                 QStringLiteral("0"));
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    s.click("BitBtn5");
    QVERIFY(pay.ran());
    QCOMPARE(t.prompter.last(), QStringLiteral("收款结帐成功，请刷卡，操作下一位客户！"));

    // The screen is ready for the next customer.
    QVERIFY(s.label("Label16").isEmpty());
    QVERIFY(s.label("Label17").isEmpty());
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("0.00"));
    QCOMPARE(s.grid()->rowCount(), 0);
    QTRY_COMPARE(QApplication::focusWidget(), s.edit("UserCard"));

    // What the database holds now.
    QCOMPARE(MemberValue(t, "User_ChuZhi", card).toDouble(), 200.0);
    QCOMPARE(MemberValue(t, "User_Num", card).toDouble(), 56.0);
    QCOMPARE(MemberValue(t, "User_MoneyAll", card).toDouble(), moneyBefore + 144.7);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale")).toInt(), salesBefore + 1);
    QSqlQuery sale = t.db.exec(QStringLiteral(
        "SELECT SaleID, PriceAll, JiFenAll, FCashAll, FCardAll, StoreID, AdminID, SaleDate, "
        "UserID FROM S_Sale ORDER BY SaleID DESC LIMIT 1"));
    QVERIFY(sale.next());
    QCOMPARE(sale.value(1).toDouble(), 144.7);
    QCOMPARE(sale.value(2).toDouble(), 11.0);
    QCOMPARE(sale.value(3).toDouble(), 44.7);
    QCOMPARE(sale.value(4).toDouble(), 100.0);
    QCOMPARE(sale.value(5).toInt(), 2);
    QCOMPARE(sale.value(6).toInt(), 1);
    QCOMPARE(sale.value(7).toString(), QStringLiteral("2024-03-05 09:07:02"));
    QCOMPARE(sale.value(8), MemberValue(t, "User_ID", card));
    QSqlQuery lines = t.db.exec(
        QStringLiteral("SELECT ProName, ProPrice, ProSalePrice, ProJiFen, ProShuliang, DaoGouID "
                       "FROM S_SaleDetail WHERE SaleID = ? ORDER BY SaleDetailID"),
        {sale.value(0)});
    QVERIFY(lines.next());
    QCOMPARE(lines.value(0).toString(), QStringLiteral("宫保鸡丁"));
    QCOMPARE(lines.value(2).toDouble(), 19.9);
    QCOMPARE(lines.value(3).toDouble(), 1.0);
    QCOMPARE(lines.value(4).toInt(), 3);
    QCOMPARE(lines.value(5).toInt(), 1);
    QVERIFY(lines.next());
    QCOMPARE(lines.value(0).toString(), QStringLiteral("水煮鱼"));
    QCOMPARE(lines.value(1).toDouble(), 100.0);
    QCOMPARE(lines.value(2).toDouble(), 85.0);
    QCOMPARE(lines.value(3).toDouble(), 8.0);
    QCOMPARE(lines.value(4).toInt(), 1);
    QVERIFY(!lines.next());
    QCOMPARE(OpenLines(t, card), 0);
}

void TestSaleForm::cardPasswordSlot()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    t.session.settings.FEnabledCard = 1;
    TSaleForm form(t.ctx);
    form.show();
    Screen s(form);
    const auto answer = [](std::optional<QString> typed) {
        return std::make_unique<WhenModal<TFrmCardPwd>>([typed](TFrmCardPwd *d) {
            if (typed) {
                TypeText(d->findChild<QLineEdit *>(QStringLiteral("edtCardPwd")), *typed);
                QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnOk")),
                                  Qt::LeftButton);
            } else {
                QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("btnClose")),
                                  Qt::LeftButton);
            }
        });
    };

    // 关闭 hands nothing back: the empty slot does not match 8888.
    auto prompt = answer(std::nullopt);
    s.swipe(QStringLiteral("1003"));
    QVERIFY(prompt->ran());
    QCOMPARE(t.prompter.last(), QStringLiteral("录入的卡密码不正确, 请重新录入!"));
    QVERIFY(s.label("Label16").isEmpty());
    QCOMPARE(s.edit("UserCard")->text(), QStringLiteral("1003"));

    // A member without a password is admitted by OK with nothing typed.
    prompt = answer(QString());
    s.swipe(QStringLiteral("1001"));
    QCOMPARE(s.label("Label16"), QStringLiteral("1001"));

    // The right password, then 关闭 for the same card: the slot still holds it.
    prompt = answer(QStringLiteral("8888"));
    s.swipe(QStringLiteral("1003"));
    QCOMPARE(s.label("Label16"), QStringLiteral("1003"));
    prompt = answer(std::nullopt);
    s.swipe(QStringLiteral("1003"));
    QVERIFY(prompt->ran());
    QCOMPARE(s.label("Label17"), QStringLiteral("张伟"));
    QCOMPARE(t.prompter.messages.size(), 1);

    // ... but not for another member with another password.
    prompt = answer(std::nullopt);
    s.swipe(QStringLiteral("1001"));
    QCOMPARE(t.prompter.last(), QStringLiteral("录入的卡密码不正确, 请重新录入!"));
    QCOMPARE(s.label("Label16"), QStringLiteral("1003"));

    // Showing the screen again empties the slot.
    form.close();
    form.show();
    prompt = answer(std::nullopt);
    s.swipe(QStringLiteral("1001"));
    QCOMPARE(s.label("Label16"), QStringLiteral("1001"));
}

void TestSaleForm::cardRefusals_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("cardKept");
    QTest::newRow("empty") << "  "
                           << "卡号不能为空!" << true;
    QTest::newRow("unknown") << "4711"
                             << "没有找到该用户" << false;
    QTest::newRow("locked") << "1006"
                            << "该用户已被锁定!" << false;
    QTest::newRow("expired") << "1007"
                             << "该卡已过期!" << false;
}

void TestSaleForm::cardRefusals()
{
    QFETCH(QString, card);
    QFETCH(QString, message);
    QFETCH(bool, cardKept);
    TestDatabase t(TestDatabase::Content::Demo);
    TSaleForm form(t.ctx);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Screen s(form);
    s.swipe(QStringLiteral("1001"));
    s.swipe(card);
    QCOMPARE(t.prompter.messages, QStringList{message});
    QCOMPARE(s.edit("UserCard")->text().isEmpty(), !cardKept);
    QCOMPARE(QApplication::focusWidget(), s.edit("UserCard"));
    // The member shown before stays shown.
    QCOMPARE(s.label("Label16"), QStringLiteral("1001"));
}

void TestSaleForm::enterRunsCardCheckThenAdd()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    TSaleForm form(t.ctx);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Screen s(form);
    QCOMPARE(QApplication::focusWidget(), s.edit("UserCard"));
    QVERIFY(s.button("BitBtn1")->isDefault());
    TypeText(s.edit("UserCard"), QStringLiteral("1002"));
    QTest::keyClick(s.edit("UserCard"), Qt::Key_Return);
    QCOMPARE(s.label("Label17"), QStringLiteral("李秀英"));
    QVERIFY(s.button("BitBtn2")->isDefault());

    s.edit("EditProName")->setFocus();
    TypeText(s.edit("EditProName"), QStringLiteral("拍黄瓜"));
    TypeText(s.edit("EditProPrice"), QStringLiteral("12"));
    QTest::keyClick(s.edit("EditProPrice"), Qt::Key_Return);
    QCOMPARE(s.grid()->rowCount(), 1);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("12.00"));
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestSaleForm::addRefusedWithoutMember()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TSaleForm form(t.ctx);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Screen s(form);
    s.edit("EditProName")->setFocus();
    s.addItem(QStringLiteral("拍黄瓜"), QStringLiteral("12"), QStringLiteral("1"),
              QStringLiteral("1"));
    QCOMPARE(t.prompter.messages, QStringList{QStringLiteral("请先刷卡！")});
    QCOMPARE(QApplication::focusWidget(), s.edit("UserCard"));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Order")).toInt(), 0);
    // Abandon and checkout do nothing without a member.
    s.click("BitBtn6");
    s.click("BitBtn5");
    QCOMPARE(t.prompter.messages.size(), 1);
}

void TestSaleForm::priceFillsDiscountAndPoints()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.session.settings.FFloatNum = -2;
    t.session.settings.JifenSeting = 10;
    t.session.settings.JifenModiYesOrNo = 0;
    t.session.settings.JinEModiYesOrNo = 1;
    TSaleForm form(t.ctx);
    form.show();
    Screen s(form);
    QVERIFY(s.edit("EditProJIfen")->isReadOnly());
    QVERIFY(!s.edit("EditProSalePrice")->isReadOnly());

    s.list("ComboBox5")->setCurrentText(QStringLiteral("0.9"));
    TypeText(s.edit("EditProPrice"), QStringLiteral("1x9.9.9"));
    QCOMPARE(s.edit("EditProPrice")->text(), QStringLiteral("19.99"));
    s.type("EditProPrice", QStringLiteral("19.9"));
    QCOMPARE(s.edit("EditProSalePrice")->text(), QStringLiteral("17.91"));
    QCOMPARE(s.edit("EditProJIfen")->text(), QStringLiteral("1"));
    // Choosing another discount refills both.
    s.list("ComboBox5")->setCurrentText(QStringLiteral("0.5"));
    s.list("ComboBox5")->setCurrentText(QStringLiteral("1"));
    QCOMPARE(s.edit("EditProSalePrice")->text(), QStringLiteral("19.9"));
    // The operator may overwrite the discounted price; the points follow it.
    s.type("EditProSalePrice", QStringLiteral("250"));
    QCOMPARE(s.edit("EditProJIfen")->text(), QStringLiteral("25"));
    QVERIFY(t.prompter.messages.isEmpty());
    s.type("EditProSalePrice", QStringLiteral("8a"));
    QCOMPARE(t.prompter.last(), QStringLiteral("打折价只能为数字!"));
}

void TestSaleForm::anotherCardShowsItsOwnBill()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    TSaleForm form(t.ctx);
    form.show();
    Screen s(form);
    s.swipe(QStringLiteral("1001"));
    s.addItem(QStringLiteral("宫保鸡丁"), QStringLiteral("32"), QStringLiteral("1"),
              QStringLiteral("1"));
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("32.00"));

    // The next card replaces the member and the bill shown; the first
    // member's line waits for that member's next visit.
    s.swipe(QStringLiteral("1002"));
    QCOMPARE(s.grid()->rowCount(), 0);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("0.00"));
    s.click("BitBtn5");
    QVERIFY(t.prompter.messages.isEmpty()); // nothing to pay for 1002
    QCOMPARE(OpenLines(t, QStringLiteral("1001")), 1);

    s.swipe(QStringLiteral("1001"));
    QCOMPARE(s.grid()->rowCount(), 1);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("32.00"));
}

void TestSaleForm::deleteAbandonAndClose()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    TSaleForm form(t.ctx);
    form.show();
    Screen s(form);
    s.swipe(QStringLiteral("1001"));
    s.addItem(QStringLiteral("甲"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("1"));
    s.addItem(QStringLiteral("乙"), QStringLiteral("20"), QStringLiteral("1"), QStringLiteral("2"));
    s.addItem(QStringLiteral("丙"), QStringLiteral("30"), QStringLiteral("1"), QStringLiteral("1"));
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("80.00"));

    s.grid()->selectRow(1);
    s.click("BitBtn3");
    QCOMPARE(s.grid()->rowCount(), 2);
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("40.00"));
    QCOMPARE(s.grid()->value(1, QStringLiteral("产品")).toString(), QStringLiteral("丙"));

    s.click("BitBtn6");
    QCOMPARE(OpenLines(t, QStringLiteral("1001")), 0);
    QVERIFY(s.label("Label16").isEmpty());
    QCOMPARE(s.label("LabelMoneyAll"), QStringLiteral("0"));

    // Closing the screen abandons the bill of the member shown; another
    // member's lines stay.
    s.swipe(QStringLiteral("1002"));
    s.addItem(QStringLiteral("丁"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("1"));
    s.swipe(QStringLiteral("1005"));
    s.addItem(QStringLiteral("戊"), QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("1"));
    QTest::keyClick(&form, Qt::Key_Escape); // Esc does not close: the bill would be lost
    QVERIFY(form.isVisible());
    s.click("BitBtn7");
    QVERIFY(!form.isVisible());
    QCOMPARE(OpenLines(t, QStringLiteral("1005")), 0);
    QCOMPARE(OpenLines(t, QStringLiteral("1002")), 1);
}

void TestSaleForm::historyRequest()
{
    TestDatabase t(TestDatabase::Content::Demo);
    TSaleForm form(t.ctx);
    form.show();
    Screen s(form);
    QSignalSpy spy(&form, &TSaleScreen::consumptionHistoryRequested);
    s.click("BtnView");
    QCOMPARE(spy.count(), 0);
    s.swipe(QStringLiteral("1008"));
    s.click("BtnView");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("1008"));
}

QTEST_MAIN(TestSaleForm)
#include "tst_TSaleForm.moc"
