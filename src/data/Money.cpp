#include "data/Money.h"

#include <cmath>
#include <limits>

namespace
{
constexpr qint64 Scale = 10000;
// Larger amounts than this are refused by parse(): far beyond any shop.
constexpr qint64 MaxWhole = 100000000000LL;
} // namespace

Money Money::fromDouble(double value)
{
    if (!std::isfinite(value))
        return Money();
    return Money(qint64(std::llround(value * double(Scale))));
}

Money Money::fromVariant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return Money();
    return fromDouble(value.toDouble());
}

namespace
{

// The parts of a number typed as [-|+]digits[.digits].
struct NumberParts {
    bool negative = false;
    QString whole, fraction;
};

std::optional<NumberParts> SplitNumber(const QString &text)
{
    NumberParts p;
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('-'))) {
        p.negative = true;
        t = t.mid(1);
    } else if (t.startsWith(QLatin1Char('+'))) {
        t = t.mid(1);
    }
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    p.whole = point < 0 ? t : t.left(point);
    p.fraction = point < 0 ? QString() : t.mid(point + 1);
    if (p.whole.isEmpty() && p.fraction.isEmpty())
        return std::nullopt;
    for (const QString &part : {p.whole, p.fraction}) {
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
    }
    return p;
}

bool Fits(const NumberParts &p)
{
    QString whole = p.whole;
    while (whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.size() > 12)
        return false;
    const qint64 w = whole.toLongLong();
    const bool fractionZero = p.fraction.count(QLatin1Char('0')) == p.fraction.size();
    if (w > MaxWhole || (w == MaxWhole && !fractionZero))
        return false;
    // A fifth or later decimal other than zero cannot be held.
    for (qsizetype i = 4; i < p.fraction.size(); ++i) {
        if (p.fraction.at(i) != QLatin1Char('0'))
            return false;
    }
    return true;
}

} // namespace

std::optional<Money> Money::parse(const QString &text)
{
    const std::optional<NumberParts> p = SplitNumber(text);
    if (!p || !Fits(*p))
        return std::nullopt;
    const qint64 w = p->whole.isEmpty() ? 0 : p->whole.toLongLong();
    const qint64 f = p->fraction.left(4).leftJustified(4, QLatin1Char('0')).toLongLong();
    const qint64 units = w * Scale + f;
    return Money(p->negative ? -units : units);
}

bool Money::outOfRange(const QString &text)
{
    const std::optional<NumberParts> p = SplitNumber(text);
    return p && !Fits(*p);
}

QString Money::MaxText()
{
    return QString::number(MaxWhole);
}

QString Money::OutOfRangeMessage(const QString &caption)
{
    return QStringLiteral("%1超出范围：金额最大为%2，最多4位小数，请重新输入！")
        .arg(caption, MaxText());
}

QString Money::toString() const
{
    const qint64 a = m_units < 0 ? -m_units : m_units;
    qint64 cents = a / 100;
    if (a % 100 >= 50)
        ++cents;
    const QString body =
        QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
    return (m_units < 0 && cents != 0) ? QLatin1Char('-') + body : body;
}
