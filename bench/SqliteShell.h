#pragma once

#include <QString>
#include <QStringList>

// Times statements in the bare sqlite3 shell, one process per measurement:
//
//   .output /dev/null        rows are formatted (list mode) and thrown away
//   <setup statements>
//   .timer on
//   <the line once>          warm-up: the shell's page cache fills
//   <prelude line>           per round, when given: timed but not counted
//   <the line>               per round: the statements `repeat` times on one
//                            line, so the shell reports one "Run Time: real"
//                            for all of them
//
// The result is the median over the rounds of real / repeat, in ms. The
// shell's timer has a resolution of 1 ms; `repeat` makes short statements
// measurable.
struct ShellRun {
    QString database;
    QStringList setup;   // run once before the timer starts
    QStringList prelude; // run before every round, its time not counted
    QStringList statements;
    int repeat = 1;
    int rounds = 5;
};

struct ShellTiming {
    double medianMs = -1; // negative: not measured (see error)
    QString error;
};

ShellTiming TimeInShell(const ShellRun &run);

// The path of the sqlite3 shell ("sqlite3" on the PATH unless set).
void SetShellProgram(const QString &path);
QString ShellProgram();
