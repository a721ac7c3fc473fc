#pragma once

#include <QString>

// Start-up to the login window: `program` (the Release memberpos) started
// in a folder holding a copy of `database` as its working database, on a
// virtual X display (Xvfb); xdotool watches for the splash screen and the
// login window to be mapped. The splash stays its fixed 1800 ms; what is
// left is the program's own start-up.
void MeasureStartup(const QString &program, const QString &database, const QString &workDir,
                    int rounds);
