#pragma once

#include <QString>

class Database;

// Id-by-name lookups: the id of the first row whose name column equals the
// value, or 0 when none does. Table and column names must be plain
// identifiers of our schema; the value is always bound.
int GetObjID(Database &db, const QString &table, const QString &nameColumn, const QString &value,
             const QString &idColumn);
int GetBrandID(Database &db, const QString &name);
int GetDanweiID(Database &db, const QString &name);
int GetProSortID(Database &db, const QString &name);
int GetStoreID(Database &db, const QString &name);
int GetDaoGouID(Database &db, const QString &name);
int GetAdminID(Database &db, const QString &name);
int GetUserIDByCard(Database &db, const QString &card);
int GetUserIDByName(Database &db, const QString &name);
int GetServiceIDByName(Database &db, const QString &name);
int GetServiceIDByCard(Database &db, const QString &card);

// Counts the rows whose name column equals the value: checkouts use it to
// refuse a name that does not resolve to exactly one row.
int CountByName(Database &db, const QString &table, const QString &nameColumn,
                const QString &value);
