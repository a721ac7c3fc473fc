#pragma once

#include <QDateTime>
#include <QString>

class Database;

// Makes new database files. The program itself never creates tables.
namespace DatabaseInitializer
{

// Creates every table, view, index and seed row on an empty database.
void createSchema(Database &db);
// A small living shop: lists, members, catalogue, inventory goods,
// service items, paid sales and recharges.
void addDemoData(Database &db, const QDateTime &now);
// A big shop for performance work: 100,000 members, 20,000 products and
// 1,000,000 sale lines.
void addLargeData(Database &db, const QDateTime &now);

// Creates `path` with the schema (and the chosen data). Refuses an existing
// file. Throws DbError on any failure, leaving no file behind.
void createFile(const QString &path, bool demo, bool large,
                const QDateTime &now = QDateTime::currentDateTime());

} // namespace DatabaseInitializer
