#include "lang/ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace q7x::lang {

// The file is read and written as plain lines, the way the Windows profile functions treat it:
// section and key names match without regard to case, the first match wins, values are taken
// as written (surrounding blanks and one pair of enclosing quotes dropped), and a write changes
// only the line it sets, keeping comments and every other line. Each call reads the file anew.

namespace {

// A settings file is a few hundred bytes; only this much of a larger one is read, and such a
// file is never rewritten, so that nothing past the limit is lost.
constexpr qint64 MaxIniSize = 1 << 20;

struct IniLines {
    QStringList lines;
    QString newline = QStringLiteral("\n");
    bool complete = true;
};

IniLines readLines(const QString &path) {
    IniLines ini;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ini;
    // read() reserves what it is asked for: a file is asked for its own size and one byte more,
    // and only one that is longer than it said (a pipe, or a file that grew) for the rest.
    const qint64 size = file.isSequential() ? 0 : std::min(file.size(), MaxIniSize);
    QByteArray bytes = file.read(size + 1);
    if (bytes.size() > size)
        bytes += file.read(MaxIniSize + 1 - bytes.size());
    if (bytes.size() > MaxIniSize) {
        bytes.truncate(MaxIniSize);
        ini.complete = false;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.contains("\r\n"))
        ini.newline = QStringLiteral("\r\n");
    QString text = QString::fromUtf8(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    ini.lines = text.split(QLatin1Char('\n'));
    if (!ini.lines.isEmpty() && ini.lines.last().isEmpty())
        ini.lines.removeLast(); // the final line break
    return ini;
}

// The name of a section header line "[name]", or nothing for other lines.
std::optional<QString> sectionOf(const QString &line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Index of the line "key=value" in the section, or -1; sectionEnd gets the index after the
// section's last non-blank line (-1 when the section is absent).
qsizetype findKey(const QStringList &lines, const QString &section, const QString &key,
                  qsizetype *sectionEnd = nullptr) {
    bool inSection = false;
    qsizetype end = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionOf(lines[i])) {
            if (inSection)
                break; // a repeated section later in the file is not looked at
            inSection = sameName(*name, section);
            if (inSection)
                end = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!lines[i].trimmed().isEmpty())
            end = i + 1;
        const qsizetype eq = lines[i].indexOf(QLatin1Char('='));
        if (eq > 0 && sameName(lines[i].left(eq).trimmed(), key)) {
            if (sectionEnd)
                *sectionEnd = end;
            return i;
        }
    }
    if (sectionEnd)
        *sectionEnd = end;
    return -1;
}

// The defaults stand in for a settings file that does not exist yet.
IniLines readSettings(const SettingsFile &ini) {
    return readLines(QFileInfo::exists(ini.path) ? ini.path : ini.seed);
}

bool writeLines(const QString &path, const IniLines &ini) {
    if (path.isEmpty() || !ini.complete || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((ini.lines.join(ini.newline) + ini.newline).toUtf8());
    return file.commit();
}

} // namespace

QString IniPath() { return Settings().path; }

QString ReadIniValue(const SettingsFile &file, const QString &section, const QString &key,
                     const QString &fallback) {
    const IniLines ini = readSettings(file);
    const qsizetype i = findKey(ini.lines, section, key);
    if (i < 0)
        return fallback;
    const QString &line = ini.lines[i];
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

bool WriteIniValue(const SettingsFile &file, const QString &section, const QString &key,
                   const QString &value) {
    IniLines ini = readSettings(file);
    qsizetype sectionEnd = -1;
    const qsizetype i = findKey(ini.lines, section, key, &sectionEnd);
    const QString entry = key + QLatin1Char('=') + value;
    if (i >= 0) {
        ini.lines[i] = entry;
    } else if (sectionEnd >= 0) {
        ini.lines.insert(sectionEnd, entry);
    } else {
        if (!ini.lines.isEmpty() && !ini.lines.last().trimmed().isEmpty())
            ini.lines.append(QString());
        ini.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        ini.lines.append(entry);
    }
    return writeLines(file.path, ini);
}

bool SeedIni(const SettingsFile &file) {
    if (file.seed.isEmpty() || QFileInfo::exists(file.path) || !QFileInfo::exists(file.seed))
        return false;
    return writeLines(file.path, readLines(file.seed));
}

QString ReadIniValue(const QString &section, const QString &key, const QString &fallback) {
    return ReadIniValue(Settings(), section, key, fallback);
}

bool WriteIniValue(const QString &section, const QString &key, const QString &value) {
    return WriteIniValue(Settings(), section, key, value);
}

QString GetLanguage() { return GetLanguage(Settings()); }

QString GetLanguage(const SettingsFile &file) {
    return ReadIniValue(file, QStringLiteral("Lang"), QStringLiteral("Default"));
}

void SetLanguage(const QString &name) {
    if (name != LangRussian && name != LangEnglish && name != LangTurkish)
        return;
    WriteIniValue(QStringLiteral("Lang"), QStringLiteral("Default"), name);
}

void GetHelpFileName(QString &fileName) {
    const QString lang = GetLanguage();
    QString key;
    if (lang == LangEnglish)
        key = QStringLiteral("EN");
    else if (lang == LangTurkish)
        key = QStringLiteral("TR");
    else if (lang == LangRussian)
        key = QStringLiteral("RU");
    else
        return;
    fileName = ReadIniValue(QStringLiteral("Help"), key);
}

} // namespace q7x::lang
