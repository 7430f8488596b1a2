#include "lang/windowtexts.h"

#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "lang/resourcelibrary.h"

namespace q7x::lang {

WindowTexts WindowTexts::fromLibrary(const ResourceLibrary &library) {
    WindowTexts out;
    const QByteArray index = library.rawData(QLatin1String(TextIndexResource));
    int id = 1;
    int cachedBlock = -1;
    QList<QString> block;
    for (qsizetype at = 0; at < index.size() && id <= 0xFFFF; ++id) {
        qsizetype end = index.indexOf('\n', at);
        if (end < 0)
            end = index.size();
        const QString identifier = QString::fromLatin1(index.mid(at, end - at));
        at = end + 1;
        if (id / 16 != cachedBlock) {
            cachedBlock = id / 16;
            block = library.stringBlock(cachedBlock, WindowTextMaxLength);
        }
        const QString text = block.isEmpty() ? QString() : block[id % 16];
        if (!identifier.isEmpty() && !text.isEmpty())
            out.m_texts.insert(identifier, text);
    }
    return out;
}

WindowTexts WindowTexts::load(const QString &language, const QString &folder) {
    WindowTexts out;
    for (const QString &name : {language, LangRussian}) {
        const auto files = FilesOfLanguage(name);
        ResourceLibrary library;
        if (!files || !library.load(LibraryPath(folder, files->textLibrary)))
            continue;
        WindowTexts texts = fromLibrary(library);
        if (out.m_texts.isEmpty())
            out = std::move(texts);
        else
            for (auto it = texts.m_texts.begin(); it != texts.m_texts.end(); ++it)
                if (!out.m_texts.contains(it.key()))
                    out.m_texts.insert(it.key(), it.value());
        if (name == LangRussian)
            break; // the Russian window's texts were the language's own
    }
    return out;
}

} // namespace q7x::lang
