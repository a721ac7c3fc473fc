#include "data/PaymentSplit.h"

#include <QtTest>

// The arithmetic behind every payment entry.
class TestPaymentSplit : public QObject
{
    Q_OBJECT
private slots:
    void split_data();
    void split();
};

void TestPaymentSplit::split_data()
{
    QTest::addColumn<QString>("due");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("covered");
    QTest::addColumn<bool>("cardUsable");
    QTest::addColumn<bool>("withinLimits");
    QTest::newRow("cash with change") << "59.70"
                                      << "0"
                                      << "100"
                                      << "0"
                                      << "40.30" << true << false << true;
    QTest::newRow("exact split") << "59.70"
                                 << "30"
                                 << "29.7"
                                 << "30"
                                 << "0.00" << true << true << true;
    QTest::newRow("a cent short") << "59.70"
                                  << "500"
                                  << "29.69"
                                  << "30"
                                  << "-0.01" << false << true << true;
    QTest::newRow("card above balance") << "59.70"
                                        << "30"
                                        << "0"
                                        << "40"
                                        << "-19.70" << false << true << false;
    QTest::newRow("card above due") << "59.70"
                                    << "500"
                                    << "0"
                                    << "70"
                                    << "10.30" << true << true << false;
    QTest::newRow("nothing due") << "0"
                                 << "0"
                                 << "0"
                                 << "0"
                                 << "0.00" << true << false << true;
}

void TestPaymentSplit::split()
{
    QFETCH(QString, due);
    QFETCH(QString, balance);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(QString, change);
    QFETCH(bool, covered);
    QFETCH(bool, cardUsable);
    QFETCH(bool, withinLimits);
    const PaymentSplit s{*Money::parse(due), *Money::parse(balance), *Money::parse(cash),
                         *Money::parse(card)};
    QCOMPARE(s.received(), *Money::parse(cash) + *Money::parse(card));
    QCOMPARE(s.change().toString(), change);
    QCOMPARE(s.covered(), covered);
    QCOMPARE(s.cardUsable(), cardUsable);
    QCOMPARE(s.cardWithinLimits(), withinLimits);
}

QTEST_APPLESS_MAIN(TestPaymentSplit)
#include "tst_paymentsplit.moc"
