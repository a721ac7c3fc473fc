#include "data/Database.h"
#include "data/DatabaseInitializer.h"
#include "data/Lookups.h"
#include "data/SchemaSteps.h"
#include "data/ShopSettings.h"
#include "members/MemberRules.h"
#include "support/TestDatabase.h"

#include <QSqlRecord>
#include <QtTest>

// The database file made by the initialiser: tables, views, defaults, seed
// rows, and the lookups that read them.
class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void columns_data();
    void columns();
    void memberDefaults();
    void listDefaultsShowNewRows_data();
    void listDefaultsShowNewRows();
    void saleDefaults();
    void seedRows();
    void indexesServeLookups_data();
    void indexesServeLookups();
    void settingsLoad();
    void settingsWithoutRowKeepValues();
    void initialiserRefusesExistingFile();
    void initialiserDemoData();
    void lookups_data();
    void lookups();
    void lookupRefusesIdentifiersThatAreNotNames();
    void transactionRollsBackUnlessCommitted();
};

void TestSchema::columns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    const auto row = [](const char *table, const char *columns) {
        QTest::newRow(table) << QString::fromLatin1(table)
                             << QString::fromLatin1(columns).split(QLatin1Char(' '));
    };
    row("User_Info", "User_ID User_Card User_Name User_Sex User_Brithday User_Tel User_Mobi "
                     "User_Address User_Work User_Wenhua User_LikeColor User_Size User_Yaowei "
                     "User_Other User_Date User_Stop User_CardPWD User_Xiaofei User_Num "
                     "User_MoneyAll User_ChuZhi User_CardCountMoney User_InputDate");
    row("admin", "Admin_ID Admin_Name Admin_Pwd Admin_Group");
    row("User_Sex", "SexID SexName");
    row("Date_Year", "YearID YearName");
    row("Date_Month", "MonthID MonthName");
    row("Date_Day", "DayID DayName");
    row("DataSeting", "CashSeting JifenSeting JifenModiYesOrNo JinEModiYesOrNo PrintYesOrNo "
                      "PrintBig Biaoti piaowei1 piaowei2 piaowei3 piaowei4 piaowei5 SaoMaYes "
                      "FEnabledCard FFloatNum FPrintCount");
    row("TblPrintSet", "FAutoPrint");
    row("SL_Store", "StoreID StoreName StoreShow");
    row("SL_DaoGou", "DaoGouID DaoGouName DaoGouShow");
    row("SL_Brand", "BrandID BrandName BrandShow BrandOrder");
    row("SL_ProSort", "ProSortID ProSortName ProSortShow ProSortOrder");
    row("SL_Danwei", "DanweiID DanweiName DanweiShow DanweiOrder");
    row("SL_Zhekou", "ZhekouID ZhekouValue ZhekouSelected zhekouOrder");
    row("SL_Color", "ColorID ColorName");
    row("SL_Size", "SizeID SizeName");
    row("Pro2", "Pro2ID Pro2Card Pro2Name Pro2PinYing Pro2JinJia Pro2ShouJia Pro2PifaJia "
                "Pro2Chandi Pro2Other Pro2TejiaYes Pro2Show Pro2SortID Pro2BrandID Pro2DanweiID");
    row("Pro_Huo", "Pro_HuoID Pro_HuoCard Pro_HuoName Pro_SordID Pro_BrankID Pro_ShouJia "
                   "Pro_Other Pro_AllJinNum Pro_AllSaleNum Pro_AllTuiNum Pro_AllCunNum "
                   "Pro_AllSaleJinE Pro_AllTuiJinE Pro_AllCunJinE");
    row("Pro_Kuan", "Pro_KuanID Pro_HuoID Pro_KuanCard Pro_KuanXing Pro_KuanAllJinNum "
                    "Pro_KuanAllSaleNum Pro_KuanAllTuiNum Pro_KuanAllCunNum Pro_KuanAllSaleJinE "
                    "Pro_KuanAllTuiJinE Pro_KuanAllCunJinE");
    row("Pro_Tiao", "Pro_TiaoID Pro_KuanID Pro_TiaoTiaoMa Pro_TiaoColorID Pro_TiaoSizeID "
                    "Pro_TiaoAllJinNum Pro_TiaoAllSaleNum Pro_TiaoAllTuiNum Pro_TiaoAllCunNum "
                    "Pro_TiaoAllSaleJinE Pro_TiaoAllTuiJinE Pro_TiaoAllCunJinE");
    row("S_Order", "OrderID UserID StoreID BrandID ProSortID DaoGouID AdminID ProName ProPrice "
                   "ProSalePrice ProJiFen ProShuLiang ProSalePrice2 ProJifen2 OrderOther FTiaoID "
                   "FBillNo FBillDate");
    row("S_Sale", "SaleID UserID AdminID StoreID PriceAll JiFenAll NumAll SaleDate SaleInputDate "
                  "FBillNo FCashAll FCardAll");
    row("S_SaleDetail", "SaleDetailID SaleID UserID BrandID ProSortID DaoGouID ProName ProPrice "
                        "ProSalePrice ProJiFen ProShuliang OrderOther FTiaoID FReturnFlag");
    row("TblAddMoney", "FBillNo UserID FStoreID FAddMoney FBeforeMoney FAfterMoney FDate FMaker "
                       "FAdminID");
    row("User_Cash", "CashID UserID UserCard UserName CashProName CashProPrice CashNum "
                     "CashAddMoney CashNumOld CashNumNew CashAdmin CashDate CashOther");
    row("TblServiceInfo", "FID FServiceCard FServiceName FShowed FMemo");
    row("TblAddCardCount", "FID FUserID FServiceID FCount FEnabledCount FBeforeCount FPayMoney "
                           "FScore FAdminID FDaoGouID FStoreID FDate FMemo");
    row("TblAddCardCountHistory", "FID FUserID FServiceID FCount FBeforeCount FAfterCount "
                                  "FPayMoney FScore FAdminID FDaoGouID FStoreID FDate FMemo");
    row("TblCardCountSale", "FID FBillNo FUserID FServiceID FCount FDaoGouID FStoreID FAdminID "
                            "FDate FMemo");
    row("TblCardCountSaleHistory", "FID FBillNo FUserID FServiceID FCount FDaoGouID FStoreID "
                                   "FAdminID FDate FScore FMemo");
    row("TblCardCountReturn", "FBillNo FUserID FAdminID FStoreID FServiceID FDate FCount FMemo");
    // Stored queries.
    row("S_Order_All", "OrderID UserID StoreID ProSortName ProName ProPrice ProSalePrice "
                       "ProJifen ProShuliang ProSalePrice2 ProJifen2 BrandName DaogouName "
                       "StoreName");
    row("Pro2_View_All", "Pro2ID Pro2Card Pro2Name Pro2PinYing Pro2JinJia Pro2ShouJia "
                         "Pro2PifaJia Pro2Chandi Pro2Other Pro2TejiaYes Pro2Show Pro2SortID "
                         "Pro2BrandID Pro2DanweiID ProSortName BrandName DanweiName");
    row("S_Sale_All", "SaleID UserID User_Name JifenAll PriceAll SaleDate StoreName Admin_Name");
    row("S_SaleDetail_All", "SaleDetailID SaleID ProName ProPrice ProSalePrice ProJifen "
                            "ProShuliang ProSortName BrandName DaogouName OrderOther User_Card "
                            "User_Name StoreName Admin_Name SaleDate SaleInputDate PriceAll "
                            "JiFenAll FCashAll FCardAll StoreID DaoGouID AdminID");
    row("SaleView", "SaleID SaleDetailID User_ID User_Name SaleDate ProName ProPrice "
                    "ProSalePrice ProShuLiang ProJiFen BrandName ProSortName DaoGouName "
                    "OrderOther PriceAll JiFenAll FReturnFlag");
    row("SL_SaleSingleView", "FCashAll FCardAll SaleDate StoreID AdminID");
    row("AddMoneyView", "FBillNo User_Card User_Name FAddMoney FBeforeMoney FAfterMoney FDate "
                        "StoreName FMaker FStoreID FAdminID");
    row("AddCardCountView", "FID FUserID FCount FMemo User_Name User_Card FServiceName "
                            "FEnabledCount");
    row("AddCardCountHistoryView", "FID FUserID FServiceID FCount FDate FDaoGouID FStoreID "
                                   "FAdminID FMemo FBeforeCount FAfterCount FPayMoney FScore "
                                   "User_Name User_Card FServiceName DaoGouName StoreName "
                                   "Admin_Name");
    row("CardCountSaleDView", "FID FUserID FServiceID FCount FDate FDaoGouID FStoreID FAdminID "
                              "FScore FMemo User_Name User_Card FServiceName DaoGouName "
                              "StoreName Admin_Name");
    row("TblCardCountSaleView", "FID FUserID FDate FBillNo FMemo HistoryFID HistoryFUserID "
                                "HistoryFCount HistoryFBillNo HistoryFScore User_Card User_Name "
                                "FServiceName DaoGouName StoreName Admin_Name");
    row("ServiceView", "FUserID User_Name FServiceName FCount FBeforeCount FEnabledCount "
                       "FPayMoney FDate FScore FMemo");
    row("QueryServiceView", "FID FServiceCard FServiceName FMemo FShowed FUserID");
}

void TestSchema::columns()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    TestDatabase t;
    // Names are compared without regard to case, as the statements spell
    // some of them in more than one way.
    QSqlQuery q = t.db.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(table));
    const QSqlRecord record = q.record();
    QStringList present;
    for (int i = 0; i < record.count(); ++i)
        present << record.fieldName(i).toLower();
    for (const QString &c : columns)
        QVERIFY2(present.contains(c.toLower()), qPrintable(table + QLatin1Char('.') + c));
}

void TestSchema::memberDefaults()
{
    TestDatabase t;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    t.db.exec(QStringLiteral("INSERT INTO User_Info (User_Card, User_Name) VALUES ('9001', '甲')"));
    QSqlQuery q = t.db.exec(QStringLiteral(
        "SELECT User_Num, User_MoneyAll, User_ChuZhi, User_CardCountMoney, User_InputDate "
        "FROM User_Info WHERE User_Card = '9001'"));
    QVERIFY(q.next());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(q.value(i).toDouble(), 0.0);
    const QDateTime stamped =
        QDateTime::fromString(q.value(4).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(stamped.isValid(), qPrintable(q.value(4).toString()));
    QVERIFY(stamped >= before && stamped <= QDateTime::currentDateTime().addSecs(2));
}

void TestSchema::listDefaultsShowNewRows_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("nameColumn");
    QTest::addColumn<QString>("showColumn");
    QTest::newRow("shop") << "SL_Store"
                          << "StoreName"
                          << "StoreShow";
    QTest::newRow("assistant") << "SL_DaoGou"
                               << "DaoGouName"
                               << "DaoGouShow";
    QTest::newRow("brand") << "SL_Brand"
                           << "BrandName"
                           << "BrandShow";
    QTest::newRow("category") << "SL_ProSort"
                              << "ProSortName"
                              << "ProSortShow";
}

void TestSchema::listDefaultsShowNewRows()
{
    QFETCH(QString, table);
    QFETCH(QString, nameColumn);
    QFETCH(QString, showColumn);
    TestDatabase t;
    t.db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES ('新行')").arg(table, nameColumn));
    // The sale screens list rows whose flag is the text "1".
    const QVariant shown =
        t.value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = '新行' AND %3 = '1'")
                    .arg(table, nameColumn, showColumn));
    QCOMPARE(shown.toInt(), 1);
}

void TestSchema::saleDefaults()
{
    TestDatabase t;
    const qint64 sale = t.db.insert(QStringLiteral("INSERT INTO S_Sale (UserID) VALUES (1)"));
    t.db.exec(QStringLiteral("INSERT INTO S_SaleDetail (SaleID, ProName) VALUES (?, '茶')"),
              {sale});
    t.db.exec(QStringLiteral("INSERT INTO User_Cash (UserID) VALUES (1)"));
    QCOMPARE(t.value(QStringLiteral("SELECT FReturnFlag FROM S_SaleDetail")).toInt(), 0);
    QVERIFY(!t.value(QStringLiteral("SELECT SaleInputDate FROM S_Sale")).toString().isEmpty());
    QVERIFY(!t.value(QStringLiteral("SELECT CashDate FROM User_Cash")).toString().isEmpty());
}

void TestSchema::seedRows()
{
    TestDatabase t;
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM DataSeting")).toInt(), 1);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM admin WHERE Admin_Name = 'admin' AND "
                                    "Admin_Pwd = 'admin' AND Admin_Group = '99'"))
                 .toInt(),
             1);
    QVERIFY(
        t.value(QStringLiteral("SELECT COUNT(*) FROM SL_Store WHERE StoreShow = '1'")).toInt() >=
        1);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM Date_Year")).toInt() >= 21);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM Date_Month")).toInt(), 12);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM Date_Day")).toInt(), 31);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Sex")).toInt(), 2);
    // The year, month and day names are decimal numbers, in id order.
    QSqlQuery years = t.db.exec(QStringLiteral("SELECT YearName FROM Date_Year ORDER BY YearID"));
    int previous = 0;
    while (years.next()) {
        bool ok = false;
        const int year = years.value(0).toString().toInt(&ok);
        QVERIFY(ok);
        QVERIFY(year > previous);
        previous = year;
    }
    // Exactly one discount is preselected, and it is "1" (no discount).
    QCOMPARE(t.value(QStringLiteral("SELECT ZhekouValue FROM SL_Zhekou WHERE ZhekouSelected = '1'"))
                 .toString(),
             QStringLiteral("1"));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM SL_Zhekou WHERE ZhekouSelected = '1'"))
                 .toInt(),
             1);
    QCOMPARE(t.value(QStringLiteral("PRAGMA user_version")).toInt(), SchemaSteps::Latest);
}

void TestSchema::indexesServeLookups_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("index"); // empty: any index
    QTest::newRow("member by card") << "SELECT User_ID FROM User_Info WHERE User_Card = '1'"
                                    << "";
    QTest::newRow("member by name") << "SELECT User_ID FROM User_Info WHERE User_Name = '1'"
                                    << "";
    QTest::newRow("open bill") << "SELECT * FROM S_Order WHERE UserID = 1"
                               << "";
    QTest::newRow("sales by date")
        << "SELECT * FROM S_Sale WHERE SaleDate >= '2024-01-01' AND SaleDate < '2024-02-01'"
        << "";
    QTest::newRow("sale lines") << "SELECT * FROM S_SaleDetail WHERE SaleID = 1"
                                << "";
    QTest::newRow("product code") << "SELECT * FROM Pro2 WHERE Pro2Card = '1'"
                                  << "";
    QTest::newRow("barcode") << "SELECT * FROM Pro_Tiao WHERE Pro_TiaoTiaoMa = '1'"
                             << "";
    QTest::newRow("recharges by date")
        << "SELECT * FROM TblAddMoney WHERE FDate >= '2024-01-01' AND FDate < '2024-02-01'"
        << "";
    QTest::newRow("count bill") << "SELECT * FROM TblCardCountSale WHERE FBillNo = '1'"
                                << "";
    // Not the return flag alone: nearly every line has flag 0.
    QTest::newRow("a member's returnable lines")
        << "SELECT SaleDetailID FROM SaleView WHERE UserID = 1 AND FReturnFlag = 0"
        << "idx_detail_user_return";
    // The member list's orders are read from an index, never sorted whole.
    QTest::newRow("member list by amount") << MemberListSource(true).sql << "idx_user_moneyall";
}

void TestSchema::indexesServeLookups()
{
    QFETCH(QString, sql);
    QFETCH(QString, index);
    TestDatabase t;
    QSqlQuery plan = t.db.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    QString detail;
    while (plan.next())
        detail += plan.value(3).toString() + QLatin1Char('\n');
    QVERIFY2(detail.contains(QLatin1String("USING INDEX")) ||
                 detail.contains(QLatin1String("USING COVERING INDEX")),
             qPrintable(detail));
    QVERIFY2(!detail.contains(QLatin1String("TEMP B-TREE")), qPrintable(detail));
    if (!index.isEmpty())
        QVERIFY2(detail.contains(index), qPrintable(detail));
}

void TestSchema::settingsLoad()
{
    TestDatabase t;
    t.db.exec(QStringLiteral("UPDATE DataSeting SET FFloatNum = 1, SaoMaYes = ' 1 ', "
                             "Biaoti = '  本店  ', CashSeting = 300, PrintBig = 2"));
    ShopSettings s;
    QVERIFY(s.load(t.db));
    QCOMPARE(s.FFloatNum, -1);
    QCOMPARE(s.SaoMaYes, QStringLiteral("1"));
    QCOMPARE(s.Biaoti, QStringLiteral("本店"));
    QCOMPARE(s.CashSeting, 300);
    QCOMPARE(s.PrintBig, 2);
    t.db.exec(QStringLiteral("UPDATE DataSeting SET FFloatNum = 2"));
    QVERIFY(s.load(t.db));
    QCOMPARE(s.FFloatNum, -2);
}

void TestSchema::settingsWithoutRowKeepValues()
{
    TestDatabase t;
    ShopSettings s;
    s.CashSeting = 77;
    s.SaoMaYes = QStringLiteral("2");
    t.db.exec(QStringLiteral("DELETE FROM DataSeting"));
    QVERIFY(!s.load(t.db));
    QCOMPARE(s.CashSeting, 77);
    QCOMPARE(s.SaoMaYes, QStringLiteral("2"));
    t.db.exec(QStringLiteral("DROP TABLE DataSeting"));
    QVERIFY_THROWS_EXCEPTION(DbError, s.load(t.db));
}

void TestSchema::initialiserRefusesExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BNA_Member.dll"));
    QFile existing(path);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("not a database");
    existing.close();
    QVERIFY_THROWS_EXCEPTION(DbError, DatabaseInitializer::createFile(path, false, false));
    QFile again(path);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), QByteArray("not a database"));
}

void TestSchema::initialiserDemoData()
{
    TestDatabase t(TestDatabase::Content::Demo);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt() >= 5);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM Pro2 WHERE Pro2Show = 1")).toInt() >= 5);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM Pro_Tiao")).toInt() >= 3);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM TblServiceInfo")).toInt() >= 3);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM TblAddMoney")).toInt() >= 3);
    // Each demo sale's total is the sum of its lines (a return's copy, price
    // and quantity both negative, takes its amount off), and each barcode's
    // goods carry the stock booked on the barcode.
    QCOMPARE(t.value(QStringLiteral(
                         "SELECT COUNT(*) FROM S_Sale s WHERE abs(s.PriceAll - (SELECT "
                         "SUM(CASE WHEN d.ProShuliang < 0 THEN -1 ELSE 1 END * d.ProSalePrice * "
                         "d.ProShuliang) FROM S_SaleDetail d WHERE d.SaleID "
                         "= s.SaleID)) > 0.001"))
                 .toInt(),
             0);
    QVERIFY(t.value(QStringLiteral("SELECT COUNT(*) FROM S_SaleDetail_All")).toInt() >= 5);
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM Pro_Huo h WHERE h.Pro_AllCunNum <> (SELECT "
                               "SUM(t.Pro_TiaoAllCunNum) FROM Pro_Tiao t JOIN Pro_Kuan k ON "
                               "k.Pro_KuanID = t.Pro_KuanID WHERE k.Pro_HuoID = h.Pro_HuoID)"))
            .toInt(),
        0);
}

void TestSchema::lookups_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expected");
    QTest::newRow("brand") << "brand"
                           << "饮品" << 2;
    QTest::newRow("brand empty") << "brand"
                                 << "" << 0;
    QTest::newRow("brand missing") << "brand"
                                   << "不存在" << 0;
    QTest::newRow("brand twice: first row") << "brand"
                                            << "重名" << 4;
    QTest::newRow("category") << "sort"
                              << "酒水" << 3;
    QTest::newRow("unit") << "unit"
                          << "瓶" << 4;
    QTest::newRow("unit empty") << "unit"
                                << "" << 0;
    QTest::newRow("quoted name as stored") << "brand"
                                           << "O’Neil" << 6;
    QTest::newRow("raw quote finds nothing") << "brand"
                                             << "O'Neil" << 0;
    QTest::newRow("shop") << "store"
                          << "二分店" << 2;
    QTest::newRow("member card") << "card"
                                 << "1003" << 3;
    QTest::newRow("service by code") << "service"
                                     << "S002" << 2;
}

void TestSchema::lookups()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(int, expected);
    TestDatabase t(TestDatabase::Content::Demo);
    t.db.exec(QStringLiteral("INSERT INTO SL_Brand (BrandName) VALUES ('重名'), ('重名'), (?)"),
              {QStringLiteral("O’Neil")});
    int id = -1;
    if (kind == QLatin1String("brand"))
        id = GetBrandID(t.db, name);
    else if (kind == QLatin1String("sort"))
        id = GetProSortID(t.db, name);
    else if (kind == QLatin1String("unit"))
        id = GetDanweiID(t.db, name);
    else if (kind == QLatin1String("store"))
        id = GetStoreID(t.db, name);
    else if (kind == QLatin1String("card"))
        id = GetUserIDByCard(t.db, name);
    else if (kind == QLatin1String("service"))
        id = GetServiceIDByCard(t.db, name);
    QCOMPARE(id, expected);
}

void TestSchema::lookupRefusesIdentifiersThatAreNotNames()
{
    TestDatabase t;
    QVERIFY_THROWS_EXCEPTION(DbError, GetObjID(t.db, QStringLiteral("SL_Brand; DROP TABLE admin"),
                                               QStringLiteral("BrandName"), QStringLiteral("x"),
                                               QStringLiteral("BrandID")));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM admin")).toInt(), 1);
}

void TestSchema::transactionRollsBackUnlessCommitted()
{
    TestDatabase t;
    try {
        Transaction tx(t.db);
        t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('甲')"));
        t.db.exec(QStringLiteral("INSERT INTO no_such_table VALUES (1)"));
        tx.commit();
        QFAIL("the failing statement must throw");
    } catch (const DbError &) {
    }
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM SL_Store WHERE StoreName = '甲'")).toInt(), 0);
    {
        Transaction tx(t.db);
        t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('乙')"));
        tx.commit();
    }
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM SL_Store WHERE StoreName = '乙'")).toInt(), 1);
    // An inner guard joins the outer one: its commit does not make the
    // writes stand when the outer operation fails afterwards.
    {
        Transaction outer(t.db);
        {
            Transaction inner(t.db);
            t.db.exec(QStringLiteral("INSERT INTO SL_Store (StoreName) VALUES ('丙')"));
            inner.commit();
        }
    }
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM SL_Store WHERE StoreName = '丙'")).toInt(), 0);
    // After all that the connection is out of any transaction again.
    QVERIFY(t.db.handle().transaction());
    QVERIFY(t.db.handle().rollback());
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
