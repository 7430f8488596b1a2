#include "lang/languagelibraries.h"

#include "lang/ini.h"
#include "lang/messagetable.h"
#include "lang/resourcelibrary.h"

#include <QCoreApplication>
#include <QDir>

namespace q7x::lang {

std::optional<LanguageFiles> FilesOfLanguage(const QString &language) {
  if (language == LangEnglish)
    return LanguageFiles{QStringLiteral("englng.dll"), QStringLiteral("engmess.dll"),
                         QStringLiteral("CONTR")};
  if (language == LangRussian)
    return LanguageFiles{QStringLiteral("ruslng.dll"), QStringLiteral("rusmess.dll"),
                         QStringLiteral("DRAV")};
  if (language == LangTurkish)
    return LanguageFiles{QStringLiteral("turklng.dll"), QStringLiteral("turkmess.dll"),
                         QStringLiteral("CONTR")};
  return std::nullopt;
}

QString LibraryFolder() {
  return QCoreApplication::applicationDirPath();
}

static QString pathIn(const QString &folder, const QString &fileName) {
  return QDir(folder.isEmpty() ? LibraryFolder() : folder).filePath(fileName);
}

void FillMessageTable(const ResourceLibrary &messages) {
  MessageArray &table = MessageTable();
  for (int k = 0; k < MessageCount; ++k) {
    QString text = messages.string(1000 + k, MessageMaxLength);
    if (!text.isEmpty())
      table[static_cast<std::size_t>(k)] = std::move(text);
  }
}

bool LoadMessageTable(const QString &language, const QString &folder) {
  const auto files = FilesOfLanguage(language);
  if (!files)
    return false;
  ResourceLibrary library;
  if (!library.load(pathIn(folder, files->messageLibrary)))
    return false;
  FillMessageTable(library);
  return true;
}

QByteArray LoadLogoBitmap(const QString &language, const QString &folder) {
  const auto files = FilesOfLanguage(language);
  if (!files)
    return {};
  ResourceLibrary library;
  if (!library.load(pathIn(folder, files->messageLibrary)))
    return {};
  return library.bitmap(files->logo);
}

} // namespace q7x::lang
