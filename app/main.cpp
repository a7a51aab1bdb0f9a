#include <QApplication>
#include <QStandardPaths>

#include "ui/desktop.h"
#include "ui/frmVeltrax.h"
#include "ui/veltrax_icon.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The name also names the user's data folder (~/.local/share/veltrax).
    QApplication::setApplicationName(QStringLiteral("veltrax"));
    QApplication::setApplicationVersion(QStringLiteral(VELTRAX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRAX_DESKTOP_ID));
    QApplication::setWindowIcon(VeltraxIcon());
    LoadQtRussianTranslations(application);

    const QString folder = ElementFileFolder(QCoreApplication::applicationDirPath(),
                                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    frmVeltrax window(std::filesystem::path(folder.toStdU16String()));
    window.show();
    return QApplication::exec();
}
