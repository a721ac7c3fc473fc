#include "members/MemberFixture.h"
#include "members/MemberGui.h"
#include "members/TCreateCard.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

using namespace MemberFixture;
using namespace MemberGui;

// The card window driven through its controls.
class TestCreateCard : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showPreparesWindow_data();
    void showPreparesWindow();
    void showingTwiceKeepsListsSingle();
    void issueCardsOneAfterAnother();
    void refusalMovesFocus_data();
    void refusalMovesFocus();
    void cancelEmptiesFieldsAndCloses();

private:
    template <typename W> W *find(const char *name) { return FindControl<W>(form.get(), name); }
    void fillGoodCard();
    void clickOk() { QTest::mouseClick(find<QPushButton>("BtnOk"), Qt::LeftButton); }

    std::unique_ptr<TestDatabase> t;
    std::unique_ptr<TCreateCard> form;
};

void TestCreateCard::init()
{
    t = std::make_unique<TestDatabase>();
    t->loginAs();
    addMember(t->db, QStringLiteral("1001"), QStringLiteral("王建国"));
    form = std::make_unique<TCreateCard>(t->ctx);
}

void TestCreateCard::cleanup()
{
    form.reset();
    t.reset();
}

void TestCreateCard::fillGoodCard()
{
    TypeText(find<QLineEdit>("UserCard"), QStringLiteral("2001"));
    TypeText(find<QLineEdit>("UserName"), QStringLiteral("O'Neil"));
    TypeText(find<QLineEdit>("UserTel"), QStringLiteral("0571-8888"));
    TypeText(find<QLineEdit>("UserLikeColor"), QStringLiteral("微辣"));
    TypeText(find<QPlainTextEdit>("UserOther"), QStringLiteral("it's fine"));
}

void TestCreateCard::showPreparesWindow_data()
{
    QTest::addColumn<int>("enabledCard");
    QTest::newRow("card passwords off") << 0;
    QTest::newRow("card passwords on") << 1;
}

void TestCreateCard::showPreparesWindow()
{
    QFETCH(int, enabledCard);
    t->session.settings.FEnabledCard = enabledCard;
    find<QPlainTextEdit>("UserOther")->setPlainText(QStringLiteral("left over"));
    showActive(form.get());
    QCOMPARE(form->windowTitle(), QStringLiteral("建卡"));
    QCOMPARE(find<QLineEdit>("edt_FirstPwd")->isEnabled(), enabledCard == 1);
    QCOMPARE(find<QLineEdit>("edt_ConfirmPwd")->isEnabled(), enabledCard == 1);
    QCOMPARE(find<QPlainTextEdit>("UserOther")->toPlainText(), QString());
    QCOMPARE(find<QComboBox>("UserSex")->currentText(), QStringLiteral("男"));
    QCOMPARE(find<QComboBox>("UserYear")->currentText(), QStringLiteral("1970"));
    QCOMPARE(find<QComboBox>("UserMonth")->currentText(), QStringLiteral("1"));
    QCOMPARE(find<QComboBox>("UserDay")->currentText(), QStringLiteral("1"));
    QCOMPARE(find<QDateEdit>("dtp_CardDate")->date(), QDate(2999, 1, 1));
    QCOMPARE(find<QLabel>("Label5")->text(), QStringLiteral("口味："));
    QCOMPARE(find<QLabel>("Label14")->text(), QStringLiteral("常点菜："));
    QCOMPARE(find<QLabel>("Label16")->text(), QStringLiteral("其他信息："));
    QCOMPARE(find<QLineEdit>("UserCard")->maxLength(), 18);
    QCOMPARE(find<QLineEdit>("UserAddress")->maxLength(), 100);
    QCOMPARE(QApplication::focusWidget(), find<QLineEdit>("UserCard"));
}

void TestCreateCard::showingTwiceKeepsListsSingle()
{
    form->show();
    form->hide();
    form->show();
    QCOMPARE(find<QComboBox>("UserSex")->count(), 2);
    QCOMPARE(find<QComboBox>("UserYear")->count(), 81);
    QCOMPARE(find<QComboBox>("UserMonth")->count(), 12);
    QCOMPARE(find<QComboBox>("UserDay")->count(), 31);
}

void TestCreateCard::issueCardsOneAfterAnother()
{
    t->session.settings.FEnabledCard = 1;
    showActive(form.get());
    fillGoodCard();
    find<QComboBox>("UserSex")->setCurrentIndex(1);
    find<QComboBox>("UserYear")->setCurrentText(QStringLiteral("1980"));
    find<QComboBox>("UserMonth")->setCurrentText(QStringLiteral("2"));
    find<QComboBox>("UserDay")->setCurrentText(QStringLiteral("29"));
    TypeText(find<QLineEdit>("edt_FirstPwd"), QStringLiteral(" 8888"));
    TypeText(find<QLineEdit>("edt_ConfirmPwd"), QStringLiteral("8888 "));
    auto *lock = find<QCheckBox>("chk_CardStop");
    QTest::mouseClick(lock, Qt::LeftButton, {}, QPoint(6, lock->height() / 2));
    clickOk();

    QCOMPARE(t->prompter.messages, QStringList{MemberText::Issued});
    QSqlQuery q = t->db.exec(QStringLiteral("SELECT * FROM User_Info WHERE User_Card = '2001'"));
    QVERIFY(q.next());
    QCOMPARE(q.value("User_Name").toString(), QStringLiteral("O’Neil"));
    QCOMPARE(q.value("User_Other").toString(), QStringLiteral("it’s fine"));
    QCOMPARE(q.value("User_Sex").toString(), QStringLiteral("女"));
    QCOMPARE(q.value("User_Brithday").toString(), QStringLiteral("1980-2-29"));
    QCOMPARE(q.value("User_Date").toString(), QStringLiteral("2999-01-01"));
    QCOMPARE(q.value("User_CardPWD").toString(), QStringLiteral("8888"));
    QCOMPARE(q.value("User_Stop").toInt(), 1);
    QCOMPARE(q.value("User_LikeColor").toString(), QStringLiteral("微辣"));

    // Ready for the next card: typed fields empty, sex to choose again,
    // birth date, expiry and lock kept.
    for (const char *name :
         {"UserCard", "UserName", "UserTel", "UserLikeColor", "edt_FirstPwd", "edt_ConfirmPwd"})
        QVERIFY2(find<QLineEdit>(name)->text().isEmpty(), name);
    QCOMPARE(find<QPlainTextEdit>("UserOther")->toPlainText(), QString());
    QCOMPARE(find<QComboBox>("UserSex")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>("UserYear")->currentText(), QStringLiteral("1980"));
    QVERIFY(find<QCheckBox>("chk_CardStop")->isChecked());
    QVERIFY(form->isVisible());
    QCOMPARE(QApplication::focusWidget(), find<QLineEdit>("UserCard"));

    // The next card without choosing the sex again is refused.
    TypeText(find<QLineEdit>("UserCard"), QStringLiteral("2002"));
    TypeText(find<QLineEdit>("UserName"), QStringLiteral("Bo"));
    clickOk();
    QCOMPARE(t->prompter.last(), QStringLiteral("请选择性别！"));
    QCOMPARE(QApplication::focusWidget(), find<QComboBox>("UserSex"));
}

void TestCreateCard::refusalMovesFocus_data()
{
    QTest::addColumn<int>("enabledCard");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("day");
    QTest::addColumn<int>("expiryDays");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no card") << 0 << ""
                             << "A"
                             << ""
                             << ""
                             << "1" << 1 << QStringLiteral("卡号不能为空！") << "UserCard";
    QTest::newRow("no name") << 0 << "2001"
                             << " "
                             << ""
                             << ""
                             << "1" << 1 << QStringLiteral("姓名不能为空！") << "UserName";
    QTest::newRow("no first password")
        << 1 << "2001"
        << "A"
        << ""
        << "1"
        << "1" << 1 << QStringLiteral("卡密码不能为空!") << "edt_FirstPwd";
    QTest::newRow("no confirmation")
        << 1 << "2001"
        << "A"
        << "1"
        << ""
        << "1" << 1 << QStringLiteral("确认密码不能为空!") << "edt_ConfirmPwd";
    QTest::newRow("passwords differ")
        << 1 << "2001"
        << "A"
        << "1"
        << "2"
        << "1" << 1 << QStringLiteral("两次输入的卡密码不一致!") << "edt_ConfirmPwd";
    QTest::newRow("1970-2-30") << 0 << "2001"
                               << "A"
                               << ""
                               << ""
                               << "30" << 1 << MemberText::BadBirthDate << "UserDay";
    QTest::newRow("expiry today") << 0 << "2001"
                                  << "A"
                                  << ""
                                  << ""
                                  << "1" << 0 << QStringLiteral("有效日期不能小于建卡当前日期!")
                                  << "dtp_CardDate";
    QTest::newRow("card in use") << 0 << "1001"
                                 << "A"
                                 << ""
                                 << ""
                                 << "1" << 1 << MemberText::CardTaken << "UserCard";
}

void TestCreateCard::refusalMovesFocus()
{
    QFETCH(int, enabledCard);
    QFETCH(QString, card);
    QFETCH(QString, name);
    QFETCH(QString, first);
    QFETCH(QString, confirm);
    QFETCH(QString, day);
    QFETCH(int, expiryDays);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    t->session.settings.FEnabledCard = enabledCard;
    showActive(form.get());
    TypeText(find<QLineEdit>("UserCard"), card);
    TypeText(find<QLineEdit>("UserName"), name);
    TypeText(find<QLineEdit>("edt_FirstPwd"), first);
    TypeText(find<QLineEdit>("edt_ConfirmPwd"), confirm);
    find<QComboBox>("UserMonth")->setCurrentText(QStringLiteral("2"));
    find<QComboBox>("UserDay")->setCurrentText(day);
    find<QDateEdit>("dtp_CardDate")->setDate(t->clock.today().addDays(expiryDays));
    clickOk();
    QCOMPARE(t->prompter.messages, QStringList{message});
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(t->value(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt(), 1);
    // What was typed stays for correcting.
    QCOMPARE(find<QLineEdit>("UserCard")->text(), card);
}

void TestCreateCard::cancelEmptiesFieldsAndCloses()
{
    showActive(form.get());
    fillGoodCard();
    TypeText(find<QLineEdit>("UserWork"), QStringLiteral("cook"));
    find<QComboBox>("UserSex")->setCurrentIndex(1);
    QTest::mouseClick(find<QPushButton>("BtnCancel"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QCOMPARE(find<QLineEdit>("UserCard")->text(), QString());
    QCOMPARE(find<QLineEdit>("UserName")->text(), QString());
    QCOMPARE(find<QLineEdit>("UserLikeColor")->text(), QString());
    QCOMPARE(find<QPlainTextEdit>("UserOther")->toPlainText(), QString());
    // Occupation is kept for the next opening.
    QCOMPARE(find<QLineEdit>("UserWork")->text(), QStringLiteral("cook"));
    QCOMPARE(t->value(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt(), 1);
}

QTEST_MAIN(TestCreateCard)
#include "tst_TCreateCard.moc"
