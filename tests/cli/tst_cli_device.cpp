// q7xctl against simulated devices on a pseudo-terminal, as an installer runs it: backups equal
// to the device's memory, writes that leave the device holding the file, a batch of devices
// cloned in turn, a fleet changed one setting at a time and cloned with values of its own, and
// every failure of the link with its exit status and texts.
#include "ctlprocess.h"
#include "image/configfile.h"
#include "image/formload.h"
#include "image/presets.h"
#include "seededsettings.h"
#include "testsupport.h"

#include <QCryptographicHash>

#include <csignal>

using namespace q7x;
using image::DeviceModel;
using test::Ctl;
using test::lines;
using test::M;
using test::said;
using test::writeFile;
constexpr DeviceModel Q71 = DeviceModel::Q71, Q72 = DeviceModel::Q72;

namespace {

// The memory (Q72) or image (Q71) in a simulator's state dump.
QByteArray dumped(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray out;
    bool in = false;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line == "memory" || line == "image")
            in = true;
        else if (in)
            out += QByteArray::fromHex(line);
    }
    return out;
}

// A simulated device serving a terminal in a folder of its own.
struct Device {
    Device(DeviceModel model, const image::ConfigImage &start, QStringList faults = {}) {
        QFile load(dir.filePath("image"));
        if (load.open(QIODevice::WriteOnly))
            load.write(reinterpret_cast<const char *>(start.data()), model == Q71 ? 320 : 512);
        load.close();
        sim = std::make_unique<test::Simulator>(
            dir.path(),
            QStringList{"--model", model == Q71 ? "q71" : "q72", "--load", load.fileName()} +
                faults);
    }
    QString port() const { return sim->link(); }
    QByteArray memory() const { return dumped(dir.filePath("dump")); }
    // The image bytes as the device keeps them (Q72: the three areas a read returns).
    QByteArray held(DeviceModel model) const {
        const QByteArray m = memory();
        if (model == Q71)
            return m.left(320);
        return m.left(256) + m.mid(0x102, 160) + m.mid(0x1A0, 96);
    }
    QTemporaryDir dir;
    std::unique_ptr<test::Simulator> sim;
};

QByteArray bytes(const image::ConfigImage &img, int from, int count) {
    return QByteArray(reinterpret_cast<const char *>(img.data()) + from, count);
}

// What a write leaves in the device of each image byte it sends.
QByteArray sent(const image::ConfigImage &img, DeviceModel model) {
    return model == Q71 ? bytes(img, 0, 320) : bytes(img, 0, 352) + bytes(img, 416, 96);
}
QByteArray writtenPart(const QByteArray &held, DeviceModel model) {
    return model == Q71 ? held : held.left(352) + held.mid(416);
}

// A configuration the window would write as it stands.
image::ConfigImage canonical(DeviceModel model, unsigned seed) {
    image::Seeded seeded(seed);
    for (;;) {
        const image::Encoded e =
            model == Q71 ? image::encodeQ71(seeded.q71()) : image::encodeQ72(seeded.q72());
        const image::Encoded w = image::imageToWrite(model, e.image, image::WriteLanguage::Russian);
        if (w.ok())
            return w.image;
    }
}

// A configuration the window would write, but not as it stands: loading it changes values.
image::ConfigImage loadedDifferently(DeviceModel model, unsigned seed) {
    image::Seeded seeded(seed);
    for (;;) {
        const image::Encoded e =
            model == Q71 ? image::encodeQ71(seeded.q71()) : image::encodeQ72(seeded.q72());
        const image::Encoded w = image::imageToWrite(model, e.image, image::WriteLanguage::Russian);
        if (w.ok() && w.image != e.image)
            return e.image;
    }
}

// Waits until the program's output so far ends with `line`; gives all of it.
QString waitForLine(QProcess &p, QString &out, const QString &line, int ms) {
    QDeadlineTimer deadline(ms);
    while (!out.endsWith(line + '\n') && !deadline.hasExpired() && p.state() == QProcess::Running) {
        p.waitForReadyRead(100);
        out += QString::fromUtf8(p.readAllStandardOutput());
    }
    return out;
}

// The fields of each line of a log after its header.
QList<QStringList> logLines(const QString &path) {
    QList<QStringList> out;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray &line : f.readAll().split('\n').mid(1))
            if (!line.isEmpty())
                out << QString::fromUtf8(line).split(',');
    return out;
}
image::ConfigImage imageOf(const QByteArray &bytes) {
    image::ConfigImage out{};
    std::copy(bytes.begin(), bytes.begin() + std::min<qsizetype>(bytes.size(), 702), out.begin());
    return out;
}
QString sha256(const QByteArray &bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// q7xctl with the arguments started beside others on the program of `ctl`.
std::unique_ptr<QProcess> started(Ctl &ctl, const QStringList &args) {
    auto p = std::make_unique<QProcess>();
    p->setWorkingDirectory(ctl.path({}));
    p->setProcessEnvironment(ctl.environment);
    p->start(ctl.program(), QStringList{"--lang", "en"} + args);
    p->waitForStarted();
    return p;
}

} // namespace

class TestCliDevice : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void backupProgramAndCompare_data();
    void backupProgramAndCompare();
    void cloneProgramsDevicesInTurnAndSkipsOtherModels();
    void linkFailuresGiveTheirStatusAndTexts();
    void ctrlCDuringAWriteSaysItWasCutShort();
    void clockStartsTheModemOfAQ72Only();
    void setChangesEachDeviceInThatSettingOnly();
    void clonePerDeviceGivesEachDeviceItsRow();
};

// CTest runs this program several times, side by side, since the functions mostly wait on the
// wire's pauses: with Q7X_TEST_SHARE set only the functions of that share run (those not listed
// are "backup"), without it every function.
void TestCliDevice::init() {
    static const QHash<QByteArray, QByteArray> shares{
        {"cloneProgramsDevicesInTurnAndSkipsOtherModels", "batch"},
        {"linkFailuresGiveTheirStatusAndTexts", "batch"},
        {"clockStartsTheModemOfAQ72Only", "batch"},
        {"setChangesEachDeviceInThatSettingOnly", "fleet"},
        {"clonePerDeviceGivesEachDeviceItsRow", "fleet"}};
    const QByteArray share = qgetenv("Q7X_TEST_SHARE");
    if (!share.isEmpty() && shares.value(QTest::currentTestFunction(), "backup") != share)
        QSKIP("runs in another CTest entry of this program");
}

void TestCliDevice::backupProgramAndCompare_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::addRow("Q71") << Q71;
    QTest::addRow("Q72") << Q72;
}

// info, read, write and diff against the device; com1 reaches it through the INI's [Ports].
void TestCliDevice::backupProgramAndCompare() {
    QFETCH(DeviceModel, model);
    Ctl ctl;
    Device device(model, image::presetImage(model, 3));
    QVERIFY(device.sim->serving());
    ctl.setIni({"[Ports]", "COM1=" + device.port()});

    const Ctl::Result info = ctl.run({"info", "--port", "com1"});
    QCOMPARE(info.status, 0);
    QCOMPARE(info.out, lines({M(1044) + ' ' + M(model == Q71 ? 1238 : 1237),
                              lang::FormatM(1003, QString(model == Q71 ? "41_x" : "1_3"))}));

    const QString backup = ctl.path("backup.cfg");
    QCOMPARE(ctl.run({"read", "--port", "com1", "-o", backup}).status, 0);
    const image::ConfigFileRead read = image::readConfigFile(backup);
    QCOMPARE(read.model, core::modelCode(model));
    const QByteArray held = device.held(model);
    QCOMPARE(bytes(*read.image, 0, int(held.size())), held);

    // A file that the page rules change on loading, with a line whose number does not fit in a
    // byte; it is written with the stamp of the configurator's stored language (Russian), not
    // the output's.
    const QString file = ctl.path("new.cfg");
    const image::ConfigImage config = loadedDifferently(model, 7 + unsigned(model));
    QList<QByteArray> text = image::formatConfig(config, model).split('\n');
    text[3] = QByteArray::number(config[3] + 256) + '\r';
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text.join('\n'));
    out.close();
    const Ctl::Result write = ctl.run({"write", "--port", "com1", file});
    QVERIFY2(write.status == 0, qPrintable(write.err));
    QVERIFY2(write.err.endsWith(said({M(1848)})) &&
                 write.err.contains(lang::FormatM(1820, {"4", "3"})),
             qPrintable(write.err));
    const image::ConfigImage russian =
        image::imageToWrite(model, config, image::WriteLanguage::Russian).image;
    QCOMPARE(writtenPart(device.held(model), model), sent(russian, model));
    // Right after the write the file compares equal to the device, as a write sends it.
    const Ctl::Result diff = ctl.run({"diff", file, "--port", device.port()});
    QVERIFY2(diff.status == 0, qPrintable(diff.out));
    const Ctl::Result asStored = ctl.run({"diff", "--as-stored", file, "--port", device.port()});
    QCOMPARE(asStored.status, 1);
    QVERIFY(asStored.out.startsWith("--- " + file + " (" + M(1845) + ")\n"));
    // A dry run of the backup shows the changes and leaves the device as it is, whatever the
    // language of the output.
    const QByteArray before = device.memory();
    qsizetype changes = -1;
    const QList<QPair<QString, QString>> languages{
        {"ru", lang::LangRussian}, {"en", lang::LangEnglish}, {"tr", lang::LangTurkish}};
    for (const auto &[option, language] : languages) {
        const Ctl::Result dry =
            ctl.run({"--lang", option, "write", "--dry-run", "--port", device.port(), backup});
        lang::LoadMessageTable(language, ctl.path({}));
        QCOMPARE(dry.status, 1);
        QVERIFY2(dry.out.endsWith(lines({lang::FormatM(1843, M(1866)), M(1832)})),
                 qPrintable(dry.out));
        if (changes < 0)
            changes = dry.out.count("\n+ ");
        QCOMPARE(dry.out.count("\n+ "), changes);
    }
    lang::LoadMessageTable(lang::LangEnglish, ctl.path({}));
    QVERIFY(changes > 0);
    QCOMPARE(device.memory(), before);
}

// Three devices of the file's model in a row, the simulator restarted between them, and one of
// the other model in between, which is skipped and keeps its memory.
void TestCliDevice::cloneProgramsDevicesInTurnAndSkipsOtherModels() {
    Ctl ctl;
    QTemporaryDir dir;
    const QString file = ctl.path("batch.cfg");
    const image::ConfigImage config = canonical(Q71, 3);
    QVERIFY(!image::writeConfigFile(file, config, image::DeviceModel::Q71));
    // The configurator's interface language is stamped into the device, not the output's.
    ctl.setIni({}, lang::LangEnglish);
    const QByteArray english = sent(
        image::imageToWrite(image::DeviceModel::Q71, config, image::WriteLanguage::English).image,
        Q71);
    const QString port = dir.filePath("tty");
    // The device of the other model starts from a preset, which it keeps.
    const image::ConfigImage q72 = image::presetImage(Q72, 1);
    const QString load = dir.filePath("q72");
    QFile preset(load);
    QVERIFY(preset.open(QIODevice::WriteOnly));
    preset.write(reinterpret_cast<const char *>(q72.data()), 512);
    preset.close();
    QProcess &clone = ctl.start({"--lang", "ru", "clone", file, "--port", port});
    lang::LoadMessageTable(lang::LangRussian, ctl.path({}));
    QString out;
    for (DeviceModel model : {Q71, Q72, Q71, Q71}) {
        QVERIFY2(waitForLine(clone, out, M(1835), 30000).endsWith(M(1835) + '\n'), qPrintable(out));
        test::Simulator sim(dir.path(), {"--model", model == Q71 ? "q71" : "q72", "--load", load});
        QVERIFY(sim.serving());
        QVERIFY2(waitForLine(clone, out, M(1836), 60000).endsWith(M(1836) + '\n'), qPrintable(out));
        const QStringList said = out.split('\n', Qt::SkipEmptyParts);
        const QString line = said.value(said.size() - 2);
        QVERIFY2(line.endsWith(model == Q71 ? M(1838) : M(1839)), qPrintable(out));
        QVERIFY(line.contains(M(model == Q71 ? 1238 : 1237)));
        QVERIFY(line.contains(model == Q71 ? "41_x" : "1_3"));
        sim.stop();
        const QByteArray memory = dumped(dir.filePath("dump"));
        QCOMPARE(memory.left(320), model == Q71 ? english : bytes(q72, 0, 320));
    }
    QVERIFY(waitForLine(clone, out, M(1835), 30000).endsWith(M(1835) + '\n'));
    ::kill(pid_t(clone.processId()), SIGINT);
    QVERIFY(clone.waitForFinished(30000));
    out += QString::fromUtf8(clone.readAllStandardOutput());
    QCOMPARE(clone.exitCode(), 0);
    QVERIFY2(out.endsWith(lang::FormatM(1837, {"3", "1", "0"}) + '\n'), qPrintable(out));
}

void TestCliDevice::linkFailuresGiveTheirStatusAndTexts() {
    Ctl ctl;
    const QString missing = ctl.path("no-port");
    const Ctl::Result noPort = ctl.run({"info", "--port", missing});
    QCOMPARE(noPort.status, 3);
    QCOMPARE(noPort.err, said({lang::FormatM(1600, missing), M(1601), M(1602)}));

    {
        Device silent(Q72, image::presetImage(Q72, 1), {"--silent"});
        const Ctl::Result r = ctl.run({"info", "--port", silent.port()});
        QCOMPARE(r.status, 4);
        QCOMPARE(r.err, said({M(1025)}));
    }
    {
        Device refusing(Q71, image::presetImage(Q71, 1), {"--refuse-header"});
        const Ctl::Result r = ctl.run({"read", "--port", refusing.port(), "-o", ctl.path("x")});
        QCOMPARE(r.status, 4);
        QCOMPARE(r.err, said({M(1027)}));
        QVERIFY(!QFile::exists(ctl.path("x")));
    }
    const QString q72file = ctl.path("q72.cfg"), q71file = ctl.path("q71.cfg");
    QVERIFY(!image::writeConfigFile(q72file, canonical(Q72, 1), image::DeviceModel::Q72));
    QVERIFY(!image::writeConfigFile(q71file, canonical(Q71, 1), image::DeviceModel::Q71));
    {
        // A block that never reads back as written; what went before it is on the device.
        Device failing(Q72, image::presetImage(Q72, 1), {"--mismatch", "0x10:21"});
        const Ctl::Result r = ctl.run({"write", "--port", failing.port(), q72file});
        QCOMPARE(r.status, 5);
        QCOMPARE(r.err, said({M(1588), M(1589), M(1807)}));
        // Of the other model: nothing is sent.
        const QByteArray before = failing.memory();
        const Ctl::Result other = ctl.run({"write", "--port", failing.port(), q71file});
        QCOMPARE(other.status, 2);
        QCOMPARE(other.err, said({lang::FormatM(1831, {"Q71", M(1237)}), M(1830)}));
        QCOMPARE(failing.memory(), before);
    }
    {
        // The cable pulled while the frame goes out.
        Device pulled(Q71, image::presetImage(Q71, 1));
        QProcess &p = ctl.start({"--verbose", "write", "--port", pulled.port(), q71file});
        p.setReadChannel(QProcess::StandardError);
        QByteArray log;
        while (log.count("\n") < 60 && p.waitForReadyRead(5000))
            log += p.readAllStandardError();
        pulled.sim->stop();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 4);
        QVERIFY(QString::fromUtf8(p.readAllStandardError())
                    .endsWith(said({M(1586), M(1587), M(1807)})));
    }
}

void TestCliDevice::ctrlCDuringAWriteSaysItWasCutShort() {
    Ctl ctl;
    Device device(Q72, image::presetImage(Q72, 1));
    const QString file = ctl.path("q72.cfg");
    const image::ConfigImage config = canonical(Q72, 5);
    QVERIFY(!image::writeConfigFile(file, config, image::DeviceModel::Q72));
    QProcess &p = ctl.start({"--verbose", "write", "--port", device.port(), file});
    p.setReadChannel(QProcess::StandardError);
    QByteArray log;
    while (log.count("\n") < 200 && p.waitForReadyRead(5000))
        log += p.readAllStandardError();
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 130);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).endsWith(said({M(1807)})));
    // The port was let go: the next command opens it.
    QCOMPARE(ctl.run({"info", "--port", device.port()}).status, 0);
}

void TestCliDevice::clockStartsTheModemOfAQ72Only() {
    Ctl ctl;
    {
        Device q72(Q72, image::presetImage(Q72, 1));
        const Ctl::Result r = ctl.run({"clock", "--port", q72.port()});
        QCOMPARE(r.status, 0);
        const QDateTime now = QDateTime::currentDateTime();
        QCOMPARE(r.out.section('\n', 0, 0), M(1583));
        // The date as ISO 8601 and the time with the seconds set.
        static const QRegularExpression time("^(\\d{4}-\\d\\d-\\d\\d) (\\d\\d:\\d\\d:\\d\\d)$");
        const QStringList parts = r.out.section('\n', 1, 1).split(' ');
        const auto m = time.match(parts.mid(parts.size() - 2).join(' '));
        QVERIFY2(m.hasMatch(), qPrintable(r.out));
        QCOMPARE(m.captured(1), now.toString(Qt::ISODate).left(10));
        QVERIFY(qAbs(QTime::fromString(m.captured(2), Qt::ISODate).secsTo(now.time())) < 60);
    }
    {
        Device noSim(Q72, image::presetImage(Q72, 1), {"--modem-states", "2"});
        const Ctl::Result r = ctl.run({"clock", "--port", noSim.port()});
        QCOMPARE(r.status, 6);
        QCOMPARE(r.err, said({M(1581), M(1568)}));
    }
    Device q71(Q71, image::presetImage(Q71, 1));
    const Ctl::Result r = ctl.run({"clock", "--port", q71.port()});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err, said({lang::FormatM(1833, M(1238))}));
}

// Three sites with object numbers and passwords of their own get one new telephone number, all at
// once, each with a backup and a line in one log; a fourth device, asked for an object number out
// of range meanwhile, keeps its memory.
void TestCliDevice::setChangesEachDeviceInThatSettingOnly() {
    Ctl ctl;
    const QString backups = ctl.path("backups"), log = ctl.path("fleet.csv");
    QVERIFY(QDir().mkpath(backups));
    std::vector<std::unique_ptr<Device>> devices;
    std::vector<std::unique_ptr<QProcess>> runs;
    QSet<int> objects;
    for (unsigned seed = 21; seed < 25; ++seed) {
        const image::ConfigImage start = canonical(Q72, seed);
        objects << image::decodeQ72(start).settings.partitions[0].object;
        devices.push_back(std::make_unique<Device>(Q72, start));
        QVERIFY(devices.back()->sim->serving());
        runs.push_back(started(
            ctl, {"set", "--port", devices.back()->port(),
                  seed < 24 ? "recipients.1.phone=+79001234567" : "partitions.1.object=1000",
                  "--backup", backups, "--log", log}));
    }
    QCOMPARE(objects.size(), 4);
    const QByteArray untouched = devices[3]->memory();
    QString refused;
    for (int i = 0; i < 4; ++i) {
        QVERIFY(runs[i]->waitForFinished(120000));
        refused = QString::fromUtf8(runs[i]->readAllStandardError());
        QVERIFY2(runs[i]->exitCode() == (i < 3 ? 0 : 2), qPrintable(refused));
    }
    QVERIFY2(refused.contains("partitions.1.object") && refused.contains("1000") &&
                 refused.contains(lang::FormatM(1892, 999)),
             qPrintable(refused));
    QCOMPARE(devices[3]->memory(), untouched);

    // Each device differs from its own backup in the telephone number alone, and its line in
    // the log has the hash of what it holds.
    const QList<QStringList> lines = logLines(log);
    QCOMPARE(lines.size(), 4);
    QSet<QString> backupsNamed;
    for (int i = 0; i < 4; ++i) {
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const QStringList &l) {
            return l.value(1) == devices[i]->port();
        });
        QVERIFY(line != lines.end());
        QCOMPARE(line->mid(4, 3),
                 (i < 3 ? QStringList{"set", "written", "0"} : QStringList{"set", "failed", "2"}));
        backupsNamed << line->value(8);
        const image::ConfigFileRead backup = image::readConfigFile(line->value(8));
        QVERIFY(backup.image);
        image::Q72Settings expected = image::decodeQ72(*backup.image).settings;
        if (i < 3) {
            expected.recipients[0].phone = "+79001234567";
            QCOMPARE(line->value(7), sha256(writtenPart(devices[i]->held(Q72), Q72)));
        }
        QVERIFY(image::decodeQ72(imageOf(devices[i]->held(Q72))).settings == expected);
    }
    QCOMPARE(backupsNamed.size(), 4);
}

// One file cloned to three devices in turn, each with the object numbers of its row of the
// per-device values; each keeps a backup of what it held and gets a line in the log with the
// hash of its memory; the run ends after the last row.
void TestCliDevice::clonePerDeviceGivesEachDeviceItsRow() {
    Ctl ctl;
    QTemporaryDir dir;
    const QString file = ctl.path("site.cfg"), sites = ctl.path("sites.csv"),
                  log = ctl.path("log.csv"), backups = ctl.path("backups");
    QVERIFY(QDir().mkpath(backups));
    QVERIFY(!image::writeConfigFile(file, canonical(Q71, 4), Q71));
    writeFile(sites, "partitions.1.object;partitions.2.object\n101;1101\n102;1102\n103;1103\n");
    QProcess &clone = ctl.start({"clone", file, "--port", dir.filePath("tty"), "--per-device",
                                 sites, "--backup", backups, "--log", log});
    QString out;
    QList<QByteArray> before, after;
    for (int row = 0; row < 3; ++row) {
        QVERIFY2(waitForLine(clone, out, M(1835), 30000).endsWith(M(1835) + '\n'), qPrintable(out));
        const image::ConfigImage start = canonical(Q71, 31 + unsigned(row));
        writeFile(dir.filePath("image"), bytes(start, 0, 320));
        test::Simulator sim(dir.path(), {"--model", "q71", "--load", dir.filePath("image")});
        QVERIFY(sim.serving());
        const QString next = row < 2 ? M(1836) : lang::FormatM(1837, {"3", "0", "0"});
        QVERIFY2(waitForLine(clone, out, next, 60000).endsWith(next + '\n'), qPrintable(out));
        sim.stop();
        before << bytes(start, 0, 320);
        after << dumped(dir.filePath("dump")).left(320);
        const image::Q71Settings s = image::decodeQ71(imageOf(after.back())).settings;
        QCOMPARE(s.partitions[0].object, 101 + row);
        QCOMPARE(s.partitions[1].object, 1101 + row);
    }
    QVERIFY(clone.waitForFinished(30000));
    QCOMPARE(clone.exitCode(), 0);
    QVERIFY(out.contains('\n' + lang::FormatM(1943, sites) + '\n'));
    const QList<QStringList> lines = logLines(log);
    QCOMPARE(lines.size(), 3);
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(lines[row].mid(4, 4), QStringList({"clone", "written", "0", sha256(after[row])}));
        const image::ConfigFileRead backup = image::readConfigFile(lines[row].value(8));
        QVERIFY(backup.image);
        QCOMPARE(bytes(*backup.image, 0, 320), before[row]);
    }
}

QTEST_MAIN(TestCliDevice)
#include "tst_cli_device.moc"
