#pragma once

#include "data/QuerySource.h"

#include <QString>

class Database;
class QIODevice;
struct AppContext;

// What the operator sees while an export runs: the windows' side puts up a
// wait cursor and, for long lists, a progress window. The export itself
// links no widgets; it only calls this interface.
class ExportFeedback
{
public:
    virtual ~ExportFeedback() = default;
    // The export begins; `rows` is the number of rows it will write
    // (-1 when not known).
    virtual void started(qint64 rows) = 0;
    // `written` rows are in the workbook so far.
    virtual void progressed(qint64 written) = 0;
    // The export is over, written or not.
    virtual void finished() = 0;

    // The feedback every export reports to; none until the program installs one.
    static ExportFeedback *current();
    static void install(ExportFeedback *feedback);
};

// Lists longer than this show their progress.
inline constexpr qint64 ExportProgressThreshold = 10000;

// Rows and sheets of a written workbook.
struct ExportResult {
    qint64 rows = 0;
    int sheets = 0;
};

// Runs the select again, forward-only, and streams its rows into a workbook
// on `out`: the heading row holds the select's column names (the grid's
// titles), each row its values as text. Throws DbError when the select fails;
// returns false with `error` set when the workbook cannot be written.
bool WriteQueryAsXls(Database &db, const QuerySource &source, QIODevice &out, ExportResult &result,
                     QString &error, ExportFeedback *feedback = nullptr);

// The file an export writes for the name chosen in the save dialog: the
// name with ".xls" appended, unless it already ends in ".xls" (an existing
// workbook picked in the dialog keeps its name).
QString ExportFileName(const QString &chosen);

// The export behind every "导出Excel" button: asks for a file name, refuses
// an existing name + ".xls", writes the heading row (the select's column
// titles) and every row of the select into a new .xls workbook and reports
// the count.
void ExportDataSetToExcel(AppContext &ctx, const QuerySource &source);
