#include "desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <QTranslator>

#include "elements/mdlVeltrax.h"

QString ElementFileFolder(const QString& programFolder, const QString& userDataFolder) {
    const QFileInfo beside(QDir(programFolder).filePath(QString::fromUtf8(kNameMassFileName)));
    if (beside.exists() || beside.isSymLink()) return programFolder;
    // Trying is the one test of writing that holds on every platform (access
    // control lists, read-only media, Program Files).
    QTemporaryFile probe(QDir(programFolder).filePath(QStringLiteral(".veltrax-XXXXXX")));
    if (probe.open()) return programFolder;
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
