#include "wallet/Recharge.h"

#include "data/Database.h"

#include <QSqlRecord>

namespace
{

const QString AmountBox = QStringLiteral("edt_AddMoney");

RechargeResult Refused(const QString &message, const QString &focus = QString())
{
    RechargeResult r;
    r.refusal = Refusal{message, focus};
    return r;
}

RechargeAmount RefusedAmount(const QString &message)
{
    RechargeAmount r;
    r.refusal = Refusal{message, AmountBox};
    return r;
}

QString Stamp(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The grid's columns; the view keeps records whose member or store is gone.
const QString HistoryColumns = QStringLiteral(
    "SELECT FBillNo AS 单据号, User_Card AS 卡号, User_Name AS 姓名, FAddMoney AS 充值金额, "
    "FBeforeMoney AS 充值前金额, FAfterMoney AS 充值后金额, FDate AS 充值日期, "
    "StoreName AS 门店, FMaker AS 操作人 FROM AddMoneyView ");
// Newest first; records of the same second in the order they were written.
const QString NewestFirst = QStringLiteral("ORDER BY FDate DESC, FID DESC");

} // namespace

QString Recharge::BillNo(const QDate &date, qint64 rows)
{
    return date.toString(QStringLiteral("yyyyMMdd")) + QString::number(rows + 1);
}

QString Recharge::NextBillNo(Database &db, const QDate &date)
{
    return BillNo(
        date, db.scalar(QStringLiteral("SELECT COUNT(*) FROM TblAddMoney"), {}, 0).toLongLong());
}

std::optional<Member> Recharge::FindCard(Database &db, const QString &typed)
{
    // Two rows at most tell "exactly one" from "more than one".
    QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM User_Info WHERE User_Card = ? LIMIT 2"),
                          {typed.trimmed()});
    if (!q.next())
        return std::nullopt;
    const Member found = Member::FromRecord(q.record());
    if (q.next())
        return std::nullopt; // a card held by two members belongs to neither
    return found;
}

QuerySource Recharge::History()
{
    return {HistoryColumns + NewestFirst, {}};
}

QuerySource Recharge::CardHistory(const QString &card)
{
    return {HistoryColumns + QStringLiteral("WHERE User_Card = ? ") + NewestFirst, {card}};
}

QuerySource Recharge::Stores(const QString &dianMianId)
{
    if (dianMianId != QLatin1String("0"))
        return {QStringLiteral("SELECT StoreID, StoreName FROM SL_Store "
                               "WHERE StoreShow = '1' AND StoreID = ? ORDER BY StoreID"),
                {dianMianId.trimmed()}};
    return {QStringLiteral("SELECT StoreID, StoreName FROM SL_Store WHERE StoreShow = '1' "
                           "ORDER BY StoreID"),
            {}};
}

bool Recharge::IsAmountText(const QString &text)
{
    for (const QChar c : text) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('-') &&
            c != QLatin1Char('.'))
            return false;
    }
    return true;
}

RechargeAmount Recharge::ParseAmount(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return RefusedAmount(QStringLiteral("请输入充值金额!"));
    if (text.size() > MaxAmountLength)
        return RefusedAmount(QStringLiteral("充值金额长度不能超过9位!"));
    // Only an optional minus, digits and one point: "-", "1-2", "--5",
    // "1.2.3" and letters are no amount.
    const QString notANumber = QStringLiteral("充值金额只能为数字!");
    if (!IsAmountText(text))
        return RefusedAmount(notANumber);
    if (Money::outOfRange(text))
        return RefusedAmount(Money::OutOfRangeMessage(QStringLiteral("充值金额")));
    const std::optional<Money> amount = Money::parse(text);
    if (!amount)
        return RefusedAmount(notANumber);
    RechargeAmount r;
    r.amount = amount;
    return r;
}

QString Recharge::WithdrawalQuestion()
{
    return QStringLiteral("充值金额为负数, 此操作相当于提现, 是否继续操作?");
}

RechargeResult Recharge::Run(const RechargeRequest &r)
{
    if (r.amount.isZero())
        return Refused(QStringLiteral("充值金额不能为零!"), AmountBox);

    // From the checks to the last write one transaction: the member, the
    // store, the balance and the number of records are read as they are now.
    Transaction tx(m_db);
    MemberAccount account(m_db, r.memberId);
    if (!account.exists())
        return Refused(QStringLiteral("该会员已不存在（可能已被删除），不能充值！"),
                       QStringLiteral("edt_CardNo"));
    if (!m_db.exec(QStringLiteral("SELECT 1 FROM SL_Store WHERE StoreID = ?"), {r.storeId}).next())
        return Refused(QStringLiteral("所选门店已不存在，请重新选择门店！"),
                       QStringLiteral("cbStore"));

    const QString billNo = NextBillNo(m_db, r.now.date());
    // A negative amount is a withdrawal: it may take the balance below zero.
    const AccountChange<Money> change = account.credit(r.amount);
    const qint64 id =
        m_db.insert(QStringLiteral("INSERT INTO TblAddMoney (FBillNo, UserID, FStoreID, FAddMoney, "
                                   "FBeforeMoney, FAfterMoney, FDate, FMaker, FAdminID) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {billNo, r.memberId, r.storeId, r.amount.toVariant(), change.before.toVariant(),
                     change.after.toVariant(), Stamp(r.now), r.maker, r.adminId});
    tx.commit();

    RechargeResult done;
    done.recordId = id;
    done.billNo = billNo;
    done.balance = change;
    return done;
}
