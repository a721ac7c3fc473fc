#include "platform/qt/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtUrlOpener::open(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url));
}
