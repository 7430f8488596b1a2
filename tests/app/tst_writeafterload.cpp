// What a tool writes to a device from a file is what the window's Write sends after Load of the
// same file: the twelve factory presets and seeded random configurations of both models, loaded
// into a window on line that shows the factory settings, written to a simulated device.
#include "image/configfile.h"
#include "image/normalize.h"
#include "lang/ini.h"
#include "windowbench.h"

#include "../image/seededsettings.h"

#include <QTemporaryDir>

using namespace q7x;
using core::DeviceModel;
using test::S;

namespace {

constexpr int SeededFiles = 100;

// The window's state that a Load keeps where the file has nothing to show: the factory settings,
// with no user names and no remote command ticked.
void showFactorySettings(app::TMainForm &w) {
    w.DefaultButtonClick(w.DefaultButton);
    const pages::Controls &c = w.controls();
    for (const char *family : {"OwnName", "OwnNameE", "OwnNameP"})
        for (int n = 1; n <= 4; ++n) {
            c.labeledEdit(S(family), n)->setText(QString());
            c.labeledEdit(S(family), n)->hide();
        }
    for (const char *kind : {"vz", "sn", "st", "start", "stop"})
        for (int k = 1; k <= 16; ++k)
            c.check(S(kind), k)->setChecked(false);
}

// The image bytes a write puts into the device's memory.
QByteArray written(const sim::DeviceSim &d) {
    if (d.model() == sim::Model::Q71)
        return QByteArray(reinterpret_cast<const char *>(d.q71Image.data()), 320);
    QByteArray out(reinterpret_cast<const char *>(d.memory.data()), 256);
    out += QByteArray(reinterpret_cast<const char *>(d.memory.data() + 0x102), 96);
    out += QByteArray(reinterpret_cast<const char *>(d.memory.data() + 0x1A0), 96);
    return out;
}

QByteArray sentPart(const image::ConfigImage &img, DeviceModel model) {
    const char *bytes = reinterpret_cast<const char *>(img.data());
    if (model == DeviceModel::Q71)
        return QByteArray(bytes, 320);
    return QByteArray(bytes, 352) + QByteArray(bytes + 416, 96);
}

QString firstDifference(const QByteArray &a, const QByteArray &b) {
    for (int i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return S("written byte %1: window %2, tool %3")
                .arg(i)
                .arg(quint8(a[i]))
                .arg(quint8(b[i]));
    return {};
}

} // namespace

class TestWriteAfterLoad : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QFile::remove(lang::IniPath()); }
    void toolWritesWhatWindowWrites_data();
    void toolWritesWhatWindowWrites();
};

void TestWriteAfterLoad::toolWritesWhatWindowWrites_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::newRow("Q71") << DeviceModel::Q71;
    QTest::newRow("Q72") << DeviceModel::Q72;
}

void TestWriteAfterLoad::toolWritesWhatWindowWrites() {
    QFETCH(DeviceModel, model);
    const bool q71 = model == DeviceModel::Q71;
    QTemporaryDir dir;
    QList<image::ConfigImage> files;
    for (int mode = 0; mode < image::PresetWorkModeCount; ++mode)
        files << image::presetImage(model, mode);
    // Seeded configurations, with few objects so that partitions share them; one whose value no
    // list shows is refused for that reason alone.
    image::Seeded seeded(1307u + unsigned(core::modelCode(model)));
    seeded.objectPool = {0, 1, 1, 2, 7, 12, 999};
    while (files.size() < image::PresetWorkModeCount + SeededFiles) {
        const image::Encoded e =
            q71 ? image::encodeQ71(seeded.q71()) : image::encodeQ72(seeded.q72());
        QVERIFY(e.ok());
        const QStringList unshown = q71 ? image::unshownValues(image::decodeQ71(e.image).settings)
                                        : image::unshownValues(image::decodeQ72(e.image).settings);
        const image::Encoded tool = image::imageToWrite(model, e.image, std::nullopt);
        QCOMPARE(tool.ok(), unshown.isEmpty());
        if (tool.ok())
            files << e.image;
    }

    test::WindowBench bench(test::Transport::Com, q71 ? sim::Model::Q71 : sim::Model::Q72);
    app::TMainForm &w = bench.w;
    QVERIFY(bench.connect());
    const QString languages[] = {lang::LangRussian, lang::LangEnglish, lang::LangTurkish, {}};
    const std::optional<image::WriteLanguage> stamps[] = {
        image::WriteLanguage::Russian, image::WriteLanguage::English, image::WriteLanguage::Turkish,
        std::nullopt};
    int compared = 0;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = dir.filePath(S("%1.cfg").arg(i));
        QVERIFY(!image::writeConfigFile(path, files[i], model));
        const image::Encoded tool = image::imageToWrite(model, files[i], stamps[i % 4]);
        QVERIFY2(tool.ok(), qPrintable(S("file %1: %2").arg(i).arg(tool.error)));
        QVERIFY(lang::WriteIniValue(S("Lang"), S("Default"), languages[i % 4]));

        showFactorySettings(w);
        bench.dialogs.fileNames = {path};
        w.LoadButtonClick(w.LoadButton);
        bench.dialogs.clear();
        w.WriteButtonClick(w.WriteButton);
        QVERIFY(bench.settle());
        QCOMPARE(w.statusText(), S("M1039"));
        const QByteArray window = written(bench.device());
        const QByteArray sent = sentPart(tool.image, model);
        QVERIFY2(window == sent,
                 qPrintable(S("file %1: %2").arg(i).arg(firstDifference(window, sent))));
        ++compared;
    }
    QCOMPARE(compared, 6 + SeededFiles);
}

QTEST_MAIN(TestWriteAfterLoad)
#include "tst_writeafterload.moc"
