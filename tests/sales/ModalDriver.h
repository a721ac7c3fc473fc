#pragma once

#include "support/GuiInput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>

// Drives a modal dialog that the code under test is about to open with
// exec(): as soon as a visible modal `Dialog` is the active modal widget,
// `work` runs on it; the dialog is rejected afterwards if `work` left it
// open, so a failed check never blocks the test.
template <typename Dialog> class WhenModal
{
public:
    explicit WhenModal(std::function<void(Dialog *)> work, int timeoutMs = 5000)
        : m_state(std::make_shared<State>())
    {
        State *state = m_state.get();
        state->timer.setInterval(5);
        state->clock.start();
        // The timer lives in the state, so the state outlives every timeout.
        QObject::connect(&state->timer, &QTimer::timeout, [state, work, timeoutMs] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (dialog && dialog->isVisible()) {
                state->timer.stop();
                state->ran = true;
                work(dialog);
                if (dialog->isVisible())
                    dialog->reject();
            } else if (state->clock.elapsed() > timeoutMs) {
                state->timer.stop();
            }
        });
        state->timer.start();
    }
    ~WhenModal() { m_state->timer.stop(); }

    // True once the dialog was shown and driven.
    bool ran() const { return m_state->ran; }

private:
    struct State {
        QTimer timer;
        QElapsedTimer clock;
        bool ran = false;
    };
    std::shared_ptr<State> m_state;
};
