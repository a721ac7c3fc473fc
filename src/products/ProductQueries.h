#pragma once

#include "data/QuerySource.h"

#include <QString>

// The selects of the catalogue window and the product search. Every value
// typed by the operator is bound; LIKE patterns escape % and _ so that they
// match literally.

// --- Catalogue window (TFPro2) -------------------------------------------------

// A condition of the product list: text starting with " where ", and its binds.
using ListCondition = QuerySource;

// The product list around a condition (empty: every product).
QuerySource Pro2ListSource(const ListCondition &condition);
// 全部: products on sale, or every product when not-on-sale ones are included.
ListCondition Pro2ShownCondition(bool includeNotOnSale);
// 特价: every special-price product, on sale or not.
ListCondition Pro2SpecialCondition();

// 查找 of the catalogue window.
struct Pro2Search {
    QString keyword;  // cleaned text of the keyword box
    QString field;    // "编码", "产品名" or "拼音首字母"
    QString category; // empty: every category ("全部分类")
    QString brand;    // empty: every brand ("全部品牌")
    bool includeNotOnSale = false;
};
ListCondition Pro2SearchCondition(const Pro2Search &search);

// --- Product search dialog (TFrmGoodsQuery) --------------------------------------

// Filters of the search dialog; empty means no filter.
struct GoodsFilter {
    QString name;
    QString category;
    QString brand;
};

// The goods of a sale mode ("1", "2", "3") with the filters applied; empty
// for any other mode (nothing is listed).
QuerySource GoodsQuerySource(const QString &mode, const GoodsFilter &filter = {});
// The column whose value is handed back: 编码 in mode "1", 条码 in "2" and "3".
QString GoodsCodeColumn(const QString &mode);
