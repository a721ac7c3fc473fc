#include "data/Database.h"
#include "data/TextRules.h"
#include "sales/Checkout.h"
#include "sales/OpenBill.h"
#include "support/TestDatabase.h"

#include <QProcess>
#include <QtTest>

// Two copies of the program selling on one database file at once, each as
// a process of its own (this executable started with --till).

namespace
{

constexpr int SalesPerTill = 25;

int MemberId(Database &db, const QString &card)
{
    return db.scalar(QStringLiteral("SELECT User_ID FROM User_Info WHERE User_Card = ?"), {card})
        .toInt();
}

// One till: adds a line for the member and pays the bill it shows, again
// and again. A bill changed by the other till is shown afresh and paid
// again, as the operator would. Exit code 0: every line added was paid.
int RunTill(const QString &file, const QString &card, const QString &name)
{
    Database db(QStringLiteral("till"));
    db.open(file);
    const int member = MemberId(db, card);
    for (int i = 0; i < SalesPerTill; ++i) {
        try {
            const QString price = QString::number(1 + i % 7);
            const SaleLineInput in{QStringLiteral("招牌菜"),
                                   QStringLiteral("热菜"),
                                   QStringLiteral("张丽"),
                                   QStringLiteral("二分店"),
                                   name,
                                   price,
                                   price,
                                   QStringLiteral("1"),
                                   QStringLiteral("1"),
                                   QString()};
            OpenBill::AddLine(db, member, 1, in, SaleLine::Figures(in));
            for (int attempt = 0; attempt < 50; ++attempt) {
                const OpenBill::Totals totals = OpenBill::TotalsOf(db, member);
                if (totals.lines == 0)
                    break; // the other till paid this line with its own bill
                CheckoutRequest request;
                request.memberId = member;
                request.shopName = QStringLiteral("二分店");
                request.bill = totals;
                request.cash = *Money::parse(TotalText(totals.amount));
                request.adminId = 1;
                request.now = QDateTime::currentDateTime();
                const CheckoutResult r = Checkout(db).Run(request);
                if (!r.refusal)
                    break;
                if (!r.billChanged) {
                    qWarning("refused: %s", qPrintable(r.refusal->message));
                    return 2;
                }
            }
        } catch (const DbError &e) {
            qWarning("database error: %s", qPrintable(e.text()));
            return 3;
        }
    }
    return 0;
}

} // namespace

class TestTills : public QObject
{
    Q_OBJECT
private slots:
    void twoTillsSellAtOnce_data();
    void twoTillsSellAtOnce();
};

void TestTills::twoTillsSellAtOnce_data()
{
    QTest::addColumn<QString>("secondCard");
    QTest::newRow("two members") << "1002";
    QTest::newRow("one member at both tills") << "1001";
}

void TestTills::twoTillsSellAtOnce()
{
    QFETCH(QString, secondCard);
    TestDatabase t(TestDatabase::Content::Demo);
    const int salesBefore = t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale")).toInt();
    const int detailsBefore = t.value(QStringLiteral("SELECT COUNT(*) FROM S_SaleDetail")).toInt();

    QProcess a, b;
    for (QProcess *p : {&a, &b})
        p->setProcessChannelMode(QProcess::ForwardedChannels);
    a.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--till"), t.file(), QStringLiteral("1001"), QStringLiteral("甲台")});
    b.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--till"), t.file(), secondCard, QStringLiteral("乙台")});
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    // Every line of both tills was paid exactly once, and each sale holds
    // exactly the lines it charged for.
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_SaleDetail")).toInt() - detailsBefore,
             2 * SalesPerTill);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Order")).toInt(), 0);
    // Every sale's total is the sum of its lines; the demo's return copy
    // (price and quantity both negative) takes its amount off.
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale s WHERE ABS(s.PriceAll - "
                                    "(SELECT TOTAL(CASE WHEN d.ProShuliang < 0 THEN -1 ELSE 1 "
                                    "END * d.ProSalePrice * d.ProShuliang) FROM "
                                    "S_SaleDetail d WHERE d.SaleID = s.SaleID)) > 0.001"))
                 .toInt(),
             0);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale")).toInt() > salesBefore);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--till") == 0)
        return RunTill(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                       QString::fromLocal8Bit(argv[4]));
    TestTills test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tills.moc"
