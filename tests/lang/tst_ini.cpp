// The INI file beside the executable: the stored language and the help file names.
#include "lang/ini.h"

#include <QFile>
#include <QTest>

using namespace q7x::lang;

namespace {

void writeIni(const QByteArray &content) {
  QFile f(IniPath());
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(content);
}

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

  void iniSitsBesideTheExecutable() { QVERIFY(IniPath().endsWith(QStringLiteral("/tst_ini.INI"))); }

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

  void storedLanguageIsAPlainIniEntry() {
    // The shipped INI and older installs hold "[Lang]" / "Default=..." lines.
    SetLanguage(QStringLiteral("Russian"));
    const QByteArray text = readIni();
    QVERIFY2(text.contains("[Lang]"), text.constData());
    QVERIFY2(text.contains("Default=Russian"), text.constData());
  }

  void setLanguageKeepsTheHelpNames() {
    writeIni("[Lang]\nDefault=Russian\n[Help]\nEN=q7x_en.htm\nRU=q7x_ru.htm\nTR=q7x_tr.htm\n");
    SetLanguage(QStringLiteral("English"));
    QString help;
    GetHelpFileName(help);
    QCOMPARE(help, QStringLiteral("q7x_en.htm"));
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
    QTest::newRow("key missing") << QByteArray("[Lang]\nDefault=Turkish\n[Help]\nEN=a.htm\n")
                                 << QStringLiteral("Error");
    QTest::newRow("no help section")
        << QByteArray("[Lang]\nDefault=English\n") << QStringLiteral("Error");
    QTest::newRow("other language")
        << "[Lang]\nDefault=German\n" + help << QStringLiteral("unchanged");
    QTest::newRow("name in other case")
        << "[Lang]\nDefault=english\n" + help << QStringLiteral("unchanged");
    QTest::newRow("no language") << help << QStringLiteral("unchanged");
    QTest::newRow("comma kept") << QByteArray("[Lang]\nDefault=English\n[Help]\nEN=guide,v2.htm\n")
                                << QStringLiteral("guide,v2.htm");
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
