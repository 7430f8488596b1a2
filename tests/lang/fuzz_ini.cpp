// Fuzzes the settings file reader and writer on any bytes: no crash, no read outside the input; a
// value written reads back; a second key written elsewhere leaves the first as it was; a file the
// writer refuses (over its limit) is left untouched.
#include "lang/ini.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace q7x::lang;

namespace {

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    const SettingsFile file{dir.filePath(QStringLiteral("fuzz.INI")), QString()};
    {
        QFile f(file.path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QByteArray input = contents(file.path);

    // Reading takes whatever the file holds.
    (void)ReadIniValue(file, QStringLiteral("Lang"), QStringLiteral("Default"));
    (void)GetLanguage(file);

    if (!WriteIniValue(file, QStringLiteral("Lang"), QStringLiteral("Default"),
                       QStringLiteral("English"))) {
        // A refused write changes nothing.
        if (contents(file.path) != input)
            std::abort();
        return 0;
    }
    if (ReadIniValue(file, QStringLiteral("Lang"), QStringLiteral("Default")) !=
        QLatin1String("English"))
        std::abort();
    if (!WriteIniValue(file, QStringLiteral("RU"), QStringLiteral("Help"),
                       QStringLiteral("help.chm")))
        std::abort();
    if (ReadIniValue(file, QStringLiteral("RU"), QStringLiteral("Help")) !=
            QLatin1String("help.chm") ||
        ReadIniValue(file, QStringLiteral("Lang"), QStringLiteral("Default")) !=
            QLatin1String("English"))
        std::abort();
    return 0;
}
