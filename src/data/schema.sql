-- Schema of the membership and point-of-sale database (BNA_Member.dll).
-- Created once by memberpos-initdb; the program itself creates no tables.
-- Dates are ISO texts: 'yyyy-MM-dd HH:mm:ss' or 'yyyy-MM-dd'.

-- Members and operators ------------------------------------------------------

CREATE TABLE User_Info (
    User_ID INTEGER PRIMARY KEY AUTOINCREMENT,
    User_Card TEXT NOT NULL DEFAULT '',
    User_Name TEXT NOT NULL DEFAULT '',
    User_Sex TEXT NOT NULL DEFAULT '',
    User_Brithday TEXT NOT NULL DEFAULT '',
    User_Tel TEXT NOT NULL DEFAULT '',
    User_Mobi TEXT NOT NULL DEFAULT '',
    User_Address TEXT NOT NULL DEFAULT '',
    User_Work TEXT NOT NULL DEFAULT '',
    User_Wenhua TEXT NOT NULL DEFAULT '',
    User_LikeColor TEXT NOT NULL DEFAULT '',
    User_Size TEXT NOT NULL DEFAULT '',
    User_Yaowei TEXT NOT NULL DEFAULT '',
    User_Other TEXT NOT NULL DEFAULT '',
    User_Date TEXT,
    User_Stop INTEGER NOT NULL DEFAULT 0,
    User_CardPWD TEXT NOT NULL DEFAULT '',
    User_Xiaofei TEXT NOT NULL DEFAULT '',
    User_Num REAL NOT NULL DEFAULT 0,
    User_MoneyAll REAL NOT NULL DEFAULT 0,
    User_ChuZhi REAL NOT NULL DEFAULT 0,
    User_CardCountMoney REAL NOT NULL DEFAULT 0,
    User_InputDate TEXT NOT NULL DEFAULT (datetime('now', 'localtime'))
);
CREATE INDEX idx_user_card ON User_Info(User_Card);
CREATE INDEX idx_user_name ON User_Info(User_Name);
CREATE INDEX idx_user_inputdate ON User_Info(User_InputDate);

CREATE TABLE admin (
    Admin_ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Admin_Name TEXT NOT NULL DEFAULT '',
    Admin_Pwd TEXT NOT NULL DEFAULT '',
    Admin_Group TEXT NOT NULL DEFAULT '1'
);
CREATE INDEX idx_admin_name ON admin(Admin_Name);

CREATE TABLE User_Sex (SexID INTEGER PRIMARY KEY, SexName TEXT NOT NULL);
CREATE TABLE Date_Year (YearID INTEGER PRIMARY KEY, YearName TEXT NOT NULL);
CREATE TABLE Date_Month (MonthID INTEGER PRIMARY KEY, MonthName TEXT NOT NULL);
CREATE TABLE Date_Day (DayID INTEGER PRIMARY KEY, DayName TEXT NOT NULL);

-- Shop settings --------------------------------------------------------------

CREATE TABLE DataSeting (
    CashSeting INTEGER NOT NULL DEFAULT 100,
    JifenSeting INTEGER NOT NULL DEFAULT 10,
    JifenModiYesOrNo INTEGER NOT NULL DEFAULT 0,
    JinEModiYesOrNo INTEGER NOT NULL DEFAULT 1,
    PrintYesOrNo INTEGER NOT NULL DEFAULT 0,
    PrintBig INTEGER NOT NULL DEFAULT 1,
    Biaoti TEXT NOT NULL DEFAULT '',
    piaowei1 TEXT NOT NULL DEFAULT '',
    piaowei2 TEXT NOT NULL DEFAULT '',
    piaowei3 TEXT NOT NULL DEFAULT '',
    piaowei4 TEXT NOT NULL DEFAULT '',
    piaowei5 TEXT NOT NULL DEFAULT '',
    SaoMaYes TEXT NOT NULL DEFAULT '0',
    FEnabledCard INTEGER NOT NULL DEFAULT 0,
    FFloatNum INTEGER NOT NULL DEFAULT 2,
    FPrintCount INTEGER NOT NULL DEFAULT 1,
    -- File of the host system's database read in sale mode "3".
    FHostDbPath TEXT NOT NULL DEFAULT ''
);

CREATE TABLE TblPrintSet (FAutoPrint INTEGER NOT NULL DEFAULT 1);

-- Catalogue lists -------------------------------------------------------------

CREATE TABLE SL_Store (
    StoreID INTEGER PRIMARY KEY AUTOINCREMENT,
    StoreName TEXT NOT NULL DEFAULT '',
    StoreShow TEXT NOT NULL DEFAULT '1'
);
CREATE INDEX idx_store_name ON SL_Store(StoreName);

CREATE TABLE SL_DaoGou (
    DaoGouID INTEGER PRIMARY KEY AUTOINCREMENT,
    DaoGouName TEXT NOT NULL DEFAULT '',
    DaoGouShow TEXT NOT NULL DEFAULT '1'
);
CREATE INDEX idx_daogou_name ON SL_DaoGou(DaoGouName);

CREATE TABLE SL_Brand (
    BrandID INTEGER PRIMARY KEY AUTOINCREMENT,
    BrandName TEXT NOT NULL DEFAULT '',
    BrandShow TEXT NOT NULL DEFAULT '1',
    BrandOrder INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX idx_brand_name ON SL_Brand(BrandName);

CREATE TABLE SL_ProSort (
    ProSortID INTEGER PRIMARY KEY AUTOINCREMENT,
    ProSortName TEXT NOT NULL DEFAULT '',
    ProSortShow TEXT NOT NULL DEFAULT '1',
    ProSortOrder INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX idx_prosort_name ON SL_ProSort(ProSortName);

CREATE TABLE SL_Danwei (
    DanweiID INTEGER PRIMARY KEY AUTOINCREMENT,
    DanweiName TEXT NOT NULL DEFAULT '',
    DanweiShow TEXT NOT NULL DEFAULT '1',
    DanweiOrder INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE SL_Zhekou (
    ZhekouID INTEGER PRIMARY KEY AUTOINCREMENT,
    ZhekouValue TEXT NOT NULL DEFAULT '1',
    ZhekouSelected TEXT NOT NULL DEFAULT '0',
    zhekouOrder INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE SL_Color (ColorID INTEGER PRIMARY KEY AUTOINCREMENT, ColorName TEXT NOT NULL DEFAULT '');
CREATE TABLE SL_Size (SizeID INTEGER PRIMARY KEY AUTOINCREMENT, SizeName TEXT NOT NULL DEFAULT '');

-- Products --------------------------------------------------------------------

CREATE TABLE Pro2 (
    Pro2ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Pro2Card TEXT NOT NULL DEFAULT '',
    Pro2Name TEXT NOT NULL DEFAULT '',
    Pro2PinYing TEXT NOT NULL DEFAULT '',
    Pro2JinJia REAL, -- empty (NULL) when no purchase price is entered
    Pro2ShouJia REAL NOT NULL DEFAULT 0,
    Pro2PifaJia REAL, -- empty (NULL) when no wholesale price is entered
    Pro2Chandi TEXT NOT NULL DEFAULT '',
    Pro2Other TEXT NOT NULL DEFAULT '',
    Pro2TejiaYes INTEGER NOT NULL DEFAULT 0,
    Pro2Show INTEGER NOT NULL DEFAULT 1,
    Pro2SortID INTEGER NOT NULL DEFAULT 0,
    Pro2BrandID INTEGER NOT NULL DEFAULT 0,
    Pro2DanweiID INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX idx_pro2_card ON Pro2(Pro2Card);
CREATE INDEX idx_pro2_name ON Pro2(Pro2Name);
CREATE INDEX idx_pro2_pinying ON Pro2(Pro2PinYing);

CREATE TABLE Pro_Huo (
    Pro_HuoID INTEGER PRIMARY KEY AUTOINCREMENT,
    Pro_HuoCard TEXT NOT NULL DEFAULT '',
    Pro_HuoName TEXT NOT NULL DEFAULT '',
    Pro_SordID INTEGER NOT NULL DEFAULT 0,
    Pro_BrankID INTEGER NOT NULL DEFAULT 0,
    Pro_ShouJia REAL NOT NULL DEFAULT 0,
    Pro_Other TEXT NOT NULL DEFAULT '',
    Pro_AllJinNum INTEGER NOT NULL DEFAULT 0,
    Pro_AllSaleNum INTEGER NOT NULL DEFAULT 0,
    Pro_AllTuiNum INTEGER NOT NULL DEFAULT 0,
    Pro_AllCunNum INTEGER NOT NULL DEFAULT 0,
    Pro_AllSaleJinE REAL NOT NULL DEFAULT 0,
    Pro_AllTuiJinE REAL NOT NULL DEFAULT 0,
    Pro_AllCunJinE REAL NOT NULL DEFAULT 0
);
CREATE INDEX idx_huo_card ON Pro_Huo(Pro_HuoCard);

CREATE TABLE Pro_Kuan (
    Pro_KuanID INTEGER PRIMARY KEY AUTOINCREMENT,
    Pro_HuoID INTEGER NOT NULL DEFAULT 0,
    Pro_KuanCard TEXT NOT NULL DEFAULT '',
    Pro_KuanXing TEXT NOT NULL DEFAULT '',
    Pro_KuanAllJinNum INTEGER NOT NULL DEFAULT 0,
    Pro_KuanAllSaleNum INTEGER NOT NULL DEFAULT 0,
    Pro_KuanAllTuiNum INTEGER NOT NULL DEFAULT 0,
    Pro_KuanAllCunNum INTEGER NOT NULL DEFAULT 0,
    Pro_KuanAllSaleJinE REAL NOT NULL DEFAULT 0,
    Pro_KuanAllTuiJinE REAL NOT NULL DEFAULT 0,
    Pro_KuanAllCunJinE REAL NOT NULL DEFAULT 0
);
CREATE INDEX idx_kuan_huo ON Pro_Kuan(Pro_HuoID);

CREATE TABLE Pro_Tiao (
    Pro_TiaoID INTEGER PRIMARY KEY AUTOINCREMENT,
    Pro_KuanID INTEGER NOT NULL DEFAULT 0,
    Pro_TiaoTiaoMa TEXT NOT NULL DEFAULT '',
    Pro_TiaoColorID INTEGER NOT NULL DEFAULT 0,
    Pro_TiaoSizeID INTEGER NOT NULL DEFAULT 0,
    Pro_TiaoAllJinNum INTEGER NOT NULL DEFAULT 0,
    Pro_TiaoAllSaleNum INTEGER NOT NULL DEFAULT 0,
    Pro_TiaoAllTuiNum INTEGER NOT NULL DEFAULT 0,
    Pro_TiaoAllCunNum INTEGER NOT NULL DEFAULT 0,
    Pro_TiaoAllSaleJinE REAL NOT NULL DEFAULT 0,
    Pro_TiaoAllTuiJinE REAL NOT NULL DEFAULT 0,
    Pro_TiaoAllCunJinE REAL NOT NULL DEFAULT 0
);
CREATE INDEX idx_tiao_code ON Pro_Tiao(Pro_TiaoTiaoMa);
CREATE INDEX idx_tiao_kuan ON Pro_Tiao(Pro_KuanID);

-- Sales -----------------------------------------------------------------------

CREATE TABLE S_Order (
    OrderID INTEGER PRIMARY KEY AUTOINCREMENT,
    UserID INTEGER NOT NULL DEFAULT 0,
    StoreID INTEGER NOT NULL DEFAULT 0,
    BrandID INTEGER NOT NULL DEFAULT 0,
    ProSortID INTEGER NOT NULL DEFAULT 0,
    DaoGouID INTEGER NOT NULL DEFAULT 0,
    AdminID INTEGER NOT NULL DEFAULT 0,
    ProName TEXT NOT NULL DEFAULT '',
    ProPrice REAL NOT NULL DEFAULT 0,
    ProSalePrice REAL NOT NULL DEFAULT 0,
    ProJiFen REAL NOT NULL DEFAULT 0,
    ProShuLiang REAL NOT NULL DEFAULT 0,
    ProSalePrice2 REAL NOT NULL DEFAULT 0,
    ProJifen2 REAL NOT NULL DEFAULT 0,
    OrderOther TEXT NOT NULL DEFAULT '',
    FTiaoID INTEGER NOT NULL DEFAULT 0,
    FBillNo TEXT NOT NULL DEFAULT '',
    FBillDate TEXT
);
CREATE INDEX idx_order_user ON S_Order(UserID);
CREATE INDEX idx_order_bill ON S_Order(FBillNo);

CREATE TABLE S_Sale (
    SaleID INTEGER PRIMARY KEY AUTOINCREMENT,
    UserID INTEGER NOT NULL DEFAULT 0,
    AdminID INTEGER NOT NULL DEFAULT 0,
    StoreID INTEGER NOT NULL DEFAULT 0,
    PriceAll REAL NOT NULL DEFAULT 0,
    JiFenAll REAL NOT NULL DEFAULT 0,
    NumAll INTEGER NOT NULL DEFAULT 0,
    SaleDate TEXT,
    SaleInputDate TEXT NOT NULL DEFAULT (datetime('now', 'localtime')),
    FBillNo TEXT NOT NULL DEFAULT '',
    FCashAll REAL NOT NULL DEFAULT 0,
    FCardAll REAL NOT NULL DEFAULT 0
);
CREATE INDEX idx_sale_user ON S_Sale(UserID);
CREATE INDEX idx_sale_date ON S_Sale(SaleDate);
CREATE INDEX idx_sale_bill ON S_Sale(FBillNo);

CREATE TABLE S_SaleDetail (
    SaleDetailID INTEGER PRIMARY KEY AUTOINCREMENT,
    SaleID INTEGER NOT NULL DEFAULT 0,
    UserID INTEGER NOT NULL DEFAULT 0,
    BrandID INTEGER NOT NULL DEFAULT 0,
    ProSortID INTEGER NOT NULL DEFAULT 0,
    DaoGouID INTEGER NOT NULL DEFAULT 0,
    ProName TEXT NOT NULL DEFAULT '',
    ProPrice REAL NOT NULL DEFAULT 0,
    ProSalePrice REAL NOT NULL DEFAULT 0,
    ProJiFen REAL NOT NULL DEFAULT 0,
    ProShuliang INTEGER NOT NULL DEFAULT 0,
    OrderOther TEXT NOT NULL DEFAULT '',
    FTiaoID INTEGER NOT NULL DEFAULT 0,
    FReturnFlag INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX idx_detail_sale ON S_SaleDetail(SaleID);
CREATE INDEX idx_detail_user ON S_SaleDetail(UserID);
CREATE INDEX idx_detail_return ON S_SaleDetail(FReturnFlag);
CREATE INDEX idx_detail_user_return ON S_SaleDetail(UserID, FReturnFlag);

-- Stored value and points -------------------------------------------------------

CREATE TABLE TblAddMoney (
    FID INTEGER PRIMARY KEY AUTOINCREMENT,
    FBillNo TEXT NOT NULL DEFAULT '',
    UserID INTEGER NOT NULL DEFAULT 0,
    FStoreID INTEGER NOT NULL DEFAULT 0,
    FAddMoney REAL NOT NULL DEFAULT 0,
    FBeforeMoney REAL NOT NULL DEFAULT 0,
    FAfterMoney REAL NOT NULL DEFAULT 0,
    FDate TEXT,
    FMaker TEXT NOT NULL DEFAULT '',
    FAdminID INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX idx_addmoney_user ON TblAddMoney(UserID);
CREATE INDEX idx_addmoney_date ON TblAddMoney(FDate);
CREATE INDEX idx_addmoney_bill ON TblAddMoney(FBillNo);

CREATE TABLE User_Cash (
    CashID INTEGER PRIMARY KEY AUTOINCREMENT,
    UserID INTEGER NOT NULL DEFAULT 0,
    UserCard TEXT NOT NULL DEFAULT '',
    UserName TEXT NOT NULL DEFAULT '',
    CashProName TEXT NOT NULL DEFAULT '',
    CashProPrice REAL NOT NULL DEFAULT 0,
    CashNum REAL NOT NULL DEFAULT 0,
    CashAddMoney REAL NOT NULL DEFAULT 0,
    CashNumOld REAL NOT NULL DEFAULT 0,
    CashNumNew REAL NOT NULL DEFAULT 0,
    CashAdmin TEXT NOT NULL DEFAULT '',
    CashDate TEXT NOT NULL DEFAULT (datetime('now', 'localtime')),
    CashOther TEXT NOT NULL DEFAULT ''
);
CREATE INDEX idx_cash_user ON User_Cash(UserID);
CREATE INDEX idx_cash_date ON User_Cash(CashDate);

-- Count cards -------------------------------------------------------------------

CREATE TABLE TblServiceInfo (
    FID INTEGER PRIMARY KEY AUTOINCREMENT,
    FServiceCard TEXT NOT NULL DEFAULT '',
    FServiceName TEXT NOT NULL DEFAULT '',
    FShowed INTEGER NOT NULL DEFAULT 1,
    FMemo TEXT NOT NULL DEFAULT ''
);
CREATE INDEX idx_service_card ON TblServiceInfo(FServiceCard);
CREATE INDEX idx_service_name ON TblServiceInfo(FServiceName);

CREATE TABLE TblAddCardCount (
    FID INTEGER PRIMARY KEY AUTOINCREMENT,
    FUserID INTEGER NOT NULL DEFAULT 0,
    FServiceID INTEGER NOT NULL DEFAULT 0,
    FCount INTEGER NOT NULL DEFAULT 0,
    FEnabledCount INTEGER NOT NULL DEFAULT 0,
    FBeforeCount INTEGER NOT NULL DEFAULT 0,
    FPayMoney REAL NOT NULL DEFAULT 0,
    FScore INTEGER NOT NULL DEFAULT 0,
    FAdminID INTEGER NOT NULL DEFAULT 0,
    FDaoGouID INTEGER NOT NULL DEFAULT 0,
    FStoreID INTEGER NOT NULL DEFAULT 0,
    FDate TEXT,
    FMemo TEXT NOT NULL DEFAULT ''
);
CREATE INDEX idx_addcount_user ON TblAddCardCount(FUserID, FServiceID);

CREATE TABLE TblAddCardCountHistory (
    FID INTEGER PRIMARY KEY AUTOINCREMENT,
    FUserID INTEGER NOT NULL DEFAULT 0,
    FServiceID INTEGER NOT NULL DEFAULT 0,
    FCount INTEGER NOT NULL DEFAULT 0,
    FBeforeCount INTEGER NOT NULL DEFAULT 0,
    FAfterCount INTEGER NOT NULL DEFAULT 0,
    FPayMoney REAL NOT NULL DEFAULT 0,
    FScore INTEGER NOT NULL DEFAULT 0,
    FAdminID INTEGER NOT NULL DEFAULT 0,
    FDaoGouID INTEGER NOT NULL DEFAULT 0,
    FStoreID INTEGER NOT NULL DEFAULT 0,
    FDate TEXT,
    FMemo TEXT NOT NULL DEFAULT ''
);
CREATE INDEX idx_addcounthist_user ON TblAddCardCountHistory(FUserID);
CREATE INDEX idx_addcounthist_date ON TblAddCardCountHistory(FDate);

CREATE TABLE TblCardCountSale (
    FID INTEGER PRIMARY KEY AUTOINCREMENT,
    FBillNo TEXT NOT NULL DEFAULT '',
    FUserID INTEGER NOT NULL DEFAULT 0,
    FServiceID INTEGER NOT NULL DEFAULT 0,
    FCount INTEGER NOT NULL DEFAULT 0,
    FDaoGouID INTEGER NOT NULL DEFAULT 0,
    FStoreID INTEGER NOT NULL DEFAULT 0,
    FAdminID INTEGER NOT NULL DEFAULT 0,
    FDate TEXT,
    FMemo TEXT NOT NULL DEFAULT ''
);
CREATE INDEX idx_countsale_bill ON TblCardCountSale(FBillNo);
CREATE INDEX idx_countsale_user ON TblCardCountSale(FUserID);
CREATE INDEX idx_countsale_date ON TblCardCountSale(FDate);

CREATE TABLE TblCardCountSaleHistory (
    FID INTEGER PRIMARY KEY AUTOINCREMENT,
    FBillNo TEXT NOT NULL DEFAULT '',
    FUserID INTEGER NOT NULL DEFAULT 0,
    FServiceID INTEGER NOT NULL DEFAULT 0,
    FCount INTEGER NOT NULL DEFAULT 0,
    FDaoGouID INTEGER NOT NULL DEFAULT 0,
    FStoreID INTEGER NOT NULL DEFAULT 0,
    FAdminID INTEGER NOT NULL DEFAULT 0,
    FDate TEXT,
    FScore INTEGER NOT NULL DEFAULT 0,
    FMemo TEXT NOT NULL DEFAULT ''
);
CREATE INDEX idx_countsalehist_bill ON TblCardCountSaleHistory(FBillNo);
CREATE INDEX idx_countsalehist_user ON TblCardCountSaleHistory(FUserID);
CREATE INDEX idx_countsalehist_date ON TblCardCountSaleHistory(FDate);

CREATE TABLE TblCardCountReturn (
    FID INTEGER PRIMARY KEY AUTOINCREMENT,
    FBillNo TEXT NOT NULL DEFAULT '',
    FUserID INTEGER NOT NULL DEFAULT 0,
    FAdminID INTEGER NOT NULL DEFAULT 0,
    FStoreID INTEGER NOT NULL DEFAULT 0,
    FServiceID INTEGER NOT NULL DEFAULT 0,
    FDate TEXT,
    FCount INTEGER NOT NULL DEFAULT 0,
    FMemo TEXT NOT NULL DEFAULT ''
);

-- Stored queries ------------------------------------------------------------------

CREATE VIEW S_Order_All AS
SELECT o.*, ps.ProSortName, b.BrandName, d.DaoGouName, s.StoreName
FROM S_Order o
LEFT JOIN SL_ProSort ps ON ps.ProSortID = o.ProSortID
LEFT JOIN SL_Brand b ON b.BrandID = o.BrandID
LEFT JOIN SL_DaoGou d ON d.DaoGouID = o.DaoGouID
LEFT JOIN SL_Store s ON s.StoreID = o.StoreID;

CREATE VIEW Pro2_View_All AS
SELECT p.*, ps.ProSortName, b.BrandName, dw.DanweiName
FROM Pro2 p
LEFT JOIN SL_ProSort ps ON ps.ProSortID = p.Pro2SortID
LEFT JOIN SL_Brand b ON b.BrandID = p.Pro2BrandID
LEFT JOIN SL_Danwei dw ON dw.DanweiID = p.Pro2DanweiID;

CREATE VIEW S_Sale_All AS
SELECT s.*, u.User_Card, u.User_Name, st.StoreName, a.Admin_Name
FROM S_Sale s
LEFT JOIN User_Info u ON u.User_ID = s.UserID
LEFT JOIN SL_Store st ON st.StoreID = s.StoreID
LEFT JOIN admin a ON a.Admin_ID = s.AdminID;

CREATE VIEW S_SaleDetail_All AS
SELECT d.SaleDetailID, d.SaleID, d.UserID, d.BrandID, d.ProSortID, d.DaoGouID, d.ProName,
       d.ProPrice, d.ProSalePrice, d.ProJiFen, d.ProShuliang, d.OrderOther, d.FTiaoID,
       d.FReturnFlag, u.User_Card, u.User_Name, ps.ProSortName, b.BrandName, dg.DaoGouName,
       st.StoreName, a.Admin_Name, s.SaleDate, s.SaleInputDate, s.PriceAll, s.JiFenAll,
       s.FCashAll, s.FCardAll, s.StoreID, s.AdminID, s.FBillNo
FROM S_SaleDetail d
JOIN S_Sale s ON s.SaleID = d.SaleID
LEFT JOIN User_Info u ON u.User_ID = d.UserID
LEFT JOIN SL_ProSort ps ON ps.ProSortID = d.ProSortID
LEFT JOIN SL_Store st ON st.StoreID = s.StoreID
LEFT JOIN SL_DaoGou dg ON dg.DaoGouID = d.DaoGouID
LEFT JOIN admin a ON a.Admin_ID = s.AdminID
LEFT JOIN SL_Brand b ON b.BrandID = d.BrandID;

CREATE VIEW SaleView AS
SELECT d.SaleID, d.SaleDetailID, d.UserID, u.User_ID, u.User_Card, u.User_Name, s.SaleDate,
       d.ProName, d.ProPrice, d.ProSalePrice, d.ProShuliang, d.ProJiFen, b.BrandName,
       ps.ProSortName, dg.DaoGouName, d.OrderOther, s.PriceAll, s.JiFenAll, d.FReturnFlag,
       d.FTiaoID, s.StoreID, s.FBillNo
FROM S_SaleDetail d
JOIN S_Sale s ON s.SaleID = d.SaleID
LEFT JOIN User_Info u ON u.User_ID = d.UserID
LEFT JOIN SL_Brand b ON b.BrandID = d.BrandID
LEFT JOIN SL_ProSort ps ON ps.ProSortID = d.ProSortID
LEFT JOIN SL_DaoGou dg ON dg.DaoGouID = d.DaoGouID;

CREATE VIEW SL_SaleSingleView AS
SELECT s.SaleID, s.UserID, s.FCashAll, s.FCardAll, s.PriceAll, s.JiFenAll, s.SaleDate,
       s.StoreID, s.AdminID, st.StoreName, a.Admin_Name
FROM S_Sale s
LEFT JOIN SL_Store st ON st.StoreID = s.StoreID
LEFT JOIN admin a ON a.Admin_ID = s.AdminID;

CREATE VIEW AddMoneyView AS
SELECT m.*, u.User_Card, u.User_Name, st.StoreName, a.Admin_Name
FROM TblAddMoney m
LEFT JOIN User_Info u ON u.User_ID = m.UserID
LEFT JOIN SL_Store st ON st.StoreID = m.FStoreID
LEFT JOIN admin a ON a.Admin_ID = m.FAdminID;

CREATE VIEW AddCardCountView AS
SELECT c.FID, c.FUserID, c.FServiceID, c.FCount, c.FEnabledCount, c.FBeforeCount, c.FPayMoney,
       c.FScore, c.FAdminID, c.FDaoGouID, c.FStoreID, c.FDate, c.FMemo, u.User_Name, u.User_Card,
       si.FServiceName, si.FServiceCard
FROM TblAddCardCount c
JOIN TblServiceInfo si ON si.FID = c.FServiceID
LEFT JOIN User_Info u ON u.User_ID = c.FUserID;

CREATE VIEW AddCardCountHistoryView AS
SELECT h.*, u.User_Name, u.User_Card, si.FServiceName, dg.DaoGouName, st.StoreName, a.Admin_Name
FROM TblAddCardCountHistory h
LEFT JOIN User_Info u ON u.User_ID = h.FUserID
JOIN TblServiceInfo si ON si.FID = h.FServiceID
LEFT JOIN SL_DaoGou dg ON dg.DaoGouID = h.FDaoGouID
LEFT JOIN SL_Store st ON st.StoreID = h.FStoreID
LEFT JOIN admin a ON a.Admin_ID = h.FAdminID;

CREATE VIEW CardCountSaleDView AS
SELECT h.*, u.User_Name, u.User_Card, si.FServiceName, dg.DaoGouName, st.StoreName, a.Admin_Name
FROM TblCardCountSaleHistory h
JOIN TblServiceInfo si ON si.FID = h.FServiceID
LEFT JOIN User_Info u ON u.User_ID = h.FUserID
LEFT JOIN SL_DaoGou dg ON dg.DaoGouID = h.FDaoGouID
LEFT JOIN SL_Store st ON st.StoreID = h.FStoreID
LEFT JOIN admin a ON a.Admin_ID = h.FAdminID;

-- Columns of the bill (TblCardCountSale) keep their names; those of the
-- consumption line carry the prefix History.
CREATE VIEW TblCardCountSaleView AS
SELECT cs.FID, cs.FUserID, cs.FServiceID, cs.FCount, cs.FDate, cs.FBillNo, cs.FMemo,
       h.FID AS HistoryFID, h.FUserID AS HistoryFUserID, h.FServiceID AS HistoryFServiceID,
       h.FCount AS HistoryFCount, h.FBillNo AS HistoryFBillNo, h.FScore AS HistoryFScore,
       u.User_Card, u.User_Name, si.FServiceName, dg.DaoGouName, st.StoreName, a.Admin_Name
FROM TblCardCountSale cs
JOIN TblCardCountSaleHistory h ON h.FBillNo = cs.FBillNo
LEFT JOIN User_Info u ON u.User_ID = cs.FUserID
JOIN TblServiceInfo si ON si.FID = cs.FServiceID
LEFT JOIN SL_DaoGou dg ON dg.DaoGouID = cs.FDaoGouID
LEFT JOIN SL_Store st ON st.StoreID = cs.FStoreID
LEFT JOIN admin a ON a.Admin_ID = cs.FAdminID;

CREATE VIEW ServiceView AS
SELECT c.FID, c.FUserID, c.FServiceID, c.FCount, c.FBeforeCount, c.FEnabledCount, c.FPayMoney,
       c.FDate, c.FScore, c.FMemo, u.User_Name, u.User_Card, si.FServiceName, si.FServiceCard
FROM TblAddCardCount c
LEFT JOIN User_Info u ON u.User_ID = c.FUserID
LEFT JOIN TblServiceInfo si ON si.FID = c.FServiceID;

CREATE VIEW QueryServiceView AS
SELECT c.FID, si.FServiceCard, si.FServiceName, si.FMemo, si.FShowed, c.FUserID, c.FServiceID,
       c.FEnabledCount
FROM TblAddCardCount c
JOIN TblServiceInfo si ON si.FID = c.FServiceID
LEFT JOIN User_Info u ON u.User_ID = c.FUserID;

-- Seed rows ---------------------------------------------------------------------

INSERT INTO User_Sex (SexID, SexName) VALUES (1, '男'), (2, '女');

INSERT INTO Date_Year (YearID, YearName)
WITH RECURSIVE y(n) AS (SELECT 1950 UNION ALL SELECT n + 1 FROM y WHERE n < 2030)
SELECT n - 1949, CAST(n AS TEXT) FROM y;

INSERT INTO Date_Month (MonthID, MonthName)
WITH RECURSIVE m(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM m WHERE n < 12)
SELECT n, CAST(n AS TEXT) FROM m;

INSERT INTO Date_Day (DayID, DayName)
WITH RECURSIVE d(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM d WHERE n < 31)
SELECT n, CAST(n AS TEXT) FROM d;

INSERT INTO DataSeting (CashSeting, JifenSeting, JifenModiYesOrNo, JinEModiYesOrNo, PrintYesOrNo,
                        PrintBig, Biaoti, piaowei1, piaowei2, piaowei3, piaowei4, piaowei5,
                        SaoMaYes, FEnabledCard, FFloatNum, FPrintCount)
VALUES (100, 10, 0, 1, 0, 1, '欢迎光临', '谢谢惠顾，欢迎再次光临！', '', '', '', '', '0', 0, 2, 1);

INSERT INTO TblPrintSet (FAutoPrint) VALUES (1);

INSERT INTO admin (Admin_Name, Admin_Pwd, Admin_Group) VALUES ('admin', 'admin', '99');

INSERT INTO SL_Store (StoreName) VALUES ('总店');

INSERT INTO SL_Zhekou (ZhekouValue, ZhekouSelected, zhekouOrder) VALUES
    ('1', '1', 1), ('0.95', '0', 2), ('0.9', '0', 3), ('0.88', '0', 4), ('0.85', '0', 5),
    ('0.8', '0', 6), ('0.75', '0', 7), ('0.7', '0', 8);

INSERT INTO SL_Danwei (DanweiName, DanweiOrder) VALUES
    ('个', 5), ('件', 4), ('份', 3), ('瓶', 2), ('盒', 1);

-- Version 1; the numbered steps in schema_step<N>.sql follow it.
PRAGMA user_version = 1;
