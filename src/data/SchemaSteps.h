#pragma once

class Database;
class QString;

// The database's structure: the base schema (version 1) and the numbered
// steps that bring it to the version this program reads and writes.
// `PRAGMA user_version` holds the version of a file.
namespace SchemaSteps
{

inline constexpr int Latest = 3;

// The version the file records (0 for a file that is no database of ours).
int Version(Database &db);

// Creates every table, view, index and trigger of the latest version in an
// empty database, in one transaction.
void CreateLatest(Database &db);
// The same for an older version (1..Latest): how a file made by an earlier
// program looks, for trying the steps on it.
void CreateVersion(Database &db, int version);

// Brings a database of an older version up to Latest, step by step, in one
// transaction: a failure leaves it as it was. A database of a newer version
// than this program knows is refused with DbError; one of version 0 (not
// made by this program) is left alone.
void Upgrade(Database &db);

// Refreshes the statistics the query planner uses (after filling a database).
void Analyze(Database &db);
// Lets SQLite refresh the statistics it finds stale (before closing).
void Optimize(Database &db);

} // namespace SchemaSteps
