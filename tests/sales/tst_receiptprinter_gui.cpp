#include "sales/ReceiptPrinter.h"
#include "support/TestDatabase.h"

#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace
{

const QString PrintError = QStringLiteral("打印小票错误，请查看小票打印机设置！");

// Receives receipts instead of a printer; answers from a queue (printed when empty).
class RecordingOutput : public ReceiptOutput
{
public:
    bool printReceipt(const ReceiptPage &page) override
    {
        pages << page;
        return results.isEmpty() ? true : results.dequeue();
    }
    QList<ReceiptPage> pages;
    QQueue<bool> results;
};

// A stored sale: member 8001 (operator 7), two lines, 59.70 in all.
qint64 storeSale(TestDatabase &t)
{
    const qint64 member = t.db.insert("INSERT INTO User_Info (User_Card, User_Name, User_Num) "
                                      "VALUES ('8001', '王建国', 132)");
    const qint64 sale = t.db.insert("INSERT INTO S_Sale (UserID, AdminID, PriceAll, JiFenAll, "
                                    "FCashAll, FCardAll) VALUES (?, 7, 59.7, 12, 29.7, 30)",
                                    {member});
    t.db.exec("INSERT INTO S_SaleDetail (SaleID, UserID, ProSortID, ProName, ProShuliang, "
              "ProSalePrice) VALUES (?, ?, 2, '宫保鸡丁', 3, 17.91)",
              {sale, member});
    t.db.exec("INSERT INTO S_SaleDetail (SaleID, UserID, ProSortID, ProName, OrderOther, "
              "ProShuliang, ProSalePrice) VALUES (?, ?, 3, '青岛啤酒', '冰镇', 1, 5.97)",
              {sale, member});
    t.session.login.MyAdminID = QStringLiteral("7");
    t.session.settings.Biaoti = QStringLiteral("百纳餐厅");
    t.session.settings.piaowei1 = QStringLiteral("谢谢惠顾，欢迎再次光临！");
    t.session.settings.piaowei2.clear();
    t.session.settings.piaowei3 = QStringLiteral("电话：0571-88888888");
    return sale;
}

const ReceiptFigures Paid{QStringLiteral("8001"), QStringLiteral("59.70"), QStringLiteral("30"),
                          QStringLiteral("30"), QStringLiteral("0.3")};

QString lineText(const ReceiptPage &page, const QString &start)
{
    for (const ReceiptLine &l : page.lines)
        if (l.text.startsWith(start))
            return l.text;
    return QString();
}

int saleCount(TestDatabase &t)
{
    return t.value("SELECT count(*) FROM S_Sale").toInt();
}

} // namespace

class TestReceiptPrinter : public QObject
{
    Q_OBJECT
private slots:
    void printsCopiesOnPaper_data();
    void printsCopiesOnPaper();
    void failedCopyWarnsAndNextIsTried();
    void noDefaultPrinterWarns();
    void figuresOnTheReceipt();
    void thirdModelReceipt();
    void pdfShowsLinesInOrder_data();
    void pdfShowsLinesInOrder();
};

void TestReceiptPrinter::printsCopiesOnPaper_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("printBig");
    QTest::addColumn<int>("width");
    QTest::newRow("one 58") << 1 << 1 << 58;
    QTest::newRow("three 80") << 3 << 2 << 80;
    QTest::newRow("none") << 0 << 1 << 58;
    QTest::newRow("negative") << -1 << 2 << 80;
}

void TestReceiptPrinter::printsCopiesOnPaper()
{
    QFETCH(int, copies);
    QFETCH(int, printBig);
    QFETCH(int, width);
    TestDatabase t;
    const qint64 sale = storeSale(t);
    t.session.settings.PrintBig = printBig;
    RecordingOutput out;
    t.ctx.receiptOutput = &out;

    QVERIFY(PrintSaleReceipt(t.ctx, sale, copies, Paid));
    QCOMPARE(out.pages.size(), std::max(copies, 0));
    for (const ReceiptPage &p : out.pages) {
        QCOMPARE(p.paperWidthMm, width);
        QCOMPARE(lineText(p, "流水号"),
                 QStringLiteral("流水号：2008") + ReceiptLayout::add0(8, sale));
        QCOMPARE(p.lines, out.pages.first().lines); // identical copies
    }
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestReceiptPrinter::failedCopyWarnsAndNextIsTried()
{
    TestDatabase t;
    const qint64 sale = storeSale(t);
    const int sales = saleCount(t);
    RecordingOutput out;
    out.results << false << true << false;
    t.ctx.receiptOutput = &out;

    QVERIFY(!PrintSaleReceipt(t.ctx, sale, 3, Paid));
    QCOMPARE(out.pages.size(), 3);
    QCOMPARE(t.prompter.messages, QStringList({PrintError, PrintError}));
    // The sale stands.
    QCOMPARE(saleCount(t), sales);
    QCOMPARE(t.value("SELECT count(*) FROM S_SaleDetail WHERE SaleID = ?", {sale}).toInt(), 2);
}

void TestReceiptPrinter::noDefaultPrinterWarns()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a default printer");
    TestDatabase t;
    const qint64 sale = storeSale(t);
    QVERIFY(!ReceiptPrinter().printReceipt(ReceiptPage{}));
    QVERIFY(!PrintSaleReceipt(t.ctx, sale, 2));
    QCOMPARE(t.prompter.messages, QStringList({PrintError, PrintError}));
}

void TestReceiptPrinter::figuresOnTheReceipt()
{
    TestDatabase t;
    const qint64 sale = storeSale(t);
    RecordingOutput out;
    t.ctx.receiptOutput = &out;

    // The checkout's own texts.
    QVERIFY(PrintSaleReceipt(t.ctx, sale, 1, Paid));
    const ReceiptPage &typed = out.pages.last();
    QCOMPARE(lineText(typed, "会员卡"), QStringLiteral("会员卡：8001        收银员：007"));
    QCOMPARE(lineText(typed, "现金"), QStringLiteral("现金") + QString(45, ' ') + "30");
    QCOMPARE(lineText(typed, "找零"), QStringLiteral("找零") + QString(43, ' ') + "0.3");
    QCOMPARE(lineText(typed, "时间"), QStringLiteral("时间：2024/3/5 9:07:02"));
    QCOMPARE(typed.lines[1].text, QStringLiteral("百纳餐厅"));

    // Without them: what the stored sale knows.
    QVERIFY(PrintSaleReceipt(t.ctx, sale, 1));
    const ReceiptPage &stored = out.pages.last();
    QCOMPARE(lineText(stored, "会员卡"), QStringLiteral("会员卡：8001        收银员：007"));
    QCOMPARE(lineText(stored, "总价格"), QStringLiteral("总价格") + QString(32, ' ') + "RMB 59.70");
    QCOMPARE(lineText(stored, "现金"), QStringLiteral("现金") + QString(39, ' ') + "29.70");
    QCOMPARE(lineText(stored, "储值"), QStringLiteral("储值") + QString(39, ' ') + "30.00");
}

void TestReceiptPrinter::thirdModelReceipt()
{
    TestDatabase t;
    const qint64 sale = storeSale(t);
    t.session.settings.PrintBig = 2;
    RecordingOutput out;
    t.ctx.receiptOutput = &out;
    ReceiptFigures screen;
    screen.cardNo = QStringLiteral("8001");
    screen.total = QStringLiteral("59.70");
    QVERIFY(PrintThirdModelReceipt(t.ctx, sale, 2, screen));
    QCOMPARE(out.pages.size(), 2);
    const ReceiptPage &p = out.pages.first();
    QCOMPARE(p.paperWidthMm, 80);
    QCOMPARE(p.lines[1].y, 68); // no title line
    QVERIFY(lineText(p, QString(10, ' ') + "总价格").endsWith("RMB 59.70"));
    QVERIFY(lineText(p, QString(8, ' ') + "积分").endsWith(" 12"));
    QVERIFY(lineText(p, "现金").isEmpty());
    QVERIFY(lineText(p, "谢谢惠顾").isEmpty());
}

void TestReceiptPrinter::pdfShowsLinesInOrder_data()
{
    QTest::addColumn<int>("printBig");
    QTest::addColumn<QString>("support");
    QTest::newRow("58 mm") << 1 << "百纳会员管理软件提供技术支持";
    QTest::newRow("80 mm") << 2 << "技术支持:百纳会员管理软件";
}

void TestReceiptPrinter::pdfShowsLinesInOrder()
{
    QFETCH(int, printBig);
    QFETCH(QString, support);
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");

    TestDatabase t;
    const qint64 sale = storeSale(t);
    t.session.settings.PrintBig = printBig;
    const QString pdf = t.folder() + "/receipt.pdf";
    ReceiptPrinter printer = ReceiptPrinter::pdf(pdf);
    t.ctx.receiptOutput = &printer;
    QVERIFY(PrintSaleReceipt(t.ctx, sale, 1, Paid));
    QVERIFY(t.prompter.messages.isEmpty());

    // Words with their boxes, as a PDF reader sees them.
    QProcess p;
    p.start(pdftotext, {"-bbox", pdf, "-"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QRegularExpression page(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    const auto pageMatch = page.match(html);
    QVERIFY(pageMatch.hasMatch());
    // The page is as wide as the paper (points).
    QCOMPARE(qRound(pageMatch.captured(1).toDouble() / 72.0 * 25.4), printBig == 2 ? 80 : 58);

    QRegularExpression word(
        R"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QList<QPair<double, QString>> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(1).toDouble(), m.captured(2)});
    }
    const auto top = [&](const QString &start) {
        for (const auto &w : words)
            if (w.second.startsWith(start))
                return w.first;
        return -1.0;
    };

    // Each line where the layout puts it: receipt units of 1/203.2 inch, in points.
    const QList<QPair<QString, int>> expected = {
        {"百纳餐厅", 30},
        {"流水号：2008" + ReceiptLayout::add0(8, sale), 98},
        {"会员卡：8001", 128},
        {"收银员：007", 128},
        {"编码/名称", 188},
        {"宫保鸡丁", 218},
        {"200000001", 248},
        {"青岛啤酒", 278},
        {"(冰镇)", 278},
        {"300000002", 308},
        {"总价格", 368},
        {"59.70", 368},
        {"现金", 398},
        {"储值", 428},
        {"找零", 458},
        {"积分", 488},
        {"总积分", 518},
        {"谢谢惠顾，欢迎再次光临！", 578},
        {"电话：0571-88888888", 608},
        {"时间：2024/3/5", 638},
        {support, 668},
    };
    for (const auto &[text, y] : expected) {
        const double at = top(text);
        QVERIFY2(at >= 0, qPrintable("not on the receipt: " + text));
        const double want = y * 72.0 / 203.2;
        QVERIFY2(qAbs(at - want) < 3.0,
                 qPrintable(QString("%1 at %2 pt, expected %3 pt").arg(text).arg(at).arg(want)));
    }

    // A picture of it, for a look: MEMBERPOS_RECEIPT_PNG=/path/prefix
    const QString keep = qEnvironmentVariable("MEMBERPOS_RECEIPT_PNG");
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (!keep.isEmpty() && !pdftoppm.isEmpty())
        QProcess::execute(pdftoppm, {"-png", "-r", "203", "-singlefile", pdf,
                                     keep + QString::number(printBig == 2 ? 80 : 58)});
}

QTEST_MAIN(TestReceiptPrinter)
#include "tst_receiptprinter_gui.moc"
