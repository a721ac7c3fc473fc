#include "members/MemberFixture.h"
#include "members/MemberGui.h"
#include "members/TMemberForm.h"
#include "members/TModiMemberInfo.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"
#include "widgets/DataGridWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QToolButton>
#include <QtTest>

using namespace MemberFixture;
using namespace MemberGui;

// The member list and the edit dialog, driven through their controls.
class TestMemberForm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listShowsMembersNewestFirst();
    void sortByAmountSpent();
    void deleteButtonOnlyForAdministrators_data();
    void deleteButtonOnlyForAdministrators();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void modifyOnEmptyListDoesNothing();
    void modifyOpensSelectedMemberAndSaves();
    void editShowsMember_data();
    void editShowsMember();
    void editRefusals_data();
    void editRefusals();
    void editKeepsOwnCardAndSavesPassword();
    void navigatorMoves();
    void exportWritesTheListInItsOrder();
    void memberIssuedElsewhereShows();

private:
    // Shows the edit dialog modeless for member `id`, as EditMember does modally.
    void openEditor(qint64 id);

    std::unique_ptr<TestDatabase> t;
    std::unique_ptr<TMemberForm> list;
    TModiMemberInfo *editor = nullptr;
    qint64 wang = 0, li = 0, zhang = 0;
};

void TestMemberForm::init()
{
    t = std::make_unique<TestDatabase>();
    t->loginAs();
    MemberRow m;
    m.card = QStringLiteral("1001");
    m.name = QStringLiteral("王建国");
    m.moneyAll = 300;
    m.password = QStringLiteral("1111");
    wang = addMember(t->db, m);
    li = addMember(t->db, QStringLiteral("1002"), QStringLiteral("李秀英"), 500);
    zhang = addMember(t->db, QStringLiteral("1003"), QStringLiteral("张伟"), 300);
    addSale(t->db, wang, QStringLiteral("2024-03-01 10:00:00"), {{10, 1}});
    list = std::make_unique<TMemberForm>(t->ctx);
    editor = list->editor();
}

void TestMemberForm::cleanup()
{
    list.reset();
    t.reset();
}

void TestMemberForm::openEditor(qint64 id)
{
    t->session.login.MyUserID = QString::number(id);
    editor->show();
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor));
}

void TestMemberForm::listShowsMembersNewestFirst()
{
    list->show();
    auto *grid = FindControl<DataGridWidget>(list.get(), "DBGrid1");
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->value(0, QStringLiteral("卡号")).toString(), QStringLiteral("1003"));
    QCOMPARE(grid->value(2, QStringLiteral("卡号")).toString(), QStringLiteral("1001"));
    QCOMPARE(grid->titles().mid(12, 3), QStringList({"口味", "常点菜", "其他信息"}));
    QCOMPARE(grid->columnWidth(0), 50);
    QCOMPARE(grid->columnWidth(14), 90);
    QCOMPARE(list->windowTitle(), QStringLiteral("会员"));
}

void TestMemberForm::sortByAmountSpent()
{
    list->show();
    auto *grid = FindControl<DataGridWidget>(list.get(), "DBGrid1");
    QTest::mouseClick(FindControl<QCheckBox>(list.get(), "CheckBox1"), Qt::LeftButton);
    QStringList cards;
    for (int r = 0; r < grid->rowCount(); ++r)
        cards << grid->value(r, QStringLiteral("卡号")).toString();
    // Highest amount first; the tie at 300 puts the newer card first.
    QCOMPARE(cards, QStringList({"1002", "1003", "1001"}));
    QTest::mouseClick(FindControl<QCheckBox>(list.get(), "CheckBox1"), Qt::LeftButton);
    QCOMPARE(grid->value(0, QStringLiteral("卡号")).toString(), QStringLiteral("1003"));
}

void TestMemberForm::deleteButtonOnlyForAdministrators_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("visible");
    QTest::newRow("administrator") << "99" << true;
    QTest::newRow("administrator, blanks around") << " 99 " << true;
    QTest::newRow("sales clerk") << "1" << false;
}

void TestMemberForm::deleteButtonOnlyForAdministrators()
{
    QFETCH(QString, group);
    QFETCH(bool, visible);
    t->session.login.MyAdminGroup = group;
    list->show();
    QCOMPARE(FindControl<QPushButton>(list.get(), "BtnDelete")->isVisible(), visible);
}

void TestMemberForm::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("members");
    QTest::newRow("yes") << true << QStringList({MemberText::AskDelete, MemberText::Deleted}) << 2;
    QTest::newRow("no") << false << QStringList({MemberText::AskDelete}) << 3;
}

void TestMemberForm::deleteAsksFirst()
{
    QFETCH(bool, answer);
    QFETCH(QStringList, messages);
    QFETCH(int, members);
    list->show();
    auto *grid = FindControl<DataGridWidget>(list.get(), "DBGrid1");
    ClickRow(grid, 2); // 王建国, who has a sale
    t->prompter.answers.enqueue(answer);
    QTest::mouseClick(FindControl<QPushButton>(list.get(), "BtnDelete"), Qt::LeftButton);
    QCOMPARE(t->prompter.messages, messages);
    QCOMPARE(t->value(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt(), members);
    QCOMPARE(grid->rowCount(), members);
    QCOMPARE(t->value(QStringLiteral("SELECT COUNT(*) FROM User_Info WHERE User_ID = ?"), {wang})
                 .toInt(),
             answer ? 0 : 1);
    // The sale stays.
    QCOMPARE(
        t->value(QStringLiteral("SELECT COUNT(*) FROM S_Sale WHERE UserID = ?"), {wang}).toInt(),
        1);
}

void TestMemberForm::modifyOnEmptyListDoesNothing()
{
    t->db.exec(QStringLiteral("DELETE FROM User_Info"));
    list->show();
    QTest::mouseClick(FindControl<QPushButton>(list.get(), "BtnModify"), Qt::LeftButton);
    QVERIFY(!editor->isVisible());
    QVERIFY(t->prompter.messages.isEmpty());
}

void TestMemberForm::modifyOpensSelectedMemberAndSaves()
{
    list->show();
    auto *grid = FindControl<DataGridWidget>(list.get(), "DBGrid1");
    ClickRow(grid, 1); // 李秀英
    QString shownName;
    onNextModal([&](QWidget *modal) {
        QCOMPARE(modal, static_cast<QWidget *>(editor));
        auto *name = modal->findChild<QLineEdit *>(QStringLiteral("Edit2"));
        shownName = name->text();
        name->clear();
        TypeText(name, QStringLiteral("Li'Xiu"));
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("BtnOk")), Qt::LeftButton);
    });
    QTest::mouseClick(FindControl<QPushButton>(list.get(), "BtnModify"), Qt::LeftButton);
    QCOMPARE(shownName, QStringLiteral("李秀英"));
    QCOMPARE(t->prompter.messages, QStringList{MemberText::Saved});
    QCOMPARE(t->session.login.MyUserID, QString::number(li));
    QCOMPARE(t->value(QStringLiteral("SELECT User_Name FROM User_Info WHERE User_ID = ?"), {li})
                 .toString(),
             QStringLiteral("Li’Xiu"));
    // The list shows the change at once, on the same row.
    QCOMPARE(grid->value(1, QStringLiteral("姓名")).toString(), QStringLiteral("Li’Xiu"));
    QCOMPARE(grid->currentIndex().row(), 1);
}

void TestMemberForm::editShowsMember_data()
{
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<int>("enabledCard");
    QTest::addColumn<QStringList>("birthLists");
    QTest::addColumn<QString>("shownPassword");
    QTest::newRow("joined list texts")
        << "1980-2-29" << 0 << QStringList({"1980", "2", "29"}) << QString();
    QTest::newRow("iso date, passwords on")
        << "1975-03-01" << 1 << QStringList({"1975", "3", "1"}) << "1111";
    QTest::newRow("empty birth date") << "" << 0 << QStringList({"", "", ""}) << QString();
    QTest::newRow("birth date not a date") << "unknown" << 1 << QStringList({"", "", ""}) << "1111";
}

void TestMemberForm::editShowsMember()
{
    QFETCH(QString, birthday);
    QFETCH(int, enabledCard);
    QFETCH(QStringList, birthLists);
    QFETCH(QString, shownPassword);
    t->session.settings.FEnabledCard = enabledCard;
    t->db.exec(QStringLiteral("UPDATE User_Info SET User_Brithday = ?, User_Stop = 1, "
                              "User_Other = ' 常客 ' WHERE User_ID = ?"),
               {birthday, wang});
    openEditor(wang);
    QCOMPARE(editor->windowTitle(), QStringLiteral("修改用户信息"));
    QCOMPARE(FindControl<QLineEdit>(editor, "Edit1")->text(), QStringLiteral("1001"));
    QCOMPARE(FindControl<QLineEdit>(editor, "Edit2")->text(), QStringLiteral("王建国"));
    QCOMPARE(FindControl<QLineEdit>(editor, "Edit8")->text(), QStringLiteral("0571-1234"));
    QCOMPARE(FindControl<QLineEdit>(editor, "Edit10")->text(), QStringLiteral("中山路1号"));
    QCOMPARE(FindControl<QPlainTextEdit>(editor, "Memo1")->toPlainText(), QStringLiteral("常客"));
    QCOMPARE(FindControl<QComboBox>(editor, "ComboBox1")->currentText(), QStringLiteral("女"));
    QCOMPARE(FindControl<QComboBox>(editor, "ComboBox2")->currentText(), birthLists[0]);
    QCOMPARE(FindControl<QComboBox>(editor, "ComboBox3")->currentText(), birthLists[1]);
    QCOMPARE(FindControl<QComboBox>(editor, "ComboBox4")->currentText(), birthLists[2]);
    QCOMPARE(FindControl<QComboBox>(editor, "ComboBox2")->count(), 81);
    QCOMPARE(FindControl<QDateEdit>(editor, "dtp_CardDate")->date(), QDate(2025, 12, 31));
    QVERIFY(FindControl<QCheckBox>(editor, "chk_UserCardStop")->isChecked());
    QCOMPARE(FindControl<QLineEdit>(editor, "edt_FirstPwd")->text(), shownPassword);
    QCOMPARE(FindControl<QLineEdit>(editor, "edt_SecondPwd")->isEnabled(), enabledCard == 1);
    QCOMPARE(FindControl<QLabel>(editor, "Label5")->text(), QStringLiteral("口味："));
    QCOMPARE(FindControl<QLabel>(editor, "Label6")->text(), QStringLiteral("其他信息："));

    // Saving a member without a birth date asks for one.
    if (birthLists[0].isEmpty()) {
        if (enabledCard == 1) {
            TypeText(FindControl<QLineEdit>(editor, "edt_SecondPwd"), QStringLiteral("1"));
            TypeText(FindControl<QLineEdit>(editor, "edt_ConfirmPwd"), QStringLiteral("1"));
        }
        QTest::mouseClick(FindControl<QPushButton>(editor, "BtnOk"), Qt::LeftButton);
        QCOMPARE(t->prompter.messages, QStringList{QStringLiteral("请选择出生日期！")});
        QCOMPARE(QApplication::focusWidget(), FindControl<QComboBox>(editor, "ComboBox2"));
        QVERIFY(editor->isVisible());
    }
}

void TestMemberForm::editRefusals_data()
{
    QTest::addColumn<int>("enabledCard");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<int>("expiryDays");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("cardAfter");
    QTest::newRow("card of another member") << 0 << "1002"
                                            << "2"
                                            << ""
                                            << "" << 5 << MemberText::CardTakenOnEdit << "Edit1"
                                            << "";
    QTest::newRow("passwords on, no new password")
        << 1 << "1001"
        << "2"
        << ""
        << "" << 5 << QStringLiteral("修改密码不能为空!") << "edt_SecondPwd"
        << "1001";
    QTest::newRow("passwords on, no confirmation")
        << 1 << "1001"
        << "2"
        << "7"
        << "" << 5 << QStringLiteral("确认密码不能为空!") << "edt_ConfirmPwd"
        << "1001";
    QTest::newRow("passwords differ")
        << 1 << "1001"
        << "2"
        << "7"
        << "8" << 5 << QStringLiteral("修改后的密码与确认密码不一致!") << "edt_SecondPwd"
        << "1001";
    QTest::newRow("month 13 typed") << 0 << "1001"
                                    << "13"
                                    << ""
                                    << "" << 5 << MemberText::BadBirthDate << "ComboBox2"
                                    << "1001";
    QTest::newRow("month emptied") << 0 << "1001"
                                   << ""
                                   << ""
                                   << "" << 5 << QStringLiteral("请选择出生日期！") << "ComboBox3"
                                   << "1001";
    QTest::newRow("expiry today") << 0 << "1001"
                                  << "2"
                                  << ""
                                  << "" << 0 << QStringLiteral("所修改卡有效日期不能小于当前日期!")
                                  << "dtp_CardDate"
                                  << "1001";
    QTest::newRow("empty card") << 0 << " "
                                << "2"
                                << ""
                                << "" << 5 << QStringLiteral("卡号不能为空！") << "Edit1"
                                << " ";
}

void TestMemberForm::editRefusals()
{
    QFETCH(int, enabledCard);
    QFETCH(QString, card);
    QFETCH(QString, month);
    QFETCH(QString, second);
    QFETCH(QString, confirm);
    QFETCH(int, expiryDays);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, cardAfter);
    t->session.settings.FEnabledCard = enabledCard;
    openEditor(wang);
    auto *edit1 = FindControl<QLineEdit>(editor, "Edit1");
    edit1->clear();
    TypeText(edit1, card);
    auto *monthBox = FindControl<QComboBox>(editor, "ComboBox3");
    monthBox->lineEdit()->clear();
    TypeText(monthBox->lineEdit(), month);
    TypeText(FindControl<QLineEdit>(editor, "edt_SecondPwd"), second);
    TypeText(FindControl<QLineEdit>(editor, "edt_ConfirmPwd"), confirm);
    FindControl<QDateEdit>(editor, "dtp_CardDate")->setDate(t->clock.today().addDays(expiryDays));
    QTest::mouseClick(FindControl<QPushButton>(editor, "BtnOk"), Qt::LeftButton);

    QCOMPARE(t->prompter.messages, QStringList{message});
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    // An editable list's focus sits in its line edit.
    const QString focusedName = focused->objectName().isEmpty() && focused->parentWidget()
                                    ? focused->parentWidget()->objectName()
                                    : focused->objectName();
    QCOMPARE(focusedName, focus);
    QCOMPARE(edit1->text(), cardAfter);
    QVERIFY(editor->isVisible());
    QSqlQuery q = t->db.exec(QStringLiteral("SELECT User_Card, User_Brithday, User_CardPWD FROM "
                                            "User_Info WHERE User_ID = ?"),
                             {wang});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("1001"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("1980-2-29"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("1111"));
}

void TestMemberForm::editKeepsOwnCardAndSavesPassword()
{
    t->session.settings.FEnabledCard = 1;
    QSignalSpy saved(editor, &TModiMemberInfo::memberSaved);
    openEditor(wang);
    TypeText(FindControl<QLineEdit>(editor, "edt_SecondPwd"), QStringLiteral(" 2222"));
    TypeText(FindControl<QLineEdit>(editor, "edt_ConfirmPwd"), QStringLiteral("2222 "));
    FindControl<QDateEdit>(editor, "dtp_CardDate")->setDate(t->clock.today().addDays(1));
    QTest::mouseClick(FindControl<QPushButton>(editor, "BtnOk"), Qt::LeftButton);
    QCOMPARE(t->prompter.messages, QStringList{MemberText::Saved});
    QVERIFY(!editor->isVisible());
    QCOMPARE(saved.count(), 1);
    QSqlQuery q = t->db.exec(
        QStringLiteral("SELECT User_Card, User_CardPWD, User_Brithday, User_Date, User_Stop "
                       "FROM User_Info WHERE User_ID = ?"),
        {wang});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("1001"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("2222"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("1980-02-29"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("2024-03-06"));
    QCOMPARE(q.value(4).toInt(), 0);

    // Opened again, the password boxes start empty.
    openEditor(wang);
    QCOMPARE(FindControl<QLineEdit>(editor, "edt_SecondPwd")->text(), QString());
    QCOMPARE(FindControl<QLineEdit>(editor, "edt_FirstPwd")->text(), QStringLiteral("2222"));
}

void TestMemberForm::navigatorMoves()
{
    list->show();
    auto *grid = FindControl<DataGridWidget>(list.get(), "DBGrid1");
    QTest::mouseClick(FindControl<QToolButton>(list.get(), "nbLast"), Qt::LeftButton);
    QCOMPARE(grid->currentIndex().row(), 2);
    QTest::mouseClick(FindControl<QToolButton>(list.get(), "nbPrior"), Qt::LeftButton);
    QCOMPARE(grid->currentIndex().row(), 1);
    QTest::mouseClick(FindControl<QToolButton>(list.get(), "nbFirst"), Qt::LeftButton);
    QCOMPARE(grid->currentIndex().row(), 0);
    QTest::mouseClick(FindControl<QToolButton>(list.get(), "nbPrior"), Qt::LeftButton);
    QCOMPARE(grid->currentIndex().row(), 0);
    QTest::mouseClick(FindControl<QToolButton>(list.get(), "nbNext"), Qt::LeftButton);
    QCOMPARE(grid->currentIndex().row(), 1);
}

void TestMemberForm::exportWritesTheListInItsOrder()
{
    list->show();
    QTest::mouseClick(FindControl<QCheckBox>(list.get(), "CheckBox1"), Qt::LeftButton);
    const QString file = t->folder() + QStringLiteral("/members");
    t->files.saveAnswers.enqueue(file);
    QTest::mouseClick(FindControl<QPushButton>(list.get(), "btnExcel"), Qt::LeftButton);
    QCOMPARE(t->prompter.messages, QStringList{QStringLiteral("成功导出3条数据!")});
    QVERIFY(QFileInfo(file + QStringLiteral(".xls")).size() > 0);
    // The export reads the list's own select, order included.
    const QuerySource exported = FindControl<DataGridWidget>(list.get(), "DBGrid1")->source();
    QVERIFY(exported.sql.contains(QStringLiteral("User_MoneyAll DESC")));
}

void TestMemberForm::memberIssuedElsewhereShows()
{
    list->show();
    auto *grid = list->findChild<DataGridWidget *>(QStringLiteral("DBGrid1"));
    const int before = grid->rowCount();
    addMember(t->db, QStringLiteral("2001"), QStringLiteral("新会员"));
    QCOMPARE(grid->rowCount(), before);
    emit t->ctx.notices.memberChanged(0); // as the card window announces a new card
    QCOMPARE(grid->rowCount(), before + 1);
    QCOMPARE(grid->value(0, QStringLiteral("卡号")).toString(), QStringLiteral("2001"));
}

QTEST_MAIN(TestMemberForm)
#include "tst_TMemberForm.moc"
