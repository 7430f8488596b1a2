#include "cli/run.h"

#include "lang/ini.h"
#include "lang/languagelibraries.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace q7x::cli {

namespace {

void write(FILE *stream, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

QString languageOfOption(const QString &option) {
    if (option == QLatin1String("ru"))
        return lang::LangRussian;
    if (option == QLatin1String("en"))
        return lang::LangEnglish;
    if (option == QLatin1String("tr"))
        return lang::LangTurkish;
    return {};
}

lang::SettingsFile Run::settings() const {
    // The configurator beside this program owns the settings; it is named q7xconf.
    const QString configurator =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("q7xconf"));
    return lang::LocateSettings(configurator, lang::ConfigHome());
}

QString Run::language() const {
    if (m_language.isEmpty()) {
        m_language = languageOfOption(QString::fromStdString(languageOption));
        if (m_language.isEmpty()) {
            const QString stored = lang::GetLanguage(settings());
            m_language = lang::FilesOfLanguage(stored) ? stored : lang::LangRussian;
        }
    }
    return m_language;
}

void Run::loadMessages() const { lang::LoadMessageTable(language()); }

void Run::say(const QString &line) const {
    if (!quiet)
        write(stdout, line + QLatin1Char('\n'));
}

void Run::print(const QString &text) const { write(stdout, text); }

void Run::complain(const QString &line) const { write(stderr, line + QLatin1Char('\n')); }

void Run::complain(const QStringList &lines) const {
    for (const QString &line : lines)
        complain(line);
}

void Run::log(const QString &line) const {
    if (verbose)
        write(stderr, line + QLatin1Char('\n'));
}

} // namespace q7x::cli
