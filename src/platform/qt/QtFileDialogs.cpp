#include "platform/qt/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace
{
std::optional<QString> chosen(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}
} // namespace

std::optional<QString> QtFileDialogs::saveFileName(const QString &title)
{
    // No overwrite question here: the export decides what an existing file means.
    return chosen(QFileDialog::getSaveFileName(QApplication::activeWindow(), title, QString(),
                                               QString(), nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

std::optional<QString> QtFileDialogs::openFileName(const QString &title, const QString &filter)
{
    return chosen(
        QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), filter));
}

std::optional<QString> QtFileDialogs::folder(const QString &title, const QString &start)
{
    const QString from = QDir(start).exists() ? start : QDir::homePath();
    return chosen(QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, from,
                                                    QFileDialog::ShowDirsOnly));
}
