// Where a program run from its build folder and an installed program find their files and keep
// their settings, on folder trees laid out as the build and the install lay them out.
#include "lang/datapaths.h"
#include "lang/ini.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace q7x::lang;

namespace {

QString S(const char *text) { return QString::fromUtf8(text); }

void put(const QString &path, const QByteArray &content) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray Shipped = "; defaults\n[Lang]\nDefault=Russian\n\n[Help]\nRU=ru.html\n";

} // namespace

class TestDataPaths : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString at(const char *path) const { return tmp.filePath(S(path)); }

  private slots:
    void init() {
        QVERIFY(tmp.isValid());
        QVERIFY(QDir(tmp.path()).removeRecursively());
        QVERIFY(QDir().mkpath(tmp.path()));
    }

    void buildFolder_keepsTheIniBesideTheProgram() {
        const QString exe = at("build/app/q7xconf");
        QCOMPARE(LocateSettings(exe, at("config")).path, at("build/app/q7xconf.INI"));
        // A writable INI beside the program wins even where installed defaults exist.
        put(at("build/app/q7xconf.INI"), "[Lang]\nDefault=English\n");
        put(at("build/share/q7xconf/q7xconf.INI"), Shipped);
        const SettingsFile beside = LocateSettings(exe, at("config"));
        QCOMPARE(beside.path, at("build/app/q7xconf.INI"));
        QVERIFY(beside.seed.isEmpty());
    }

    void installed_keepsUserSettingsStartedFromTheDefaults() {
        put(at("usr/share/q7xconf/q7xconf.INI"), Shipped);
        const SettingsFile file = LocateSettings(at("usr/bin/q7xconf"), at("home/.config"));
        QCOMPARE(file.path, at("home/.config/q7xconf/q7xconf.INI"));
        QCOMPARE(file.seed, at("usr/share/q7xconf/q7xconf.INI"));

        // Until the user's file exists, the defaults are read; nothing is written by reading.
        QCOMPARE(ReadIniValue(file, S("Lang"), S("Default")), S("Russian"));
        QVERIFY(!QFile::exists(file.path));

        // The first write creates the folder and keeps the rest of the defaults.
        QVERIFY(WriteIniValue(file, S("Ports"), S("COM1"), S("/dev/ttyUSB0")));
        QCOMPARE(contents(file.path), Shipped + "\n[Ports]\nCOM1=/dev/ttyUSB0\n");
        QCOMPARE(contents(file.seed), Shipped);
        QVERIFY(!SeedIni(file)); // an existing file is never replaced
        QVERIFY(QFile::remove(file.path));
        QVERIFY(SeedIni(file));
        QCOMPARE(contents(file.path), Shipped);
        QVERIFY(!SeedIni(LocateSettings(at("build/q7xconf"), at("home")))); // nothing to copy
    }

    void nowhereToWrite_readsTheDefaultsAndFailsWrites() {
        put(at("usr/share/q7xconf/q7xconf.INI"), Shipped);
        put(at("config"), "a file where the folder should be");
        for (const QString &config : {QString(), at("config")}) {
            const SettingsFile file = LocateSettings(at("usr/bin/q7xconf"), config);
            QCOMPARE(ReadIniValue(file, S("Help"), S("RU")), S("ru.html"));
            QVERIFY(!WriteIniValue(file, S("Lang"), S("Default"), S("English")));
            QVERIFY(!SeedIni(file));
        }
    }

    void readOnlyIniBesideTheProgram_isTheDefaults() {
        if (::geteuid() == 0)
            QSKIP("root may write any file; the unprivileged run checks this");
        put(at("opt/q7xconf.INI"), Shipped);
        QVERIFY(QFile::setPermissions(at("opt/q7xconf.INI"), QFile::ReadOwner | QFile::ReadOther));
        const SettingsFile file = LocateSettings(at("opt/q7xconf"), at("config"));
        QCOMPARE(file.path, at("config/q7xconf/q7xconf.INI"));
        QCOMPARE(file.seed, at("opt/q7xconf.INI"));
        QVERIFY(WriteIniValue(file, S("Lang"), S("Default"), S("Turkish")));
        QCOMPARE(ReadIniValue(file, S("Lang"), S("Default")), S("Turkish"));
    }

    void dataFiles_besideTheProgramFirst() {
        put(at("usr/share/q7xconf/help/en.html"), "installed");
        put(at("usr/share/q7xconf/englng.dll"), "installed");
        put(at("usr/bin/englng.dll"), "beside");
        const QString exe = at("usr/bin/q7xconf");
        QCOMPARE(LocateDataFile(exe, S("englng.dll")), at("usr/bin/englng.dll"));
        QCOMPARE(LocateDataFile(exe, S("help/en.html")), at("usr/share/q7xconf/help/en.html"));
        QCOMPARE(LocateDataFile(exe, S("help/")), at("usr/share/q7xconf/help"));
        QCOMPARE(LocateDataFile(exe, S("help/Error")), at("usr/bin/help/Error"));
    }
};

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_datapaths.moc"
