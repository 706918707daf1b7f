// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the program's data live. Portable: a "souteze" folder beside the program, used where it is.
// Installed: the shipped data in ../share/rinkomat beside the program are copied into the user's data
// folder on the first start, and that folder is used from then on. A newer package adds what the user
// lacks (new leagues) and renews the pictures, but never overwrites a league file the user has, and
// never brings back the acknowledged first-start notice. Falls back to the shipped folder (read-only)
// when the user's folder cannot be made, and says so.
struct DataFolder {
    QString path;
    QString problem; // Czech, for the user; empty when his results can be saved there
};
DataFolder prepareDataFolder(const QString& programFolder, const QString& userDataFolder);
