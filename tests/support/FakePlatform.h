#pragma once

#include "platform/FileDialogs.h"
#include "platform/UrlOpener.h"

#include <QQueue>
#include <QStringList>

// File and folder choosers answering from queues (cancel when empty).
class FakeFileDialogs : public FileDialogs
{
public:
    std::optional<QString> saveFileName(const QString &title) override;
    std::optional<QString> openFileName(const QString &title, const QString &filter) override;
    std::optional<QString> folder(const QString &title, const QString &start) override;

    QQueue<std::optional<QString>> saveAnswers;
    QQueue<std::optional<QString>> openAnswers;
    QQueue<std::optional<QString>> folderAnswers;
    QStringList titles; // every dialog title asked, in order
};

class FakeUrlOpener : public UrlOpener
{
public:
    bool open(const QString &url) override
    {
        opened << url;
        return true;
    }
    QStringList opened;
};
