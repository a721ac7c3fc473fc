#include "data/ReportCriteria.h"

#include "data/Database.h"
#include "data/Lookups.h"

#include <QRegularExpression>
#include <QStringList>

namespace
{

const QString DayStart = QStringLiteral("yyyy-MM-dd 00:00:00");

// A column of the caller's select: a plain or table-qualified identifier.
QString column(const QString &name)
{
    static const QRegularExpression plain(
        QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)?$"));
    if (!plain.match(name).hasMatch())
        throw DbError(QStringLiteral("无效的名称：%1").arg(name));
    return name;
}

bool isAll(const QString &choice)
{
    const QString text = choice.trimmed();
    return text.isEmpty() || text == AllChoice;
}

// "column = ?" for a shop or operator chosen by name.
void addChoice(Database &db, const QString &name, const QString &columnName, MatchBy by,
               int (*lookup)(Database &, const QString &), QStringList &conditions,
               QVariantList &binds)
{
    if (columnName.isEmpty() || isAll(name))
        return;
    conditions << column(columnName) + QStringLiteral(" = ?");
    if (by == MatchBy::Name) {
        binds << name;
        return;
    }
    const int id = lookup(db, name);
    // An unknown name compares with NULL, which no row equals (id 0 is the
    // "none" of many rows and must not be matched).
    binds << (id > 0 ? QVariant(id) : QVariant());
}

} // namespace

Check ReportCriteria::check() const
{
    const auto inRange = [](const QDate &day) {
        return day >= FirstReportDay && day <= LastReportDay;
    };
    if (!startDay.isValid() || !inRange(startDay))
        return Refusal{QStringLiteral("开始日期无效，请重新选择！"), QStringLiteral("dtpStart")};
    if (!endDay.isValid() || !inRange(endDay))
        return Refusal{QStringLiteral("结束日期无效，请重新选择！"), QStringLiteral("dtpEnd")};
    if (refuseReversed && endDay < startDay)
        return Refusal{QStringLiteral("结束日期不能早于开始日期！"), QStringLiteral("dtpEnd")};
    return std::nullopt;
}

QString ReportCriteria::fromText() const
{
    return startDay.toString(DayStart);
}

QString ReportCriteria::untilText() const
{
    return endDay.addDays(1).toString(DayStart);
}

bool ReportCriteria::anyShop() const
{
    return isAll(shop);
}

bool ReportCriteria::anyOperator() const
{
    return isAll(operatorName);
}

bool ReportCriteria::anySalesPerson() const
{
    return isAll(salesPerson);
}

Check BuildReportWhere(Database &db, const ReportCriteria &criteria, const ReportColumns &columns,
                       QuerySource &where)
{
    where = QuerySource();
    if (const Check refusal = criteria.check())
        return refusal;
    const QString date = column(columns.date);
    QStringList conditions{date + QStringLiteral(" >= ?"), date + QStringLiteral(" < ?")};
    QVariantList binds{criteria.fromText(), criteria.untilText()};
    addChoice(db, criteria.shop, columns.shop, columns.shopBy, GetStoreID, conditions, binds);
    addChoice(db, criteria.operatorName, columns.operatorColumn, columns.operatorBy, GetAdminID,
              conditions, binds);
    addChoice(db, criteria.salesPerson, columns.salesPerson, columns.salesPersonBy, GetDaoGouID,
              conditions, binds);
    where.sql = conditions.join(QStringLiteral(" AND "));
    where.binds = binds;
    return std::nullopt;
}

QuerySource ReportShopNames()
{
    return {QStringLiteral("SELECT StoreName FROM SL_Store WHERE StoreShow = '1' ORDER BY StoreID"),
            {}};
}

QuerySource ReportOperatorNames()
{
    return {QStringLiteral("SELECT Admin_Name FROM admin ORDER BY Admin_ID"), {}};
}

QuerySource ReportSalesPersonNames()
{
    return {
        QStringLiteral("SELECT DaoGouName FROM SL_DaoGou WHERE DaoGouShow = '1' ORDER BY DaoGouID"),
        {}};
}
