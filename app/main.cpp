#include <QApplication>
#include <QFile>

#include "ui/frmVeltrax.h"
#include "ui/veltrax_icon.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrax"));
    QApplication::setApplicationVersion(QStringLiteral(VELTRAX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRAX_DESKTOP_ID));
    QApplication::setWindowIcon(VeltraxIcon());

    frmVeltrax window(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    window.show();
    return QApplication::exec();
}
