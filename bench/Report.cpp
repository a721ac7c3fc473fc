#include "Report.h"

#include "Stats.h"

#include <cstdio>

namespace
{

constexpr int OperationWidth = 70;

// Columns a text takes in a terminal: CJK characters take two.
int DisplayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += (c.unicode() >= 0x1100 && !c.isLowSurrogate()) ? 2 : 1;
    return width;
}

QString PadRight(const QString &text, int width)
{
    return text + QString(qMax(0, width - DisplayWidth(text)), QLatin1Char(' '));
}

void Print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

namespace Report
{

void Title(const QString &text)
{
    Print(QString());
    Print(text);
    Print(QString(DisplayWidth(text), QLatin1Char('=')));
    Print(PadRight(QStringLiteral("operation"), OperationWidth) +
          QStringLiteral("  program ms   sqlite3 ms   ratio         rows  reference"));
}

void Text(const QString &text)
{
    Print(text);
}

void Group(const QString &window)
{
    Print(QString());
    Print(window);
}

void Line(const ResultLine &line)
{
    const QString ratio = line.programMs >= 0 && line.shellMs > 0
                              ? QString::number(line.programMs / line.shellMs, 'f', 2)
                              : QStringLiteral("-");
    const QString rows = line.rows >= 0 ? QString::number(line.rows) : QStringLiteral("-");
    Print(PadRight(QStringLiteral("  ") + line.operation, OperationWidth) +
          QStringLiteral("  %1   %2   %3  %4  %5")
              .arg(MsText(line.programMs), 10)
              .arg(MsText(line.shellMs), 10)
              .arg(ratio, 5)
              .arg(rows, 11)
              .arg(line.reference));
}

} // namespace Report
