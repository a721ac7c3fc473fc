#pragma once

#include <QString>

// Opens a web address in the default browser.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual bool open(const QString &url) = 0;
};
