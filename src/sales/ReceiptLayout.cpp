#include "sales/ReceiptLayout.h"

#include "data/Database.h"
#include "data/ShopSettings.h"
#include "data/TextRules.h"

#include <algorithm>

namespace
{

const QString Kaiti = QStringLiteral("楷体");
const QString Narrow = QStringLiteral("Arial Narrow");
const QString Stars = QString(32, QLatin1Char('*'));
const QString SaleRule = QStringLiteral("- - - - - - - - - - -  销   售  - - - - - - - - - - - -");
const QString Heading = QStringLiteral("编码/名称      数量    单  价    金  额");
const QString ClosingRule =
    QStringLiteral("- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -");
const QString EndLine = QStringLiteral("              .\r");

// Builds the receipt top to bottom; `at` is the position of the next line.
class PageWriter
{
public:
    QList<ReceiptLine> lines;
    int at = 0;

    void put(int y, const QString &text, const QString &font = Narrow, int size = 9,
             bool bold = false)
    {
        lines.append(ReceiptLine{text, font, size, bold, y});
    }
};

} // namespace

int ReceiptLayout::byteLength(const QString &text)
{
    int n = 0;
    for (const QChar c : text)
        n += c.unicode() < 0x80 ? 1 : 2;
    return n;
}

QString ReceiptLayout::add0(int width, qint64 value)
{
    const QString digits = QString::number(value);
    if (digits.size() >= width)
        return digits;
    const int zeros = std::min(width, 20) - int(digits.size());
    return zeros > 0 ? QString(zeros, QLatin1Char('0')) + digits : digits;
}

QString ReceiptLayout::addKongge(int width, const QString &text)
{
    const int bytes = byteLength(text);
    if (bytes >= width)
        return text;
    // Two blanks per byte of the text: the receipt's columns rely on it.
    const int blanks = std::min(width, 100) - 2 * bytes;
    return blanks > 0 ? QString(blanks, QLatin1Char(' ')) + text : text;
}

QString ReceiptLayout::receiptNumber(qint64 saleId)
{
    return QStringLiteral("2008") + add0(8, saleId);
}

QString ReceiptLayout::nameLine(const ReceiptDetail &detail)
{
    const QString name = detail.proName.trimmed();
    const QString other = detail.orderOther.trimmed();
    return other.isEmpty() ? name : name + QStringLiteral("  (") + other + QLatin1Char(')');
}

QString ReceiptLayout::valueLine(const ReceiptDetail &detail)
{
    const qint64 quantity = qRound64(detail.quantity);
    const double amount = detail.salePrice * double(quantity);
    return detail.proSortId.trimmed() + add0(8, detail.saleDetailId) +
           QString(7, QLatin1Char(' ')) + addKongge(5, NumberText(detail.quantity)) +
           QString(4, QLatin1Char(' ')) + addKongge(12, NumberText(detail.salePrice)) +
           QString(5, QLatin1Char(' ')) + addKongge(12, NumberText(amount));
}

QString ReceiptLayout::timeText(const QDateTime &at)
{
    // The short date and long time of a Chinese system.
    return at.toString(QStringLiteral("yyyy/M/d H:mm:ss"));
}

ReceiptPage ReceiptLayout::lines(ReceiptKind kind, ReceiptPaper paper, const ReceiptSale &sale,
                                 const ReceiptInputs &inputs)
{
    const bool member = kind == ReceiptKind::MemberSale;
    // The external-inventory receipt moves its fixed texts right on 80 mm paper.
    const bool indent = !member && paper == ReceiptPaper::Mm80;
    const QString lead = indent ? QString(10, QLatin1Char(' ')) : QString();
    const QString pointsLead = indent ? QString(8, QLatin1Char(' ')) : QString();

    PageWriter w;
    w.put(0, lead + Stars, Kaiti);
    if (member)
        w.put(30, inputs.title, Kaiti, 12, true);
    w.put(68, lead + Stars, Kaiti);
    w.put(98, lead + QStringLiteral("流水号：") + receiptNumber(sale.saleId));
    w.put(128, lead + QStringLiteral("会员卡：") + inputs.figures.cardNo +
                   QStringLiteral("        收银员：") + add0(3, inputs.operatorId.toLongLong()));
    w.put(158, lead + SaleRule);
    w.put(188, lead + Heading);

    int y = 218;
    for (const ReceiptDetail &d : sale.details) {
        w.put(y, nameLine(d));
        w.put(y + 30, valueLine(d));
        y += 60;
    }
    w.put(y, lead + ClosingRule);
    w.put(y + 30, lead + QStringLiteral("总价格") +
                      addKongge(50, QStringLiteral("RMB ") + inputs.figures.total));

    int next;
    if (member) {
        w.put(y + 60, QStringLiteral("现金") + addKongge(49, inputs.figures.cash));
        w.put(y + 90, QStringLiteral("储值") + addKongge(49, inputs.figures.storedValue));
        w.put(y + 120, QStringLiteral("找零") + addKongge(49, inputs.figures.change));
        next = y + 150;
        if (sale.jifenAll) {
            w.put(next, QStringLiteral("积分") + addKongge(49, NumberText(*sale.jifenAll)));
            next += 30;
        }
        if (sale.userNum) {
            w.put(next, QStringLiteral("总积分") + addKongge(45, NumberText(*sale.userNum)));
            next += 60;
        }
        for (const QString &f : inputs.footer) {
            if (f.trimmed().isEmpty())
                continue;
            w.put(next, f);
            next += 30;
        }
    } else {
        next = y + 60;
        if (sale.jifenAll) {
            w.put(next,
                  pointsLead + QStringLiteral("积分") + addKongge(53, NumberText(*sale.jifenAll)));
            next += 30;
        }
        if (sale.userNum) {
            w.put(next,
                  pointsLead + QStringLiteral("总积分") + addKongge(50, NumberText(*sale.userNum)));
            next += 60;
        }
    }

    w.put(next, lead + QStringLiteral("时间：") + timeText(inputs.printedAt));
    const QString support = paper == ReceiptPaper::Mm80
                                ? QStringLiteral("技术支持:百纳会员管理软件 ")
                                : QStringLiteral("百纳会员管理软件提供技术支持");
    w.put(next + 30, lead + support);
    w.put(next + 330, EndLine);

    ReceiptPage page;
    page.paperWidthMm = paper == ReceiptPaper::Mm80 ? 80 : 58;
    page.lines = w.lines;
    return page;
}

ReceiptSale ReceiptSale::load(Database &db, qint64 saleId)
{
    ReceiptSale sale;
    sale.saleId = saleId;
    QSqlQuery q = db.exec(QStringLiteral("SELECT SaleDetailID, ProSortID, ProName, OrderOther, "
                                         "ProShuliang, ProSalePrice FROM S_SaleDetail "
                                         "WHERE SaleID = ? ORDER BY SaleDetailID"),
                          {saleId});
    while (q.next()) {
        ReceiptDetail d;
        d.saleDetailId = q.value(0).toLongLong();
        d.proSortId = q.value(1).toString().trimmed();
        d.proName = q.value(2).toString();
        d.orderOther = q.value(3).toString();
        d.quantity = q.value(4).toDouble();
        d.salePrice = q.value(5).toDouble();
        sale.details.append(d);
    }

    qint64 userId = 0;
    QSqlQuery s = db.exec(
        QStringLiteral("SELECT JiFenAll, UserID FROM S_Sale WHERE SaleID = ? ORDER BY SaleID"),
        {saleId});
    if (s.next()) {
        sale.jifenAll = s.value(0).toDouble();
        userId = s.value(1).toLongLong();
    }
    QSqlQuery u =
        db.exec(QStringLiteral("SELECT User_Num FROM User_Info WHERE User_ID = ? ORDER BY User_ID"),
                {userId});
    if (u.next())
        sale.userNum = u.value(0).toDouble();
    return sale;
}

ReceiptPaper ReceiptPaperFor(const ShopSettings &settings)
{
    return settings.PrintBig == 2 ? ReceiptPaper::Mm80 : ReceiptPaper::Mm58;
}

int ReceiptCopies(Database &db, const ShopSettings &settings)
{
    if (settings.PrintYesOrNo != 1)
        return 0;
    const int n =
        db.scalar(QStringLiteral("SELECT FPrintCount FROM DataSeting LIMIT 1"), {}, 0).toInt();
    return std::max(n, 0);
}

ReceiptFigures StoredReceiptFigures(Database &db, qint64 saleId)
{
    ReceiptFigures f;
    QSqlQuery q = db.exec(QStringLiteral("SELECT s.PriceAll, s.FCashAll, s.FCardAll, u.User_Card "
                                         "FROM S_Sale s LEFT JOIN User_Info u "
                                         "ON u.User_ID = s.UserID WHERE s.SaleID = ?"),
                          {saleId});
    if (q.next()) {
        f.total = TotalText(q.value(0).toDouble());
        f.cash = TotalText(q.value(1).toDouble());
        f.storedValue = TotalText(q.value(2).toDouble());
        f.cardNo = q.value(3).toString().trimmed();
    }
    f.change = QStringLiteral("0");
    return f;
}
