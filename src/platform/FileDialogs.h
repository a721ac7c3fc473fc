#pragma once

#include <QString>
#include <optional>

// File and folder choosers. Each returns nothing when the operator cancels.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // Save-file dialog without filter or default extension.
    virtual std::optional<QString> saveFileName(const QString &title) = 0;
    // Open-file dialog, used to pick an existing file.
    virtual std::optional<QString> openFileName(const QString &title, const QString &filter) = 0;
    // Folder chooser; starts in `start` when that folder exists.
    virtual std::optional<QString> folder(const QString &title, const QString &start) = 0;
};
