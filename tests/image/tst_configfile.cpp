// Configuration files: format, tolerant reading, clear errors, and saves that never leave a
// partial file.
#include "image/configfile.h"
#include "image/presets.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace q7x::image;

namespace {

// 703 lines: byte values 0, 1, ..., 255, 0, 1, ... and the model code.
QByteArray counting(DeviceModel model, const char *eol = "\r\n") {
    QByteArray out;
    for (int i = 0; i < ImageSize; ++i)
        out += QByteArray::number(i % 256) + eol;
    return out + QByteArray::number(modelCode(model)) + eol;
}

ConfigFileRead parse(const QByteArray &data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readConfig(buffer, QStringLiteral("test.cfg"));
}

QByteArray withLine(QByteArray data, int line, const QByteArray &text) {
    QList<QByteArray> lines = data.split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}

void writeFile(const QString &path, const QByteArray &data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QTemporaryDir &dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// File permissions do not restrict the superuser, so under it the saves of the read-only cases
// run as an ordinary user who owns the test files.
constexpr uid_t Unprivileged = 65534;

void handOver(const QString &path) {
    if (geteuid() == 0)
        QVERIFY(::chown(QFile::encodeName(path).constData(), Unprivileged, Unprivileged) == 0);
}

// Runs `test` in a child process, as the ordinary user when `drop`; true when it returned true.
bool inChild(bool drop, const std::function<bool()> &test) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (drop && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(Unprivileged) != 0 || setuid(Unprivileged) != 0))
            _exit(2);
        _exit(test() ? 1 : 0);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 1;
}

} // namespace

class TstConfigFile : public QObject {
    Q_OBJECT
  private slots:
    void formatIsDecimalLinesWithCrLf();
    void saveLoadRoundTrip();
    void toleratedInput_data();
    void toleratedInput();
    void linesThatDoNotFitAByteAreNamed();
    void refusedInput_data();
    void refusedInput();
    void endlessInputStopsEarly();
    void missingOrUnreadableFile();
    void failedSaveLeavesNoFile();
    void readOnlyTargetIsNotTouched();
    void saveFailingMidwayKeepsOldFile();
};

void TstConfigFile::formatIsDecimalLinesWithCrLf() {
    ConfigImage img{};
    img[0] = 255;
    img[1] = 7;
    img[701] = 100;
    const QByteArray text = formatConfig(img, DeviceModel::Q72);
    QVERIFY(text.startsWith("255\r\n7\r\n0\r\n"));
    QVERIFY(text.endsWith("\r\n100\r\n72\r\n"));
    QCOMPARE(text.count("\r\n"), 703);
    QCOMPARE(text.count('\n'), 703);
}

// Saving over an existing file replaces it whole, and reading it gives the image and model back.
void TstConfigFile::saveLoadRoundTrip() {
    QTemporaryDir dir;
    for (DeviceModel model : {DeviceModel::Q71, DeviceModel::Q72}) {
        const QString path = dir.filePath(QStringLiteral("Q%1.cfg").arg(modelCode(model)));
        writeFile(path, QByteArray(9000, '7'));
        const ConfigImage img = presetImage(model, 3);
        QVERIFY(!writeConfigFile(path, img, model));
        QCOMPARE(readFile(path), formatConfig(img, model));
        const auto r = readConfigFile(path);
        QVERIFY2(!r.error, qPrintable(r.error.message()));
        QCOMPARE(r.model.value_or(-1), modelCode(model));
        QVERIFY(r.image.has_value() && *r.image == img);
    }
    QCOMPARE(entries(dir), (QStringList{QStringLiteral("Q71.cfg"), QStringLiteral("Q72.cfg")}));
}

void TstConfigFile::toleratedInput_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("at");   // an image byte to look at
    QTest::addColumn<int>("want"); // its value
    const QByteArray crlf = counting(DeviceModel::Q71);
    QTest::newRow("LF only") << counting(DeviceModel::Q71, "\n") << 5 << 5;
    QTest::newRow("no final line end") << crlf.left(crlf.size() - 2) << 701 << 701 % 256;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF" + crlf) << 0 << 0;
    QTest::newRow("spaces and sign") << withLine(crlf, 4, " +12 ") << 3 << 12;
    // Byte lines keep their low 8 bits; lines after the model line are ignored.
    QTest::newRow("300") << withLine(crlf, 1, "300") << 0 << 44;
    QTest::newRow("-1") << withLine(crlf, 2, "-1") << 1 << 255;
    QTest::newRow("256") << withLine(crlf, 3, "256") << 2 << 0;
    QTest::newRow("extra lines") << crlf + "garbage after the last line\r\n\r\n" << 300 << 44;
}

void TstConfigFile::toleratedInput() {
    QFETCH(QByteArray, data);
    QFETCH(int, at);
    QFETCH(int, want);
    const auto r = parse(data);
    QVERIFY2(!r.error, qPrintable(r.error.message()));
    QCOMPARE(int((*r.image)[at]), want);
    QCOMPARE(r.model.value_or(-1), 71);
}

// 0 and 255 fit a byte; 256, -1 and 265 do not and are named with the value read, in line order.
// A file with every byte value (255 among them) names none.
void TstConfigFile::linesThatDoNotFitAByteAreNamed() {
    QCOMPARE(parse(counting(DeviceModel::Q72)).outOfRange.size(), 0);
    QByteArray data = counting(DeviceModel::Q72);
    const QList<QPair<int, QByteArray>> lines = {{1, "0"},  {2, "255"}, {3, "256"},
                                                 {7, "-1"}, {9, "265"}, {702, "255"}};
    for (const auto &[line, text] : lines)
        data = withLine(data, line, text);
    const auto r = parse(data);
    QVERIFY2(!r.error, qPrintable(r.error.message()));
    QList<QPair<int, int>> named;
    for (const OutOfRangeLine &l : r.outOfRange)
        named.append({l.line, l.value});
    QCOMPARE(named, (QList<QPair<int, int>>{{3, 256}, {7, -1}, {9, 265}}));
    QCOMPARE(int((*r.image)[1]), 255);
    QCOMPARE(int((*r.image)[8]), 9);
}

void TstConfigFile::refusedInput_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<FileError::Kind>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("lineText"); // as the error shows it
    QTest::addColumn<int>("model");        // -1: none read
    const auto bad = [](const char *name, int line, const QByteArray &text, const char *shown) {
        QTest::newRow(name) << withLine(counting(DeviceModel::Q72), line, text)
                            << FileError::Kind::NotANumber << line << QString::fromLatin1(shown)
                            << (line == 703 ? -1 : 72);
    };
    bad("word", 5, "abc", "abc");
    bad("empty", 1, "", "");
    bad("inner space", 702, "1 2", "1 2");
    bad("hex", 10, "0x10", "0x10");
    bad("pascal hex", 10, "$FF", "$FF");
    bad("beyond int", 20, "99999999999", "99999999999");
    bad("sign only", 30, "-", "-");
    bad("model line", 703, "Q72", "Q72");
    bad("control codes", 2, QByteArray("1\x00\x1B", 3), "1??");
    // The first bad line is named, and the model line is still read.
    QTest::newRow("two bad lines") << withLine(withLine(counting(DeviceModel::Q71), 7, "x"), 9, "y")
                                   << FileError::Kind::NotANumber << 7 << QStringLiteral("x") << 71;
    // A line too long to be a number ends the reading there.
    QTest::newRow("overlong line") << QByteArray(5000, '1') + "\r\n" + counting(DeviceModel::Q72)
                                   << FileError::Kind::NotANumber << 1 << QString(40, u'1') << -1;
    QByteArray noModel = counting(DeviceModel::Q72);
    noModel.truncate(noModel.lastIndexOf("72\r\n"));
    QTest::newRow("no model line")
        << noModel << FileError::Kind::TooFewLines << 703 << QString() << -1;
    QTest::newRow("empty file") << QByteArray() << FileError::Kind::TooFewLines << 1 << QString()
                                << -1;
}

void TstConfigFile::refusedInput() {
    QFETCH(QByteArray, data);
    QFETCH(FileError::Kind, kind);
    QFETCH(int, line);
    QFETCH(QString, lineText);
    QFETCH(int, model);
    const auto r = parse(data);
    QCOMPARE(r.error.kind, kind);
    QCOMPARE(r.error.line, line);
    QCOMPARE(r.error.lineText, lineText);
    QVERIFY(!r.image);
    QCOMPARE(r.model.value_or(-1), model);
    QVERIFY(r.error.message().contains(QStringLiteral("test.cfg")));
    if (kind == FileError::Kind::NotANumber)
        QVERIFY(r.error.message().contains(QStringLiteral("line %1").arg(line)));
}

// An endless input is not read to its end.
void TstConfigFile::endlessInputStopsEarly() {
    if (!QFile::exists(QStringLiteral("/dev/zero")))
        QSKIP("no /dev/zero");
    const auto z = readConfigFile(QStringLiteral("/dev/zero"));
    QCOMPARE(z.error.kind, FileError::Kind::NotANumber);
    QCOMPARE(z.error.line, 1);
}

void TstConfigFile::missingOrUnreadableFile() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.cfg"));
    auto r = readConfigFile(missing);
    QCOMPARE(r.error.kind, FileError::Kind::CannotOpen);
    QVERIFY(r.error.message().contains(missing));
    QVERIFY(!r.image && !r.model);

    r = readConfigFile(dir.path()); // a folder is not a file
    QVERIFY(r.error);
    QVERIFY(!r.image);
}

void TstConfigFile::failedSaveLeavesNoFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no-such-folder/Q71.cfg"));
    auto e = writeConfigFile(path, presetImage(DeviceModel::Q71, 0), DeviceModel::Q71);
    QCOMPARE(e.kind, FileError::Kind::CannotCreate);
    QVERIFY(e.message().contains(path));
    QVERIFY(entries(dir).isEmpty());

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.cfg"))); // a folder holds the name
    e = writeConfigFile(dir.filePath(QStringLiteral("taken.cfg")), ConfigImage{}, DeviceModel::Q71);
    QVERIFY(e);
    QCOMPARE(entries(dir), QStringList{QStringLiteral("taken.cfg")});
}

void TstConfigFile::readOnlyTargetIsNotTouched() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Q72.cfg"));
    const QByteArray old = formatConfig(presetImage(DeviceModel::Q72, 1), DeviceModel::Q72);
    writeFile(path, old);
    handOver(dir.path());
    handOver(path);
    const auto saveFails = [](const QString &target) {
        return inChild(
            true, [&] { return bool(writeConfigFile(target, ConfigImage{}, DeviceModel::Q72)); });
    };
    QFile::setPermissions(path, QFile::ReadOwner);
    QVERIFY(saveFails(path));
    QCOMPARE(readFile(path), old);

    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(saveFails(dir.filePath(QStringLiteral("new.cfg"))));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(entries(dir), QStringList{QStringLiteral("Q72.cfg")});
}

// A file size limit below the size of a configuration file makes the write fail part-way, as a
// full disk would; the previous file must survive whole and no temporary file may remain.
void TstConfigFile::saveFailingMidwayKeepsOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Q71.cfg"));
    const QByteArray old = formatConfig(presetImage(DeviceModel::Q71, 2), DeviceModel::Q71);
    writeFile(path, old);
    QVERIFY(inChild(false, [&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
               writeConfigFile(path, presetImage(DeviceModel::Q71, 0), DeviceModel::Q71).kind ==
                   FileError::Kind::CannotWrite;
    }));
    QCOMPARE(readFile(path), old);
    QCOMPARE(entries(dir), QStringList{QStringLiteral("Q71.cfg")});
}

QTEST_APPLESS_MAIN(TstConfigFile)
#include "tst_configfile.moc"
