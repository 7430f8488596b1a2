// q7xctl's file commands as a script runs them: usage and exit statuses, factory presets, the
// JSON round trip, comparison, the check of damaged files and the configuration sheet.
#include "ctlprocess.h"
#include "image/configfile.h"
#include "image/presets.h"
#include "lang/windowtexts.h"
#include "seededsettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace q7x;
using test::Ctl;
using test::lines;
using test::M;

namespace {

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
  private slots:
    void usageErrorsExitWithTwo();
    void presetRefusesToReplaceAFileWithoutForce();
    void showJsonThenImportGivesTheSameFile();
    void diffExitsWithZeroOneOrTwo();
    void checkNamesEachBadFieldAndWriteRefusesTheFile();
    void showNamesSettingsAsTheWindowDoes();
    void reportMasksPasswordsUnlessAskedAndRefusesDamagedFiles();
};

void TestCli::usageErrorsExitWithTwo() {
    Ctl ctl;
    QCOMPARE(ctl.run({"--version"}).out, "q7xctl 2.0\n");
    for (const QStringList &args : {QStringList{},
                                    {"frobnicate"},
                                    {"--lang", "de", "check", "x"},
                                    {"preset", "--model", "q72", "--mode", "6", "-o", "x"},
                                    {"show"},
                                    {"diff", "a.cfg"},
                                    {"report", "-o", "x.pdf"}})
        QVERIFY2(ctl.run(args).status == 2, qPrintable(args.join(' ')));
    const Ctl::Result r = ctl.run({"info", "--port", "com11"});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err, lines({lang::FormatM(1815, QStringLiteral("com11"))}));
}

void TestCli::presetRefusesToReplaceAFileWithoutForce() {
    Ctl ctl;
    const QString file = ctl.path("p.cfg");
    const QStringList args{"preset", "--model", "q71", "--mode", "4", "-o", file};
    QCOMPARE(ctl.run(args).out, lines({lang::FormatM(1816, file)}));
    const QByteArray written = fileBytes(file);
    QCOMPARE(written, image::formatConfig(image::presetImage(image::DeviceModel::Q71, 4),
                                          image::DeviceModel::Q71));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));

    const Ctl::Result again =
        ctl.run(QStringList{"preset", "--model", "q72", "--mode", "1", "-o", file});
    QCOMPARE(again.status, 2);
    QCOMPARE(again.err, lines({lang::FormatM(1801, file)}));
    QCOMPARE(fileBytes(file), written);
    QCOMPARE(ctl.run(QStringList{"preset", "--model", "q72", "--mode", "1", "-o", file, "--force"})
                 .status,
             0);
    QCOMPARE(fileBytes(file), image::formatConfig(image::presetImage(image::DeviceModel::Q72, 1),
                                                  image::DeviceModel::Q72));
}

// Configurations the window or the tool stored, of both models, come back byte for byte.
void TestCli::showJsonThenImportGivesTheSameFile() {
    Ctl ctl;
    image::Seeded seeded(42);
    QList<QPair<image::DeviceModel, image::ConfigImage>> configs;
    for (int n = 0; n < 3; ++n) {
        configs.append({image::DeviceModel::Q72, image::encodeQ72(seeded.q72()).image});
        configs.append({image::DeviceModel::Q71, image::encodeQ71(seeded.q71()).image});
    }
    for (int i = 0; i < configs.size(); ++i) {
        const QString cfg = ctl.path(QStringLiteral("%1.cfg").arg(i));
        const QString json = ctl.path(QStringLiteral("%1.json").arg(i));
        const QString back = ctl.path(QStringLiteral("%1-back.cfg").arg(i));
        QVERIFY(!image::writeConfigFile(cfg, configs[i].second, configs[i].first));
        const Ctl::Result shown = ctl.run({"show", "--json", cfg});
        QCOMPARE(shown.status, 0);
        QFile out(json);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(shown.out.toUtf8());
        out.close();
        QCOMPARE(ctl.run({"import", json, "-o", back}).status, 0);
        QCOMPARE(fileBytes(back), fileBytes(cfg));
    }

    // A setting the JSON lacks, one it does not know, and a value of the wrong kind.
    const QString json = ctl.path("0.json");
    QJsonObject root = QJsonDocument::fromJson(fileBytes(json)).object();
    QJsonObject settings = root["settings"].toObject();
    const auto refused = [&](const QJsonObject &s) {
        QJsonObject r = root;
        r["settings"] = s;
        QFile f(ctl.path("bad.json"));
        f.open(QIODevice::WriteOnly);
        f.write(QJsonDocument(r).toJson());
        f.close();
        const Ctl::Result result = ctl.run({"import", f.fileName(), "-o", ctl.path("bad.cfg")});
        return QString::number(result.status) + ' ' + result.err;
    };
    const QString bad = ctl.path("bad.json");
    QJsonObject s = settings;
    s.remove("pin");
    QCOMPARE(refused(s), "2 " + lines({lang::FormatM(1812, {bad, "pin"})}));
    s = settings;
    s["pinCode"] = "1234";
    QCOMPARE(refused(s), "2 " + lines({lang::FormatM(1811, {bad, "pinCode"})}));
    s = settings;
    s["workMode"] = "1";
    QCOMPARE(refused(s), "2 " + lines({lang::FormatM(1813, {bad, "workMode"})}));
    QVERIFY(!QFile::exists(ctl.path("bad.cfg")));
}

void TestCli::diffExitsWithZeroOneOrTwo() {
    Ctl ctl;
    const QString a = ctl.path("a.cfg"), b = ctl.path("b.cfg"), q71 = ctl.path("q71.cfg");
    image::ConfigImage other = image::presetImage(image::DeviceModel::Q72, 2);
    other[32] = 0x07; // recipient 1's number
    other[33] = 0x91;
    QVERIFY(!image::writeConfigFile(a, image::presetImage(image::DeviceModel::Q72, 2),
                                    image::DeviceModel::Q72));
    QVERIFY(!image::writeConfigFile(b, other, image::DeviceModel::Q72));
    QVERIFY(!image::writeConfigFile(q71, image::presetImage(image::DeviceModel::Q71, 2),
                                    image::DeviceModel::Q71));

    const Ctl::Result same = ctl.run({"diff", a, a});
    QCOMPARE(same.status, 0);
    QCOMPARE(same.out, lines({M(1827)}));
    const Ctl::Result differ = ctl.run({"diff", "--json", a, b});
    QCOMPARE(differ.status, 1);
    const QJsonArray diffs = QJsonDocument::fromJson(differ.out.toUtf8())["differences"].toArray();
    QCOMPARE(diffs.size(), 1);
    QCOMPARE(diffs[0]["key"].toString(), "recipients.1.phone");
    QCOMPARE(diffs[0]["b"].toString(), "+791");
    const Ctl::Result models = ctl.run({"diff", a, q71});
    QCOMPARE(models.status, 2);
    QCOMPARE(models.err, lines({lang::FormatM(1829, {"Q72", "Q71"})}));
}

// Each damaged field, each value no list shows and each value that cannot be stored is named
// with its line; such a file is refused before any port is opened.
void TestCli::checkNamesEachBadFieldAndWriteRefusesTheFile() {
    Ctl ctl;
    const QString clean = ctl.path("clean.cfg"), q72 = ctl.path("q72.cfg"),
                  q71 = ctl.path("q71.cfg");
    image::ConfigImage img = image::presetImage(image::DeviceModel::Q72, 1);
    QVERIFY(!image::writeConfigFile(clean, img, image::DeviceModel::Q72));
    QCOMPARE(ctl.run({"check", clean}).out, lines({M(1824)}));
    img[40] = 0x07; // recipient 2's number: a nibble of 12
    img[41] = 0xC1;
    img[144] = 250; // equipment delay: no item
    QVERIFY(!image::writeConfigFile(q72, img, image::DeviceModel::Q72));
    img = image::presetImage(image::DeviceModel::Q71, 2);
    img[1] = 0x19;   // work mode 9: no item
    img[132] = 0xC0; // digital code 1 reads 1200: cannot be stored in three digits
    QVERIFY(!image::writeConfigFile(q71, img, image::DeviceModel::Q71));
    QStringList found;
    for (const QString &file : {q72, q71}) {
        const Ctl::Result r = ctl.run({"check", "--json", file});
        QCOMPARE(r.status, 2);
        for (const QJsonValue p : QJsonDocument::fromJson(r.out.toUtf8())["problems"].toArray())
            found << QStringLiteral("%1 %2 %3")
                         .arg(p["line"].toInt())
                         .arg(p["kind"].toString(), p["key"].toString());
    }
    QCOMPARE(found, QStringList({"41 damaged recipients.2.phone", "145 unshown delayHardware",
                                 "1 unshown workMode", "133 unstorable digitalCodes.1"}));
    const Ctl::Result text = ctl.run({"check", q72});
    QCOMPARE(text.out.split('\n').value(0).left(text.out.indexOf(':')),
             lang::FormatM(1820, {"41", "40"}));

    const Ctl::Result write = ctl.run({"write", "--port", ctl.path("no-such-port"), q71});
    QCOMPARE(write.status, 2);
    QVERIFY(write.err.endsWith(lines({M(1830)})));
}

// Pages and captions come from the language libraries, items translated.
void TestCli::showNamesSettingsAsTheWindowDoes() {
    Ctl ctl;
    const QString file = ctl.path("p.cfg");
    QVERIFY(!image::writeConfigFile(file, image::presetImage(image::DeviceModel::Q72, 3),
                                    image::DeviceModel::Q72));
    const lang::WindowTexts texts = lang::WindowTexts::load(lang::LangEnglish, ctl.path({}));
    const QString mainPage = texts.text("rsMainForm_TabSheet1_Caption");
    const QString workMode = texts.text("rsMainForm_Label2_Caption").remove(':').simplified() +
                             ": " + texts.text("rsMainForm_WorkModeComboBox_Item3").trimmed();
    const QStringList shown = ctl.run({"show", file}).out.split('\n');
    QCOMPARE(shown.value(0), mainPage);
    QCOMPARE(shown.value(1), "  " + workMode);
}

// The sheet's text, as a reader of the PDF file finds it.
void TestCli::reportMasksPasswordsUnlessAskedAndRefusesDamagedFiles() {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    Ctl ctl;
    image::Q72Settings s =
        image::decodeQ72(image::presetImage(image::DeviceModel::Q72, 1)).settings;
    s.pin = "4729";
    const QString file = ctl.path("p.cfg");
    QVERIFY(!image::writeConfigFile(file, image::encodeQ72(s).image, image::DeviceModel::Q72));
    const auto sheetText = [&](const QStringList &options) {
        const QString pdf = ctl.path("sheet.pdf");
        const Ctl::Result r = ctl.run(QStringList{"report", file, "-o", pdf, "--force"} + options);
        QProcess text;
        text.start(pdftotext, {pdf, "-"});
        text.waitForFinished();
        return QString::number(r.status) + ' ' + QString::fromUtf8(text.readAllStandardOutput());
    };
    const QString masked = sheetText({}), shown = sheetText({"--include-passwords"});
    const lang::WindowTexts texts = lang::WindowTexts::load(lang::LangEnglish, ctl.path({}));
    const QString workMode = texts.text("rsMainForm_Label2_Caption").remove(':').simplified();
    QVERIFY2(masked.startsWith("0 ") && masked.contains(workMode), qPrintable(masked));
    QVERIFY(!masked.contains("4729"));
    QVERIFY2(shown.startsWith("0 ") && shown.contains("4729"), qPrintable(shown));

    // A damaged field would be printed as its fall-back value: no sheet.
    image::ConfigImage damaged = image::encodeQ72(s).image;
    damaged[40] = 0x07; // recipient 2's number: a nibble of 12
    damaged[41] = 0xC1;
    QVERIFY(!image::writeConfigFile(file, damaged, image::DeviceModel::Q72));
    QCOMPARE(ctl.run({"report", file, "-o", ctl.path("damaged.pdf")}).status, 2);
    QVERIFY(!QFile::exists(ctl.path("damaged.pdf")));
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
