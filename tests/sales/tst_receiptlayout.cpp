#include "sales/ReceiptLayout.h"
#include "support/TestDatabase.h"

#include <QtTest>

namespace
{

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

// The example sale of the receipt: sale 125 by operator 7 for card 8001.
ReceiptSale exampleSale()
{
    ReceiptSale sale;
    sale.saleId = 125;
    sale.details = {
        ReceiptDetail{57, QStringLiteral("2"), QStringLiteral("宫保鸡丁"), QString(), 3, 17.91},
        ReceiptDetail{58, QStringLiteral("3"), QStringLiteral(" 青岛啤酒 "), QStringLiteral(" 冰 "),
                      2, 4.5},
    };
    sale.jifenAll = 12;
    sale.userNum = 132.5;
    return sale;
}

ReceiptInputs exampleInputs()
{
    ReceiptInputs in;
    in.figures = {QStringLiteral("8001"), QStringLiteral("62.73"), QStringLiteral("100"),
                  QStringLiteral("0"), QStringLiteral("37.27")};
    in.title = QStringLiteral("欢迎光临");
    in.footer = {QStringLiteral("谢谢惠顾"), QString(), QStringLiteral("电话：8888"),
                 QStringLiteral("  "), QStringLiteral("地址：中山路")};
    in.operatorId = QStringLiteral("7");
    in.printedAt = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2));
    return in;
}

using Lines = QList<QPair<int, QString>>;

Lines positions(const ReceiptPage &page)
{
    Lines out;
    for (const ReceiptLine &l : page.lines)
        out.append({l.y, l.text});
    return out;
}

const QString Stars = QString(32, QLatin1Char('*'));
const QString SaleRule = QStringLiteral("- - - - - - - - - - -  销   售  - - - - - - - - - - - -");
const QString Heading = QStringLiteral("编码/名称      数量    单  价    金  额");
const QString Closing =
    QStringLiteral("- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -");
const QString Value57 = QStringLiteral("200000057") + blanks(7) + blanks(3) + "3" + blanks(4) +
                        blanks(2) + "17.91" + blanks(5) + blanks(2) + "53.73";
const QString Value58 = QStringLiteral("300000058") + blanks(7) + blanks(3) + "2" + blanks(4) +
                        blanks(6) + "4.5" + blanks(5) + blanks(10) + "9";

} // namespace

class TestReceiptLayout : public QObject
{
    Q_OBJECT
private slots:
    void add0_data();
    void add0();
    void addKongge_data();
    void addKongge();
    void detailLines_data();
    void detailLines();
    void memberSaleReceipt_data();
    void memberSaleReceipt();
    void memberSaleFonts();
    void missingRowsLeaveOutPoints_data();
    void missingRowsLeaveOutPoints();
    void thirdModelReceipt_data();
    void thirdModelReceipt();
    void loadsStoredSale();
    void copiesAndPaper_data();
    void copiesAndPaper();
    void storedFigures();
};

void TestReceiptLayout::add0_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sale 125") << 8 << qint64(125) << "00000125";
    QTest::newRow("operator 7") << 3 << qint64(7) << "007";
    QTest::newRow("exactly wide") << 3 << qint64(123) << "123";
    QTest::newRow("wider than width") << 3 << qint64(12345) << "12345";
    QTest::newRow("width above 20 counts 20") << 25 << qint64(5) << QString(19, '0') + "5";
    QTest::newRow("zero width") << 0 << qint64(9) << "9";
}

void TestReceiptLayout::add0()
{
    QFETCH(int, width);
    QFETCH(qint64, value);
    QFETCH(QString, expected);
    QCOMPARE(ReceiptLayout::add0(width, value), expected);
}

void TestReceiptLayout::addKongge_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("price 17.91") << 12 << "17.91" << blanks(2) + "17.91";
    QTest::newRow("quantity 3") << 5 << "3" << blanks(3) + "3";
    QTest::newRow("points 100") << 49 << "100" << blanks(43) + "100";
    QTest::newRow("six bytes in twelve") << 12 << "123456"
                                         << "123456";
    QTest::newRow("one byte short: two per byte") << 3 << "12"
                                                  << "12";
    QTest::newRow("chinese counts two bytes") << 12 << "中文" << blanks(4) + "中文";
    QTest::newRow("chinese reaches width") << 5 << "中文字"
                                           << "中文字";
    QTest::newRow("width above 100 counts 100") << 130 << "1" << blanks(98) + "1";
    QTest::newRow("empty text") << 4 << "" << blanks(4);
    QTest::newRow("RMB total") << 50 << "RMB 59.70" << blanks(32) + "RMB 59.70";
}

void TestReceiptLayout::addKongge()
{
    QFETCH(int, width);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ReceiptLayout::addKongge(width, text), expected);
}

void TestReceiptLayout::detailLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("other");
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("nameLine");
    QTest::addColumn<QString>("valueLine");
    QTest::newRow("three at 17.91") << "宫保鸡丁"
                                    << "" << 3.0 << 17.91 << "宫保鸡丁" << Value57;
    QTest::newRow("remark in brackets")
        << " 青岛啤酒 "
        << " 冰 " << 2.0 << 4.5 << "青岛啤酒  (冰)"
        << QStringLiteral("200000057") + blanks(7) + blanks(3) + "2" + blanks(4) + blanks(6) +
               "4.5" + blanks(5) + blanks(10) + "9";
    // 0.1 × 3 is 0.30000000000000004 in binary: the amount is written with 15 digits.
    QTest::newRow("amount shortest text")
        << "茶"
        << "" << 3.0 << 0.1 << "茶"
        << QStringLiteral("200000057") + blanks(7) + blanks(3) + "3" + blanks(4) + blanks(6) +
               "0.1" + blanks(5) + blanks(6) + "0.3";
}

void TestReceiptLayout::detailLines()
{
    QFETCH(QString, name);
    QFETCH(QString, other);
    QFETCH(double, quantity);
    QFETCH(double, price);
    QFETCH(QString, nameLine);
    QFETCH(QString, valueLine);
    const ReceiptDetail d{57, QStringLiteral("2"), name, other, quantity, price};
    QCOMPARE(ReceiptLayout::nameLine(d), nameLine);
    QCOMPARE(ReceiptLayout::valueLine(d), valueLine);
}

void TestReceiptLayout::memberSaleReceipt_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("support");
    QTest::addColumn<int>("width");
    QTest::newRow("58 mm") << int(ReceiptPaper::Mm58) << "百纳会员管理软件提供技术支持" << 58;
    QTest::newRow("80 mm") << int(ReceiptPaper::Mm80) << "技术支持:百纳会员管理软件 " << 80;
}

void TestReceiptLayout::memberSaleReceipt()
{
    QFETCH(int, paper);
    QFETCH(QString, support);
    QFETCH(int, width);
    const ReceiptPage page = ReceiptLayout::lines(ReceiptKind::MemberSale, ReceiptPaper(paper),
                                                  exampleSale(), exampleInputs());
    QCOMPARE(page.paperWidthMm, width);
    const Lines expected = {
        {0, Stars},
        {30, "欢迎光临"},
        {68, Stars},
        {98, "流水号：200800000125"},
        {128, "会员卡：8001        收银员：007"},
        {158, SaleRule},
        {188, Heading},
        {218, "宫保鸡丁"},
        {248, Value57},
        {278, "青岛啤酒  (冰)"},
        {308, Value58},
        {338, Closing},
        {368, "总价格" + blanks(32) + "RMB 62.73"},
        {398, "现金" + blanks(43) + "100"},
        {428, "储值" + blanks(47) + "0"},
        {458, "找零" + blanks(39) + "37.27"},
        {488, "积分" + blanks(45) + "12"},
        {518, "总积分" + blanks(35) + "132.5"},
        // Footer lines 1, 3 and 5; the empty and blank ones take no line.
        {578, "谢谢惠顾"},
        {608, "电话：8888"},
        {638, "地址：中山路"},
        {668, "时间：2024/3/5 9:07:02"},
        {698, support},
        {998, blanks(14) + ".\r"},
    };
    QCOMPARE(positions(page), expected);
}

void TestReceiptLayout::memberSaleFonts()
{
    ReceiptInputs in = exampleInputs();
    in.title.clear();
    const ReceiptPage page =
        ReceiptLayout::lines(ReceiptKind::MemberSale, ReceiptPaper::Mm58, exampleSale(), in);
    // An empty title still takes its line; the second stars stay at 68.
    QCOMPARE(page.lines[1].y, 30);
    QCOMPARE(page.lines[1].text, QString());
    QCOMPARE(page.lines[2].y, 68);
    for (int i = 0; i < page.lines.size(); ++i) {
        const ReceiptLine &l = page.lines[i];
        QCOMPARE(l.fontFamily, i < 3 ? QStringLiteral("楷体") : QStringLiteral("Arial Narrow"));
        QCOMPARE(l.pointSize, i == 1 ? 12 : 9);
        QCOMPARE(l.bold, i == 1);
    }
}

void TestReceiptLayout::missingRowsLeaveOutPoints_data()
{
    QTest::addColumn<bool>("saleFound");
    QTest::addColumn<bool>("memberFound");
    QTest::addColumn<QStringList>("starts");
    QTest::addColumn<QList<int>>("ys");
    // One detail line: 找零 at 398; then points, total points (+60), the time line.
    QTest::newRow("both") << true << true << QStringList{"积分 ", "总积分 ", "时间："}
                          << QList<int>{428, 458, 518};
    QTest::newRow("no sale row") << false << true << QStringList{"总积分 ", "时间："}
                                 << QList<int>{428, 488};
    QTest::newRow("no member row")
        << true << false << QStringList{"积分 ", "时间："} << QList<int>{428, 458};
    QTest::newRow("neither") << false << false << QStringList{"时间："} << QList<int>{428};
}

void TestReceiptLayout::missingRowsLeaveOutPoints()
{
    QFETCH(bool, saleFound);
    QFETCH(bool, memberFound);
    QFETCH(QStringList, starts);
    QFETCH(QList<int>, ys);
    ReceiptSale sale = exampleSale();
    sale.details.removeLast();
    if (!saleFound)
        sale.jifenAll.reset();
    if (!memberFound)
        sale.userNum.reset();
    ReceiptInputs in = exampleInputs();
    in.footer = {};
    const ReceiptPage page =
        ReceiptLayout::lines(ReceiptKind::MemberSale, ReceiptPaper::Mm58, sale, in);
    // Stars, title, stars, four header lines, one detail (2), closing rule, four amounts.
    QVERIFY(page.lines[13].text.startsWith(QStringLiteral("找零 ")));
    QCOMPARE(page.lines[13].y, 398);
    // Then the lines under test, the support line and the end line.
    QCOMPARE(page.lines.size(), 14 + starts.size() + 2);
    for (int i = 0; i < starts.size(); ++i) {
        const ReceiptLine &l = page.lines[14 + i];
        QVERIFY2(l.text.startsWith(starts[i]), qPrintable(l.text));
        QCOMPARE(l.y, ys[i]);
    }
    QCOMPARE(page.lines.last().y, ys.last() + 330);
}

void TestReceiptLayout::thirdModelReceipt_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("pointsLead");
    QTest::addColumn<QString>("support");
    QTest::newRow("58 mm") << int(ReceiptPaper::Mm58) << ""
                           << ""
                           << "百纳会员管理软件提供技术支持";
    QTest::newRow("80 mm") << int(ReceiptPaper::Mm80) << blanks(10) << blanks(8)
                           << "技术支持:百纳会员管理软件 ";
}

void TestReceiptLayout::thirdModelReceipt()
{
    QFETCH(int, paper);
    QFETCH(QString, lead);
    QFETCH(QString, pointsLead);
    QFETCH(QString, support);
    ReceiptSale sale = exampleSale();
    sale.details.removeLast();
    const ReceiptPage page =
        ReceiptLayout::lines(ReceiptKind::ThirdModel, ReceiptPaper(paper), sale, exampleInputs());
    const Lines expected = {
        {0, lead + Stars},
        {68, lead + Stars},
        {98, lead + "流水号：200800000125"},
        {128, lead + "会员卡：8001        收银员：007"},
        {158, lead + SaleRule},
        {188, lead + Heading},
        {218, "宫保鸡丁"},
        {248, Value57},
        {278, lead + Closing},
        {308, lead + "总价格" + blanks(32) + "RMB 62.73"},
        {338, pointsLead + "积分" + blanks(49) + "12"},
        {368, pointsLead + "总积分" + blanks(40) + "132.5"},
        {428, lead + "时间：2024/3/5 9:07:02"},
        {458, lead + support},
        {758, blanks(14) + ".\r"},
    };
    QCOMPARE(positions(page), expected);
}

void TestReceiptLayout::loadsStoredSale()
{
    TestDatabase t;
    const qint64 member = t.db.insert(
        "INSERT INTO User_Info (User_Card, User_Name, User_Num) VALUES ('8001', '王', 132.5)");
    const qint64 sale = t.db.insert(
        "INSERT INTO S_Sale (UserID, PriceAll, JiFenAll, FCashAll, FCardAll) VALUES (?, 62.73, 12, "
        "62.73, 0)",
        {member});
    const qint64 other = t.db.insert("INSERT INTO S_Sale (UserID) VALUES (?)", {member});
    // Inserted out of id order: the receipt lists them by detail id.
    t.db.exec("INSERT INTO S_SaleDetail (SaleDetailID, SaleID, ProSortID, ProName, OrderOther, "
              "ProShuliang, ProSalePrice) VALUES (58, ?, 3, '青岛啤酒', '冰', 2, 4.5)",
              {sale});
    t.db.exec("INSERT INTO S_SaleDetail (SaleDetailID, SaleID, ProSortID, ProName, ProShuliang, "
              "ProSalePrice) VALUES (57, ?, 2, '宫保鸡丁', 3, 17.91)",
              {sale});
    t.db.exec("INSERT INTO S_SaleDetail (SaleID, ProName) VALUES (?, '别的单')", {other});

    const ReceiptSale r = ReceiptSale::load(t.db, sale);
    QCOMPARE(r.saleId, sale);
    QCOMPARE(r.details.size(), 2);
    QCOMPARE(r.details[0].saleDetailId, qint64(57));
    QCOMPARE(ReceiptLayout::valueLine(r.details[0]), Value57);
    QCOMPARE(ReceiptLayout::nameLine(r.details[1]), QStringLiteral("青岛啤酒  (冰)"));
    QCOMPARE(r.jifenAll, std::optional<double>(12));
    QCOMPARE(r.userNum, std::optional<double>(132.5));

    const ReceiptSale missing = ReceiptSale::load(t.db, 999);
    QVERIFY(missing.details.isEmpty());
    QVERIFY(!missing.jifenAll);
    QVERIFY(!missing.userNum);

    t.db.exec("DELETE FROM User_Info WHERE User_ID = ?", {member});
    const ReceiptSale noMember = ReceiptSale::load(t.db, sale);
    QVERIFY(noMember.jifenAll);
    QVERIFY(!noMember.userNum);
}

void TestReceiptLayout::copiesAndPaper_data()
{
    QTest::addColumn<int>("printYesOrNo");
    QTest::addColumn<int>("printCount");
    QTest::addColumn<int>("printBig");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("paper");
    QTest::newRow("three on 58") << 1 << 3 << 1 << 3 << int(ReceiptPaper::Mm58);
    QTest::newRow("80 only for 2") << 1 << 1 << 2 << 1 << int(ReceiptPaper::Mm80);
    QTest::newRow("3 is not 80") << 1 << 1 << 3 << 1 << int(ReceiptPaper::Mm58);
    QTest::newRow("printing off") << 0 << 2 << 2 << 0 << int(ReceiptPaper::Mm80);
    QTest::newRow("count zero") << 1 << 0 << 1 << 0 << int(ReceiptPaper::Mm58);
    QTest::newRow("count negative") << 1 << -2 << 1 << 0 << int(ReceiptPaper::Mm58);
}

void TestReceiptLayout::copiesAndPaper()
{
    QFETCH(int, printYesOrNo);
    QFETCH(int, printCount);
    QFETCH(int, printBig);
    QFETCH(int, copies);
    QFETCH(int, paper);
    TestDatabase t;
    t.db.exec("UPDATE DataSeting SET FPrintCount = ?", {printCount});
    t.session.settings.PrintYesOrNo = printYesOrNo;
    t.session.settings.PrintBig = printBig;
    QCOMPARE(ReceiptCopies(t.db, t.session.settings), copies);
    QCOMPARE(int(ReceiptPaperFor(t.session.settings)), paper);
}

void TestReceiptLayout::storedFigures()
{
    TestDatabase t;
    const qint64 member =
        t.db.insert("INSERT INTO User_Info (User_Card, User_Name) VALUES (' 8001 ', '王')");
    const qint64 sale = t.db.insert(
        "INSERT INTO S_Sale (UserID, PriceAll, FCashAll, FCardAll) VALUES (?, 59.7, 29.7, 30)",
        {member});
    const ReceiptFigures f = StoredReceiptFigures(t.db, sale);
    QCOMPARE(f.cardNo, QStringLiteral("8001"));
    QCOMPARE(f.total, QStringLiteral("59.70"));
    QCOMPARE(f.cash, QStringLiteral("29.70"));
    QCOMPARE(f.storedValue, QStringLiteral("30.00"));
    QCOMPARE(f.change, QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestReceiptLayout)
#include "tst_receiptlayout.moc"
