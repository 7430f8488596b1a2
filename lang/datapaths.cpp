#include "lang/datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The data folder of an installation relative to the folder of its programs; the build sets it
// from the install layout, so a copy installed under any prefix finds its files.
#ifndef Q7X_DATA_DIR_FROM_BIN
#define Q7X_DATA_DIR_FROM_BIN "../share/q7xconf"
#endif

namespace q7x::lang {

namespace {

const QString UserIni = QStringLiteral("q7xconf/q7xconf.INI");
const QString ShippedIni = QStringLiteral("q7xconf.INI");

QString installedDataFile(const QFileInfo &exe, const QString &relative) {
    return QDir::cleanPath(exe.absolutePath() + QLatin1Char('/') +
                           QStringLiteral(Q7X_DATA_DIR_FROM_BIN) + QLatin1Char('/') + relative);
}

} // namespace

SettingsFile LocateSettings(const QString &exeFile, const QString &configHome) {
    const QFileInfo exe(exeFile);
    const QFileInfo beside(exe.absolutePath() + QLatin1Char('/') + exe.completeBaseName() +
                           QStringLiteral(".INI"));
    const QString user = configHome.isEmpty() ? QString() : configHome + QLatin1Char('/') + UserIni;
    if (beside.exists())
        return beside.isWritable() ? SettingsFile{beside.filePath(), {}}
                                   : SettingsFile{user, beside.filePath()};
    const QString shipped = installedDataFile(exe, ShippedIni);
    if (QFileInfo::exists(shipped))
        return {user, shipped};
    return {beside.filePath(), {}};
}

QString LocateDataFile(const QString &exeFile, const QString &relative) {
    const QFileInfo exe(exeFile);
    const QString beside = exe.absolutePath() + QLatin1Char('/') + relative;
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = installedDataFile(exe, relative);
    return QFileInfo::exists(installed) ? installed : beside;
}

QString ConfigHome() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
    // A relative value is invalid by the XDG rules and is ignored.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(xdg))
        return xdg;
    const QString home = QDir::homePath();
    return home.isEmpty() || home == QDir::rootPath() ? QString()
                                                      : home + QStringLiteral("/.config");
#endif
}

SettingsFile Settings() {
    return LocateSettings(QCoreApplication::applicationFilePath(), ConfigHome());
}

QString DataFilePath(const QString &relative) {
    return LocateDataFile(QCoreApplication::applicationFilePath(), relative);
}

} // namespace q7x::lang
