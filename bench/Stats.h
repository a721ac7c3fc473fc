#pragma once

#include <QList>
#include <QString>
#include <algorithm>

// The middle value (the mean of the two middle ones for an even count);
// -1 for no values.
inline double Median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Milliseconds with three significant digits ("0.0412", "3.71", "1530").
inline QString MsText(double ms)
{
    if (ms < 0)
        return QStringLiteral("-");
    if (ms >= 100)
        return QString::number(ms, 'f', 0);
    if (ms >= 10)
        return QString::number(ms, 'f', 1);
    if (ms >= 1)
        return QString::number(ms, 'f', 2);
    if (ms >= 0.1)
        return QString::number(ms, 'f', 3);
    return QString::number(ms, 'f', 4);
}
