#include "data/TextRules.h"
#include "platform/ReceiptOutput.h"
#include "sales/MemberSalePayment.h"
#include "sales/ModalDriver.h"
#include "sales/OpenBill.h"
#include "sales/TPayType_Frm.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The payment dialog driven through its controls: received and change,
// the stored-value rules, the Enter checks, the checkout on 确定 with its
// receipts, and a failing write that leaves the bill open.
class TestPayTypeFrm : public QObject
{
    Q_OBJECT
private slots:
    void receivedAndChange_data();
    void receivedAndChange();
    void storedValueField_data();
    void storedValueField();
    void storedValueLimit_data();
    void storedValueLimit();
    void enterChecks_data();
    void enterChecks();
    void bothZeroRefused();
    void cancelWritesNothing();
    void paysAndPrints_data();
    void paysAndPrints();
    void failingWriteKeepsDialogAndBill();
    void billChangedElsewhereClosesDialog();
    void typedAmountRefused_data();
    void typedAmountRefused();
};

namespace
{

class FakeReceipts : public ReceiptOutput
{
public:
    bool printReceipt(const ReceiptPage &page) override
    {
        pages << page;
        return works;
    }
    QList<ReceiptPage> pages;
    bool works = true;
};

struct Fields {
    QLineEdit *due, *cash, *card, *received, *change;
    QPushButton *ok, *cancel;
};

Fields FieldsOf(TPayType_Frm *d)
{
    return {d->findChild<QLineEdit *>(QStringLiteral("edt_PayMoney")),
            d->findChild<QLineEdit *>(QStringLiteral("edt_Cash")),
            d->findChild<QLineEdit *>(QStringLiteral("edt_Card")),
            d->findChild<QLineEdit *>(QStringLiteral("edt_RealMoney")),
            d->findChild<QLineEdit *>(QStringLiteral("edt_PayZero")),
            d->findChild<QPushButton *>(QStringLiteral("BtnOk")),
            d->findChild<QPushButton *>(QStringLiteral("btnCancel"))};
}

// Opens the dialog for member 1001's open bill as the sale screen does: the
// due and balance as shown, the member checkout as the operation.
std::optional<qint64> Pay(TestDatabase &t, TPayType_Frm &dialog, const QString &due,
                          const QString &balance)
{
    CheckoutRequest request;
    request.memberId = 1;
    request.shopName = QStringLiteral("总店");
    request.bill = OpenBill::TotalsOf(t.db, 1);
    request.adminId = 1;
    MemberSalePayment operation(t.ctx, request, QStringLiteral("1001"));
    return dialog.Pay({Money::parse(due).value_or(Money()), due,
                       Money::parse(balance).value_or(Money()), balance},
                      operation);
}

// One open line of 19.9 x 3 (59.70, 3 points) for member 1001.
void OpenLine(TestDatabase &t)
{
    const SaleLineInput in{QStringLiteral("招牌菜"),   QStringLiteral("热菜"),
                           QStringLiteral("张丽"),     QStringLiteral("总店"),
                           QStringLiteral("宫保鸡丁"), QStringLiteral("19.9"),
                           QStringLiteral("19.9"),     QStringLiteral("1"),
                           QStringLiteral("3"),        QString()};
    OpenBill::AddLine(t.db, 1, 1, in, SaleLine::Figures(in));
}

int Count(TestDatabase &t, const char *sql)
{
    return t.value(QString::fromLatin1(sql)).toInt();
}

} // namespace

void TestPayTypeFrm::receivedAndChange_data()
{
    QTest::addColumn<QString>("balance");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("cash 100") << "0"
                              << "100"
                              << ""
                              << "100"
                              << "40.3" << true;
    QTest::newRow("split exactly") << "30"
                                   << "29.7"
                                   << "30"
                                   << "59.7"
                                   << "0" << true;
    QTest::newRow("cash short") << "500"
                                << "20"
                                << ""
                                << "20"
                                << "-39.7" << false;
    QTest::newRow("second point ignored") << "0"
                                          << "59.7.1"
                                          << ""
                                          << "59.71"
                                          << "0.01" << true;
    QTest::newRow("letters ignored") << "0"
                                     << "6a0"
                                     << ""
                                     << "60"
                                     << "0.3" << true;
}

void TestPayTypeFrm::receivedAndChange()
{
    QFETCH(QString, balance);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(QString, received);
    QFETCH(QString, change);
    QFETCH(bool, okEnabled);
    TestDatabase t(TestDatabase::Content::Demo);
    const int sales = Count(t, "SELECT COUNT(*) FROM S_Sale");
    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QCOMPARE(f.due->text(), QStringLiteral("59.70"));
        QVERIFY(f.due->isReadOnly());
        QVERIFY(f.received->isReadOnly());
        QCOMPARE(f.cash->text(), QStringLiteral("0"));
        QCOMPARE(f.change->text(), QStringLiteral("0"));
        QVERIFY(!f.ok->isEnabled());
        QTest::keyClicks(f.cash, cash);
        if (!card.isEmpty())
            QTest::keyClicks(f.card, card);
        QCOMPARE(f.received->text(), received);
        QCOMPARE(f.change->text(), change);
        QCOMPARE(f.ok->isEnabled(), okEnabled);
    });
    QVERIFY(!Pay(t, dialog, QStringLiteral("59.70"), balance));
    QVERIFY(drive.ran());
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Sale"), sales);
}

void TestPayTypeFrm::storedValueField_data()
{
    QTest::addColumn<QString>("balance");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("positive balance") << "88.5" << true;
    QTest::newRow("zero balance") << "0" << false;
    QTest::newRow("no balance shown") << "" << false;
}

void TestPayTypeFrm::storedValueField()
{
    QFETCH(QString, balance);
    QFETCH(bool, enabled);
    TestDatabase t(TestDatabase::Content::Demo);
    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive(
        [&](TPayType_Frm *d) { QCOMPARE(FieldsOf(d).card->isEnabled(), enabled); });
    Pay(t, dialog, QStringLiteral("59.70"), balance);
    QVERIFY(drive.ran());
}

void TestPayTypeFrm::storedValueLimit_data()
{
    QTest::addColumn<QString>("balance");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("above balance")
        << "30"
        << "40"
        << "收付款方式中所输入的储值金额[40]不能大于卡面金额[30 ]和应付金额[59.70]!";
    QTest::newRow("above due")
        << "500"
        << "70"
        << "收付款方式中所输入的储值金额[70]不能大于卡面金额[500 ]和应付金额[59.70]!";
    QTest::newRow("whole balance") << "30"
                                   << "30"
                                   << "";
}

void TestPayTypeFrm::storedValueLimit()
{
    QFETCH(QString, balance);
    QFETCH(QString, card);
    QFETCH(QString, message);
    TestDatabase t(TestDatabase::Content::Demo);
    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QVERIFY(QTest::qWaitForWindowActive(d));
        f.card->setFocus();
        QTest::keyClicks(f.card, card);
        // Leaving the field, unless reaching the due already moved the focus
        // to 确定 and the check runs then.
        QTest::qWait(20);
        if (t.prompter.messages.isEmpty())
            f.cash->setFocus();
        QTest::qWait(20);
        if (message.isEmpty()) {
            QVERIFY(t.prompter.messages.isEmpty());
            QCOMPARE(QApplication::focusWidget(), f.cash);
        } else {
            QCOMPARE(t.prompter.messages, QStringList{message});
            QCOMPARE(QApplication::focusWidget(), f.card);
            QCOMPARE(f.card->selectedText(), card);
        }
    });
    Pay(t, dialog, QStringLiteral("59.70"), balance);
    QVERIFY(drive.ran());
}

void TestPayTypeFrm::enterChecks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("message"); // empty: covered, 确定 gets the focus
    QTest::newRow("cash short") << "edt_Cash"
                                << "10"
                                << "收款方式中实收金额必须要大于等于应收金额!";
    QTest::newRow("stored value short") << "edt_Card"
                                        << "10"
                                        << "收款方式中实收金额必须大于等于应收金额!";
    QTest::newRow("received short") << "edt_RealMoney"
                                    << "10"
                                    << "收款方式中实收金额必须大于等于应收金额!";
    QTest::newRow("cash covers") << "edt_Cash"
                                 << "60"
                                 << "";
}

void TestPayTypeFrm::enterChecks()
{
    QFETCH(QString, field);
    QFETCH(QString, cash);
    QFETCH(QString, message);
    TestDatabase t(TestDatabase::Content::Demo);
    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClicks(f.cash, cash);
        auto *target = d->findChild<QLineEdit *>(field);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        if (message.isEmpty()) {
            QVERIFY(t.prompter.messages.isEmpty());
            QVERIFY(f.ok->isEnabled());
            QCOMPARE(QApplication::focusWidget(), f.ok);
        } else {
            QCOMPARE(t.prompter.messages, QStringList{message});
            QVERIFY(!f.ok->isEnabled());
            QCOMPARE(QApplication::focusWidget(), f.cash);
        }
    });
    QVERIFY(!Pay(t, dialog, QStringLiteral("59.70"), QStringLiteral("500")));
    QVERIFY(drive.ran());
}

void TestPayTypeFrm::bothZeroRefused()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const int sales = Count(t, "SELECT COUNT(*) FROM S_Sale");
    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QTest::keyClick(f.cash, Qt::Key_Return); // a bill of 0 is covered by nothing
        QVERIFY(f.ok->isEnabled());
        QTest::mouseClick(f.ok, Qt::LeftButton);
        QCOMPARE(t.prompter.last(),
                 QStringLiteral("现金和储值卡金额不能同时为空，请重新输入现金或储值卡金额!"));
        QVERIFY(d->isVisible());
    });
    QVERIFY(!Pay(t, dialog, QStringLiteral("0.00"), QStringLiteral("500")));
    QVERIFY(drive.ran());
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Sale"), sales);
}

void TestPayTypeFrm::cancelWritesNothing()
{
    TestDatabase t(TestDatabase::Content::Demo);
    OpenLine(t);
    const int sales = Count(t, "SELECT COUNT(*) FROM S_Sale");
    TPayType_Frm dialog(t.ctx);
    for (int round = 0; round < 2; ++round) {
        WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
            const Fields f = FieldsOf(d);
            // Reopening starts again from "0" with the same amount due.
            QCOMPARE(f.cash->text(), QStringLiteral("0"));
            QCOMPARE(f.due->text(), QStringLiteral("59.70"));
            QTest::keyClicks(f.cash, QStringLiteral("100"));
            QVERIFY(f.ok->isEnabled());
            QTest::mouseClick(f.cancel, Qt::LeftButton);
        });
        QVERIFY(!Pay(t, dialog, QStringLiteral("59.70"), QStringLiteral("500")));
        QVERIFY(drive.ran());
    }
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Sale"), sales);
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Order WHERE UserID = 1"), 1);
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestPayTypeFrm::paysAndPrints_data()
{
    QTest::addColumn<int>("printYesOrNo");
    QTest::addColumn<int>("printCount");
    QTest::addColumn<bool>("printerWorks");
    QTest::addColumn<int>("pages");
    QTest::newRow("two copies") << 1 << 2 << true << 2;
    QTest::newRow("printing off") << 0 << 2 << true << 0;
    QTest::newRow("no copies") << 1 << 0 << true << 0;
    QTest::newRow("printer fails, sale stands") << 1 << 2 << false << 2;
}

void TestPayTypeFrm::paysAndPrints()
{
    QFETCH(int, printYesOrNo);
    QFETCH(int, printCount);
    QFETCH(bool, printerWorks);
    QFETCH(int, pages);
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    FakeReceipts receipts;
    receipts.works = printerWorks;
    t.ctx.receiptOutput = &receipts;
    t.session.settings.PrintYesOrNo = printYesOrNo;
    t.db.exec(QStringLiteral("UPDATE DataSeting SET FPrintCount = ?"), {printCount});
    OpenLine(t);

    TPayType_Frm dialog(t.ctx);
    QSignalSpy memberNotices(&t.ctx.notices, &ChangeNotices::memberChanged);
    QSignalSpy salesNotices(&t.ctx.notices, &ChangeNotices::salesChanged);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QTest::keyClicks(f.cash, QStringLiteral("100"));
        QCOMPARE(f.change->text(), QStringLiteral("40.3"));
        QTest::mouseClick(f.ok, Qt::LeftButton);
    });
    const std::optional<qint64> saleId =
        Pay(t, dialog, QStringLiteral("59.70"), QStringLiteral("500"));
    QVERIFY(drive.ran());
    QVERIFY(saleId);
    // Open windows are told: the member's account and the sales changed.
    QCOMPARE(salesNotices.count(), 1);
    QCOMPARE(memberNotices.count(), 1);
    QCOMPARE(memberNotices.first().first().toInt(), 1);
    QCOMPARE(t.value(QStringLiteral("SELECT FCashAll FROM S_Sale WHERE SaleID = ?"), {*saleId})
                 .toDouble(),
             59.7);
    QCOMPARE(t.value(QStringLiteral("SELECT FCardAll FROM S_Sale WHERE SaleID = ?"), {*saleId})
                 .toDouble(),
             0.0);
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Order WHERE UserID = 1"), 0);
    QCOMPARE(receipts.pages.size(), pages);
    const QString error = QStringLiteral("打印小票错误，请查看小票打印机设置！");
    QCOMPARE(t.prompter.messages.count(error), printerWorks ? 0 : pages);
    QCOMPARE(t.prompter.last(), QStringLiteral("收款结帐成功，请刷卡，操作下一位客户！"));
    if (pages > 0) {
        // The receipt shows the cash tendered and the change, not the stored split.
        QStringList texts;
        for (const ReceiptLine &line : receipts.pages.first().lines)
            texts << line.text;
        const QString all = texts.join(QLatin1Char('\n'));
        QVERIFY2(all.contains(QStringLiteral("会员卡：1001")), qPrintable(all));
        QVERIFY2(all.contains(QRegularExpression(QStringLiteral("现金 +100(\n|$)"))),
                 qPrintable(all));
        QVERIFY2(all.contains(QRegularExpression(QStringLiteral("找零 +40.3(\n|$)"))),
                 qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("RMB 59.70")), qPrintable(all));
    }
}

void TestPayTypeFrm::failingWriteKeepsDialogAndBill()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    OpenLine(t);
    t.db.exec(QStringLiteral("CREATE TEMP TRIGGER fail_detail BEFORE INSERT ON S_SaleDetail "
                             "BEGIN SELECT RAISE(ABORT, 'detail line refused'); END"));
    const double balance =
        t.value(QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_ID = 1")).toDouble();
    const int sales = Count(t, "SELECT COUNT(*) FROM S_Sale");
    const int details = Count(t, "SELECT COUNT(*) FROM S_SaleDetail");

    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QTest::keyClicks(f.cash, QStringLiteral("29.7"));
        QTest::keyClicks(f.card, QStringLiteral("30"));
        QVERIFY(f.ok->isEnabled());
        QTest::mouseClick(f.ok, Qt::LeftButton);
        QVERIFY(d->isVisible());
        QCOMPARE(t.prompter.messages.size(), 1);
        QVERIFY(t.prompter.last().startsWith(QStringLiteral("错误:")));
        QVERIFY(t.prompter.last().contains(QStringLiteral("detail line refused")));
    });
    QVERIFY(!Pay(t, dialog, QStringLiteral("59.70"), QStringLiteral("500")));
    QVERIFY(drive.ran());
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Sale"), sales);
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_SaleDetail"), details);
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Order WHERE UserID = 1"), 1);
    QCOMPARE(
        t.value(QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_ID = 1")).toDouble(),
        balance);
}

void TestPayTypeFrm::billChangedElsewhereClosesDialog()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    OpenLine(t);
    const int sales = Count(t, "SELECT COUNT(*) FROM S_Sale");

    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QTest::keyClicks(f.cash, QStringLiteral("100"));
        // Meanwhile another till adds a line to the same member's bill.
        OpenLine(t);
        QTest::mouseClick(f.ok, Qt::LeftButton);
        QCOMPARE(t.prompter.messages, QStringList{QStringLiteral(
                                          "账单已被修改（可能在其他收银台），请核对后重新结帐！")});
        QVERIFY(!d->isVisible());
    });
    QVERIFY(!Pay(t, dialog, QStringLiteral("59.70"), QStringLiteral("500")));
    QVERIFY(drive.ran());
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Sale"), sales);
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Order WHERE UserID = 1"), 2);
}

void TestPayTypeFrm::typedAmountRefused_data()
{
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("lone point") << "."
                                << "0"
                                << "现金金额只能为数字!"
                                << "edt_Cash";
    QTest::newRow("fifth decimal")
        << "60"
        << "0.00001"
        << "储值卡金额超出范围：金额最大为100000000000，最多4位小数，请重新输入！"
        << "edt_Card";
}

void TestPayTypeFrm::typedAmountRefused()
{
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t(TestDatabase::Content::Demo);
    t.loginAs();
    OpenLine(t);
    const int sales = Count(t, "SELECT COUNT(*) FROM S_Sale");
    TPayType_Frm dialog(t.ctx);
    WhenModal<TPayType_Frm> drive([&](TPayType_Frm *d) {
        const Fields f = FieldsOf(d);
        QVERIFY(QTest::qWaitForWindowActive(d));
        f.cash->setText(cash);
        f.card->setText(card);
        d->BtnOkClick();
        QCOMPARE(t.prompter.messages, QStringList{message});
        QVERIFY(d->isVisible());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    });
    QVERIFY(!Pay(t, dialog, QStringLiteral("59.70"), QStringLiteral("500")));
    QVERIFY(drive.ran());
    QCOMPARE(Count(t, "SELECT COUNT(*) FROM S_Sale"), sales);
}

QTEST_MAIN(TestPayTypeFrm)
#include "tst_TPayType_Frm.moc"
