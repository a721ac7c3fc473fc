#include "support/TestDatabase.h"

#include "data/DatabaseInitializer.h"

#include <QAtomicInt>
#include <QDir>

namespace
{
QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("test%1").arg(counter.fetchAndAddRelaxed(1));
}

const QDateTime FixedNow(QDate(2024, 3, 5), QTime(9, 7, 2));
} // namespace

TestDatabase::TestDatabase(Content content)
    : db(nextConnectionName()), clock(FixedNow), ctx{db, session, prompter, clock, files, urls}
{
    DatabaseInitializer::createFile(file(), content == Content::Demo, false, FixedNow);
    db.open(file());
    session.settings.load(db);
}

TestDatabase::~TestDatabase()
{
    db.close();
}

QString TestDatabase::file() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("BNA_Member.dll"));
}

void TestDatabase::loginAs(const QString &name, const QString &id, const QString &group)
{
    session.login.MyAdminName = name;
    session.login.MyAdminID = id;
    session.login.MyAdminGroup = group;
}

QVariant TestDatabase::value(const QString &sql, const QVariantList &binds)
{
    return db.scalar(sql, binds);
}
