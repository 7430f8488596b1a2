// The build step that turns a message source into a resource script: it refuses sources that
// would ship a wrong or incomplete message library.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray rc;
    QByteArray errors;
};

Run runMessages(const QByteArray &source, const QByteArray &reference = {}) {
    QTemporaryDir dir;
    Run run;
    if (!dir.isValid())
        return run;
    auto write = [&dir](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    };
    QStringList args = {QStringLiteral("messages"), write(QStringLiteral("msg.txt"), source),
                        dir.filePath(QStringLiteral("out.rc")), QStringLiteral("0x09"),
                        QStringLiteral("0x01")};
    if (!reference.isEmpty())
        args << QStringLiteral("--reference") << write(QStringLiteral("ref.txt"), reference);
    QProcess p;
    p.start(QStringLiteral(Q7X_RCGEN), args);
    if (!p.waitForFinished(30000))
        return run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.errors = p.readAllStandardError();
    QFile out(dir.filePath(QStringLiteral("out.rc")));
    if (out.open(QIODevice::ReadOnly))
        run.rc = out.readAll();
    return run;
}

} // namespace

class TestRcgen : public QObject {
    Q_OBJECT

  private slots:
    void scriptFromSource() {
        const Run r = runMessages("# comment\r\n\r\n1002 Saved\r\n  1003\t\"a\" \\ b  \r\n"
                                  "1999 \xD0\x94\n");
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.rc.contains("LANGUAGE 0x09, 0x01\n"), r.rc.constData());
        // Quotes doubled, backslashes doubled, blanks around the text dropped.
        QVERIFY2(r.rc.contains("  1002, \"Saved\"\n  1003, \"\"\"a\"\" \\\\ b\"\n"
                               "  1999, \"\xD0\x94\"\n"),
                 r.rc.constData());
    }

    void refusedSources_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("reference");
        QTest::addColumn<int>("exitCode");
        const QByteArray max(149, 'x');
        QTest::newRow("149 characters") << "1000 " + max << QByteArray() << 0;
        QTest::newRow("150 characters") << "1000 " + max + "x" << QByteArray() << 1;
        // 149 Cyrillic letters are 298 bytes but 149 characters.
        QTest::newRow("149 two-byte characters")
            << "1000 " + QByteArray("\xD0\x96").repeated(149) << QByteArray() << 0;
        QTest::newRow("below range") << QByteArray("999 x") << QByteArray() << 1;
        QTest::newRow("twice") << QByteArray("1002 a\n1002 b\n") << QByteArray() << 1;
        QTest::newRow("no text") << QByteArray("1002\n") << QByteArray() << 1;
        QTest::newRow("no number") << QByteArray("Saved\n") << QByteArray() << 1;
        QTest::newRow("broken utf-8") << QByteArray("1002 \xD0\n") << QByteArray() << 1;
        QTest::newRow("same numbers as reference")
            << QByteArray("1002 a\n1003 b\n") << QByteArray("1003 y\n1002 x\n") << 0;
        QTest::newRow("untranslated message")
            << QByteArray("1002 a\n") << QByteArray("1002 x\n1003 y\n") << 1;
        QTest::newRow("message not in reference")
            << QByteArray("1002 a\n1004 c\n") << QByteArray("1002 x\n") << 1;
    }

    void refusedSources() {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, reference);
        QFETCH(int, exitCode);
        const Run r = runMessages(source, reference);
        QVERIFY2(r.exitCode == exitCode, r.errors.constData());
        if (exitCode != 0)
            QVERIFY(!r.errors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRcgen)
#include "tst_rcgen.moc"
