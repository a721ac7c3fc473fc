#pragma once

#include "context/AppContext.h"
#include "support/FakePlatform.h"
#include "support/ScriptedPrompter.h"

#include <QTemporaryDir>
#include <memory>

// A fresh database in a temporary folder, made from the program's schema,
// with everything a window needs around it: session, scripted prompter,
// fixed clock (5 March 2024, 09:07:02) and fake file dialogs.
class TestDatabase
{
public:
    enum class Content { Schema, Demo };
    explicit TestDatabase(Content content = Content::Schema);
    ~TestDatabase();

    QString folder() const { return m_dir.path(); }
    QString file() const;

    // Logs in as the seeded administrator (or as the given values).
    void loginAs(const QString &name = QStringLiteral("admin"),
                 const QString &id = QStringLiteral("1"),
                 const QString &group = QStringLiteral("99"));

    // Convenience: first column of the first row of a query.
    QVariant value(const QString &sql, const QVariantList &binds = {});

    QTemporaryDir m_dir;
    Database db;
    Session session;
    ScriptedPrompter prompter;
    FixedClock clock;
    FakeFileDialogs files;
    FakeUrlOpener urls;
    AppContext ctx;
};
