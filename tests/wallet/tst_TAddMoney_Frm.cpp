#include "members/MemberPanelWidget.h"
#include "support/FaultInjection.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"
#include "wallet/Recharge.h"
#include "wallet/TAddMoney_Frm.h"
#include "widgets/DataGridWidget.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// The recharge window driven through its controls on the demo database
// (5 March 2024, 09:07:02; seven recharge records; 1001 王建国 holds 500,
// 1007 赵敏 holds 20).
class TestAddMoneyFrm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensAfresh();
    void twelveRecordsOnFile();
    void lookupRefused_data();
    void lookupRefused();
    void lookupByEnterShowsMember();
    void pointsShownWhole_data();
    void pointsShownWhole();
    void amountKeys_data();
    void amountKeys();
    void pastedJunkIsThrownAway();
    void rechargeByKeyboard();
    void withdrawal_data();
    void withdrawal();
    void confirmRefused_data();
    void confirmRefused();
    void lengthCheckedOnLeaving_data();
    void lengthCheckedOnLeaving();
    void operatorStore_data();
    void operatorStore();
    void memberDeletedMeanwhile();
    void failingWriteKeepsEntries();
    void exportWritesGridRows();
    void cancelClosesAndResets();

private:
    template <typename W> W *find(const char *name) { return FindControl<W>(form.get(), name); }
    QLineEdit *box(const char *name) { return find<QLineEdit>(name); }
    DataGridWidget *grid() { return find<DataGridWidget>("DBGrid1"); }
    void open()
    {
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void lookUp(const QString &card)
    {
        TypeText(box("edt_CardNo"), card);
        QTest::keyClick(box("edt_CardNo"), Qt::Key_Return);
    }
    // Types what the keys can type; anything else arrives as if pasted.
    void enterAmount(const QString &text)
    {
        if (Recharge::IsAmountText(text) && text.count(QLatin1Char('.')) < 2)
            TypeText(box("edt_AddMoney"), text);
        else
            box("edt_AddMoney")->setText(text);
        QCOMPARE(box("edt_AddMoney")->text(), text);
    }
    QStringList snapshot()
    {
        return FaultInjection::Snapshot(
            t->db, {QStringLiteral("SELECT * FROM TblAddMoney ORDER BY FID"),
                    QStringLiteral("SELECT * FROM User_Info ORDER BY User_ID")});
    }
    double balance(const QString &card)
    {
        return t
            ->value(QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_Card = ?"), {card})
            .toDouble();
    }
    int records() { return t->value(QStringLiteral("SELECT COUNT(*) FROM TblAddMoney")).toInt(); }

    std::unique_ptr<TestDatabase> t;
    std::unique_ptr<TAddMoney_Frm> form;
};

void TestAddMoneyFrm::init()
{
    t = std::make_unique<TestDatabase>(TestDatabase::Content::Demo);
    t->loginAs();
    form = std::make_unique<TAddMoney_Frm>(t->ctx);
    open();
}

void TestAddMoneyFrm::cleanup()
{
    form.reset();
    t.reset();
}

void TestAddMoneyFrm::opensAfresh()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("充值单"));
    QCOMPARE(find<QLabel>("lbl_BillNo")->text(), QStringLiteral("202403058"));
    auto *stores = find<QComboBox>("cbStore");
    QCOMPARE(stores->count(), 2);
    QCOMPARE(stores->itemText(0), QStringLiteral("总店"));
    QCOMPARE(stores->itemText(1), QStringLiteral("二分店"));
    QCOMPARE(stores->currentIndex(), 0);
    QCOMPARE(grid()->titles(), (QStringList{"单据号", "卡号", "姓名", "充值金额", "充值前金额",
                                            "充值后金额", "充值日期", "门店", "操作人"}));
    QList<int> widths;
    for (int c = 0; c < 9; ++c)
        widths << grid()->columnWidth(c);
    QCOMPARE(widths, (QList<int>{80, 80, 80, 80, 80, 80, 120, 80, 80}));
    QCOMPARE(grid()->totalRowCount(), 7);
    QVERIFY(box("edt_CardNo")->isEnabled());
    QVERIFY(box("edt_CardNo")->hasFocus());
    QVERIFY(!box("edt_AddMoney")->isEnabled());
    QVERIFY(find<QPushButton>("BtnCard")->isEnabled());
    for (const char *name : {"edt_Card", "edt_UserName", "edt_CardMoney", "edt_memo"}) {
        QVERIFY(box(name)->isReadOnly());
        QCOMPARE(box(name)->text(), QString());
    }
    QCOMPARE(form->findChildren<QLineEdit *>().size(), 14); // card, amount, twelve boxes
    QVERIFY(t->prompter.messages.isEmpty());

    // Confirming before any lookup.
    QTest::mouseClick(find<QPushButton>("BtnOk"), Qt::LeftButton);
    QCOMPARE(t->prompter.messages, QStringList{"请先刷卡!"});
    QVERIFY(box("edt_CardNo")->hasFocus());
}

void TestAddMoneyFrm::twelveRecordsOnFile()
{
    form->close();
    for (int i = 0; i < 5; ++i)
        t->db.exec(QStringLiteral("INSERT INTO TblAddMoney (FBillNo, UserID, FStoreID, FAddMoney, "
                                  "FDate) VALUES ('x', 2, 1, 1, '2024-02-01 08:00:00')"));
    open();
    QCOMPARE(find<QLabel>("lbl_BillNo")->text(), QStringLiteral("2024030513"));
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), QStringLiteral("10"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    QCOMPARE(t->prompter.messages, QStringList{"充值成功!"});
    QCOMPARE(t->value(QStringLiteral("SELECT FBillNo FROM TblAddMoney ORDER BY FID DESC")),
             QVariant(QStringLiteral("2024030513")));
    QCOMPARE(find<QLabel>("lbl_BillNo")->text(), QStringLiteral("2024030514"));
}

void TestAddMoneyFrm::lookupRefused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString missing = QStringLiteral("录入的卡号不正确或不存在，请重新录入!");
    QTest::newRow("empty") << ""
                           << ""
                           << "卡号不能为空,请输入卡号!";
    QTest::newRow("blanks") << ""
                            << "   "
                            << "卡号不能为空,请输入卡号!";
    QTest::newRow("unknown") << ""
                             << "9999" << missing;
    QTest::newRow("quote") << ""
                           << "1001' OR '1'='1" << missing;
    QTest::newRow("held by two members")
        << "INSERT INTO User_Info (User_Card, User_Name) VALUES ('1002', '李二')"
        << "1002" << missing;
}

void TestAddMoneyFrm::lookupRefused()
{
    QFETCH(QString, setup);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    if (!setup.isEmpty())
        t->db.exec(setup);
    lookUp(typed);
    QCOMPARE(t->prompter.messages, QStringList{message});
    QVERIFY(box("edt_CardNo")->isEnabled());
    QVERIFY(box("edt_CardNo")->hasFocus());
    QVERIFY(!box("edt_AddMoney")->isEnabled());
    QVERIFY(!form->member());
    QCOMPARE(box("edt_Card")->text(), QString());
    QCOMPARE(grid()->totalRowCount(), 7);
    if (message.startsWith(QStringLiteral("录入"))) {
        QCOMPARE(box("edt_CardNo")->text(), QString());
        QVERIFY(!find<QPushButton>("BtnOk")->isEnabled());
        QVERIFY(!find<QPushButton>("BtnCancel")->isEnabled());
        // A good card afterwards opens the way again.
        t->prompter.clear();
        lookUp(QStringLiteral("1001"));
        QVERIFY(t->prompter.messages.isEmpty());
        QVERIFY(find<QPushButton>("BtnOk")->isEnabled());
        QVERIFY(find<QPushButton>("BtnCancel")->isEnabled());
    }
}

void TestAddMoneyFrm::lookupByEnterShowsMember()
{
    t->db.exec(
        QStringLiteral("UPDATE User_Info SET User_Tel = '0571-88', User_Wenhua = '大专', "
                       "User_Other = '老顾客', User_MoneyAll = 64.5 WHERE User_Card = '1001'"));
    lookUp(QStringLiteral(" 1001 "));
    QVERIFY(t->prompter.messages.isEmpty());
    const QList<QPair<const char *, QString>> shown = {
        {"edt_Card", "1001"},
        {"edt_UserName", "王建国"},
        {"edt_Gender", "男"},
        {"edt_Birthday", "2024-01-05 09:07:02"}, // the card's input date
        {"edt_Score", "120"},
        {"edt_CardMoney", "500"},
        {"edt_ConsumeMoney", "64.5"},
        {"edt_xueli", "大专"},
        {"edt_tel", "0571-88"},
        {"edt_mobi", "13800000001"},
        {"edt_address", "本市中山路"},
        {"edt_memo", "老顾客"},
    };
    for (const auto &[name, text] : shown)
        QCOMPARE(box(name)->text(), text);
    QVERIFY(!box("edt_CardNo")->isEnabled());
    QVERIFY(box("edt_AddMoney")->isEnabled());
    QVERIFY(box("edt_AddMoney")->hasFocus());
    QVERIFY(find<QPushButton>("BtnOk")->isVisible());
    QVERIFY(find<QPushButton>("BtnCancel")->isVisible());
    QCOMPARE(form->member()->card, QStringLiteral("1001"));
    // The grid shows that card's history only.
    QCOMPARE(GridColumn(grid(), QStringLiteral("卡号")), QStringList{"1001"});
    QCOMPARE(grid()->source().binds, QVariantList{QStringLiteral("1001")});
    QCOMPARE(grid()->columnWidth(6), 120);
}

void TestAddMoneyFrm::pointsShownWhole_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole") << 860.0 << "860";
    QTest::newRow("half to even, down") << 8.5 << "8";
    QTest::newRow("half to even, up") << 9.5 << "10";
    QTest::newRow("above half") << 3.75 << "4";
}

void TestAddMoneyFrm::pointsShownWhole()
{
    QFETCH(double, points);
    QFETCH(QString, shown);
    t->db.exec(QStringLiteral("UPDATE User_Info SET User_Num = ? WHERE User_Card = '1002'"),
               {points});
    lookUp(QStringLiteral("1002"));
    QCOMPARE(box("edt_Score")->text(), shown);
}

void TestAddMoneyFrm::amountKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters ignored") << "1a2b"
                                     << "12";
    QTest::newRow("second point ignored") << "1..5."
                                          << "1.5";
    QTest::newRow("minus anywhere, more than once") << "-5-"
                                                    << "-5-";
    QTest::newRow("plus, blank, quote, percent") << "+1 '%2"
                                                 << "12";
    QTest::newRow("backspace") << "12\b3"
                               << "13";
}

void TestAddMoneyFrm::amountKeys()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    lookUp(QStringLiteral("1001"));
    for (const QChar c : keys) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(box("edt_AddMoney"), Qt::Key_Backspace);
        else
            QTest::keyClick(box("edt_AddMoney"), char(c.unicode()));
    }
    QCOMPARE(box("edt_AddMoney")->text(), text);
}

void TestAddMoneyFrm::pastedJunkIsThrownAway()
{
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), QStringLiteral("5"));
    QGuiApplication::clipboard()->setText(QStringLiteral("0 OR 1"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box("edt_AddMoney")->text(), QString());
    QVERIFY(box("edt_AddMoney")->hasFocus());
    QGuiApplication::clipboard()->setText(QStringLiteral("66.6"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box("edt_AddMoney")->text(), QStringLiteral("66.6"));
}

void TestAddMoneyFrm::rechargeByKeyboard()
{
    QSignalSpy changed(&t->ctx.notices, &ChangeNotices::memberChanged);
    t->db.exec(QStringLiteral("UPDATE User_Info SET User_ChuZhi = 100 WHERE User_Card = '1001'"));
    find<QComboBox>("cbStore")->setCurrentIndex(1);
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), QStringLiteral("20.5"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);

    QCOMPARE(t->prompter.messages, QStringList{"充值成功!"});
    QCOMPARE(balance(QStringLiteral("1001")), 120.5);
    QSqlQuery q = t->db.exec(QStringLiteral(
        "SELECT FBillNo, UserID, FStoreID, FAddMoney, FBeforeMoney, FAfterMoney, FDate, FMaker, "
        "FAdminID FROM TblAddMoney ORDER BY FID DESC LIMIT 1"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("202403058"));
    QCOMPARE(q.value(1).toInt(), 1);
    QCOMPARE(q.value(2).toInt(), 2); // 二分店
    QCOMPARE(q.value(3).toDouble(), 20.5);
    QCOMPARE(q.value(4).toDouble(), 100.0);
    QCOMPARE(q.value(5).toDouble(), 120.5);
    QCOMPARE(q.value(6).toString(), QStringLiteral("2024-03-05 09:07:02"));
    QCOMPARE(q.value(7).toString(), QStringLiteral("admin"));
    QCOMPARE(q.value(8).toInt(), 1);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().toInt(), 1);

    // Ready for the next member: new number, whole history with the record on top.
    QCOMPARE(find<QLabel>("lbl_BillNo")->text(), QStringLiteral("202403059"));
    QVERIFY(box("edt_CardNo")->isEnabled());
    QVERIFY(box("edt_CardNo")->hasFocus());
    QCOMPARE(box("edt_CardNo")->text(), QString());
    QCOMPARE(box("edt_AddMoney")->text(), QString());
    QVERIFY(!box("edt_AddMoney")->isEnabled());
    QCOMPARE(box("edt_Card")->text(), QString());
    QVERIFY(!form->member());
    QCOMPARE(grid()->totalRowCount(), 8);
    QCOMPARE(grid()->value(0, QStringLiteral("单据号")).toString(), QStringLiteral("202403058"));
    QCOMPARE(grid()->value(0, QStringLiteral("充值后金额")).toDouble(), 120.5);
    QCOMPARE(grid()->value(0, QStringLiteral("门店")).toString(), QStringLiteral("二分店"));

    // The next member straight away, by keyboard only.
    lookUp(QStringLiteral("1002"));
    TypeText(box("edt_AddMoney"), QStringLiteral("1"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Enter);
    QCOMPARE(balance(QStringLiteral("1002")), 1201.0);
    QCOMPARE(t->value(QStringLiteral("SELECT FBillNo FROM TblAddMoney ORDER BY FID DESC")),
             QVariant(QStringLiteral("202403059")));
    QCOMPARE(changed.size(), 2);
}

void TestAddMoneyFrm::withdrawal_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("cancel") << false;
}

void TestAddMoneyFrm::withdrawal()
{
    QFETCH(bool, ok);
    const QStringList before = snapshot();
    lookUp(QStringLiteral("1007"));
    TypeText(box("edt_AddMoney"), QStringLiteral("-50"));
    t->prompter.answers.enqueue(ok);
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    const QString question = QStringLiteral("充值金额为负数, 此操作相当于提现, 是否继续操作?");
    if (ok) {
        QCOMPARE(t->prompter.messages, (QStringList{question, "充值成功!"}));
        // No check against the balance: it goes below zero.
        QCOMPARE(balance(QStringLiteral("1007")), -30.0);
        QCOMPARE(t->value(QStringLiteral("SELECT FAddMoney || '|' || FBeforeMoney || '|' || "
                                         "FAfterMoney FROM TblAddMoney ORDER BY FID DESC")),
                 QVariant(QStringLiteral("-50.0|20.0|-30.0")));
    } else {
        QCOMPARE(t->prompter.messages, QStringList{question});
        QCOMPARE(snapshot(), before);
        // The entries stay for another try.
        QCOMPARE(box("edt_AddMoney")->text(), QStringLiteral("-50"));
        QCOMPARE(form->member()->card, QStringLiteral("1007"));
    }
}

void TestAddMoneyFrm::confirmRefused_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    const QString notANumber = QStringLiteral("充值金额只能为数字!");
    QTest::newRow("empty") << ""
                           << "请输入充值金额!";
    QTest::newRow("zero") << "0"
                          << "充值金额不能为零!";
    QTest::newRow("zero with decimals") << "-0.00"
                                        << "充值金额不能为零!";
    QTest::newRow("lone minus") << "-" << notANumber;
    QTest::newRow("minus inside") << "1-2" << notANumber;
    QTest::newRow("two minus") << "--5" << notANumber;
    QTest::newRow("two points, pasted") << "1.2.3" << notANumber;
    QTest::newRow("letters, pasted") << "abc" << notANumber;
    QTest::newRow("quote, pasted") << "5'" << notANumber;
    QTest::newRow("statement, pasted") << "1'; DROP TABLE TblAddMoney; --"
                                       << "充值金额长度不能超过9位!";
    QTest::newRow("ten digits") << "1234567890"
                                << "充值金额长度不能超过9位!";
    QTest::newRow("fifth decimal")
        << "1.23456" << Money::OutOfRangeMessage(QStringLiteral("充值金额"));
}

void TestAddMoneyFrm::confirmRefused()
{
    QFETCH(QString, amount);
    QFETCH(QString, message);
    lookUp(QStringLiteral("1001"));
    enterAmount(amount);
    const QStringList before = snapshot();
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    QCOMPARE(t->prompter.messages, QStringList{message});
    QCOMPARE(snapshot(), before);
    QVERIFY(box("edt_AddMoney")->hasFocus());
    QCOMPARE(box("edt_AddMoney")->selectedText(), box("edt_AddMoney")->text());
    QCOMPARE(form->member()->card, QStringLiteral("1001"));
    // Mending the amount goes through.
    t->prompter.clear();
    box("edt_AddMoney")->clear();
    TypeText(box("edt_AddMoney"), QStringLiteral("1"));
    QTest::mouseClick(find<QPushButton>("BtnOk"), Qt::LeftButton);
    QCOMPARE(t->prompter.messages, QStringList{"充值成功!"});
    QCOMPARE(balance(QStringLiteral("1001")), 501.0);
}

void TestAddMoneyFrm::lengthCheckedOnLeaving_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("refused");
    QTest::newRow("nine characters") << "-12345678" << false;
    QTest::newRow("ten characters") << "1234567890" << true;
}

void TestAddMoneyFrm::lengthCheckedOnLeaving()
{
    QFETCH(QString, amount);
    QFETCH(bool, refused);
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), amount);
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Tab);
    QCoreApplication::processEvents();
    if (refused) {
        QCOMPARE(t->prompter.messages, QStringList{"充值金额长度不能超过9位!"});
        QVERIFY(box("edt_AddMoney")->hasFocus());
        QCOMPARE(box("edt_AddMoney")->selectedText(), amount);
    } else {
        QVERIFY(t->prompter.messages.isEmpty());
        QVERIFY(find<QComboBox>("cbStore")->hasFocus());
    }
}

void TestAddMoneyFrm::operatorStore_data()
{
    QTest::addColumn<QString>("dianMian");
    QTest::addColumn<QStringList>("stores");
    QTest::addColumn<int>("storeId"); // of the record written; 0: refused
    QTest::newRow("every store") << "0" << QStringList{"总店", "二分店"} << 1;
    QTest::newRow("own store") << "2" << QStringList{"二分店"} << 2;
    QTest::newRow("no such store") << "3" << QStringList{} << 0;
}

void TestAddMoneyFrm::operatorStore()
{
    QFETCH(QString, dianMian);
    QFETCH(QStringList, stores);
    QFETCH(int, storeId);
    form->close();
    t->session.login.MyDianMianID = dianMian;
    open();
    QStringList shown;
    for (int i = 0; i < find<QComboBox>("cbStore")->count(); ++i)
        shown << find<QComboBox>("cbStore")->itemText(i);
    QCOMPARE(shown, stores);
    const QStringList before = snapshot();
    t->prompter.clear();
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), QStringLiteral("8"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    if (storeId == 0) {
        QCOMPARE(t->prompter.messages, QStringList{"请指定门店!"});
        QCOMPARE(snapshot(), before);
    } else {
        QCOMPARE(t->prompter.messages, QStringList{"充值成功!"});
        QCOMPARE(
            t->value(QStringLiteral("SELECT FStoreID FROM TblAddMoney ORDER BY FID DESC")).toInt(),
            storeId);
    }
}

void TestAddMoneyFrm::memberDeletedMeanwhile()
{
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), QStringLiteral("30"));
    t->db.exec(QStringLiteral("DELETE FROM User_Info WHERE User_Card = '1001'"));
    const QStringList before = snapshot();
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    QCOMPARE(t->prompter.messages, QStringList{"该会员已不存在（可能已被删除），不能充值！"});
    QCOMPARE(snapshot(), before);
    QVERIFY(!form->member());
    QVERIFY(box("edt_CardNo")->isEnabled());
    QVERIFY(box("edt_CardNo")->hasFocus());
    QCOMPARE(box("edt_Card")->text(), QString());
}

void TestAddMoneyFrm::failingWriteKeepsEntries()
{
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), QStringLiteral("30"));
    const QStringList before = snapshot();
    FaultInjection::Arm(t->db, QStringLiteral("BEFORE UPDATE OF User_ChuZhi ON User_Info"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    FaultInjection::Disarm(t->db);
    QCOMPARE(t->prompter.messages.size(), 1);
    QVERIFY(t->prompter.messages.first().startsWith(QStringLiteral("错误:")));
    QVERIFY(!t->prompter.messages.first().contains(QStringLiteral("成功")));
    QCOMPARE(snapshot(), before);
    // Nothing is lost: the same entries go through once the fault is gone.
    QCOMPARE(box("edt_AddMoney")->text(), QStringLiteral("30"));
    t->prompter.clear();
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    QCOMPARE(t->prompter.messages, QStringList{"充值成功!"});
    QCOMPARE(balance(QStringLiteral("1001")), 530.0);
}

void TestAddMoneyFrm::exportWritesGridRows()
{
    lookUp(QStringLiteral("1001"));
    TypeText(box("edt_AddMoney"), QStringLiteral("5"));
    QTest::keyClick(box("edt_AddMoney"), Qt::Key_Return);
    lookUp(QStringLiteral("1001"));
    QCOMPARE(grid()->totalRowCount(), 2);

    // One card's history: its two rows.
    t->prompter.clear();
    const QString mine = t->folder() + QStringLiteral("/wang");
    t->files.saveAnswers.enqueue(mine);
    QTest::mouseClick(find<QPushButton>("btnExcel"), Qt::LeftButton);
    QCOMPARE(t->files.titles, QStringList{"导出Excel"});
    QCOMPARE(t->prompter.messages, QStringList{"成功导出2条数据!"});
    QVERIFY(QFileInfo(mine + QStringLiteral(".xls")).size() > 0);

    // After cancelling, the whole history.
    t->prompter.clear();
    QTest::mouseClick(find<QPushButton>("BtnCancel"), Qt::LeftButton);
    open();
    const QString all = t->folder() + QStringLiteral("/all");
    t->files.saveAnswers.enqueue(all);
    QTest::mouseClick(find<QPushButton>("btnExcel"), Qt::LeftButton);
    QCOMPARE(t->prompter.messages, QStringList{"成功导出8条数据!"});
    QVERIFY(QFileInfo::exists(all + QStringLiteral(".xls")));
}

void TestAddMoneyFrm::cancelClosesAndResets()
{
    const QStringList before = snapshot();
    lookUp(QStringLiteral("1003"));
    TypeText(box("edt_AddMoney"), QStringLiteral("99"));
    QTest::mouseClick(find<QPushButton>("BtnCancel"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QVERIFY(t->prompter.messages.isEmpty());
    QCOMPARE(snapshot(), before);
    open();
    QCOMPARE(box("edt_CardNo")->text(), QString());
    QVERIFY(box("edt_CardNo")->isEnabled());
    QCOMPARE(box("edt_AddMoney")->text(), QString());
    QVERIFY(!box("edt_AddMoney")->isEnabled());
    QCOMPARE(box("edt_UserName")->text(), QString());
    QCOMPARE(grid()->totalRowCount(), 7);
    QVERIFY(!form->member());
}

QTEST_MAIN(TestAddMoneyFrm)
#include "tst_TAddMoney_Frm.moc"
