#include "ini.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace q7x::lang {

QString IniPath() {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    return exe.absolutePath() + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".INI");
}

static QString readValue(const QString &key) {
    QSettings ini(IniPath(), QSettings::IniFormat);
    const QVariant v = ini.value(key);
    if (!v.isValid())
        return QStringLiteral("Error");
    // A value with a comma reads back as a list; keep the text as written.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

QString GetLanguage() {
    return readValue(QStringLiteral("Lang/Default"));
}

void SetLanguage(const QString &name) {
    if (name != LangRussian && name != LangEnglish && name != LangTurkish)
        return;
    QSettings ini(IniPath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Lang/Default"), name);
    ini.sync();
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
    fileName = readValue(QStringLiteral("Help/") + key);
}

} // namespace q7x::lang
