#include "products/ProductQueries.h"

#include "data/TextRules.h"

#include <QStringList>

namespace
{

QString goodsBase(const QString &mode)
{
    if (mode == QLatin1String("1"))
        return QStringLiteral("Select pro2id as 序号,Pro2Card as 编码, Pro2Name as 产品名,  "
                              "ProSortName as 分类, BrandName as 品牌 From Pro2_View_All where "
                              "Pro2Show = 1");
    if (mode == QLatin1String("2"))
        return QStringLiteral(
            "Select PH.Pro_HuoCard 货号, PH.Pro_HuoName 货名, PK.Pro_KuanCard 款号, "
            "PK.Pro_KuanXing 款型, SP.ProSortName 类名, SB.BrandName 品牌, SC.ColorName 颜色,  "
            "SS.SizeName 尺码, PT.Pro_TiaoTiaoMa 条码 From Pro_Tiao PT Inner Join Pro_Kuan PK On "
            "PT.Pro_KuanID = PK.Pro_KuanID Inner Join Pro_Huo PH On PH.Pro_HuoID = PK.Pro_HuoID "
            "Left Join SL_Color SC On PT.Pro_TiaoColorID = SC.ColorID Left Join SL_Size SS On "
            "SS.SizeID = PT.Pro_TiaoSizeID Left Join SL_Brand SB On PH.Pro_BrankID = SB.BrandID "
            "Left Join SL_ProSort SP On SP.ProSortID = PH.Pro_SordID ");
    if (mode == QLatin1String("3"))
        // An item's Category holds the negated Code of its category row.
        return QStringLiteral("Select PT.TypeID 序号, PT.UserCode 编码, PT.FullName 产品名,  "
                              "PTC.Name 品牌,  PT.BarCode 条码 From PType PT Left Join "
                              "PType_Category PTC On - PT.Category = PTC.Code ");
    return QString();
}

} // namespace

QuerySource Pro2ListSource(const ListCondition &condition)
{
    return {QStringLiteral("Select pro2id as 序号,Pro2Card as 编码, Pro2Name as 产品名,  "
                           "ProSortName as 分类, BrandName as 品牌, DanweiName as 单位, "
                           "Pro2ShouJia as 零售价,Pro2PifaJia as 批发价 ,Pro2TejiaYes as 是否特价,"
                           "Pro2Show as 是否销售 from Pro2_View_All ") +
                condition.sql + QStringLiteral(" Order by Pro2ID"),
            condition.binds};
}

ListCondition Pro2ShownCondition(bool includeNotOnSale)
{
    if (includeNotOnSale)
        return {};
    return {QStringLiteral(" where Pro2Show=1 "), {}};
}

ListCondition Pro2SpecialCondition()
{
    return {QStringLiteral(" where Pro2TejiaYes=1 "), {}};
}

ListCondition Pro2SearchCondition(const Pro2Search &search)
{
    ListCondition c;
    c.sql = search.includeNotOnSale ? QStringLiteral(" where Pro2Show>=0 ")
                                    : QStringLiteral(" where Pro2Show=1 ");
    if (!search.category.isEmpty()) {
        c.sql += QStringLiteral(" and ProSortName=?");
        c.binds << search.category;
    }
    if (!search.brand.isEmpty()) {
        c.sql += QStringLiteral(" and BrandName=? ");
        c.binds << search.brand;
    }
    if (!search.keyword.isEmpty()) {
        QString column;
        if (search.field == QStringLiteral("编码"))
            column = QStringLiteral("Pro2Card");
        else if (search.field == QStringLiteral("产品名"))
            column = QStringLiteral("Pro2Name");
        else if (search.field == QStringLiteral("拼音首字母"))
            column = QStringLiteral("Pro2PinYing");
        if (!column.isEmpty()) {
            c.sql += QStringLiteral(" and %1 like ?%2 ").arg(column, LikeEscape);
            c.binds << QStringLiteral("%") + LikeEscaped(search.keyword) + QStringLiteral("%");
        }
    }
    return c;
}

QuerySource GoodsQuerySource(const QString &mode, const GoodsFilter &filter)
{
    const QString base = goodsBase(mode);
    if (base.isEmpty())
        return {};
    QuerySource q{base, {}};
    if (mode == QLatin1String("1")) {
        if (!filter.name.isEmpty()) {
            q.sql += QStringLiteral(" And Pro2Name like ?") + LikeEscape;
            q.binds << LikeEscaped(filter.name) + QStringLiteral("%");
        }
        if (!filter.category.isEmpty()) {
            q.sql += QStringLiteral(" And  ProSortName = ?");
            q.binds << filter.category;
        }
        if (!filter.brand.isEmpty()) {
            q.sql += QStringLiteral(" And BrandName = ?");
            q.binds << filter.brand;
        }
        return q;
    }

    QStringList conditions;
    if (mode == QLatin1String("2")) {
        if (!filter.name.isEmpty()) {
            conditions << QStringLiteral("PH.Pro_HuoName like ?") + LikeEscape;
            q.binds << LikeEscaped(filter.name) + QStringLiteral("%");
        }
        if (!filter.category.isEmpty()) {
            conditions << QStringLiteral("SP.ProSortName = ?");
            q.binds << filter.category;
        }
        if (!filter.brand.isEmpty()) {
            conditions << QStringLiteral("SB.BrandName = ?");
            q.binds << filter.brand;
        }
    } else {
        // The host's items: the name matches anywhere; the category list does not filter.
        if (!filter.name.isEmpty()) {
            conditions << QStringLiteral("PT.FullName like ?") + LikeEscape;
            q.binds << QStringLiteral("%") + LikeEscaped(filter.name) + QStringLiteral("%");
        }
        if (!filter.brand.isEmpty()) {
            conditions << QStringLiteral("PTC.Name = ?");
            q.binds << filter.brand;
        }
    }
    if (!conditions.isEmpty()) {
        const QString joined = conditions.join(QStringLiteral(" And "));
        q.sql +=
            base.contains(QLatin1String("where")) ? joined : QStringLiteral(" Where ") + joined;
    }
    return q;
}

QString GoodsCodeColumn(const QString &mode)
{
    return mode == QLatin1String("1") ? QStringLiteral("编码") : QStringLiteral("条码");
}
