#include "app/TMain.h"
#include "members/TViewForm.h"
#include "sales/TSaleScreen.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

// The main window: its commands, the rules it applies itself, and the end.
class TestMain : public QObject
{
    Q_OBJECT
private slots:
    void toolBarAndMenu();
    void refusals_data();
    void refusals();
    void webPagesOpenInTheBrowser();
    void commandsOpenTheirWindows_data();
    void commandsOpenTheirWindows();
    void consumptionHistoryFromTheSaleScreens_data();
    void consumptionHistoryFromTheSaleScreens();
    void closingEndsTheProgram_data();
    void closingEndsTheProgram();
};

void TestMain::toolBarAndMenu()
{
    TestDatabase t;
    t.loginAs();
    TMain main(t.ctx);
    main.ShowMain();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(main.windowTitle(), QStringLiteral("百纳餐饮会员管理系统"));
    QCOMPARE(main.StatusPanel2->text().isEmpty(), false);

    const QStringList expected = {"建卡", "消费",     "退货",   "查询", "会员",
                                  "充值", "兑分",     "产品",   "统计", "设置",
                                  "备份", "修改密码", "计次卡", "关于", "退出"};
    QStringList shown;
    auto *bar = main.findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QVERIFY(bar);
    for (QAction *a : bar->actions()) {
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        if (button && a->isVisible())
            shown << button->text();
    }
    QCOMPARE(shown, expected);
    // 发布信息 has no command and is hidden, so 关于 and 退出 close the row.
    QVERIFY(!main.BtnPublish->isVisible());

    QStringList menus;
    for (QAction *a : main.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"【建卡】", "【消费】", "【退货】", "【查询】", "【会员】",
                                 "【充值】", "【兑分】", "【计次卡】", "【产品】", "【统计】",
                                 "【设置】", "【修改密码】", "【关于】", "【退出】"}));
    QStringList countItems;
    for (QAction *a : main.findChild<QMenu *>(QStringLiteral("N6"))->actions()) {
        if (!a->isSeparator())
            countItems << a->objectName() + QLatin1Char('=') + a->text();
    }
    QCOMPARE(countItems, (QStringList{"N7=计次项目定义", "N8=计次卡充次", "N9=计次卡消费",
                                      "N11=计次信息查询", "N12=计次信息统计", "N14=计次卡退次"}));
}

void TestMain::refusals_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("settings for a clerk") << "1"
                                          << "0"
                                          << "BtnSetting"
                                          << "你不是管理员，无此权限！";
    QTest::newRow("settings menu for a clerk") << "1"
                                               << "0"
                                               << "MnuSetting"
                                               << "你不是管理员，无此权限！";
    QTest::newRow("products in mode 0")
        << "99"
        << "0"
        << "BtnProducts"
        << "对不起,此功能只能在系统支持扫码并做为独立软件时才可以使用!";
    QTest::newRow("products menu in mode 2")
        << "99"
        << "2"
        << "MnuProducts"
        << "对不起,此功能只能在系统支持扫码并做为独立软件时才可以使用!";
}

void TestMain::refusals()
{
    QFETCH(QString, group);
    QFETCH(QString, mode);
    QFETCH(QString, button);
    QFETCH(QString, message);
    TestDatabase t;
    t.loginAs(QStringLiteral("admin"), QStringLiteral("1"), group);
    t.db.exec(QStringLiteral("UPDATE DataSeting SET SaoMaYes = ?"), {mode});
    TMain main(t.ctx);
    main.ShowMain();
    if (auto *b = main.findChild<QToolButton *>(button))
        QTest::mouseClick(b, Qt::LeftButton);
    else
        main.findChild<QAction *>(button)->trigger();
    QCOMPARE(t.prompter.messages, QStringList{message});
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget *w) { return w->isVisible() && w->objectName() != "TMain"; }),
             0);
}

void TestMain::commandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("command"); // a tool button or a menu action
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("modal");
    QTest::newRow("退货 button") << "btnSaleReturn"
                                 << "TFrmSaleReturn" << false;
    QTest::newRow("退货 menu") << "v1"
                               << "TFrmSaleReturn" << false;
    QTest::newRow("充值 button") << "BtnAdd"
                                 << "TAddMoney_Frm" << true;
    QTest::newRow("充值 menu") << "N1"
                               << "TAddMoney_Frm" << false;
    QTest::newRow("兑分 button") << "BtnDuiFen"
                                 << "TCashForm" << false;
    QTest::newRow("兑分 menu") << "MnuDuiFen"
                               << "TCashForm" << false;
    QTest::newRow("统计 button") << "BtnStatistics"
                                 << "TFTongji" << true;
    QTest::newRow("统计 menu") << "MnuStatistics"
                               << "TFTongji" << true;
}

void TestMain::commandsOpenTheirWindows()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(bool, modal);
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    TMain main(t.ctx);
    main.ShowMain();
    QString modalSeen;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            modalSeen = w->objectName();
            w->close();
        }
    });
    timer.start(50);
    if (auto *b = main.findChild<QToolButton *>(command))
        QTest::mouseClick(b, Qt::LeftButton);
    else
        main.findChild<QAction *>(command)->trigger();
    if (modal) {
        QCOMPARE(modalSeen, window);
    } else {
        timer.stop();
        auto *opened = main.findChild<QWidget *>(window);
        QVERIFY(opened);
        QVERIFY(opened->isVisible());
        QVERIFY(!opened->isModal());
        opened->close();
    }
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestMain::webPagesOpenInTheBrowser()
{
    TestDatabase t;
    t.loginAs();
    TMain main(t.ctx);
    main.findChild<QAction *>(QStringLiteral("N2"))->trigger();
    main.findChild<QAction *>(QStringLiteral("N3"))->trigger();
    QCOMPARE(t.urls.opened.size(), 2);
    QVERIFY(t.urls.opened[0].startsWith(QLatin1String("http")));
    QVERIFY(t.urls.opened[0] != t.urls.opened[1]);
}

void TestMain::consumptionHistoryFromTheSaleScreens_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("modal");
    QTest::newRow("standard screen, modeless") << "0" << false;
    QTest::newRow("scan screen, modal") << "1" << true;
}

void TestMain::consumptionHistoryFromTheSaleScreens()
{
    QFETCH(QString, mode);
    QFETCH(bool, modal);
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    t.session.settings.SaoMaYes = mode;
    TMain main(t.ctx);
    main.ShowMain();
    bool checked = false;
    const auto lookAtHistory = [&] {
        auto *screen = main.findChild<TSaleScreen *>();
        QVERIFY(screen && screen->isVisible());
        QCOMPARE(screen->isModal(), modal);
        screen->UserCard->setText(QStringLiteral("1001"));
        screen->CardCheck();
        screen->ShowHistory();
        auto *view = main.findChild<TViewForm *>();
        QVERIFY(view && view->isVisible());
        // Over a modal screen the query is modal too, so it can be used.
        QCOMPARE(view->isModal(), modal);
        QCOMPARE(view->LUserName->text().trimmed(), QStringLiteral("王建国"));
        view->close();
        screen->close();
        checked = true;
    };
    if (modal)
        QTimer::singleShot(0, &main, lookAtHistory);
    QTest::mouseClick(main.BtnConsume, Qt::LeftButton);
    if (!modal)
        lookAtHistory();
    QVERIFY(checked);
    // Opened from the main window afterwards, the query is modeless again.
    QTest::mouseClick(main.BtnQuery, Qt::LeftButton);
    QVERIFY(!main.findChild<TViewForm *>()->isModal());
}

void TestMain::closingEndsTheProgram_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button") << "BtnExit";
    QTest::newRow("exit menu") << "MnuExit";
    QTest::newRow("title bar") << "close";
}

void TestMain::closingEndsTheProgram()
{
    QFETCH(QString, how);
    TestDatabase t;
    t.loginAs();
    TMain main(t.ctx);
    QSignalSpy quit(&main, &TMain::quitRequested);
    main.ShowMain();
    if (how == QLatin1String("BtnExit"))
        QTest::mouseClick(main.BtnExit, Qt::LeftButton);
    else if (how == QLatin1String("MnuExit"))
        main.findChild<QAction *>(how)->trigger();
    else
        main.close();
    QCOMPARE(quit.count(), 1);
    QCOMPARE(quit.first().first().toInt(), 0);
    QVERIFY(t.prompter.messages.isEmpty());
}

QTEST_MAIN(TestMain)
#include "tst_TMain.moc"
