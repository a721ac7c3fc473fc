#pragma once

#include "data/DataGridWidget.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>

// Driving the member windows in tests.
namespace MemberGui
{

inline QPoint rowPoint(DataGridWidget *grid, int row)
{
    return grid->visualRect(grid->model()->index(row, 1)).center();
}

inline void clickRow(DataGridWidget *grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, row));
}

inline void doubleClickRow(DataGridWidget *grid, int row)
{
    // A double-click is a press and release followed by the double-click
    // event, as the window system delivers it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, row));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, row));
}

// Runs `step` on the modal window that the next action opens; when the step
// leaves it open, it is closed so that the test goes on.
inline void onNextModal(std::function<void(QWidget *)> step)
{
    QTimer::singleShot(0, [step] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        step(modal);
        if (modal->isVisible())
            modal->close();
    });
}

// Types `text` into `w` key by key; characters beyond ASCII arrive as key
// events carrying their text, as an input method delivers them.
inline void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

inline void showActive(QWidget *w)
{
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace MemberGui
