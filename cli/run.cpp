#include "cli/run.h"

#include "cli/settingsjson.h"
#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "lang/messagetable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <cerrno>
#include <cstdio>

namespace q7x::cli {

namespace {

// Our own texts hold no control characters but line ends; anything else came from outside. A NUL
// is escaped like every other control character.
QString escapedBut(const QString &text, bool keepLineEnds) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || (u >= 0x7F && u < 0xA0) || (u >= 0x202A && u <= 0x202E) ||
                             (u >= 0x2066 && u <= 0x2069);
        if (!control || (keepLineEnds && u == '\n'))
            out += c;
        else if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\t')
            out += QLatin1String("\\t");
        else if (u == '\r')
            out += QLatin1String("\\r");
        else if (u < 0x100)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
    }
    return out;
}

// False, with errno set, when the text did not reach the stream completely.
bool write(FILE *stream, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) ==
                         std::size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
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

QString languageOfLocale(const QString &locale) {
    return languageOfOption(locale.left(2).toLower());
}

QString languageName(const QString &language) {
    return lang::M(language == lang::LangEnglish   ? 1867
                   : language == lang::LangTurkish ? 1868
                                                   : 1866);
}

QString printable(const QString &text) { return escapedBut(text, false); }

QString reasonText(int error) {
    switch (error) {
    case ENOENT:
        return lang::M(1850);
    case EACCES:
    case EPERM:
        return lang::M(1851);
    case EISDIR:
        return lang::M(1852);
    case ENOTDIR:
        return lang::M(1853);
    case ENOSPC:
        return lang::M(1854);
    case EROFS:
        return lang::M(1855);
    case EDQUOT:
        return lang::M(1856);
    case ENXIO:
    case ENOTSUP:
        return lang::M(1857);
    case EIO:
        return lang::M(1858);
    case ELOOP:
        return lang::M(1859);
    case ENAMETOOLONG:
        return lang::M(1860);
    case EFBIG:
        return lang::M(1861);
    case 0:
        return lang::M(1863);
    default:
        return lang::FormatM(1862, error);
    }
}

lang::SettingsFile Run::settings() const {
    // The configurator beside this program owns the settings; it is named q7xconf.
    const QString configurator =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("q7xconf"));
    return lang::LocateSettings(configurator, lang::ConfigHome());
}

QString Run::storedLanguage() const {
    const QString stored = lang::GetLanguage(settings());
    return lang::FilesOfLanguage(stored) ? stored : lang::LangRussian;
}

QString Run::language() const {
    if (!m_language.isEmpty())
        return m_language;
    m_language = languageOfOption(QString::fromStdString(languageOption));
    // A settings file that exists holds the user's (or the configurator's) choice; the shipped
    // defaults that stand in for it until the configurator first runs choose nothing.
    const lang::SettingsFile file = settings();
    if (m_language.isEmpty() && QFileInfo::exists(file.path)) {
        const QString stored = lang::GetLanguage(file);
        if (lang::FilesOfLanguage(stored))
            m_language = stored;
    }
    if (m_language.isEmpty()) {
        // The first of these that is set decides, as for every program of the system.
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"})
            if (const QString locale = qEnvironmentVariable(name); !locale.isEmpty()) {
                m_language = languageOfLocale(locale);
                break;
            }
    }
    if (m_language.isEmpty())
        m_language = storedLanguage();
    return m_language;
}

void Run::loadMessages() const { lang::LoadMessageTable(language()); }

void Run::out(const QString &text) const {
    m_printed = true;
    if (!write(stdout, escapedBut(text, true)) && m_outputError == 0)
        m_outputError = errno;
}

void Run::say(const QString &line) const {
    if (!quiet)
        out(line + QLatin1Char('\n'));
}

void Run::print(const QString &text) const { out(text); }

void Run::complain(const QString &line) const {
    for (const QString &part : line.split(QLatin1Char('\n'))) {
        m_complaints << part;
        write(stderr, QStringLiteral("q7xctl: ") + escapedBut(part, false) + QLatin1Char('\n'));
    }
}

void Run::complain(const QStringList &lines) const {
    for (const QString &line : lines)
        complain(line);
}

void Run::log(const QString &line) const {
    if (verbose)
        write(stderr, escapedBut(line, false) + QLatin1Char('\n'));
}

Status Run::finish(Status status) const {
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && m_outputError == 0)
        m_outputError = errno ? errno : EIO;
    if (m_outputError != 0) {
        complain(lang::FormatM(1841, reasonText(m_outputError)));
        if (status == Done || status == Different)
            status = BadUsage;
    }
    if (json && !m_printed && status != Done && status != Different) {
        JsonNode doc = jsonDocument(QStringLiteral("q7xctl-error"));
        doc[QStringLiteral("error")].insert(QStringLiteral("status"), int(status));
        doc[QStringLiteral("error")].insert(QStringLiteral("messages"),
                                            QJsonArray::fromStringList(m_complaints));
        write(stdout, QString::fromUtf8(doc.toJson()));
    }
    return status;
}

} // namespace q7x::cli
