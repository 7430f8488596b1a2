#pragma once
// Where the program finds the files it ships (language libraries, manuals, default settings) and
// where it keeps the user's settings.
//
// A program run from its build folder (or any folder that holds its files) finds everything
// beside the executable and keeps its settings in the INI file there. An installed program finds
// its files in the data folder of the installation (share/q7xconf beside bin/) and keeps the
// user's settings in the user's configuration folder, started from the shipped defaults; it
// never writes into the installation.
#include <QString>

namespace q7x::lang {

struct SettingsFile {
    QString path; // the INI file read and written; empty when there is nowhere to write
    QString seed; // the defaults that stand in for the file until it exists; empty for none
};

// The settings of the program at exeFile for a user whose configuration folder is configHome:
// - an INI file beside the executable (its base name, extension ".INI") that may be written:
//   that file, with no defaults;
// - one that may not be written: configHome/q7xconf/q7xconf.INI, started from it;
// - none, but the installation's default settings exist: the same user file, started from them;
// - neither: the file beside the executable.
SettingsFile LocateSettings(const QString &exeFile, const QString &configHome);

// The shipped file at relative (e.g. "ruslng.dll", "help/q7xconf-en.html") for the program at
// exeFile: beside the executable when it is there, else in the installation's data folder when
// it is there, else the path beside the executable (which then does not exist).
QString LocateDataFile(const QString &exeFile, const QString &relative);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// ~/.config (on Windows, the local application data folder).
QString ConfigHome();

// The two above for the running program.
SettingsFile Settings();
QString DataFilePath(const QString &relative);

} // namespace q7x::lang
