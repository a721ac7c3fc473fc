#include "app/Login.h"

#include "context/AppInfo.h"
#include "data/Database.h"
#include "data/TextRules.h"

Check LogIn(Database &db, const QString &typedName, const QString &typedPassword,
            LoginValues &values)
{
    const QString name = CleanText(typedName);
    const QString password = CleanText(typedPassword);
    if (name.isEmpty())
        return Refusal{QStringLiteral("操作员不能为空！"), QStringLiteral("edtUserName")};
    if (password.isEmpty())
        return Refusal{QStringLiteral("密码不能为空！"), QStringLiteral("edtUserPWD")};

    QSqlQuery q = db.exec(QStringLiteral("SELECT Admin_ID, Admin_Group FROM admin "
                                         "WHERE Admin_Name = ? AND Admin_Pwd = ? "
                                         "ORDER BY Admin_ID LIMIT 1"),
                          {name, password});
    if (!q.next())
        return Refusal{WrongLoginMessage, QStringLiteral("edtUserName")};
    values.MyAdminName = typedName;
    values.MyAdminID = q.value(0).toString();
    values.MyAdminGroup = q.value(1).toString();
    return std::nullopt;
}

QString SettingsErrorMessage()
{
    return QStringLiteral("程序出现错误，错误号0503，请与百纳软件联系。") + QLatin1Char('\n') +
           AppInfo::VendorContact;
}
