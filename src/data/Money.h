#pragma once

#include <QString>
#include <QVariant>
#include <compare>
#include <optional>

// A currency amount held exactly, in ten-thousandths of a yuan.
class Money
{
public:
    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 tenThousandths) { return Money(tenThousandths); }
    // Rounded half away from zero to the nearest ten-thousandth.
    static Money fromDouble(double value);
    // The value of a database column (NULL is zero).
    static Money fromVariant(const QVariant &value);
    // Checked parse of operator text: an optional '-', digits, at most one
    // point. Blanks around are ignored. Anything else, and an amount that
    // cannot be held exactly (beyond MaxText, or a fifth decimal that is not
    // zero), gives nothing.
    static std::optional<Money> parse(const QString &text);
    // True for a well-formed number that parse() refuses only because it
    // cannot be held exactly: too large, or too many decimals.
    static bool outOfRange(const QString &text);
    // The refusal for such a number typed into the box captioned `caption`.
    static QString OutOfRangeMessage(const QString &caption);
    // The largest amount, as the messages show it.
    static QString MaxText();

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / 10000.0; }
    // What a database column receives.
    QVariant toVariant() const { return toDouble(); }
    // Shown with two decimals, like the "0.00" pattern.
    QString toString() const;

    constexpr bool isZero() const { return m_units == 0; }
    constexpr bool isNegative() const { return m_units < 0; }

    constexpr Money operator+(Money o) const { return Money(m_units + o.m_units); }
    constexpr Money operator-(Money o) const { return Money(m_units - o.m_units); }
    constexpr Money operator-() const { return Money(-m_units); }
    Money &operator+=(Money o)
    {
        m_units += o.m_units;
        return *this;
    }
    Money &operator-=(Money o)
    {
        m_units -= o.m_units;
        return *this;
    }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 units) : m_units(units) {}
    qint64 m_units = 0;
};
