#pragma once

#include "data/QuerySource.h"
#include "sales/SaleLine.h"

class Database;

// A member's open bill: the rows of S_Order under the member's id, from
// the first item added until the checkout (or an abandon) deletes them.
namespace OpenBill
{

// The select of the open-bill grid (titles are the grid's columns).
QuerySource Statement(int userId);
// Widths of the grid's columns, in column order.
QList<int> ColumnWidths();

struct Totals {
    double amount = 0; // sum of the line amounts (总价格)
    double points = 0; // sum of the line points (总积分)
    int lines = 0;
};
Totals TotalsOf(Database &db, int userId);

// Adds one validated line for the member. The shop, brand, category and
// shop assistant are stored by id (0 for a name not found). Returns the
// new OrderID. Throws DbError.
qint64 AddLine(Database &db, int userId, int adminId, const SaleLineInput &input,
               const SaleLineFigures &figures);
// Deletes one line by its OrderID.
void DeleteLine(Database &db, qint64 orderId);
// Deletes every open line of the member.
void Abandon(Database &db, int userId);

} // namespace OpenBill
