#pragma once

#include <QIcon>

// The program's icon: a pocket calculator, drawn in ui/veltrax.xpm and, for
// 16 pixels, in ui/veltrax_16.xpm.
QIcon VeltraxIcon();
