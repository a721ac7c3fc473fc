#pragma once

#include <QString>

// Constants of the program shown on its windows.
namespace AppInfo
{
inline const QString AppTitle = QStringLiteral("百纳餐饮会员管理系统");
inline const QString ShortTitle = QStringLiteral("百纳会员管理系统");
inline const QString VersionText = QStringLiteral("标准版  版本 1.0");
inline const QString DbFileName = QStringLiteral("BNA_Member.dll");
inline const QString MemberFieldCaption1 = QStringLiteral("口味");
inline const QString MemberFieldCaption2 = QStringLiteral("常点菜");
inline const QString MemberFieldCaption3 = QStringLiteral("其他信息");
inline const QString PublishFlag = QStringLiteral("0");
inline const QString StatusText = QStringLiteral("欢迎使用百纳餐饮会员管理系统！");
inline const QString VendorContact = QStringLiteral("联系电话：400-000-0000");
inline const QString DefaultOperator = QStringLiteral("admin");
inline const QString PublishUrl = QStringLiteral("https://www.example.com/memberpos/news");
inline const QString UpgradeUrl = QStringLiteral("https://www.example.com/memberpos/upgrade");
} // namespace AppInfo
