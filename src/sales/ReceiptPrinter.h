#pragma once

#include "platform/ReceiptOutput.h"
#include "sales/ReceiptLayout.h"

#include <QString>

struct AppContext;
class QPainter;

// Draws receipts on a printer: the system's default printer, or a PDF file
// (previews and tests). Positions are scaled from the receipt printer's units
// to the device, fonts keep their point size.
class ReceiptPrinter : public ReceiptOutput
{
public:
    // The system's default printer.
    ReceiptPrinter();
    // A PDF file, one page per receipt, as wide as the paper.
    static ReceiptPrinter pdf(const QString &path);

    bool printReceipt(const ReceiptPage &page) override;

    // Draws the lines; `unitsToDevice` converts receipt units to device pixels.
    static void drawLines(QPainter &painter, const QList<ReceiptLine> &lines, double unitsToDevice);

private:
    QString m_pdfPath;
};

// The message shown when a receipt could not be printed.
QString ReceiptPrintErrorText();

// Prints `copies` receipts of the stored sale `saleId` (none when copies < 1),
// 58 or 80 mm by the settings (PrintBig). The caller decides whether to print
// (PrintYesOrNo, FPrintCount: see ReceiptCopies). Call after the sale is
// committed. On a missing printer or a printer error shows
// "打印小票错误，请查看小票打印机设置！" (once per failed copy, the next copy is
// still tried) and returns false; the sale is never touched.
// This form prints the figures stored with the sale (StoredReceiptFigures):
// the cash part as stored and a change of 0.
bool PrintSaleReceipt(AppContext &ctx, qint64 saleId, int copies);
// The same with the checkout dialog's own texts (card number, bill total,
// cash tendered, stored value, change), as the member-sale checkout prints.
bool PrintSaleReceipt(AppContext &ctx, qint64 saleId, int copies, const ReceiptFigures &figures);
// The external-inventory checkout's receipt (sale mode "3"): no title, no
// cash lines, no footer; `figures.cardNo` and `figures.total` are printed.
bool PrintThirdModelReceipt(AppContext &ctx, qint64 saleId, int copies,
                            const ReceiptFigures &figures);
