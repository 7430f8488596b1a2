// The message libraries built by the project: every message the program shows exists in every
// language with the role it is used in, and MessageTable and the logo load from them.
#include "lang/languagelibraries.h"
#include "lang/messagetable.h"
#include "lang/resourcelibrary.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace q7x::lang;

namespace {

const QString LibraryDir = QStringLiteral(Q7X_LANGUAGE_LIBRARY_DIR);

QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Every message number that the program shows.
QList<int> usedMessages() {
    QList<int> n = {1002, 1003, 1005, 1006, 1008, 1014, 1015, 1025, 1026, 1027, 1029, 1030,
                    1039, 1040, 1042, 1044, 1095, 1099, 1142, 1215, 1237, 1238, 1276, 1527};
    for (const auto &[from, to] :
         {std::pair{1532, 1569}, std::pair{1572, 1592}, std::pair{1700, 1722}})
        for (int k = from; k <= to; ++k)
            n.append(k);
    return n;
}

void clearTable() { MessageTable().fill(QString()); }

} // namespace

class TestLanguageLibraries : public QObject {
    Q_OBJECT

  private slots:
    void init() { clearTable(); }
    void cleanupTestCase() { clearTable(); }

    void messagesOfEachLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("Russian") << QStringLiteral("Russian");
        QTest::newRow("English") << QStringLiteral("English");
        QTest::newRow("Turkish") << QStringLiteral("Turkish");
    }

    void messagesOfEachLanguage() {
        QFETCH(QString, language);
        QVERIFY(LoadMessageTable(language, LibraryDir));
        QStringList missing;
        for (int n : usedMessages())
            if (M(n).trimmed().isEmpty())
                missing << QString::number(n);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
        // Messages used as formats: their conversions of the right kind (two page numbers in
        // 1704, else one), no other %.
        const struct {
            int number;
            const char *conversion;
        } formats[] = {{1030, "%d"}, {1095, "%d"}, {1003, "%s"}, {1700, "%s"},
                       {1701, "%s"}, {1702, "%s"}, {1704, "%d"}, {1711, "%s"},
                       {1713, "%s"}, {1715, "%d"}, {1716, "%s"}, {1717, "%s"}};
        QList<int> formatted;
        for (const auto &f : formats) {
            const int count = f.number == 1704 ? 2 : 1;
            QCOMPARE(M(f.number).count(QLatin1String(f.conversion)), count);
            QCOMPARE(M(f.number).count(QLatin1Char('%')), count);
            formatted << f.number;
        }
        // No other message carries a conversion that a caller might pass on to printf.
        static const QRegularExpression conversion(QStringLiteral("%[-+ #0-9.]*[a-zA-Z%]"));
        for (int n : usedMessages())
            if (!formatted.contains(n))
                QVERIFY2(!M(n).contains(conversion), qPrintable(QString::number(n)));
    }

    void formatM_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("withNumber");
        QTest::addColumn<QString>("withText");
        QTest::newRow("number") << QStringLiteral("attempt %d of 10")
                                << QStringLiteral("attempt 7 of 10")
                                << QStringLiteral("attempt %d of 10");
        QTest::newRow("text") << QStringLiteral("version: %s") << QStringLiteral("version: %s")
                              << QStringLiteral("version: 1_3");
        QTest::newRow("only the first")
            << QStringLiteral("%d/%d") << QStringLiteral("7/%d") << QStringLiteral("%d/%d");
        QTest::newRow("percent sign")
            << QStringLiteral("100%% %d") << QStringLiteral("100% 7") << QStringLiteral("100% %d");
        QTest::newRow("hostile conversions")
            << QStringLiteral("%n%s%x%p%") << QStringLiteral("%n%s%x%p%")
            << QStringLiteral("%n1_3%x%p%");
        QTest::newRow("empty") << QString() << QString() << QString();
    }

    void formatM() {
        QFETCH(QString, message);
        QFETCH(QString, withNumber);
        QFETCH(QString, withText);
        MessageTable()[30] = message;
        QCOMPARE(FormatM(1030, 7), withNumber);
        QCOMPARE(FormatM(1030, QStringLiteral("1_3")), withText);
    }

    void fillKeepsEntriesWithoutMessage() {
        MessageTable()[2] = QStringLiteral("old");
        MessageTable()[999] = QStringLiteral("keep"); // M1999 is in no library
        QVERIFY(LoadMessageTable(QStringLiteral("English"), LibraryDir));
        QVERIFY(M(1002) != QStringLiteral("old") && !M(1002).isEmpty());
        QCOMPARE(M(1999), QStringLiteral("keep"));
    }

    void messagesAreCutTo149Characters() {
        ResourceLibrary sample;
        QVERIFY(sample.load(QStringLiteral(Q7X_SAMPLE_DIR "/sample64.dll")));
        FillMessageTable(sample);
        QCOMPARE(M(1003), QStringLiteral("0123456789").repeated(16).left(149));
        QCOMPARE(M(1000), QString::fromUtf8("Привет, мир"));
        QCOMPARE(M(1001), QString());
    }

    void unusableLibraryLeavesTableAlone() {
        MessageTable()[2] = QStringLiteral("old");
        QVERIFY(!LoadMessageTable(QStringLiteral("Error"), LibraryDir));
        QVERIFY(!LoadMessageTable(QStringLiteral("russian"), LibraryDir));
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        QVERIFY(!LoadMessageTable(QStringLiteral("Russian"), empty.path()));
        // A damaged library counts as missing.
        const QByteArray good = readFile(LibraryDir + QStringLiteral("/rusmess.dll"));
        QFile damaged(empty.filePath(QStringLiteral("rusmess.dll")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(good.left(300));
        damaged.close();
        QVERIFY(!LoadMessageTable(QStringLiteral("Russian"), empty.path()));
        QCOMPARE(M(1002), QStringLiteral("old"));
        QCOMPARE(M(1003), QString());
    }

    void logos() {
        const QByteArray drav = readFile(QStringLiteral(Q7X_LOGO_DIR "/logo_drav.bmp"));
        const QByteArray contr = readFile(QStringLiteral(Q7X_LOGO_DIR "/logo_contr.bmp"));
        QVERIFY(!drav.isEmpty() && !contr.isEmpty() && drav != contr);
        QCOMPARE(LoadLogoBitmap(QStringLiteral("Russian"), LibraryDir), drav);
        QCOMPARE(LoadLogoBitmap(QStringLiteral("English"), LibraryDir), contr);
        QCOMPARE(LoadLogoBitmap(QStringLiteral("Turkish"), LibraryDir), contr);
        QCOMPARE(LoadLogoBitmap(QStringLiteral("Error"), LibraryDir), QByteArray());
        // Each library carries only its own logo name.
        ResourceLibrary rus;
        QVERIFY(rus.load(LibraryDir + QStringLiteral("/rusmess.dll")));
        QCOMPARE(rus.bitmap(QStringLiteral("CONTR")), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestLanguageLibraries)
#include "tst_languagelibraries.moc"
