#pragma once

#include "data/Refusal.h"

#include <QDateTime>
#include <QString>

class Database;

// Copies of the program's database file, taken while it stays open.
class DatabaseBackup
{
public:
    // The proposed file name: year, month and day without leading zeros,
    // then hhmmss ("202435090702" on 5 March 2024 at 09:07:02).
    static QString DefaultFileName(const QDateTime &now);

    // The backup window's checks of its folder and name boxes.
    static Check Validate(const QString &folder, const QString &name);

    // Writes a consistent copy of the open database to folder/name. The copy
    // is made in a temporary file of that folder and only a finished copy
    // replaces a file of the same name, so a failed backup leaves an earlier
    // one untouched. False, with the reason in `why`, when it fails.
    static bool BackUp(Database &db, const QString &folder, const QString &name,
                       QString *why = nullptr);
};
