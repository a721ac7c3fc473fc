#include "export/TFrmExcelOption.h"
#include "members/MemberFixture.h"
#include "members/MemberGui.h"
#include "members/TModiMemberInfo.h"
#include "members/TViewForm.h"
#include "support/TestDatabase.h"
#include "widgets/DataGridWidget.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace MemberFixture;
using namespace MemberGui;

// The consumption query driven through its controls.
class TestViewForm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showStartsEmpty();
    void searchRefusals_data();
    void searchRefusals();
    void cardSearchShowsMemberAndSales();
    void sharedCardShowsNewerMember();
    void nameSearchListsAllMatches();
    void pickingInTheLists();
    void memberWithoutSales();
    void enterRunsTheSearchOfItsBox_data();
    void enterRunsTheSearchOfItsBox();
    void modifyEditsShownMember();
    void modifyWithNothingShownDoesNothing();
    void showForCard();
    void exportAllSaleLines();
    void exportOptionFollowsShownMember();
    void changeElsewhereShowsAfresh();

private:
    // A control of the query window itself (the edit dialog inside it has
    // controls of the same names).
    template <typename W> W *find(const char *name)
    {
        for (W *w : form->findChildren<W *>(QLatin1String(name))) {
            if (w->window() == form.get())
                return w;
        }
        qFatal("no control %s", name);
        return nullptr;
    }
    QString label(const char *name) { return find<QLabel>(name)->text(); }
    DataGridWidget *grid(const char *name) { return find<DataGridWidget>(name); }
    void searchCard(const QString &card)
    {
        TypeText(find<QLineEdit>("Edit1"), card);
        QTest::mouseClick(find<QPushButton>("BitBtn3"), Qt::LeftButton);
    }
    void searchName(const QString &name)
    {
        TypeText(find<QLineEdit>("Edit2"), name);
        QTest::mouseClick(find<QPushButton>("BitBtn4"), Qt::LeftButton);
    }

    std::unique_ptr<TestDatabase> t;
    std::unique_ptr<TViewForm> form;
    qint64 wang = 0, zhang = 0, li = 0;
    qint64 wangOld = 0, wangNew = 0, zhangSale = 0;
};

void TestViewForm::init()
{
    t = std::make_unique<TestDatabase>();
    t->loginAs();
    MemberRow m;
    m.card = QStringLiteral("1001");
    m.name = QStringLiteral("王建国");
    m.moneyAll = 75;
    wang = addMember(t->db, m);
    zhang = addMember(t->db, QStringLiteral("1002"), QStringLiteral("张建华"));
    li = addMember(t->db, QStringLiteral("1003"), QStringLiteral("李秀英"));
    wangOld = addSale(t->db, wang, QStringLiteral("2024-03-01 10:00:00"), {{10, 1}, {5, 2}});
    // A sale with a return line: its total shows positive.
    wangNew = addSale(t->db, wang, QStringLiteral("2024-03-04 12:30:00"), {{12.5, 2}, {8, -3}});
    zhangSale = addSale(t->db, zhang, QStringLiteral("2024-03-02 18:00:00"), {{30, 1}});
    form = std::make_unique<TViewForm>(t->ctx);
    showActive(form.get());
}

void TestViewForm::cleanup()
{
    form.reset();
    t.reset();
}

void TestViewForm::showStartsEmpty()
{
    searchCard(QStringLiteral("1001"));
    find<QCheckBox>("chk_ExcelAll")->setChecked(true);
    form->close();
    QVERIFY(!find<QCheckBox>("chk_ExcelAll")->isChecked());
    showActive(form.get());
    QCOMPARE(form->windowTitle(), QStringLiteral("查询"));
    QCOMPARE(label("LUserCard"), QString());
    QCOMPARE(label("lblCardLocked"), QString());
    QCOMPARE(grid("DBGrid3")->rowCount(), 0);
    QCOMPARE(grid("DBGrid1")->rowCount(), 0);
    QCOMPARE(grid("DBGrid2")->rowCount(), 0);
    // The grids show their headings.
    QCOMPARE(grid("DBGrid3")->titles(), QStringList({"序号", "卡号", "姓名", "储值金额", "性别"}));
    QCOMPARE(grid("DBGrid1")->titles(),
             QStringList({"序号", "姓名", "积分", "消费额", "消费时间", "店名", "操作员"}));
    QCOMPARE(grid("DBGrid2")->titles().size(), 13);
    QCOMPARE(label("lblLikeColorCaption"), QStringLiteral("口味："));
    QCOMPARE(label("lblYaoweiCaption"), QStringLiteral("其他信息："));
}

void TestViewForm::searchRefusals_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("no card") << " "
                             << "" << QStringLiteral("请输入卡号!");
    QTest::newRow("unknown card") << "9999"
                                  << "" << QStringLiteral("没有查到此卡号!");
    QTest::newRow("part of a card is no card") << "100"
                                               << "" << QStringLiteral("没有查到此卡号!");
    QTest::newRow("card with a quote") << "10'01"
                                       << "" << QStringLiteral("没有查到此卡号!");
    QTest::newRow("no name") << ""
                             << " " << QStringLiteral("请输入用户姓名！");
    QTest::newRow("unknown name") << ""
                                  << "赵" << QStringLiteral("没有查到此用户！");
    QTest::newRow("name with a quote") << ""
                                       << "O'" << QStringLiteral("没有查到此用户！");
}

void TestViewForm::searchRefusals()
{
    QFETCH(QString, card);
    QFETCH(QString, name);
    QFETCH(QString, message);
    if (name.isEmpty())
        searchCard(card);
    else
        searchName(name);
    QCOMPARE(t->prompter.messages, QStringList{message});
    QCOMPARE(QApplication::focusWidget(), find<QLineEdit>("Edit1"));
    QCOMPARE(label("LUserCard"), QString());
}

void TestViewForm::cardSearchShowsMemberAndSales()
{
    t->db.exec(QStringLiteral("UPDATE User_Info SET User_Stop = 1, User_Size = '鱼香肉丝', "
                              "User_Other = '老顾客' WHERE User_ID = ?"),
               {wang});
    searchCard(QStringLiteral(" 1001 "));
    QVERIFY2(t->prompter.messages.isEmpty(), qPrintable(t->prompter.messages.join(';')));
    QCOMPARE(label("LUserCard"), QStringLiteral("1001"));
    QCOMPARE(label("LUserName"), QStringLiteral("王建国"));
    QCOMPARE(label("LUserSex"), QStringLiteral("女"));
    QCOMPARE(label("LUserNum"), QStringLiteral("120"));
    QCOMPARE(label("LUserMoneyAll"), QStringLiteral("75"));
    QCOMPARE(label("LUserWork"), QStringLiteral("88.5"));
    QCOMPARE(label("LUserBrithday"), QStringLiteral("1980-2-29"));
    QCOMPARE(label("LUserSize"), QStringLiteral("鱼香肉丝"));
    QCOMPARE(label("lblUserDate"), QStringLiteral("2025-12-31"));
    QCOMPARE(label("lblCardLocked"), QStringLiteral("已锁定"));
    QCOMPARE(find<QPlainTextEdit>("LUserOther")->toPlainText(), QStringLiteral("老顾客"));
    // Both boxes emptied; one match; sales newest first; lines of the newest.
    QCOMPARE(find<QLineEdit>("Edit1")->text(), QString());
    QCOMPARE(grid("DBGrid3")->rowCount(), 1);
    QCOMPARE(grid("DBGrid3")->value(0, QStringLiteral("储值金额")).toDouble(), 88.5);
    QCOMPARE(grid("DBGrid1")->rowCount(), 2);
    QCOMPARE(grid("DBGrid1")->value(0, QStringLiteral("序号")).toLongLong(), wangNew);
    QCOMPARE(grid("DBGrid2")->rowCount(), 2);
    QCOMPARE(grid("DBGrid2")->value(0, QStringLiteral("数量")).toInt(), -3);
    QCOMPARE(grid("DBGrid2")->value(0, QStringLiteral("总价格")).toDouble(), 24.0);
    QCOMPARE(grid("DBGrid2")->value(1, QStringLiteral("总价格")).toDouble(), 25.0);
}

void TestViewForm::sharedCardShowsNewerMember()
{
    addMember(t->db, QStringLiteral("1001"), QStringLiteral("新会员"));
    searchCard(QStringLiteral("1001"));
    QCOMPARE(label("LUserName"), QStringLiteral("新会员"));
    QCOMPARE(grid("DBGrid1")->rowCount(), 0);
}

void TestViewForm::nameSearchListsAllMatches()
{
    searchName(QStringLiteral("建"));
    QVERIFY(t->prompter.messages.isEmpty());
    // The newest match in the labels, every match in the list, newest first.
    QCOMPARE(label("LUserName"), QStringLiteral("张建华"));
    auto *matches = grid("DBGrid3");
    QCOMPARE(matches->rowCount(), 2);
    QCOMPARE(matches->value(1, QStringLiteral("姓名")).toString(), QStringLiteral("王建国"));
    QCOMPARE(matches->titles(), QStringList({"序号", "卡号", "姓名", "性别"}));
    QCOMPARE(grid("DBGrid1")->value(0, QStringLiteral("序号")).toLongLong(), zhangSale);
    QCOMPARE(find<QLineEdit>("Edit2")->text(), QString());
}

void TestViewForm::pickingInTheLists()
{
    searchName(QStringLiteral("建"));
    ClickRow(grid("DBGrid3"), 1);
    QCOMPARE(label("LUserName"), QStringLiteral("王建国"));
    QCOMPARE(grid("DBGrid1")->rowCount(), 2);
    QCOMPARE(grid("DBGrid2")->value(0, QStringLiteral("消费序号")).toLongLong(), wangNew);
    ClickRow(grid("DBGrid1"), 1);
    QCOMPARE(grid("DBGrid2")->rowCount(), 2);
    QCOMPARE(grid("DBGrid2")->value(0, QStringLiteral("消费序号")).toLongLong(), wangOld);
    QCOMPARE(grid("DBGrid2")->value(1, QStringLiteral("总价格")).toDouble(), 10.0);
    QVERIFY(t->prompter.messages.isEmpty());
}

void TestViewForm::memberWithoutSales()
{
    searchCard(QStringLiteral("1001"));
    searchCard(QStringLiteral("1003"));
    QCOMPARE(label("LUserName"), QStringLiteral("李秀英"));
    QCOMPARE(label("lblCardLocked"), QStringLiteral("已启用"));
    QCOMPARE(grid("DBGrid1")->rowCount(), 0);
    QCOMPARE(grid("DBGrid2")->rowCount(), 0);
}

void TestViewForm::enterRunsTheSearchOfItsBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shownName");
    QTest::newRow("card box") << "Edit1"
                              << "1003"
                              << "李秀英";
    QTest::newRow("name box") << "Edit2"
                              << "秀"
                              << "李秀英";
}

void TestViewForm::enterRunsTheSearchOfItsBox()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, shownName);
    auto *edit =
        box == QLatin1String("Edit1") ? find<QLineEdit>("Edit1") : find<QLineEdit>("Edit2");
    // Visit the other box first so that the default button has to follow.
    find<QLineEdit>(box == QLatin1String("Edit1") ? "Edit2" : "Edit1")->setFocus();
    edit->setFocus();
    TypeText(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(t->prompter.messages, QStringList());
    QCOMPARE(label("LUserName"), shownName);
}

void TestViewForm::modifyEditsShownMember()
{
    searchCard(QStringLiteral("1001"));
    onNextModal([](QWidget *modal) {
        QCOMPARE(modal->objectName(), QStringLiteral("TModiMemberInfo"));
        auto *card = modal->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        QCOMPARE(card->text(), QStringLiteral("1001"));
        card->clear();
        TypeText(card, QStringLiteral("5001"));
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("BtnOk")), Qt::LeftButton);
    });
    QTest::mouseClick(find<QPushButton>("btnModify"), Qt::LeftButton);
    QCOMPARE(t->prompter.messages, QStringList{MemberText::Saved});
    QCOMPARE(t->session.login.MyUserID, QString::number(wang));
    // The labels and the list follow the member to its new number.
    QCOMPARE(label("LUserCard"), QStringLiteral("5001"));
    QCOMPARE(grid("DBGrid3")->value(0, QStringLiteral("卡号")).toString(), QStringLiteral("5001"));
}

void TestViewForm::modifyWithNothingShownDoesNothing()
{
    QTest::mouseClick(find<QPushButton>("btnModify"), Qt::LeftButton);
    QVERIFY(!form->editor()->isVisible());
    QVERIFY(t->prompter.messages.isEmpty());
}

void TestViewForm::showForCard()
{
    form->close();
    form->ShowForCard(QStringLiteral("1002 "));
    QVERIFY(form->isVisible());
    QCOMPARE(label("LUserName"), QStringLiteral("张建华"));
    QCOMPARE(grid("DBGrid1")->rowCount(), 1);
    // Already open: the window searches again.
    form->ShowForCard(QStringLiteral("1001"));
    QCOMPARE(label("LUserName"), QStringLiteral("王建国"));
    QVERIFY(t->prompter.messages.isEmpty());
}

void TestViewForm::exportAllSaleLines()
{
    const QString file = t->folder() + QStringLiteral("/lines");
    t->files.saveAnswers.enqueue(file);
    searchCard(QStringLiteral("1003"));
    QTest::mouseClick(find<QPushButton>("btnExcel"), Qt::LeftButton);
    // Every member's lines, not only the member shown.
    QCOMPARE(t->prompter.messages, QStringList{QStringLiteral("成功导出5条数据!")});
    QVERIFY(QFileInfo::exists(file + QStringLiteral(".xls")));
    QVERIFY(!form->excelOption());
}

void TestViewForm::exportOptionFollowsShownMember()
{
    searchCard(QStringLiteral("1001"));
    find<QCheckBox>("chk_ExcelAll")->setChecked(true);
    QTest::mouseClick(find<QPushButton>("btnExcel"), Qt::LeftButton);
    TFrmExcelOption *option = form->excelOption();
    QVERIFY(option);
    QVERIFY(option->isVisible());
    QVERIFY(t->prompter.messages.isEmpty());

    // The shown member changes: the option window exports the new lists.
    ClickRow(grid("DBGrid3"), 0);
    searchCard(QStringLiteral("1002"));
    const QString sales = t->folder() + QStringLiteral("/sales");
    const QString lines = t->folder() + QStringLiteral("/lines");
    t->files.saveAnswers.enqueue(sales);
    t->files.saveAnswers.enqueue(lines);
    QTest::mouseClick(option->findChild<QPushButton *>(QStringLiteral("btnSale")), Qt::LeftButton);
    QTest::mouseClick(option->findChild<QPushButton *>(QStringLiteral("btnSaleDetail")),
                      Qt::LeftButton);
    QCOMPARE(t->prompter.messages,
             QStringList({QStringLiteral("成功导出1条数据!"), QStringLiteral("成功导出1条数据!")}));

    // Closing the query window disarms the option window.
    form->close();
    QVERIFY(!option->hasSources());
    QVERIFY(!option->isVisible());
}

void TestViewForm::changeElsewhereShowsAfresh()
{
    searchCard(QStringLiteral("1001"));
    QCOMPARE(label("LUserWork"), QStringLiteral("88.5"));
    QCOMPARE(grid("DBGrid1")->rowCount(), 2);
    // A sale at a till: the balance drops and a sale appears.
    t->db.exec(QStringLiteral("UPDATE User_Info SET User_ChuZhi = 50 WHERE User_ID = ?"), {wang});
    addSale(t->db, wang, QStringLiteral("2024-03-05 09:00:00"), {{38.5, 1}});
    emit t->ctx.notices.memberChanged(int(zhang)); // another member: nothing to show
    QCOMPARE(label("LUserWork"), QStringLiteral("88.5"));
    emit t->ctx.notices.salesChanged();
    emit t->ctx.notices.memberChanged(int(wang));
    QCOMPARE(label("LUserWork"), QStringLiteral("50"));
    QCOMPARE(grid("DBGrid1")->rowCount(), 3);
    QCOMPARE(label("LUserCard"), QStringLiteral("1001"));
}

QTEST_MAIN(TestViewForm)
#include "tst_TViewForm.moc"
