#include "lang/languagelibraries.h"

#include "lang/datapaths.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "lang/resourcelibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

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

QString LibraryPath(const QString &folder, const QString &fileName) {
    return folder.isEmpty() ? DataFilePath(fileName) : QDir(folder).filePath(fileName);
}

void FillMessageTable(const ResourceLibrary &messages) {
    MessageArray &table = MessageTable();
    // Messages 1000 .. 1999 lie in blocks 62 .. 124, sixteen to a block; each is read once.
    QList<QString> block;
    int blockIndex = -1;
    for (int k = 0; k < MessageCount; ++k) {
        const int id = 1000 + k;
        if (id / 16 != blockIndex) {
            blockIndex = id / 16;
            block = messages.stringBlock(blockIndex, MessageMaxLength);
        }
        if (!block.isEmpty() && !block[id % 16].isEmpty())
            table[static_cast<std::size_t>(k)] = block[id % 16];
    }
}

bool LoadMessageTable(const QString &language, const QString &folder) {
    const auto files = FilesOfLanguage(language);
    if (!files)
        return false;
    ResourceLibrary library;
    if (!library.load(LibraryPath(folder, files->messageLibrary)))
        return false;
    FillMessageTable(library);
    return true;
}

QByteArray LoadLogoBitmap(const QString &language, const QString &folder) {
    const auto files = FilesOfLanguage(language);
    if (!files)
        return {};
    ResourceLibrary library;
    if (!library.load(LibraryPath(folder, files->messageLibrary)))
        return {};
    return library.bitmap(files->logo);
}

QString QtCatalogueOfLanguage(const QString &language) {
    if (language == LangRussian)
        return QStringLiteral("qtbase_ru");
    if (language == LangTurkish)
        return QStringLiteral("qtbase_tr");
    return {};
}

bool InstallQtTranslation(const QString &language, const QString &folder) {
    const QString catalogue = QtCatalogueOfLanguage(language);
    if (catalogue.isEmpty() || !QCoreApplication::instance())
        return false;
    // The translator lives as long as the application, which owns it.
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString dir =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (!translator->load(catalogue, dir) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace q7x::lang
