#include "accessibility.h"

#include <QAccessibleWidget>

#include "frmVeltrax.h"
#include "picture_box.h"

namespace {

QAccessibleInterface* AccessibleRoles(const QString&, QObject* object) {
    if (auto* picture = dynamic_cast<PictureBox*>(object)) return new QAccessibleWidget(picture, QAccessible::Graphic);
    if (auto* window = dynamic_cast<frmVeltrax*>(object)) return new QAccessibleWidget(window, QAccessible::Window);
    return nullptr;
}

}  // namespace

void InstallAccessibleRoles() {
    static const bool installed = [] {
        QAccessible::installFactory(AccessibleRoles);
        return true;
    }();
    (void)installed;
}
