// q7xctl for an installer with many sites, on files: `set` as a script runs it (in place, to
// another file, through a pipe, as a dry run) and what it refuses, `import --base`, the JSON of
// version 2 as a person reads and edits it, every JSON document validated against the schema
// the program names (with Debian's python3-jsonschema, an independent validator), `keys`, the
// per-device values of a batch and the log of the devices written.
#include "cli/fleet.h"
#include "cli/sites.h"
#include "ctlprocess.h"
#include "image/configfile.h"
#include "image/formload.h"
#include "image/presets.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

using namespace q7x;
using image::DeviceModel;
using test::Ctl;
using test::fileBytes;
using test::M;
using test::said;
using test::writeFile;

namespace {

// A configuration the window stores as it loads it: nothing but the change differs after set.
image::ConfigImage canonical(DeviceModel model, int preset) {
    return image::writeAfterLoad(model, image::presetImage(model, preset)).image;
}

QJsonObject json(const QString &text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }

// The settings of a file as show --json gives them.
QJsonObject settingsOf(Ctl &ctl, const QString &file) {
    return json(ctl.run({"show", "--json", file}).out)["settings"].toObject();
}

// The schema each document names checks it: one line per document, "ok" or where it fails.
QStringList validated(const QList<QByteArray> &documents, const QString &folder) {
    QStringList paths;
    for (int i = 0; i < documents.size(); ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("doc%1.json").arg(i));
        writeFile(path, documents[i]);
        paths << path;
    }
    const char *script = R"(
import json, sys, urllib.parse
from jsonschema import Draft202012Validator
from jsonschema.exceptions import best_match
for path in sys.argv[1:]:
    doc = json.load(open(path, encoding="utf-8"))
    schema_path = urllib.parse.unquote(urllib.parse.urlparse(doc["$schema"]).path)
    schema = json.load(open(schema_path, encoding="utf-8"))
    Draft202012Validator.check_schema(schema)
    error = best_match(Draft202012Validator(schema).iter_errors(doc))
    print("ok" if error is None else "%s: %s" % (list(error.absolute_path), error.message[:200]))
)";
    QProcess p;
    p.start("python3", QStringList{"-c", script} + paths); // python3-jsonschema (install-deps.sh)
    p.waitForFinished(120000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return p.exitCode() == 0 ? out.split('\n')
                             : QStringList{QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestCliFleet : public QObject {
    Q_OBJECT
  private slots:
    void setChangesAFileAsTheWindowDoes();
    void setRefusesWhatTheWindowWouldNotTakeAndChangesNothing_data();
    void setRefusesWhatTheWindowWouldNotTakeAndChangesNothing();
    void setRunsInAPipeAndAsADryRun();
    void importBaseIsSetFrom();
    void versionTwoReadsAsTheWindowShows();
    void everyJsonDocumentValidatesAgainstTheNamedSchema();
    void schemaRefusesWhatTheProgramWouldNotRead();
    void keysListEveryKeyWithItsValues();
    void perDeviceValuesAreReadAsSpreadsheetsWriteThem();
    void logLinesAreCsvAndBackupsNeverReplaceAFile();
    void deviceOptionsAreCheckedBeforeThePortOpens();
};

void TestCliFleet::setChangesAFileAsTheWindowDoes() {
    Ctl ctl;
    const QString a = ctl.path("a.cfg"), b = ctl.path("b.cfg");
    QVERIFY(!image::writeConfigFile(a, canonical(DeviceModel::Q72, 1), DeviceModel::Q72));
    const QByteArray before = fileBytes(a);
    const Ctl::Result r =
        ctl.run({"set", a, "recipients.1.phone=+79001234567", "checkConnect=30", "-o", b});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.endsWith(lang::FormatM(1816, b) + '\n'));
    QCOMPARE(fileBytes(a), before);
    // The two settings and nothing else.
    const Ctl::Result diff = ctl.run({"diff", "--json", a, b});
    QStringList keys;
    for (const QJsonValue d : json(diff.out)["differences"].toArray())
        keys << d["key"].toString() + '=' + d["b"].toVariant().toString();
    QCOMPARE(keys, QStringList({"checkConnect=30", "recipients.1.phone=+79001234567"}));
    // The file itself, in place, without --force; again the same value changes nothing.
    QCOMPARE(ctl.run({"set", a, "checkConnect=30"}).status, 0);
    QCOMPARE(settingsOf(ctl, a)["checkConnect"].toInt(), 30);
    const QByteArray changed = fileBytes(a);
    const Ctl::Result again = ctl.run({"set", a, "checkConnect=30"});
    QVERIFY2(again.out.startsWith(M(1827) + '\n'), qPrintable(again.out));
    QCOMPARE(fileBytes(a), changed);
    // Another file is replaced only with --force.
    QCOMPARE(ctl.run({"set", a, "checkConnect=40", "-o", b}).err, said({lang::FormatM(1801, b)}));
    QCOMPARE(ctl.run({"set", a, "checkConnect=40", "-o", b, "--force"}).status, 0);
    QCOMPARE(settingsOf(ctl, b)["checkConnect"].toInt(), 40);
}

void TestCliFleet::setRefusesWhatTheWindowWouldNotTakeAndChangesNothing_data() {
    lang::LoadMessageTable(lang::LangEnglish, QFileInfo(QStringLiteral(Q7XCTL_PATH)).path());
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("said");
    const auto row = [](const char *name, const QStringList &changes, const QStringList &said) {
        QTest::newRow(name) << changes << said;
    };
    row("out of the list", {"checkConnect=25"},
        {"checkConnect", "25", "10, 20, 30", "160", "(unit: s)"});
    row("out of the range", {"partitions.1.object=1000"},
        {"partitions.1.object", "1000", lang::FormatM(1892, 999)});
    row("not a number", {"recipients.2.dialAttempts=many"}, {"recipients.2.dialAttempts", "many"});
    row("a number the encoder cannot store", {"recipients.3.phone=89001234567"},
        {"recipients.3.phone", "89001234567", M(1893)});
    // The words after the caption of a message about setting k.
    const auto tail = [](int message) {
        return lang::FormatM(message, {"k", "CAPTION"}).section("CAPTION", 1);
    };
    row("derived", {"partitions.2.group=3"}, {"partitions.2.group", tail(1913)});
    row("unknown, with the nearest key", {"recipents.1.phone=+7"},
        {lang::FormatM(1918, "recipents.1.phone"), lang::FormatM(1871, "recipients.1.phone")});
    row("no value", {"checkConnect"}, {lang::FormatM(1932, "checkConnect")});
    // The name language is not offered by the window: a write stamps the interface language's.
    row("not offered", {"nameLanguage=english"}, {"nameLanguage", tail(1914)});
    // A later change whose rule undoes an earlier one.
    row("undone",
        {"recipients.1.notification=voice", "recipients.1.confirm=false",
         "recipients.1.notification=voiceSms"},
        {"recipients.1.confirm", "false", lang::FormatM(1917, "true")});
    row("one good, one bad", {"checkConnect=30", "speedLine=9600"}, {"speedLine", "1200, 4800"});
}

// Each refusal names the key, the value and what is allowed; the file and the output stay as
// they were, and the status is 2.
void TestCliFleet::setRefusesWhatTheWindowWouldNotTakeAndChangesNothing() {
    QFETCH(QStringList, changes);
    QFETCH(QStringList, said);
    Ctl ctl;
    const QString a = ctl.path("a.cfg");
    QVERIFY(!image::writeConfigFile(a, canonical(DeviceModel::Q72, 2), DeviceModel::Q72));
    const QByteArray before = fileBytes(a);
    const Ctl::Result r = ctl.run(QStringList{"set", a} + changes);
    QCOMPARE(r.status, 2);
    for (const QString &part : said)
        QVERIFY2(r.err.contains(part), qPrintable(part + " not in: " + r.err));
    QVERIFY2(r.err.startsWith("q7xctl: "), qPrintable(r.err));
    QCOMPARE(fileBytes(a), before);
    QCOMPARE(QDir(ctl.path({})).entryList({".q7xctl-*"}, QDir::Hidden | QDir::Files),
             QStringList());
}

void TestCliFleet::setRunsInAPipeAndAsADryRun() {
    Ctl ctl;
    const QString a = ctl.path("a.cfg");
    QVERIFY(!image::writeConfigFile(a, canonical(DeviceModel::Q71, 0), DeviceModel::Q71));
    const QByteArray before = fileBytes(a);
    // Standard input to standard output: the configuration only, nothing else on stdout.
    const Ctl::Result piped = ctl.run({"set", "-", "recipients.2.phone=WB7654321"}, before);
    QCOMPARE(piped.status, 0);
    QBuffer buffer;
    buffer.setData(piped.out.toUtf8());
    buffer.open(QIODevice::ReadOnly);
    const image::ConfigFileRead read = image::readConfig(buffer, "-");
    QVERIFY(read.image);
    QCOMPARE(image::decodeQ71(*read.image).settings.recipients[1].phone, "WB7654321");
    // A dry run shows the change, exits 1 and writes nothing; without a change it exits 0.
    const Ctl::Result dry = ctl.run({"set", a, "recipients.2.phone=WB7654321", "--dry-run"});
    QCOMPARE(dry.status, 1);
    QVERIFY2(dry.out.contains("\n+ WB7654321\n") && dry.out.endsWith(M(1935) + '\n'),
             qPrintable(dry.out));
    QCOMPARE(fileBytes(a), before);
    QCOMPARE(ctl.run({"set", a, "recipients.2.phone=", "--dry-run"}).status, 0);
    // --from a file of some settings, then the changes on the command line.
    const QString from = ctl.path("some.json");
    writeFile(from, R"({"format": "q7xctl-settings", "version": 2, "model": "Q71",
                        "settings": {"recipients": {"2": {"phone": "WB1"}}, "pauseDial": 5}})");
    QCOMPARE(ctl.run({"set", a, "--from", from, "recipients.2.phone=WB2"}).status, 0);
    const QJsonObject s = settingsOf(ctl, a);
    QCOMPARE(s["recipients"]["2"]["phone"].toString(), "WB2");
    QCOMPARE(s["pauseDial"].toInt(), 5);
    // Settings of the other model are refused as such.
    writeFile(from, R"({"format": "q7xctl-settings", "version": 2, "model": "Q72",
                        "settings": {"checkConnect": 30}})");
    QCOMPARE(ctl.run({"set", a, "--from", from}).err,
             said({lang::FormatM(1931, {from, "Q72", "Q71"})}));
}

// import --base changes the settings a file gives in the configuration as set does, in the
// window's order whatever the file's; import alone still wants every setting and says so.
void TestCliFleet::importBaseIsSetFrom() {
    Ctl ctl;
    const QString base = ctl.path("base.cfg"), some = ctl.path("some.json");
    QVERIFY(!image::writeConfigFile(base, canonical(DeviceModel::Q72, 3), DeviceModel::Q72));
    writeFile(some, R"({"format": "q7xctl-settings", "version": 2,
                        "settings": {"recipients": {"4": {"notification": "smsBlitz",
                                                          "phone": "+79001112233"}},
                                     "blitzCodes": {"2": "1234"}, "workMode": "W30/2"}})");
    QCOMPARE(ctl.run({"import", "--base", base, some, "-o", ctl.path("x.cfg")}).status, 0);
    QCOMPARE(ctl.run({"set", base, "--from", some, "-o", ctl.path("y.cfg")}).status, 0);
    QCOMPARE(ctl.run({"set", base, "workMode=W30/2", "recipients.4.phone=+79001112233",
                      "recipients.4.notification=smsBlitz", "blitzCodes.2=1234", "-o",
                      ctl.path("z.cfg")})
                 .status,
             0);
    QCOMPARE(fileBytes(ctl.path("x.cfg")), fileBytes(ctl.path("y.cfg")));
    QCOMPARE(fileBytes(ctl.path("x.cfg")), fileBytes(ctl.path("z.cfg")));
    const QJsonObject s = settingsOf(ctl, ctl.path("x.cfg"));
    QCOMPARE(s["blitzCodes"]["2"].toString(), "1234");
    QCOMPARE(s["workMode"].toString(), "W30/2");

    const Ctl::Result alone = ctl.run({"import", some, "-o", ctl.path("w.cfg")});
    QCOMPARE(alone.status, 2);
    QVERIFY(alone.err.endsWith(said({M(1919)})));
    QVERIFY(!QFile::exists(ctl.path("w.cfg")));
}

// What an installer met in version 1: an item number 1 that means 20 s, a partition shown as 5 held
// as 4, keys that sort as strings.
void TestCliFleet::versionTwoReadsAsTheWindowShows() {
    image::Q72Settings s = image::decodeQ72(image::presetImage(DeviceModel::Q72, 1)).settings;
    s.checkConnect = 1;
    s.partitions[0].number = 4;
    s.recipients[2].notification = image::GsmBlitzItem;
    s.relay.byCommand = true;
    s.pin = "1234";
    Ctl ctl;
    const QString file = ctl.path("a.cfg");
    QVERIFY(!image::writeConfigFile(file, image::encodeQ72(s).image, DeviceModel::Q72));
    const Ctl::Result shown = ctl.run({"show", "--json", file});
    QCOMPARE(shown.status, 0);
    const QJsonObject settings = json(shown.out)["settings"].toObject();
    QCOMPARE(settings["checkConnect"].toVariant(), QVariant(20));
    QCOMPARE(settings["partitions"]["1"]["number"].toVariant(), QVariant(5));
    QCOMPARE(settings["recipients"]["3"]["notification"].toString(), "smsBlitz");
    QCOMPARE(settings["relay"]["byCommand"], QJsonValue(true));
    QCOMPARE(settings["pin"].toString(), "1234");
    QCOMPARE(settings["relay"]["mode"].toString().isEmpty(), false);
    // In the window's order, rows in their numbers' order: the text as printed.
    const QString out = shown.out;
    QVERIFY(out.indexOf("\"$schema\"") < out.indexOf("\"format\""));
    QVERIFY(out.indexOf("\"workMode\"") < out.indexOf("\"recipients\""));
    QVERIFY(out.indexOf("\"recipients\"") < out.indexOf("\"relay\""));
    const qsizetype blitz = out.indexOf("\"blitzCodes\"");
    QVERIFY(out.indexOf("\"2\"", blitz) < out.indexOf("\"10\"", blitz));
    QVERIFY(out.indexOf("\"9\"", blitz) < out.indexOf("\"10\"", blitz));
    // A derived value must agree with the settings it follows from.
    QJsonObject root = json(shown.out), relay = settings["relay"].toObject(), changed = settings;
    relay["mode"] = relay["mode"].toString() == "lamp" ? "alarm" : "lamp";
    changed["relay"] = relay;
    root["settings"] = changed;
    const Ctl::Result derived =
        ctl.run({"import", "-", "-o", ctl.path("x.cfg")}, QJsonDocument(root).toJson());
    QCOMPARE(derived.status, 2);
    QVERIFY2(derived.err.contains("relay.mode"), qPrintable(derived.err));
}

// Each JSON document the program prints names its schema, and the schema takes it.
void TestCliFleet::everyJsonDocumentValidatesAgainstTheNamedSchema() {
    Ctl ctl;
    const QString q71 = ctl.path("q71.cfg"), q72 = ctl.path("q72.cfg"), damaged = ctl.path("d.cfg"),
                  other = ctl.path("o.cfg");
    QVERIFY(
        !image::writeConfigFile(q71, image::presetImage(DeviceModel::Q71, 2), DeviceModel::Q71));
    QVERIFY(
        !image::writeConfigFile(q72, image::presetImage(DeviceModel::Q72, 4), DeviceModel::Q72));
    image::ConfigImage broken = image::presetImage(DeviceModel::Q72, 1);
    broken[40] = 0x07; // recipient 2's number: a nibble of 12
    broken[41] = 0xC1;
    broken[144] = 250; // the equipment delay: no item
    QVERIFY(!image::writeConfigFile(damaged, broken, DeviceModel::Q72));
    QVERIFY(!image::writeConfigFile(other, canonical(DeviceModel::Q72, 5), DeviceModel::Q72));
    QList<QByteArray> documents;
    QStringList names;
    for (const QStringList &args : {QStringList{"show", "--json", q71},
                                    {"show", "--json", q72},
                                    {"show", "--json", damaged},
                                    {"diff", "--json", q72, other},
                                    {"diff", "--json", q72, q72},
                                    {"check", "--json", damaged},
                                    {"check", "--json", q71},
                                    {"keys", "--json"},
                                    {"keys", "--json", "--model", "q71"},
                                    {"check", "--json", ctl.path("missing.cfg")},
                                    {"info", "--json", "--port", ctl.path("no-port")},
                                    {"show", "--json"}}) {
        const Ctl::Result r = ctl.run(args);
        QVERIFY2(!r.out.isEmpty(), qPrintable(args.join(' ')));
        documents << r.out.toUtf8();
        names << args.join(' ');
    }
    // The schema named is the one beside the program.
    QCOMPARE(QUrl(json(QString::fromUtf8(documents[0]))["$schema"].toString()).toLocalFile(),
             ctl.path("q7xctl.schema.json"));
    const QStringList results = validated(documents, ctl.path({}));
    for (int i = 0; i < results.size(); ++i)
        QVERIFY2(results[i] == "ok", qPrintable(names.value(i) + ": " + results[i]));
    QCOMPARE(results.size(), documents.size());
}

// Documents that the program would refuse are refused by the schema too, so an editor that
// checks a file against it finds the mistake before q7xctl does.
void TestCliFleet::schemaRefusesWhatTheProgramWouldNotRead() {
    Ctl ctl;
    const QString file = ctl.path("a.cfg");
    QVERIFY(
        !image::writeConfigFile(file, image::presetImage(DeviceModel::Q72, 1), DeviceModel::Q72));
    const QJsonObject root = json(ctl.run({"show", "--json", file}).out);
    // The document with one value put in at the path of its key.
    const auto edited = [&](const QString &key, const QJsonValue &value) {
        const QStringList path = ("settings." + key).split('.');
        std::function<QJsonObject(QJsonObject, int)> put = [&](QJsonObject o, int at) {
            o[path[at]] = at + 1 == path.size() ? value : put(o[path[at]].toObject(), at + 1);
            return o;
        };
        return QJsonDocument(put(root, 0)).toJson();
    };
    const QList<QByteArray> wrong{
        edited("checkConnect", 25),
        edited("checkConnect", "20"),
        edited("partitions.1.object", 1000),
        edited("recipients.9.phone", "+7"),
        edited("recipients.1.confirm", "yes"),
        edited("groups.1.password", "12a"),
        edited("pauseDial", 5), // a Q71 setting
        QByteArray(R"({"format": "q7xctl-settings", "version": 1, "settings": {}})")};
    QList<QByteArray> documents;
    for (const QByteArray &doc : wrong) {
        QJsonObject o = QJsonDocument::fromJson(doc).object();
        o["$schema"] = root["$schema"];
        documents << QJsonDocument(o).toJson();
    }
    const QStringList results = validated(documents, ctl.path({}));
    QCOMPARE(results.size(), documents.size());
    for (int i = 0; i < results.size(); ++i)
        QVERIFY2(results[i] != "ok", qPrintable(QString::number(i)));
    // Some settings alone, as set --from takes them, are a document of their own.
    const QJsonObject some{
        {"$schema", root["$schema"]},
        {"format", "q7xctl-settings"},
        {"version", 2},
        {"settings",
         QJsonObject{{"recipients", QJsonObject{{"1", QJsonObject{{"phone", "+7"}}}}}}}};
    QCOMPARE(validated({QJsonDocument(some).toJson()}, ctl.path({})), QStringList{"ok"});
}

void TestCliFleet::keysListEveryKeyWithItsValues() {
    Ctl ctl;
    const Ctl::Result r = ctl.run({"keys", "--model", "q72", "--json"});
    QCOMPARE(r.status, 0);
    const QJsonArray models = json(r.out)["models"].toArray();
    QCOMPARE(models.size(), 1);
    QHash<QString, QJsonObject> keys;
    for (const QJsonValue k : models[0]["keys"].toArray())
        keys.insert(k["key"].toString(), k.toObject());
    QCOMPARE(keys.size(), image::catalogueQ72().size());
    QCOMPARE(keys["checkConnect"]["unit"].toString(), "s");
    QCOMPARE(keys["checkConnect"]["items"][1]["value"].toInt(), 20);
    QCOMPARE(keys["recipients.3.notification"]["items"][10]["value"].toString(), "smsBlitz");
    QVERIFY(!keys["recipients.3.notification"]["items"][10]["caption"].toString().isEmpty());
    QCOMPARE(keys["partitions.1.object"]["maximum"].toInt(), 999);
    QCOMPARE(keys["partitions.1.group"]["settable"], QJsonValue(false));
    QCOMPARE(keys["relay.mode"]["derived"], QJsonValue(true));
    QCOMPARE(keys["relay.mode"]["settable"], QJsonValue(true));
    QCOMPARE(keys["recipients.1.phone"]["type"].toString(), "text");
    // For people: one block a key, key first, in the interface language's words.
    Ctl::Result text = ctl.run({"--lang", "ru", "keys", "--model", "q71"});
    QVERIFY(text.out.startsWith("Q71\nworkMode  list  "));
    QVERIFY(text.out.contains("\nrecipients.1.phone  text  "));
    QVERIFY(!text.out.contains("\nsmsCentre "));
}

void TestCliFleet::perDeviceValuesAreReadAsSpreadsheetsWriteThem() {
    lang::LoadMessageTable(lang::LangEnglish, QFileInfo(QStringLiteral(Q7XCTL_PATH)).path());
    // Semicolons, quotes around a value with the separator, a mark in front, line ends of both
    // kinds, a blank line, and an empty value that leaves its setting alone.
    const cli::Sites s =
        cli::readSites("\xEF\xBB\xBFpartitions.1.object;recipients.1.phone;ownNames.1\r\n"
                       "12;+79001112233;\"Дом; двор\"\r\n"
                       "\n"
                       "13;;\"say \"\"hi\"\"\"\n",
                       "sites.csv");
    QCOMPARE(s.errors, QStringList());
    QCOMPARE(s.keys, QStringList({"partitions.1.object", "recipients.1.phone", "ownNames.1"}));
    QCOMPARE(s.rows.size(), 2);
    QCOMPARE(s.lines, QList<int>({2, 4}));
    QCOMPARE(s.rows[0][2].text, "Дом; двор");
    QCOMPARE(s.rows[1].size(), 2);
    QCOMPARE(s.rows[1][1].text, "say \"hi\"");
    QCOMPARE(s.rows[1][0].origin, lang::FormatM(1929, {"sites.csv", "4"}));
    // A value in quotes may hold a line end; the next row keeps its own line number.
    const cli::Sites multi = cli::readSites("ownNames.1,checkConnect\n\"a\nb\",20\nc,30\n", "m");
    QCOMPARE(multi.errors, QStringList());
    QCOMPARE(multi.rows[0][0].text, "a\nb");
    QCOMPARE(multi.lines, QList<int>({2, 4}));

    QCOMPARE(cli::readSites("a,b\n1,2,3\n", "f").errors,
             QStringList({lang::FormatM(1928, {"f", "2", "3", "2"})}));
    QCOMPARE(cli::readSites("a,a\n1,2\n", "f").errors,
             QStringList({lang::FormatM(1927, {"f", "a"})}));
    QCOMPARE(cli::readSites("a,\n1,2\n", "f").errors,
             QStringList({lang::FormatM(1927, {"f", ""})}));
    QCOMPARE(cli::readSites("", "f").errors, QStringList({lang::FormatM(1926, "f")}));
    QCOMPARE(cli::readSites("a\n\"1\n", "f").errors.value(0), lang::FormatM(1925, "f"));
    QCOMPARE(cli::readSites("a\n", "f").errors, QStringList({lang::FormatM(1930, "f")}));
}

void TestCliFleet::logLinesAreCsvAndBackupsNeverReplaceAFile() {
    lang::LoadMessageTable(lang::LangEnglish, QFileInfo(QStringLiteral(Q7XCTL_PATH)).path());
    cli::LogEntry e;
    e.port = "/dev/tty,USB0";
    e.model = "Q72";
    e.firmware = "1_3";
    e.action = "clone";
    e.status = 0;
    e.sha256 = "ab";
    e.backup = "b \"1\".cfg";
    QCOMPARE(cli::FleetLog::line(e, "2025-03-09T07:05:42+03:00"),
             "2025-03-09T07:05:42+03:00,\"/dev/tty,USB0\",Q72,1_3,clone,written,0,ab,"
             "\"b \"\"1\"\".cfg\"");
    e.result = cli::LogEntry::Result::Skipped;
    e.status = 2;
    QVERIFY(cli::FleetLog::line(e, "t").contains(",clone,skipped,2,"));

    // A new log names its columns once; lines are appended, never replacing the file.
    QTemporaryDir dir;
    const QString path = dir.filePath("log.csv");
    cli::Run run;
    for (int n = 0; n < 2; ++n) {
        std::optional<cli::FleetLog> log = cli::FleetLog::open(run, path);
        QVERIFY(log);
        QVERIFY(log->append(run, e));
    }
    const QList<QByteArray> lines = fileBytes(path).split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], cli::FleetLog::header());
    QVERIFY(lines[1].endsWith(",clone,skipped,2,ab,\"b \"\"1\"\".cfg\""));
    QVERIFY(QDateTime::fromString(QString::fromLatin1(lines[2]).section(QLatin1Char(','), 0, 0),
                                  Qt::ISODate)
                .isValid());
    QVERIFY(!cli::FleetLog::open(run, dir.path()));
    QCOMPARE(run.complaints().last(), lang::FormatM(1924, {dir.path(), M(1852)}));

    // Runs backing up devices side by side: a file that takes the backup's name between the look
    // and the rename is kept, and the backup takes the next name.
    struct Racing : cli::FileSystem {
        int rename(const QByteArray &from, const QByteArray &to, bool replace) override {
            if (!std::exchange(raced, true))
                writeFile(QFile::decodeName(to), "theirs");
            return FileSystem::rename(from, to, replace);
        }
        bool raced = false;
    } racing;
    const image::ConfigImage held = image::presetImage(DeviceModel::Q72, 2);
    const QString kept = cli::keepBackup(run, dir.path(), DeviceModel::Q72, "1_3", held, racing);
    QVERIFY2(kept.endsWith("-Q72-1_3-2.cfg"), qPrintable(kept));
    QCOMPARE(*image::readConfigFile(kept).image, held);
    QCOMPARE(fileBytes(QString(kept).replace("-2.cfg", ".cfg")), QByteArray("theirs"));
    QCOMPARE(QDir(dir.path()).entryList({".q7xctl-*"}, QDir::Hidden | QDir::Files), QStringList());
}

// A log or backup that cannot be kept, and values a batch cannot take, are said before any port
// is opened (the port here does not exist, which would give status 3).
void TestCliFleet::deviceOptionsAreCheckedBeforeThePortOpens() {
    Ctl ctl;
    const QString file = ctl.path("a.cfg"), port = ctl.path("no-port"),
                  sites = ctl.path("sites.csv");
    QVERIFY(!image::writeConfigFile(file, canonical(DeviceModel::Q72, 1), DeviceModel::Q72));
    QCOMPARE(ctl.run({"set", "--port", port, "checkConnect=30", "--log", ctl.path({})}).status, 2);
    QCOMPARE(ctl.run({"set", "--port", port, "checkConnect=30", "--backup", ctl.path("none")}).err,
             said({lang::FormatM(1840, ctl.path("none"))}));
    QCOMPARE(ctl.run({"set", file, "checkConnect=30", "--log", ctl.path("l.csv")}).err,
             said({M(1939)}));
    QCOMPARE(ctl.run({"write", "--port", port, file, "--log", ctl.path({})}).status, 2);
    writeFile(sites, "partitions.1.object,checkConnect\n12,30\n13,25\n");
    const Ctl::Result clone = ctl.run({"clone", file, "--port", port, "--per-device", sites});
    QCOMPARE(clone.status, 2);
    QVERIFY2(clone.err.startsWith("q7xctl: " + lang::FormatM(1929, {sites, "3"}) + ": ") &&
                 clone.err.contains("checkConnect") && clone.err.endsWith(said({M(1830)})),
             qPrintable(clone.err));
    QCOMPARE(ctl.run({"clone", file, "--port", port, "--backup", ctl.path("none")}).status, 2);
    QVERIFY(!QFile::exists(ctl.path("l.csv")));
}

QTEST_MAIN(TestCliFleet)
#include "tst_cli_fleet.moc"
