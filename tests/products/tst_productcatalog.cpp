#include "data/TextRules.h"
#include "products/ProductCatalog.h"
#include "products/ProductQueries.h"
#include "support/TestDatabase.h"

#include <QtTest>

namespace
{

ProductFields product(const QString &code)
{
    ProductFields f;
    f.card = code;
    f.name = QStringLiteral("酸梅汤");
    f.pinYing = QStringLiteral("SMT");
    f.shouJia = QStringLiteral("12");
    return f;
}

} // namespace

class TestProductCatalog : public QObject
{
    Q_OBJECT
private slots:
    void prices_data();
    void prices();
    void codesComparedExactlyAfterCleaning_data();
    void codesComparedExactlyAfterCleaning();
    void modifyOfAVanishedProductWritesNothing();
    void likeEscaped_data();
    void likeEscaped();
};

void TestProductCatalog::prices_data()
{
    QTest::addColumn<QString>("jinJia");
    QTest::addColumn<QString>("shouJia");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QVariant>("storedJinJia");
    QTest::addColumn<double>("storedShouJia");
    QTest::newRow("leading zeros") << "007.50"
                                   << "0012.50"
                                   << "" << QVariant(7.5) << 12.5;
    QTest::newRow("trailing point") << ""
                                    << "12."
                                    << "" << QVariant() << 12.0;
    QTest::newRow("leading point") << " .5 "
                                   << "3"
                                   << "" << QVariant(0.5) << 3.0;
    QTest::newRow("lone point") << ""
                                << "."
                                << "零售价必须是数字，请重新输入！" << QVariant() << 0.0;
    QTest::newRow("exponent") << "1e3"
                              << "3"
                              << "进货价必须是数字，请重新输入！" << QVariant() << 0.0;
    QTest::newRow("negative") << ""
                              << "-3"
                              << "零售价必须是数字，请重新输入！" << QVariant() << 0.0;
    QTest::newRow("full-width digits") << ""
                                       << "１２"
                                       << "零售价必须是数字，请重新输入！" << QVariant() << 0.0;
    QTest::newRow("largest amount") << "99999999999.9999"
                                    << "100000000000"
                                    << "" << QVariant(99999999999.9999) << 1e11;
    QTest::newRow("beyond the largest amount")
        << ""
        << "100000000000000000000"
        << "零售价超出范围：金额最大为100000000000，最多4位小数，请重新输入！" << QVariant() << 0.0;
    QTest::newRow("five decimals")
        << "1.00001"
        << "3"
        << "进货价超出范围：金额最大为100000000000，最多4位小数，请重新输入！" << QVariant() << 0.0;
}

void TestProductCatalog::prices()
{
    QFETCH(QString, jinJia);
    QFETCH(QString, shouJia);
    QFETCH(QString, refusal);
    QFETCH(QVariant, storedJinJia);
    QFETCH(double, storedShouJia);
    TestDatabase t;
    ProductCatalog catalog(t.db);
    ProductFields f = product("P1");
    f.jinJia = jinJia;
    f.shouJia = shouJia;
    qint64 id = 0;
    const Check result = catalog.add(f, &id);
    QCOMPARE(result ? result->message : QString(), refusal);
    if (result) {
        QCOMPARE(t.value("SELECT count(*) FROM Pro2").toInt(), 0);
        return;
    }
    QSqlQuery q = t.db.exec("SELECT Pro2JinJia, Pro2ShouJia FROM Pro2 WHERE Pro2ID = ?", {id});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).isNull(), !storedJinJia.isValid());
    if (storedJinJia.isValid())
        QCOMPARE(q.value(0).toDouble(), storedJinJia.toDouble());
    QCOMPARE(q.value(1).toDouble(), storedShouJia);
    // Read back the way the window shows it.
    const std::optional<ProductFields> loaded = catalog.load(id);
    QVERIFY(loaded);
    QCOMPARE(loaded->jinJia.isEmpty(), !storedJinJia.isValid());
}

void TestProductCatalog::codesComparedExactlyAfterCleaning_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same") << "ABC"
                          << "ABC" << false;
    QTest::newRow("blanks around") << "ABC"
                                   << "  ABC " << false;
    QTest::newRow("other case") << "ABC"
                                << "abc" << true;
    QTest::newRow("quote typed, stored full-width") << "A’B"
                                                    << "A'B" << false;
    QTest::newRow("longer") << "ABC"
                            << "ABCD" << true;
}

void TestProductCatalog::codesComparedExactlyAfterCleaning()
{
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    TestDatabase t;
    ProductCatalog catalog(t.db);
    QVERIFY(!catalog.add(product(existing)));
    const Check added = catalog.add(product(typed));
    QCOMPARE(!added, accepted);
    if (added) {
        QCOMPARE(added->message, QStringLiteral("此产品编码已经存在，不能重复，请换一个试试！"));
        QCOMPARE(added->focus, QStringLiteral("Edit2"));
    }
    QCOMPARE(t.value("SELECT count(*) FROM Pro2").toInt(), accepted ? 2 : 1);

    // The same rule when another product is changed to the code.
    TestDatabase u;
    ProductCatalog other(u.db);
    QVERIFY(!other.add(product(existing)));
    qint64 id = 0;
    QVERIFY(!other.add(product("OTHER"), &id));
    const Check modified = other.modify(id, product(typed));
    QCOMPARE(!modified, accepted);
    if (modified)
        QCOMPARE(modified->message, QStringLiteral("这个编码已经存在，不能为重复，请换一个！"));
    QCOMPARE(u.value("SELECT Pro2Card FROM Pro2 WHERE Pro2ID = ?", {id}).toString(),
             accepted ? CleanText(typed) : QStringLiteral("OTHER"));
}

void TestProductCatalog::modifyOfAVanishedProductWritesNothing()
{
    TestDatabase t;
    ProductCatalog catalog(t.db);
    qint64 id = 0;
    QVERIFY(!catalog.add(product("P1"), &id));
    t.db.exec("DELETE FROM Pro2 WHERE Pro2ID = ?", {id});
    const Check result = catalog.modify(id, product("P2"));
    QVERIFY(result);
    QCOMPARE(t.value("SELECT count(*) FROM Pro2").toInt(), 0);
    QVERIFY(!catalog.load(id));
}

void TestProductCatalog::likeEscaped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "可乐"
                           << "可乐";
    QTest::newRow("percent") << "50%"
                             << "50\\%";
    QTest::newRow("underscore") << "a_b"
                                << "a\\_b";
    QTest::newRow("backslash") << "a\\b"
                               << "a\\\\b";
}

void TestProductCatalog::likeEscaped()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(LikeEscaped(text), expected);
    // SQLite agrees: the pattern matches the text itself and nothing wider.
    TestDatabase t;
    QCOMPARE(t.value("SELECT ? LIKE ? ESCAPE '\\'", {text, LikeEscaped(text)}).toInt(), 1);
    QCOMPARE(t.value("SELECT ? LIKE ? ESCAPE '\\'", {text + "x", LikeEscaped(text)}).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestProductCatalog)
#include "tst_productcatalog.moc"
