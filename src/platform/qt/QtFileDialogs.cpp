#include "platform/qt/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>

namespace
{

// Icons and type names from the file name alone. Qt's own provider asks the
// MIME database, which opens a file whose name says nothing (the database's
// -wal and -shm among them) to read its first bytes; on Linux closing that
// descriptor drops every lock this process holds on the file, and another
// program then deletes the write-ahead log the running program still uses.
class NameOnlyIconProvider : public QFileIconProvider
{
public:
    QIcon icon(const QFileInfo &info) const override
    {
        return QFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QStringLiteral("文件夹");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("文件")
                                : suffix.toUpper() + QStringLiteral(" 文件");
    }
};

// Runs Qt's own dialog (a desktop's native one may sniff files too) with the
// provider above; nothing when the operator cancels.
std::optional<QString> run(QFileDialog &dialog)
{
    NameOnlyIconProvider icons;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

} // namespace

std::optional<QString> QtFileDialogs::saveFileName(const QString &title)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // No overwrite question here: the export decides what an existing file means.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return run(dialog);
}

std::optional<QString> QtFileDialogs::openFileName(const QString &title, const QString &filter)
{
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog);
}

std::optional<QString> QtFileDialogs::folder(const QString &title, const QString &start)
{
    const QString from = QDir(start).exists() ? start : QDir::homePath();
    QFileDialog dialog(QApplication::activeWindow(), title, from);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return run(dialog);
}
