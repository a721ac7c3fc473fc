#pragma once

#include "export/ExcelExport.h"

#include <QPointer>

class QProgressDialog;

// The windows' side of the export feedback: a wait cursor for every export
// and, for lists longer than ExportProgressThreshold rows, a progress window.
// While an instance lives it is the feedback of every export.
class ExportFeedbackWidget : public ExportFeedback
{
public:
    ExportFeedbackWidget();
    ~ExportFeedbackWidget() override;
    ExportFeedbackWidget(const ExportFeedbackWidget &) = delete;
    ExportFeedbackWidget &operator=(const ExportFeedbackWidget &) = delete;

    void started(qint64 rows) override;
    void progressed(qint64 written) override;
    void finished() override;

private:
    QPointer<QProgressDialog> m_progress;
    bool m_cursor = false;
};
