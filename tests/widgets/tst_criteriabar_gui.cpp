// The criteria bar of the report windows: its controls and lists, what 查询
// hands over, and the refusal of an end day before the start day.

#include "support/GuiInput.h"
#include "support/TestDatabase.h"
#include "widgets/CriteriaBarWidget.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(ReportCriteria)

namespace
{

QStringList items(QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

void choose(QComboBox *box, const QString &text)
{
    const int at = box->findText(text);
    QVERIFY2(at >= 0, qPrintable(text));
    box->setCurrentIndex(at);
}

} // namespace

class TestCriteriaBar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<ReportCriteria>(); }
    void controls();
    void withoutShopAndOperator();
    void queryHandsOverCriteria_data();
    void queryHandsOverCriteria();
    void endBeforeStartRefused();
    void listsReadAgainOnShow();
    void windowOfItsOwn();
};

void TestCriteriaBar::controls()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName, StoreShow) VALUES ('旧店', '0')"));
    CriteriaBar bar(t.ctx, CriteriaBar::Shop | CriteriaBar::Operator);
    bar.show();
    for (const char *name : {"dtpStart", "dtpEnd"}) {
        auto *date = FindControl<QDateEdit>(&bar, name);
        QVERIFY(date->calendarPopup());
        QCOMPARE(date->displayFormat(), QString("yyyy-MM-dd"));
        QCOMPARE(date->date(), QDate(2024, 3, 5)); // the clock's today
    }
    // Shown shops and every operator, in the order entered, after 全部.
    QCOMPARE(items(FindControl<QComboBox>(&bar, "cbShop")),
             (QStringList{"全部", "总店", "二分店"}));
    QCOMPARE(items(FindControl<QComboBox>(&bar, "cbOperator")),
             (QStringList{"全部", "admin", "收银员"}));
    QCOMPARE(bar.cbShop->currentText(), QString("全部"));
    QCOMPARE(bar.cbOperator->currentText(), QString("全部"));
    QCOMPARE(FindControl<QPushButton>(&bar, "btnQuery")->text(), QString("查询"));
    QVERIFY(t.prompter.messages.isEmpty());
}

void TestCriteriaBar::withoutShopAndOperator()
{
    TestDatabase t(TestDatabase::Content::Demo);
    CriteriaBar bar(t.ctx);
    bar.show();
    QVERIFY(!bar.findChild<QComboBox *>());
    QVERIFY(!bar.cbShop && !bar.cbOperator);
    QSignalSpy query(&bar, &CriteriaBar::queryRequested);
    QTest::mouseClick(FindControl<QPushButton>(&bar, "btnQuery"), Qt::LeftButton);
    QCOMPARE(query.count(), 1);
    const auto criteria = query.first().first().value<ReportCriteria>();
    QVERIFY(criteria.anyShop());
    QVERIFY(criteria.anyOperator());
    QCOMPARE(criteria.fromText(), QString("2024-03-05 00:00:00"));
    QCOMPARE(criteria.untilText(), QString("2024-03-06 00:00:00"));
}

void TestCriteriaBar::queryHandsOverCriteria_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("shop");
    QTest::addColumn<QString>("operatorName");
    QTest::addColumn<int>("sales");
    // The demo's sales: five at 总店 by admin, from 28 February to 3 March,
    // and today's (5 March, 08:37) at 二分店 by 收银员.
    QTest::newRow("the demo's week, every shop")
        << QDate(2024, 2, 26) << QDate(2024, 3, 5) << "全部"
        << "全部" << 6;
    QTest::newRow("leap day, 总店") << QDate(2024, 2, 29) << QDate(2024, 2, 29) << "总店"
                                    << "admin" << 1;
    QTest::newRow("二分店") << QDate(2024, 2, 26) << QDate(2024, 3, 5) << "二分店"
                            << "全部" << 1;
    QTest::newRow("收银员 at 总店") << QDate(2024, 2, 26) << QDate(2024, 3, 5) << "总店"
                                    << "收银员" << 0;
    QTest::newRow("start equals end: today") << QDate(2024, 3, 5) << QDate(2024, 3, 5) << "全部"
                                             << "收银员" << 1;
    QTest::newRow("start equals end, no sales") << QDate(2024, 3, 4) << QDate(2024, 3, 4) << "全部"
                                                << "全部" << 0;
}

void TestCriteriaBar::queryHandsOverCriteria()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, shop);
    QFETCH(QString, operatorName);
    QFETCH(int, sales);
    TestDatabase t(TestDatabase::Content::Demo);
    CriteriaBar bar(t.ctx, CriteriaBar::Shop | CriteriaBar::Operator);
    bar.show();
    FindControl<QDateEdit>(&bar, "dtpStart")->setDate(start);
    FindControl<QDateEdit>(&bar, "dtpEnd")->setDate(end);
    choose(FindControl<QComboBox>(&bar, "cbShop"), shop);
    choose(FindControl<QComboBox>(&bar, "cbOperator"), operatorName);
    QSignalSpy query(&bar, &CriteriaBar::queryRequested);
    QTest::mouseClick(FindControl<QPushButton>(&bar, "btnQuery"), Qt::LeftButton);
    QCOMPARE(query.count(), 1);
    const auto criteria = query.first().first().value<ReportCriteria>();
    QCOMPARE(criteria.startDay, start);
    QCOMPARE(criteria.endDay, end);
    QCOMPARE(criteria.shop, shop);
    QCOMPARE(criteria.operatorName, operatorName);
    QVERIFY(t.prompter.messages.isEmpty());

    // What a report window does with them.
    QuerySource where;
    QVERIFY(!BuildReportWhere(t.db, criteria,
                              {QStringLiteral("SaleDate"), QStringLiteral("StoreID"), MatchBy::Id,
                               QStringLiteral("AdminID"), MatchBy::Id},
                              where));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale WHERE ") + where.sql, where.binds)
                 .toInt(),
             sales);
}

void TestCriteriaBar::endBeforeStartRefused()
{
    TestDatabase t(TestDatabase::Content::Demo);
    CriteriaBar bar(t.ctx, CriteriaBar::Shop);
    bar.show();
    bar.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    FindControl<QDateEdit>(&bar, "dtpStart")->setDate(QDate(2024, 3, 1));
    FindControl<QDateEdit>(&bar, "dtpEnd")->setDate(QDate(2024, 2, 29));
    QSignalSpy query(&bar, &CriteriaBar::queryRequested);
    QTest::mouseClick(FindControl<QPushButton>(&bar, "btnQuery"), Qt::LeftButton);
    QCOMPARE(query.count(), 0);
    QCOMPARE(t.prompter.messages, QStringList{"结束日期不能早于开始日期！"});
    QTRY_VERIFY(FindControl<QDateEdit>(&bar, "dtpEnd")->hasFocus());

    // Put right, the same click queries.
    FindControl<QDateEdit>(&bar, "dtpEnd")->setDate(QDate(2024, 3, 1));
    QTest::mouseClick(FindControl<QPushButton>(&bar, "btnQuery"), Qt::LeftButton);
    QCOMPARE(query.count(), 1);
    QCOMPARE(t.prompter.messages.size(), 1);
}

void TestCriteriaBar::listsReadAgainOnShow()
{
    TestDatabase t(TestDatabase::Content::Demo);
    CriteriaBar bar(t.ctx, CriteriaBar::Shop | CriteriaBar::Operator);
    bar.show();
    choose(bar.cbShop, "二分店");
    choose(bar.cbOperator, "收银员");
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('三分店')"));
    t.db.exec(QStringLiteral("DELETE FROM admin WHERE Admin_Name = '收银员'"));
    bar.hide();
    bar.show();
    // The shop chosen is still there and stays chosen; the operator is gone.
    QCOMPARE(items(bar.cbShop), (QStringList{"全部", "总店", "二分店", "三分店"}));
    QCOMPARE(bar.cbShop->currentText(), QString("二分店"));
    QCOMPARE(items(bar.cbOperator), (QStringList{"全部", "admin"}));
    QCOMPARE(bar.cbOperator->currentText(), QString("全部"));
    QCOMPARE(bar.criteria().operatorName, QString("全部"));

    // A list that cannot be read is an error and keeps what it showed.
    t.db.exec(QStringLiteral("DROP INDEX idx_store_name"));
    t.db.exec(QStringLiteral("ALTER TABLE SL_Store RENAME TO SL_Store_Old"));
    QVERIFY(!bar.reload());
    QCOMPARE(t.prompter.messages.size(), 1);
    QVERIFY(t.prompter.messages.first().startsWith(QStringLiteral("错误:")));
    QCOMPARE(items(bar.cbShop), (QStringList{"全部", "总店", "二分店", "三分店"}));
}

// A window with its own lists and captions, taking any two days.
void TestCriteriaBar::windowOfItsOwn()
{
    TestDatabase t(TestDatabase::Content::Demo);
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName, StoreShow) VALUES ('旧店', '0')"));
    t.db.exec(QStringLiteral("UPDATE SL_DaoGou SET DaoGouShow = '0' WHERE DaoGouName = '王强'"));
    CriteriaBar bar(t.ctx, CriteriaBar::Shop | CriteriaBar::SalesPerson);
    QVERIFY(!bar.cbOperator);
    bar.setNames(CriteriaBar::Shop,
                 {QStringLiteral("SELECT StoreName FROM SL_Store ORDER BY StoreID"), {}});
    bar.caption(bar.dtpEnd)->setText(QStringLiteral("至"));
    bar.setRangeChecked(false);
    bar.show();
    QCOMPARE(items(bar.cbShop), (QStringList{"全部", "总店", "二分店", "旧店"}));
    // The shop assistants shown, as the sale screens offer them.
    QCOMPARE(items(FindControl<QComboBox>(&bar, "cbSalePerson")),
             (QStringList{"全部", "张丽", "李娜"}));
    QCOMPARE(bar.caption(bar.cbSalePerson)->text(), QString("销售员："));
    QCOMPARE(bar.caption(bar.dtpEnd)->text(), QString("至"));
    QVERIFY(!bar.caption(nullptr));

    choose(bar.cbShop, "旧店");
    choose(bar.cbSalePerson, "李娜");
    bar.dtpStart->setDate(QDate(2024, 3, 5));
    bar.dtpEnd->setDate(QDate(2024, 3, 1));
    QSignalSpy query(&bar, &CriteriaBar::queryRequested);
    QTest::mouseClick(bar.btnQuery, Qt::LeftButton);
    QCOMPARE(query.count(), 1);
    QVERIFY(t.prompter.messages.isEmpty());
    const auto criteria = query.first().first().value<ReportCriteria>();
    QCOMPARE(criteria.shop, QString("旧店"));
    QCOMPARE(criteria.salesPerson, QString("李娜"));
    QVERIFY(!criteria.refuseReversed);
    // The reversed range holds no row.
    QuerySource where;
    QVERIFY(!BuildReportWhere(t.db, criteria, {.date = QStringLiteral("SaleDate")}, where));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale WHERE ") + where.sql, where.binds)
                 .toInt(),
             0);
}

QTEST_MAIN(TestCriteriaBar)
#include "tst_criteriabar_gui.moc"
