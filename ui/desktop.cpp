#include "desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <QTranslator>

#include "elements/mdlVeltrax.h"

namespace {

// A copy installed under Windows' program folders keeps its table per user,
// as Windows expects of installed programs, even where an administrator
// could write beside it.
bool InstalledOnWindows(const QString& programFolder) {
    const QString program = QDir::cleanPath(programFolder) + QLatin1Char('/');
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString folder = QDir::fromNativeSeparators(qEnvironmentVariable(variable));
        if (!folder.isEmpty() && program.startsWith(QDir::cleanPath(folder) + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

}  // namespace

QString ElementFileFolder(const QString& programFolder, const QString& userDataFolder) {
    const QFileInfo beside(QDir(programFolder).filePath(QString::fromUtf8(kNameMassFileName)));
    if (beside.exists() || beside.isSymLink()) return programFolder;
    if (!InstalledOnWindows(programFolder)) {
        // Trying is the one test of writing that holds everywhere (access
        // control lists, read-only media, mounted images).
        QTemporaryFile probe(QDir(programFolder).filePath(QStringLiteral(".veltrax-XXXXXX")));
        if (probe.open()) return programFolder;
    }
    QDir().mkpath(userDataFolder);
    return userDataFolder;
}

bool LoadQtRussianTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (const QString& folder : {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
        if (translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
}
