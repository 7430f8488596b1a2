// q7xctl's file commands as a script and a person at a terminal run them: usage mistakes and
// exit statuses, inputs from pipes, outputs into links, FIFOs and device nodes, full disks, the
// JSON round trip, comparison, the check of damaged files, the language of the messages, the
// progress line and the configuration sheet.
#include "cli/device.h"
#include "cli/fieldtext.h"
#include "cli/files.h"
#include "cli/progressbar.h"
#include "cli/run.h"
#include "cli/settingsjson.h"
#include "cli/writable.h"
#include "ctlprocess.h"
#include "image/configfile.h"
#include "image/formload.h"
#include "image/presets.h"
#include "lang/windowtexts.h"
#include "seededsettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace q7x;
using image::DeviceModel;
using test::Ctl;
using test::fileBytes;
using test::lines;
using test::M;
using test::said;
using test::writeFile;

namespace {

QString languageFolder() { return QFileInfo(QStringLiteral(Q7XCTL_PATH)).path(); }

// The file system calls that put an output in place, in order, each run of writes as one.
struct RecordingFileSystem : cli::FileSystem {
    QStringList calls;
    QByteArray atRename; // what the temporary file holds when it takes the name
    bool failSync = false;
    void note(const QString &call) {
        if (calls.isEmpty() || calls.last() != call)
            calls << call;
    }
    int makeTemporary(QByteArray &name) override {
        note("create");
        return FileSystem::makeTemporary(name);
    }
    long write(int fd, const char *data, std::size_t size) override {
        note("write");
        return FileSystem::write(fd, data, size);
    }
    int sync(int fd) override {
        note("sync");
        if (failSync) {
            errno = EIO;
            return -1;
        }
        return FileSystem::sync(fd);
    }
    int close(int fd) override {
        note("close");
        return FileSystem::close(fd);
    }
    int rename(const QByteArray &from, const QByteArray &to, bool replace) override {
        note("rename");
        atRename = fileBytes(QFile::decodeName(from));
        return FileSystem::rename(from, to, replace);
    }
    int remove(const QByteArray &path) override {
        note("remove");
        return FileSystem::remove(path);
    }
};

// Settings as earlier releases of q7xctl wrote them (version 1): flat keys, a list as its item
// number (null: no item), a group password as the hexadecimal digits of its cells, no derived
// settings. Such files are still read.
template <class S>
QJsonObject versionOneSettings(const QList<image::CatalogueField<S>> &fields, const S &s) {
    QJsonObject out;
    for (const auto &f : fields)
        if (f.set) {
            const QVariant v = f.get(s);
            out.insert(f.key, f.kind == image::FieldKind::List && v.toInt() == image::NoItem
                                  ? QJsonValue(QJsonValue::Null)
                                  : QJsonValue::fromVariant(v));
        }
    return out;
}

QByteArray showJson(DeviceModel model, const image::ConfigImage &img) {
    QJsonObject root{{"format", "q7xctl-settings"},
                     {"version", 1},
                     {"model", model == DeviceModel::Q71 ? "Q71" : "Q72"}};
    QStringList damaged;
    if (model == DeviceModel::Q71) {
        root["settings"] =
            versionOneSettings(image::catalogueQ71(), image::decodeQ71(img).settings);
    } else {
        const auto d = image::decodeQ72(img);
        root["settings"] = versionOneSettings(image::catalogueQ72(), d.settings);
        for (const image::FieldError &e : d.errors)
            damaged << e.keys;
    }
    if (!damaged.isEmpty())
        root["damaged"] = QJsonArray::fromStringList(damaged);
    root["stored"] = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(img.data()), qsizetype(img.size())).toHex());
    return QJsonDocument(root).toJson();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
  private slots:
    void usageMistakesAreNamedWithTheNearestName_data();
    void usageMistakesAreNamedWithTheNearestName();
    void helpOfACommandListsItsOwnStatuses();
    void portsAreCom1ToCom10();
    void clockIsSaidInIso8601WithTheSecondsSet();
    void presetRefusesToReplaceAFileWithoutForce();
    void outputsFollowLinksAndWriteIntoFifosAndDevices();
    void outputFileIsSyncedBeforeItTakesItsName();
    void outputThatCannotBeWrittenGivesStatusTwo();
    void slowChunkedPipeIntoImport();
    void showJsonThenImportGivesTheSameBytes();
    void importNamesEveryRefusal();
    void diffExitsWithZeroOneOrTwo();
    void fileComparedWithADeviceIsWhatAWriteSends();
    void checkNamesEachProblemAndWriteRefusesTheFile();
    void everySettingHasItsOwnWords();
    void messagesOfARunAreInOneLanguage();
    void jsonCommandsReportFailuresAsJson();
    void textFromOutsideIsPrintedEscaped();
    void progressLineFitsTheTerminal();
    void reportMasksPasswordsUnlessAskedAndRefusesDamagedFiles();
};

void TestCli::usageMistakesAreNamedWithTheNearestName_data() {
    lang::LoadMessageTable(lang::LangEnglish, languageFolder());
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("messages");
    const auto row = [](const char *name, const QStringList &args, const QStringList &messages) {
        QTest::newRow(name) << args << messages;
    };
    const QString commands("info, read, write, clone, clock, show, diff, check, set, import, keys, "
                           "preset, report");
    row("no command", {}, {lang::FormatM(1878, commands)});
    row("unknown command", {"frobnicate"}, {lang::FormatM(1870, "frobnicate")});
    row("typo of a command", {"wrtie", "--port", "com1", "x.cfg"},
        {lang::FormatM(1870, "wrtie"), lang::FormatM(1871, "write")});
    row("typo of an option", {"show", "--jsn", "x.cfg"},
        {lang::FormatM(1872, "--jsn"), lang::FormatM(1871, "--json")});
    row("typo of a common option", {"--lnag", "en", "show", "x.cfg"},
        {lang::FormatM(1872, "--lnag"), lang::FormatM(1871, "--lang")});
    row("option of another command", {"show", "x.cfg", "-o", "y"}, {lang::FormatM(1872, "-o")});
    row("language", {"--lang", "de", "check", "x"},
        {lang::FormatM(1876, {"de", "--lang", "ru, en, tr"})});
    row("work mode 6", {"preset", "--model", "q72", "--mode", "6", "-o", "x"},
        {lang::FormatM(1876, {"6", "--mode", "0, 1, 2, 3, 4, 5"})});
    row("work mode -1", {"preset", "--model", "q72", "--mode", "-1", "-o", "x"},
        {lang::FormatM(1876, {"-1", "--mode", "0, 1, 2, 3, 4, 5"})});
    row("value missing", {"read", "-o", "x", "--port"}, {lang::FormatM(1873, "--port")});
    row("option missing", {"read", "-o", "x"}, {lang::FormatM(1874, "--port")});
    row("file missing", {"check"}, {lang::FormatM(1875, "FILE")});
    row("one file too many", {"check", "a", "b"}, {lang::FormatM(1877, "b")});
    row("file and port", {"show", "a", "--port", "com1"}, {M(1825)});
    row("neither file nor port", {"report", "-o", "x.pdf"}, {M(1825)});
    row("one of two", {"diff", "a.cfg"}, {M(1828)});
    row("port beyond com10", {"info", "--port", "com11"}, {lang::FormatM(1815, "com11")});
}

// Each mistake in a folder of its own, so that nothing an earlier run left decides the outcome;
// no file is written, and the message says what is wrong.
void TestCli::usageMistakesAreNamedWithTheNearestName() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, messages);
    Ctl ctl;
    ctl.setIni({}, lang::LangEnglish); // the language when --lang names none of the three
    const Ctl::Result r = ctl.run(args);
    QCOMPARE(r.err, said(messages));
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QString());
    QCOMPARE(QDir(ctl.path({})).entryList({"x", "x.pdf", "y"}), QStringList());
}

void TestCli::helpOfACommandListsItsOwnStatuses() {
    Ctl ctl;
    QCOMPARE(ctl.run({"--version"}).out, "q7xctl 2.0\n");
    const Ctl::Result help = ctl.run({"help", "check"});
    QCOMPARE(help.status, 0);
    QVERIFY2(help.out.contains("q7xctl check") && help.out.contains("\n  1    problems found"),
             qPrintable(help.out));
    QVERIFY(!help.out.contains("\n  3 ") && !help.out.contains("\n  4 "));
    // A command's help needs none of its required options.
    const Ctl::Result read = ctl.run({"read", "--help"});
    QCOMPARE(read.status, 0);
    QVERIFY(read.out.contains("--port") && read.out.contains("\n  3    the port"));
    QVERIFY(!read.out.contains("\n  1 "));
    QCOMPARE(ctl.run({"help", "raed"}).err,
             said({lang::FormatM(1870, "raed"), lang::FormatM(1871, "read")}));
}

void TestCli::portsAreCom1ToCom10() {
    for (const char *name : {"com1", "COM 3", "com10"})
        QVERIFY2(cli::PortSpec::parse(name).has_value(), name);
    for (const char *name : {"com0", "com11", "com", "ttyS0"})
        QVERIFY2(!cli::PortSpec::parse(name).has_value(), name);
    QCOMPARE(cli::PortSpec::parse("com10")->number, 10);
    QCOMPARE(cli::PortSpec::parse("/dev/ttyUSB0")->path, "/dev/ttyUSB0");
    // com10 reaches the port the settings map it to.
    Ctl ctl;
    const QString missing = ctl.path("no-port");
    ctl.setIni({"[Ports]", "COM10=" + missing});
    const Ctl::Result r = ctl.run({"info", "--port", "com10"});
    QCOMPARE(r.status, 3);
    QCOMPARE(r.err,
             said({lang::FormatM(1095, 10), lang::FormatM(1600, missing), M(1601), M(1602)}));
}

void TestCli::clockIsSaidInIso8601WithTheSecondsSet() {
    const link::ClockStamp sent = link::makeClockStamp(2025, 3, 9, 7, 5, 42);
    link::DeviceClock clock{25, 3, 9, 7, 5};
    QCOMPARE(cli::clockSetText(clock, sent), "2025-03-09 07:05:42");
    clock.minute = 6; // not the minute sent: the device's own clock, whole minutes
    QCOMPARE(cli::clockSetText(clock, sent), "2025-03-09 07:06:00");
}

void TestCli::presetRefusesToReplaceAFileWithoutForce() {
    Ctl ctl;
    const QString file = ctl.path("p.cfg");
    const QStringList args{"preset", "--model", "q71", "--mode", "4", "-o", file};
    QCOMPARE(ctl.run(args).out, lines({lang::FormatM(1816, file)}));
    const QByteArray written = fileBytes(file);
    QCOMPARE(written,
             image::formatConfig(image::presetImage(DeviceModel::Q71, 4), DeviceModel::Q71));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));

    const Ctl::Result again =
        ctl.run(QStringList{"preset", "--model", "q72", "--mode", "1", "-o", file});
    QCOMPARE(again.status, 2);
    QCOMPARE(again.err, said({lang::FormatM(1801, file)}));
    QCOMPARE(fileBytes(file), written);
    QCOMPARE(ctl.run(QStringList{"preset", "--model", "q72", "--mode", "1", "-o", file, "--force"})
                 .status,
             0);
    QCOMPARE(fileBytes(file),
             image::formatConfig(image::presetImage(DeviceModel::Q72, 1), DeviceModel::Q72));
    // The file replaced keeps its modes.
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
}

void TestCli::outputsFollowLinksAndWriteIntoFifosAndDevices() {
    Ctl ctl;
    const QByteArray preset =
        image::formatConfig(image::presetImage(DeviceModel::Q72, 2), DeviceModel::Q72);
    const QStringList args{"preset", "--model", "q72", "--mode", "2", "-o"};

    // Standard output, and no file named "-".
    const Ctl::Result out = ctl.run(args + QStringList{"-"});
    QCOMPARE(out.status, 0);
    QCOMPARE(out.out.toUtf8(), preset);
    QVERIFY(!QFile::exists(ctl.path("-")));

    // A FIFO is written into as it is, without --force, while a reader takes the data.
    const QString fifo = ctl.path("fifo");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start("cat", {fifo});
    QCOMPARE(ctl.run(args + QStringList{fifo}).status, 0);
    QVERIFY(reader.waitForFinished(10000));
    QCOMPARE(reader.readAllStandardOutput(), preset);
    QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo::exists(fifo));

    // A link names the file replaced; the link stays.
    const QString target = ctl.path("target.cfg"), link = ctl.path("link.cfg");
    writeFile(target, "old");
    QVERIFY(QFile::link(target, link));
    QCOMPARE(ctl.run(args + QStringList{link}).err, said({lang::FormatM(1801, link)}));
    QCOMPARE(ctl.run(args + QStringList{link, "--force"}).status, 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(fileBytes(target), preset);
    // A link to no file yet counts as there: it may point somewhere unexpected.
    const QString dangling = ctl.path("dangling.cfg");
    QVERIFY(QFile::link(ctl.path("nowhere.cfg"), dangling));
    QCOMPARE(ctl.run(args + QStringList{dangling}).err, said({lang::FormatM(1801, dangling)}));
    QVERIFY(!QFile::exists(ctl.path("nowhere.cfg")));

    // A folder that does not exist is named before anything is read.
    const QString deep = ctl.path("missing/dir/x.cfg");
    const Ctl::Result missing = ctl.run({"read", "--port", ctl.path("no-port"), "-o", deep});
    QCOMPARE(missing.status, 2);
    QCOMPARE(missing.err, said({lang::FormatM(1840, ctl.path("missing/dir"))}));

    // A device node made for the test keeps being a device node.
    if (::geteuid() != 0)
        QSKIP("making a device node needs root");
    const QString node = ctl.path("null");
    QCOMPARE(::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    QCOMPARE(ctl.run(args + QStringList{node, "--force"}).status, 0);
    QCOMPARE(ctl.run(args + QStringList{node}).status, 0);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(node).constData(), &st), 0);
    QVERIFY(S_ISCHR(st.st_mode));
}

// After a power cut the name holds the old file or the whole new one: the new file reaches the
// disk before it takes the name.
void TestCli::outputFileIsSyncedBeforeItTakesItsName() {
    lang::LoadMessageTable(lang::LangEnglish, languageFolder());
    QTemporaryDir dir;
    const QString path = dir.filePath("out.cfg");
    cli::Run run;
    const QByteArray contents(5000, 'x');
    for (const bool force : {false, true}) {
        RecordingFileSystem fs;
        const std::optional<cli::Output> output = cli::Output::check(run, path, force);
        QVERIFY(output);
        QCOMPARE(output->write(run, contents + char('0' + force), fs), cli::Done);
        QCOMPARE(fs.calls, QStringList({"create", "write", "sync", "close", "rename"}));
        QCOMPARE(fs.atRename, contents + char('0' + force));
        QCOMPARE(fileBytes(path), contents + char('0' + force));
    }
    // A sync that fails leaves the old file and no temporary one.
    RecordingFileSystem failing;
    failing.failSync = true;
    QCOMPARE(cli::Output::check(run, path, true)->write(run, "new", failing), cli::BadUsage);
    QVERIFY(!failing.calls.contains("rename"));
    QCOMPARE(run.complaints().last(), lang::FormatM(1806, {path, M(1858)}));
    QCOMPARE(fileBytes(path), contents + '1');
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.cfg"});
}

void TestCli::outputThatCannotBeWrittenGivesStatusTwo() {
    Ctl ctl;
    const QString file = ctl.path("p.cfg"), other = ctl.path("q.cfg");
    QVERIFY(
        !image::writeConfigFile(file, image::presetImage(DeviceModel::Q72, 1), DeviceModel::Q72));
    QVERIFY(
        !image::writeConfigFile(other, image::presetImage(DeviceModel::Q72, 2), DeviceModel::Q72));
    ctl.stdoutFile = "/dev/full";
    // Also where the result alone would give 1: a comparison that did not arrive is no answer.
    for (const QStringList &args : {QStringList{"show", "--json", file},
                                    {"check", file},
                                    {"diff", file, other},
                                    {"--version"}}) {
        const Ctl::Result r = ctl.run(args);
        QVERIFY2(r.status == 2, qPrintable(args.join(' ')));
        QCOMPARE(r.err, said({lang::FormatM(1841, M(1854))}));
    }
    ctl.stdoutFile.clear();
    const Ctl::Result r =
        ctl.run({"preset", "--model", "q71", "--mode", "0", "-o", "/dev/full", "--force"});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err, said({lang::FormatM(1806, {"/dev/full", M(1854)})}));
}

// The documented edit pipeline: a JSON file from a slow writer in small chunks with pauses.
void TestCli::slowChunkedPipeIntoImport() {
    Ctl ctl;
    const image::ConfigImage img = image::presetImage(DeviceModel::Q72, 4);
    const QString cfg = ctl.path("a.cfg"), back = ctl.path("b.cfg");
    QVERIFY(!image::writeConfigFile(cfg, img, DeviceModel::Q72));
    const Ctl::Result shown = ctl.run({"show", "--json", "-"}, fileBytes(cfg));
    QCOMPARE(shown.status, 0);
    const QByteArray json = shown.out.toUtf8();
    QProcess &import = ctl.start({"import", "-", "-o", back});
    for (qsizetype at = 0; at < json.size(); at += 1000) {
        import.write(json.mid(at, 1000));
        import.waitForBytesWritten();
        QTest::qWait(30);
    }
    import.closeWriteChannel();
    import.waitForFinished(30000);
    QCOMPARE(import.state(), QProcess::NotRunning);
    QCOMPARE(import.readAllStandardError(), QByteArray());
    QCOMPARE(import.exitCode(), 0);
    QCOMPARE(fileBytes(back), fileBytes(cfg));
}

// Every file the window writes (the encoder's images), every factory preset and files as read
// from devices (bytes no setting owns holding anything) come back byte for byte; an edited
// setting changes its own bytes only.
void TestCli::showJsonThenImportGivesTheSameBytes() {
    const cli::FieldText words(lang::WindowTexts::load(lang::LangEnglish, languageFolder()));
    QList<QPair<DeviceModel, image::ConfigImage>> configs;
    for (const DeviceModel model : {DeviceModel::Q71, DeviceModel::Q72})
        for (int mode = 0; mode < image::PresetWorkModeCount; ++mode)
            configs.append({model, image::presetImage(model, mode)});
    image::Seeded seeded(42);
    std::mt19937 noise(7);
    for (int n = 0; n < 100; ++n)
        for (const DeviceModel model : {DeviceModel::Q71, DeviceModel::Q72}) {
            image::ConfigImage img = model == DeviceModel::Q71
                                         ? image::encodeQ71(seeded.q71()).image
                                         : image::encodeQ72(seeded.q72()).image;
            configs.append({model, img});
            for (int k = 0; k < 6; ++k)
                img[noise() % img.size()] = std::uint8_t(noise());
            const bool damaged = model == DeviceModel::Q71
                                     ? !image::decodeQ71(img).errors.isEmpty()
                                     : !image::decodeQ72(img).errors.isEmpty();
            if (!damaged)
                configs.append({model, img});
        }
    // What show --json prints now (version 2), and what earlier releases printed (version 1).
    for (const auto &[model, img] : configs)
        for (const QByteArray &json :
             {cli::settingsToJson(model, img).toJson(), showJson(model, img)}) {
            const cli::ImportedSettings back = cli::settingsFromJson(json, "x", words);
            QVERIFY2(back.errors.isEmpty(), qPrintable(back.errors.join('\n')));
            QCOMPARE(back.model, model);
            QVERIFY(back.image == img);
        }

    const image::ConfigImage preset = image::presetImage(DeviceModel::Q72, 1);
    QJsonObject root = QJsonDocument::fromJson(showJson(DeviceModel::Q72, preset)).object();
    QJsonObject settings = root["settings"].toObject();
    settings["recipients.2.phone"] = "+79001234567";
    root["settings"] = settings;
    const cli::ImportedSettings edited =
        cli::settingsFromJson(QJsonDocument(root).toJson(), "x", words);
    QVERIFY(edited.errors.isEmpty());
    image::ConfigImage expected = preset;
    const std::uint8_t phone[] = {0x07, 0x90, 0x01, 0x23, 0x45, 0x67, 0xFF, 0xFF};
    std::copy(std::begin(phone), std::end(phone), expected.begin() + 40);
    QVERIFY(edited.image == expected);
    // The same edit of version 2, where the number is a member of its recipient.
    cli::JsonNode v2 = cli::settingsToJson(DeviceModel::Q72, preset);
    v2["settings"]["recipients"]["2"]["phone"] = "+79001234567";
    const cli::ImportedSettings nested = cli::settingsFromJson(v2.toJson(), "x", words);
    QVERIFY2(nested.errors.isEmpty(), qPrintable(nested.errors.join('\n')));
    QVERIFY(nested.image == expected);

    // A damaged field is marked: show says so with status 1, and import will not take the
    // fall-back value for the file's.
    Ctl ctl;
    image::ConfigImage damaged = preset;
    damaged[40] = 0x07; // recipient 2's number: a nibble of 12
    damaged[41] = 0xC1;
    const QString file = ctl.path("damaged.cfg");
    QVERIFY(!image::writeConfigFile(file, damaged, DeviceModel::Q72));
    const Ctl::Result shown = ctl.run({"show", "--json", file});
    QCOMPARE(shown.status, 1);
    QCOMPARE(QJsonDocument::fromJson(shown.out.toUtf8())["damaged"].toArray(),
             QJsonArray{"recipients.2.phone"});
    const Ctl::Result imported =
        ctl.run({"import", "-", "-o", ctl.path("x.cfg")}, shown.out.toUtf8());
    QCOMPARE(imported.status, 2);
    QCOMPARE(imported.err, said({lang::FormatM(1849, {"-", "recipients.2.phone"})}));
}

void TestCli::importNamesEveryRefusal() {
    Ctl ctl;
    const image::ConfigImage preset = image::presetImage(DeviceModel::Q72, 0);
    const QJsonObject root = QJsonDocument::fromJson(showJson(DeviceModel::Q72, preset)).object();
    const lang::WindowTexts texts = lang::WindowTexts::load(lang::LangEnglish, ctl.path({}));
    const QString objectCaption = texts.text("rsMainForm_Label98_Caption").simplified();
    const auto refusal = [&](const std::function<void(QJsonObject &)> &edit) {
        QJsonObject r = root, s = root["settings"].toObject();
        r.remove("stored");
        edit(s);
        r["settings"] = s;
        const Ctl::Result result =
            ctl.run({"import", "-", "-o", ctl.path("x.cfg")}, QJsonDocument(r).toJson());
        return QString::number(result.status) + ' ' + result.err;
    };
    QCOMPARE(refusal([](QJsonObject &s) { s["partitions.1.object"] = -1; }),
             "2 " + said({lang::FormatM(1813, {"-", "partitions.1.object", objectCaption + " 1",
                                               "-1", lang::FormatM(1892, 999)})}));
    QCOMPARE(
        refusal([](QJsonObject &s) {
            s["recipients.1.phone"] = "89001234567";
            s["workMode"] = 6;
        }),
        "2 " + said({lang::FormatM(
                         1813, {"-", "workMode",
                                texts.text("rsMainForm_Label2_Caption").remove(':').simplified(),
                                "6", lang::FormatM(1890, 5)}),
                     lang::FormatM(
                         1813,
                         {"-", "recipients.1.phone",
                          texts.text("rsMainForm_Label20_Caption").remove(':').simplified() + " 1",
                          "\"89001234567\"", M(1893)})}));
    QCOMPARE(refusal([](QJsonObject &s) {
                 s.remove("pin");
                 s.remove("workMode");
                 s["pinCode"] = "1234";
             }),
             "2 " + said({lang::FormatM(1812, {"-", "workMode, pin"}), M(1919),
                          lang::FormatM(1811, {"-", "pinCode"})}));
    // Settings of a Q71 under the name of a Q72.
    QJsonObject q71 =
        QJsonDocument::fromJson(showJson(DeviceModel::Q71, image::presetImage(DeviceModel::Q71, 0)))
            .object();
    q71["model"] = "Q72";
    const Ctl::Result other =
        ctl.run({"import", "-", "-o", ctl.path("x.cfg")}, QJsonDocument(q71).toJson());
    QCOMPARE(other.err, said({lang::FormatM(1865, {"-", "Q71", "Q72"})}));
    QVERIFY(!QFile::exists(ctl.path("x.cfg")));
}

void TestCli::diffExitsWithZeroOneOrTwo() {
    Ctl ctl;
    const QString a = ctl.path("a.cfg"), b = ctl.path("b.cfg"), q71 = ctl.path("q71.cfg");
    image::ConfigImage other = image::presetImage(DeviceModel::Q72, 2);
    other[32] = 0x07; // recipient 1's number
    other[33] = 0x91;
    QVERIFY(!image::writeConfigFile(a, image::presetImage(DeviceModel::Q72, 2), DeviceModel::Q72));
    QVERIFY(!image::writeConfigFile(b, other, DeviceModel::Q72));
    QVERIFY(
        !image::writeConfigFile(q71, image::presetImage(DeviceModel::Q71, 2), DeviceModel::Q71));

    const Ctl::Result same = ctl.run({"diff", a, a});
    QCOMPARE(same.status, 0);
    QCOMPARE(same.out, lines({M(1827)}));
    const Ctl::Result differ = ctl.run({"diff", "--json", a, b});
    QCOMPARE(differ.status, 1);
    const QJsonArray diffs = QJsonDocument::fromJson(differ.out.toUtf8())["differences"].toArray();
    QCOMPARE(diffs.size(), 1);
    QCOMPARE(diffs[0]["key"].toString(), "recipients.1.phone");
    // The number as dialled, not as the window's mask shows it.
    QCOMPARE(diffs[0]["b"].toString(), "+791");
    QVERIFY(ctl.run({"diff", a, "-"}, fileBytes(b)).out.contains("\n+ +791\n"));
    const Ctl::Result models = ctl.run({"diff", a, q71});
    QCOMPARE(models.status, 2);
    QCOMPARE(models.err, said({lang::FormatM(1829, {"Q72", "Q71"})}));
}

// What `diff FILE --port` and `write` use: the file after the page rules' effect on loading, with
// the stamp of the configurator's stored language (Russian here, where the test has no settings
// file), whatever the output's language.
void TestCli::fileComparedWithADeviceIsWhatAWriteSends() {
    cli::Run run;
    run.languageOption = "en";
    image::Seeded seeded(11);
    for (const DeviceModel model : {DeviceModel::Q71, DeviceModel::Q72}) {
        cli::ConfigurationFile file{model, {}, {}};
        image::Encoded sent;
        do {
            file.image = model == DeviceModel::Q71 ? image::encodeQ71(seeded.q71()).image
                                                   : image::encodeQ72(seeded.q72()).image;
            sent = image::imageToWrite(model, file.image, image::WriteLanguage::Russian);
        } while (!sent.ok() || sent.image == file.image);
        const image::ConfigImage stored = file.image;
        QVERIFY(!cli::compareAsWritten(run, file, true));
        QVERIFY(file.image == stored);
        QVERIFY(cli::compareAsWritten(run, file, false));
        QVERIFY(file.image == sent.image);
        QCOMPARE(cli::writeLanguage(run), image::WriteLanguage::Russian);
    }
}

// Each damaged field, each value no list shows, each value that cannot be stored and each line
// out of a byte's range is named with its line; such a file is refused before any port opens.
void TestCli::checkNamesEachProblemAndWriteRefusesTheFile() {
    Ctl ctl;
    const QString clean = ctl.path("clean.cfg"), q72 = ctl.path("q72.cfg"),
                  q71 = ctl.path("q71.cfg"), wide = ctl.path("wide.cfg");
    image::ConfigImage img = image::presetImage(DeviceModel::Q72, 1);
    QVERIFY(!image::writeConfigFile(clean, img, DeviceModel::Q72));
    QCOMPARE(ctl.run({"check", clean}).out, lines({M(1824)}));
    img[40] = 0x07; // recipient 2's number: a nibble of 12
    img[41] = 0xC1;
    img[144] = 250; // equipment delay: no item
    QVERIFY(!image::writeConfigFile(q72, img, DeviceModel::Q72));
    img = image::presetImage(DeviceModel::Q71, 2);
    img[1] = 0x19;   // work mode 9: no item
    img[132] = 0xC0; // digital code 1 reads 1200: cannot be stored in three digits
    QVERIFY(!image::writeConfigFile(q71, img, DeviceModel::Q71));
    // Lines whose numbers the file keeps only the low 8 bits of.
    QList<QByteArray> text =
        image::formatConfig(image::presetImage(DeviceModel::Q72, 1), DeviceModel::Q72).split('\n');
    text[255] = "265\r"; // group 16's commands: 9 is stored
    text[240] = "-1\r";  // group 1's commands: 255 is stored
    text[112] = "256\r"; // recipient 1's event types 1..7 (bit 0: type 4): 0 is stored
    writeFile(wide, text.join('\n'));
    QStringList found;
    for (const QString &file : {q72, q71, wide}) {
        const Ctl::Result r = ctl.run({"check", "--json", file});
        QCOMPARE(r.status, 1);
        for (const QJsonValue p : QJsonDocument::fromJson(r.out.toUtf8())["problems"].toArray())
            found << QStringLiteral("%1 %2 %3")
                         .arg(p["line"].toInt())
                         .arg(p["kind"].toString(), p["key"].toString());
    }
    QCOMPARE(found, QStringList({"41 damaged recipients.2.phone", "145 unshown delayHardware",
                                 "1 unshown workMode", "133 unstorable digitalCodes.1",
                                 "113 outOfRange recipients.1.events.4",
                                 "241 outOfRange groups.1.arm", "256 outOfRange groups.16.arm"}));
    const Ctl::Result text256 = ctl.run({"check", wide});
    QVERIFY2(text256.out.contains(lang::FormatM(1820, {"256", "255"}) + ": ") &&
                 text256.out.contains(lang::FormatM(1846, {"265", "9"})),
             qPrintable(text256.out));
    QVERIFY(text256.out.contains(lang::FormatM(1846, {"-1", "255"})));
    QVERIFY(text256.out.contains(lang::FormatM(1846, {"256", "0"})));

    const Ctl::Result write = ctl.run({"write", "--port", ctl.path("no-such-port"), q71});
    QCOMPARE(write.status, 2);
    QVERIFY(write.err.endsWith(said({M(1830)})));
}

// No two settings of a model read the same in any language (an object and the group it belongs
// to once did), so show, diff and the sheet never name two settings alike.
void TestCli::everySettingHasItsOwnWords() {
    const auto distinct = [](const cli::FieldText &words, const auto &catalogue, const auto &s) {
        QHash<QString, QString> keys;
        for (const auto &f : catalogue) {
            const QString name = words.pages(f.pages) + " / " + words.label(f, s);
            QVERIFY2(!keys.contains(name), qPrintable(f.key + " and " + keys[name] + ": " + name));
            keys.insert(name, f.key);
        }
    };
    for (const QString &language : {lang::LangRussian, lang::LangEnglish, lang::LangTurkish}) {
        const cli::FieldText words(lang::WindowTexts::load(language, languageFolder()));
        distinct(words, image::catalogueQ72(),
                 image::decodeQ72(image::presetImage(DeviceModel::Q72, 1)).settings);
        distinct(words, image::catalogueQ71(),
                 image::decodeQ71(image::presetImage(DeviceModel::Q71, 1)).settings);
    }
}

// The language: --lang, else the configurator's settings file, else the locale; every message of
// a run in it, usage mistakes and the system's reasons too.
void TestCli::messagesOfARunAreInOneLanguage() {
    Ctl ctl;
    ctl.english = false;
    const QString missing = ctl.path("missing.cfg");
    const auto errorsIn = [&](const QString &language, const QStringList &args) {
        lang::LoadMessageTable(language, ctl.path({}));
        return ctl.run(args).err;
    };
    const auto cannotOpen = [&](const QString &language) {
        lang::LoadMessageTable(language, ctl.path({}));
        return test::said({lang::FormatM(1802, {missing, M(1850)})});
    };
    const QStringList check{"check", missing};
    ctl.setIni({}, QString());
    ctl.environment.insert("LANG", "tr_TR.UTF-8");
    QCOMPARE(errorsIn(lang::LangTurkish, check), cannotOpen(lang::LangTurkish));
    QCOMPARE(errorsIn(lang::LangTurkish, {"chek"}),
             test::said({lang::FormatM(1870, "chek"), lang::FormatM(1871, "check")}));
    ctl.environment.insert("LC_ALL", "ru_RU.UTF-8");
    QCOMPARE(errorsIn(lang::LangRussian, check), cannotOpen(lang::LangRussian));
    ctl.setIni({}, lang::LangEnglish);
    QCOMPARE(errorsIn(lang::LangEnglish, check), cannotOpen(lang::LangEnglish));
    QCOMPARE(errorsIn(lang::LangTurkish, QStringList{"--lang", "tr"} + check),
             cannotOpen(lang::LangTurkish));
    lang::LoadMessageTable(lang::LangEnglish, ctl.path({}));
}

void TestCli::jsonCommandsReportFailuresAsJson() {
    Ctl ctl;
    const QString shortFile = ctl.path("short.cfg");
    writeFile(shortFile, "1\r\n2\r\n");
    const Ctl::Result check = ctl.run({"check", "--json", shortFile});
    QCOMPARE(check.status, 2);
    const QJsonObject error = QJsonDocument::fromJson(check.out.toUtf8())["error"].toObject();
    QCOMPARE(error["status"].toInt(), 2);
    QCOMPARE(error["messages"].toArray(), QJsonArray{lang::FormatM(1803, {shortFile, "3"})});
    const Ctl::Result info = ctl.run({"info", "--json", "--port", ctl.path("no-port")});
    QCOMPARE(info.status, 3);
    QCOMPARE(QJsonDocument::fromJson(info.out.toUtf8())["error"]["status"].toInt(), 3);
    const Ctl::Result usage = ctl.run({"show", "--json"});
    QCOMPARE(QJsonDocument::fromJson(usage.out.toUtf8())["error"]["messages"][0].toString(),
             M(1825));
}

// A name or a value with control characters cannot move the cursor or recolour the terminal.
void TestCli::textFromOutsideIsPrintedEscaped() {
    Ctl ctl;
    const QString name = ctl.path(QString::fromUtf8("a\x1b[31mb\nc\u009b0m.cfg"));
    QCOMPARE(ctl.run({"check", name}).err,
             said({lang::FormatM(1802, {ctl.path("a\\x1b[31mb\\nc\\x9b0m.cfg"), M(1850)})}));
    image::Q72Settings s = image::decodeQ72(image::presetImage(DeviceModel::Q72, 0)).settings;
    s.ownNames[0] = QString::fromUtf8("x\x1b]2;y\x07z");
    const QString file = ctl.path("names.cfg");
    QVERIFY(!image::writeConfigFile(file, image::encodeQ72(s).image, DeviceModel::Q72));
    const QString shown = ctl.run({"show", file}).out;
    QVERIFY(shown.contains(": x\\x1b]2;y\\x07z\n"));
    QVERIFY(!shown.contains(QChar(0x1b)));

    // What can move the cursor, change the terminal or turn the text around is escaped: C0
    // controls, DEL, C1 controls, the bidirectional embeddings, overrides and isolates. Their
    // printable neighbours, and letters of the interface languages, pass as they are.
    for (const char16_t u : {0x00, 0x1F, 0x7F, 0x80, 0x9F, 0x202A, 0x202E, 0x2066, 0x2069})
        QVERIFY2(cli::printable(QString(QChar(u))).startsWith(QLatin1Char('\\')),
                 qPrintable(QString::number(u, 16)));
    for (const char16_t u : {0x20, 0x7E, 0xA0, 0x2029, 0x202F, 0x2065, 0x206A, 0x0416, 0x011F})
        QCOMPARE(cli::printable(QString(QChar(u))), QString(QChar(u)));
}

// The line of a transfer never reaches the terminal's last column, in any language, at any width
// the terminal has at the time; a pseudo-terminal tells its width as a real one does.
void TestCli::progressLineFitsTheTerminal() {
    int master = -1, slave = -1;
    winsize size{24, 40, 0, 0};
    QCOMPARE(::openpty(&master, &slave, nullptr, nullptr, &size), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    FILE *terminal = ::fdopen(slave, "w");
    for (const QString &language : {lang::LangRussian, lang::LangEnglish, lang::LangTurkish}) {
        lang::LoadMessageTable(language, languageFolder());
        for (const int columns : {80, 40}) {
            size.ws_col = std::uint16_t(columns);
            ::ioctl(master, TIOCSWINSZ, &size);
            for (const int message : {1005, 1006, 1536}) {
                {
                    cli::ProgressBar bar(terminal, true, M(message));
                    auto at = cli::ProgressBar::Clock::now();
                    for (int p = 0; p <= 100; p += 9, at += std::chrono::seconds(1))
                        bar.set(p, at);
                    bar.set(100, at);
                }
                QByteArray drawn;
                char chunk[4096];
                for (;;) {
                    const ssize_t n = ::read(master, chunk, sizeof chunk);
                    pollfd more{master, POLLIN, 0};
                    if (n > 0)
                        drawn.append(chunk, n);
                    else if (::poll(&more, 1, 100) <= 0)
                        break;
                }
                const QStringList shown = QString::fromUtf8(drawn).remove("\x1b[K").split('\r');
                QVERIFY(shown.size() > 10);
                for (const QString &line : shown)
                    QVERIFY2(line.toUcs4().size() < columns, qPrintable(line));
                QVERIFY2(shown.contains(cli::ProgressBar::line(M(message), 100, columns)),
                         qPrintable(shown.join('|')));
            }
        }
    }
    for (int columns = 1; columns <= 120; ++columns) {
        const QString line = cli::ProgressBar::line("Reading the configuration", 55, columns);
        QVERIFY2(line.size() < columns, qPrintable(QString::number(columns) + ": " + line));
        QVERIFY(columns < 6 || line.endsWith(" 55%"));
    }
    QCOMPARE(cli::ProgressBar::line("Read", 50, 80), "Read [###############...............]  50%");
    ::fclose(terminal);
    ::close(master);
    lang::LoadMessageTable(lang::LangEnglish, languageFolder());
}

// The sheet's text, as a reader of the PDF file finds it.
void TestCli::reportMasksPasswordsUnlessAskedAndRefusesDamagedFiles() {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    Ctl ctl;
    // As on a machine without a desktop session: Qt's start-up notes must not show.
    ctl.environment.remove("QT_QPA_PLATFORM");
    ctl.environment.remove("XDG_RUNTIME_DIR");
    image::Q72Settings s = image::decodeQ72(image::presetImage(DeviceModel::Q72, 1)).settings;
    s.pin = "4729";
    const QString file = ctl.path("p.cfg");
    QVERIFY(!image::writeConfigFile(file, image::encodeQ72(s).image, DeviceModel::Q72));
    const auto sheetText = [&](const QStringList &options) {
        const QString pdf = ctl.path("sheet.pdf");
        const Ctl::Result r = ctl.run(QStringList{"report", file, "-o", pdf, "--force"} + options);
        QProcess text;
        text.start(pdftotext, {pdf, "-"});
        text.waitForFinished();
        return QString::number(r.status) + ' ' + r.err + '|' +
               QString::fromUtf8(text.readAllStandardOutput());
    };
    const QString masked = sheetText({}), shown = sheetText({"--include-passwords"});
    const lang::WindowTexts texts = lang::WindowTexts::load(lang::LangEnglish, ctl.path({}));
    const QString workMode = texts.text("rsMainForm_Label2_Caption").remove(':').simplified();
    QVERIFY2(masked.startsWith("0 |") && masked.contains(workMode), qPrintable(masked));
    QVERIFY(!masked.contains("4729"));
    QVERIFY2(shown.startsWith("0 |") && shown.contains("4729"), qPrintable(shown));

    // A damaged field would be printed as its fall-back value: no sheet.
    image::ConfigImage damaged = image::encodeQ72(s).image;
    damaged[40] = 0x07; // recipient 2's number: a nibble of 12
    damaged[41] = 0xC1;
    QVERIFY(!image::writeConfigFile(file, damaged, DeviceModel::Q72));
    QCOMPARE(ctl.run({"report", file, "-o", ctl.path("damaged.pdf")}).status, 2);
    QVERIFY(!QFile::exists(ctl.path("damaged.pdf")));
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
