#pragma once

#include <QString>

// One line of the table: an operation measured in the program and in the
// bare shell.
struct ResultLine {
    QString operation;
    double programMs = -1;
    double shellMs = -1;
    qint64 rows = -1;
    QString reference; // the former way or a note
};

// Prints the table as it is measured, so a long run shows its progress.
namespace Report
{
void Title(const QString &text);
void Text(const QString &text);
void Group(const QString &window);
void Line(const ResultLine &line);
} // namespace Report
