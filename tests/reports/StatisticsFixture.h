#pragma once

// A small shop for the statistics tests: two shops, two operators, two
// members, a handful of sales around 5 March 2024 and a few recharges.
//
//   sale  stamp                shop    operator  lines (price x qty, points)
//   S1    2024-03-05 10:00:00  总店    admin     10 x 1 (10), 5 x 2 (5)      20 points, cash 15,
//   card 5 S2    2024-03-04 18:30:00  二分店  收银员    10 x 1 (10), returned: -10 x -1 (-10) S3
//   2024-03-05 23:59:59  总店    收银员    8 x 1 (8)                    cash 8 S4    2024-03-06
//   00:00:00  总店    admin     100 x 1 (100)                cash 100 S5    2024-03-03 23:59:59
//   二分店  admin     5 x 1 (5)                    card 5
//
// S2's line came back as the return writes it: the sold line marked, a copy
// with price, quantity and points negated in the same sale, the sale's
// totals lowered to nothing.
//
//   recharge  stamp                shop    operator  amount
//   R1        2024-03-05 09:00:00  总店    admin      100
//   R2        2024-03-05 23:59:59  二分店  收银员      50
//   R3        2024-03-06 00:00:00  总店    admin     1000
//   R4        2024-03-04 12:00:00  总店    admin      -20
//
// Members' stored value: 100 and 50.5 (总卡内余额 150.50).

#include "support/TestDatabase.h"

namespace StatisticsFixture
{

inline void AddLine(TestDatabase &t, qint64 sale, int user, const QString &name, double price,
                    int qty, double points, int daogou = 1, int flag = 0)
{
    t.db.exec(QStringLiteral("INSERT INTO S_SaleDetail (SaleID, UserID, BrandID, ProSortID, "
                             "DaoGouID, ProName, ProPrice, ProSalePrice, ProJiFen, ProShuliang, "
                             "FReturnFlag) VALUES (?, ?, 1, 1, ?, ?, ?, ?, ?, ?, ?)"),
              {sale, user, daogou, name, price, price, points, qty, flag});
}

inline qint64 AddSale(TestDatabase &t, const QString &stamp, int store, int admin, int user,
                      double price, double points, double cash, double card)
{
    return t.db.insert(QStringLiteral("INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, "
                                      "JiFenAll, SaleDate, SaleInputDate, FCashAll, FCardAll) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {user, admin, store, price, points, stamp, stamp, cash, card});
}

inline void AddRecharge(TestDatabase &t, const QString &bill, const QString &stamp, int store,
                        int admin, int user, double amount)
{
    t.db.exec(QStringLiteral("INSERT INTO TblAddMoney (FBillNo, UserID, FStoreID, FAddMoney, "
                             "FBeforeMoney, FAfterMoney, FDate, FMaker, FAdminID) "
                             "VALUES (?, ?, ?, ?, 0, ?, ?, "
                             "(SELECT Admin_Name FROM admin WHERE Admin_ID = ?), ?)"),
              {bill, user, store, amount, amount, stamp, admin, admin});
}

inline void Fill(TestDatabase &t)
{
    t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('二分店')"));
    t.db.exec(QStringLiteral("INSERT INTO admin (Admin_Name, Admin_Pwd, Admin_Group) "
                             "VALUES ('收银员', '1234', '1')"));
    t.db.exec(QStringLiteral("INSERT INTO SL_DaoGou (DaoGouName) VALUES ('张丽'), ('王强')"));
    t.db.exec(QStringLiteral("INSERT INTO SL_ProSort (ProSortName) VALUES ('热菜')"));
    t.db.exec(QStringLiteral("INSERT INTO User_Info (User_Card, User_Name, User_ChuZhi) "
                             "VALUES ('1001', '王建国', 100), ('1002', '李秀英', 50.5)"));

    const qint64 s1 = AddSale(t, QStringLiteral("2024-03-05 10:00:00"), 1, 1, 1, 20, 20, 15, 5);
    AddLine(t, s1, 1, QStringLiteral("宫保鸡丁"), 10, 1, 10);
    AddLine(t, s1, 1, QStringLiteral("青岛啤酒"), 5, 2, 5, 2);
    const qint64 s2 = AddSale(t, QStringLiteral("2024-03-04 18:30:00"), 2, 2, 2, 0, 0, 0, 0);
    AddLine(t, s2, 2, QStringLiteral("水煮鱼"), 10, 1, 10, 2, 1);
    AddLine(t, s2, 2, QStringLiteral("水煮鱼"), -10, -1, -10, 2, 1);
    const qint64 s3 = AddSale(t, QStringLiteral("2024-03-05 23:59:59"), 1, 2, 1, 8, 8, 8, 0);
    AddLine(t, s3, 1, QStringLiteral("小笼包"), 8, 1, 8);
    const qint64 s4 = AddSale(t, QStringLiteral("2024-03-06 00:00:00"), 1, 1, 2, 100, 100, 100, 0);
    AddLine(t, s4, 2, QStringLiteral("电饭煲"), 100, 1, 100);
    const qint64 s5 = AddSale(t, QStringLiteral("2024-03-03 23:59:59"), 2, 1, 2, 5, 5, 0, 5);
    AddLine(t, s5, 2, QStringLiteral("扬州炒饭"), 5, 1, 5);

    AddRecharge(t, QStringLiteral("R1"), QStringLiteral("2024-03-05 09:00:00"), 1, 1, 1, 100);
    AddRecharge(t, QStringLiteral("R2"), QStringLiteral("2024-03-05 23:59:59"), 2, 2, 2, 50);
    AddRecharge(t, QStringLiteral("R3"), QStringLiteral("2024-03-06 00:00:00"), 1, 1, 1, 1000);
    AddRecharge(t, QStringLiteral("R4"), QStringLiteral("2024-03-04 12:00:00"), 1, 1, 2, -20);
}

} // namespace StatisticsFixture
