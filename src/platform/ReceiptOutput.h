#pragma once

#include <QList>
#include <QString>

// One line of a printed receipt: its text, font and vertical position.
// Positions are in the units of a 203 dpi receipt printer (8 units per
// millimetre), measured from the top of the receipt; every line starts at
// the left edge.
struct ReceiptLine {
    QString text;
    QString fontFamily; // "楷体" or "Arial Narrow"
    int pointSize = 9;
    bool bold = false;
    int y = 0;

    bool operator==(const ReceiptLine &) const = default;
};

// One receipt as it goes to the printer.
struct ReceiptPage {
    int paperWidthMm = 58; // 58 or 80
    QList<ReceiptLine> lines;
};

// Where receipts are printed. The program prints on the system's default
// printer; tests and previews install their own output in AppContext.
class ReceiptOutput
{
public:
    virtual ~ReceiptOutput() = default;
    // Prints one receipt. False when there is no printer or printing failed.
    virtual bool printReceipt(const ReceiptPage &page) = 0;
};
