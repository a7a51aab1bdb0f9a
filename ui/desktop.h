#pragma once

#include <QString>

class QCoreApplication;

// Whether the program is a copy installed by a package or an installer: on
// Linux one under /usr or /opt, on Windows one under the program folders,
// for all users or for one (%LOCALAPPDATA%\Programs).
bool InstalledCopy(const QString& programFolder);

// Where NameMass.dat lives. An installed copy keeps it in the user's own data
// folder, always, so that no run (not even one as root or an administrator)
// puts a table beside the program for everyone. A portable copy keeps it
// beside the program when a NameMass.dat stands there or the program's folder
// can be written, in the user's data folder otherwise. The user's folder is
// created when needed.
QString ElementFileFolder(const QString& programFolder, const QString& userDataFolder, bool installed);

// The administrator's table that a user's missing NameMass.dat is made from:
// /etc/veltrax/NameMass.dat, or %ProgramData%\veltrax\NameMass.dat on Windows.
QString AdministratorTable();

// The XDG rules say to ignore a relative XDG_DATA_HOME; Qt would put the
// user's folder below whatever folder the program was started from.
void IgnoreRelativeXdgDataHome();

// Qt's own texts that the window shows (the context menus, the message box's
// button) in Russian, from the translation built into the program; false if
// it could not be read.
bool LoadQtRussianTranslations(QCoreApplication& application);
