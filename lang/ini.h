#pragma once
// The settings INI file: beside the executable (same folder and base name, extension ".INI"), or
// for an installed program the user's own copy of the shipped defaults (lang/datapaths.h).
// It is opened for every read or write; nothing is cached. Other lines of the file (comments,
// other sections) survive a write.
#include "lang/datapaths.h"

#include <QString>

namespace q7x::lang {

inline const QString LangRussian = QStringLiteral("Russian");
inline const QString LangEnglish = QStringLiteral("English");
inline const QString LangTurkish = QStringLiteral("Turkish");

// Full path of the INI file that the running program reads and writes.
QString IniPath();

// The value of key in section (names match without regard to case), or fallback when the file,
// the section or the key is missing. A settings file that does not exist yet is read from its
// defaults.
QString ReadIniValue(const SettingsFile &file, const QString &section, const QString &key,
                     const QString &fallback = QStringLiteral("Error"));
QString ReadIniValue(const QString &section, const QString &key,
                     const QString &fallback = QStringLiteral("Error"));

// Sets key in section, adding the section or the key when missing and keeping every other
// line of the file (of the defaults, when the file does not exist yet; its folder is created);
// false when the file cannot be written or is too large to be a settings file (over 1 MiB, of
// which only the start is read).
bool WriteIniValue(const SettingsFile &file, const QString &section, const QString &key,
                   const QString &value);
bool WriteIniValue(const QString &section, const QString &key, const QString &value);

// Writes a copy of the defaults as the settings file when it does not exist yet, so that the
// user finds a complete file to edit; false when nothing was written.
bool SeedIni(const SettingsFile &file = Settings());

// The stored interface language ("Lang"/"Default"), or "Error" when none is stored.
QString GetLanguage();
QString GetLanguage(const SettingsFile &file);

// Stores the language when it is exactly "Russian", "English" or "Turkish"; ignores anything else.
void SetLanguage(const QString &name);

// For a stored language of the three, sets fileName to the "Help" value under "RU", "EN" or "TR"
// ("Error" when the key is missing); for any other stored language leaves fileName unchanged.
void GetHelpFileName(QString &fileName);

} // namespace q7x::lang
