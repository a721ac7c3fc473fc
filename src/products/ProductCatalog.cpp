#include "products/ProductCatalog.h"

#include "data/Database.h"
#include "data/Lookups.h"
#include "data/Money.h"
#include "data/TextRules.h"

#include <QVariantList>

namespace
{

// A price as the column receives it: empty text stays empty (NULL).
QVariant priceValue(const QString &text)
{
    if (text.isEmpty())
        return QVariant(QMetaType(QMetaType::Double));
    return ParseNumber(text).value_or(0.0);
}

bool isPrice(const QString &text)
{
    return IsNumberText(text) && ParseNumber(text).has_value();
}

QString priceText(const QVariant &value)
{
    return value.isNull() ? QString() : NumberText(value.toDouble());
}

} // namespace

ProductFields ProductFields::cleaned() const
{
    ProductFields f = *this;
    for (QString *text : {&f.sortName, &f.brandName, &f.danweiName, &f.card, &f.name, &f.pinYing,
                          &f.jinJia, &f.shouJia, &f.pifaJia, &f.chandi, &f.other}) {
        *text = CleanText(*text);
        if (text->isNull())
            *text = QStringLiteral(""); // stored as an empty text, never NULL
    }
    return f;
}

Check ProductCatalog::validate(const ProductFields &f)
{
    if (f.card.isEmpty())
        return Refusal{QStringLiteral("编码不能为空！"), QStringLiteral("Edit2")};
    if (f.name.isEmpty())
        return Refusal{QStringLiteral("产品名不能为空！"), QStringLiteral("Edit3")};
    if (f.pinYing.isEmpty())
        return Refusal{QStringLiteral("拼音首字母不能为空！"), QStringLiteral("Edit4")};
    if (f.shouJia.isEmpty())
        return Refusal{QStringLiteral("零售价不能为空！"), QStringLiteral("Edit6")};
    const struct {
        const QString &text;
        const char *caption;
        const char *focus;
        bool required;
    } prices[] = {{f.jinJia, "进货价", "Edit5", false},
                  {f.shouJia, "零售价", "Edit6", true},
                  {f.pifaJia, "批发价", "Edit7", false}};
    for (const auto &p : prices) {
        if (p.text.isEmpty() && !p.required)
            continue;
        const QString caption = QString::fromUtf8(p.caption);
        if (IsNumberText(p.text) && Money::outOfRange(p.text))
            return Refusal{Money::OutOfRangeMessage(caption), QString::fromLatin1(p.focus)};
        if (!isPrice(p.text))
            return Refusal{caption + QStringLiteral("必须是数字，请重新输入！"),
                           QString::fromLatin1(p.focus)};
    }
    return std::nullopt;
}

void ProductCatalog::bindColumns(const ProductFields &f, QVariantList &binds)
{
    binds << f.card << f.name << f.pinYing << priceValue(f.jinJia) << priceValue(f.shouJia)
          << priceValue(f.pifaJia) << f.chandi << f.other << (f.tejia ? 1 : 0) << (f.show ? 1 : 0)
          << GetProSortID(m_db, f.sortName) << GetBrandID(m_db, f.brandName)
          << GetDanweiID(m_db, f.danweiName);
}

Check ProductCatalog::add(const ProductFields &typed, qint64 *newId)
{
    const ProductFields f = typed.cleaned();
    if (Check refusal = validate(f))
        return refusal;

    Transaction tx(m_db);
    if (m_db.exec(QStringLiteral("SELECT 1 FROM Pro2 WHERE Pro2Card = ?"), {f.card}).next())
        return Refusal{QStringLiteral("此产品编码已经存在，不能重复，请换一个试试！"),
                       QStringLiteral("Edit2")};
    QVariantList binds;
    bindColumns(f, binds);
    const qint64 id = m_db.insert(
        QStringLiteral("INSERT INTO Pro2 (Pro2Card, Pro2Name, Pro2PinYing, Pro2JinJia, "
                       "Pro2ShouJia, Pro2PifaJia, Pro2Chandi, Pro2Other, Pro2TejiaYes, Pro2Show, "
                       "Pro2SortID, Pro2BrandID, Pro2DanweiID) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        binds);
    tx.commit();
    if (newId)
        *newId = id;
    return std::nullopt;
}

Check ProductCatalog::modify(qint64 id, const ProductFields &typed)
{
    const ProductFields f = typed.cleaned();
    if (Check refusal = validate(f))
        return refusal;

    Transaction tx(m_db);
    if (m_db.exec(QStringLiteral("SELECT 1 FROM Pro2 WHERE Pro2Card = ? AND Pro2ID <> ?"),
                  {f.card, id})
            .next())
        return Refusal{QStringLiteral("这个编码已经存在，不能为重复，请换一个！"),
                       QStringLiteral("Edit2")};
    QVariantList binds;
    bindColumns(f, binds);
    binds << id;
    const int changed = m_db.update(
        QStringLiteral("UPDATE Pro2 SET Pro2Card = ?, Pro2Name = ?, Pro2PinYing = ?, "
                       "Pro2JinJia = ?, Pro2ShouJia = ?, Pro2PifaJia = ?, Pro2Chandi = ?, "
                       "Pro2Other = ?, Pro2TejiaYes = ?, Pro2Show = ?, Pro2SortID = ?, "
                       "Pro2BrandID = ?, Pro2DanweiID = ? WHERE Pro2ID = ?"),
        binds);
    if (changed != 1)
        return Refusal{QStringLiteral("没有找到要修改的产品，请刷新列表后再试！"), QString()};
    tx.commit();
    return std::nullopt;
}

std::optional<ProductFields> ProductCatalog::load(qint64 id)
{
    QSqlQuery q = m_db.exec(QStringLiteral("SELECT * FROM Pro2_View_All WHERE Pro2ID = ?"), {id});
    if (!q.next())
        return std::nullopt;
    ProductFields f;
    const auto text = [&q](const char *column) { return q.value(column).toString().trimmed(); };
    f.sortName = text("ProSortName");
    f.brandName = text("BrandName");
    f.danweiName = text("DanweiName");
    f.card = text("Pro2Card");
    f.name = text("Pro2Name");
    f.pinYing = text("Pro2PinYing");
    f.jinJia = priceText(q.value("Pro2JinJia"));
    f.shouJia = priceText(q.value("Pro2ShouJia"));
    f.pifaJia = priceText(q.value("Pro2PifaJia"));
    f.chandi = text("Pro2Chandi");
    f.other = text("Pro2Other");
    f.tejia = q.value("Pro2TejiaYes").toInt() == 1;
    f.show = q.value("Pro2Show").toInt() == 1;
    return f;
}
