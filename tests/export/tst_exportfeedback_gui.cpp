// The wait cursor and progress window shown while an export runs.

#include "export/ExportFeedbackWidget.h"

#include <QApplication>
#include <QProgressDialog>
#include <QtTest>

class TestExportFeedback : public QObject
{
    Q_OBJECT
private slots:
    void cursorAndProgress_data();
    void cursorAndProgress();
    void installedWhileAlive();
};

namespace
{
QProgressDialog *progressWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "ExportProgress")
            return qobject_cast<QProgressDialog *>(w);
    return nullptr;
}
} // namespace

void TestExportFeedback::cursorAndProgress_data()
{
    QTest::addColumn<qint64>("rows");
    QTest::addColumn<bool>("progress");
    QTest::newRow("short list: cursor only") << qint64(ExportProgressThreshold) << false;
    QTest::newRow("count unknown: cursor only") << qint64(-1) << false;
    QTest::newRow("long list: progress too") << qint64(ExportProgressThreshold + 1) << true;
}

void TestExportFeedback::cursorAndProgress()
{
    QFETCH(qint64, rows);
    QFETCH(bool, progress);
    ExportFeedbackWidget feedback;
    QVERIFY(!QApplication::overrideCursor());
    feedback.started(rows);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QProgressDialog *window = progressWindow();
    QCOMPARE(window != nullptr, progress);
    if (window) {
        QCOMPARE(window->maximum(), int(rows));
        feedback.progressed(5000);
        QCOMPARE(window->value(), 5000);
    }
    feedback.finished();
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!progressWindow());
}

void TestExportFeedback::installedWhileAlive()
{
    QVERIFY(!ExportFeedback::current());
    {
        ExportFeedbackWidget feedback;
        QCOMPARE(ExportFeedback::current(), &feedback);
    }
    QVERIFY(!ExportFeedback::current());
}

QTEST_MAIN(TestExportFeedback)
#include "tst_exportfeedback_gui.moc"
