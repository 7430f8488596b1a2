#pragma once
// The INI file beside the executable: same folder and base name, extension ".INI".
// It is opened for every read or write; nothing is cached. Other lines of the file (comments,
// other sections) survive a write.
#include <QString>

namespace q7x::lang {

inline const QString LangRussian = QStringLiteral("Russian");
inline const QString LangEnglish = QStringLiteral("English");
inline const QString LangTurkish = QStringLiteral("Turkish");

// Full path of the INI file for the running executable.
QString IniPath();

// The value of key in section (names match without regard to case), or fallback when the file,
// the section or the key is missing.
QString ReadIniValue(const QString &section, const QString &key,
                     const QString &fallback = QStringLiteral("Error"));

// Sets key in section, adding the section or the key when missing and keeping every other
// line of the file; false when the file cannot be written or is too large to be a settings
// file (over 1 MiB, of which only the start is read).
bool WriteIniValue(const QString &section, const QString &key, const QString &value);

// The stored interface language ("Lang"/"Default"), or "Error" when none is stored.
QString GetLanguage();

// Stores the language when it is exactly "Russian", "English" or "Turkish"; ignores anything else.
void SetLanguage(const QString &name);

// For a stored language of the three, sets fileName to the "Help" value under "RU", "EN" or "TR"
// ("Error" when the key is missing); for any other stored language leaves fileName unchanged.
void GetHelpFileName(QString &fileName);

} // namespace q7x::lang
