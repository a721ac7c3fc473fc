#include "data/Database.h"
#include "support/TestDatabase.h"

#include <QtTest>

// Two tills on one file: the write lock is taken when an operation begins,
// and a till that waits too long is told so in Chinese with nothing written.
class TestTransaction : public QObject
{
    Q_OBJECT
private slots:
    void writeLockTakenAtBegin();
    void busyTillWritesNothing_data();
    void busyTillWritesNothing();
    void unfinishedInnerStepFailsTheOperation();
};

namespace
{

int Stores(TestDatabase &t, const QString &name)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM SL_Store WHERE StoreName = ?"), {name})
        .toInt();
}

} // namespace

void TestTransaction::writeLockTakenAtBegin()
{
    TestDatabase t;
    Database other(QStringLiteral("other-till"));
    other.open(t.file());
    other.setBusyTimeout(100);

    // An operation that reads first and writes later holds the lock from its
    // start: the other till cannot commit in between and make it fail.
    {
        Transaction tx(t.db);
        t.value(QStringLiteral("SELECT COUNT(*) FROM SL_Store"));
        try {
            other.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('乙')"));
            QFAIL("the other till wrote inside a running operation");
        } catch (const DbError &e) {
            QCOMPARE(e.text(), DbError::BusyMessage());
        }
        t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('甲')"));
        tx.commit();
    }
    QCOMPARE(Stores(t, QStringLiteral("甲")), 1);
    QCOMPARE(Stores(t, QStringLiteral("乙")), 0);
    // Once it is over the other till writes as usual.
    other.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('乙')"));
    QCOMPARE(Stores(t, QStringLiteral("乙")), 1);
}

void TestTransaction::busyTillWritesNothing_data()
{
    QTest::addColumn<bool>("inTransaction");
    QTest::newRow("operation") << true;
    QTest::newRow("single statement") << false;
}

void TestTransaction::busyTillWritesNothing()
{
    QFETCH(bool, inTransaction);
    TestDatabase t;
    Database other(QStringLiteral("other-till"));
    other.open(t.file());
    t.db.setBusyTimeout(100);

    {
        Transaction holding(other);
        other.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('乙')"));
        try {
            if (inTransaction) {
                Transaction tx(t.db);
                t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('甲')"));
                tx.commit();
            } else {
                t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('甲')"));
            }
            QFAIL("a write went through while the other till held the lock");
        } catch (const DbError &e) {
            QCOMPARE(e.text(), QStringLiteral("数据库正忙（其他收银台正在写入），请稍后再试。"));
        }
        holding.commit();
    }
    QCOMPARE(Stores(t, QStringLiteral("甲")), 0);
    QCOMPARE(Stores(t, QStringLiteral("乙")), 1);
    // Nothing of the refused operation is left open: the next one runs.
    Transaction tx(t.db);
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('甲')"));
    tx.commit();
    QCOMPARE(Stores(t, QStringLiteral("甲")), 1);
}

void TestTransaction::unfinishedInnerStepFailsTheOperation()
{
    TestDatabase t;
    bool thrown = false;
    {
        Transaction outer(t.db);
        t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('甲')"));
        {
            // A step that writes and then returns early, as a refusal does.
            Transaction inner(t.db);
            t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('乙')"));
        }
        try {
            outer.commit();
        } catch (const DbError &e) {
            thrown = true;
            QVERIFY(e.text().contains(QStringLiteral("整个操作已撤销")));
        }
    }
    QVERIFY(thrown);
    QCOMPARE(Stores(t, QStringLiteral("甲")), 0);
    QCOMPARE(Stores(t, QStringLiteral("乙")), 0);
    // The next operation starts clean.
    Transaction tx(t.db);
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('丙')"));
    tx.commit();
    QCOMPARE(Stores(t, QStringLiteral("丙")), 1);
}

QTEST_GUILESS_MAIN(TestTransaction)
#include "tst_transaction.moc"
