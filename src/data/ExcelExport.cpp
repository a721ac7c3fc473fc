#include "data/ExcelExport.h"

#include "app/AppContext.h"

// Replaced by the streaming workbook writer.
void ExportDataSetToExcel(AppContext &ctx, const QuerySource &)
{
    ctx.prompter.information(QStringLiteral("导出功能正在完善中。"));
}
