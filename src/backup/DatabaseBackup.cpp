#include "backup/DatabaseBackup.h"

#include "data/Database.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace
{

bool failed(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

// SQLite does not flush the file VACUUM INTO writes; the copy must be on
// disk before it may replace an earlier backup.
bool syncToDisk(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
#ifdef Q_OS_WIN
    return _commit(f.handle()) == 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}

void vacuumInto(Database &db, const QString &target)
{
    db.exec(QStringLiteral("VACUUM INTO ?"), {target});
}

} // namespace

QString DatabaseBackup::DefaultFileName(const QDateTime &now)
{
    const QDate d = now.date();
    return QString::number(d.year()) + QString::number(d.month()) + QString::number(d.day()) +
           now.time().toString(QStringLiteral("HHmmss"));
}

Check DatabaseBackup::Validate(const QString &folder, const QString &name)
{
    if (folder.trimmed().isEmpty())
        return Refusal{QStringLiteral("请指定备份路径!"), QString()};
    if (name.trimmed().isEmpty())
        return Refusal{QStringLiteral("请指定备份的文件名"), QStringLiteral("edt_BackupDBName")};
    return std::nullopt;
}

bool DatabaseBackup::BackUp(Database &db, const QString &folder, const QString &name, QString *why)
{
    if (!db.isOpen())
        return failed(why, QStringLiteral("数据库未打开"));
    const QDir dir(folder.trimmed());
    if (!dir.exists())
        return failed(why, QStringLiteral("文件夹不存在"));
    const QString target = dir.filePath(name.trimmed());
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() &&
        targetInfo.canonicalFilePath() == QFileInfo(db.path()).canonicalFilePath())
        return failed(why, QStringLiteral("不能覆盖正在使用的数据库"));
    if (targetInfo.isDir())
        return failed(why, QStringLiteral("已有同名的文件夹"));

    // VACUUM INTO accepts an existing empty file.
    QTemporaryFile partial(dir.filePath(QStringLiteral(".backup-XXXXXX")));
    if (!partial.open())
        return failed(why, partial.errorString());
    partial.close();

    try {
        vacuumInto(db, partial.fileName());
    } catch (const DbError &) {
        // The program's connection cannot run VACUUM while one of its selects
        // is still being read (a long grid fetches as it scrolls). A second
        // connection to the same file reads the same committed data.
        static QAtomicInt counter;
        try {
            QFile::resize(partial.fileName(), 0);
            Database second(
                QStringLiteral("memberpos-backup%1").arg(counter.fetchAndAddRelaxed(1)));
            second.open(db.path());
            vacuumInto(second, partial.fileName());
        } catch (const DbError &e) {
            return failed(why, e.text());
        }
    }

    if (!syncToDisk(partial.fileName()))
        return failed(why, QStringLiteral("无法写入备份文件"));
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(partial.fileName().toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error)
        return failed(why, QString::fromStdString(error.message()));
    partial.setAutoRemove(false);
    return true;
}
