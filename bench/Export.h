#pragma once

#include "data/QuerySource.h"

#include <QString>

// The export measured: the consumption query's sale-line grid (13 columns,
// SaleLinesSource) widened from one sale to the first 100,000 sale lines.
QuerySource ExportSource();
inline constexpr int ExportRows = 100000;

// The child's side (memberpos-bench --export FILE --database DB): writes
// the export through WriteQueryAsXls as the program does (with a progress
// receiver, so the count the progress window needs runs too) and prints
// three lines: milliseconds, rows, and the select as the program ran it
// with its values spliced in. Returns the exit code.
int ExportChild(const QString &file, const QString &database);

// The parent's side: the child above against `sqlite3 -csv` of the same
// select into a file, each a process of its own (wall time, peak memory).
void MeasureExport(const QString &self, const QString &database, const QString &workDir,
                   int rounds);
