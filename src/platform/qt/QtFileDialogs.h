#pragma once

#include "platform/FileDialogs.h"

class QtFileDialogs : public FileDialogs
{
public:
    std::optional<QString> saveFileName(const QString &title) override;
    std::optional<QString> openFileName(const QString &title, const QString &filter) override;
    std::optional<QString> folder(const QString &title, const QString &start) override;
};
