#include <QApplication>
#include <QStandardPaths>

#include "running.h"
#include "ui/desktop.h"
#include "ui/frmVeltrax.h"
#include "ui/veltrax_icon.h"

int main(int, char* argv[]) {
    const RunningMark running;
    IgnoreRelativeXdgDataHome();
    // The program has no command line: nothing typed after its name, Qt's own
    // options (-platform, -style, -reverse …) included, reaches Qt.
    int qtArgumentCount = 1;
    char* qtArguments[] = {argv[0], nullptr};
    QApplication application(qtArgumentCount, qtArguments);
    // The name also names the user's data folder (~/.local/share/veltrax).
    QApplication::setApplicationName(QStringLiteral("veltrax"));
    QApplication::setApplicationVersion(QStringLiteral(VELTRAX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRAX_DESKTOP_ID));
    QApplication::setWindowIcon(VeltraxIcon());
    LoadQtRussianTranslations(application);

    const QString program = QCoreApplication::applicationDirPath();
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString folder = ElementFileFolder(program, user, InstalledCopy(program));
    frmVeltrax window(std::filesystem::path(folder.toStdU16String()));
    // A table in the user's own folder is made from the administrator's where there is one.
    if (folder == user) window.SetSeedFile(std::filesystem::path(AdministratorTable().toStdU16String()));
    window.show();
    return QApplication::exec();
}
