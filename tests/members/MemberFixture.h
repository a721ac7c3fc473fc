#pragma once

#include "data/Database.h"
#include "members/MemberRules.h"

#include <QDate>
#include <QString>

// Rows the member tests put into a fresh database.
namespace MemberFixture
{

struct MemberRow {
    QString card;
    QString name;
    double moneyAll = 0;
    QString birthday = QStringLiteral("1980-2-29");
    QString password = QStringLiteral("");
    QString validUntil = QStringLiteral("2025-12-31");
    QString sex = QStringLiteral("女");
};

inline qint64 addMember(Database &db, const MemberRow &m)
{
    return db.insert(
        QStringLiteral("INSERT INTO User_Info (User_Card, User_Name, User_Sex, User_Brithday, "
                       "User_Date, User_MoneyAll, User_CardPWD, User_ChuZhi, User_Num, "
                       "User_Tel, User_Address, User_Xiaofei) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, 88.5, 120, '0571-1234', '中山路1号', 'y')"),
        {m.card, m.name, m.sex, m.birthday, m.validUntil, m.moneyAll, m.password});
}

inline qint64 addMember(Database &db, const QString &card, const QString &name, double moneyAll = 0)
{
    MemberRow m;
    m.card = card;
    m.name = name;
    m.moneyAll = moneyAll;
    return addMember(db, m);
}

// One sale of `userId` with the given (price, quantity) lines; its SaleID.
inline qint64 addSale(Database &db, qint64 userId, const QString &date,
                      const QList<QPair<double, int>> &lines)
{
    double total = 0;
    for (const auto &l : lines)
        total += l.first * l.second;
    const qint64 sale = db.insert(
        QStringLiteral("INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, JiFenAll, "
                       "SaleDate, FCashAll) VALUES (?, 1, 1, ?, ?, ?, ?)"),
        {userId, total, total, date, total});
    int n = 0;
    for (const auto &l : lines) {
        ++n;
        db.insert(QStringLiteral("INSERT INTO S_SaleDetail (SaleID, UserID, ProName, ProPrice, "
                                 "ProSalePrice, ProJiFen, ProShuliang, FReturnFlag) "
                                 "VALUES (?, ?, ?, ?, ?, 1, ?, ?)"),
                  {sale, userId, QStringLiteral("菜品%1").arg(n), l.first, l.first, l.second,
                   l.second < 0 ? 1 : 0});
    }
    return sale;
}

// A complete, acceptable card as the card window would collect it.
inline MemberFields goodFields()
{
    MemberFields f;
    f.card = QStringLiteral("2001");
    f.name = QStringLiteral("周杰");
    f.sex = QStringLiteral("男");
    f.year = QStringLiteral("1980");
    f.month = QStringLiteral("2");
    f.day = QStringLiteral("29");
    f.tel = QStringLiteral("0571-8888");
    f.mobi = QStringLiteral("13900000000");
    f.address = QStringLiteral("解放路2号");
    f.work = QStringLiteral("教师");
    f.wenhua = QStringLiteral("本科");
    f.likeColor = QStringLiteral("清淡");
    f.size = QStringLiteral("鱼香肉丝");
    f.yaowei = QStringLiteral("靠窗");
    f.other = QStringLiteral("老顾客");
    f.expiry = QDate(2999, 1, 1);
    f.password = QStringLiteral("123");
    f.confirmPassword = QStringLiteral("123");
    return f;
}

} // namespace MemberFixture
