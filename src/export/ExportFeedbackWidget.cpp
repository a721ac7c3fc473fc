#include "export/ExportFeedbackWidget.h"

#include <QApplication>
#include <QProgressDialog>

ExportFeedbackWidget::ExportFeedbackWidget()
{
    ExportFeedback::install(this);
}

ExportFeedbackWidget::~ExportFeedbackWidget()
{
    if (ExportFeedback::current() == this)
        ExportFeedback::install(nullptr);
    finished();
}

void ExportFeedbackWidget::started(qint64 rows)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_cursor = true;
    if (rows <= ExportProgressThreshold)
        return;
    m_progress =
        new QProgressDialog(QStringLiteral("正在导出数据，请稍候……"), QString(), 0,
                            int(std::min<qint64>(rows, INT_MAX)), QApplication::activeWindow());
    m_progress->setObjectName(QStringLiteral("ExportProgress"));
    m_progress->setWindowTitle(QStringLiteral("导出Excel"));
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_progress->setCancelButton(nullptr);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setValue(0);
}

void ExportFeedbackWidget::progressed(qint64 written)
{
    if (m_progress)
        m_progress->setValue(int(std::min<qint64>(written, m_progress->maximum())));
}

void ExportFeedbackWidget::finished()
{
    delete m_progress.data();
    if (m_cursor) {
        QApplication::restoreOverrideCursor();
        m_cursor = false;
    }
}
