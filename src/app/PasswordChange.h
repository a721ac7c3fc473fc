#pragma once

#include "context/Session.h"
#include "data/Refusal.h"

class Database;

// Changes the name and password of the logged-in operator's own row. The
// three texts are trimmed and quote-replaced like the login's; the group is
// not touched. Returns the refusal of the first box that is not right, or
// nothing after the row was changed. Throws DbError when the update fails.
Check ChangeOperatorPassword(Database &db, const LoginValues &login, const QString &typedName,
                             const QString &typedPassword, const QString &typedRepeat);

inline const QString PasswordChangedMessage = QStringLiteral("修改密码成功，需要重新登录！");
