#pragma once

#include "data/Database.h"

#include <QSqlRecord>
#include <QStringList>
#include <QtTest>
#include <functional>

// Fault injection for money operations: a temporary trigger makes one
// write fail, the operation must throw, and a snapshot of everything the
// operation touches must be as before. Use it from a _data() table of
// writes (trigger timing and event, e.g. "BEFORE INSERT ON S_Sale").
namespace FaultInjection
{

// The rows of `queries` (each row joined by '|'), to compare before and after.
inline QStringList Snapshot(Database &db, const QStringList &queries)
{
    QStringList out;
    for (const QString &sql : queries) {
        QSqlQuery q = db.exec(sql);
        QStringList rows;
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << q.value(i).toString();
            rows << cells.join(QLatin1Char('|'));
        }
        out << rows.join(QLatin1Char(';'));
    }
    return out;
}

// Makes the write `when` fail with "injected fault" until Disarm().
inline void Arm(Database &db, const QString &when)
{
    db.exec(QStringLiteral("CREATE TEMP TRIGGER injected_fault %1 BEGIN "
                           "SELECT RAISE(ABORT, 'injected fault'); END")
                .arg(when));
}

inline void Disarm(Database &db)
{
    db.exec(QStringLiteral("DROP TRIGGER IF EXISTS injected_fault"));
}

// Runs `operation` with the write `when` failing: it must throw DbError and
// leave `snapshot` unchanged. The fault is removed afterwards.
inline void ExpectNothingWritten(Database &db, const QString &when, const QStringList &snapshot,
                                 const std::function<void()> &operation)
{
    const QStringList before = Snapshot(db, snapshot);
    Arm(db, when);
    bool thrown = false;
    try {
        operation();
    } catch (const DbError &e) {
        thrown = true;
        QVERIFY2(e.text().contains(QStringLiteral("injected fault")), qPrintable(e.text()));
    }
    Disarm(db);
    QVERIFY2(thrown, "the failing write did not fail the operation");
    QCOMPARE(Snapshot(db, snapshot), before);
}

} // namespace FaultInjection
