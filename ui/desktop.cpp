#include "desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryFile>
#include <QTranslator>

#include "elements/mdlVeltrax.h"

namespace {

// Either separator, whatever the platform: the variables are Windows' own.
QString Slashed(const QString& path) {
    return QDir::cleanPath(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'))) + QLatin1Char('/');
}

bool Within(const QString& folder, const QString& parent) {
    return !parent.isEmpty() && Slashed(folder).startsWith(Slashed(parent), Qt::CaseInsensitive);
}

bool OnWindows() { return QSysInfo::kernelType() == QLatin1String("winnt"); }

}  // namespace

bool InstalledCopy(const QString& programFolder) {
    // The installer leaves this beside the program, wherever it puts it; the zip has none.
    if (QFileInfo(QDir(programFolder).filePath(QStringLiteral("veltrax.installed"))).isFile()) return true;
    // Windows' program folders, for all users and for one.
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"})
        if (Within(programFolder, qEnvironmentVariable(variable))) return true;
    const QString local = qEnvironmentVariable("LOCALAPPDATA");
    if (!local.isEmpty() && Within(programFolder, local + QStringLiteral("/Programs"))) return true;
    // Where packages put programs on Linux.
    return !OnWindows() &&
           (Within(programFolder, QStringLiteral("/usr")) || Within(programFolder, QStringLiteral("/opt")));
}

QString ElementFileFolder(const QString& programFolder, const QString& userDataFolder, bool installed) {
    if (!installed) {
        const QFileInfo beside(QDir(programFolder).filePath(QString::fromUtf8(kNameMassFileName)));
        if (beside.exists() || beside.isSymLink()) return programFolder;
        // Trying is the one test of writing that holds everywhere (access
        // control lists, read-only media, mounted images).
        QTemporaryFile probe(QDir(programFolder).filePath(QStringLiteral(".veltrax-XXXXXX")));
        if (probe.open()) return programFolder;
    }
    QDir().mkpath(userDataFolder);
    return userDataFolder;
}

QString AdministratorTable() {
    const QString name = QString::fromUtf8(kNameMassFileName);
    if (OnWindows()) {
        const QString programData = qEnvironmentVariable("ProgramData");
        return programData.isEmpty() ? QString()
                                     : QDir::toNativeSeparators(programData + QStringLiteral("/veltrax/") + name);
    }
    return QStringLiteral("/etc/veltrax/") + name;
}

void IgnoreRelativeXdgDataHome() {
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isRelativePath(dataHome)) qunsetenv("XDG_DATA_HOME");
}

bool LoadQtRussianTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral(":/translations/qt_ru.qm"))) return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
}
