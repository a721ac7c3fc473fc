#pragma once

#include <QString>
#include <optional>

// Every message box of the program goes through this interface, so that
// windows can be driven by tests with scripted answers.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // A plain message with an OK button.
    virtual void information(const QString &text) = 0;
    // A database or system error shown the way the platform shows errors.
    virtual void error(const QString &text) = 0;
    // Yes/No question; true for Yes.
    virtual bool question(const QString &text) = 0;
    // OK/Cancel confirmation; true for OK.
    virtual bool confirm(const QString &text) = 0;
    // Asks for one line of text; nothing when the operator cancels.
    virtual std::optional<QString> textInput(const QString &title, const QString &label,
                                             const QString &initial = QString()) = 0;
};
