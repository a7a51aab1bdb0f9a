#include "accessibility.h"

#include <QAccessibleWidget>

#include "frmVeltrax.h"
#include "picture_box.h"

namespace {

// The picture describes what it shows when asked, not at every keystroke.
class AccessiblePicture : public QAccessibleWidget {
public:
    explicit AccessiblePicture(PictureBox* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description) return static_cast<PictureBox*>(widget())->Description();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* AccessibleRoles(const QString&, QObject* object) {
    if (auto* picture = dynamic_cast<PictureBox*>(object)) return new AccessiblePicture(picture);
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
