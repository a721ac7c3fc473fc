#include "members/TFrmCardPwd.h"
#include "sales/ModalDriver.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"
#include "wallet/Redemption.h"
#include "wallet/RedemptionFixture.h"
#include "wallet/TCashForm.h"
#include "widgets/DataGridWidget.h"
#include "widgets/NavigatorBarWidget.h"
#include "widgets/RowTableModel.h"

#include "widgets/RowTableModel.h"
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// The redemption window driven through its controls by object name, on the
// demo database (5 March 2024, 09:07:02; threshold 100 points).
class TestCashForm : public QObject
{
    Q_OBJECT
private slots:
    void showingListsEveryRedemption();
    void keyboardOnlyRedemption();
    void lookup_data();
    void lookup();
    void cashBoxFillsItself_data();
    void cashBoxFillsItself();
    void hostileTextWritesNothingHalf_data();
    void hostileTextWritesNothingHalf();
    void redeemingAllPointsClosesTheInputs();
    void twoWindowsOneMember();
    void exportWritesTheRowsShown();
    void showingAgainResets();
};

namespace
{

// The window's controls by object name and an operator's steps on them.
struct Driver {
    explicit Driver(TCashForm &f) : form(f) {}
    template <typename T = QWidget> T *get(const QString &name) const
    {
        T *w = form.findChild<T *>(name);
        if (!w)
            qWarning("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit *edit(const QString &name) const { return get<QLineEdit>(name); }
    QPushButton *button(const QString &name) const { return get<QPushButton>(name); }
    QString label(const QString &name) const { return get<QLabel>(name)->text(); }
    DataGridWidget *grid() const { return get<DataGridWidget>(QStringLiteral("DBGrid1")); }
    void type(const QString &name, const QString &text) const
    {
        QLineEdit *e = edit(name);
        e->clear();
        TypeText(e, text);
    }
    void enter(const QString &name) const { QTest::keyClick(edit(name), Qt::Key_Return); }
    void tab(const QString &from) const { QTest::keyClick(edit(from), Qt::Key_Tab); }
    void click(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Looks the member up as the operator does: into the card box, the
    // card, then Enter.
    void lookUp(const QString &card) const
    {
        QTest::mouseClick(edit(QStringLiteral("Edit1")), Qt::LeftButton);
        type(QStringLiteral("Edit1"), card);
        enter(QStringLiteral("Edit1"));
    }
    bool inputsEnabled() const
    {
        bool all = true, none = true;
        for (const char *name : {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6"}) {
            const bool on = edit(QLatin1String(name))->isEnabled();
            all = all && on;
            none = none && !on;
        }
        if (!all && !none)
            qWarning("the inputs are partly enabled");
        return all;
    }
    // The window's focus widget (the keyboard's while the window is active).
    QWidget *focused() const { return form.focusWidget(); }

    TCashForm &form;
};

void Show(QWidget &w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

void SetPoints(TestDatabase &t, const QString &card, double points)
{
    t.db.exec(QStringLiteral("UPDATE User_Info SET User_Num = ? WHERE User_Card = ?"),
              {points, card});
}

double Points(TestDatabase &t, const QString &card)
{
    return t.value(QStringLiteral("SELECT User_Num FROM User_Info WHERE User_Card = ?"), {card})
        .toDouble();
}

qint64 MemberId(TestDatabase &t, const QString &card)
{
    return t.value(QStringLiteral("SELECT User_ID FROM User_Info WHERE User_Card = ?"), {card})
        .toLongLong();
}

int Records(TestDatabase &t)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt();
}

// A redemption written before the window opens.
void Redeemed(TestDatabase &t, const QString &card, const char *value, qint64 points,
              const char *cash)
{
    RedemptionRequest r;
    r.memberId = MemberId(t, card);
    r.entry.item = QStringLiteral("旧记录");
    r.entry.value = *Money::parse(QLatin1String(value));
    r.entry.points = points;
    r.entry.cash = *Money::parse(QLatin1String(cash));
    r.admin = QStringLiteral("admin");
    r.now = t.clock.now().addDays(-1);
    QVERIFY(!Redemption(t.db).Run(r).refusal);
}

} // namespace

void TestCashForm::showingListsEveryRedemption()
{
    DemoWithoutRedemptions t;
    Redeemed(t, QStringLiteral("1002"), "20", 20, "0");
    Redeemed(t, QStringLiteral("1008"), "30", 10, "20");
    Redeemed(t, QStringLiteral("1002"), "5", 5, "0");

    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    QCOMPARE(form.windowTitle(), QStringLiteral("兑分"));
    QVERIFY(!form.isModal());
    QCOMPARE(form.findChild<QGroupBox *>(QStringLiteral("MemberInfo"))->title(),
             QStringLiteral("   用户信息   "));
    // The free fields are captioned with the program's texts.
    QCOMPARE(d.label(QStringLiteral("lblLikeColorCaption")), QStringLiteral("口味："));
    QCOMPARE(d.label(QStringLiteral("lblSizeCaption")), QStringLiteral("常点菜："));
    QCOMPARE(d.label(QStringLiteral("lblYaoweiCaption")), QStringLiteral("其他信息："));
    for (const char *name : {"UserCard", "UserName", "UserSex", "UserNum", "UserMoneyAll",
                             "UserBrithday", "UserLikeColor", "UserYaowei", "UserSize", "UserTel",
                             "UserWork", "UserWenhua", "UserMobi", "UserAddress"})
        QVERIFY2(d.label(QLatin1String(name)).isEmpty(), name);
    QVERIFY(!d.inputsEnabled());
    QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit1")));
    QVERIFY(d.button(QStringLiteral("BtnMember"))->isDefault());
    QVERIFY(!d.button(QStringLiteral("BtnOk"))->isDefault());

    // Every redemption, newest first, with the twelve columns and widths.
    DataGridWidget *grid = d.grid();
    QCOMPARE(GridColumn(grid, QStringLiteral("序号")), QStringList({"3", "2", "1"}));
    QCOMPARE(GridColumn(grid, QStringLiteral("卡号")), QStringList({"1002", "1008", "1002"}));
    QCOMPARE(grid->titles(),
             QStringList({"序号", "卡号", "姓名", "产品名", "价值", "兑分", "加现金", "兑前积分",
                          "兑后积分", "操作员", "时间", "备注"}));
    const QList<int> widths = {60, 80, 70, 120, 60, 60, 60, 60, 60, 60, 108, 100};
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(grid->horizontalHeader()->sectionSize(c), widths[c]);
    QCOMPARE(d.button(QStringLiteral("btnExcel"))->text(), QStringLiteral("导出Excel"));
    QCOMPARE(d.button(QStringLiteral("btnClose"))->text(), QStringLiteral("关闭"));
    QVERIFY(!form.findChild<NavigatorBar *>()->isVisible());
    QVERIFY(t.prompter.messages.isEmpty());

    d.click(QStringLiteral("btnClose"));
    QVERIFY(!form.isVisible());
}

void TestCashForm::keyboardOnlyRedemption()
{
    DemoWithoutRedemptions t;
    t.loginAs(QStringLiteral("收银员"), QStringLiteral("2"), QStringLiteral("1"));
    SetPoints(t, QStringLiteral("1001"), 101);
    Redeemed(t, QStringLiteral("1002"), "20", 20, "0");
    const qint64 wang = MemberId(t, QStringLiteral("1001"));
    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    QSignalSpy changed(&t.ctx.notices, &ChangeNotices::memberChanged);

    // Enter in the card box looks the member up.
    d.lookUp(QStringLiteral("1001"));
    QVERIFY(t.prompter.messages.isEmpty());
    QCOMPARE(d.label(QStringLiteral("UserCard")), QStringLiteral("1001"));
    QCOMPARE(d.label(QStringLiteral("UserName")), QStringLiteral("王建国"));
    QCOMPARE(d.label(QStringLiteral("UserSex")), QStringLiteral("男"));
    QCOMPARE(d.label(QStringLiteral("UserNum")), QStringLiteral("101"));
    QCOMPARE(d.label(QStringLiteral("UserBrithday")), QStringLiteral("1970-5-12"));
    QCOMPARE(d.label(QStringLiteral("UserMobi")), QStringLiteral("13800000001"));
    QCOMPARE(d.label(QStringLiteral("UserAddress")), QStringLiteral("本市中山路"));
    QVERIFY(d.edit(QStringLiteral("Edit1"))->text().isEmpty());
    QVERIFY(d.inputsEnabled());
    QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit2")));
    QVERIFY(d.button(QStringLiteral("BtnOk"))->isDefault());
    QCOMPARE(form.currentMemberId(), wang);
    QCOMPARE(d.grid()->rowCount(), 0); // only this member's redemptions

    // Item, value, points; the cash box fills itself when the Tab key enters it.
    TypeText(d.edit(QStringLiteral("Edit2")), QStringLiteral("保温杯"));
    d.tab(QStringLiteral("Edit2"));
    TypeText(d.edit(QStringLiteral("Edit3")), QStringLiteral("50"));
    d.tab(QStringLiteral("Edit3"));
    TypeText(d.edit(QStringLiteral("Edit4")), QStringLiteral("30"));
    d.tab(QStringLiteral("Edit4"));
    QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit5")));
    QCOMPARE(d.edit(QStringLiteral("Edit5"))->text(), QStringLiteral("20"));
    QVERIFY(t.prompter.messages.isEmpty());
    d.tab(QStringLiteral("Edit5"));
    TypeText(d.edit(QStringLiteral("Edit6")), QStringLiteral("会员日"));
    d.enter(QStringLiteral("Edit6"));

    QCOMPARE(t.prompter.messages, QStringList({"兑分成功！"}));
    QCOMPARE(Points(t, QStringLiteral("1001")), 71.0);
    QCOMPARE(d.label(QStringLiteral("UserNum")), QStringLiteral("71"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toLongLong(), wang);
    for (const char *name : {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
        QVERIFY2(d.edit(QLatin1String(name))->text().isEmpty(), name);
    QVERIFY(d.inputsEnabled());
    QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit2")));

    // The grid shows the new record.
    DataGridWidget *grid = d.grid();
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->value(0, QStringLiteral("卡号")).toString(), QStringLiteral("1001"));
    QCOMPARE(grid->value(0, QStringLiteral("姓名")).toString(), QStringLiteral("王建国"));
    QCOMPARE(grid->value(0, QStringLiteral("产品名")).toString(), QStringLiteral("保温杯"));
    QCOMPARE(grid->value(0, QStringLiteral("价值")).toDouble(), 50.0);
    QCOMPARE(grid->value(0, QStringLiteral("兑分")).toDouble(), 30.0);
    QCOMPARE(grid->value(0, QStringLiteral("加现金")).toDouble(), 20.0);
    QCOMPARE(grid->value(0, QStringLiteral("兑前积分")).toDouble(), 101.0);
    QCOMPARE(grid->value(0, QStringLiteral("兑后积分")).toDouble(), 71.0);
    QCOMPARE(grid->value(0, QStringLiteral("操作员")).toString(), QStringLiteral("收银员"));
    QCOMPARE(grid->value(0, QStringLiteral("时间")).toString(),
             QStringLiteral("2024-03-05 09:07:02"));
    QCOMPARE(grid->value(0, QStringLiteral("备注")).toString(), QStringLiteral("会员日"));

    // The member goes on redeeming without another lookup: 10.1 for 3 points.
    TypeText(d.edit(QStringLiteral("Edit2")), QStringLiteral("毛巾"));
    d.tab(QStringLiteral("Edit2"));
    TypeText(d.edit(QStringLiteral("Edit3")), QStringLiteral("10.1"));
    d.tab(QStringLiteral("Edit3"));
    TypeText(d.edit(QStringLiteral("Edit4")), QStringLiteral("3"));
    // Enter before the cash box: the confirmation sends the focus there,
    // which fills it; a second Enter records.
    d.enter(QStringLiteral("Edit4"));
    QCOMPARE(t.prompter.last(), QStringLiteral("加现金不能为空！"));
    QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit5")));
    QCOMPARE(d.edit(QStringLiteral("Edit5"))->text(), QStringLiteral("7.1"));
    d.enter(QStringLiteral("Edit5"));
    QCOMPARE(t.prompter.last(), QStringLiteral("兑分成功！"));
    QCOMPARE(Points(t, QStringLiteral("1001")), 68.0);
    QCOMPARE(d.label(QStringLiteral("UserNum")), QStringLiteral("68"));
    QCOMPARE(GridColumn(grid, QStringLiteral("加现金")), QStringList({"7.1", "20"}));
    QCOMPARE(changed.count(), 2);
}

void TestCashForm::lookup_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<double>("points");    // given to the card looked up
    QTest::addColumn<bool>("passwords");   // FEnabledCard 1
    QTest::addColumn<QString>("password"); // typed into the prompt; "-": 关闭
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<QString>("shown");    // the member area's card afterwards

    const QString none;
    QTest::newRow("101 points") << "1001" << 101.0 << false << none << none << "1001";
    QTest::newRow("100 points with threshold 100")
        << "1001" << 100.0 << false << none << "积分不够100分，不能兑分！" << none;
    QTest::newRow("no points") << "1004" << 0.0 << false << none << "积分不够100分，不能兑分！"
                               << none;
    QTest::newRow("card empty") << "  " << 0.0 << false << none << "请输入卡号!"
                                << "1008";
    QTest::newRow("unknown card") << "9999" << 0.0 << false << none << "没有查到此用户!" << none;
    QTest::newRow("quote in the card")
        << "1008'" << 0.0 << false << none << "没有查到此用户!" << none;
    QTest::newRow("right password") << "1003" << 200.0 << true << " 8888 " << none << "1003";
    QTest::newRow("wrong password") << "1003" << 200.0 << true << "8889"
                                    << "录入的卡密码不正确!"
                                    << "1008";
    QTest::newRow("prompt closed") << "1003" << 200.0 << true << "-"
                                   << "录入的卡密码不正确!"
                                   << "1008";
}

void TestCashForm::lookup()
{
    QFETCH(QString, card);
    QFETCH(double, points);
    QFETCH(bool, passwords);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    DemoWithoutRedemptions t;
    SetPoints(t, card.trimmed(), points);
    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    // Another member is shown first.
    d.lookUp(QStringLiteral("1008"));
    QCOMPARE(d.label(QStringLiteral("UserCard")), QStringLiteral("1008"));
    t.session.settings.FEnabledCard = passwords ? 1 : 0;

    WhenModal<TFrmCardPwd> prompt([password](TFrmCardPwd *p) {
        if (password == QLatin1String("-")) {
            QTest::mouseClick(p->btnClose, Qt::LeftButton);
            return;
        }
        TypeText(p->edtCardPwd, password);
        QTest::keyClick(p->edtCardPwd, Qt::Key_Return);
    });
    d.lookUp(card);
    QCOMPARE(prompt.ran(), passwords);
    if (message.isEmpty()) {
        QVERIFY2(t.prompter.messages.isEmpty(), qPrintable(t.prompter.last()));
        QVERIFY(d.inputsEnabled());
        QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit2")));
        QCOMPARE(form.currentMemberId(), MemberId(t, card.trimmed()));
    } else {
        QCOMPARE(t.prompter.messages, QStringList({message}));
        QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit1")));
        QCOMPARE(d.edit(QStringLiteral("Edit1"))->text(), card);
    }
    QCOMPARE(d.label(QStringLiteral("UserCard")), shown);
    QCOMPARE(form.currentMemberId(), shown.isEmpty() ? 0 : MemberId(t, shown));
    QCOMPARE(d.inputsEnabled(), !shown.isEmpty());
    if (!shown.isEmpty())
        QCOMPARE(d.label(QStringLiteral("UserNum")), QString::number(Points(t, shown)));
    // The list follows the member accepted; a refused lookup leaves it.
    const QString listed = message.isEmpty() ? card.trimmed() : QStringLiteral("1008");
    QCOMPARE(d.grid()->source().binds, QVariantList({MemberId(t, listed)}));
}

void TestCashForm::cashBoxFillsItself_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("points");
    QTest::addColumn<bool>("byMouse"); // clicked into instead of Tab
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("cash");
    QTest::newRow("50 and 30") << "杯"
                               << "50"
                               << "30" << false << ""
                               << "Edit5"
                               << "20";
    QTest::newRow("10.1 and 3 by mouse") << "杯"
                                         << "10.1"
                                         << "3" << true << ""
                                         << "Edit5"
                                         << "7.1";
    QTest::newRow("item missing") << ""
                                  << "50"
                                  << "30" << false << "物品不能为空！"
                                  << "Edit2"
                                  << "";
    QTest::newRow("value missing") << "杯"
                                   << ""
                                   << "30" << true << "价值不能为空！"
                                   << "Edit3"
                                   << "";
    QTest::newRow("value 1.2.3") << "杯"
                                 << "1.2.3"
                                 << "3" << false << "价值只能输入数字！"
                                 << "Edit3"
                                 << "";
    QTest::newRow("points 2.5") << "杯"
                                << "50"
                                << "2.5" << false << "所兑积分必须是整数！"
                                << "Edit4"
                                << "";
    QTest::newRow("points 0") << "杯"
                              << "50"
                              << "0" << false << "所兑积分必须是大于0的正整数！"
                              << "Edit4"
                              << "";
    QTest::newRow("points above the value") << "杯"
                                            << "20"
                                            << "30" << false << "所兑积分不能大于价值！"
                                            << "Edit4"
                                            << "";
    QTest::newRow("points above the member's") << "杯"
                                               << "500"
                                               << "102" << false << "所兑积分不能大于当前积分！"
                                               << "Edit4"
                                               << "";
}

void TestCashForm::cashBoxFillsItself()
{
    QFETCH(QString, item);
    QFETCH(QString, value);
    QFETCH(QString, points);
    QFETCH(bool, byMouse);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, cash);
    DemoWithoutRedemptions t;
    SetPoints(t, QStringLiteral("1001"), 101);
    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    d.lookUp(QStringLiteral("1001"));
    d.type(QStringLiteral("Edit2"), item);
    d.type(QStringLiteral("Edit3"), value);
    d.type(QStringLiteral("Edit4"), points);
    d.edit(QStringLiteral("Edit4"))->setFocus();
    if (byMouse)
        QTest::mouseClick(d.edit(QStringLiteral("Edit5")), Qt::LeftButton);
    else
        d.tab(QStringLiteral("Edit4"));
    QCOMPARE(t.prompter.messages, message.isEmpty() ? QStringList() : QStringList({message}));
    QCOMPARE(d.focused(), d.edit(focus));
    QCOMPARE(d.edit(QStringLiteral("Edit5"))->text(), cash);
    QCOMPARE(Records(t), 0);
}

void TestCashForm::hostileTextWritesNothingHalf_data()
{
    QTest::addColumn<QString>("card"); // empty: no member looked up
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // the item stored when written

    const QString none;
    const QString wang = QStringLiteral("1001");
    QTest::newRow("no member") << none << "杯"
                               << "50"
                               << "30"
                               << "20" << none << "请先刷卡！" << none;
    QTest::newRow("value 1.2.3") << wang << "杯"
                                 << "1.2.3"
                                 << "1"
                                 << "0" << none << "价值只能输入数字！" << none;
    QTest::newRow("value -") << wang << "杯"
                             << "-"
                             << "1"
                             << "0" << none << "价值只能输入数字！" << none;
    QTest::newRow("value letters") << wang << "杯"
                                   << "abc"
                                   << "1"
                                   << "0" << none << "价值只能输入数字！" << none;
    QTest::newRow("value five decimals")
        << wang << "杯"
        << "1.00001"
        << "1"
        << "0" << none << Money::OutOfRangeMessage(QStringLiteral("价值")) << none;
    QTest::newRow("points 1.2.3") << wang << "杯"
                                  << "50"
                                  << "1.2.3"
                                  << "0" << none << "所兑积分必须是整数！" << none;
    QTest::newRow("points -") << wang << "杯"
                              << "50"
                              << "-"
                              << "0" << none << "所兑积分必须是整数！" << none;
    QTest::newRow("points huge, cut at nine digits")
        << wang << "杯"
        << "50"
        << "99999999999999"
        << "0" << none << "所兑积分不能大于当前积分！" << none;
    QTest::newRow("cash 1.2.3") << wang << "杯"
                                << "50"
                                << "30"
                                << "1.2.3" << none << "加现金必须是数字！" << none;
    QTest::newRow("cash -") << wang << "杯"
                            << "50"
                            << "30"
                            << "-" << none << "加现金必须是数字！" << none;
    QTest::newRow("cash percent") << wang << "杯"
                                  << "50"
                                  << "30"
                                  << "20%" << none << "加现金必须是数字！" << none;
    QTest::newRow("cash 5 for 20") << wang << "杯"
                                   << "50"
                                   << "30"
                                   << "5" << none << Redemption::WrongCashMessage() << none;
    QTest::newRow("cash five decimals")
        << wang << "杯"
        << "50"
        << "30"
        << "20.00001" << none << Money::OutOfRangeMessage(QStringLiteral("加现金")) << none;
    QTest::newRow("statement in the item") << wang << "x'); DELETE FROM User_Cash; --"
                                           << "50"
                                           << "30"
                                           << "20"
                                           << "%_'\"\\"
                                           << "兑分成功！"
                                           << "x’); DELETE FROM User_Cash; --";
    QTest::newRow("huge value, cut at nine digits") << wang << "杯"
                                                    << "99999999999999"
                                                    << "30"
                                                    << "999999969" << none << "兑分成功！"
                                                    << "杯";
}

void TestCashForm::hostileTextWritesNothingHalf()
{
    QFETCH(QString, card);
    QFETCH(QString, item);
    QFETCH(QString, value);
    QFETCH(QString, points);
    QFETCH(QString, cash);
    QFETCH(QString, remark);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    DemoWithoutRedemptions t;
    SetPoints(t, QStringLiteral("1001"), 101);
    Redeemed(t, QStringLiteral("1002"), "20", 20, "0");
    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    if (!card.isEmpty())
        d.lookUp(card);
    else
        d.type(QStringLiteral("Edit1"), QStringLiteral("1001' OR 1=1 --"));
    // Typed as keys: the boxes keep their lengths.
    for (QLineEdit *e : {d.edit(QStringLiteral("Edit2")), d.edit(QStringLiteral("Edit3")),
                         d.edit(QStringLiteral("Edit4")), d.edit(QStringLiteral("Edit5")),
                         d.edit(QStringLiteral("Edit6"))})
        e->setEnabled(true);
    d.type(QStringLiteral("Edit2"), item);
    d.type(QStringLiteral("Edit3"), value);
    d.type(QStringLiteral("Edit4"), points);
    d.type(QStringLiteral("Edit6"), remark);
    d.edit(QStringLiteral("Edit5"))->setText(cash);
    d.click(QStringLiteral("BtnOk"));

    QCOMPARE(t.prompter.last(), message);
    if (stored.isEmpty()) {
        QCOMPARE(Records(t), 1);
        QCOMPARE(Points(t, QStringLiteral("1001")), 101.0);
        return;
    }
    QCOMPARE(Records(t), 2);
    QCOMPARE(Points(t, QStringLiteral("1001")), 71.0);
    QCOMPARE(t.value(QStringLiteral("SELECT CashProName FROM User_Cash ORDER BY CashID DESC")),
             QVariant(stored));
    QCOMPARE(t.value(QStringLiteral("SELECT CashOther FROM User_Cash ORDER BY CashID DESC")),
             QVariant(remark.replace(QLatin1Char('\''), QChar(0x2019))));
}

void TestCashForm::redeemingAllPointsClosesTheInputs()
{
    DemoWithoutRedemptions t;
    SetPoints(t, QStringLiteral("1001"), 101);
    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    d.lookUp(QStringLiteral("1001"));
    d.type(QStringLiteral("Edit2"), QStringLiteral("电饭煲"));
    d.type(QStringLiteral("Edit3"), QStringLiteral("299"));
    d.type(QStringLiteral("Edit4"), QStringLiteral("101"));
    QTest::mouseClick(d.edit(QStringLiteral("Edit5")), Qt::LeftButton);
    QCOMPARE(d.edit(QStringLiteral("Edit5"))->text(), QStringLiteral("198"));
    d.click(QStringLiteral("BtnOk"));

    QCOMPARE(t.prompter.messages, QStringList({"兑分成功！"}));
    QCOMPARE(Points(t, QStringLiteral("1001")), 0.0);
    QVERIFY(!d.inputsEnabled());
    // The member stays shown, with no points left.
    QCOMPARE(d.label(QStringLiteral("UserCard")), QStringLiteral("1001"));
    QCOMPARE(d.label(QStringLiteral("UserNum")), QStringLiteral("0"));
    QCOMPARE(d.focused(), d.edit(QStringLiteral("Edit1")));
    QCOMPARE(d.grid()->rowCount(), 1);
    // Enter in the card box looks the next member up.
    QVERIFY(d.button(QStringLiteral("BtnMember"))->isDefault());
    d.lookUp(QStringLiteral("1008"));
    QCOMPARE(d.label(QStringLiteral("UserCard")), QStringLiteral("1008"));
    QVERIFY(d.inputsEnabled());
}

void TestCashForm::twoWindowsOneMember()
{
    // Two windows, each on its own connection to the same file, show the
    // same member with 101 points and a list of redemptions too long to be
    // read at once.
    DemoWithoutRedemptions t;
    SetPoints(t, QStringLiteral("1001"), 101);
    t.db.exec(QStringLiteral(
        "INSERT INTO User_Cash (UserID, UserCard, UserName, CashProName, CashNum) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
        "SELECT User_ID, User_Card, User_Name, '旧记录' || i, 0 FROM User_Info, n "
        "WHERE User_Card = '1001'"));
    Database otherDb(QStringLiteral("second-window"));
    otherDb.open(t.file());
    Session otherSession = t.session;
    ScriptedPrompter otherPrompter;
    FixedClock otherClock(t.clock.now());
    FakeFileDialogs otherFiles;
    FakeUrlOpener otherUrls;
    AppContext other(otherDb, otherSession, otherPrompter, otherClock, otherFiles, otherUrls);
    // Read on a connection of their own: a window's connection with a list
    // still being read sees the database as it was when the list opened.
    Database checkDb(QStringLiteral("check"));
    checkDb.open(t.file());
    const auto stored = [&checkDb] {
        return checkDb
            .scalar(QStringLiteral("SELECT User_Num FROM User_Info WHERE User_Card = ?"),
                    {QStringLiteral("1001")})
            .toDouble();
    };
    const auto records = [&checkDb] {
        return checkDb.scalar(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt();
    };

    TCashForm first(t.ctx);
    TCashForm second(other);
    Driver a(first);
    Driver b(second);
    const auto fill = [](Driver &d, const char *value, const char *points, const char *cash) {
        d.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d.form));
        d.type(QStringLiteral("Edit2"), QStringLiteral("保温杯"));
        d.type(QStringLiteral("Edit3"), QLatin1String(value));
        d.type(QStringLiteral("Edit4"), QLatin1String(points));
        QTest::mouseClick(d.edit(QStringLiteral("Edit5")), Qt::LeftButton);
        QCOMPARE(d.edit(QStringLiteral("Edit5"))->text(), QLatin1String(cash));
    };
    for (Driver *d : {&a, &b}) {
        Show(d->form);
        d->lookUp(QStringLiteral("1001"));
        QCOMPARE(d->label(QStringLiteral("UserNum")), QStringLiteral("101"));
        QVERIFY(d->grid()->rowModel()->canFetchMore(QModelIndex())); // still being read
    }
    fill(a, "100", "80", "20");
    fill(b, "50", "30", "20");

    b.click(QStringLiteral("BtnOk"));
    QCOMPARE(otherPrompter.messages, QStringList({"兑分成功！"}));
    QCOMPARE(stored(), 71.0);

    // The first window checked 80 against the 101 it showed; 71 are left.
    a.click(QStringLiteral("BtnOk"));
    QCOMPARE(t.prompter.messages, QStringList({"所兑积分不能大于当前积分！"}));
    QCOMPARE(stored(), 71.0);
    QCOMPARE(records(), 601);
    // It shows what is stored now and keeps what was typed.
    QCOMPARE(a.label(QStringLiteral("UserNum")), QStringLiteral("71"));
    QCOMPARE(a.edit(QStringLiteral("Edit4"))->text(), QStringLiteral("80"));
    QCOMPARE(a.focused(), a.edit(QStringLiteral("Edit4")));
    QCOMPARE(a.grid()->value(0, QStringLiteral("兑后积分")).toDouble(), 71.0);

    // What is left can still be redeemed there, though the second window
    // wrote after the first opened its list again.
    fill(b, "1", "1", "0");
    b.click(QStringLiteral("BtnOk"));
    fill(a, "70", "70", "0");
    a.click(QStringLiteral("BtnOk"));
    QCOMPARE(t.prompter.last(), QStringLiteral("兑分成功！"));
    QCOMPARE(stored(), 0.0);
    QVERIFY(!a.inputsEnabled());
    QCOMPARE(records(), 603);
}

void TestCashForm::exportWritesTheRowsShown()
{
    DemoWithoutRedemptions t;
    Redeemed(t, QStringLiteral("1002"), "20", 20, "0");
    Redeemed(t, QStringLiteral("1008"), "30", 10, "20");
    Redeemed(t, QStringLiteral("1002"), "5", 5, "0");
    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    const QString everybody = QDir(t.folder()).filePath(QStringLiteral("兑分"));
    t.files.saveAnswers << everybody;
    d.click(QStringLiteral("btnExcel"));
    QCOMPARE(t.prompter.last(), QStringLiteral("成功导出3条数据!"));
    QVERIFY(QFileInfo(everybody + QStringLiteral(".xls")).size() > 0);

    d.lookUp(QStringLiteral("1002"));
    const QString one = QDir(t.folder()).filePath(QStringLiteral("1002"));
    t.files.saveAnswers << one;
    d.click(QStringLiteral("btnExcel"));
    QCOMPARE(t.prompter.last(), QStringLiteral("成功导出2条数据!"));
    QVERIFY(QFileInfo::exists(one + QStringLiteral(".xls")));
    // An existing file is never replaced.
    t.files.saveAnswers << one;
    d.click(QStringLiteral("btnExcel"));
    QCOMPARE(t.prompter.last(), QStringLiteral("文件[%1.xls]已存在!").arg(one));
}

void TestCashForm::showingAgainResets()
{
    DemoWithoutRedemptions t;
    Redeemed(t, QStringLiteral("1002"), "20", 20, "0");
    TCashForm form(t.ctx);
    Show(form);
    Driver d(form);
    d.lookUp(QStringLiteral("1008"));
    d.type(QStringLiteral("Edit2"), QStringLiteral("杯"));
    d.type(QStringLiteral("Edit1"), QStringLiteral("10"));
    QCOMPARE(d.grid()->rowCount(), 0);
    d.click(QStringLiteral("btnClose"));
    QVERIFY(!form.isVisible());

    Show(form);
    QVERIFY(d.label(QStringLiteral("UserCard")).isEmpty());
    QVERIFY(d.label(QStringLiteral("UserNum")).isEmpty());
    QCOMPARE(form.currentMemberId(), qint64(0));
    QVERIFY(!d.inputsEnabled());
    QVERIFY(d.edit(QStringLiteral("Edit2"))->text().isEmpty());
    QCOMPARE(d.grid()->rowCount(), 1);
    d.click(QStringLiteral("BtnOk"));
    QCOMPARE(t.prompter.last(), QStringLiteral("请先刷卡！"));
    QCOMPARE(Records(t), 1);
}

QTEST_MAIN(TestCashForm)
#include "tst_TCashForm.moc"
