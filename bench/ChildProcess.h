#pragma once

#include <QString>
#include <QStringList>

// A program run to its end as a child process: wall time from the start to
// its exit, and its peak resident memory. The peak comes from /usr/bin/time
// (GNU time), which the program runs under: a child spawned straight from
// the bench would report the bench's own peak, as Linux carries the
// parent's high-water mark across the spawn.
struct ChildRun {
    int exitCode = -1;
    double wallMs = -1;
    double peakMb = -1;
    QString error;
};

// Runs `program` with `arguments`, its standard output written to
// `stdoutFile` (a path; /dev/null to drop it). Without /usr/bin/time the
// peak stays unknown (-1).
ChildRun RunChild(const QString &program, const QStringList &arguments, const QString &stdoutFile);
