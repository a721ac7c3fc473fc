#include "sales/Checkout.h"

#include "data/Database.h"
#include "data/Lookups.h"
#include "data/Money.h"
#include "data/PaymentSplit.h"
#include "data/TextRules.h"
#include "members/MemberAccount.h"
#include "sales/SaleLine.h"

namespace
{

CheckoutResult Refused(const QString &message, const QString &focus = QString())
{
    CheckoutResult r;
    r.refusal = Refusal{message, focus};
    return r;
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

CheckoutResult Checkout::Run(const CheckoutRequest &r)
{
    // Everything from the lookups to the last write is one transaction: a
    // refusal or a failure leaves the database as it was.
    Transaction tx(m_db);

    MemberAccount account(m_db, r.memberId);
    if (!account.exists())
        return Refused(QStringLiteral("该会员已不存在（可能已被删除），不能结帐！"));
    // The shop must be exactly one row: a sale is never booked to another shop.
    const int shops =
        CountByName(m_db, QStringLiteral("SL_Store"), QStringLiteral("StoreName"), r.shopName);
    if (shops == 0)
        return Refused(
            QStringLiteral("没有找到店名为[%1]的店面，请在消费界面重新选择店名！").arg(r.shopName));
    if (shops > 1)
        return Refused(QStringLiteral("店名[%1]对应多个店面，无法确定结帐的店面，请与管理员联系。")
                           .arg(r.shopName));
    const int storeId = GetStoreID(m_db, r.shopName);

    if (r.cash.isZero() && r.stored.isZero())
        return Refused(QStringLiteral("现金和储值卡金额不能同时为空，请重新输入现金或储值卡金额!"),
                       QStringLiteral("edt_Cash"));
    if (r.cash.isNegative() || r.stored.isNegative())
        return Refused(QStringLiteral("现金和储值卡金额不能为负数!"), QStringLiteral("edt_Cash"));
    const QString dueText = TotalText(r.bill.amount);
    const std::optional<Money> due = Money::parse(dueText);
    if (!due)
        return Refused(Money::OutOfRangeMessage(QStringLiteral("应收金额")));

    // The open lines as stored now must be the bill the operator confirmed:
    // another till may have added or removed a line of the same member.
    const OpenBill::Totals now = OpenBill::TotalsOf(m_db, r.memberId);
    if (now.lines != r.bill.lines || TotalText(now.amount) != dueText ||
        TotalText(now.points) != TotalText(r.bill.points)) {
        CheckoutResult changed = Refused(BillChangedMessage());
        changed.billChanged = true;
        return changed;
    }
    if (now.lines == 0)
        return Refused(QStringLiteral("该会员没有未结帐的消费项目，不能结帐！"));

    const Money balance = account.balance();
    if (balance < r.stored)
        return Refused(QStringLiteral("储值卡内金额不足,请充值!"), QStringLiteral("edt_Card"));
    if (*due < r.stored)
        return Refused(CardLimitMessage(NumberText(r.stored.toDouble()),
                                        NumberText(balance.toDouble()), dueText),
                       QStringLiteral("edt_Card"));
    if (r.cash + r.stored < *due)
        return Refused(QStringLiteral("收款方式中实收金额必须大于等于应收金额!"),
                       QStringLiteral("edt_Cash"));

    QList<DetailLine> lines;
    QSqlQuery q = m_db.exec(
        QStringLiteral("SELECT BrandID, ProSortID, DaoGouID, ProName, OrderOther, ProJiFen, "
                       "ProPrice, ProSalePrice, ProShuLiang FROM S_Order WHERE UserID = ? "
                       "ORDER BY OrderID"),
        {r.memberId});
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

    const QString at = Stamp(r.now);
    const qint64 saleId = m_db.insert(
        QStringLiteral("INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, JiFenAll, "
                       "SaleDate, SaleInputDate, FCashAll, FCardAll) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {r.memberId, r.adminId, storeId, r.bill.amount, r.bill.points, at, at,
         (*due - r.stored).toVariant(), r.stored.toVariant()});
    if (!account.debit(r.stored))
        return Refused(QStringLiteral("储值卡内金额不足,请充值!"), QStringLiteral("edt_Card"));
    for (const DetailLine &l : lines) {
        m_db.exec(QStringLiteral("INSERT INTO S_SaleDetail (UserID, SaleID, BrandID, ProSortID, "
                                 "DaoGouID, ProName, OrderOther, ProJiFen, ProPrice, "
                                 "ProSalePrice, ProShuliang) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                 "?, ?)"),
                  {r.memberId, saleId, l.brandId, l.sortId, l.daogouId, l.name, l.remark,
                   qint64(SaleLine::RoundTo(l.points, 0)), l.price, l.salePrice,
                   qint64(SaleLine::RoundTo(l.quantity, 0))});
    }
    account.addPoints(r.bill.points);
    account.addSpending(r.bill.amount);
    m_db.exec(QStringLiteral("DELETE FROM S_Order WHERE UserID = ?"), {r.memberId});
    tx.commit();

    CheckoutResult done;
    done.saleId = saleId;
    return done;
}
