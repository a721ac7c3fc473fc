#pragma once

#include "data/ShopSettings.h"

#include <QString>

// Who is logged in, with which rights and in which shop. Set by the login
// and read by every window; there is no log-out.
struct LoginValues {
    QString MyAdminName;                        // as typed in the name box, blanks included
    QString MyAdminID;                          // admin.Admin_ID as text
    QString MyAdminGroup;                       // "99" administrator, "1" sales clerk
    QString MyUserID;                           // a member handed from a list to the edit dialog
    QString MyDianMianID = QStringLiteral("0"); // "0": no fixed shop

    // The one administrator rule of every window: group "99", blanks around
    // the stored group ignored.
    bool isAdministrator() const { return MyAdminGroup.trimmed() == QLatin1String("99"); }
};

// The process-wide values of one run of the program.
struct Session {
    ShopSettings settings;
    LoginValues login;
};
