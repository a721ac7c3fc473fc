#include "support/FakePlatform.h"

namespace
{
std::optional<QString> take(QQueue<std::optional<QString>> &queue)
{
    return queue.isEmpty() ? std::nullopt : queue.dequeue();
}
} // namespace

std::optional<QString> FakeFileDialogs::saveFileName(const QString &title)
{
    titles << title;
    return take(saveAnswers);
}

std::optional<QString> FakeFileDialogs::openFileName(const QString &title, const QString &)
{
    titles << title;
    return take(openAnswers);
}

std::optional<QString> FakeFileDialogs::folder(const QString &title, const QString &)
{
    titles << title;
    return take(folderAnswers);
}
