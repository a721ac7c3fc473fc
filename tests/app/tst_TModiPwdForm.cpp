// Changing the operator's own name and password; a change ends the program
// and the next login uses the new password.

#include "app/Login.h"
#include "app/TModiPwdForm.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace
{
void fill(TModiPwdForm &form, const QString &name, const QString &password, const QString &repeat)
{
    for (const auto &[edit, text] : {std::pair{form.Edit1, name}, std::pair{form.Edit2, password},
                                     std::pair{form.Edit3, repeat}}) {
        edit->clear();
        edit->insert(text);
    }
}
} // namespace

class TestTModiPwdForm : public QObject
{
    Q_OBJECT
private slots:
    void showsOperator();
    void refusals_data();
    void refusals();
    void changeEndsProgramAndNewPasswordWorks_data();
    void changeEndsProgramAndNewPasswordWorks();
    void cancelEmptiesPasswordsOnly();
};

void TestTModiPwdForm::showsOperator()
{
    TestDatabase t;
    t.loginAs(" admin", "1", "99");
    TModiPwdForm form(t.ctx);
    form.show();
    QCOMPARE(form.windowTitle(), QString("修改密码"));
    QCOMPARE(form.Edit1->text(), QString(" admin"));
    QCOMPARE(form.focusWidget(), form.Edit2);
    QCOMPARE(form.Edit2->echoMode(), QLineEdit::Password);
    QCOMPARE(form.Edit3->echoMode(), QLineEdit::Password);
    QVERIFY(form.BtnOk->isDefault());
    for (QLineEdit *e : {form.Edit1, form.Edit2, form.Edit3})
        QCOMPARE(e->maxLength(), 20);
}

void TestTModiPwdForm::refusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("repeat");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no name") << "  "
                             << "a"
                             << "a"
                             << "请输入操作员！"
                             << "Edit1";
    QTest::newRow("no password") << "admin"
                                 << " "
                                 << "a"
                                 << "请输入密码！"
                                 << "Edit2";
    QTest::newRow("no repetition") << "admin"
                                   << "a"
                                   << ""
                                   << "请重复输入密码！"
                                   << "Edit3";
    QTest::newRow("different") << "admin"
                               << "abc"
                               << "abd"
                               << "两次输入密码不一样！"
                               << "Edit2";
}

void TestTModiPwdForm::refusals()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, repeat);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t;
    t.loginAs();
    TModiPwdForm form(t.ctx);
    QSignalSpy changed(&form, &TModiPwdForm::passwordChanged);
    form.show();
    fill(form, name, password, repeat);
    QTest::mouseClick(form.BtnOk, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{message});
    QCOMPARE(form.focusWidget()->objectName(), focus);
    QVERIFY(form.isVisible());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(t.value("SELECT Admin_Pwd FROM admin WHERE Admin_ID = 1").toString(),
             QString("admin"));
}

void TestTModiPwdForm::changeEndsProgramAndNewPasswordWorks_data()
{
    QTest::addColumn<QString>("group"); // the operator's group
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("loginPassword"); // as typed at the next login
    QTest::newRow("password only") << "99"
                                   << "admin"
                                   << "new-pass"
                                   << "new-pass";
    QTest::newRow("sales clerk, trimmed") << "1"
                                          << " 小王 "
                                          << "  8888 "
                                          << "8888";
    QTest::newRow("quote in the password") << "99"
                                           << "admin"
                                           << "it's"
                                           << "it's";
    // Renaming onto another operator's name is allowed; the login then takes
    // the first matching row.
    QTest::newRow("renamed to another operator") << "1"
                                                 << "admin"
                                                 << "second"
                                                 << "second";
}

void TestTModiPwdForm::changeEndsProgramAndNewPasswordWorks()
{
    QFETCH(QString, group);
    QFETCH(QString, newName);
    QFETCH(QString, password);
    QFETCH(QString, loginPassword);
    TestDatabase t;
    QString id = "1";
    QString oldName = "admin", oldPassword = "admin";
    if (group == "1") {
        id = QString::number(
            t.db.insert("INSERT INTO admin (Admin_Name, Admin_Pwd, Admin_Group) VALUES (?, ?, ?)",
                        {"小王", "1234", "1"}));
        oldName = "小王";
        oldPassword = "1234";
    }
    t.loginAs(oldName, id, group);
    TModiPwdForm form(t.ctx);
    QSignalSpy changed(&form, &TModiPwdForm::passwordChanged);
    form.show();
    fill(form, newName, password, password);
    QTest::mouseClick(form.BtnOk, Qt::LeftButton);

    QCOMPARE(t.prompter.messages, QStringList{"修改密码成功，需要重新登录！"});
    QCOMPARE(changed.count(), 1);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!form.isVisible());
    QVERIFY(form.Edit2->text().isEmpty());
    QVERIFY(form.Edit3->text().isEmpty());
    QCOMPARE(t.value("SELECT Admin_Group FROM admin WHERE Admin_ID = ?", {id}).toString(), group);

    LoginValues next;
    QVERIFY(!LogIn(t.db, newName, loginPassword, next));
    QCOMPARE(next.MyAdminID, id);
    QCOMPARE(next.MyAdminGroup, group);
    LoginValues old;
    const Check refused = LogIn(t.db, oldName, oldPassword, old);
    QVERIFY(refused);
    QCOMPARE(refused->message, WrongLoginMessage);
    if (id != "1") {
        // The other operators' rows are untouched.
        LoginValues admin;
        QVERIFY(!LogIn(t.db, "admin", "admin", admin));
        QCOMPARE(admin.MyAdminGroup, QString("99"));
    }
}

void TestTModiPwdForm::cancelEmptiesPasswordsOnly()
{
    TestDatabase t;
    t.loginAs();
    TModiPwdForm form(t.ctx);
    QSignalSpy changed(&form, &TModiPwdForm::passwordChanged);
    form.show();
    fill(form, "admin", "abc", "abc");
    QTest::mouseClick(form.BtnCancel, Qt::LeftButton);
    QVERIFY(form.isVisible());
    QCOMPARE(form.Edit1->text(), QString("admin"));
    QVERIFY(form.Edit2->text().isEmpty());
    QVERIFY(form.Edit3->text().isEmpty());
    QCOMPARE(changed.count(), 0);
    QVERIFY(t.prompter.messages.isEmpty());
    QCOMPARE(t.value("SELECT Admin_Pwd FROM admin WHERE Admin_ID = 1").toString(),
             QString("admin"));
}

QTEST_MAIN(TestTModiPwdForm)
#include "tst_TModiPwdForm.moc"
