// Backups of the open database: the copy is complete and consistent, and a
// failed backup never destroys an earlier one.

#include "backup/DatabaseBackup.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace
{

// Rows of a few tables in a backup opened on its own.
QList<qint64> countsIn(const QString &file)
{
    static int n = 0;
    Database copy(QStringLiteral("backupcheck%1").arg(n++));
    copy.open(file);
    QList<qint64> counts;
    for (const char *table : {"admin", "SL_Store", "User_Info", "DataSeting"})
        counts << copy.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toLongLong();
    counts << (copy.scalar("PRAGMA integrity_check").toString() == "ok" ? 1 : 0);
    return counts;
}

QList<qint64> countsIn(Database &db)
{
    QList<qint64> counts;
    for (const char *table : {"admin", "SL_Store", "User_Info", "DataSeting"})
        counts << db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toLongLong();
    counts << 1;
    return counts;
}

} // namespace

class TestDatabaseBackup : public QObject
{
    Q_OBJECT
private slots:
    void defaultFileName_data();
    void defaultFileName();
    void validate_data();
    void validate();
    void copyOfOpenDatabase_data();
    void copyOfOpenDatabase();
    void failedBackupKeepsEarlierOne();
    void neverOverwritesTheOpenDatabase();
};

void TestDatabaseBackup::defaultFileName_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("name");
    QTest::newRow("5 March 2024 09:07:02")
        << QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2)) << "202435090702";
    QTest::newRow("two-digit month and day")
        << QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)) << "20231231235959";
    QTest::newRow("midnight") << QDateTime(QDate(2024, 1, 9), QTime(0, 0, 0)) << "202419000000";
}

void TestDatabaseBackup::defaultFileName()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, name);
    QCOMPARE(DatabaseBackup::DefaultFileName(now), name);
}

void TestDatabaseBackup::validate_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("fine") << "/tmp"
                          << "202435090702"
                          << ""
                          << "";
    QTest::newRow("no folder") << "  "
                               << "202435090702"
                               << "请指定备份路径!"
                               << "";
    QTest::newRow("no name") << "/tmp"
                             << ""
                             << "请指定备份的文件名"
                             << "edt_BackupDBName";
}

void TestDatabaseBackup::validate()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const Check refusal = DatabaseBackup::Validate(folder, name);
    QCOMPARE(refusal.has_value(), !message.isEmpty());
    if (refusal) {
        QCOMPARE(refusal->message, message);
        QCOMPARE(refusal->focus, focus);
    }
}

void TestDatabaseBackup::copyOfOpenDatabase_data()
{
    QTest::addColumn<bool>("selectInProgress");
    QTest::newRow("idle connection") << false;
    // A grid still reading its rows keeps a select open on the connection,
    // where SQLite refuses VACUUM; the backup must work all the same.
    QTest::newRow("select in progress") << true;
}

void TestDatabaseBackup::copyOfOpenDatabase()
{
    QFETCH(bool, selectInProgress);
    TestDatabase t(TestDatabase::Content::Demo);
    // Rows written just now (in the WAL, not yet in the main file) belong in the copy.
    t.db.exec("INSERT INTO SL_Store (StoreName) VALUES (?)", {"新开分店"});
    QSqlQuery open = t.db.exec("SELECT * FROM admin");
    if (selectInProgress)
        QVERIFY(open.next());
    else
        open.finish();
    QTemporaryDir target;
    QString why;
    QVERIFY2(DatabaseBackup::BackUp(t.db, target.path(), "202435090702", &why), qPrintable(why));
    QVERIFY(t.db.isOpen());
    open.finish();

    const QString copy = target.filePath("202435090702");
    QCOMPARE(countsIn(copy), countsIn(t.db));
    {
        Database check("backupcheck-store");
        check.open(copy);
        QCOMPARE(
            check.scalar("SELECT COUNT(*) FROM SL_Store WHERE StoreName = ?", {"新开分店"}).toInt(),
            1);
    }
    // Nothing else is left in the folder.
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"202435090702"});

    // A second backup of the same name replaces the first.
    t.db.exec("INSERT INTO SL_Store (StoreName) VALUES (?)", {"第二家"});
    QVERIFY(DatabaseBackup::BackUp(t.db, target.path(), "202435090702"));
    QCOMPARE(countsIn(copy), countsIn(t.db));
}

void TestDatabaseBackup::failedBackupKeepsEarlierOne()
{
    TestDatabase t(TestDatabase::Content::Demo);
    QTemporaryDir target;
    QVERIFY(DatabaseBackup::BackUp(t.db, target.path(), "backup"));
    const QList<qint64> before = countsIn(target.filePath("backup"));

    // The connection's file cannot be read any more: the copy fails midway.
    t.db.exec("INSERT INTO SL_Store (StoreName) VALUES ('x')");
    t.db.close();
    QString why;
    QVERIFY(!DatabaseBackup::BackUp(t.db, target.path(), "backup", &why));
    QVERIFY(!why.isEmpty());
    QCOMPARE(countsIn(target.filePath("backup")), before);
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"backup"});

    // A folder that does not exist.
    t.db.open(t.file());
    QVERIFY(!DatabaseBackup::BackUp(t.db, target.filePath("missing"), "backup"));
    QVERIFY(!QFile::exists(target.filePath("missing")));
}

void TestDatabaseBackup::neverOverwritesTheOpenDatabase()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const QList<qint64> before = countsIn(t.db);
    QVERIFY(!DatabaseBackup::BackUp(t.db, t.folder(), "BNA_Member.dll"));
    QCOMPARE(countsIn(t.db), before);
    QCOMPARE(t.value("PRAGMA integrity_check").toString(), QString("ok"));
}

QTEST_GUILESS_MAIN(TestDatabaseBackup)
#include "tst_databasebackup.moc"
