#include "app/MainRules.h"

#include "data/Database.h"

SaleScreen SaleScreenFor(const QString &saoMaYes)
{
    if (saoMaYes == QLatin1String("1"))
        return SaleScreen::Scan;
    if (saoMaYes == QLatin1String("2"))
        return SaleScreen::Retail;
    if (saoMaYes == QLatin1String("3"))
        return SaleScreen::External;
    return SaleScreen::Standard;
}

Check ProductsRefusal(Database &db)
{
    const QString mode =
        db.scalar(QStringLiteral("SELECT SaoMaYes FROM DataSeting LIMIT 1")).toString().trimmed();
    if (mode != QLatin1String("1"))
        return Refusal{QStringLiteral("对不起,此功能只能在系统支持扫码并做为独立软件时才可以使用!"),
                       QString()};
    return std::nullopt;
}

Check SettingsRefusal(const LoginValues &login)
{
    if (!login.isAdministrator())
        return Refusal{QStringLiteral("你不是管理员，无此权限！"), QString()};
    return std::nullopt;
}
