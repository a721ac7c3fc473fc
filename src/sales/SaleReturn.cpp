#include "sales/SaleReturn.h"

#include "data/Database.h"
#include "members/MemberAccount.h"

namespace SaleReturn
{

namespace
{

Refusal Refuse(const QString &message, const QString &focus = QString())
{
    return Refusal{message, focus};
}

Money Positive(Money m)
{
    return m.isNegative() ? Money() : m;
}

// The inventory rows of a barcoded item take the goods back: counts by the
// quantity, amounts by the line amount.
void PutBackIntoInventory(Database &db, qint64 tiaoId, qint64 quantity, double amount)
{
    QSqlQuery tiao =
        db.exec(QStringLiteral("SELECT Pro_KuanID FROM Pro_Tiao WHERE Pro_TiaoID = ?"), {tiaoId});
    if (!tiao.next())
        return; // the item is no longer in the inventory: nothing to put back
    const qint64 kuanId = tiao.value(0).toLongLong();
    tiao.finish();
    const qint64 huoId =
        db.scalar(QStringLiteral("SELECT Pro_HuoID FROM Pro_Kuan WHERE Pro_KuanID = ?"), {kuanId})
            .toLongLong();
    const struct {
        const char *table, *prefix, *key;
        qint64 id;
    } rows[] = {{"Pro_Tiao", "Pro_TiaoAll", "Pro_TiaoID", tiaoId},
                {"Pro_Kuan", "Pro_KuanAll", "Pro_KuanID", kuanId},
                {"Pro_Huo", "Pro_All", "Pro_HuoID", huoId}};
    for (const auto &r : rows) {
        const QString p = QString::fromLatin1(r.prefix);
        db.exec(QStringLiteral("UPDATE %1 SET %2JinNum = %2JinNum + ?, %2SaleNum = %2SaleNum - ?, "
                               "%2TuiNum = %2TuiNum + ?, %2CunNum = %2CunNum + ?, "
                               "%2SaleJinE = %2SaleJinE - ?, %2TuiJinE = %2TuiJinE + ?, "
                               "%2CunJinE = %2CunJinE + ? WHERE %3 = ?")
                    .arg(QLatin1String(r.table), p, QLatin1String(r.key)),
                {quantity, quantity, quantity, quantity, amount, amount, amount, r.id});
    }
}

} // namespace

std::variant<Plan, Refusal> Prepare(Database &db, qint64 memberId, qint64 saleDetailId)
{
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT d.SaleID, d.UserID, d.ProSalePrice, d.ProShuliang, d.ProJiFen, "
                       "d.FReturnFlag, s.PriceAll, s.FCashAll, s.FCardAll "
                       "FROM S_SaleDetail d JOIN S_Sale s ON s.SaleID = d.SaleID "
                       "WHERE d.SaleDetailID = ?"),
        {saleDetailId});
    if (!q.next())
        return Refuse(QStringLiteral("没有找到该销售明细，请重新查询！"));
    if (q.value(5).toInt() != 0)
        return Refuse(AlreadyReturned);
    if (q.value(1).toLongLong() != memberId)
        return Refuse(QStringLiteral("该销售明细不属于当前会员，不能退货！"));
    Plan plan;
    plan.saleId = q.value(0).toLongLong();
    const double quantity = q.value(3).toDouble();
    plan.amount = Money::fromDouble(q.value(2).toDouble() * quantity);
    plan.points = q.value(4).toDouble() * quantity;
    if (Money::fromVariant(q.value(6)) < plan.amount)
        return Refuse(AboveSaleTotal);
    plan.saleCash = Positive(Money::fromVariant(q.value(7)));
    plan.saleCard = Positive(Money::fromVariant(q.value(8)));
    const bool cash = !plan.saleCash.isZero();
    const bool card = !plan.saleCard.isZero();
    plan.payment = cash && card ? Payment::Mixed
                   : cash       ? Payment::Cash
                   : card       ? Payment::Card
                                : Payment::None;
    return plan;
}

std::optional<Refusal> CheckSplit(const Plan &plan, const Split &s)
{
    const QString cashBox = QStringLiteral("edt_Cash");
    const QString cardBox = QStringLiteral("edt_Card");
    if (plan.amount < s.cash)
        return Refuse(QStringLiteral("录入的现金金额不能大于应退金额!"), cashBox);
    if (plan.amount < s.card)
        return Refuse(QStringLiteral("录入的储值卡金额不能大于应退金额!"), cashBox);
    if (plan.saleCash < s.cash)
        return Refuse(QStringLiteral("录入的现金金额不能大于实际退货现金金额!"), cashBox);
    // Stored value that was never paid in is never paid back.
    if (plan.saleCard < s.card)
        return Refuse(QStringLiteral("录入的储值卡金额不能大于实际退货储值卡金额!"), cardBox);
    if (plan.amount < s.cash + s.card)
        return Refuse(QStringLiteral("录入的现金金额、储值卡金额之和不能大于应退金额!"), cardBox);
    if (s.cash + s.card < plan.amount)
        return Refuse(QStringLiteral("录入的现金金额、储值卡金额之和不能小于应退金额!"), cardBox);
    if (s.cash.isNegative() || s.card.isNegative())
        return Refuse(QStringLiteral("退款金额不能为负数!"), cashBox);
    return std::nullopt;
}

Result Run(Database &db, const Request &r)
{
    Result result;
    Transaction tx(db);
    const std::variant<Plan, Refusal> prepared = Prepare(db, r.memberId, r.saleDetailId);
    if (const auto *refusal = std::get_if<Refusal>(&prepared)) {
        result.refusal = *refusal;
        return result;
    }
    const Plan plan = std::get<Plan>(prepared);
    Split refund; // what goes back in cash and to the stored value
    switch (plan.payment) {
    case Payment::Cash:
        refund.cash = plan.amount;
        break;
    case Payment::Card:
        refund.card = plan.amount;
        break;
    case Payment::Mixed:
        if (!r.split) {
            result.refusal =
                Refuse(QStringLiteral("该笔消费由现金和储值卡共同支付，请先确定退款方式！"));
            return result;
        }
        if (const std::optional<Refusal> refused = CheckSplit(plan, *r.split)) {
            result.refusal = refused;
            return result;
        }
        refund = *r.split;
        break;
    case Payment::None:
        break;
    }

    // Marking the line is what a second return of it can never do again.
    if (db.update(QStringLiteral("UPDATE S_SaleDetail SET FReturnFlag = 1 "
                                 "WHERE SaleDetailID = ? AND FReturnFlag = 0"),
                  {r.saleDetailId}) != 1) {
        result.refusal = Refuse(AlreadyReturned);
        return result;
    }
    QSqlQuery line = db.exec(
        QStringLiteral("SELECT SaleID, BrandID, ProSortID, DaoGouID, ProName, ProPrice, ProJiFen, "
                       "ProShuliang, FTiaoID, OrderOther, ProSalePrice FROM S_SaleDetail "
                       "WHERE SaleDetailID = ?"),
        {r.saleDetailId});
    line.next();
    const qint64 quantity = line.value(7).toLongLong();
    const double salePrice = line.value(10).toDouble();
    const qint64 tiaoId = line.value(8).toLongLong();
    result.returnLineId = db.insert(
        QStringLiteral("INSERT INTO S_SaleDetail (SaleID, BrandID, ProSortID, UserID, DaoGouID, "
                       "ProName, ProPrice, ProSalePrice, ProJiFen, ProShuliang, FReturnFlag, "
                       "OrderOther) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?)"),
        {line.value(0), line.value(1), line.value(2), r.memberId, line.value(3), line.value(4),
         -line.value(5).toDouble(), -salePrice, -line.value(6).toDouble(), -quantity,
         line.value(9)});
    line.finish();

    db.exec(QStringLiteral("UPDATE S_Sale SET PriceAll = PriceAll - ?, JiFenAll = JiFenAll - ?, "
                           "FCashAll = FCashAll - ?, FCardAll = FCardAll - ? WHERE SaleID = ?"),
            {plan.amount.toVariant(), plan.points, refund.cash.toVariant(), refund.card.toVariant(),
             plan.saleId});

    const QString mode =
        db.scalar(QStringLiteral("SELECT SaoMaYes FROM DataSeting LIMIT 1")).toString().trimmed();
    if (mode == QLatin1String("2") && tiaoId != 0)
        PutBackIntoInventory(db, tiaoId, quantity, salePrice * double(quantity));

    MemberAccount account(db, r.memberId);
    account.addPoints(-plan.points);
    account.addSpending(
        -(plan.payment == Payment::Mixed ? refund.cash + refund.card : plan.amount).toDouble());
    if (!refund.card.isZero())
        account.credit(refund.card);
    tx.commit();
    return result;
}

QuerySource History(qint64 memberId)
{
    const QString columns = QStringLiteral(
        "Select SaleDetailID as 序号, User_Name as 姓名, SaleDate as 消费日期,  ProName as 产品名, "
        "ProPrice as 单价, ProSalePrice as 折扣价, ProShuLiang as 数量, ProJiFen as 积分, "
        "BrandName as 品牌, ProSortName as 类别,   DaoGouName as 销售员, User_ID as 顾客编号, "
        "OrderOther as 备注 From SaleView ");
    if (memberId < 0)
        return {columns + QStringLiteral("where SaleID = -1 "), {}};
    return {columns + QStringLiteral("where UserID = ? and FReturnFlag = 0 "), {memberId}};
}

QuerySource ReturnedLinesExport()
{
    return {QStringLiteral("Select User_Name as 姓名, SaleDate as 销售日期,  ProName as 产品名, "
                           "BrandName as 品牌,  ProSortName as 类别,  ProPrice as 单价, "
                           "ProSalePrice as 折扣价, ProShuliang as 数量, (ProSalePrice * "
                           "Abs(ProShuliang)) as 合计金额, (ProJiFen * Abs(ProShuliang)) as "
                           "积分, DaogouName as 销售员, OrderOther as 备注 From SaleView where "
                           "FReturnFlag = 1 "),
            {}};
}

} // namespace SaleReturn
