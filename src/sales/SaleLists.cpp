#include "sales/SaleLists.h"

#include "data/Database.h"

namespace SaleLists
{

QuerySource Brands()
{
    return {QStringLiteral("SELECT TRIM(BrandName) FROM SL_Brand WHERE BrandShow = '1' "
                           "ORDER BY rowid"),
            {}};
}

QuerySource Categories()
{
    return {QStringLiteral("SELECT TRIM(ProSortName) FROM SL_ProSort WHERE ProSortShow = '1' "
                           "ORDER BY rowid"),
            {}};
}

QuerySource Daogou()
{
    return {QStringLiteral("SELECT TRIM(DaoGouName) FROM SL_DaoGou WHERE DaoGouShow = '1' "
                           "ORDER BY rowid"),
            {}};
}

QuerySource Shops(const QString &dianMianId)
{
    if (dianMianId.trimmed() != QLatin1String("0") && !dianMianId.trimmed().isEmpty())
        return {QStringLiteral("SELECT TRIM(StoreName) FROM SL_Store WHERE StoreShow = '1' AND "
                               "StoreID = ? ORDER BY rowid"),
                {dianMianId.trimmed().toLongLong()}};
    return {QStringLiteral("SELECT TRIM(StoreName) FROM SL_Store WHERE StoreShow = '1' "
                           "ORDER BY rowid"),
            {}};
}

Discounts LoadDiscounts(Database &db)
{
    Discounts d;
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT TRIM(ZhekouValue), TRIM(ZhekouSelected) FROM SL_Zhekou ORDER BY rowid"));
    while (q.next()) {
        if (q.value(1).toString() == QLatin1String("1"))
            d.selected = int(d.values.size());
        d.values << q.value(0).toString();
    }
    return d;
}

} // namespace SaleLists

namespace SaleLists
{

std::optional<ScannedProduct> ProductByCode(Database &db, const QString &code)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT ProSortName, BrandName, Pro2Name, Pro2ShouJia "
                                         "FROM Pro2_View_All WHERE Pro2Card = ? AND Pro2Show = 1 "
                                         "ORDER BY Pro2ID LIMIT 1"),
                          {code});
    if (!q.next())
        return std::nullopt;
    ScannedProduct p;
    p.category = q.value(0).toString().trimmed();
    p.brand = q.value(1).toString().trimmed();
    p.name = q.value(2).toString().trimmed();
    p.price = q.value(3).toString().trimmed();
    return p;
}

bool HasShop(Database &db, const QString &dianMianId)
{
    const QuerySource shops = Shops(dianMianId);
    return db.exec(shops.sql, shops.binds).next();
}

} // namespace SaleLists
