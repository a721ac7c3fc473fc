#include "sales/ReceiptPrinter.h"

#include "context/AppContext.h"
#include "data/Database.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <memory>

namespace
{

// Receipt units are the dots of a 203 dpi thermal printer.
constexpr double UnitsPerInch = 203.2;
constexpr double UnitsPerMm = 8.0;

// The receipt's fonts with what stands in for them where they are missing.
QFont receiptFont(const ReceiptLine &line)
{
    QFont font;
    if (line.fontFamily == QLatin1String("Arial Narrow"))
        font.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"),
                          QStringLiteral("Nimbus Sans Narrow"),
                          QStringLiteral("WenQuanYi Micro Hei")});
    else
        font.setFamilies({line.fontFamily, QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN"),
                          QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(line.pointSize);
    font.setBold(line.bold);
    return font;
}

int bottomOf(const QList<ReceiptLine> &lines)
{
    int bottom = 0;
    for (const ReceiptLine &l : lines)
        bottom = std::max(bottom, l.y);
    return bottom + 60;
}

bool printOnce(AppContext &ctx, const ReceiptPage &page)
{
    if (ctx.receiptOutput)
        return ctx.receiptOutput->printReceipt(page);
    ReceiptPrinter printer;
    return printer.printReceipt(page);
}

bool printCopies(AppContext &ctx, qint64 saleId, int copies, ReceiptKind kind,
                 const ReceiptFigures &figures)
{
    bool allPrinted = true;
    for (int i = 0; i < copies; ++i) {
        bool printed = false;
        try {
            const ShopSettings &s = ctx.session.settings;
            ReceiptInputs inputs;
            inputs.figures = figures;
            inputs.title = s.Biaoti;
            inputs.footer = {s.piaowei1, s.piaowei2, s.piaowei3, s.piaowei4, s.piaowei5};
            inputs.operatorId = ctx.session.login.MyAdminID;
            inputs.printedAt = ctx.clock.now();
            const ReceiptSale sale = ReceiptSale::load(ctx.db, saleId);
            printed = printOnce(ctx, ReceiptLayout::lines(kind, ReceiptPaperFor(s), sale, inputs));
        } catch (const DbError &) {
            printed = false;
        }
        if (!printed) {
            allPrinted = false;
            ctx.prompter.information(ReceiptPrintErrorText());
        }
    }
    return allPrinted;
}

} // namespace

ReceiptPrinter::ReceiptPrinter() = default;

ReceiptPrinter ReceiptPrinter::pdf(const QString &path)
{
    ReceiptPrinter p;
    p.m_pdfPath = path;
    return p;
}

void ReceiptPrinter::drawLines(QPainter &painter, const QList<ReceiptLine> &lines,
                               double unitsToDevice)
{
    for (const ReceiptLine &line : lines) {
        QString text = line.text;
        text.remove(QLatin1Char('\r'));
        const QFont font = receiptFont(line);
        painter.setFont(font);
        // A line's position is the top of its text cell; Qt draws from the baseline.
        const QFontMetricsF metrics(font, painter.device());
        painter.drawText(QPointF(0, line.y * unitsToDevice + metrics.ascent()), text);
    }
}

bool ReceiptPrinter::printReceipt(const ReceiptPage &page)
{
    std::unique_ptr<QPrinter> printer;
    if (m_pdfPath.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return false;
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        printer->setDocName(QStringLiteral("小票"));
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_pdfPath);
        const QSizeF size(page.paperWidthMm, bottomOf(page.lines) / UnitsPerMm);
        printer->setPageLayout(QPageLayout(QPageSize(size, QPageSize::Millimeter),
                                           QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                           QPageLayout::Millimeter));
    }
    QPainter painter;
    if (!painter.begin(printer.get()))
        return false;
    drawLines(painter, page.lines, printer->resolution() / UnitsPerInch);
    if (!painter.end())
        return false;
    return printer->printerState() != QPrinter::Error &&
           printer->printerState() != QPrinter::Aborted;
}

QString ReceiptPrintErrorText()
{
    return QStringLiteral("打印小票错误，请查看小票打印机设置！");
}

bool PrintSaleReceipt(AppContext &ctx, qint64 saleId, int copies)
{
    ReceiptFigures figures;
    try {
        figures = StoredReceiptFigures(ctx.db, saleId);
    } catch (const DbError &) {
        // The copies below fail the same way and say so.
    }
    return printCopies(ctx, saleId, copies, ReceiptKind::MemberSale, figures);
}

bool PrintSaleReceipt(AppContext &ctx, qint64 saleId, int copies, const ReceiptFigures &figures)
{
    return printCopies(ctx, saleId, copies, ReceiptKind::MemberSale, figures);
}

bool PrintThirdModelReceipt(AppContext &ctx, qint64 saleId, int copies,
                            const ReceiptFigures &figures)
{
    return printCopies(ctx, saleId, copies, ReceiptKind::ThirdModel, figures);
}
