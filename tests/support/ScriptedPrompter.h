#pragma once

#include "platform/Prompter.h"

#include <QQueue>
#include <QStringList>

// A prompter for tests: records every message and answers questions from a
// queue (Yes/OK when the queue is empty).
class ScriptedPrompter : public Prompter
{
public:
    void information(const QString &text) override;
    void error(const QString &text) override;
    bool question(const QString &text) override;
    bool confirm(const QString &text) override;
    std::optional<QString> textInput(const QString &title, const QString &label,
                                     const QString &initial) override;

    // Every message in order; errors are prefixed with "错误:".
    QStringList messages;
    QQueue<bool> answers;
    QQueue<std::optional<QString>> texts;

    QString last() const { return messages.isEmpty() ? QString() : messages.last(); }
    void clear() { messages.clear(); }
};
