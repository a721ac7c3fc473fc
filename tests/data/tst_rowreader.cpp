// Reading a select forward-only into column storage: the values and binds
// must be those the program's Qt SQL statements give, pages must add up to
// the whole select, and the storage must stay compact.
#include "data/Database.h"
#include "data/RowReader.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <QSqlRecord>
#include <QtTest>

namespace
{

QuerySource Numbers(int rows)
{
    return {QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < ?) SELECT i AS 序号, 'row ' || i AS 名称, i / 4.0 AS 值 "
                           "FROM n"),
            {rows}};
}

// Every row of `source` through the program's own statement runner.
QList<QVariantList> ThroughQtSql(Database &db, const QuerySource &source)
{
    QList<QVariantList> out;
    QSqlQuery q = db.exec(source.sql, source.binds);
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << (q.value(i).isNull() ? QVariant() : q.value(i));
        out << row;
    }
    return out;
}

QList<QVariantList> Table(const RowColumns &rows)
{
    QList<QVariantList> out;
    for (int r = 0; r < rows.rowCount(); ++r) {
        QVariantList row;
        for (int c = 0; c < rows.columnCount(); ++c)
            row << rows.value(r, c);
        out << row;
    }
    return out;
}

} // namespace

class TestRowReader : public QObject
{
    Q_OBJECT
private slots:
    void valuesAreThoseOfQtSql_data();
    void valuesAreThoseOfQtSql();
    void pagesAddUpToTheWholeSelect();
    void badSelectsThrowAndReadNothing_data();
    void badSelectsThrowAndReadNothing();
    void aFailingRowKeepsTheRowsBefore();
    void aFinishedReaderLetsGoOfTheFile();
    void storageIsCompact();
};

void TestRowReader::valuesAreThoseOfQtSql_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("binds");
    QTest::addColumn<int>("rows");

    QTest::newRow("literals of every kind")
        << QStringLiteral("SELECT 1 AS a, -9007199254740993 AS b, 0.1 AS c, -2.5e300 AS d, "
                          "'会员 ''甲''' AS e, '' AS f, NULL AS g, x'00ff41' AS h")
        << QVariantList{} << 1;
    QTest::newRow("bound values of every kind")
        << QStringLiteral("SELECT ? AS a, ? AS b, ? AS c, ? AS d, ? AS e, ? AS f, "
                          "typeof(?) AS g, ? AS h")
        << QVariantList{qint64(1) << 40,
                        12.75,
                        QStringLiteral("张三%_\\'\""),
                        QVariant(),
                        true,
                        QByteArray("\0\1b", 3),
                        QVariant(QMetaType::fromType<QString>()),
                        QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2))}
        << 1;
    QTest::newRow("demo members, mixed kinds per column")
        << QStringLiteral("SELECT User_ID, User_Card, User_Name, User_Num, User_ChuZhi, "
                          "User_Date, CASE WHEN User_ID % 2 THEN User_Name ELSE User_ID END "
                          "FROM User_Info WHERE User_Name LIKE ? ORDER BY User_ID DESC")
        << QVariantList{QStringLiteral("%")} << -1;
}

void TestRowReader::valuesAreThoseOfQtSql()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, binds);
    QFETCH(int, rows);
    TestDatabase t(TestDatabase::Content::Demo);
    const QuerySource source{sql, binds};
    const QList<QVariantList> expected = ThroughQtSql(t.db, source);
    if (rows >= 0)
        QCOMPARE(expected.size(), rows);
    else
        QVERIFY(expected.size() > 5);

    ReadConnection connection(t.file(), false);
    RowReader reader(connection, source);
    RowColumns read;
    QCOMPARE(reader.read(read), expected.size());
    QVERIFY(reader.atEnd());
    const QList<QVariantList> got = Table(read);
    QCOMPARE(got.size(), expected.size());
    for (int r = 0; r < got.size(); ++r) {
        for (int c = 0; c < got[r].size(); ++c) {
            const QVariant &a = got[r][c];
            const QVariant &b = expected[r][c];
            QVERIFY2(a.isNull() == b.isNull() && a == b,
                     qPrintable(QStringLiteral("row %1 column %2: %3 against %4")
                                    .arg(r)
                                    .arg(c)
                                    .arg(a.toString(), b.toString())));
        }
    }
}

void TestRowReader::pagesAddUpToTheWholeSelect()
{
    TestDatabase t;
    ReadConnection connection(t.file(), false);
    const QuerySource source = Numbers(1000);

    RowReader whole(connection, source);
    RowColumns all;
    whole.read(all);

    RowReader paged(connection, source);
    QCOMPARE(paged.titles(), (QStringList{"序号", "名称", "值"}));
    QVERIFY(!paged.atEnd());
    RowColumns pages;
    int calls = 0;
    while (!paged.atEnd()) {
        const int before = pages.rowCount();
        const int n = paged.read(pages, 300);
        QCOMPARE(pages.rowCount(), before + n);
        QVERIFY(n <= 300);
        ++calls;
    }
    QCOMPARE(calls, 4); // 300 + 300 + 300 + 100
    QCOMPARE(pages.rowCount(), 1000);
    QCOMPARE(Table(pages), Table(all));
    QCOMPARE(pages.value(999, 1).toString(), QStringLiteral("row 1000"));
    QCOMPARE(pages.value(2, 2).toDouble(), 0.75);
    QVERIFY(!pages.value(1000, 0).isValid());
    QVERIFY(!pages.value(0, 3).isValid());
    QCOMPARE(paged.read(pages, 10), 0);

    // An empty select reads nothing and ends.
    RowReader none(connection, {QStringLiteral("SELECT 1 AS a WHERE 0"), {}});
    RowColumns empty;
    QCOMPARE(none.read(empty), 0);
    QVERIFY(none.atEnd());
    QCOMPARE(empty.titles(), QStringList{"a"});
}

void TestRowReader::badSelectsThrowAndReadNothing_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("binds");
    QTest::newRow("syntax") << QStringLiteral("SELEC 1") << QVariantList{};
    QTest::newRow("no table") << QStringLiteral("SELECT * FROM NoSuchTable") << QVariantList{};
    QTest::newRow("empty") << QStringLiteral("  ") << QVariantList{};
    QTest::newRow("too few values") << QStringLiteral("SELECT ?, ?") << QVariantList{1};
    QTest::newRow("too many values") << QStringLiteral("SELECT 1") << QVariantList{1};
    QTest::newRow("a write on a reading connection")
        << QStringLiteral("DELETE FROM User_Info") << QVariantList{};
}

void TestRowReader::badSelectsThrowAndReadNothing()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, binds);
    TestDatabase t(TestDatabase::Content::Demo);
    const QVariant members = t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info"));
    ReadConnection connection(t.file(), false);
    bool thrown = false;
    try {
        RowReader reader(connection, {sql, binds});
        RowColumns rows;
        reader.read(rows);
    } catch (const DbError &e) {
        thrown = true;
        QVERIFY(!e.text().isEmpty());
    }
    QVERIFY(thrown);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info")), members);
}

void TestRowReader::aFailingRowKeepsTheRowsBefore()
{
    TestDatabase t;
    ReadConnection connection(t.file(), false);
    // json() of a broken text fails while the select runs, at row 5.
    RowReader reader(connection,
                     {QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < 9) SELECT i, CASE WHEN i < 5 THEN i "
                                     "ELSE json('{') END FROM n"),
                      {}});
    RowColumns rows;
    QCOMPARE(reader.read(rows, 3), 3);
    QVERIFY_THROWS_EXCEPTION(DbError, reader.read(rows));
    QVERIFY(reader.atEnd());
    QCOMPARE(rows.rowCount(), 4);
    QCOMPARE(rows.value(3, 1).toInt(), 4);
}

void TestRowReader::aFinishedReaderLetsGoOfTheFile()
{
    TestDatabase t(TestDatabase::Content::Demo);
    ReadConnection connection(t.file(), false);
    const QuerySource count{QStringLiteral("SELECT COUNT(*) FROM User_Info"), {}};
    RowReader first(connection, count);
    RowColumns rows;
    first.read(rows);
    QVERIFY(first.atEnd());
    const qint64 before = rows.value(0, 0).toLongLong();

    // A member added after the first select finished is seen by the next one
    // on the same connection, though the first reader still exists.
    t.db.exec(QStringLiteral("INSERT INTO User_Info (User_Card, User_Name) VALUES ('x1', 'x')"));
    RowReader second(connection, count);
    RowColumns again;
    second.read(again);
    QCOMPARE(again.value(0, 0).toLongLong(), before + 1);
}

void TestRowReader::storageIsCompact()
{
    TestDatabase t;
    ReadConnection connection(t.file(), false);
    const int total = 100000;
    RowReader reader(connection, Numbers(total));
    RowColumns rows;
    reader.read(rows);
    QCOMPARE(rows.rowCount(), total);
    // Three cells a row: an integer, a text of about 10 bytes and a double.
    // A QVariant per cell alone would take 32 bytes, its text more.
    const double perRow = double(rows.memoryBytes()) / total;
    QVERIFY2(perRow < 3 * 9 + 12 + 8, qPrintable(QString::number(perRow)));
    rows.clear();
    QCOMPARE(rows.memoryBytes(), 0);
    QCOMPARE(rows.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestRowReader)
#include "tst_rowreader.moc"
