#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtTranslations.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <functional>

namespace
{

// Runs `open` (which shows a modal file dialog) and closes the dialog once
// it has listed its folder, as an operator who looks and cancels would.
void showAndCancel(const std::function<void()> &open, QStringList *buttonTexts = nullptr)
{
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // Let the file system model list the folder (its gatherer thread
        // reads each entry) before the dialog goes.
        QTest::qWait(1500);
        if (buttonTexts) {
            for (const QDialogButtonBox *box : dialog->findChildren<QDialogButtonBox *>())
                for (const QAbstractButton *b : box->buttons())
                    *buttonTexts << b->text();
        }
        dialog->reject();
    });
    timer.start(100);
    open();
}

// The sqlite3 shell: another program that opens the file and closes it.
QString shell(const QString &file, const QString &sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {file, sql});
    if (!p.waitForFinished(20000))
        return QStringLiteral("<sqlite3 did not finish>");
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed() +
           QString::fromUtf8(p.readAllStandardError()).trimmed();
}

} // namespace

class TestQtFileDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dialogsLeaveTheDatabaseLocksAlone_data();
    void dialogsLeaveTheDatabaseLocksAlone();
    void dialogsSpeakChinese();
};

void TestQtFileDialogs::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        QFAIL("the sqlite3 shell is needed (./test.sh installs it)");
    QVERIFY2(InstallQtTranslations(), "Qt's Chinese translations are not installed");
}

void TestQtFileDialogs::dialogsLeaveTheDatabaseLocksAlone_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("save") << 0;
    QTest::newRow("open") << 1;
    QTest::newRow("folder") << 2;
}

void TestQtFileDialogs::dialogsLeaveTheDatabaseLocksAlone()
{
    QFETCH(int, kind);
    TestDatabase t;
    const QString wal = t.file() + QStringLiteral("-wal");
    t.db.exec("INSERT INTO SL_Store (StoreName, StoreShow) VALUES ('前台一', '1')");
    QVERIFY(QFile::exists(wal));

    // The save and open dialogs start in the working folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(t.folder());
    QtFileDialogs dialogs;
    showAndCancel([&] {
        if (kind == 0)
            dialogs.saveFileName(QStringLiteral("保存"));
        else if (kind == 1)
            dialogs.openFileName(QStringLiteral("打开"), QStringLiteral("*"));
        else
            dialogs.folder(QStringLiteral("选择文件夹"), t.folder());
    });
    QDir::setCurrent(before);

    // Another program opens and closes the file while we run: our write-ahead
    // log must stay, and what we write afterwards must reach that program.
    QCOMPARE(shell(t.file(), "SELECT COUNT(*) FROM SL_Store WHERE StoreName = '前台一'"),
             QStringLiteral("1"));
    QVERIFY2(QFile::exists(wal), "the running program's -wal was deleted");
    t.db.exec("INSERT INTO SL_Store (StoreName, StoreShow) VALUES ('前台二', '1')");
    QCOMPARE(shell(t.file(), "SELECT COUNT(*) FROM SL_Store WHERE StoreName = '前台二'"),
             QStringLiteral("1"));
}

void TestQtFileDialogs::dialogsSpeakChinese()
{
    QtFileDialogs dialogs;
    QStringList texts;
    showAndCancel([&] { dialogs.folder(QStringLiteral("选择文件夹"), QDir::tempPath()); }, &texts);
    QVERIFY(!texts.isEmpty());
    QVERIFY2(texts.contains(QStringLiteral("取消")), qPrintable(texts.join('|')));
}

QTEST_MAIN(TestQtFileDialogs)
#include "tst_qtfiledialogs_gui.moc"
