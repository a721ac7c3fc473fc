#pragma once

#include "data/QuerySource.h"

struct AppContext;

// The export behind every "导出Excel" button: asks for a file name, refuses
// an existing name + ".xls", writes the heading row (the select's column
// titles) and every row of the select into a new .xls workbook and reports
// the count.
void ExportDataSetToExcel(AppContext &ctx, const QuerySource &source);
