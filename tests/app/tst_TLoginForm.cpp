#include "app/TLoginForm.h"
#include "app/TSplashForm.h"
#include "support/TestDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// The start of the program: splash, settings load and the login dialog.
class TestLoginForm : public QObject
{
    Q_OBJECT
private slots:
    void splashHandsOverAfterItsTime();
    void missingDatabaseEndsTheProgram();
    void newerDatabaseEndsTheProgramSayingWhy();
    void startLoadsSettingsFromTheWorkingFolder();
    void loginThroughTheDialog_data();
    void loginThroughTheDialog();
    void exitAndTitleBarCloseEndTheProgram();
};

void TestLoginForm::splashHandsOverAfterItsTime()
{
    TSplashForm splash;
    QSignalSpy finished(&splash, &TSplashForm::finished);
    splash.show();
    QCOMPARE(splash.Timer1->interval(), 1800);
    QCOMPARE(splash.size(), QSize(580, 432));
    QTest::qWait(1000);
    QCOMPARE(finished.count(), 0);
    QVERIFY(splash.isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 2000);
    QVERIFY(!splash.isVisible());
}

void TestLoginForm::missingDatabaseEndsTheProgram()
{
    TestDatabase t;
    t.db.close();
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(empty.path());
    TLoginForm login(t.ctx);
    QSignalSpy quit(&login, &TLoginForm::quitRequested);
    QVERIFY(!login.StartUp());
    QDir::setCurrent(previous);
    QCOMPARE(quit.count(), 1);
    QCOMPARE(quit.first().first().toInt(), 1);
    QVERIFY(t.prompter.last().startsWith(
        QStringLiteral("程序出现错误，错误号0503，请与百纳软件联系。")));
    // Nothing was created in the working folder.
    QVERIFY(!QFile::exists(QDir(empty.path()).filePath(QStringLiteral("BNA_Member.dll"))));
}

void TestLoginForm::newerDatabaseEndsTheProgramSayingWhy()
{
    TestDatabase t;
    t.db.exec(QStringLiteral("PRAGMA user_version = 999"));
    t.db.close();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(t.folder());
    TLoginForm login(t.ctx);
    QSignalSpy quit(&login, &TLoginForm::quitRequested);
    QVERIFY(!login.StartUp());
    QDir::setCurrent(previous);
    QCOMPARE(quit.count(), 1);
    QVERIFY(!t.db.isOpen());
    QVERIFY(t.prompter.last().startsWith(
        QStringLiteral("程序出现错误，错误号0503，请与百纳软件联系。")));
    QVERIFY2(t.prompter.last().contains(QStringLiteral("（999）比本程序新")),
             qPrintable(t.prompter.last()));
}

void TestLoginForm::startLoadsSettingsFromTheWorkingFolder()
{
    TestDatabase t;
    t.db.exec(QStringLiteral("UPDATE DataSeting SET FFloatNum = 1, SaoMaYes = '1 '"));
    t.db.close();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(t.folder());
    TLoginForm login(t.ctx);
    QSignalSpy quit(&login, &TLoginForm::quitRequested);
    QVERIFY(login.StartUp());
    QDir::setCurrent(previous);
    QCOMPARE(quit.count(), 0);
    QVERIFY(t.db.isOpen());
    QCOMPARE(t.session.settings.FFloatNum, -1);
    QCOMPARE(t.session.settings.SaoMaYes, QStringLiteral("1"));
    QCOMPARE(t.session.login.MyDianMianID, QStringLiteral("0"));
    QCOMPARE(login.Label1->text(), QStringLiteral("百纳餐饮会员管理系统"));
}

void TestLoginForm::loginThroughTheDialog_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("admitted");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("nameLeft");
    QTest::addColumn<QString>("focus");
    QTest::newRow("right") << "admin"
                           << "admin" << true << ""
                           << ""
                           << "edtUserName";
    QTest::newRow("leading blanks kept") << "  admin"
                                         << "admin" << true << ""
                                         << ""
                                         << "edtUserName";
    QTest::newRow("wrong password empties both")
        << "admin"
        << "x" << false << "操作员或密码输入不正确，请重试！"
        << ""
        << "edtUserName";
    QTest::newRow("empty password keeps the name") << "admin"
                                                   << "" << false << "密码不能为空！"
                                                   << "admin"
                                                   << "edtUserPWD";
}

void TestLoginForm::loginThroughTheDialog()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, admitted);
    QFETCH(QString, message);
    QFETCH(QString, nameLeft);
    QFETCH(QString, focus);
    TestDatabase t;
    TLoginForm login(t.ctx);
    QSignalSpy loggedIn(&login, &TLoginForm::loggedIn);
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    QTest::keyClicks(login.edtUserName, name);
    QTest::keyClicks(login.edtUserPWD, password);
    QTest::mouseClick(login.BitBtn1, Qt::LeftButton);
    QCOMPARE(loggedIn.count(), admitted ? 1 : 0);
    QCOMPARE(login.isVisible(), !admitted);
    QCOMPARE(login.edtUserName->text(), nameLeft);
    if (admitted) {
        QCOMPARE(t.session.login.MyAdminName, name);
        QCOMPARE(t.session.login.MyAdminGroup, QStringLiteral("99"));
        QVERIFY(t.prompter.messages.isEmpty());
    } else {
        QCOMPARE(t.prompter.last(), message);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }
}

void TestLoginForm::exitAndTitleBarCloseEndTheProgram()
{
    TestDatabase t;
    TLoginForm login(t.ctx);
    QSignalSpy quit(&login, &TLoginForm::quitRequested);
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    QTest::mouseClick(login.BitBtn2, Qt::LeftButton);
    QCOMPARE(quit.count(), 1);
    login.show();
    login.close();
    QCOMPARE(quit.count(), 2);
    QCOMPARE(quit.last().first().toInt(), 0);
}

QTEST_MAIN(TestLoginForm)
#include "tst_TLoginForm.moc"
