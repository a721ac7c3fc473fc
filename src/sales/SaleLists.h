#pragma once

#include "data/QuerySource.h"

#include <QStringList>
#include <optional>

class Database;

// The drop-down lists of the member sale screens, each a select of names in
// the order the table holds them.
namespace SaleLists
{

QuerySource Brands();     // SL_Brand, shown brands
QuerySource Categories(); // SL_ProSort, shown categories
QuerySource Daogou();     // SL_DaoGou, shown shop assistants
// The shops this copy works for: every shown shop when the operator's shop
// id is "0", else only that shop.
QuerySource Shops(const QString &dianMianId);

// The discount factors and the one preselected: the last row marked
// selected, or the first when none is.
struct Discounts {
    QStringList values;
    int selected = 0;
};
Discounts LoadDiscounts(Database &db);

} // namespace SaleLists

// A product of the shop's catalogue found by its code, as the scan-mode
// screen fills its fields.
struct ScannedProduct {
    QString category; // ProSortName
    QString brand;    // BrandName
    QString name;     // Pro2Name
    QString price;    // Pro2ShouJia as text
};

namespace SaleLists
{
// The product on sale whose code is exactly `code`; nothing when none is.
// Throws DbError.
std::optional<ScannedProduct> ProductByCode(Database &db, const QString &code);
// True when the shop query of the operator finds a shop.
bool HasShop(Database &db, const QString &dianMianId);
} // namespace SaleLists
