#pragma once
// The language libraries shipped with the program: per language a text library (window
// texts numbered by the translation walk) and a message library (MessageTable and the logo).
// Each library is loaded, read and released within one call.
#include <QByteArray>
#include <QString>
#include <optional>

namespace q7x::lang {

class ResourceLibrary;

struct LanguageFiles {
    QString textLibrary;    // e.g. "ruslng.dll"
    QString messageLibrary; // e.g. "rusmess.dll"
    QString logo;           // name of the logo bitmap in the message library
};

// The files of "Russian", "English" or "Turkish" (compared exactly); nothing for other names.
std::optional<LanguageFiles> FilesOfLanguage(const QString &language);

// The library fileName in folder, or when folder is empty where the program finds its shipped
// files (beside the executable, else in the installation's data folder).
QString LibraryPath(const QString &folder, const QString &fileName);

// Entry k of MessageTable() := message 1000 + k of the library, for every non-empty message;
// entries whose message is missing or empty keep their value.
void FillMessageTable(const ResourceLibrary &messages);

// Loads the message library of the language from the folder (the executable's folder when
// empty), fills MessageTable() from it and releases it. An unknown language or a library that
// cannot be loaded leaves the table unchanged and gives false.
bool LoadMessageTable(const QString &language, const QString &folder = {});

// The logo of the language as a BMP file ("DRAV" in Russian, "CONTR" in English and Turkish);
// empty for an unknown language, a missing library or a missing bitmap.
QByteArray LoadLogoBitmap(const QString &language, const QString &folder = {});

// Qt's own translation catalogue for the standard texts Qt draws itself (the OK, Yes, No and
// Cancel buttons of message boxes, the file dialogs): "qtbase_ru" for Russian, "qtbase_tr" for
// Turkish; empty for English, whose texts Qt has built in, and for unknown names.
QString QtCatalogueOfLanguage(const QString &language);

// Loads that catalogue from Qt's translations folder (or from the given folder) and installs it
// in the application, so the buttons of message boxes speak the interface language. False when
// the language needs none or the catalogue is not installed; Qt's English texts remain then.
bool InstallQtTranslation(const QString &language, const QString &folder = {});

} // namespace q7x::lang
