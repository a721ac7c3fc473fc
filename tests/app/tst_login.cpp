#include "app/Login.h"
#include "app/MainRules.h"
#include "support/TestDatabase.h"

#include <QtTest>

// The operator login and the main window's rules, without windows.
class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void logIn_data();
    void logIn();
    void firstMatchingRowWins();
    void saleScreenChoice_data();
    void saleScreenChoice();
    void productsRuleReadsTheDatabase();
    void settingsRule_data();
    void settingsRule();
};

void TestLogin::logIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message"); // empty: logged in
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("group");
    QTest::newRow("administrator") << "admin"
                                   << "admin"
                                   << ""
                                   << ""
                                   << "99";
    QTest::newRow("clerk") << "收银员"
                           << "1234"
                           << ""
                           << ""
                           << "1";
    QTest::newRow("empty name") << ""
                                << "admin"
                                << "操作员不能为空！"
                                << "edtUserName"
                                << "";
    QTest::newRow("blank name") << "   "
                                << "admin"
                                << "操作员不能为空！"
                                << "edtUserName"
                                << "";
    QTest::newRow("empty password") << "admin"
                                    << ""
                                    << "密码不能为空！"
                                    << "edtUserPWD"
                                    << "";
    QTest::newRow("blank password") << "admin"
                                    << "  "
                                    << "密码不能为空！"
                                    << "edtUserPWD"
                                    << "";
    QTest::newRow("wrong password") << "admin"
                                    << "nimda"
                                    << "操作员或密码输入不正确，请重试！"
                                    << "edtUserName"
                                    << "";
    QTest::newRow("unknown operator") << "nobody"
                                      << "admin"
                                      << "操作员或密码输入不正确，请重试！"
                                      << "edtUserName"
                                      << "";
    QTest::newRow("leading blanks") << "  admin"
                                    << "admin "
                                    << ""
                                    << ""
                                    << "99";
    QTest::newRow("case of the password counts") << "admin"
                                                 << "ADMIN"
                                                 << "操作员或密码输入不正确，请重试！"
                                                 << "edtUserName"
                                                 << "";
    QTest::newRow("quote is sanitised") << "O'Neil"
                                        << "p'w"
                                        << ""
                                        << ""
                                        << "1";
    QTest::newRow("injection text is only a name") << "x' or '1'='1"
                                                   << "x' or '1'='1"
                                                   << "操作员或密码输入不正确，请重试！"
                                                   << "edtUserName"
                                                   << "";
}

void TestLogin::logIn()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, group);
    TestDatabase t(TestDatabase::Content::Demo);
    // Stored as the settings grid stores typed text: with ’ for '.
    t.db.exec(QStringLiteral("INSERT INTO admin (Admin_Name, Admin_Pwd, Admin_Group) "
                             "VALUES (?, ?, '1')"),
              {QStringLiteral("O’Neil"), QStringLiteral("p’w")});
    LoginValues values;
    values.MyAdminName = QStringLiteral("before");
    const Check refusal = LogIn(t.db, name, password, values);
    if (message.isEmpty()) {
        QVERIFY2(!refusal, refusal ? qPrintable(refusal->message) : "");
        // The name is kept exactly as typed, blanks included.
        QCOMPARE(values.MyAdminName, name);
        QCOMPARE(values.MyAdminGroup, group);
        QCOMPARE(values.MyAdminID,
                 t.value(QStringLiteral("SELECT Admin_ID FROM admin WHERE Admin_Name = ?"),
                         {name.trimmed().replace(QLatin1Char('\''), QChar(0x2019))})
                     .toString());
    } else {
        QVERIFY(refusal);
        QCOMPARE(refusal->message, message);
        QCOMPARE(refusal->focus, focus);
        QCOMPARE(values.MyAdminName, QStringLiteral("before"));
    }
}

void TestLogin::firstMatchingRowWins()
{
    TestDatabase t;
    t.db.exec(QStringLiteral("INSERT INTO admin (Admin_Name, Admin_Pwd, Admin_Group) "
                             "VALUES ('admin', 'admin', '1')"));
    LoginValues values;
    QVERIFY(!LogIn(t.db, QStringLiteral("admin"), QStringLiteral("admin"), values));
    QCOMPARE(values.MyAdminID, QStringLiteral("1"));
    QCOMPARE(values.MyAdminGroup, QStringLiteral("99"));
}

void TestLogin::saleScreenChoice_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("screen");
    QTest::newRow("standard") << "0" << int(SaleScreen::Standard);
    QTest::newRow("scan") << "1" << int(SaleScreen::Scan);
    QTest::newRow("retail") << "2" << int(SaleScreen::Retail);
    QTest::newRow("external") << "3" << int(SaleScreen::External);
    QTest::newRow("empty") << "" << int(SaleScreen::Standard);
    QTest::newRow("unknown") << "7" << int(SaleScreen::Standard);
}

void TestLogin::saleScreenChoice()
{
    QFETCH(QString, mode);
    QFETCH(int, screen);
    QCOMPARE(int(SaleScreenFor(mode)), screen);
}

void TestLogin::productsRuleReadsTheDatabase()
{
    TestDatabase t;
    const Check refused = ProductsRefusal(t.db);
    QVERIFY(refused);
    QCOMPARE(refused->message,
             QStringLiteral("对不起,此功能只能在系统支持扫码并做为独立软件时才可以使用!"));
    t.db.exec(QStringLiteral("UPDATE DataSeting SET SaoMaYes = ' 1 '"));
    QVERIFY(!ProductsRefusal(t.db));
    t.db.exec(QStringLiteral("UPDATE DataSeting SET SaoMaYes = '2'"));
    QVERIFY(ProductsRefusal(t.db));
}

void TestLogin::settingsRule_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("administrator") << "99" << true;
    QTest::newRow("clerk") << "1" << false;
    QTest::newRow("blanks around") << " 99 " << true;
    QTest::newRow("other digits") << "990" << false;
    QTest::newRow("empty") << "" << false;
}

void TestLogin::settingsRule()
{
    QFETCH(QString, group);
    QFETCH(bool, allowed);
    LoginValues login;
    login.MyAdminGroup = group;
    const Check refusal = SettingsRefusal(login);
    QCOMPARE(!refusal, allowed);
    if (refusal)
        QCOMPARE(refusal->message, QStringLiteral("你不是管理员，无此权限！"));
}

QTEST_GUILESS_MAIN(TestLogin)
#include "tst_login.moc"
