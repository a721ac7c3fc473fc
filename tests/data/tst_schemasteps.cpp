// A database made by an earlier program is brought to the current schema on
// first open, in one transaction; a newer one is refused untouched.
#include "data/Database.h"
#include "data/DatabaseInitializer.h"
#include "data/SchemaSteps.h"
#include "data/TextSearch.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QDateTime Now(QDate(2024, 3, 5), QTime(9, 7, 2));

// A demo database as version `version` of the program made it.
QString MakeFile(const QTemporaryDir &dir, int version)
{
    const QString path = QDir(dir.path()).filePath(QStringLiteral("BNA_Member.dll"));
    Database db(QStringLiteral("maker"));
    db.openForCreate(path);
    SchemaSteps::CreateVersion(db, version);
    DatabaseInitializer::addDemoData(db, Now);
    db.close();
    return path;
}

// Names of the schema's objects with their SQL, and the members: what a
// refused or failed upgrade must leave exactly as it was.
QString Picture(Database &db)
{
    QString out = QStringLiteral("version %1\n").arg(SchemaSteps::Version(db));
    for (const QString &sql : {QStringLiteral("SELECT type, name, sql FROM sqlite_schema "
                                              "ORDER BY name"),
                               QStringLiteral("SELECT * FROM User_Info ORDER BY User_ID")}) {
        QSqlQuery q = db.exec(sql);
        while (q.next()) {
            for (int i = 0; i < 3; ++i)
                out += q.value(i).toString() + QLatin1Char('|');
            out += QLatin1Char('\n');
        }
    }
    return out;
}

bool HasObject(Database &db, const QString &name)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_schema WHERE name = ?"), {name})
               .toInt() == 1;
}

} // namespace

class TestSchemaSteps : public QObject
{
    Q_OBJECT
private slots:
    void olderFileIsUpgradedOnOpen();
    void aFailingStepLeavesTheFileAsItWas();
    void newerFileIsRefusedUntouched();
    void currentFileIsNotWritten();
};

void TestSchemaSteps::olderFileIsUpgradedOnOpen()
{
    QTemporaryDir dir;
    const QString path = MakeFile(dir, 1);
    Database db(QStringLiteral("till"));
    db.open(path);
    QCOMPARE(SchemaSteps::Version(db), SchemaSteps::Latest);
    QVERIFY(HasObject(db, QStringLiteral("idx_user_moneyall")));
    QVERIFY(HasObject(db, QStringLiteral("User_Search")));
    // Step 3: the statistics' indexes.
    for (const char *index :
         {"idx_sale_stats", "idx_detail_stats", "idx_addmoney_stats", "idx_user_chuzhi"})
        QVERIFY2(HasObject(db, QLatin1String(index)), index);
    // The members made before the step are in the search index.
    const int members = db.scalar(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt();
    QVERIFY(members > 2);
    const QString newest =
        db.scalar(QStringLiteral("SELECT User_Name FROM User_Info ORDER BY User_ID DESC"))
            .toString();
    const QuerySource s =
        MembersContaining(QStringLiteral("SELECT User_Info.User_Name"), SearchedText::Name,
                          newest.right(2), SearchOrder::NewestFirst);
    QCOMPARE(db.scalar(s.sql, s.binds).toString(), newest);
    const QuerySource all = MembersContaining(QStringLiteral("SELECT COUNT(*)"), SearchedText::Card,
                                              QStringLiteral("0"), SearchOrder::NewestFirst);
    QCOMPARE(db.scalar(all.sql, all.binds).toInt(),
             db.scalar(QStringLiteral("SELECT COUNT(*) FROM User_Info WHERE User_Card LIKE '%0%'"))
                 .toInt());
    db.close();

    // Opening again runs nothing twice.
    Database again(QStringLiteral("again"));
    again.open(path);
    QCOMPARE(SchemaSteps::Version(again), SchemaSteps::Latest);
}

void TestSchemaSteps::aFailingStepLeavesTheFileAsItWas()
{
    QTemporaryDir dir;
    const QString path = MakeFile(dir, 1);
    QString before;
    {
        Database db(QStringLiteral("prepare"));
        db.openForCreate(path);
        // A table of the step's name already there: the step fails half-way,
        // after its first indexes.
        db.exec(QStringLiteral("CREATE TABLE Search_Pos (x)"));
        before = Picture(db);
        db.close();
    }
    Database db(QStringLiteral("till"));
    QVERIFY_THROWS_EXCEPTION(DbError, db.open(path));
    QVERIFY(!db.isOpen());
    Database look(QStringLiteral("look"));
    look.openForCreate(path);
    QCOMPARE(Picture(look), before);
    QVERIFY(!HasObject(look, QStringLiteral("idx_user_moneyall")));
}

void TestSchemaSteps::newerFileIsRefusedUntouched()
{
    QTemporaryDir dir;
    const QString path = MakeFile(dir, SchemaSteps::Latest);
    QString before;
    {
        Database db(QStringLiteral("prepare"));
        db.openForCreate(path);
        db.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaSteps::Latest + 1));
        before = Picture(db);
        db.close();
    }
    Database db(QStringLiteral("till"));
    try {
        db.open(path);
        QFAIL("a newer database was opened");
    } catch (const DbError &e) {
        QVERIFY2(e.text().contains(QStringLiteral("比本程序新")), qPrintable(e.text()));
    }
    QVERIFY(!db.isOpen());
    Database look(QStringLiteral("look"));
    look.openForCreate(path);
    QCOMPARE(Picture(look), before);
}

void TestSchemaSteps::currentFileIsNotWritten()
{
    QTemporaryDir dir;
    const QString path = MakeFile(dir, SchemaSteps::Latest);
    Database db(QStringLiteral("till"));
    db.open(path);
    // Nothing was written by opening: the write-ahead log stays empty.
    QCOMPARE(SchemaSteps::Version(db), SchemaSteps::Latest);
    QCOMPARE(QFileInfo(path + QStringLiteral("-wal")).size(), 0);
    db.exec(QStringLiteral("UPDATE User_Info SET User_Num = User_Num + 1"));
    QVERIFY(QFileInfo(path + QStringLiteral("-wal")).size() > 0); // the check can see a write
}

QTEST_GUILESS_MAIN(TestSchemaSteps)
#include "tst_schemasteps.moc"
