#include "members/MemberPanelWidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

// The member panel shows what its table names, as labels or boxes.
class TestMemberPanel : public QObject
{
    Q_OBJECT
private slots:
    void showsTheFieldsOfItsTable_data();
    void showsTheFieldsOfItsTable();
};

void TestMemberPanel::showsTheFieldsOfItsTable_data()
{
    QTest::addColumn<bool>("boxes");
    QTest::newRow("labels") << false;
    QTest::newRow("boxes") << true;
}

void TestMemberPanel::showsTheFieldsOfItsTable()
{
    QFETCH(bool, boxes);
    using F = MemberField;
    const QList<MemberPanelField> table = {
        {QStringLiteral("edt_Card"), QStringLiteral("卡号"), F::Card, 0, 0},
        {QStringLiteral("edt_Score"), QStringLiteral("积分"), F::Points, 0, 1},
        {QStringLiteral("edt_CardMoney"), QStringLiteral("储值金额"), F::Balance, 1, 0},
        {QStringLiteral("edt_Taste"), QStringLiteral("爱好颜色："), F::LikeColor, 1, 1, 1,
         QStringLiteral("lblTaste")},
    };
    MemberPanel panel(table, nullptr,
                      boxes ? MemberPanel::Style::Boxes : MemberPanel::Style::Labels);
    Member m;
    m.card = QStringLiteral("1001");
    m.points = 120.5;
    m.balance = *Money::parse(QStringLiteral("1234567.89"));
    m.likeColor = QStringLiteral("辣");
    m.name = QStringLiteral("不在表中");
    panel.ShowMember(m);
    const auto shown = [&](const char *name) {
        if (boxes) {
            auto *box = panel.findChild<QLineEdit *>(QLatin1String(name));
            return box && box->isReadOnly() ? box->text() : QStringLiteral("<no read-only box>");
        }
        auto *label = panel.findChild<QLabel *>(QLatin1String(name));
        return label ? label->text() : QStringLiteral("<no label>");
    };
    QCOMPARE(shown("edt_Card"), QStringLiteral("1001"));
    QCOMPARE(shown("edt_Score"), QStringLiteral("120.5"));
    QCOMPARE(shown("edt_CardMoney"), QStringLiteral("1234567.89"));
    QCOMPARE(shown("edt_Taste"), QStringLiteral("辣"));
    QCOMPARE(panel.valueText(F::Card), QStringLiteral("1001"));
    QVERIFY(panel.valueText(F::Name).isEmpty());
    panel.SetFieldCaptions();
    QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("lblTaste"))->text(),
             QStringLiteral("口味："));
    panel.Clear();
    QVERIFY(shown("edt_Card").isEmpty());
    QVERIFY(shown("edt_CardMoney").isEmpty());
}

QTEST_MAIN(TestMemberPanel)
#include "tst_memberpanel_gui.moc"
