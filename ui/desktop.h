#pragma once

#include <QString>

class QCoreApplication;

// Where NameMass.dat lives: beside the program when a NameMass.dat stands
// there or the program's folder can be written (a copy unpacked anywhere);
// otherwise, for an installed copy in a folder the user cannot write (or
// under Windows' program folders), in the user's own data folder, which is
// created when needed.
QString ElementFileFolder(const QString& programFolder, const QString& userDataFolder);

// Qt's own Russian texts (context menus, standard buttons), from the folder
// beside the program or Qt's translations folder; false when neither has them.
bool LoadQtRussianTranslations(QCoreApplication& application);
