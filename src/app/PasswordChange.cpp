#include "app/PasswordChange.h"

#include "data/Database.h"
#include "data/TextRules.h"

Check ChangeOperatorPassword(Database &db, const LoginValues &login, const QString &typedName,
                             const QString &typedPassword, const QString &typedRepeat)
{
    const QString name = CleanText(typedName);
    const QString password = CleanText(typedPassword);
    const QString repeat = CleanText(typedRepeat);
    if (name.isEmpty())
        return Refusal{QStringLiteral("请输入操作员！"), QStringLiteral("Edit1")};
    if (password.isEmpty())
        return Refusal{QStringLiteral("请输入密码！"), QStringLiteral("Edit2")};
    if (repeat.isEmpty())
        return Refusal{QStringLiteral("请重复输入密码！"), QStringLiteral("Edit3")};
    if (password != repeat)
        return Refusal{QStringLiteral("两次输入密码不一样！"), QStringLiteral("Edit2")};

    const int changed = db.update(
        QStringLiteral("UPDATE admin SET Admin_Name = ?, Admin_Pwd = ? WHERE Admin_ID = ?"),
        {name, password, login.MyAdminID.toLongLong()});
    // Without its row the operator could log in neither way: never report
    // that as a success.
    if (changed != 1)
        throw DbError(QStringLiteral("找不到当前操作员的记录，密码未修改。"));
    return std::nullopt;
}
