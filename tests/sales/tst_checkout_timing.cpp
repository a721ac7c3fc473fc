#include "data/Database.h"
#include "data/DatabaseInitializer.h"
#include "data/TextRules.h"
#include "sales/Checkout.h"
#include "sales/OpenBill.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

// A 20-line checkout on the large shop (100,000 members, 1,000,000 sale
// lines) stays well inside what an operator notices.
class TestCheckoutTiming : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void twentyLineCheckout();
    void cleanupTestCase();

private:
    QTemporaryDir m_dir;
    Database m_db{QStringLiteral("timing")};
    const QDateTime m_now{QDate(2024, 3, 5), QTime(9, 7, 2)};
};

void TestCheckoutTiming::initTestCase()
{
    const QString file = m_dir.filePath(QStringLiteral("BNA_Member.dll"));
    DatabaseInitializer::createFile(file, true, true, m_now);
    m_db.open(file);
}

void TestCheckoutTiming::cleanupTestCase()
{
    m_db.close();
}

void TestCheckoutTiming::twentyLineCheckout()
{
    QList<qint64> times;
    const qint64 salesBefore =
        m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM S_Sale")).toLongLong();
    for (int round = 0; round < 5; ++round) {
        const QString card =
            QStringLiteral("8%1").arg(40499 + round * 1000, 7, 10, QLatin1Char('0'));
        const int userId =
            m_db.scalar(QStringLiteral("SELECT User_ID FROM User_Info WHERE User_Card = ?"), {card})
                .toInt();
        QVERIFY(userId > 0);
        for (int i = 0; i < 20; ++i) {
            const SaleLineInput in{QStringLiteral("饮品"),
                                   QStringLiteral("酒水"),
                                   QStringLiteral("王强"),
                                   QStringLiteral("总店"),
                                   QStringLiteral("商品%1").arg(i + 1),
                                   QStringLiteral("19.9"),
                                   QStringLiteral("17.91"),
                                   QStringLiteral("1"),
                                   QString::number(1 + i % 3),
                                   QString()};
            OpenBill::AddLine(m_db, userId, 1, in, SaleLine::Figures(in));
        }
        const OpenBill::Totals totals = OpenBill::TotalsOf(m_db, userId);
        QCOMPARE(totals.lines, 20);
        CheckoutRequest request;
        request.memberId = userId;
        request.shopName = QStringLiteral("总店");
        request.bill = totals;
        request.cash = *Money::parse(TotalText(totals.amount));
        request.adminId = 1;
        request.now = m_now;

        QElapsedTimer timer;
        timer.start();
        const CheckoutResult r = Checkout(m_db).Run(request);
        const qint64 elapsed = timer.nsecsElapsed();
        QVERIFY(!r.refusal);
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM S_SaleDetail WHERE SaleID = ?"),
                             {r.saleId})
                     .toInt(),
                 20);
        times << elapsed;
    }
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM S_Sale")).toLongLong(),
             salesBefore + 5);
    std::sort(times.begin(), times.end());
    qInfo("20-line checkout on the large database: median %.2f ms, slowest %.2f ms",
          times.at(2) / 1e6, times.last() / 1e6);
    QVERIFY2(times.last() < 100 * 1000 * 1000, "a 20-line checkout took 100 ms or more");
}

QTEST_GUILESS_MAIN(TestCheckoutTiming)
#include "tst_checkout_timing.moc"
