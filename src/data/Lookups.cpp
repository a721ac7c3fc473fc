#include "data/Lookups.h"

#include "data/Database.h"

#include <QRegularExpression>

namespace
{

QString identifier(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(name).hasMatch())
        throw DbError(QStringLiteral("无效的名称：%1").arg(name));
    return name;
}

} // namespace

int GetObjID(Database &db, const QString &table, const QString &nameColumn, const QString &value,
             const QString &idColumn)
{
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? ORDER BY rowid LIMIT 1")
                            .arg(identifier(idColumn), identifier(table), identifier(nameColumn));
    return db.scalar(sql, {value}, 0).toInt();
}

int CountByName(Database &db, const QString &table, const QString &nameColumn, const QString &value)
{
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?")
                            .arg(identifier(table), identifier(nameColumn));
    return db.scalar(sql, {value}, 0).toInt();
}

int GetBrandID(Database &db, const QString &name)
{
    if (name.isEmpty())
        return 0;
    return GetObjID(db, QStringLiteral("SL_Brand"), QStringLiteral("BrandName"), name,
                    QStringLiteral("BrandID"));
}

int GetDanweiID(Database &db, const QString &name)
{
    if (name.isEmpty())
        return 0;
    return GetObjID(db, QStringLiteral("SL_Danwei"), QStringLiteral("DanweiName"), name,
                    QStringLiteral("DanweiID"));
}

int GetProSortID(Database &db, const QString &name)
{
    if (name.isEmpty())
        return 0;
    return GetObjID(db, QStringLiteral("SL_ProSort"), QStringLiteral("ProSortName"), name,
                    QStringLiteral("ProSortID"));
}

int GetStoreID(Database &db, const QString &name)
{
    return GetObjID(db, QStringLiteral("SL_Store"), QStringLiteral("StoreName"), name,
                    QStringLiteral("StoreID"));
}

int GetDaoGouID(Database &db, const QString &name)
{
    return GetObjID(db, QStringLiteral("SL_DaoGou"), QStringLiteral("DaoGouName"), name,
                    QStringLiteral("DaoGouID"));
}

int GetAdminID(Database &db, const QString &name)
{
    return GetObjID(db, QStringLiteral("admin"), QStringLiteral("Admin_Name"), name,
                    QStringLiteral("Admin_ID"));
}

int GetUserIDByCard(Database &db, const QString &card)
{
    return GetObjID(db, QStringLiteral("User_Info"), QStringLiteral("User_Card"), card,
                    QStringLiteral("User_ID"));
}

int GetUserIDByName(Database &db, const QString &name)
{
    return GetObjID(db, QStringLiteral("User_Info"), QStringLiteral("User_Name"), name,
                    QStringLiteral("User_ID"));
}

int GetServiceIDByName(Database &db, const QString &name)
{
    return GetObjID(db, QStringLiteral("TblServiceInfo"), QStringLiteral("FServiceName"), name,
                    QStringLiteral("FID"));
}

int GetServiceIDByCard(Database &db, const QString &card)
{
    return GetObjID(db, QStringLiteral("TblServiceInfo"), QStringLiteral("FServiceCard"), card,
                    QStringLiteral("FID"));
}
