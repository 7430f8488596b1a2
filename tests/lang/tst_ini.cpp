// The INI file beside the executable: the stored language and the help file names.
#include "lang/ini.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

using namespace q7x::lang;
using q7x::test::writeIni;

namespace {

QByteArray readIni() {
    QFile f(IniPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

class TestIni : public QObject {
    Q_OBJECT

  private slots:
    void init() { QFile::remove(IniPath()); }
    void cleanupTestCase() { QFile::remove(IniPath()); }

    void noFile() {
        QCOMPARE(GetLanguage(), QStringLiteral("Error"));
        QString help = QStringLiteral("unchanged");
        GetHelpFileName(help);
        QCOMPARE(help, QStringLiteral("unchanged"));
        QVERIFY(!QFile::exists(IniPath())); // reading creates nothing
    }

    void setLanguageTakesOnlyTheThreeNames() {
        for (const char *name : {"Error", "english", "RUSSIAN", "Russian ", "", "German"})
            SetLanguage(QString::fromLatin1(name));
        QVERIFY2(!QFile::exists(IniPath()), "an ignored name wrote the file");

        SetLanguage(QStringLiteral("Turkish"));
        QCOMPARE(GetLanguage(), QStringLiteral("Turkish"));
        SetLanguage(QStringLiteral("Error"));
        QCOMPARE(GetLanguage(), QStringLiteral("Turkish"));
        SetLanguage(QStringLiteral("English"));
        QCOMPARE(GetLanguage(), QStringLiteral("English"));
    }

    void changesByOthersAreSeen() {
        // Same size, same moment: a cache keyed on size and time would miss the change.
        writeIni("[Lang]\nDefault=Turkish\n");
        QCOMPARE(GetLanguage(), QStringLiteral("Turkish"));
        writeIni("[Lang]\nDefault=Russian\n");
        QCOMPARE(GetLanguage(), QStringLiteral("Russian"));
    }

    void writeKeepsTheRestOfTheFile() {
        const QByteArray before = "; q7xconf settings\r\n[help]\r\nRU=ru.htm\r\n\r\n"
                                  "[LANG]\r\n; chosen in the program\r\ndefault=Russian\r\n"
                                  "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n";
        writeIni(before);
        SetLanguage(QStringLiteral("Turkish"));
        QByteArray expected = before;
        expected.replace("default=Russian", "Default=Turkish");
        QCOMPARE(readIni(), expected);

        // A missing key goes to the end of its section, a missing section to the end of the file.
        writeIni("[Lang]\n; none yet\n\n[Help]\nRU=ru.htm\n");
        SetLanguage(QStringLiteral("English"));
        QCOMPARE(readIni(),
                 QByteArray("[Lang]\n; none yet\nDefault=English\n\n[Help]\nRU=ru.htm\n"));
        writeIni("[Help]\nRU=ru.htm");
        SetLanguage(QStringLiteral("Russian"));
        QCOMPARE(readIni(), QByteArray("[Help]\nRU=ru.htm\n\n[Lang]\nDefault=Russian\n"));
    }

    void oversizedFileIsReadInPartAndNeverRewritten() {
        const QByteArray big = "[Lang]\nDefault=English\n; " + QByteArray(2 << 20, 'x') + "\n";
        writeIni(big);
        QCOMPARE(GetLanguage(), QStringLiteral("English"));
        SetLanguage(QStringLiteral("Russian"));
        QVERIFY(readIni() == big);
    }

    void helpFileName_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("expected");
        const QByteArray help =
            "[Help]\r\nEN=manual_en.htm\r\nTR=kilavuz.htm\r\nRU=rukovodstvo.htm\r\n";
        QTest::newRow("English") << "[Lang]\r\nDefault=English\r\n" + help
                                 << QStringLiteral("manual_en.htm");
        QTest::newRow("Turkish") << "[Lang]\r\nDefault=Turkish\r\n" + help
                                 << QStringLiteral("kilavuz.htm");
        QTest::newRow("Russian") << "[Lang]\r\nDefault=Russian\r\n" + help
                                 << QStringLiteral("rukovodstvo.htm");
        QTest::newRow("key missing")
            << QByteArray("[Lang]\nDefault=Turkish\n[Help]\nEN=a.htm\n") << QStringLiteral("Error");
        QTest::newRow("other language")
            << "[Lang]\nDefault=German\n" + help << QStringLiteral("unchanged");
        QTest::newRow("no language") << help << QStringLiteral("unchanged");
        QTest::newRow("names in other case")
            << QByteArray("[lang]\ndefault=English\n[HELP]\nen=guide.htm\n")
            << QStringLiteral("guide.htm");
        QTest::newRow("quoted, blanks around")
            << QByteArray("[Lang]\nDefault = English \n[Help]\nEN = \"my guide.htm\" \n")
            << QStringLiteral("my guide.htm");
        QTest::newRow("backslash and comma kept")
            << QByteArray("[Lang]\nDefault=English\n[Help]\nEN=en\\guide,v2.htm\n")
            << QStringLiteral("en\\guide,v2.htm");
        QTest::newRow("key of another section")
            << QByteArray("[Lang]\nDefault=English\nEN=wrong.htm\n[Help]\nRU=ru.htm\n")
            << QStringLiteral("Error");
        QTest::newRow("cyrillic name")
            << QByteArray("[Lang]\nDefault=Russian\n[Help]\nRU=\xD1\x80\xD1\x83\xD0\xBA.htm\n")
            << QString::fromUtf8("рук.htm");
    }

    void helpFileName() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        writeIni(ini);
        QString help = QStringLiteral("unchanged");
        GetHelpFileName(help);
        QCOMPARE(help, expected);
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
