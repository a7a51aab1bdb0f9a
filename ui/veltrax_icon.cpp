#include "veltrax_icon.h"

#include <QPixmap>

#include "veltrax.xpm"
#include "veltrax_16.xpm"

// The calculator at 32 pixels, and drawn anew for 16, where a reduction of
// the larger one would blur its keys into bars (title bars, task bars).
QIcon VeltraxIcon() {
    QIcon icon{QPixmap(veltrax_xpm)};
    icon.addPixmap(QPixmap(veltrax_16_xpm));
    return icon;
}
