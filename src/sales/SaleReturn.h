#pragma once

#include "data/Money.h"
#include "data/QuerySource.h"
#include "data/Refusal.h"

#include <QString>
#include <optional>
#include <variant>

class Database;

// Taking back one sold line of a member: the line is marked returned, a
// negative copy goes into the same sale, the sale's totals drop, the goods
// go back into the inventory totals (sale mode "2"), and the member gets
// back points, spending and, where the sale was paid from stored value,
// the money.
namespace SaleReturn
{

// How the sale being returned from was paid.
enum class Payment {
    Cash,  // cash only
    Card,  // stored value only
    Mixed, // both: the operator splits the refund
    None,  // neither total above 0: points and spending only, no money moves
};

// What a return of one line would take back, read before asking anything.
struct Plan {
    qint64 saleId = 0;
    Money amount;      // 折扣价 x 数量 of the sold line
    double points = 0; // 积分 x 数量
    Money saleCash;    // the sale's cash total now
    Money saleCard;    // the sale's stored-value total now
    Payment payment = Payment::Cash;
};

// The refund split a mixed sale needs.
struct Split {
    Money cash;
    Money card;
};

// The messages of the return window and its refund dialog.
inline const QString AlreadyReturned = QStringLiteral("该商品已经退货!");
inline const QString AboveSaleTotal =
    QStringLiteral("当前销售明细退货金额大于总销售金额,不能退出!");

// The return window's list: the member's sold lines not yet returned.
// A negative id (no member shown) gives the same columns and no row.
QuerySource History(qint64 memberId);
// Every returned line, for the return window's export.
QuerySource ReturnedLinesExport();

// Reads the line and its sale: the plan, or why the line cannot be
// returned (gone, already returned, not the member's, above the sale's
// total). Throws DbError.
std::variant<Plan, Refusal> Prepare(Database &db, qint64 memberId, qint64 saleDetailId);

// The refund dialog's checks of a split, in its order; the focus names are
// the dialog's boxes. Nothing when the split is accepted: it then adds up
// to the returned amount exactly and neither part exceeds what the sale
// was paid that way.
std::optional<Refusal> CheckSplit(const Plan &plan, const Split &split);

struct Request {
    qint64 memberId = 0;        // the member shown
    qint64 saleDetailId = 0;    // the sold line chosen
    std::optional<Split> split; // for a mixed sale: the split confirmed
};

struct Result {
    std::optional<Refusal> refusal; // set: nothing was written
    qint64 returnLineId = 0;        // the negative line otherwise
};

// The whole return in one transaction, checked again against what is
// stored now (a double click or a second window never returns a line
// twice). Throws DbError and leaves everything as it was.
Result Run(Database &db, const Request &request);

} // namespace SaleReturn
