#include "data/Money.h"
#include "data/TextRules.h"

#include <QtTest>

class TestTextRules : public QObject
{
    Q_OBJECT
private slots:
    void replaceQuote_data();
    void replaceQuote();
    void numberTests_data();
    void numberTests();
    void totals_data();
    void totals();
    void moneyParse_data();
    void moneyParse();
};

void TestTextRules::replaceQuote_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << "王建国"
                          << "王建国";
    QTest::newRow("one") << "O'Neil"
                         << "O’Neil";
    QTest::newRow("every") << "'a''b'"
                           << "’a’’b’";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextRules::replaceQuote()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceQuote(text), expected);
}

void TestTextRules::numberTests_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<bool>("digits");
    QTest::newRow("decimal") << "12.50" << true << false;
    QTest::newRow("negative") << "-3" << false << false;
    QTest::newRow("empty") << "" << true << true;
    QTest::newRow("digits") << "0123" << true << true;
    QTest::newRow("two points") << "1.2.3" << true << false;
    QTest::newRow("blank inside") << "1 2" << false << false;
    QTest::newRow("full-width digit") << "１２" << false << false;
    QTest::newRow("letters") << "12a" << false << false;
}

void TestTextRules::numberTests()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(bool, digits);
    QCOMPARE(IsNumberText(text), number);
    QCOMPARE(IsDigitsText(text), digits);
}

void TestTextRules::totals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("number");
    QTest::newRow("zero") << 0.0 << "0.00"
                          << "0";
    QTest::newRow("half cent") << 2.675 << "2.68"
                               << "2.675";
    QTest::newRow("sum of tenths") << (0.1 + 0.2) << "0.30"
                                   << "0.3";
    QTest::newRow("negative") << -12.5 << "-12.50"
                              << "-12.5";
    QTest::newRow("whole") << 300.0 << "300.00"
                           << "300";
    QTest::newRow("seven digits") << 12345.67 << "12345.67"
                                  << "12345.67";
    QTest::newRow("nine digits") << 1234567.89 << "1234567.89"
                                 << "1234567.89";
    QTest::newRow("fifteen digits") << 123456789012.3456 << "123456789012.35"
                                    << "123456789012.346";
    QTest::newRow("small") << 0.00001 << "0.00"
                           << "0.00001";
    QTest::newRow("huge") << 1e20 << "100000000000000000000.00"
                          << "100000000000000000000";
}

void TestTextRules::totals()
{
    QFETCH(double, value);
    QFETCH(QString, total);
    QFETCH(QString, number);
    QCOMPARE(TotalText(value), total);
    QCOMPARE(NumberText(value), number);
}

void TestTextRules::moneyParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("outOfRange");
    QTest::newRow("plain") << "12.5" << true << qint64(125000) << "12.50" << false;
    QTest::newRow("blanks") << " 100 " << true << qint64(1000000) << "100.00" << false;
    QTest::newRow("leading point") << ".05" << true << qint64(500) << "0.05" << false;
    QTest::newRow("negative") << "-3.1" << true << qint64(-31000) << "-3.10" << false;
    QTest::newRow("cent rounding") << "0.005" << true << qint64(50) << "0.01" << false;
    QTest::newRow("trailing zero decimals")
        << "1.500000" << true << qint64(15000) << "1.50" << false;
    QTest::newRow("leading zeros")
        << "000000000000012" << true << qint64(120000) << "12.00" << false;
    QTest::newRow("largest") << "100000000000" << true << qint64(1000000000000000)
                             << "100000000000.00" << false;
    QTest::newRow("empty") << "" << false << qint64(0) << "" << false;
    QTest::newRow("point only") << "." << false << qint64(0) << "" << false;
    QTest::newRow("two points") << "1.2.3" << false << qint64(0) << "" << false;
    QTest::newRow("letters") << "12元" << false << qint64(0) << "" << false;
    QTest::newRow("exponent") << "1e20" << false << qint64(0) << "" << false;
    QTest::newRow("fifth decimal") << "0.00005" << false << qint64(0) << "" << true;
    QTest::newRow("above the largest") << "100000000000.01" << false << qint64(0) << "" << true;
    QTest::newRow("too large") << "99999999999999" << false << qint64(0) << "" << true;
    QTest::newRow("huge") << "100000000000000000000" << false << qint64(0) << "" << true;
}

void TestTextRules::moneyParse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, units);
    QFETCH(QString, shown);
    QFETCH(bool, outOfRange);
    const std::optional<Money> m = Money::parse(text);
    QCOMPARE(m.has_value(), valid);
    if (valid) {
        QCOMPARE(m->units(), units);
        QCOMPARE(m->toString(), shown);
    }
    QCOMPARE(Money::outOfRange(text), outOfRange);
}

QTEST_APPLESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
