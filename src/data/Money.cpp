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

std::optional<Money> Money::parse(const QString &text)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-'))) {
        negative = true;
        t = t.mid(1);
    } else if (t.startsWith(QLatin1Char('+'))) {
        t = t.mid(1);
    }
    if (t.isEmpty())
        return std::nullopt;
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? t : t.left(point);
    const QString fraction = point < 0 ? QString() : t.mid(point + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    for (const QString &part : {whole, fraction}) {
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
    }
    if (whole.size() > 12)
        return std::nullopt;
    const qint64 w = whole.isEmpty() ? 0 : whole.toLongLong();
    if (w > MaxWhole)
        return std::nullopt;
    // Four decimals kept; the fifth rounds half away from zero.
    QString digits = fraction.left(5).leftJustified(5, QLatin1Char('0'));
    qint64 f = digits.left(4).toLongLong();
    if (digits.at(4) >= QLatin1Char('5'))
        ++f;
    const qint64 units = w * Scale + f;
    return Money(negative ? -units : units);
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
