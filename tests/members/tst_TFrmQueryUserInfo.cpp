#include "widgets/DataGridWidget.h"
#include "members/MemberFixture.h"
#include "members/MemberGui.h"
#include "members/TFrmCardPwd.h"
#include "members/TFrmQueryUserInfo.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace MemberFixture;
using namespace MemberGui;

// The member lookup dialog and the card-password prompt, driven by their
// controls' names.
class TestLookupDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showListsAllMembers();
    void typingFilters_data();
    void typingFilters();
    void pickedCardIsReturned();
    void pickWhenShownModeless();
    void closingHandsNothingBack();
    void doubleClickOnEmptyListDoesNothing();
    void askPassword_data();
    void askPassword();
    void passwordBoxStartsEmpty();

private:
    std::unique_ptr<TestDatabase> t;
};

void TestLookupDialogs::init()
{
    t = std::make_unique<TestDatabase>();
    addMember(t->db, QStringLiteral("1200"), QStringLiteral("王建国"));
    addMember(t->db, QStringLiteral("8812"), QStringLiteral("李秀英"));
    addMember(t->db, QStringLiteral("3123"), QStringLiteral("张建"));
    // Stored with blanks around the number: handed back trimmed.
    addMember(t->db, QStringLiteral(" 4000 "), QStringLiteral("O’Neil"));
}

void TestLookupDialogs::cleanup()
{
    t.reset();
}

void TestLookupDialogs::showListsAllMembers()
{
    TFrmQueryUserInfo dialog(t->ctx);
    dialog.show();
    auto *grid = dialog.findChild<DataGridWidget *>(QStringLiteral("DBGrid1"));
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->titles(), QStringList({"序号", "卡号", "姓名", "性别", "出生年月", "电话",
                                          "手机", "地址", "职业", "学历", "备注"}));
    QCOMPARE(grid->columnWidth(0), 30);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("会员信息检索"));
}

void TestLookupDialogs::typingFilters_data()
{
    QTest::addColumn<QString>("cardText");
    QTest::addColumn<QString>("nameText");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("card contains 12") << "12"
                                      << "" << QStringList({"王建国", "李秀英", "张建"});
    QTest::newRow("card typed with blanks") << " 881 "
                                            << "" << QStringList({"李秀英"});
    QTest::newRow("part of a name") << ""
                                    << "建" << QStringList({"王建国", "张建"});
    QTest::newRow("the name box typed last decides") << "12"
                                                     << "李" << QStringList({"李秀英"});
    QTest::newRow("a quote finds nothing") << ""
                                           << "O'" << QStringList();
}

void TestLookupDialogs::typingFilters()
{
    QFETCH(QString, cardText);
    QFETCH(QString, nameText);
    QFETCH(QStringList, names);
    TFrmQueryUserInfo dialog(t->ctx);
    dialog.show();
    auto *grid = dialog.findChild<DataGridWidget *>(QStringLiteral("DBGrid1"));
    TypeText(dialog.findChild<QLineEdit *>(QStringLiteral("edtUserCard")), cardText);
    TypeText(dialog.findChild<QLineEdit *>(QStringLiteral("edtUserName")), nameText);
    QStringList shown;
    for (int r = 0; r < grid->rowCount(); ++r)
        shown << grid->value(r, QStringLiteral("姓名")).toString();
    QCOMPARE(shown, names);
    QVERIFY2(t->prompter.messages.isEmpty(), qPrintable(t->prompter.messages.join(';')));
}

void TestLookupDialogs::pickedCardIsReturned()
{
    TFrmQueryUserInfo dialog(t->ctx);
    QSignalSpy picked(&dialog, &TFrmQueryUserInfo::memberPicked);
    onNextModal([](QWidget *modal) {
        TypeText(modal->findChild<QLineEdit *>(QStringLiteral("edtUserName")),
                 QStringLiteral("Ne"));
        auto *grid = modal->findChild<DataGridWidget *>(QStringLiteral("DBGrid1"));
        QCOMPARE(grid->rowCount(), 1);
        DoubleClickRow(grid, 0);
    });
    QCOMPARE(dialog.PickMember(), std::optional<QString>(QStringLiteral("4000")));
    QCOMPARE(picked.count(), 1);
    QVERIFY(!dialog.isVisible());
    // The boxes and the list are emptied by a pick.
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("edtUserName"))->text(), QString());
    QCOMPARE(dialog.findChild<DataGridWidget *>(QStringLiteral("DBGrid1"))->rowCount(), 0);
}

void TestLookupDialogs::pickWhenShownModeless()
{
    TFrmQueryUserInfo dialog(t->ctx);
    QSignalSpy picked(&dialog, &TFrmQueryUserInfo::memberPicked);
    dialog.show();
    TypeText(dialog.findChild<QLineEdit *>(QStringLiteral("edtUserCard")), QStringLiteral("3123"));
    DoubleClickRow(dialog.findChild<DataGridWidget *>(QStringLiteral("DBGrid1")), 0);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.at(0).at(0).toString(), QStringLiteral("3123"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("edtUserCard"))->text(), QString());
}

void TestLookupDialogs::closingHandsNothingBack()
{
    TFrmQueryUserInfo dialog(t->ctx);
    QSignalSpy picked(&dialog, &TFrmQueryUserInfo::memberPicked);
    onNextModal([](QWidget *modal) {
        TypeText(modal->findChild<QLineEdit *>(QStringLiteral("edtUserCard")),
                 QStringLiteral("12"));
        modal->close();
    });
    QCOMPARE(dialog.PickMember(), std::nullopt);
    QCOMPARE(picked.count(), 0);
    // The search text stays for the next opening.
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("edtUserCard"))->text(),
             QStringLiteral("12"));
}

void TestLookupDialogs::doubleClickOnEmptyListDoesNothing()
{
    TFrmQueryUserInfo dialog(t->ctx);
    QSignalSpy picked(&dialog, &TFrmQueryUserInfo::memberPicked);
    dialog.show();
    auto *grid = dialog.findChild<DataGridWidget *>(QStringLiteral("DBGrid1"));
    TypeText(dialog.findChild<QLineEdit *>(QStringLiteral("edtUserCard")), QStringLiteral("999"));
    QCOMPARE(grid->rowCount(), 0);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(picked.count(), 0);
    QVERIFY(dialog.isVisible());
}

void TestLookupDialogs::askPassword_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("how");
    QTest::addColumn<std::optional<QString>>("result");
    QTest::newRow("Enter, blanks trimmed")
        << "  8888 "
        << "enter" << std::optional<QString>(QStringLiteral("8888"));
    QTest::newRow("确定") << "abc"
                          << "btnOk" << std::optional<QString>(QStringLiteral("abc"));
    QTest::newRow("确定 with nothing typed")
        << ""
        << "btnOk" << std::optional<QString>(QStringLiteral(""));
    QTest::newRow("关闭") << "abc"
                          << "btnClose" << std::optional<QString>();
    QTest::newRow("Escape") << "abc"
                            << "escape" << std::optional<QString>();
}

void TestLookupDialogs::askPassword()
{
    QFETCH(QString, typed);
    QFETCH(QString, how);
    QFETCH(std::optional<QString>, result);
    TFrmCardPwd prompt(t->ctx);
    onNextModal([typed, how](QWidget *modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("请输入卡密码"));
        auto *edit = modal->findChild<QLineEdit *>(QStringLiteral("edtCardPwd"));
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->maxLength(), 10);
        TypeText(edit, typed);
        if (how == QLatin1String("enter"))
            QTest::keyClick(edit, Qt::Key_Return);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(edit, Qt::Key_Escape);
        else
            QTest::mouseClick(modal->findChild<QPushButton *>(how), Qt::LeftButton);
    });
    const std::optional<QString> answer = prompt.AskPassword();
    QCOMPARE(answer.has_value(), result.has_value());
    if (result)
        QCOMPARE(*answer, *result);
}

void TestLookupDialogs::passwordBoxStartsEmpty()
{
    TFrmCardPwd prompt(t->ctx);
    onNextModal([](QWidget *modal) {
        TypeText(modal->findChild<QLineEdit *>(QStringLiteral("edtCardPwd")),
                 QStringLiteral("old"));
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnClose")),
                          Qt::LeftButton);
    });
    QCOMPARE(prompt.AskPassword(), std::nullopt);
    onNextModal([](QWidget *modal) {
        QCOMPARE(modal->findChild<QLineEdit *>(QStringLiteral("edtCardPwd"))->text(), QString());
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    });
    QCOMPARE(prompt.AskPassword(), std::optional<QString>(QStringLiteral("")));
}

QTEST_MAIN(TestLookupDialogs)
#include "tst_TFrmQueryUserInfo.moc"
