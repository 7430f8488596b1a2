// The resource-library reader on libraries built by llvm-rc and lld-link (PE32+ and PE32) and
// on damaged copies of them.
#include "lang/resourcelibrary.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <functional>
#include <memory>
#include <vector>

using q7x::lang::ResourceLibrary;

namespace {

QString samplePath(const QString &name) { return QStringLiteral(Q7X_SAMPLE_DIR "/") + name; }

QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Strings of sample.rc.in.
const QString Long = QStringLiteral("0123456789").repeated(16);
const QString A98 = QString(98, QLatin1Char('a'));
const QString Emoji = QString::fromUtf8("\xF0\x9F\x98\x80");

// Field access for the tests' own edits; a field outside the file reads as 0 and is not written,
// so a fixture that is not the expected PE file fails the checks instead of the test process.
bool fits(const QByteArray &b, qint64 at, qint64 size) { return at >= 0 && at + size <= b.size(); }
quint32 get32(const QByteArray &b, qint64 at) {
    return fits(b, at, 4) ? qFromLittleEndian<quint32>(b.constData() + at) : 0;
}
quint16 get16(const QByteArray &b, qint64 at) {
    return fits(b, at, 2) ? qFromLittleEndian<quint16>(b.constData() + at) : 0;
}
void put32(QByteArray &b, qint64 at, quint32 v) {
    if (fits(b, at, 4))
        qToLittleEndian(v, b.data() + at);
}
void put16(QByteArray &b, qint64 at, quint16 v) {
    if (fits(b, at, 2))
        qToLittleEndian(v, b.data() + at);
}

// Offsets of the header fields in a file, read from the PE layout itself.
struct Layout {
    qint64 pe = 0, coff = 0, optional = 0, directories = 0, resourceEntry = 0, section = 0;
    qint64 resourceFile = 0; // file offset of the resource directory
    quint32 resourceRva = 0;
    quint16 magic = 0;
    quint16 machine = 0;
};

Layout layoutOf(const QByteArray &b) {
    Layout l;
    l.pe = get32(b, 0x3C);
    l.coff = l.pe + 4;
    l.machine = get16(b, l.coff);
    l.optional = l.coff + 20;
    l.magic = get16(b, l.optional);
    l.directories = l.optional + (l.magic == 0x20B ? 112 : 96);
    l.resourceEntry = l.directories + 2 * 8;
    l.section = l.optional + get16(b, l.coff + 16);
    l.resourceRva = get32(b, l.resourceEntry);
    const quint32 va = get32(b, l.section + 12);
    const quint32 raw = get32(b, l.section + 20);
    l.resourceFile = qint64(raw) + (l.resourceRva - va);
    return l;
}

// A buffer of exactly the given bytes (no spare terminator), so that the address sanitizer
// reports a read even one byte past the end.
struct ExactBuffer {
    std::unique_ptr<char[]> bytes;
    QByteArray view;
    explicit ExactBuffer(const QByteArray &from)
        : bytes(new char[static_cast<std::size_t>(std::max<qsizetype>(from.size(), 1))]) {
        std::copy(from.cbegin(), from.cend(), bytes.get());
        view = QByteArray::fromRawData(bytes.get(), from.size());
    }
};

// On a damaged file each lookup gives what the intact file gives, or nothing, never something
// else.
void checkRightOrMissing(const ResourceLibrary &lib, const ResourceLibrary &intact,
                         const char *what) {
    for (int id : {0, 15, 16, 1000, 1003, 1005, 1999, 65535}) {
        const QString s = lib.string(id, 149);
        if (!s.isEmpty() && s != intact.string(id, 149))
            QFAIL(qPrintable(QStringLiteral("%1: string %2 read as \"%3\"")
                                 .arg(QLatin1String(what))
                                 .arg(id)
                                 .arg(s)));
    }
    const QByteArray b = lib.bitmap(QStringLiteral("LOGO"));
    if (!b.isEmpty() && b != intact.bitmap(QStringLiteral("LOGO")))
        QFAIL(qPrintable(QStringLiteral("%1: bitmap misread").arg(QLatin1String(what))));
}

} // namespace

class TestResourceLibrary : public QObject {
    Q_OBJECT

  private slots:
    void bothFormatsAreBuilt() {
        // Guards the rest: the two samples really are PE32+ (x64) and PE32 (x86).
        const Layout l64 = layoutOf(readFile(samplePath(QStringLiteral("sample64.dll"))));
        const Layout l32 = layoutOf(readFile(samplePath(QStringLiteral("sample32.dll"))));
        QCOMPARE(l64.magic, quint16(0x20B));
        QCOMPARE(l64.machine, quint16(0x8664));
        QCOMPARE(l32.magic, quint16(0x10B));
        QCOMPARE(l32.machine, quint16(0x14C));
    }

    void strings_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("expected");
        for (const char *file : {"sample64.dll", "sample32.dll"}) {
            auto row = [file](const char *name, int id, int max, const QString &expected) {
                QTest::addRow("%s %s", file, name)
                    << QString::fromLatin1(file) << id << max << expected;
            };
            row("first slot of block 1", 0, 99, QStringLiteral("zero"));
            row("last slot of block 1", 15, 99, QStringLiteral("fifteen"));
            row("first slot of block 2", 16, 99, QStringLiteral("sixteen"));
            row("cyrillic", 1000, 149, QString::fromUtf8("Привет, мир"));
            row("quote and backslash", 1002, 149, QStringLiteral("quote \" backslash \\ end"));
            row("message cut", 1003, 149, Long.left(149));
            row("window text cut", 1003, 99, Long.left(99));
            row("uncut", 1003, 1000, Long);
            row("cut at NUL", 1004, 99, QStringLiteral("ab"));
            row("half pair dropped", 1005, 99, A98);
            row("whole pair kept", 1005, 100, A98 + Emoji);
            row("last message", 1999, 149, QStringLiteral("last"));
            row("highest number", 65535, 99, QStringLiteral("top"));
            row("empty slot in a present block", 1, 99, QString());
            row("absent block", 2000, 149, QString());
            row("negative", -1, 99, QString());
            row("beyond 16 bits is not string 0", 65536, 99, QString());
            row("no room", 0, 0, QString());
        }
    }

    void strings() {
        QFETCH(QString, file);
        QFETCH(int, id);
        QFETCH(int, maxLength);
        QFETCH(QString, expected);
        ResourceLibrary lib;
        QVERIFY(lib.load(samplePath(file)));
        QCOMPARE(lib.string(id, maxLength), expected);
        // The block read gives the same string in its slot, and its neighbours as string() does.
        const QList<QString> block = lib.stringBlock(id / 16, maxLength);
        if (maxLength > 0 && id >= 0 && id <= 0xFFFF && !expected.isEmpty()) {
            QCOMPARE(block.size(), 16);
            for (int slot = 0; slot < 16; ++slot)
                QCOMPARE(block[slot], lib.string(id / 16 * 16 + slot, maxLength));
            QCOMPARE(block[id % 16], expected);
        }
    }

    void bitmapIsTheStoredFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        for (const char *file : {"sample64.dll", "sample32.dll"}) {
            auto row = [file](const char *name, bool found) {
                QTest::addRow("%s %s", file, name)
                    << QString::fromLatin1(file) << QString::fromLatin1(name) << found;
            };
            row("LOGO", true);
            row("logo", true);
            row("LOG", false);
            row("7", false); // a numbered bitmap has no name
            row("", false);
        }
    }

    void bitmapIsTheStoredFile() {
        QFETCH(QString, file);
        QFETCH(QString, name);
        QFETCH(bool, found);
        // llvm-rc stores the bitmap file without its 14-byte header; the reader puts one back,
        // which must give the original file byte for byte.
        const QByteArray original = readFile(samplePath(QStringLiteral("sample.bmp")));
        QVERIFY(original.size() > 54);
        ResourceLibrary lib;
        QVERIFY(lib.load(samplePath(file)));
        QCOMPARE(lib.bitmap(name), found ? original : QByteArray());
    }

    void unreadableFilesAreRefused() {
        ResourceLibrary lib;
        QVERIFY(!lib.load(samplePath(QStringLiteral("nonexistent.dll"))));
        QVERIFY(!lib.load(QStringLiteral(Q7X_SAMPLE_DIR)));          // a folder
        QVERIFY(!lib.load(samplePath(QStringLiteral("sample.rc")))); // not a PE file
        QVERIFY(!lib.loadData(QByteArray()));
        QVERIFY(!lib.isLoaded());
        QCOMPARE(lib.string(0, 99), QString());
        QCOMPARE(lib.bitmap(QStringLiteral("LOGO")), QByteArray());

        // A refused load drops what was loaded before.
        QVERIFY(lib.load(samplePath(QStringLiteral("sample64.dll"))));
        QVERIFY(!lib.loadData(QByteArrayLiteral("MZ")));
        QCOMPARE(lib.string(0, 99), QString());
    }

    void oversizedFileIsRefused() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("big.dll"));
        QByteArray head = readFile(samplePath(QStringLiteral("sample64.dll")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(head);
        QVERIFY(f.resize(ResourceLibrary::MaxFileSize + 1));
        f.close();
        ResourceLibrary lib;
        QVERIFY(!lib.load(path));
        QVERIFY(f.resize(ResourceLibrary::MaxFileSize));
        QVERIFY(lib.load(path));
        QCOMPARE(lib.string(0, 99), QStringLiteral("zero"));
    }

    void everyTruncation_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("PE32+") << QStringLiteral("sample64.dll");
        QTest::newRow("PE32") << QStringLiteral("sample32.dll");
    }

    void everyTruncation() {
        QFETCH(QString, file);
        const QByteArray full = readFile(samplePath(file));
        ResourceLibrary intact;
        QVERIFY(intact.load(samplePath(file)));
        const Layout layout = layoutOf(full);
        int loaded = 0;
        for (qsizetype n = 0; n < full.size(); ++n) {
            ExactBuffer cut(full.left(n));
            ResourceLibrary lib;
            const bool ok = lib.loadData(cut.view);
            // Without the resource directory's header there is nothing to read.
            if (n < layout.resourceFile + 16)
                QVERIFY2(!ok, qPrintable(QStringLiteral("loaded at %1 bytes").arg(n)));
            if (!ok)
                continue;
            ++loaded;
            checkRightOrMissing(lib, intact, qPrintable(QStringLiteral("%1 bytes").arg(n)));
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(loaded > 0);
    }

    void brokenHeaders_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("at");
        QTest::addColumn<int>("width");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<bool>("loads");
        for (const char *file : {"sample64.dll", "sample32.dll"}) {
            const QByteArray b = readFile(samplePath(QString::fromLatin1(file)));
            const Layout l = layoutOf(b);
            auto row = [&](const char *field, qint64 at, int width, quint32 value, bool loads) {
                QTest::addRow("%s %s=%x", file, field, value)
                    << QString::fromLatin1(file) << at << width << value << loads;
            };
            row("dos magic", 0, 2, 0x585A, false);
            row("pe offset", 0x3C, 4, 0xFFFFFFF0u, false);
            row("pe offset past end", 0x3C, 4, quint32(b.size() - 2), false);
            row("pe signature", l.pe, 4, 0x00004650, false);
            row("optional magic", l.optional, 2, 0x010C, false);
            row("optional size", l.coff + 16, 2, 0, false);
            row("optional size", l.coff + 16, 2, 0xFFFF, false);
            row("optional size", l.coff + 16, 2, 90, false); // shorter than the fixed part
            row("directory count", l.directories - 4, 4, 2, false);
            row("directory count", l.directories - 4, 4, 0xFFFFFFFFu, true);
            row("resource rva", l.resourceEntry, 4, 0xFFFFFFF0u, false);
            row("resource size", l.resourceEntry + 4, 4, 0, false);
            row("resource size", l.resourceEntry + 4, 4, 0xFFFFFFFFu, true);
            row("section count", l.coff + 2, 2, 0, false);
            row("section count", l.coff + 2, 2, 0xFFFF, false);
            row("section raw offset", l.section + 20, 4, 0xFFFFFF00u, false);
            row("section raw size", l.section + 16, 4, 8, false);
            row("section raw size", l.section + 16, 4, 0xFFFFFFFFu, true);
            row("section address shifted", l.section + 12, 4, get32(b, l.section + 12) + 0x1000,
                false);
        }
    }

    void brokenHeaders() {
        QFETCH(QString, file);
        QFETCH(qint64, at);
        QFETCH(int, width);
        QFETCH(quint32, value);
        QFETCH(bool, loads);
        QByteArray b = readFile(samplePath(file));
        if (width == 2)
            put16(b, at, quint16(value));
        else
            put32(b, at, value);
        ExactBuffer exact(b);
        ResourceLibrary lib;
        QCOMPARE(lib.loadData(exact.view), loads);
        if (loads) {
            // These changes keep every resource within the file: all of it still reads.
            QCOMPARE(lib.string(16, 99), QStringLiteral("sixteen"));
            QCOMPARE(lib.bitmap(QStringLiteral("LOGO")),
                     readFile(samplePath(QStringLiteral("sample.bmp"))));
        }
    }

    void brokenResourceTree_data() { everyTruncation_data(); }

    void brokenResourceTree() {
        QFETCH(QString, file);
        const QByteArray good = readFile(samplePath(file));
        const QByteArray bmp = readFile(samplePath(QStringLiteral("sample.bmp")));
        const Layout l = layoutOf(good);
        const QByteArray dib = bmp.mid(14);
        const qint64 dibAt = good.indexOf(dib);
        QVERIFY(dibAt > 0);
        const quint32 va = get32(good, l.section + 12);
        const quint32 raw = get32(good, l.section + 20);
        const quint32 dibRva = quint32(dibAt - raw + va);
        // The bitmap's data entry: its image address followed by its size.
        QByteArray entryBytes(8, 0);
        put32(entryBytes, 0, dibRva);
        put32(entryBytes, 4, quint32(dib.size()));
        const qint64 dataEntry = good.indexOf(entryBytes, l.resourceFile);
        QVERIFY(dataEntry > 0);
        // "sixteen" with its length prefix, the first string of block 2.
        QByteArray sixteen(2, 0);
        put16(sixteen, 0, 7);
        sixteen += QByteArray(reinterpret_cast<const char *>(u"sixteen"), 14);
        const qint64 sixteenAt = good.indexOf(sixteen, l.resourceFile);
        QVERIFY(sixteenAt > 0);

        struct Damage {
            const char *what;
            std::function<void(QByteArray &)> apply;
            bool stringsRead; // strings other than 16 still read
            bool sixteenReads;
            bool bitmapReads;
        };
        const std::vector<Damage> damages = {
            {"root entry count", [&](QByteArray &b) { put16(b, l.resourceFile + 14, 0xFFFF); },
             false, false, false},
            {"string length past its block", [&](QByteArray &b) { put16(b, sixteenAt, 0xFFFF); },
             true, false, true},
            {"string type points to the root",
             [&](QByteArray &b) {
                 // The root's entries: named ones first (none here), then 2 (bitmaps), 6.
                 const qint64 e = l.resourceFile + 16;
                 for (int i = 0; i < 2; ++i)
                     if (get32(b, e + 8 * i) == 6)
                         put32(b, e + 8 * i + 4, 0x80000000u);
             },
             false, false, true},
            {"section virtual size covers only the root",
             [&](QByteArray &b) { put32(b, l.section + 8, 16); }, false, false, false},
            {"bitmap size huge", [&](QByteArray &b) { put32(b, dataEntry + 4, 0xFFFFFFFFu); }, true,
             true, false},
            {"bitmap size past the section",
             [&](QByteArray &b) { put32(b, dataEntry + 4, quint32(b.size())); }, true, true, false},
            {"bitmap address 0", [&](QByteArray &b) { put32(b, dataEntry, 0); }, true, true, false},
            {"bitmap info header size huge", [&](QByteArray &b) { put32(b, dibAt, 0x7FFFFFFF); },
             true, true, false},
            {"bitmap info header size odd", [&](QByteArray &b) { put32(b, dibAt, 30); }, true, true,
             false},
            {"bitmap colour count huge", [&](QByteArray &b) { put32(b, dibAt + 32, 0x40000000); },
             true, true, false},
        };
        for (const Damage &d : damages) {
            QByteArray b = good;
            d.apply(b);
            ExactBuffer exact(b);
            ResourceLibrary lib;
            QVERIFY2(lib.loadData(exact.view), d.what);
            QCOMPARE(lib.string(0, 99), d.stringsRead ? QStringLiteral("zero") : QString());
            QCOMPARE(lib.string(1999, 99), d.stringsRead ? QStringLiteral("last") : QString());
            QCOMPARE(lib.string(16, 99), d.sixteenReads ? QStringLiteral("sixteen") : QString());
            QCOMPARE(lib.bitmap(QStringLiteral("LOGO")), d.bitmapReads ? bmp : QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(TestResourceLibrary)
#include "tst_resourcelibrary.moc"
