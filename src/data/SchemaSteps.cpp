#include "data/SchemaSteps.h"

#include "data/Database.h"

#include <QFile>

// Q_INIT_RESOURCE may not stand inside a namespace.
static void InitSchemaResource()
{
    Q_INIT_RESOURCE(schema);
}

namespace SchemaSteps
{

namespace
{

QString Resource(const QString &name)
{
    InitSchemaResource();
    QFile file(QStringLiteral(":/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("缺少数据库结构资源"));
    return QString::fromUtf8(file.readAll());
}

// The script that brings version `to - 1` to version `to`.
QString StepScript(int to)
{
    return Resource(QStringLiteral("schema_step%1.sql").arg(to));
}

void RunSteps(Database &db, int from, int to)
{
    for (int step = from + 1; step <= to; ++step)
        db.execScript(StepScript(step));
    db.exec(QStringLiteral("PRAGMA user_version = %1").arg(to));
}

} // namespace

int Version(Database &db)
{
    return db.scalar(QStringLiteral("PRAGMA user_version"), {}, 0).toInt();
}

void CreateLatest(Database &db)
{
    CreateVersion(db, Latest);
}

void CreateVersion(Database &db, int version)
{
    if (version < 1 || version > Latest)
        throw DbError(QStringLiteral("没有版本为 %1 的数据库结构").arg(version));
    Transaction tx(db);
    db.execScript(Resource(QStringLiteral("schema.sql")));
    RunSteps(db, Version(db), version);
    tx.commit();
}

void Upgrade(Database &db)
{
    // Read outside the transaction first, so opening a current file writes
    // nothing; read again inside it, because another till may have run the
    // steps in between.
    int version = Version(db);
    if (version == Latest || version == 0)
        return;
    if (version > Latest)
        throw DbError(
            QStringLiteral("数据库文件的版本（%1）比本程序新，请使用新版程序。").arg(version));
    Transaction tx(db);
    version = Version(db);
    if (version < Latest)
        RunSteps(db, version, Latest);
    tx.commit();
}

void Analyze(Database &db)
{
    db.exec(QStringLiteral("ANALYZE"));
}

void Optimize(Database &db)
{
    // On the way out: another till writing now is not waited for long.
    db.exec(QStringLiteral("PRAGMA busy_timeout = 100"));
    db.exec(QStringLiteral("PRAGMA optimize"));
}

} // namespace SchemaSteps
