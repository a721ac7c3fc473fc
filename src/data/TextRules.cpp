#include "data/TextRules.h"

#include <QLocale>
#include <cmath>

QString ReplaceQuote(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QChar(0x2019));
    return out;
}

bool IsNumberText(const QString &text)
{
    for (const QChar c : text) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('.'))
            return false;
    }
    return true;
}

bool IsDigitsText(const QString &text)
{
    for (const QChar c : text) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return false;
    }
    return true;
}

QString CleanText(const QString &text)
{
    return ReplaceQuote(text.trimmed());
}

QString NumberText(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return QStringLiteral("0");
    // At most 15 significant digits (what a double holds for certain), then
    // the shortest plain decimal text of that value: never an exponent.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    return QString::number(rounded, 'f', QLocale::FloatingPointShortest);
}

QString ValueText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble());
    default:
        return value.toString();
    }
}

QString TotalText(double value)
{
    // Round half away from zero at the third decimal, as the "0.00" pattern shows it.
    const double cents = std::round(value * 100.0 + (value >= 0 ? 1e-9 : -1e-9));
    QString out = QString::number(cents / 100.0, 'f', 2);
    if (out == QLatin1String("-0.00"))
        out = QStringLiteral("0.00");
    return out;
}

std::optional<double> ParseNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString LikeEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

bool AcceptsAmountKey(const QString &currentText, QChar typed)
{
    if (typed.isDigit() && typed.unicode() < 128)
        return true;
    if (typed == QLatin1Char('\b'))
        return true;
    return typed == QLatin1Char('.') && !currentText.trimmed().contains(QLatin1Char('.'));
}
