// The backup window driven through its controls.

#include "backup/TFrmBackupDatabase.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestTFrmBackupDatabase : public QObject
{
    Q_OBJECT
private slots:
    void showProposesFolderAndName();
    void browse_data();
    void browse();
    void backupWhileOpen();
    void failedBackupSaysSo();
};

void TestTFrmBackupDatabase::showProposesFolderAndName()
{
    TestDatabase t;
    TFrmBackupDatabase form(t.ctx);
    form.show();
    QCOMPARE(form.windowTitle(), QString("备份数据库"));
    QCOMPARE(form.edt_BackupPath->text(), QDir::toNativeSeparators(QDir::currentPath()));
    QCOMPARE(form.edt_BackupDBName->text(), QString("202435090702"));
    QVERIFY(form.edt_BackupPath->isReadOnly());
    QVERIFY(form.edt_BackupDBName->isReadOnly());
    QCOMPARE(form.focusWidget(), form.BtnBrowse);
    QCOMPARE(form.btnOk->text(), QString(" 开始备份(&S) "));
    QCOMPARE(form.btnClose->text(), QString("  关  闭 (&C) "));
}

void TestTFrmBackupDatabase::browse_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::newRow("folder chosen") << true;
    QTest::newRow("dialog cancelled keeps the folder") << false;
}

void TestTFrmBackupDatabase::browse()
{
    QFETCH(bool, chosen);
    TestDatabase t;
    TFrmBackupDatabase form(t.ctx);
    form.show();
    const QString before = form.edt_BackupPath->text();
    if (chosen)
        t.files.folderAnswers.enqueue(t.folder());
    QTest::mouseClick(form.BtnBrowse, Qt::LeftButton);
    QCOMPARE(t.files.titles, QStringList{"请指定备份文件要存到的文件夹:"});
    QCOMPARE(form.edt_BackupPath->text(), chosen ? t.folder() : before);
}

void TestTFrmBackupDatabase::backupWhileOpen()
{
    TestDatabase t(TestDatabase::Content::Demo);
    QTemporaryDir target;
    TFrmBackupDatabase form(t.ctx);
    form.show();
    t.files.folderAnswers.enqueue(target.path());
    QTest::mouseClick(form.BtnBrowse, Qt::LeftButton);
    QTest::mouseClick(form.btnOk, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{"备份成功!"});
    QVERIFY(t.db.isOpen());

    Database copy("backupwindowcheck");
    copy.open(target.filePath("202435090702"));
    for (const char *table : {"admin", "User_Info", "SL_Store", "Pro2"}) {
        const QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(table);
        QCOMPARE(copy.scalar(sql).toInt(), t.db.scalar(sql).toInt());
    }
    // The fields are reset for the next backup: the current directory again.
    QCOMPARE(form.edt_BackupPath->text(), QDir::toNativeSeparators(QDir::currentPath()));
    QCOMPARE(form.edt_BackupDBName->text(), QString("202435090702"));
}

void TestTFrmBackupDatabase::failedBackupSaysSo()
{
    TestDatabase t;
    TFrmBackupDatabase form(t.ctx);
    form.show();
    t.files.folderAnswers.enqueue(t.folder() + "/no such folder");
    QTest::mouseClick(form.BtnBrowse, Qt::LeftButton);
    QTest::mouseClick(form.btnOk, Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{"备份失败!"});
    QVERIFY(!QDir(t.folder() + "/no such folder").exists());
}

QTEST_MAIN(TestTFrmBackupDatabase)
#include "tst_TFrmBackupDatabase.moc"
