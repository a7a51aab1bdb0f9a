#include "veltrax_icon.h"

#include <QPixmap>

#include "veltrax.xpm"

QIcon VeltraxIcon() { return QIcon(QPixmap(veltrax_xpm)); }
