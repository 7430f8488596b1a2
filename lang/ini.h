#pragma once
// The INI file beside the executable: same folder and base name, extension ".INI".
// It is opened for every read or write; nothing is cached.
#include <QString>

namespace q7x::lang {

inline const QString LangRussian = QStringLiteral("Russian");
inline const QString LangEnglish = QStringLiteral("English");
inline const QString LangTurkish = QStringLiteral("Turkish");

// Full path of the INI file for the running executable.
QString IniPath();

// The stored interface language ("Lang"/"Default"), or "Error" when none is stored.
QString GetLanguage();

// Stores the language when it is exactly "Russian", "English" or "Turkish"; ignores anything else.
void SetLanguage(const QString &name);

// For a stored language of the three, sets fileName to the "Help" value under "RU", "EN" or "TR"
// ("Error" when the key is missing); for any other stored language leaves fileName unchanged.
void GetHelpFileName(QString &fileName);

} // namespace q7x::lang
