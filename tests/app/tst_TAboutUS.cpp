// The About box: title and version lines; the contact lines only with a greeting.

#include "context/AppInfo.h"
#include "app/TAboutUS.h"

#include <QLabel>
#include <QtTest>

class TestTAboutUS : public QObject
{
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
};

void TestTAboutUS::lines_data()
{
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<bool>("contacts");
    QTest::newRow("the program's greeting") << AppInfo::StatusText << true;
    QTest::newRow("no greeting") << "" << false;
}

void TestTAboutUS::lines()
{
    QFETCH(QString, statusText);
    QFETCH(bool, contacts);
    TAboutUS about;
    about.show();
    QCOMPARE(about.windowTitle(), QString("关于我们"));
    QCOMPARE(about.Label1->text(), AppInfo::AppTitle);
    QCOMPARE(about.Label2->text(), AppInfo::VersionText);
    QVERIFY(!about.Label3->text().isEmpty());
    QVERIFY(about.Label4->isVisible());
    about.ShowInfo(statusText);
    for (QLabel *l : {about.Label4, about.Label5, about.Label6}) {
        QCOMPARE(l->isVisible(), contacts);
        QVERIFY(!l->text().isEmpty());
    }
    QVERIFY(about.Label3->isVisible());
}

QTEST_MAIN(TestTAboutUS)
#include "tst_TAboutUS.moc"
