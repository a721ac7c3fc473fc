#include "sales/OpenBill.h"

#include "data/Database.h"
#include "data/Lookups.h"

namespace OpenBill
{

namespace
{
// Text columns are NOT NULL: an empty field is stored as ''.
QVariant Text(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}
} // namespace

QuerySource Statement(int userId)
{
    return {QStringLiteral("SELECT OrderID AS 序号, ProSortName AS 类别, ProName AS 产品, "
                           "ProPrice AS 价格, ProSalePrice AS 打折价, ProJifen AS 积分, "
                           "ProShuliang AS 数量, ProSalePrice2 AS 总价格, ProJifen2 AS 总积分, "
                           "BrandName AS 品牌, DaogouName AS 导购, StoreName AS 店名 "
                           "FROM S_Order_All WHERE UserID = ? ORDER BY OrderID"),
            {userId}};
}

QList<int> ColumnWidths()
{
    return {60, 80, 200, 60, 60, 60, 60, 60, 60, 90, 50, 75};
}

Totals TotalsOf(Database &db, int userId)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT TOTAL(ProSalePrice2), TOTAL(ProJifen2), COUNT(*) "
                                         "FROM S_Order WHERE UserID = ?"),
                          {userId});
    Totals t;
    if (q.next()) {
        t.amount = q.value(0).toDouble();
        t.points = q.value(1).toDouble();
        t.lines = q.value(2).toInt();
    }
    return t;
}

qint64 AddLine(Database &db, int userId, int adminId, const SaleLineInput &in,
               const SaleLineFigures &f)
{
    const int storeId = GetStoreID(db, in.store);
    const int brandId = GetBrandID(db, in.brand);
    const int sortId = GetProSortID(db, in.category);
    const int daogouId = GetDaoGouID(db, in.daogou);
    return db.insert(
        QStringLiteral("INSERT INTO S_Order (UserID, StoreID, BrandID, ProSortID, DaoGouID, "
                       "AdminID, ProName, ProPrice, ProSalePrice, ProShuLiang, ProJiFen, "
                       "ProSalePrice2, ProJifen2, OrderOther) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {userId, storeId, brandId, sortId, daogouId, adminId, Text(in.name), f.price, f.salePrice,
         f.quantity, f.points, f.amount, f.linePoints, Text(in.remark)});
}

void DeleteLine(Database &db, qint64 orderId)
{
    db.exec(QStringLiteral("DELETE FROM S_Order WHERE OrderID = ?"), {orderId});
}

void Abandon(Database &db, int userId)
{
    db.exec(QStringLiteral("DELETE FROM S_Order WHERE UserID = ?"), {userId});
}

} // namespace OpenBill
