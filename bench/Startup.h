#pragma once

#include <QString>

// Start-up to the login window: `program` (the Release memberpos) started
// in a folder holding a copy of `database` as its working database, on a
// virtual X display (Xvfb). xev watches the display and tells when the
// splash screen is mapped and unmapped and when the login window is
// mapped, so the splash's wait (Timer1, 1800 ms, which Qt's coarse timer
// may end up to 5 % early) is left out exactly: what remains is the start
// to the splash and the step from the splash to the login window (opening
// the database, reading the settings row).
void MeasureStartup(const QString &program, const QString &database, const QString &workDir,
                    int rounds);
