#include "sales/Checkout.h"

#include "data/Database.h"
#include "data/Lookups.h"
#include "data/Money.h"
#include "data/TextRules.h"
#include "sales/OpenBill.h"
#include "sales/SaleLine.h"

namespace
{

CheckoutResult Refused(const QString &message, const QString &focus = QString())
{
    CheckoutResult r;
    r.refusal = Refusal{message, focus};
    return r;
}

// An amount typed in the dialog: a non-negative number of currency.
std::optional<Money> Amount(const QString &text)
{
    const std::optional<Money> m = Money::parse(text);
    if (!m || m->isNegative())
        return std::nullopt;
    return m;
}

struct DetailLine {
    QVariant brandId, sortId, daogouId, name, remark;
    double points = 0, price = 0, salePrice = 0, quantity = 0;
};

// Text columns are NOT NULL: a missing text is copied as ''.
QVariant NotNullText(const QVariant &value)
{
    const QString text = value.toString();
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QString Stamp(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QString Checkout::BillChangedMessage()
{
    return QStringLiteral("账单已被修改（可能在其他收银台），请核对后重新结帐！");
}

QString Checkout::CardLimitMessage(const QString &card, const QString &balance, const QString &due)
{
    return QStringLiteral("收付款方式中所输入的储值金额[") + card +
           QStringLiteral("]不能大于卡面金额[") + balance + QStringLiteral(" ]和应付金额[") + due +
           QStringLiteral("]!");
}

CheckoutResult Checkout::Run(const BillFigures &bill, const PaymentInput &payment)
{
    // Everything from the lookups to the last write is one transaction: a
    // refusal or a failure leaves the database as it was.
    Transaction tx(m_db);

    // The member and the shop must each be exactly one row: a sale is never
    // booked to another member or shop.
    const QString card = bill.card.trimmed();
    const int members =
        CountByName(m_db, QStringLiteral("User_Info"), QStringLiteral("User_Card"), card);
    if (members == 0)
        return Refused(QStringLiteral("没有找到卡号为[%1]的会员，不能结帐！").arg(card));
    if (members > 1)
        return Refused(
            QStringLiteral("卡号[%1]对应多个会员，无法确定付款的会员，不能结帐！").arg(card));
    const int memberId = GetUserIDByCard(m_db, card);
    const int shops =
        CountByName(m_db, QStringLiteral("SL_Store"), QStringLiteral("StoreName"), bill.shopName);
    if (shops == 0)
        return Refused(QStringLiteral("没有找到店名为[%1]的店面，请在消费界面重新选择店名！")
                           .arg(bill.shopName));
    if (shops > 1)
        return Refused(QStringLiteral("店名[%1]对应多个店面，无法确定结帐的店面，请与管理员联系。")
                           .arg(bill.shopName));
    const int storeId = GetStoreID(m_db, bill.shopName);

    const QString cashText = payment.cash.trimmed();
    const QString cardText = payment.card.trimmed();
    const std::optional<Money> cash = Amount(cashText.isEmpty() ? QStringLiteral("0") : cashText);
    const std::optional<Money> stored = Amount(cardText.isEmpty() ? QStringLiteral("0") : cardText);
    // Compared as values: "0.00" is as empty as "0".
    if (cash && stored && cash->isZero() && stored->isZero())
        return Refused(QStringLiteral("现金和储值卡金额不能同时为空，请重新输入现金或储值卡金额!"),
                       QStringLiteral("edt_Cash"));
    if (!cash)
        return Refused(Money::outOfRange(cashText)
                           ? Money::OutOfRangeMessage(QStringLiteral("现金金额"))
                           : QStringLiteral("现金金额只能为数字!"),
                       QStringLiteral("edt_Cash"));
    if (!stored)
        return Refused(Money::outOfRange(cardText)
                           ? Money::OutOfRangeMessage(QStringLiteral("储值卡金额"))
                           : QStringLiteral("储值卡金额只能为数字!"),
                       QStringLiteral("edt_Card"));
    const std::optional<Money> due = Amount(bill.total);
    const std::optional<double> total = ParseNumber(bill.total);
    const std::optional<double> points = ParseNumber(bill.points);
    if (!due || !total || !points)
        return Refused(QStringLiteral("应收金额或积分不是数字，不能结帐！"));

    // The open lines as stored now must be the bill the operator confirmed:
    // another till may have added or removed a line of the same member.
    const OpenBill::Totals now = OpenBill::TotalsOf(m_db, memberId);
    if (Money::parse(TotalText(now.amount)) != due || TotalText(now.points) != TotalText(*points)) {
        CheckoutResult changed = Refused(BillChangedMessage());
        changed.billChanged = true;
        return changed;
    }

    const Money balance = Money::fromVariant(m_db.scalar(
        QStringLiteral("SELECT User_ChuZhi FROM User_Info WHERE User_ID = ?"), {memberId}));
    if (balance < *stored)
        return Refused(QStringLiteral("储值卡内金额不足,请充值!"), QStringLiteral("edt_Card"));
    if (*stored > *due)
        return Refused(CardLimitMessage(cardText, bill.balance, bill.total),
                       QStringLiteral("edt_Card"));
    if (*cash + *stored < *due)
        return Refused(QStringLiteral("收款方式中实收金额必须大于等于应收金额!"),
                       QStringLiteral("edt_Cash"));

    QList<DetailLine> lines;
    QSqlQuery q = m_db.exec(
        QStringLiteral("SELECT BrandID, ProSortID, DaoGouID, ProName, OrderOther, ProJiFen, "
                       "ProPrice, ProSalePrice, ProShuLiang FROM S_Order WHERE UserID = ? "
                       "ORDER BY OrderID"),
        {memberId});
    while (q.next()) {
        DetailLine l;
        l.brandId = q.value(0).toInt();
        l.sortId = q.value(1).toInt();
        l.daogouId = q.value(2).toInt();
        l.name = NotNullText(q.value(3));
        l.remark = NotNullText(q.value(4));
        l.points = q.value(5).toDouble();
        l.price = q.value(6).toDouble();
        l.salePrice = q.value(7).toDouble();
        l.quantity = q.value(8).toDouble();
        lines << l;
    }
    q.finish();
    if (lines.isEmpty())
        return Refused(QStringLiteral("该会员没有未结帐的消费项目，不能结帐！"));

    const QString at = Stamp(payment.now);
    const qint64 saleId = m_db.insert(
        QStringLiteral("INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, JiFenAll, "
                       "SaleDate, SaleInputDate, FCashAll, FCardAll) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {memberId, payment.adminId, storeId, *total, *points, at, at, (*due - *stored).toVariant(),
         stored->toVariant()});
    m_db.exec(QStringLiteral("UPDATE User_Info SET User_ChuZhi = ? WHERE User_ID = ?"),
              {(balance - *stored).toVariant(), memberId});
    for (const DetailLine &l : lines) {
        m_db.exec(QStringLiteral("INSERT INTO S_SaleDetail (UserID, SaleID, BrandID, ProSortID, "
                                 "DaoGouID, ProName, OrderOther, ProJiFen, ProPrice, "
                                 "ProSalePrice, ProShuliang) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                 "?, ?)"),
                  {memberId, saleId, l.brandId, l.sortId, l.daogouId, l.name, l.remark,
                   qint64(SaleLine::RoundTo(l.points, 0)), l.price, l.salePrice,
                   qint64(SaleLine::RoundTo(l.quantity, 0))});
    }
    m_db.exec(QStringLiteral("UPDATE User_Info SET User_Num = User_Num + ?, "
                             "User_MoneyAll = User_MoneyAll + ? WHERE User_ID = ?"),
              {*points, *total, memberId});
    m_db.exec(QStringLiteral("DELETE FROM S_Order WHERE UserID = ?"), {memberId});
    tx.commit();

    CheckoutResult done;
    done.saleId = saleId;
    return done;
}
