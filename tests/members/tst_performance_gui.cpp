#include "context/AppContext.h"
#include "data/DatabaseInitializer.h"
#include "members/MemberGui.h"
#include "members/TFrmQueryUserInfo.h"
#include "members/TMemberForm.h"
#include "members/TViewForm.h"
#include "support/FakePlatform.h"
#include "support/ScriptedPrompter.h"
#include "widgets/DataGridWidget.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace MemberGui;

// The member windows on a shop with 100,000 members and 1,000,000 sale lines:
// finding a member and opening the list answer at once, and the list does
// not load every row up front.
class TestMemberPerformance : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void memberListOpensAtOnce_data();
    void memberListOpensAtOnce();
    void consumptionQueryFindsAtOnce_data();
    void consumptionQueryFindsAtOnce();
    void lookupDialogFiltersAtOnce_data();
    void lookupDialogFiltersAtOnce();

private:
    template <typename W> static W *find(QWidget *form, const char *name)
    {
        for (W *w : form->findChildren<W *>(QLatin1String(name))) {
            if (w->window() == form)
                return w;
        }
        qFatal("no control %s", name);
        return nullptr;
    }
    static void report(const char *what, qint64 ms)
    {
        qInfo("%s: %lld ms", what, static_cast<long long>(ms));
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 took %2 ms").arg(what).arg(ms)));
    }

    QTemporaryDir dir;
    Database db{QStringLiteral("perf")};
    Session session;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2))};
    FakeFileDialogs files;
    FakeUrlOpener urls;
    std::unique_ptr<AppContext> ctx;
};

void TestMemberPerformance::initTestCase()
{
    const QString file = dir.filePath(QStringLiteral("BNA_Member.dll"));
    DatabaseInitializer::createFile(file, false, true, clock.now());
    db.open(file);
    session.settings.load(db);
    session.login.MyAdminGroup = QStringLiteral("99");
    ctx.reset(new AppContext{db, session, prompter, clock, files, urls});
}

void TestMemberPerformance::cleanupTestCase()
{
    ctx.reset();
    db.close();
}

void TestMemberPerformance::memberListOpensAtOnce_data()
{
    QTest::addColumn<bool>("byAmount");
    QTest::newRow("newest first") << false;
    QTest::newRow("by amount spent") << true;
}

void TestMemberPerformance::memberListOpensAtOnce()
{
    QFETCH(bool, byAmount);
    TMemberForm list(*ctx);
    find<QCheckBox>(&list, "CheckBox1")->setChecked(byAmount);
    QElapsedTimer timer;
    timer.start();
    list.show();
    QCoreApplication::processEvents();
    report(byAmount ? "member list by amount" : "member list", timer.elapsed());

    auto *grid = find<DataGridWidget>(&list, "DBGrid1");
    QVERIFY(grid->rowCount() > 0);
    QVERIFY2(grid->rowCount() < 100000, "every row was loaded up front");
    if (byAmount)
        QVERIFY(grid->value(0, QStringLiteral("消费金额")).toDouble() >=
                grid->value(1, QStringLiteral("消费金额")).toDouble());
    else
        QCOMPARE(grid->value(0, QStringLiteral("卡号")).toString(), QStringLiteral("80100000"));

    // Scrolling to the end fetches the rest as it goes.
    timer.restart();
    QTest::mouseClick(find<QToolButton>(&list, "nbLast"), Qt::LeftButton);
    qInfo("member list, scrolled to the last of %d rows: %lld ms", grid->rowCount(),
          static_cast<long long>(timer.elapsed()));
    const int members = db.scalar(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt();
    QVERIFY(members >= 100000);
    QCOMPARE(grid->rowCount(), members);
    QCOMPARE(grid->currentIndex().row(), members - 1);
}

void TestMemberPerformance::consumptionQueryFindsAtOnce_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::newRow("by card, last member") << "Edit1"
                                          << "80100000"
                                          << "会员100000";
    QTest::newRow("by card, first member") << "Edit1"
                                           << "80000001"
                                           << "会员1";
    QTest::newRow("by whole name") << "Edit2"
                                   << "会员54321"
                                   << "会员54321";
    QTest::newRow("by part of a name, 11,111 matches") << "Edit2"
                                                       << "员1"
                                                       << "会员100000";
    QTest::newRow("by part of a name, no match") << "Edit2"
                                                 << "员1x"
                                                 << "";
}

void TestMemberPerformance::consumptionQueryFindsAtOnce()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, name);
    prompter.clear();
    TViewForm form(*ctx);
    form.show();
    auto *edit = find<QLineEdit>(&form, box == QLatin1String("Edit1") ? "Edit1" : "Edit2");
    edit->setText(text);
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(
        find<QPushButton>(&form, box == QLatin1String("Edit1") ? "BitBtn3" : "BitBtn4"),
        Qt::LeftButton);
    QCoreApplication::processEvents();
    report(qPrintable(QStringLiteral("consumption query %1").arg(QTest::currentDataTag())),
           timer.elapsed());
    QCOMPARE(find<QLabel>(&form, "LUserName")->text(), name);
    if (name.isEmpty()) {
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("没有查到此用户！")});
        return;
    }
    QVERIFY(prompter.messages.isEmpty());
    // The member's sales, and the five lines of the newest.
    const qint64 id = db.scalar(QStringLiteral("SELECT MAX(User_ID) FROM User_Info WHERE "
                                               "User_Name = ?"),
                                {name})
                          .toLongLong();
    const int sales =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM S_Sale WHERE UserID = ?"), {id}).toInt();
    QCOMPARE(find<DataGridWidget>(&form, "DBGrid1")->rowCount(), sales);
    QCOMPARE(find<DataGridWidget>(&form, "DBGrid2")->rowCount(), sales > 0 ? 5 : 0);
}

void TestMemberPerformance::lookupDialogFiltersAtOnce_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("card box") << "edtUserCard"
                              << "800999";
    QTest::newRow("name box") << "edtUserName"
                              << "员9999";
}

void TestMemberPerformance::lookupDialogFiltersAtOnce()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    TFrmQueryUserInfo dialog(*ctx);
    QElapsedTimer timer;
    timer.start();
    dialog.show();
    report("lookup dialog opened", timer.elapsed());
    auto *edit = dialog.findChild<QLineEdit *>(box);
    qint64 slowest = 0;
    for (const QChar c : text) {
        timer.restart();
        TypeText(edit, QString(c));
        slowest = std::max(slowest, timer.elapsed());
    }
    report(qPrintable(QStringLiteral("lookup dialog, slowest keystroke in %1").arg(box)), slowest);
    auto *grid = dialog.findChild<DataGridWidget *>(QStringLiteral("DBGrid1"));
    QVERIFY(grid->rowCount() > 0);
    for (int r = 0; r < grid->rowCount(); ++r)
        QVERIFY(grid->value(r, box == QLatin1String("edtUserCard") ? QStringLiteral("卡号")
                                                                   : QStringLiteral("姓名"))
                    .toString()
                    .contains(text));
}

QTEST_MAIN(TestMemberPerformance)
#include "tst_performance_gui.moc"
