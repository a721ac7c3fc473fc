#pragma once

#include "widgets/DataGridWidget.h"
#include "support/GuiInput.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>

// Driving the member windows in tests.
namespace MemberGui
{

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

inline void showActive(QWidget *w)
{
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace MemberGui
