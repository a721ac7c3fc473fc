#include "data/TextRules.h"
#include "support/FaultInjection.h"
#include "support/TestDatabase.h"
#include "wallet/Redemption.h"
#include "wallet/RedemptionFixture.h"

#include <QtTest>
#include <limits>

// The rules of a points redemption and its writes, on the demo database
// (5 March 2024, 09:07:02; threshold 100 points).
class TestRedemption : public QObject
{
    Q_OBJECT
private slots:
    void findCard_data();
    void findCard();
    void threshold_data();
    void threshold();
    void itemChecks_data();
    void itemChecks();
    void confirmationChecks_data();
    void confirmationChecks();
    void automaticCashIsAlwaysAccepted_data();
    void automaticCashIsAlwaysAccepted();
    void redemptionWritesRecordAndPoints();
    void everyPointMayBeRedeemed();
    void recordsListed();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void failingWriteLeavesNothing_data();
    void failingWriteLeavesNothing();
    void twoConnectionsNeverGoBelowZero();
};

namespace
{

qint64 MemberId(TestDatabase &t, const QString &card)
{
    return t.value(QStringLiteral("SELECT User_ID FROM User_Info WHERE User_Card = ?"), {card})
        .toLongLong();
}

void SetPoints(Database &db, const QString &card, double points)
{
    db.exec(QStringLiteral("UPDATE User_Info SET User_Num = ? WHERE User_Card = ?"),
            {points, card});
}

double Points(TestDatabase &t, const QString &card)
{
    return t.value(QStringLiteral("SELECT User_Num FROM User_Info WHERE User_Card = ?"), {card})
        .toDouble();
}

Money Yuan(const char *text)
{
    return *Money::parse(QString::fromLatin1(text));
}

RedemptionRequest Request(qint64 memberId, const char *value, qint64 points, const char *cash)
{
    RedemptionRequest r;
    r.memberId = memberId;
    r.entry.item = QStringLiteral("保温杯");
    r.entry.value = Yuan(value);
    r.entry.points = points;
    r.entry.cash = Yuan(cash);
    r.entry.remark = QStringLiteral("赠品");
    r.admin = QStringLiteral("admin");
    r.now = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2));
    return r;
}

// Everything a redemption touches.
const QStringList RedemptionSnapshot = {QStringLiteral("SELECT * FROM User_Cash ORDER BY CashID"),
                                        QStringLiteral("SELECT * FROM User_Info ORDER BY User_ID")};

} // namespace

void TestRedemption::findCard_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("card"); // found; empty: refused
    QTest::addColumn<QString>("message");
    QTest::newRow("found") << "1002"
                           << "1002"
                           << "";
    QTest::newRow("blanks trimmed") << "  1002 "
                                    << "1002"
                                    << "";
    // The redemption does not ask whether a card is locked or expired.
    QTest::newRow("locked card") << "1006"
                                 << "1006"
                                 << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "请输入卡号!";
    QTest::newRow("blanks only") << "   "
                                 << ""
                                 << "请输入卡号!";
    QTest::newRow("unknown") << "9999"
                             << ""
                             << "没有查到此用户!";
    QTest::newRow("quote is no statement") << "1001' OR '1'='1"
                                           << ""
                                           << "没有查到此用户!";
    QTest::newRow("wildcard is no pattern") << "100%"
                                            << ""
                                            << "没有查到此用户!";
}

void TestRedemption::findCard()
{
    QFETCH(QString, typed);
    QFETCH(QString, card);
    QFETCH(QString, message);
    DemoWithoutRedemptions t;
    const CardLookup found = Redemption::FindCard(t.db, typed);
    if (card.isEmpty()) {
        QVERIFY(found.refusal);
        QVERIFY(!found.member);
        QCOMPARE(found.refusal->message, message);
        QCOMPARE(found.refusal->focus, QStringLiteral("Edit1"));
    } else {
        QVERIFY(!found.refusal);
        QVERIFY(found.member);
        QCOMPARE(found.member->card, card);
        QCOMPARE(found.member->id, MemberId(t, card));
    }
}

void TestRedemption::threshold_data()
{
    QTest::addColumn<int>("threshold");
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("message"); // empty: may redeem
    QTest::newRow("exactly the threshold") << 100 << 100.0 << "积分不够100分，不能兑分！";
    QTest::newRow("one point above") << 100 << 101.0 << "";
    QTest::newRow("half a point above") << 100 << 100.5 << "";
    QTest::newRow("below") << 100 << 45.0 << "积分不够100分，不能兑分！";
    QTest::newRow("no threshold, no points") << 0 << 0.0 << "积分不够0分，不能兑分！";
    QTest::newRow("no threshold, one point") << 0 << 1.0 << "";
    QTest::newRow("other threshold") << 500 << 499.0 << "积分不够500分，不能兑分！";
}

void TestRedemption::threshold()
{
    QFETCH(int, threshold);
    QFETCH(double, points);
    QFETCH(QString, message);
    Member m;
    m.points = points;
    const std::optional<Refusal> refusal = Redemption::ThresholdRefusal(m, threshold);
    QCOMPARE(refusal.has_value(), !message.isEmpty());
    if (refusal)
        QCOMPARE(refusal->message, message);
}

void TestRedemption::itemChecks_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("points");
    QTest::addColumn<double>("memberPoints");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("cash"); // the automatic cash when accepted

    const QString none;
    const QString tooMuch = Redemption::PointsAboveCurrentMessage();
    // Accepted.
    QTest::newRow("50 and 30") << "保温杯"
                               << "50"
                               << "30" << 101.0 << none << none << "20";
    QTest::newRow("10.1 and 3") << "毛巾"
                                << "10.1"
                                << "3" << 101.0 << none << none << "7.1";
    QTest::newRow("points equal to the value") << "雨伞"
                                               << "30"
                                               << "30" << 101.0 << none << none << "0";
    QTest::newRow("every point") << "雨伞"
                                 << "200"
                                 << "101" << 101.0 << none << none << "99";
    QTest::newRow("four decimals") << "茶叶"
                                   << "12.3456"
                                   << "12" << 101.0 << none << none << "0.3456";
    QTest::newRow("blanks trimmed, leading zeros") << "  茶叶  "
                                                   << " 050 "
                                                   << " 007 " << 101.0 << none << none << "43";
    QTest::newRow("point first") << "糖"
                                 << ".5"
                                 << "0" << 101.0 << "所兑积分必须是大于0的正整数！"
                                 << "Edit4" << none;
    QTest::newRow("fractional member points") << "糖"
                                              << "10"
                                              << "10" << 10.5 << none << none << "0";

    // The eight checks in their order.
    QTest::newRow("item empty") << "   "
                                << "50"
                                << "30" << 101.0 << "物品不能为空！"
                                << "Edit2" << none;
    QTest::newRow("value empty") << "杯"
                                 << ""
                                 << "30" << 101.0 << "价值不能为空！"
                                 << "Edit3" << none;
    QTest::newRow("value letters") << "杯"
                                   << "abc"
                                   << "30" << 101.0 << "价值只能输入数字！"
                                   << "Edit3" << none;
    QTest::newRow("value negative") << "杯"
                                    << "-50"
                                    << "30" << 101.0 << "价值只能输入数字！"
                                    << "Edit3" << none;
    QTest::newRow("value with comma") << "杯"
                                      << "1,5"
                                      << "1" << 101.0 << "价值只能输入数字！"
                                      << "Edit3" << none;
    QTest::newRow("value full-width digits") << "杯"
                                             << "５０"
                                             << "30" << 101.0 << "价值只能输入数字！"
                                             << "Edit3" << none;
    QTest::newRow("points empty") << "杯"
                                  << "50"
                                  << " " << 101.0 << "所兑积分不能为空！"
                                  << "Edit4" << none;
    QTest::newRow("points 2.5") << "杯"
                                << "50"
                                << "2.5" << 101.0 << "所兑积分必须是整数！"
                                << "Edit4" << none;
    QTest::newRow("points negative") << "杯"
                                     << "50"
                                     << "-3" << 101.0 << "所兑积分必须是整数！"
                                     << "Edit4" << none;
    QTest::newRow("points exponent") << "杯"
                                     << "50"
                                     << "1e1" << 101.0 << "所兑积分必须是整数！"
                                     << "Edit4" << none;
    QTest::newRow("points 0") << "杯"
                              << "50"
                              << "0" << 101.0 << "所兑积分必须是大于0的正整数！"
                              << "Edit4" << none;
    QTest::newRow("points 000") << "杯"
                                << "50"
                                << "000" << 101.0 << "所兑积分必须是大于0的正整数！"
                                << "Edit4" << none;
    QTest::newRow("points above the member's") << "杯"
                                               << "500"
                                               << "102" << 101.0 << tooMuch << "Edit4" << none;
    QTest::newRow("points above fractional points") << "杯"
                                                    << "500"
                                                    << "11" << 10.5 << tooMuch << "Edit4" << none;
    QTest::newRow("points beyond any number")
        << "杯"
        << "500"
        << "99999999999999999999999999" << 1e15 << tooMuch << "Edit4" << none;
    QTest::newRow("points above the value") << "杯"
                                            << "20"
                                            << "30" << 101.0 << "所兑积分不能大于价值！"
                                            << "Edit4" << none;
    QTest::newRow("one point above a fraction") << "杯"
                                                << "29.9999"
                                                << "30" << 101.0 << "所兑积分不能大于价值！"
                                                << "Edit4" << none;
    QTest::newRow("points above the largest amount")
        << "杯"
        << "99999999999"
        << "100000000001" << 1e15 << "所兑积分不能大于价值！"
        << "Edit4" << none;

    // Text that passes the digit-and-point test but is no number, or is more
    // than an amount holds.
    QTest::newRow("value 1.2.3") << "杯"
                                 << "1.2.3"
                                 << "1" << 101.0 << "价值只能输入数字！"
                                 << "Edit3" << none;
    QTest::newRow("value a point alone") << "杯"
                                         << "."
                                         << "1" << 101.0 << "价值只能输入数字！"
                                         << "Edit3" << none;
    QTest::newRow("value two points") << "杯"
                                      << ".."
                                      << "1" << 101.0 << "价值只能输入数字！"
                                      << "Edit3" << none;
    QTest::newRow("value five decimals")
        << "杯"
        << "10.00001"
        << "1" << 101.0 << Money::OutOfRangeMessage(QStringLiteral("价值")) << "Edit3" << none;
    QTest::newRow("value too large")
        << "杯"
        << "999999999999"
        << "1" << 101.0 << Money::OutOfRangeMessage(QStringLiteral("价值")) << "Edit3" << none;
}

void TestRedemption::itemChecks()
{
    QFETCH(QString, item);
    QFETCH(QString, value);
    QFETCH(QString, points);
    QFETCH(double, memberPoints);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, cash);
    const RedemptionTexts typed{item, value, points, QString(), QString()};
    const EntryCheck check = Redemption::CheckItem(typed, memberPoints);
    if (!message.isEmpty()) {
        QVERIFY(check.refusal);
        QCOMPARE(check.refusal->message, message);
        QCOMPARE(check.refusal->focus, focus);
        return;
    }
    QVERIFY2(!check.refusal, qPrintable(check.refusal ? check.refusal->message : QString()));
    QCOMPARE(check.entry.item, item.trimmed());
    QCOMPARE(check.entry.value, *Money::parse(value));
    QCOMPARE(check.entry.points, points.trimmed().toLongLong());
    QCOMPARE(Redemption::AutomaticCashText(check.entry), cash);
}

void TestRedemption::confirmationChecks_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("focus");
    const QString wrong = Redemption::WrongCashMessage();
    QTest::newRow("automatic cash") << "50"
                                    << "30"
                                    << "20"
                                    << ""
                                    << "";
    QTest::newRow("same amount with decimals") << "50"
                                               << "30"
                                               << "20.00"
                                               << ""
                                               << "";
    QTest::newRow("10.1 and 3") << "10.1"
                                << "3"
                                << "7.1"
                                << ""
                                << "";
    QTest::newRow("nothing on top") << "30"
                                    << "30"
                                    << "0"
                                    << ""
                                    << "";
    QTest::newRow("cash 5 for 20") << "50"
                                   << "30"
                                   << "5" << wrong << "";
    QTest::newRow("a ten-thousandth off") << "10.1"
                                          << "3"
                                          << "7.1001" << wrong << "";
    QTest::newRow("cash empty") << "50"
                                << "30"
                                << "  "
                                << "加现金不能为空！"
                                << "Edit5";
    QTest::newRow("cash letters") << "50"
                                  << "30"
                                  << "二十"
                                  << "加现金必须是数字！"
                                  << "Edit5";
    QTest::newRow("cash negative") << "50"
                                   << "30"
                                   << "-20"
                                   << "加现金必须是数字！"
                                   << "Edit5";
    QTest::newRow("cash 1.2.3") << "50"
                                << "30"
                                << "1.2.3"
                                << "加现金必须是数字！"
                                << "Edit5";
    QTest::newRow("cash a point alone") << "50"
                                        << "30"
                                        << "."
                                        << "加现金必须是数字！"
                                        << "Edit5";
    QTest::newRow("cash five decimals")
        << "50"
        << "30"
        << "20.00001" << Money::OutOfRangeMessage(QStringLiteral("加现金")) << "Edit5";
    QTest::newRow("the eight checks first") << "50"
                                            << "2.5"
                                            << "1.2.3"
                                            << "所兑积分必须是整数！"
                                            << "Edit4";
}

void TestRedemption::confirmationChecks()
{
    QFETCH(QString, value);
    QFETCH(QString, points);
    QFETCH(QString, cash);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const RedemptionTexts typed{QStringLiteral("它's"), value, points, cash,
                                QStringLiteral(" 'x' ")};
    const EntryCheck check = Redemption::CheckConfirmation(typed, 101);
    if (!message.isEmpty()) {
        QVERIFY(check.refusal);
        QCOMPARE(check.refusal->message, message);
        QCOMPARE(check.refusal->focus, focus);
        return;
    }
    QVERIFY2(!check.refusal, qPrintable(check.refusal ? check.refusal->message : QString()));
    QCOMPARE(check.entry.cash, *Money::parse(cash));
    // Typed text is stored with its quotes replaced and without blanks around.
    QCOMPARE(check.entry.item, QStringLiteral("它’s"));
    QCOMPARE(check.entry.remark, QStringLiteral("’x’"));
}

void TestRedemption::automaticCashIsAlwaysAccepted_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("tenths") << "10.1";
    QTest::newRow("hundredths") << "0.3";
    QTest::newRow("ten-thousandths") << "1234.5678";
    QTest::newRow("long") << "99999.999";
    QTest::newRow("whole") << "999999999";
    QTest::newRow("just above a point") << "1.0001";
}

void TestRedemption::automaticCashIsAlwaysAccepted()
{
    // Whatever the value and the points, the cash the box is filled with is
    // what the confirmation accepts (a comparison in floating point would
    // refuse some of these).
    QFETCH(QString, value);
    const Money v = *Money::parse(value);
    const qint64 top = v.units() / 10000;
    for (qint64 points : {qint64(1), qint64(2), qint64(3), top / 3, top / 2, top - 1, top}) {
        if (points < 1 || points > top)
            continue;
        const RedemptionTexts item{QStringLiteral("杯"), value, QString::number(points), {}, {}};
        const EntryCheck first = Redemption::CheckItem(item, 1e12);
        QVERIFY(!first.refusal);
        const QString cash = Redemption::AutomaticCashText(first.entry);
        QVERIFY2(cash.size() <= 9, qPrintable(cash)); // fits the cash box
        RedemptionTexts typed = item;
        typed.cash = cash;
        const EntryCheck confirmed = Redemption::CheckConfirmation(typed, 1e12);
        QVERIFY2(!confirmed.refusal, qPrintable(value + QLatin1Char('-') + QString::number(points) +
                                                QLatin1Char('=') + cash));
        QCOMPARE(confirmed.entry.cash + Money::fromUnits(points * 10000), v);
    }
}

void TestRedemption::redemptionWritesRecordAndPoints()
{
    DemoWithoutRedemptions t;
    SetPoints(t.db, QStringLiteral("1001"), 101);
    const qint64 id = MemberId(t, QStringLiteral("1001"));
    const int othersBefore =
        t.value(QStringLiteral("SELECT TOTAL(User_Num) FROM User_Info WHERE User_ID <> ?"), {id})
            .toInt();

    RedemptionRequest request = Request(id, "50", 30, "20");
    request.entry.item = QStringLiteral("保温杯’");
    request.admin = QStringLiteral(" 收银员 ");
    const RedemptionResult r = Redemption(t.db).Run(request);
    QVERIFY(!r.refusal);
    QVERIFY(r.cashId > 0);
    QCOMPARE(r.points.before, 101.0);
    QCOMPARE(r.points.after, 71.0);

    QSqlQuery q = t.db.exec(
        QStringLiteral("SELECT UserID, UserCard, UserName, CashProName, CashProPrice, CashNumOld, "
                       "CashNum, CashNumNew, CashAddMoney, CashOther, CashAdmin, CashDate "
                       "FROM User_Cash WHERE CashID = ?"),
        {r.cashId});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toLongLong(), id);
    QCOMPARE(q.value(1).toString(), QStringLiteral("1001"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("王建国"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("保温杯’"));
    QCOMPARE(q.value(4).toDouble(), 50.0);
    QCOMPARE(q.value(5).toDouble(), 101.0);
    QCOMPARE(q.value(6).toDouble(), 30.0);
    QCOMPARE(q.value(7).toDouble(), 71.0);
    QCOMPARE(q.value(8).toDouble(), 20.0);
    QCOMPARE(q.value(9).toString(), QStringLiteral("赠品"));
    QCOMPARE(q.value(10).toString(), QStringLiteral(" 收银员 "));
    QCOMPARE(q.value(11).toString(), QStringLiteral("2024-03-05 09:07:02"));
    QVERIFY(!q.next());
    QCOMPARE(Points(t, QStringLiteral("1001")), 71.0);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt(), 1);
    // Only this member's points changed.
    QCOMPARE(
        t.value(QStringLiteral("SELECT TOTAL(User_Num) FROM User_Info WHERE User_ID <> ?"), {id})
            .toInt(),
        othersBefore);

    // The threshold is not asked again: the member goes on redeeming.
    const RedemptionResult again = Redemption(t.db).Run(Request(id, "10.1", 3, "7.1"));
    QVERIFY(!again.refusal);
    QCOMPARE(again.points.before, 71.0);
    QCOMPARE(again.points.after, 68.0);
    QVERIFY(again.cashId > r.cashId);
}

void TestRedemption::everyPointMayBeRedeemed()
{
    DemoWithoutRedemptions t;
    const qint64 id = MemberId(t, QStringLiteral("1001")); // 120 points
    const RedemptionResult r = Redemption(t.db).Run(Request(id, "150", 120, "30"));
    QVERIFY(!r.refusal);
    QCOMPARE(r.points.after, 0.0);
    QCOMPARE(Points(t, QStringLiteral("1001")), 0.0);
    const RedemptionResult more = Redemption(t.db).Run(Request(id, "1", 1, "0"));
    QVERIFY(more.refusal);
    QCOMPARE(more.refusal->message, Redemption::PointsAboveCurrentMessage());
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt(), 1);
}

void TestRedemption::recordsListed()
{
    DemoWithoutRedemptions t;
    const qint64 wang = MemberId(t, QStringLiteral("1001"));
    const qint64 huang = MemberId(t, QStringLiteral("1008"));
    QVERIFY(!Redemption(t.db).Run(Request(wang, "20", 10, "10")).refusal);
    QVERIFY(!Redemption(t.db).Run(Request(huang, "20", 20, "0")).refusal);
    QVERIFY(!Redemption(t.db).Run(Request(wang, "30", 5, "25")).refusal);

    const auto ids = [&](qint64 member) {
        const QuerySource s = Redemption::Records(member);
        QSqlQuery q = t.db.exec(s.sql, s.binds);
        QList<qint64> out;
        while (q.next())
            out << q.value(QStringLiteral("序号")).toLongLong();
        return out;
    };
    QCOMPARE(ids(0), (QList<qint64>{3, 2, 1}));
    QCOMPARE(ids(wang), (QList<qint64>{3, 1}));
    QCOMPARE(ids(huang), (QList<qint64>{2}));

    const QuerySource s = Redemption::Records(wang);
    QSqlQuery q = t.db.exec(s.sql, s.binds);
    QVERIFY(q.next());
    QStringList titles;
    for (int i = 0; i < q.record().count(); ++i)
        titles << q.record().fieldName(i);
    QCOMPARE(titles, QStringList({"序号", "卡号", "姓名", "产品名", "价值", "兑分", "加现金",
                                  "兑前积分", "兑后积分", "操作员", "时间", "备注"}));
    QCOMPARE(q.value(QStringLiteral("兑前积分")).toDouble(), 110.0);
    QCOMPARE(q.value(QStringLiteral("兑后积分")).toDouble(), 105.0);
    QCOMPARE(q.value(QStringLiteral("加现金")).toDouble(), 25.0);
    QCOMPARE(Redemption::RecordColumnWidths().size(), titles.size());
}

void TestRedemption::refusalsWriteNothing_data()
{
    QTest::addColumn<QString>("setup"); // what happened after the window checked
    QTest::addColumn<QString>("value");
    QTest::addColumn<qint64>("points");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString none;
    const QString tooMuch = Redemption::PointsAboveCurrentMessage();
    QTest::newRow("points spent at another window")
        << "UPDATE User_Info SET User_Num = 29 WHERE User_Card = '1001'"
        << "50" << qint64(30) << "20"
        << "杯" << tooMuch << "Edit4";
    QTest::newRow("points spent down to the last one")
        << "UPDATE User_Info SET User_Num = 0.5 WHERE User_Card = '1001'"
        << "1" << qint64(1) << "0"
        << "杯" << tooMuch << "Edit4";
    QTest::newRow("member deleted meanwhile") << "DELETE FROM User_Info WHERE User_Card = '1001'"
                                              << "50" << qint64(30) << "20"
                                              << "杯"
                                              << "该会员已不存在（可能已被删除），不能兑分！"
                                              << "Edit1";
    QTest::newRow("more than the member has") << none << "500" << qint64(121) << "379"
                                              << "杯" << tooMuch << "Edit4";
    QTest::newRow("no points") << none << "50" << qint64(0) << "50"
                               << "杯"
                               << "所兑积分必须是大于0的正整数！"
                               << "Edit4";
    QTest::newRow("negative points") << none << "50" << qint64(-5) << "55"
                                     << "杯"
                                     << "所兑积分必须是大于0的正整数！"
                                     << "Edit4";
    QTest::newRow("points above the value") << none << "20" << qint64(30) << "0"
                                            << "杯"
                                            << "所兑积分不能大于价值！"
                                            << "Edit4";
    QTest::newRow("points beyond any amount")
        << none << "20" << std::numeric_limits<qint64>::max() << "0"
        << "杯"
        << "所兑积分不能大于价值！"
        << "Edit4";
    QTest::newRow("wrong cash") << none << "50" << qint64(30) << "5"
                                << "杯" << Redemption::WrongCashMessage() << "";
    QTest::newRow("negative cash") << none << "50" << qint64(30) << "-20"
                                   << "杯"
                                   << "加现金不能是负数！"
                                   << "Edit5";
    QTest::newRow("negative value") << none << "-1" << qint64(1) << "-2"
                                    << "杯"
                                    << "所兑积分不能大于价值！"
                                    << "Edit4";
    QTest::newRow("no item") << none << "50" << qint64(30) << "20"
                             << " "
                             << "物品不能为空！"
                             << "Edit2";
}

void TestRedemption::refusalsWriteNothing()
{
    QFETCH(QString, setup);
    QFETCH(QString, value);
    QFETCH(qint64, points);
    QFETCH(QString, cash);
    QFETCH(QString, item);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    DemoWithoutRedemptions t;
    RedemptionRequest request = Request(MemberId(t, QStringLiteral("1001")), "0", points, "0");
    request.entry.value = Yuan(value.toLatin1().constData());
    request.entry.cash = Money::parse(cash).value_or(Money());
    request.entry.item = item;
    if (!setup.isEmpty())
        t.db.exec(setup);
    const QStringList before = FaultInjection::Snapshot(t.db, RedemptionSnapshot);

    const RedemptionResult r = Redemption(t.db).Run(request);
    QVERIFY(r.refusal);
    QCOMPARE(r.refusal->message, message);
    QCOMPARE(r.refusal->focus, focus);
    QCOMPARE(r.cashId, qint64(0));
    QCOMPARE(FaultInjection::Snapshot(t.db, RedemptionSnapshot), before);
}

void TestRedemption::failingWriteLeavesNothing_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("points taken") << "BEFORE UPDATE OF User_Num ON User_Info";
    QTest::newRow("record written") << "BEFORE INSERT ON User_Cash";
    QTest::newRow("record written (after)") << "AFTER INSERT ON User_Cash";
}

void TestRedemption::failingWriteLeavesNothing()
{
    QFETCH(QString, trigger);
    DemoWithoutRedemptions t;
    const qint64 id = MemberId(t, QStringLiteral("1001"));
    QVERIFY(!Redemption(t.db).Run(Request(id, "10", 10, "0")).refusal); // a record before
    const RedemptionRequest request = Request(id, "50", 30, "20");

    FaultInjection::ExpectNothingWritten(t.db, trigger, RedemptionSnapshot,
                                         [&] { Redemption(t.db).Run(request); });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(Points(t, QStringLiteral("1001")), 110.0);

    // Once the fault is gone the same redemption goes through.
    const RedemptionResult r = Redemption(t.db).Run(request);
    QVERIFY(!r.refusal);
    QCOMPARE(Points(t, QStringLiteral("1001")), 80.0);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash")).toInt(), 2);
}

void TestRedemption::twoConnectionsNeverGoBelowZero()
{
    // Two windows looked the same member up (101 points) and both checked
    // 80 points against what they showed. The second to write is refused.
    DemoWithoutRedemptions t;
    SetPoints(t.db, QStringLiteral("1001"), 101);
    const qint64 id = MemberId(t, QStringLiteral("1001"));
    Database other(QStringLiteral("other-window"));
    other.open(t.file());

    const RedemptionTexts typed{QStringLiteral("杯"), QStringLiteral("100"), QStringLiteral("80"),
                                QStringLiteral("20"), QString()};
    const EntryCheck here = Redemption::CheckConfirmation(typed, 101);
    const EntryCheck there = Redemption::CheckConfirmation(typed, 101);
    QVERIFY(!here.refusal);
    QVERIFY(!there.refusal);

    RedemptionRequest first = Request(id, "100", 80, "20");
    first.entry = there.entry;
    const RedemptionResult done = Redemption(other).Run(first);
    QVERIFY(!done.refusal);
    QCOMPARE(done.points.after, 21.0);

    RedemptionRequest second = first;
    second.entry = here.entry;
    const QStringList before = FaultInjection::Snapshot(t.db, RedemptionSnapshot);
    const RedemptionResult refused = Redemption(t.db).Run(second);
    QVERIFY(refused.refusal);
    QCOMPARE(refused.refusal->message, QStringLiteral("所兑积分不能大于当前积分！"));
    QCOMPARE(FaultInjection::Snapshot(t.db, RedemptionSnapshot), before);
    QCOMPARE(Points(t, QStringLiteral("1001")), 21.0);

    // What is left may still be redeemed, from either window.
    const RedemptionResult rest = Redemption(t.db).Run(Request(id, "21", 21, "0"));
    QVERIFY(!rest.refusal);
    QCOMPARE(rest.points.before, 21.0);
    QCOMPARE(rest.points.after, 0.0);
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM User_Cash WHERE UserID = ?"), {id}).toInt(),
        2);
}

QTEST_GUILESS_MAIN(TestRedemption)
#include "tst_redemption.moc"
