// What a tool writes to a device from a file is what the window stores after Load of the same
// file: the twelve factory presets and seeded configurations of both models (object groups that
// do not follow their objects, user names on unused partitions, values that no list shows),
// loaded into a freshly started window as it comes up, and into one window after other files and
// Default, then saved.
#include "image/configfile.h"
#include "image/formload.h"
#include "image/presets.h"
#include "lang/ini.h"
#include "testsupport.h"

#include "app/mainform.h"

#include "../image/seededsettings.h"

#include <QTemporaryDir>

#include <random>

using namespace q7x;
using core::DeviceModel;
using image::ConfigImage;

namespace {

QString S(const char *s) { return QString::fromUtf8(s); }

constexpr int SeededFiles = 140;

QString firstDifference(const ConfigImage &window, const ConfigImage &tool) {
    for (std::size_t i = 0; i < window.size(); ++i)
        if (window[i] != tool[i])
            return S("byte %1: window %2, tool %3").arg(i).arg(window[i]).arg(tool[i]);
    return {};
}

// The files: the presets, the cases met in the field, and seeded configurations whose damaged
// fields are left out (the tool refuses those).
QList<ConfigImage> files(DeviceModel model) {
    const bool q71 = model == DeviceModel::Q71;
    QList<ConfigImage> out;
    for (int mode = 0; mode < image::PresetWorkModeCount; ++mode)
        out << image::presetImage(model, mode);
    if (!q71) {
        // The mode-1 preset with no partition in an object group, or all in group 2: the group's
        // commands and password follow the objects the window shows.
        for (int group : {0, 2}) {
            ConfigImage img = image::presetImage(model, 1);
            for (int b = 192; b <= 207; ++b)
                img[std::size_t(b)] = std::uint8_t(group);
            out << img;
        }
    }
    image::Seeded seeded(1307u + unsigned(core::modelCode(model)));
    seeded.objectPool = {0, 1, 1, 2, 7, 12, 999};
    std::mt19937 rng(77u + unsigned(core::modelCode(model)));
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    while (out.size() < image::PresetWorkModeCount + SeededFiles) {
        const image::Encoded e =
            q71 ? image::encodeQ71(seeded.q71()) : image::encodeQ72(seeded.q72());
        if (!e.ok())
            continue;
        ConfigImage img = e.image;
        const int variant = pick(4);
        if (!q71 && variant == 0) // object groups of their own
            for (int b = 192; b <= 207; ++b)
                img[std::size_t(b)] = std::uint8_t(pick(4));
        if (!q71 && variant == 1) // user names that no partition uses
            for (int b = 416; b < 464; ++b)
                img[std::size_t(b)] = std::uint8_t(pick(3) ? 'a' + pick(26) : 0);
        if (variant == 2) { // a value that no list shows: line type 3, partition period 5
            if (q71)
                img[15] = std::uint8_t(img[15] | 0x03);
            else
                img[160] = 5;
        }
        if (!q71 && !image::decodeQ72(img).errors.isEmpty())
            continue;
        out << img;
    }
    return out;
}

struct Window {
    pages::RecordingDialogs dialogs;
    app::TMainForm w{&dialogs};
    explicit Window(DeviceModel model) {
        w.show();
        if (model == DeviceModel::Q71)
            test::choose(w.Mode, 0);
    }
    // Load of `path`, then Save: the image the window stores.
    ConfigImage loadAndSave(const QString &path, const QString &saved) {
        dialogs.fileNames = {path};
        w.LoadButtonClick(w.LoadButton);
        QFile::remove(saved);
        dialogs.fileNames = {saved};
        w.SaveButtonClick(w.SaveButton);
        const image::ConfigFileRead read = image::readConfigFile(saved);
        return read.image ? *read.image : ConfigImage{};
    }
};

} // namespace

class TestWriteAfterLoad : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { test::writeIni("[Lang]\nDefault=Russian\n"); }
    void cleanupTestCase() { QFile::remove(lang::IniPath()); }
    void toolStoresWhatWindowStores_data();
    void toolStoresWhatWindowStores();
    void toolRefusesWhatWindowWouldGuess();
};

void TestWriteAfterLoad::toolStoresWhatWindowStores_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::addColumn<bool>("afterDefault");
    for (bool afterDefault : {false, true}) {
        QTest::addRow("Q71%s", afterDefault ? " after Default" : "")
            << DeviceModel::Q71 << afterDefault;
        QTest::addRow("Q72%s", afterDefault ? " after Default" : "")
            << DeviceModel::Q72 << afterDefault;
    }
}

void TestWriteAfterLoad::toolStoresWhatWindowStores() {
    QFETCH(DeviceModel, model);
    QFETCH(bool, afterDefault);
    QTemporaryDir dir;
    const QString path = dir.filePath(S("in.cfg")), saved = dir.filePath(S("out.cfg"));
    const QList<ConfigImage> all = files(model);
    std::unique_ptr<Window> shared;
    if (afterDefault)
        shared = std::make_unique<Window>(model);
    int compared = 0;
    for (int i = 0; i < all.size(); ++i) {
        // After other files and Default, a value that no list shows keeps what the window chose
        // by then; a tool refuses such a file, so only a fresh window is compared for it.
        const bool unshown =
            !(model == DeviceModel::Q71 ? image::unshownValues(image::decodeQ71(all[i]).settings)
                                        : image::unshownValues(image::decodeQ72(all[i]).settings))
                 .isEmpty();
        if (afterDefault && unshown)
            continue;
        QVERIFY(!image::writeConfigFile(path, all[i], model));
        ConfigImage window{};
        if (afterDefault) {
            // Another file first, then the factory settings.
            QVERIFY(!image::writeConfigFile(dir.filePath(S("other.cfg")),
                                            all[(i * 37 + 11) % all.size()], model));
            shared->loadAndSave(dir.filePath(S("other.cfg")), saved);
            shared->w.DefaultButtonClick(shared->w.DefaultButton);
            window = shared->loadAndSave(path, saved);
        } else {
            window = Window(model).loadAndSave(path, saved);
        }
        const image::Encoded tool = image::writeAfterLoad(model, all[i]);
        QVERIFY2(tool.ok(), qPrintable(S("file %1: %2").arg(i).arg(tool.error)));
        QVERIFY2(window == tool.image,
                 qPrintable(S("file %1: %2").arg(i).arg(firstDifference(window, tool.image))));
        ++compared;
    }
    QVERIFY(compared >= 100);
}

// A value that no list shows is kept by the window as its own choice; the tool refuses the file
// rather than send that choice, and says which setting it is.
void TestWriteAfterLoad::toolRefusesWhatWindowWouldGuess() {
    ConfigImage img = image::presetImage(DeviceModel::Q72, 1);
    img[160] = 5; // the partition period: not a period code
    const image::Encoded e = image::imageToWrite(DeviceModel::Q72, img, std::nullopt);
    QVERIFY(!e.ok());
    QCOMPARE(e.key, S("periodRzd"));
    img = image::presetImage(DeviceModel::Q72, 1);
    img[193] = 17; // a group number out of range: a damaged field
    QVERIFY(!image::imageToWrite(DeviceModel::Q72, img, std::nullopt).ok());
    QVERIFY(image::imageToWrite(DeviceModel::Q72, image::presetImage(DeviceModel::Q72, 1),
                                image::WriteLanguage::English)
                .ok());
}

QTEST_MAIN(TestWriteAfterLoad)
#include "tst_writeafterload.moc"
