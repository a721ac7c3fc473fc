#pragma once

#include "platform/Prompter.h"

class QWidget;

// Message boxes on screen, with Chinese button captions. They are owned by
// the active window so that they stay in front of stay-on-top dialogs.
class QtPrompter : public Prompter
{
public:
    void information(const QString &text) override;
    void error(const QString &text) override;
    bool question(const QString &text) override;
    bool confirm(const QString &text) override;
    std::optional<QString> textInput(const QString &title, const QString &label,
                                     const QString &initial) override;
};
