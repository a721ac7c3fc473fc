#include "wallet/Redemption.h"

#include "data/Database.h"
#include "data/TextRules.h"

#include <QSqlRecord>

namespace
{

constexpr qint64 UnitsPerYuan = 10000;

Refusal Refused(const char *message, const char *focus)
{
    return {QString::fromUtf8(message), QLatin1String(focus)};
}

EntryCheck RefusedEntry(const Refusal &refusal)
{
    EntryCheck check;
    check.refusal = refusal;
    return check;
}

RedemptionResult RefusedRun(const Refusal &refusal)
{
    RedemptionResult result;
    result.refusal = refusal;
    return result;
}

// Text columns are NOT NULL: a missing text is written as ''.
QString NotNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Whole points as an amount of money; nothing beyond what Money holds
// (which is beyond any value, too).
std::optional<Money> PointsAsMoney(qint64 points)
{
    static const qint64 maxPoints = Money::parse(Money::MaxText())->units() / UnitsPerYuan;
    if (points < 0 || points > maxPoints)
        return std::nullopt;
    return Money::fromUnits(points * UnitsPerYuan);
}

// An amount typed into a box captioned `caption`: digits and points only,
// a number, and one that Money holds exactly.
std::optional<Money> ParseAmount(const QString &text, const QString &caption,
                                 const char *notNumberMessage, const char *focus,
                                 std::optional<Refusal> &refusal)
{
    if (!IsNumberText(text)) {
        refusal = Refused(notNumberMessage, focus);
        return std::nullopt;
    }
    const std::optional<Money> amount = Money::parse(text);
    if (!amount) {
        // "1.2.3" or "." pass the character check but are no number.
        refusal = Money::outOfRange(text)
                      ? Refusal{Money::OutOfRangeMessage(caption), QLatin1String(focus)}
                      : Refused(notNumberMessage, focus);
        return std::nullopt;
    }
    return amount;
}

} // namespace

QString Redemption::PointsAboveCurrentMessage()
{
    return QStringLiteral("所兑积分不能大于当前积分！");
}

QString Redemption::WrongCashMessage()
{
    return QStringLiteral("加现金数值不对，请点击加现金输入框，程序自动运算！");
}

CardLookup Redemption::FindCard(Database &db, const QString &typed)
{
    CardLookup found;
    const QString card = CleanText(typed);
    if (card.isEmpty()) {
        found.refusal = Refused("请输入卡号!", "Edit1");
        return found;
    }
    found.member = LoadMemberByCard(db, card);
    if (!found.member)
        found.refusal = Refused("没有查到此用户!", "Edit1");
    return found;
}

std::optional<Refusal> Redemption::ThresholdRefusal(const Member &member, int threshold)
{
    if (member.points > double(threshold))
        return std::nullopt;
    return Refusal{QStringLiteral("积分不够%1分，不能兑分！").arg(threshold),
                   QStringLiteral("Edit1")};
}

EntryCheck Redemption::CheckItem(const RedemptionTexts &typed, double memberPoints)
{
    EntryCheck check;
    RedemptionEntry &e = check.entry;

    e.item = CleanText(typed.item);
    if (e.item.isEmpty())
        return RefusedEntry(Refused("物品不能为空！", "Edit2"));

    const QString value = CleanText(typed.value);
    if (value.isEmpty())
        return RefusedEntry(Refused("价值不能为空！", "Edit3"));
    std::optional<Refusal> refusal;
    const std::optional<Money> parsedValue =
        ParseAmount(value, QStringLiteral("价值"), "价值只能输入数字！", "Edit3", refusal);
    if (!parsedValue)
        return RefusedEntry(*refusal);
    e.value = *parsedValue;

    QString points = CleanText(typed.points);
    if (points.isEmpty())
        return RefusedEntry(Refused("所兑积分不能为空！", "Edit4"));
    if (!IsDigitsText(points))
        return RefusedEntry(Refused("所兑积分必须是整数！", "Edit4"));
    while (points.startsWith(QLatin1Char('0')))
        points.remove(0, 1);
    if (points.isEmpty())
        return RefusedEntry(Refused("所兑积分必须是大于0的正整数！", "Edit4"));
    // Fifteen digits are held exactly; longer numbers are more points than
    // any member holds.
    if (points.size() > 15 || points.toDouble() > memberPoints)
        return RefusedEntry({PointsAboveCurrentMessage(), QStringLiteral("Edit4")});
    e.points = points.toLongLong();
    const std::optional<Money> pointsMoney = PointsAsMoney(e.points);
    if (!pointsMoney || *pointsMoney > e.value)
        return RefusedEntry(Refused("所兑积分不能大于价值！", "Edit4"));
    return check;
}

QString Redemption::AutomaticCashText(const RedemptionEntry &entry)
{
    const Money points = PointsAsMoney(entry.points).value_or(Money());
    return NumberText((entry.value - points).toDouble());
}

EntryCheck Redemption::CheckConfirmation(const RedemptionTexts &typed, double memberPoints)
{
    EntryCheck check = CheckItem(typed, memberPoints);
    if (check.refusal)
        return check;
    RedemptionEntry &e = check.entry;

    const QString cash = CleanText(typed.cash);
    if (cash.isEmpty())
        return RefusedEntry(Refused("加现金不能为空！", "Edit5"));
    std::optional<Refusal> refusal;
    const std::optional<Money> parsedCash =
        ParseAmount(cash, QStringLiteral("加现金"), "加现金必须是数字！", "Edit5", refusal);
    if (!parsedCash)
        return RefusedEntry(*refusal);
    if (parsedCash->isNegative())
        return RefusedEntry(Refused("加现金不能是负数！", "Edit5"));
    e.cash = *parsedCash;
    // Compared exactly: the text the cash box is filled with parses back to
    // this very difference.
    if (e.cash != e.value - *PointsAsMoney(e.points))
        return RefusedEntry({WrongCashMessage(), QString()});
    e.remark = CleanText(typed.remark);
    return check;
}

RedemptionResult Redemption::Run(const RedemptionRequest &r)
{
    const RedemptionEntry &e = r.entry;
    // What the window checked, checked again: a request never writes what
    // the window would have refused.
    if (e.item.trimmed().isEmpty())
        return RefusedRun(Refused("物品不能为空！", "Edit2"));
    if (e.points <= 0)
        return RefusedRun(Refused("所兑积分必须是大于0的正整数！", "Edit4"));
    const std::optional<Money> pointsMoney = PointsAsMoney(e.points);
    if (!pointsMoney || *pointsMoney > e.value)
        return RefusedRun(Refused("所兑积分不能大于价值！", "Edit4"));
    if (e.cash.isNegative())
        return RefusedRun(Refused("加现金不能是负数！", "Edit5"));
    if (e.cash != e.value - *pointsMoney)
        return RefusedRun({WrongCashMessage(), QString()});

    // From the member's row to the record, one transaction: the points are
    // those stored now, and another window waits until this one is done.
    Transaction tx(m_db);
    const std::optional<Member> member = LoadMember(m_db, r.memberId);
    if (!member)
        return RefusedRun(Refused("该会员已不存在（可能已被删除），不能兑分！", "Edit1"));
    const std::optional<AccountChange<double>> change =
        MemberAccount(m_db, r.memberId).takePoints(double(e.points));
    if (!change)
        return RefusedRun({PointsAboveCurrentMessage(), QStringLiteral("Edit4")});

    const qint64 cashId = m_db.insert(
        QStringLiteral("INSERT INTO User_Cash (UserID, UserCard, UserName, CashProName, "
                       "CashProPrice, CashNumOld, CashNum, CashNumNew, CashAddMoney, CashOther, "
                       "CashAdmin, CashDate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {r.memberId, NotNull(member->card), NotNull(member->name), NotNull(e.item),
         e.value.toVariant(), change->before, e.points, change->after, e.cash.toVariant(),
         NotNull(e.remark), NotNull(r.admin),
         r.now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
    tx.commit();

    RedemptionResult done;
    done.cashId = cashId;
    done.points = *change;
    return done;
}

QuerySource Redemption::Records(qint64 memberId)
{
    QString sql = QStringLiteral(
        "SELECT CashID AS 序号, UserCard AS 卡号, UserName AS 姓名, CashProName AS 产品名, "
        "CashProPrice AS 价值, CashNum AS 兑分, CashAddMoney AS 加现金, CashNumOld AS 兑前积分, "
        "CashNumNew AS 兑后积分, CashAdmin AS 操作员, CashDate AS 时间, CashOther AS 备注 "
        "FROM User_Cash");
    if (memberId == 0)
        return {sql + QStringLiteral(" ORDER BY CashID DESC"), {}};
    return {sql + QStringLiteral(" WHERE UserID = ? ORDER BY CashID DESC"), {memberId}};
}

QList<int> Redemption::RecordColumnWidths()
{
    return {60, 80, 70, 120, 60, 60, 60, 60, 60, 60, 108, 100};
}
