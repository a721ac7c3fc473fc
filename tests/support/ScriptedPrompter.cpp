#include "support/ScriptedPrompter.h"

void ScriptedPrompter::information(const QString &text)
{
    messages << text;
}

void ScriptedPrompter::error(const QString &text)
{
    messages << QStringLiteral("错误:") + text;
}

bool ScriptedPrompter::question(const QString &text)
{
    messages << text;
    return answers.isEmpty() ? true : answers.dequeue();
}

bool ScriptedPrompter::confirm(const QString &text)
{
    messages << text;
    return answers.isEmpty() ? true : answers.dequeue();
}

std::optional<QString> ScriptedPrompter::textInput(const QString &title, const QString &label,
                                                   const QString &)
{
    messages << title + QLatin1Char('|') + label;
    return texts.isEmpty() ? std::nullopt : texts.dequeue();
}
