#include "export/ExcelExport.h"

#include "context/AppContext.h"
#include "data/Database.h"
#include "data/TextRules.h"
#include "export/XlsWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>

namespace
{

ExportFeedback *installedFeedback = nullptr;

// Rows between two progress reports.
constexpr qint64 ProgressStep = 1000;

QString countSql(const QString &sql)
{
    QString inner = sql.trimmed();
    while (inner.endsWith(QLatin1Char(';')))
        inner = inner.chopped(1).trimmed();
    return QStringLiteral("SELECT COUNT(*) FROM (") + inner + QStringLiteral("\n)");
}

// Tells the feedback that the export ended, however it ends.
class FeedbackScope
{
public:
    FeedbackScope(ExportFeedback *feedback, qint64 rows) : m_feedback(feedback)
    {
        if (m_feedback)
            m_feedback->started(rows);
    }
    ~FeedbackScope()
    {
        if (m_feedback)
            m_feedback->finished();
    }
    FeedbackScope(const FeedbackScope &) = delete;
    FeedbackScope &operator=(const FeedbackScope &) = delete;

private:
    ExportFeedback *m_feedback;
};

} // namespace

ExportFeedback *ExportFeedback::current()
{
    return installedFeedback;
}

void ExportFeedback::install(ExportFeedback *feedback)
{
    installedFeedback = feedback;
}

QString ExportFileName(const QString &chosen)
{
    if (chosen.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QStringLiteral(".xls");
}

bool WriteQueryAsXls(Database &db, const QuerySource &source, QIODevice &out, ExportResult &result,
                     QString &error, ExportFeedback *feedback)
{
    qint64 total = -1;
    if (feedback) {
        // Only the progress window needs the count; a select that cannot be
        // counted this way is exported all the same.
        try {
            total = db.scalar(countSql(source.sql), source.binds, -1).toLongLong();
        } catch (const DbError &) {
            total = -1;
        }
    }
    FeedbackScope scope(feedback, total);

    QSqlQuery query = db.exec(source.sql, source.binds);
    const QSqlRecord record = query.record();
    QStringList headings;
    for (int i = 0; i < record.count(); ++i)
        headings << record.fieldName(i);
    XlsWriter xls(headings);
    QStringList cells(headings.size());
    while (query.next()) {
        for (int i = 0; i < cells.size(); ++i)
            cells[i] = ValueText(query.value(i));
        if (!xls.addRow(cells)) {
            error = xls.errorString();
            return false;
        }
        if (feedback && xls.rowCount() % ProgressStep == 0)
            feedback->progressed(xls.rowCount());
    }
    if (query.lastError().type() != QSqlError::NoError)
        throw DbError(query.lastError());
    if (!xls.finish(out)) {
        error = xls.errorString();
        return false;
    }
    if (feedback)
        feedback->progressed(xls.rowCount());
    result.rows = xls.rowCount();
    result.sheets = xls.sheetCount();
    return true;
}

void ExportDataSetToExcel(AppContext &ctx, const QuerySource &source)
{
    if (source.isEmpty()) {
        ctx.prompter.information(QStringLiteral("没有可导出的数据!"));
        return;
    }
    const std::optional<QString> chosen = ctx.files.saveFileName(QStringLiteral("导出Excel"));
    if (!chosen || chosen->trimmed().isEmpty())
        return;
    // The test looks at the file that would be written, so an existing
    // workbook is never replaced.
    const QString target = ExportFileName(*chosen);
    const QString exists = QStringLiteral("文件[") + target + QStringLiteral("]已存在!");
    if (QFileInfo::exists(target)) {
        ctx.prompter.information(exists);
        return;
    }
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(target))
            ctx.prompter.information(exists);
        else
            ctx.prompter.error(QStringLiteral("文件[") + target + QStringLiteral("]无法写入：") +
                               file.errorString());
        return;
    }

    ExportResult result;
    QString error;
    bool written = false;
    const bool ran = Guarded(ctx.prompter, [&] {
        written = WriteQueryAsXls(ctx.db, source, file, result, error, ExportFeedback::current());
    });
    if (written && !file.flush()) {
        written = false;
        error = file.errorString();
    }
    file.close();
    if (!ran || !written) {
        // Nothing half-written stays behind.
        file.remove();
        if (ran)
            ctx.prompter.error(QStringLiteral("导出失败：") + error);
        return;
    }
    ctx.prompter.information(QStringLiteral("成功导出") + QString::number(result.rows) +
                             QStringLiteral("条数据!"));
}
