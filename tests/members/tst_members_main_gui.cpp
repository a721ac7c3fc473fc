#include "app/TMain.h"
#include "widgets/DataGridWidget.h"
#include "members/MemberFixture.h"
#include "members/MemberGui.h"
#include "members/TCreateCard.h"
#include "members/TMemberForm.h"
#include "members/TViewForm.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace MemberFixture;
using namespace MemberGui;

// The main window's 建卡, 查询 and 会员 open the member windows, each made
// once and kept for the run.
class TestMembersFromMain : public QObject
{
    Q_OBJECT
private slots:
    void commandsOpenMemberWindows();
    void editedFromQueryShowsInList();
};

void TestMembersFromMain::commandsOpenMemberWindows()
{
    TestDatabase t;
    t.loginAs();
    addMember(t.db, QStringLiteral("1001"), QStringLiteral("王建国"));
    TMain main(t.ctx);
    main.show();

    QTest::mouseClick(main.findChild<QToolButton *>(QStringLiteral("BtnCreateMemCard")),
                      Qt::LeftButton);
    auto *create = main.findChild<TCreateCard *>();
    QVERIFY(create);
    QVERIFY(create->isVisible());
    QTest::mouseClick(main.findChild<QToolButton *>(QStringLiteral("BtnCreateMemCard")),
                      Qt::LeftButton);
    QCOMPARE(main.findChildren<TCreateCard *>().size(), 1);

    QTest::mouseClick(main.findChild<QToolButton *>(QStringLiteral("BtnQuery")), Qt::LeftButton);
    auto *query = main.findChild<TViewForm *>();
    QVERIFY(query);
    QVERIFY(query->isVisible());

    int listed = -1;
    onNextModal([&](QWidget *modal) {
        QCOMPARE(modal->objectName(), QStringLiteral("TMemberForm"));
        listed = modal->findChild<DataGridWidget *>(QStringLiteral("DBGrid1"))->rowCount();
        modal->close();
    });
    QTest::mouseClick(main.findChild<QToolButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    QCOMPARE(listed, 1);

    main.CloseMemberForms();
    QVERIFY(!create->isVisible());
    QVERIFY(!query->isVisible());
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestMembersFromMain::editedFromQueryShowsInList()
{
    TestDatabase t;
    t.loginAs();
    addMember(t.db, QStringLiteral("1001"), QStringLiteral("王建国"));
    TMain main(t.ctx);
    main.show();
    // The list is made first, then the query window edits with the same dialog.
    onNextModal([](QWidget *modal) { modal->close(); });
    QTest::mouseClick(main.findChild<QToolButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    QTest::mouseClick(main.findChild<QToolButton *>(QStringLiteral("BtnQuery")), Qt::LeftButton);
    auto *query = main.findChild<TViewForm *>();
    query->ShowForCard(QStringLiteral("1001"));
    onNextModal([](QWidget *modal) {
        auto *name = modal->findChild<QLineEdit *>(QStringLiteral("Edit2"));
        name->clear();
        TypeText(name, QStringLiteral("Wang"));
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("BtnOk")), Qt::LeftButton);
    });
    QTest::mouseClick(query->findChild<QPushButton *>(QStringLiteral("btnModify")), Qt::LeftButton);
    QCOMPARE(t.prompter.messages, QStringList{MemberText::Saved});

    QString shown;
    onNextModal([&](QWidget *modal) {
        shown = modal->findChild<DataGridWidget *>(QStringLiteral("DBGrid1"))
                    ->value(0, QStringLiteral("姓名"))
                    .toString();
        modal->close();
    });
    QTest::mouseClick(main.findChild<QToolButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("Wang"));
    QCOMPARE(main.findChildren<TMemberForm *>().size(), 1);
}

QTEST_MAIN(TestMembersFromMain)
#include "tst_members_main_gui.moc"
