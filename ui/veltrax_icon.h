#pragma once

#include <QIcon>

// The program's icon: a pocket calculator, drawn in ui/veltrax.xpm.
QIcon VeltraxIcon();
