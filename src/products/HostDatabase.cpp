#include "products/HostDatabase.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>

namespace
{
QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("memberpos-host-%1").arg(counter.fetchAndAddRelaxed(1));
}
} // namespace

HostDatabase::HostDatabase() : m_db(nextConnectionName()) {}

void HostDatabase::open(const QString &path)
{
    m_db.close();
    m_path.clear();
    const QString file = path.trimmed();
    if (file.isEmpty())
        throw DbError(QStringLiteral("没有设置第三方软件的数据库文件，请在“设置”中指定后再试。"));
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        throw DbError(QStringLiteral("找不到或无法读取第三方软件的数据库文件：%1\n"
                                     "请在“设置”中检查数据库文件的位置。")
                          .arg(QDir::toNativeSeparators(file)));

    bool usable = true;
    try {
        // The host's file is only read, never changed.
        m_db.openReadOnly(file);
        m_db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DbError &) {
        usable = false;
    }
    if (!usable) {
        m_db.close();
        throw DbError(QStringLiteral("文件不是可以读取的第三方软件数据库：%1\n"
                                     "请在“设置”中检查数据库文件的位置。")
                          .arg(QDir::toNativeSeparators(file)));
    }
    m_path = file;
}
