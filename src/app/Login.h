#pragma once

#include "context/Session.h"
#include "data/Refusal.h"

class Database;

// Checks an operator's name and password against the operator table.
// On success the login values are set (the name exactly as typed); on a
// refusal they are left alone. Throws DbError when the query fails.
Check LogIn(Database &db, const QString &typedName, const QString &typedPassword,
            LoginValues &values);

// The refusal of an unknown name or a wrong password; the dialog then
// empties both boxes.
inline const QString WrongLoginMessage = QStringLiteral("操作员或密码输入不正确，请重试！");

// The message shown when the settings cannot be read at start.
QString SettingsErrorMessage();
