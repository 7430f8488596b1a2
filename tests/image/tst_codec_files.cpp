// Saving and loading configuration files through the window: dialogs, messages, the model check,
// and every failure leaving both the window and the files as they were.
#include "codecfixture.h"
#include "image/configfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace codectest;
using pages::Dialogs;

namespace {

const QString Filter = S("Файлы конфигурации (*.cfg);;Все файлы (*)");

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// The file lines of an image: 702 byte lines and the model line.
QList<QByteArray> lines(const ConfigImage &img, int model) {
    QList<QByteArray> out;
    for (auto b : img)
        out << QByteArray::number(b);
    out << QByteArray::number(model);
    return out;
}

QByteArray join(const QList<QByteArray> &l) {
    QByteArray out;
    for (const auto &line : l)
        out += line + "\r\n";
    return out;
}

// Some settings that differ from every preset.
void editSettings(Window &win) {
    auto &c = win.c();
    c.mask(S("PhoneNumber"), 2)->setText(S("+79035551234"));
    c.edit(S("RequestBalance"))->setText(S("*100#"));
    choose(c.combo(S("DelayRzd")), 7);
    c.edit(S("Edit3"))->setText(S("0042"));
}

} // namespace

class TstCodecFiles : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        numberMessages();
        QVERIFY(m_dir.isValid());
    }
    void saveThenLoad_givesTheSavedConfiguration();
    void cancelledDialogs_changeNothing();
    void otherModel_refusedWith1215();
    void loadQ71_andModuloAndExtraLines();
    void badFiles_clearMessageWindowUnchanged();
    void saveFailures_keepTheFiles();
    void sameFileInEveryInterfaceLanguage();
    void blitzRecipient_showsItsPage();

  private:
    QString path(const char *name) const { return m_dir.filePath(S(name)); }
    QTemporaryDir m_dir;
};

void TstCodecFiles::saveThenLoad_givesTheSavedConfiguration() {
    Window win;
    editSettings(win);
    const ConfigImage saved = win.encode();
    win.dialogs.fileNames << path("q72.cfg");
    image::SaveButtonClick(win.w());
    QCOMPARE(win.dialogs.shown.size(), 1);
    QCOMPARE(win.dialogs.shown[0].kind, S("save"));
    QCOMPARE(win.dialogs.shown[0].text, S("Q72"));
    QCOMPARE(win.dialogs.shown[0].caption, S("Записать конфигурацию в файл|") + Filter + S("|cfg"));
    QCOMPARE(win.w().statusText(), S("M1002"));
    QCOMPARE(readAll(path("q72.cfg")), join(lines(saved, 72)));

    image::DefaultButtonClick(win.w());
    QVERIFY(win.encode() != saved);
    win.w().VersionLabel->show();
    win.dialogs.clear();
    win.dialogs.fileNames << path("q72.cfg");
    image::LoadButtonClick(win.w());
    QCOMPARE(win.dialogs.shown.size(), 1);
    QCOMPARE(win.dialogs.shown[0].kind, S("open"));
    QCOMPARE(win.dialogs.shown[0].text, S("Q72.cfg"));
    QCOMPARE(win.dialogs.shown[0].caption, S("Считать конфигурацию из файла|") + Filter);
    QCOMPARE(win.w().statusText(), S("M1008"));
    QVERIFY(win.w().VersionLabel->isHidden());
    QVERIFY(win.encode() == saved);
    QCOMPARE(win.c().mask(S("PhoneNumber2"))->text(), S("+79035551234____"));

    // A second save replaces the file without asking.
    win.c().edit(S("RequestBalance"))->setText(S("#"));
    win.dialogs.clear();
    win.dialogs.fileNames << path("q72.cfg");
    image::SaveButtonClick(win.w());
    QCOMPARE(win.dialogs.texts(), QStringList());
    QCOMPARE(readAll(path("q72.cfg")), join(lines(win.encode(), 72)));
}

void TstCodecFiles::cancelledDialogs_changeNothing() {
    Window win(pages::ModelQ71);
    const ConfigImage before = win.encode();
    win.w().setStatusText(S("unchanged"));
    image::SaveButtonClick(win.w());
    image::LoadButtonClick(win.w());
    QCOMPARE(win.dialogs.shown.size(), 2);
    QCOMPARE(win.dialogs.shown[0].text, S("Q71"));
    QCOMPARE(win.dialogs.shown[1].text, S("Q71.cfg"));
    QCOMPARE(win.w().statusText(), S("unchanged"));
    QVERIFY(win.encode() == before);
    QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).filter(S("Q71")).isEmpty());
}

void TstCodecFiles::otherModel_refusedWith1215() {
    writeFile(path("from71.cfg"), join(lines(goldenPreset(71, 2), 71)));
    Window win;
    editSettings(win);
    const ConfigImage before = win.encode();
    win.w().VersionLabel->show();
    win.dialogs.fileNames << path("from71.cfg");
    image::LoadButtonClick(win.w());
    QCOMPARE(win.dialogs.texts(), QStringList{S("M1215")});
    QVERIFY(win.w().VersionLabel->isHidden());
    QVERIFY(win.encode() == before);
}

// A telephone-line file: numbers above 255 keep their low 8 bits, lines after 703 are ignored.
void TstCodecFiles::loadQ71_andModuloAndExtraLines() {
    QList<QByteArray> l = lines(goldenPreset(71, 1), 71);
    l[20] = "300";
    l << "garbage after the configuration"
      << "";
    writeFile(path("q71.cfg"), join(l));
    Window win(pages::ModelQ71);
    win.dialogs.fileNames << path("q71.cfg");
    image::LoadButtonClick(win.w());
    QCOMPARE(win.dialogs.texts(), QStringList());
    const ConfigImage img = win.encode();
    QCOMPARE(int(img[20]), 44);
    QCOMPARE(win.c().combo(S("PauseDial"))->itemIndex(), 12);  // 44 = 0x2C
    QCOMPARE(win.c().combo(S("PhrasePause"))->itemIndex(), 2); // high nibble
    QCOMPARE(win.w().Memo3->lines().value(20), S("44"));
}

// Short files, garbage lines and missing files name the file (and the line) and change nothing.
void TstCodecFiles::badFiles_clearMessageWindowUnchanged() {
    QList<QByteArray> good = lines(goldenPreset(72, 3), 72);
    QList<QByteArray> garbage = good;
    garbage[9] = "12a";
    QList<QByteArray> badModel = good;
    badModel[702] = "Q72";
    writeFile(path("short.cfg"), join(good.mid(0, 500)));
    writeFile(path("garbage.cfg"), join(garbage));
    writeFile(path("badmodel.cfg"), join(badModel));
    writeFile(path("empty.cfg"), QByteArray());
    const struct {
        const char *file;
        const char *mentions;
    } cases[] = {{"short.cfg", "line 500"},
                 {"garbage.cfg", "line 10"},
                 {"badmodel.cfg", "line 703"},
                 {"empty.cfg", "line 0"},
                 {"missing.cfg", "missing.cfg"}};
    Window win;
    editSettings(win);
    const ConfigImage before = win.encode();
    for (const auto &t : cases) {
        win.dialogs.clear();
        win.w().setStatusText(S("unchanged"));
        win.w().VersionLabel->show();
        win.dialogs.fileNames << path(t.file);
        image::LoadButtonClick(win.w());
        const QStringList texts = win.dialogs.texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts[0].contains(path(t.file)), qPrintable(texts[0]));
        QVERIFY2(texts[0].contains(S(t.mentions)), qPrintable(texts[0]));
        QCOMPARE(win.dialogs.shown.last().icon, Dialogs::Icon::Error);
        QCOMPARE(win.w().statusText(), S("unchanged"));
        QVERIFY(win.encode() == before);
        // The firmware version stays shown unless the model line was read.
        QCOMPARE(win.w().VersionLabel->isHidden(), QByteArray(t.file) == "garbage.cfg");
    }
}

// A file that cannot be written, and a configuration that cannot be stored, leave every file as
// it was and say why.
void TstCodecFiles::saveFailures_keepTheFiles() {
    Window win;
    const QByteArray old = join(lines(goldenPreset(72, 0), 72));
    writeFile(path("keep.cfg"), old);

    win.c().edit(S("Edit7"))->setText(S("511"));
    win.dialogs.fileNames << path("keep.cfg") << path("new.cfg");
    image::SaveButtonClick(win.w());
    image::SaveButtonClick(win.w());
    QStringList texts = win.dialogs.texts();
    QCOMPARE(texts.size(), 2);
    QVERIFY2(texts[0].contains(S("SMS-Blitz code 7")) && texts[0].contains(S("511")),
             qPrintable(texts[0]));
    QCOMPARE(readAll(path("keep.cfg")), old);
    QVERIFY(!QFile::exists(path("new.cfg")));
    win.c().edit(S("Edit7"))->setText(S("0512"));

    // The target is a folder, or lies in a folder that does not exist.
    QVERIFY(QDir(m_dir.path()).mkpath(S("folder.cfg")));
    for (const char *target : {"folder.cfg", "nowhere/q72.cfg"}) {
        win.dialogs.clear();
        win.w().setStatusText(S("unchanged"));
        win.dialogs.fileNames << path(target);
        image::SaveButtonClick(win.w());
        texts = win.dialogs.texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts[0].contains(path(target)), qPrintable(texts[0]));
        QCOMPARE(win.w().statusText(), S("unchanged"));
    }
    QVERIFY(QFileInfo(path("folder.cfg")).isDir());
    QVERIFY(!QDir(path("nowhere")).exists());
    QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).filter(S("folder")).isEmpty());

    // A read-only folder (not for the superuser, who may write anywhere).
    QVERIFY(QDir(m_dir.path()).mkpath(S("ro")));
    writeFile(path("ro/keep.cfg"), old);
    QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(path("ro/probe"));
    const bool writable = probe.open(QIODevice::WriteOnly);
    probe.close();
    QFile::remove(path("ro/probe"));
    if (!writable) {
        win.dialogs.clear();
        win.dialogs.fileNames << path("ro/keep.cfg");
        image::SaveButtonClick(win.w());
        QCOMPARE(win.dialogs.texts().size(), 1);
        QCOMPARE(readAll(path("ro/keep.cfg")), old);
    }
    QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Files carry no interface language.
void TstCodecFiles::sameFileInEveryInterfaceLanguage() {
    QByteArray first;
    for (const char *language : {"Russian", "English", "Turkish"}) {
        Window win(pages::ModelQ72, S(language));
        win.w().WorkModeComboBox->setItemIndex(2);
        image::DefaultButtonClick(win.w());
        editSettings(win);
        const QString file = m_dir.filePath(S(language) + S(".cfg"));
        win.dialogs.fileNames << file;
        image::SaveButtonClick(win.w());
        if (first.isEmpty())
            first = readAll(file);
        else
            QCOMPARE(readAll(file), first);
    }
    QCOMPARE(first.count("\r\n"), 703);
}

// A loaded recipient with SMS-Blitz shows the page of SMS-Blitz codes.
void TstCodecFiles::blitzRecipient_showsItsPage() {
    ConfigImage img = goldenPreset(72, 1);
    img[10] = 0x13;
    writeFile(path("blitz.cfg"), join(lines(img, 72)));
    Window win;
    auto *page = win.c().get<pages::TabSheet>(S("TabSheet14"));
    page->setTabVisible(false);
    win.dialogs.fileNames << path("blitz.cfg");
    image::LoadButtonClick(win.w());
    QCOMPARE(win.c().combo(S("TypeMesgGSM3"))->itemIndex(), 10);
    QVERIFY(page->tabVisible());
    QCOMPARE(int(win.encode()[10]), 0x13);
}

QTEST_MAIN(TstCodecFiles)
#include "tst_codec_files.moc"
