-- Step 3: indexes for the sales statistics. The totals of a date range are
-- read from the indexes alone: the sales by date with the shop, operator and
-- the sale's sums; the lines of a sale with their price, quantity and shop
-- assistant; the recharges by date with shop, operator and amount; the
-- members' stored value. The sale id follows the date in the sales index, so
-- lists in date order need no sorting.
CREATE INDEX IF NOT EXISTS idx_sale_stats
    ON S_Sale(SaleDate, SaleID, StoreID, AdminID, FCashAll, FCardAll, JiFenAll);
CREATE INDEX IF NOT EXISTS idx_detail_stats
    ON S_SaleDetail(SaleID, ProSalePrice, ProShuliang, DaoGouID);
CREATE INDEX IF NOT EXISTS idx_addmoney_stats
    ON TblAddMoney(FDate, FID, FStoreID, FAdminID, FAddMoney);
CREATE INDEX IF NOT EXISTS idx_user_chuzhi ON User_Info(User_ChuZhi);
