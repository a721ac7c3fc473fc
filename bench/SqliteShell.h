#pragma once

#include <QString>
#include <QStringList>

// Times statements in the bare sqlite3 shell, one process per measurement:
//
//   .output /dev/null        rows are formatted (list mode) and thrown away
//   <setup statements>
//   .timer on
//   <prelude> <statements>   warm-up (unless left out): the page cache fills
//   per round:
//     <statements> x repeat              on one line, so the shell reports one
//                                        "Run Time: real" for all of them
//   or, with a prelude (what the program did untimed before each run):
//     (<prelude>) x repeat                  line A
//     (<prelude> <statements>) x repeat     line B, counted as B - A
//
// A prelude without a transaction of its own runs inside BEGIN ... COMMIT,
// so its commits do not drown the statements' time. The result is the
// median over the rounds of the statements' time / repeat, in ms. The
// shell's timer has a resolution of 1 ms; `repeat` makes short statements
// measurable.
struct ShellRun {
    QString database;
    QStringList setup;   // run once before the timer starts
    QStringList prelude; // run before every round, its time not counted
    QStringList statements;
    int repeat = 1;
    int rounds = 5;
    // A warm-up line first; a long scan does without (the page cache cannot
    // hold what it reads anyway).
    bool warmUp = true;
};

struct ShellTiming {
    double medianMs = -1; // negative: not measured (see error)
    QString error;
};

ShellTiming TimeInShell(const ShellRun &run);

// The path of the sqlite3 shell ("sqlite3" on the PATH unless set).
void SetShellProgram(const QString &path);
QString ShellProgram();
