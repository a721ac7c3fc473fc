#pragma once

#include "platform/UrlOpener.h"

class QtUrlOpener : public UrlOpener
{
public:
    bool open(const QString &url) override;
};
