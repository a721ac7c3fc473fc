#pragma once

#include "platform/ReceiptOutput.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Database;
struct ShopSettings;

enum class ReceiptPaper { Mm58, Mm80 };

// Which checkout a receipt belongs to: the member sale screens' checkout or
// the external-inventory (sale mode "3") checkout.
enum class ReceiptKind { MemberSale, ThirdModel };

// The figures of the checkout that are not stored with the sale, as the
// checkout dialog shows them (texts, trimmed).
struct ReceiptFigures {
    QString cardNo;      // the sale screen's card number
    QString total;       // the sale screen's bill total, e.g. "59.70"
    QString cash;        // cash tendered (member-sale receipt only)
    QString storedValue; // stored value paid (member-sale receipt only)
    QString change;      // change given (member-sale receipt only)
};

// Everything a receipt prints besides the stored sale.
struct ReceiptInputs {
    ReceiptFigures figures;
    QString title;      // Biaoti
    QStringList footer; // piaowei1 .. piaowei5, as set
    QString operatorId; // the logged-in operator's id
    QDateTime printedAt;
};

// One detail line of a stored sale, as the receipt reads it back.
struct ReceiptDetail {
    qint64 saleDetailId = 0;
    QString proSortId; // the category id as text
    QString proName;
    QString orderOther;
    double quantity = 0;
    double salePrice = 0;
};

// A stored sale read back for its receipt.
struct ReceiptSale {
    qint64 saleId = 0;
    QList<ReceiptDetail> details;
    std::optional<double> jifenAll; // absent when the sale row is not found
    std::optional<double> userNum;  // absent when the member row is not found

    // Reads the sale's detail lines, points and member balance. Throws DbError.
    static ReceiptSale load(Database &db, qint64 saleId);
};

// Turns a stored sale into the lines of a receipt, 58 or 80 mm.
class ReceiptLayout
{
public:
    // Length of a text in the receipt printer's code page: two bytes per
    // character outside ASCII.
    static int byteLength(const QString &text);
    // The integer's decimal text preceded by zeros up to `width` (at most 20).
    static QString add0(int width, qint64 value);
    // The text preceded by blanks: min(width, 100) minus twice its byte
    // length, none when the text is already `width` bytes long or more.
    static QString addKongge(int width, const QString &text);
    // "2008" followed by the sale id zero-padded to eight digits.
    static QString receiptNumber(qint64 saleId);

    static QString nameLine(const ReceiptDetail &detail);
    static QString valueLine(const ReceiptDetail &detail);

    static ReceiptPage lines(ReceiptKind kind, ReceiptPaper paper, const ReceiptSale &sale,
                             const ReceiptInputs &inputs);

    // The date and time line's value ("2024/3/5 9:07:02").
    static QString timeText(const QDateTime &at);
};

// 80 mm paper when PrintBig is 2, 58 mm otherwise.
ReceiptPaper ReceiptPaperFor(const ShopSettings &settings);

// How many receipts a checkout prints now: FPrintCount read from the
// database when PrintYesOrNo is 1, else 0 (never negative). Throws DbError.
int ReceiptCopies(Database &db, const ShopSettings &settings);

// The figures as far as the stored sale knows them: the member's card, the
// bill total, the cash part and the stored-value part; the change as "0".
// For callers that no longer hold the checkout's own texts. Throws DbError.
ReceiptFigures StoredReceiptFigures(Database &db, qint64 saleId);
