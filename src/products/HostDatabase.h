#pragma once

#include "data/Database.h"

#include <QString>

// The host system's database of sale mode "3" (tables PType and
// PType_CateGory): a SQLite file named in the settings, opened read-only on
// a connection of its own beside the program's database.
class HostDatabase
{
public:
    HostDatabase();
    HostDatabase(const HostDatabase &) = delete;
    HostDatabase &operator=(const HostDatabase &) = delete;

    // Opens the file (again, when another file was open). Throws DbError with
    // a message for the operator when no file is set, the file is missing or
    // unreadable, or it is not a database.
    void open(const QString &path);
    bool isOpen() const { return m_db.isOpen(); }
    QString path() const { return m_path; }
    Database &db() { return m_db; }

private:
    Database m_db;
    QString m_path;
};
