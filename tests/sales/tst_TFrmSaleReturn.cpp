#include "sales/ModalDriver.h"
#include "sales/TFrmReturnDialog.h"
#include "sales/TFrmSaleReturn.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"
#include "widgets/DataGridWidget.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

// The return window driven through its controls.
class TestTFrmSaleReturn : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void lookup_data();
    void lookup();
    void returnsTheLineChosen_data();
    void returnsTheLineChosen();
    void mixedSaleAsksTheSplit_data();
    void mixedSaleAsksTheSplit();
    void exportsEveryReturn();

private:
    template <typename W> W *find(const char *name) { return FindControl<W>(form.get(), name); }
    QString label(const char *name) { return find<QLabel>(name)->text(); }
    DataGridWidget *grid() { return find<DataGridWidget>("DBGrid1"); }
    void lookUp(const QString &card)
    {
        auto *box = find<QLineEdit>("edt_CardNo");
        box->clear();
        TypeText(box, card);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // Member 8001 (500 stored, 100 points) with a sale of two lines.
    void makeSale(double cash, double card)
    {
        member = t->db.insert(
            "INSERT INTO User_Info (User_Card, User_Name, User_ChuZhi, User_Num, User_MoneyAll) "
            "VALUES ('8001', '退货会员', 500, 100, 200)");
        const qint64 sale =
            t->db.insert("INSERT INTO S_Sale (UserID, PriceAll, JiFenAll, SaleDate, FCashAll, "
                         "FCardAll) VALUES (?, 100, 20, '2024-03-01 12:00:00', ?, ?)",
                         {member, cash, card});
        t->db.insert("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, ProPrice, ProSalePrice, "
                     "ProJiFen, ProShuliang) VALUES (?, ?, '宫保鸡丁', 35, 30, 3, 2)",
                     {sale, member});
        t->db.insert("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, ProPrice, ProSalePrice, "
                     "ProJiFen, ProShuliang) VALUES (?, ?, '米饭', 40, 40, 2, 1)",
                     {sale, member});
    }

    std::unique_ptr<TestDatabase> t;
    std::unique_ptr<TFrmSaleReturn> form;
    qint64 member = 0;
};

void TestTFrmSaleReturn::init()
{
    t = std::make_unique<TestDatabase>();
    t->loginAs();
    form = std::make_unique<TFrmSaleReturn>(t->ctx);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void TestTFrmSaleReturn::cleanup()
{
    form.reset();
    t.reset();
}

void TestTFrmSaleReturn::lookup_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("message"); // empty: found
    QTest::newRow("found, blanks trimmed") << " 8001 "
                                           << "";
    QTest::newRow("empty") << "  "
                           << "会员卡卡号不能为空,请输入会员卡号!";
    QTest::newRow("unknown") << "9999"
                             << "录入的卡号不正确,请核对录入的卡号是否正确!";
    QTest::newRow("quote") << "80'01"
                           << "录入的卡号不正确,请核对录入的卡号是否正确!";
}

void TestTFrmSaleReturn::lookup()
{
    QFETCH(QString, card);
    QFETCH(QString, message);
    makeSale(100, 0);
    lookUp(card);
    if (message.isEmpty()) {
        QVERIFY(t->prompter.messages.isEmpty());
        QCOMPARE(label("lbl_CardNo"), QStringLiteral("8001"));
        QCOMPARE(label("lbl_ChuZhiJinE"), QStringLiteral("500"));
        QCOMPARE(grid()->rowCount(), 2);
        QCOMPARE(grid()->titles().size(), 13);
        QCOMPARE(grid()->columnWidth(3), 100);
    } else {
        QCOMPARE(t->prompter.messages, QStringList{message});
        QVERIFY(label("lbl_CardNo").isEmpty());
        QCOMPARE(grid()->rowCount(), 0);
        QCOMPARE(QApplication::focusWidget(), find<QLineEdit>("edt_CardNo"));
    }
}

void TestTFrmSaleReturn::returnsTheLineChosen_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("退货 button") << true << false;
    QTest::newRow("double click") << true << true;
    QTest::newRow("not confirmed") << false << false;
}

void TestTFrmSaleReturn::returnsTheLineChosen()
{
    QFETCH(bool, confirmed);
    QFETCH(bool, doubleClick);
    makeSale(0, 100);
    lookUp(QStringLiteral("8001"));
    t->prompter.answers.enqueue(confirmed);
    if (doubleClick)
        DoubleClickRow(grid(), 0);
    else
        QTest::mouseClick(find<QPushButton>("btnReturn"), Qt::LeftButton);
    if (!confirmed) {
        QCOMPARE(t->prompter.messages, QStringList{"确实需要退货吗?"});
        QCOMPARE(grid()->rowCount(), 2);
        QCOMPARE(t->value("SELECT COUNT(*) FROM S_SaleDetail WHERE FReturnFlag = 1").toInt(), 0);
        return;
    }
    QCOMPARE(t->prompter.messages, (QStringList{"确实需要退货吗?", "退货成功!"}));
    // Looked up again: the line has left the list, the member shows the refund.
    QCOMPARE(grid()->rowCount(), 1);
    QCOMPARE(label("lbl_ChuZhiJinE"), QStringLiteral("560"));
    QCOMPARE(label("lbl_JiFen"), QStringLiteral("94"));
}

void TestTFrmSaleReturn::mixedSaleAsksTheSplit_data()
{
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<bool>("close");
    QTest::addColumn<QStringList>("dialogMessages");
    QTest::addColumn<double>("balance");
    QTest::newRow("20 cash, 40 card") << "20"
                                      << "40" << false << QStringList() << 540.0;
    QTest::newRow("the sale's totals are too much, then 关闭")
        << ""
        << "" << true << QStringList{"录入的现金金额、储值卡金额之和不能大于应退金额!"} << 500.0;
    QTest::newRow("not a number, then 关闭")
        << "."
        << "60" << true << QStringList{"现金金额只能为数字!"} << 500.0;
}

void TestTFrmSaleReturn::mixedSaleAsksTheSplit()
{
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(bool, close);
    QFETCH(QStringList, dialogMessages);
    QFETCH(double, balance);
    makeSale(50, 50);
    lookUp(QStringLiteral("8001"));
    WhenModal<TFrmReturnDialog> drive([&](TFrmReturnDialog *d) {
        // Filled with the sale's totals and the amount returned.
        QCOMPARE(d->edtPayMoney->text(), QStringLiteral("60"));
        QCOMPARE(d->edt_Cash->text(), QStringLiteral("50"));
        QCOMPARE(d->edt_Card->text(), QStringLiteral("50"));
        QVERIFY(d->edtPayMoney->isReadOnly());
        if (!cash.isEmpty()) {
            d->edt_Cash->setText(cash);
            d->edt_Card->setText(card);
        }
        QTest::mouseClick(d->btnOk, Qt::LeftButton);
        QCOMPARE(t->prompter.messages.mid(1), dialogMessages);
        if (close) {
            QVERIFY(d->isVisible());
            QTest::mouseClick(d->btnClose, Qt::LeftButton);
        }
    });
    ClickRow(grid(), 0);
    QTest::mouseClick(find<QPushButton>("btnReturn"), Qt::LeftButton);
    QVERIFY(drive.ran());
    QCOMPARE(t->value("SELECT User_ChuZhi FROM User_Info WHERE User_ID = ?", {member}).toDouble(),
             balance);
    QCOMPARE(grid()->rowCount(), close ? 2 : 1);
}

void TestTFrmSaleReturn::exportsEveryReturn()
{
    makeSale(100, 0);
    lookUp(QStringLiteral("8001"));
    QTest::mouseClick(find<QPushButton>("btnReturn"), Qt::LeftButton);
    // Unchecked: every return line of every member, not the grid.
    t->files.saveAnswers.enqueue(t->folder() + "/退货");
    QTest::mouseClick(find<QPushButton>("btnExcel"), Qt::LeftButton);
    QCOMPARE(t->prompter.last(), QStringLiteral("成功导出2条数据!"));
    // Checked: the rows the grid shows.
    find<QCheckBox>("chk_ExcelAll")->setChecked(true);
    t->files.saveAnswers.enqueue(t->folder() + "/当前");
    QTest::mouseClick(find<QPushButton>("btnExcel"), Qt::LeftButton);
    QCOMPARE(t->prompter.last(), QStringLiteral("成功导出1条数据!"));
    QVERIFY(QFile::exists(t->folder() + "/退货.xls"));
    QVERIFY(QFile::exists(t->folder() + "/当前.xls"));
}

QTEST_MAIN(TestTFrmSaleReturn)
#include "tst_TFrmSaleReturn.moc"
