#include "data/DatabaseInitializer.h"

#include "data/Database.h"
#include "data/SchemaSteps.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace DatabaseInitializer
{

namespace
{

QString stamp(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void insertMany(Database &db, const QString &sql, const QList<QVariantList> &rows)
{
    for (const QVariantList &row : rows)
        db.exec(sql, row);
}

struct DemoLine {
    int user;
    const char *name;
    int brand, sort, daogou;
    double price, discount;
    int qty;
};

} // namespace

void createSchema(Database &db)
{
    SchemaSteps::CreateLatest(db);
}

// Returns the cash-paid sale lines that `where` picks (one per sale): each
// line marked, a negative copy in its sale, the sale's totals lowered.
void returnLines(Database &db, const QString &where)
{
    db.exec(QStringLiteral("UPDATE S_SaleDetail SET FReturnFlag = 1 WHERE ") + where);
    db.exec(QStringLiteral(
        "INSERT INTO S_SaleDetail (SaleID, BrandID, ProSortID, UserID, DaoGouID, ProName, "
        "ProPrice, ProSalePrice, ProJiFen, ProShuliang, FReturnFlag, OrderOther) "
        "SELECT SaleID, BrandID, ProSortID, UserID, DaoGouID, ProName, -ProPrice, -ProSalePrice, "
        "-ProJiFen, -ProShuliang, 1, OrderOther FROM S_SaleDetail "
        "WHERE FReturnFlag = 1 AND ProShuliang > 0 AND SaleDetailID NOT IN "
        "(SELECT r.SaleDetailID FROM S_SaleDetail r WHERE r.ProShuliang < 0)"));
    db.exec(QStringLiteral(
        "UPDATE S_Sale SET PriceAll = PriceAll - r.amount, JiFenAll = JiFenAll - r.points, "
        "FCashAll = FCashAll - r.amount FROM (SELECT SaleID, SUM(ProSalePrice * ProShuliang) "
        "AS amount, SUM(ProJiFen * ProShuliang) AS points FROM S_SaleDetail WHERE ProShuliang < 0 "
        "GROUP BY SaleID) r WHERE S_Sale.SaleID = r.SaleID"));
}

void addDemoData(Database &db, const QDateTime &now)
{
    Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('二分店')"));
    insertMany(db, QStringLiteral("INSERT INTO SL_DaoGou (DaoGouName) VALUES (?)"),
               {{QStringLiteral("张丽")}, {QStringLiteral("王强")}, {QStringLiteral("李娜")}});
    insertMany(
        db, QStringLiteral("INSERT INTO SL_Brand (BrandName, BrandOrder) VALUES (?, ?)"),
        {{QStringLiteral("招牌菜"), 3}, {QStringLiteral("饮品"), 2}, {QStringLiteral("点心"), 1}});
    insertMany(db,
               QStringLiteral("INSERT INTO SL_ProSort (ProSortName, ProSortOrder) VALUES (?, ?)"),
               {{QStringLiteral("热菜"), 4},
                {QStringLiteral("凉菜"), 3},
                {QStringLiteral("酒水"), 2},
                {QStringLiteral("主食"), 1}});
    insertMany(db, QStringLiteral("INSERT INTO SL_Color (ColorName) VALUES (?)"),
               {{QStringLiteral("红色")}, {QStringLiteral("黑色")}, {QStringLiteral("白色")}});
    insertMany(db, QStringLiteral("INSERT INTO SL_Size (SizeName) VALUES (?)"),
               {{QStringLiteral("S")}, {QStringLiteral("M")}, {QStringLiteral("L")}});
    db.exec(QStringLiteral("INSERT INTO admin (Admin_Name, Admin_Pwd, Admin_Group) "
                           "VALUES ('收银员', '1234', '1')"));

    const QString nextYear = now.date().addYears(1).toString(QStringLiteral("yyyy-MM-dd"));
    const QString lastMonth = now.date().addMonths(-1).toString(QStringLiteral("yyyy-MM-dd"));
    // card, name, sex, birthday, mobile, valid until, locked, password, stored value, points
    const QList<QVariantList> members = {
        {"1001", "王建国", "男", "1970-5-12", "13800000001", nextYear, 0, "", 500.0, 120},
        {"1002", "李秀英", "女", "1982-11-3", "13800000002", nextYear, 0, "", 1200.0, 860},
        {"1003", "张伟", "男", "1990-1-20", "13800000003", nextYear, 0, "8888", 300.0, 45},
        {"1004", "刘芳", "女", "1975-7-8", "13800000004", nextYear, 0, "", 0.0, 0},
        {"1005", "陈静", "女", "1988-2-14", "13800000005", nextYear, 0, "", 88.5, 230},
        {"1006", "杨洋", "男", "1995-9-30", "13800000006", nextYear, 1, "", 50.0, 10},
        {"1007", "赵敏", "女", "1979-4-1", "13800000007", lastMonth, 0, "", 20.0, 5},
        {"1008", "黄磊", "男", "1968-12-25", "13800000008", nextYear, 0, "", 2000.0, 1500},
    };
    for (const QVariantList &m : members) {
        db.exec(
            QStringLiteral("INSERT INTO User_Info (User_Card, User_Name, User_Sex, User_Brithday, "
                           "User_Mobi, User_Date, User_Stop, User_CardPWD, User_ChuZhi, User_Num, "
                           "User_Address, User_Xiaofei, User_InputDate) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '本市中山路', 'y', ?)"),
            {m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], stamp(now.addDays(-60))});
    }

    // code, name, pinyin, purchase, retail, wholesale, category, brand, unit, special
    const QList<QVariantList> products = {
        {"6901000000011", "宫保鸡丁", "GBJD", 15.0, 32.0, 28.0, 1, 1, 3, 0},
        {"6901000000028", "水煮鱼", "SZY", 30.0, 68.0, 60.0, 1, 1, 3, 0},
        {"6901000000035", "拍黄瓜", "PHG", 3.0, 12.0, 10.0, 2, 1, 3, 0},
        {"6901000000042", "夫妻肺片", "FQFP", 12.0, 28.0, 25.0, 2, 1, 3, 1},
        {"6901000000059", "青岛啤酒", "QDPJ", 4.0, 8.0, 7.0, 3, 2, 4, 0},
        {"6901000000066", "鲜榨橙汁", "XZCZ", 6.0, 18.0, 15.0, 3, 2, 4, 0},
        {"6901000000073", "扬州炒饭", "YZCF", 5.0, 15.0, 13.0, 4, 3, 3, 0},
        {"6901000000080", "小笼包", "XLB", 6.0, 16.0, 14.0, 4, 3, 5, 1},
    };
    for (const QVariantList &p : products) {
        db.exec(QStringLiteral(
                    "INSERT INTO Pro2 (Pro2Card, Pro2Name, Pro2PinYing, Pro2JinJia, Pro2ShouJia, "
                    "Pro2PifaJia, Pro2SortID, Pro2BrandID, Pro2DanweiID, Pro2TejiaYes, "
                    "Pro2Chandi, Pro2Show) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '本店', 1)"),
                p);
    }

    // Inventory goods: article, style, barcoded items in stock.
    const QList<QVariantList> goods = {
        {"H001", "纯棉T恤", 1, 1, 99.0, "K001", "圆领", "6920000000017", 1, 2},
        {"H001", "纯棉T恤", 1, 1, 99.0, "K001", "圆领", "6920000000024", 2, 3},
        {"H002", "休闲裤", 1, 2, 159.0, "K002", "直筒", "6920000000031", 2, 2},
        {"H003", "保温杯", 3, 3, 49.0, "K003", "500ml", "6920000000048", 3, 1},
    };
    for (const QVariantList &g : goods) {
        int huo = db.scalar(QStringLiteral("SELECT Pro_HuoID FROM Pro_Huo WHERE Pro_HuoCard = ?"),
                            {g[0]}, 0)
                      .toInt();
        if (huo == 0) {
            huo = int(db.insert(QStringLiteral("INSERT INTO Pro_Huo (Pro_HuoCard, Pro_HuoName, "
                                               "Pro_SordID, Pro_BrankID, Pro_ShouJia, "
                                               "Pro_AllJinNum, Pro_AllCunNum, Pro_AllCunJinE) "
                                               "VALUES (?, ?, ?, ?, ?, 0, 0, 0)"),
                                {g[0], g[1], g[2], g[3], g[4]}));
        }
        int kuan =
            db.scalar(QStringLiteral("SELECT Pro_KuanID FROM Pro_Kuan WHERE Pro_KuanCard = ?"),
                      {g[5]}, 0)
                .toInt();
        if (kuan == 0) {
            kuan = int(db.insert(QStringLiteral("INSERT INTO Pro_Kuan (Pro_HuoID, Pro_KuanCard, "
                                                "Pro_KuanXing) VALUES (?, ?, ?)"),
                                 {huo, g[5], g[6]}));
        }
        const int stock = 50;
        const double value = stock * g[4].toDouble();
        db.exec(QStringLiteral("INSERT INTO Pro_Tiao (Pro_KuanID, Pro_TiaoTiaoMa, Pro_TiaoColorID, "
                               "Pro_TiaoSizeID, Pro_TiaoAllJinNum, Pro_TiaoAllCunNum, "
                               "Pro_TiaoAllCunJinE) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                {kuan, g[7], g[8], g[9], stock, stock, value});
        db.exec(QStringLiteral("UPDATE Pro_Kuan SET Pro_KuanAllJinNum = Pro_KuanAllJinNum + ?, "
                               "Pro_KuanAllCunNum = Pro_KuanAllCunNum + ?, "
                               "Pro_KuanAllCunJinE = Pro_KuanAllCunJinE + ? WHERE Pro_KuanID = ?"),
                {stock, stock, value, kuan});
        db.exec(QStringLiteral("UPDATE Pro_Huo SET Pro_AllJinNum = Pro_AllJinNum + ?, "
                               "Pro_AllCunNum = Pro_AllCunNum + ?, "
                               "Pro_AllCunJinE = Pro_AllCunJinE + ? WHERE Pro_HuoID = ?"),
                {stock, stock, value, huo});
    }

    insertMany(db,
               QStringLiteral("INSERT INTO TblServiceInfo (FServiceCard, FServiceName, FShowed, "
                              "FMemo) VALUES (?, ?, 1, ?)"),
               {{"S001", QStringLiteral("洗车"), QStringLiteral("普通洗车")},
                {"S002", QStringLiteral("足疗"), QStringLiteral("60分钟")},
                {"S003", QStringLiteral("理发"), QStringLiteral("")}});

    // Paid sales of the last days, paid partly from stored value.
    const QList<DemoLine> lines = {
        {1, "宫保鸡丁", 1, 1, 1, 32.0, 1.0, 1},  {1, "青岛啤酒", 2, 3, 1, 8.0, 1.0, 4},
        {2, "水煮鱼", 1, 1, 2, 68.0, 0.9, 1},    {2, "鲜榨橙汁", 2, 3, 2, 18.0, 0.9, 2},
        {3, "扬州炒饭", 3, 4, 3, 15.0, 1.0, 2},  {5, "小笼包", 3, 4, 1, 16.0, 0.95, 3},
        {8, "夫妻肺片", 1, 2, 2, 28.0, 0.88, 1}, {8, "水煮鱼", 1, 1, 2, 68.0, 0.88, 1},
    };
    int dayOffset = 6;
    int lastUser = -1;
    qint64 saleId = 0;
    for (const DemoLine &l : lines) {
        const double salePrice = l.price * l.discount;
        const double points = double(int(salePrice / 100.0 * 10));
        if (l.user != lastUser) {
            const QString at = stamp(now.addDays(-dayOffset).addSecs(-3600 * dayOffset));
            saleId = db.insert(QStringLiteral("INSERT INTO S_Sale (UserID, AdminID, StoreID, "
                                              "PriceAll, JiFenAll, SaleDate, SaleInputDate, "
                                              "FCashAll, FCardAll) "
                                              "VALUES (?, 1, 1, 0, 0, ?, ?, 0, 0)"),
                               {l.user, at, at});
            lastUser = l.user;
            --dayOffset;
        }
        db.exec(QStringLiteral("INSERT INTO S_SaleDetail (SaleID, UserID, BrandID, ProSortID, "
                               "DaoGouID, ProName, ProPrice, ProSalePrice, ProJiFen, ProShuliang) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {saleId, l.user, l.brand, l.sort, l.daogou, QString::fromUtf8(l.name), l.price,
                 salePrice, points, l.qty});
        db.exec(
            QStringLiteral("UPDATE S_Sale SET PriceAll = PriceAll + ?, JiFenAll = JiFenAll + ?, "
                           "FCashAll = FCashAll + ? WHERE SaleID = ?"),
            {salePrice * l.qty, points * l.qty, salePrice * l.qty, saleId});
    }
    // The first beer line came back.
    returnLines(db, QStringLiteral("SaleDetailID = (SELECT MIN(SaleDetailID) FROM S_SaleDetail "
                                   "WHERE ProName = '青岛啤酒')"));
    // Today's sale at the second shop by the clerk: two lines, cash. The
    // statistics window opens on today's figures, and its shop and operator
    // lists have a sale to narrow to.
    {
        const QString today = stamp(now.addSecs(-1800));
        const qint64 sale = db.insert(
            QStringLiteral("INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, JiFenAll, "
                           "SaleDate, SaleInputDate, FCashAll, FCardAll) "
                           "VALUES (2, 2, 2, 46, 3, ?, ?, 46, 0)"),
            {today, today});
        insertMany(db,
                   QStringLiteral("INSERT INTO S_SaleDetail (SaleID, UserID, BrandID, ProSortID, "
                                  "DaoGouID, ProName, ProPrice, ProSalePrice, ProJiFen, "
                                  "ProShuliang) VALUES (?, 2, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {{sale, 1, 1, 2, QStringLiteral("宫保鸡丁"), 32.0, 32.0, 3.0, 1},
                    {sale, 2, 3, 2, QStringLiteral("青岛啤酒"), 7.0, 7.0, 0.0, 2}});
    }
    db.exec(QStringLiteral(
        "UPDATE User_Info SET User_MoneyAll = (SELECT COALESCE(SUM(PriceAll), 0) FROM S_Sale "
        "WHERE S_Sale.UserID = User_Info.User_ID)"));

    // Recharges that brought the demo balances about.
    int n = 0;
    for (const QVariantList &m : members) {
        const double amount = m[8].toDouble();
        if (amount <= 0)
            continue;
        ++n;
        const QDateTime at = now.addDays(-30 + n);
        db.exec(QStringLiteral("INSERT INTO TblAddMoney (FBillNo, UserID, FStoreID, FAddMoney, "
                               "FBeforeMoney, FAfterMoney, FDate, FMaker, FAdminID) "
                               "SELECT ?, User_ID, 1, ?, 0, ?, ?, 'admin', 1 FROM User_Info "
                               "WHERE User_Card = ?"),
                {at.toString(QStringLiteral("yyyyMMdd")) + QString::number(n), amount, amount,
                 stamp(at), m[0]});
    }
    // Points redeemed for articles: item, value, points before, points taken,
    // points after, cash on top, days ago, remark, card.
    insertMany(db,
               QStringLiteral("INSERT INTO User_Cash (UserID, UserCard, UserName, CashProName, "
                              "CashProPrice, CashNumOld, CashNum, CashNumNew, CashAddMoney, "
                              "CashAdmin, CashDate, CashOther) "
                              "SELECT User_ID, User_Card, User_Name, ?, ?, ?, ?, ?, ?, 'admin', "
                              "?, ? FROM User_Info WHERE User_Card = ?"),
               {{QStringLiteral("保温杯"), 120.0, 1000.0, 100, 900.0, 20.0, stamp(now.addDays(-10)),
                 QStringLiteral("会员日活动"), "1002"},
                {QStringLiteral("毛巾"), 50.0, 280.0, 50, 230.0, 0.0, stamp(now.addDays(-7)),
                 QStringLiteral(""), "1005"},
                {QStringLiteral("电饭煲"), 399.0, 1800.0, 300, 1500.0, 99.0, stamp(now.addDays(-5)),
                 QStringLiteral("老顾客"), "1008"},
                {QStringLiteral("雨伞"), 45.0, 900.0, 40, 860.0, 5.0, stamp(now.addDays(-3)),
                 QStringLiteral(""), "1002"}});
    tx.commit();
}

void addLargeData(Database &db, const QDateTime &now)
{
    Transaction tx(db);
    const QString base = stamp(now);
    db.exec(
        QStringLiteral(
            "INSERT INTO User_Info (User_Card, User_Name, User_Sex, User_Brithday, User_Mobi, "
            "User_Date, User_Xiaofei, User_ChuZhi, User_Num, User_InputDate) "
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
            "SELECT printf('8%07d', i), '会员' || i, CASE i % 2 WHEN 0 THEN '男' ELSE '女' END, "
            "(1950 + i % 50) || '-' || (1 + i % 12) || '-' || (1 + i % 28), "
            "printf('139%08d', i), date(?, '+2 years'), 'y', (i % 500) * 1.0, i % 1000, "
            "datetime(?, '-' || (i % 700) || ' days') FROM n"),
        {base, base});
    db.exec(QStringLiteral(
        "INSERT INTO Pro2 (Pro2Card, Pro2Name, Pro2PinYing, Pro2JinJia, Pro2ShouJia, "
        "Pro2PifaJia, Pro2SortID, Pro2BrandID, Pro2DanweiID, Pro2Show) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
        "SELECT printf('69%011d', i), '商品' || i, 'SP' || i, (i % 90) + 1.0, (i % 90) * 2 + 2.0, "
        "(i % 90) * 2 + 1.5, 1 + i % 4, 1 + i % 3, 1 + i % 5, 1 FROM n"));
    // 200,000 sales of five lines each.
    db.exec(
        QStringLiteral(
            "INSERT INTO S_Sale (UserID, AdminID, StoreID, PriceAll, JiFenAll, SaleDate, "
            "SaleInputDate, FCashAll, FCardAll) "
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
            "SELECT 1 + (i * 7919) % 100000, 1, 1, 50.0, 5, "
            "datetime(?, '-' || (i % 730) || ' days'), datetime(?, '-' || (i % 730) || ' days'), "
            "50.0, 0 FROM n"),
        {base, base});
    // The large shop's sales by both shops and both operators, a quarter to
    // each pair, so that the statistics of one shop and one operator narrow.
    db.exec(QStringLiteral("UPDATE S_Sale SET StoreID = 1 + SaleID % 2, "
                           "AdminID = 1 + SaleID / 2 % 2 "
                           "WHERE SaleID > (SELECT MAX(SaleID) - 200000 FROM S_Sale)"));
    db.exec(QStringLiteral(
        "INSERT INTO S_SaleDetail (SaleID, UserID, BrandID, ProSortID, DaoGouID, ProName, "
        "ProPrice, ProSalePrice, ProJiFen, ProShuliang) "
        "SELECT s.SaleID, s.UserID, 1 + k.k % 3, 1 + k.k % 4, 1, '商品' || (1 + (s.SaleID * 5 + "
        "k.k) % 20000), 10.0, 10.0, 1, 1 FROM S_Sale s, "
        "(SELECT 0 AS k UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL "
        "SELECT 4) k ORDER BY s.SaleID, k.k"));
    // One line in a hundred sales came back.
    returnLines(db, QStringLiteral("SaleDetailID % 500 = 0"));
    // Recharges: one for every large member with a balance, numbered by the
    // bill-number rule (date + records on file + 1), oldest first.
    const qint64 rechargesOnFile =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM TblAddMoney"), {}, 0).toLongLong();
    db.exec(QStringLiteral(
                "INSERT INTO TblAddMoney (FBillNo, UserID, FStoreID, FAddMoney, FBeforeMoney, "
                "FAfterMoney, FDate, FMaker, FAdminID) "
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000), "
                "r AS (SELECT i, row_number() OVER (ORDER BY i) AS k, "
                "datetime(?, '-730 days', '+' || (i * 630) || ' seconds') AS at "
                "FROM n WHERE i % 500 <> 0) "
                "SELECT strftime('%Y%m%d', r.at) || (? + r.k), u.User_ID, 1 + r.i % 2, "
                "(r.i % 500) * 1.0, 0, (r.i % 500) * 1.0, r.at, "
                "CASE r.i % 3 WHEN 0 THEN '收银员' ELSE 'admin' END, "
                "CASE r.i % 3 WHEN 0 THEN 2 ELSE 1 END "
                "FROM r JOIN User_Info u ON u.User_Card = printf('8%07d', r.i) ORDER BY r.i"),
            {base, rechargesOnFile});
    // 50,000 points redemptions, oldest first.
    db.exec(
        QStringLiteral(
            "INSERT INTO User_Cash (UserID, UserCard, UserName, CashProName, CashProPrice, "
            "CashNumOld, CashNum, CashNumNew, CashAddMoney, CashAdmin, CashDate, CashOther) "
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
            "SELECT u.User_ID, u.User_Card, u.User_Name, '礼品' || (1 + i % 40), "
            "(10 + i % 90) + (i % 50) * 1.0, 200.0 + i % 800, 10 + i % 90, "
            "200.0 + i % 800 - (10 + i % 90), (i % 50) * 1.0, 'admin', "
            "datetime(?, '-' || ((50000 - i) * 20) || ' minutes'), "
            "'' FROM n JOIN User_Info u ON u.User_Card = printf('8%07d', 1 + (i * 7919) % 100000)"),
        {base});
    tx.commit();
}

void createFile(const QString &path, bool demo, bool large, const QDateTime &now)
{
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("文件[%1]已存在，不会覆盖。").arg(path));
    try {
        Database db(QStringLiteral("memberpos-initdb"));
        db.openForCreate(path);
        createSchema(db);
        if (demo || large)
            addDemoData(db, now);
        if (large)
            addLargeData(db, now);
        SchemaSteps::Analyze(db);
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
    } catch (const DbError &) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        throw;
    }
}

} // namespace DatabaseInitializer
