// The codecs between image and window: presets through the window, the encoders' byte rules and
// failures, the checks of the GSM model's decoder with their messages and fall-backs, and saving
// and loading configuration files through the window.
#include "codecfixture.h"
#include "image/configfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace codectest;
using pages::Dialogs;

namespace {

int groupCount(const ConfigImage &img) {
    return *std::max_element(img.begin() + 192, img.begin() + 208);
}

QString caption(Window &win, const char *label) { return win.c().label(S(label))->caption(); }

// Sets controls as the code does from "Name=value;...": a list takes the item, a tick 0 or 1,
// an edit the text. "Name3..16=v" sets members 3 to 16 of a family; "row<o>=a b c" the object
// password row o.
void apply(Window &win, const char *settings) {
    static const QRegularExpression family(QStringLiteral("^(\\D+)(\\d+)\\.\\.(\\d+)$"));
    for (const QString &s : QString::fromUtf8(settings).split(QLatin1Char(';'))) {
        const QString key = s.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = s.section(QLatin1Char('='), 1);
        if (key.startsWith(S("row"))) {
            const QStringList b = value.split(QLatin1Char(' '));
            win.w().setPasswordRow(
                key.mid(3).toInt(),
                {b[0].toInt(nullptr, 0), b[1].toInt(nullptr, 0), b[2].toInt(nullptr, 0)});
            continue;
        }
        QStringList names{key};
        if (const auto m = family.match(key); m.hasMatch()) {
            names.clear();
            for (int i = m.captured(2).toInt(); i <= m.captured(3).toInt(); ++i)
                names << m.captured(1) + QString::number(i);
        }
        for (const QString &name : names) {
            QWidget *w = win.c().widget(name);
            if (auto *list = qobject_cast<pages::ComboBox *>(w))
                list->setItemIndex(value.toInt());
            else if (auto *box = qobject_cast<pages::CheckBox *>(w))
                box->setChecked(value == S("1"));
            else if (auto *mask = qobject_cast<pages::MaskEdit *>(w))
                mask->setText(value);
            else if (auto *labeled = qobject_cast<pages::LabeledEdit *>(w))
                labeled->setText(value);
            else
                qobject_cast<pages::Edit *>(w)->setText(value);
        }
    }
}

// Some settings that differ from every preset.
void editSettings(Window &win) {
    apply(win, "PhoneNumber2=+79035551234;RequestBalance=*100#;Edit3=0042");
    choose(win.c().combo(S("DelayRzd")), 7);
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

} // namespace

class TstCodec : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        numberMessages();
        QVERIFY(m_dir.isValid());
    }

    void presetsThroughTheWindow_data();
    void presetsThroughTheWindow();
    void encoderBytes_data();
    void encoderBytes();
    void q71Encoder_cleanUpAndListing();
    void encoderErrors_endBeforeAnythingChanges();

    void q72Checks_data();
    void q72Checks();
    void q72Checks_severalBadFieldsAndLanguages();
    void q72Decoder_duplicateGroupAndObjectZero();
    void q72Decoder_blitzPadding();
    void q72Decoder_relayTicksSurviveLanguageChange();
    void q71Decoder_recipientsStayInTheirOwnDialGroup();
    void blitzTypeWithoutItem_survivesEncode();

    void files_badFilesChangeNothing();
    void files_saveFailuresKeepTheFiles();
    void files_sameInEveryInterfaceLanguage();

  private:
    QString path(const char *name) const { return m_dir.filePath(S(name)); }
    QTemporaryDir m_dir;
};

void TstCodec::presetsThroughTheWindow_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::addColumn<int>("mode");
    for (DeviceModel model : {pages::DeviceModel::Q71, pages::DeviceModel::Q72})
        for (int mode = 0; mode < 6; ++mode)
            QTest::addRow("Q%d mode %d", modelCode(model), mode) << model << mode;
}

// Restoring the defaults of a work mode says so and gives its preset, to every byte of the layout.
void TstCodec::presetsThroughTheWindow() {
    QFETCH(DeviceModel, model);
    QFETCH(int, mode);
    const bool q71 = model == pages::DeviceModel::Q71;
    Window win(model, q71 ? S("English") : S("Russian"));
    const ConfigImage golden = preset(model, mode);
    QString why;
    win.w().mainPage().WorkModeComboBox->setItemIndex(mode);
    win.w().DefaultButtonClick(nullptr);
    QCOMPARE(win.w().statusText(), q71 ? S("M1537") : S("Заводские настройки выставлены"));
    QVERIFY2(sameBits(win.encode(), golden, model, groupCount(golden), &why), qPrintable(why));
}

void TstCodec::encoderBytes_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::addColumn<int>("mode"); // defaults restored first, -1: the window as opened
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("bytes");
    // Objects 12, 0, 12, 7 give groups 1, 0, 1, 2; object digits drop leading zeros; unused
    // groups have no commands and no password.
    QTest::addRow("Q72 objects and groups")
        << DeviceModel::Q72 << 1
        << QByteArray("ObjNmb1=12;ObjNmb2=0;ObjNmb3=12;ObjNmb4=7;ObjNmb5=5;ObjNmb6=40;ObjNmb7=100;"
                      "ObjNmb8..16=0;RzdNmb1=0;RzdNmb2=1;RzdNmb3=2;RzdNmb4=3;RzdNmb5=4;RzdNmb6=5;"
                      "RzdNmb7=6;RzdNmb8=7;RzdNmb9=8;RzdNmb10=9;RzdNmb11=10;RzdNmb12=11;"
                      "RzdNmb13=12;RzdNmb14=13;RzdNmb15=14;RzdNmb16=15")
        << QByteArray("192..207: 1 0 1 2 3 4 5 0*9;"
                      "208..239: 0xF1 0x20 0xFF 0xF1 0xF1 0x22 0xFF 0x73 0xFF 0x54 0xF4 5 0x10 6 "
                      "0xFF 0xF7 0xFF 0xF8 0xFF 0xF9 0xFF 0xFA 0xFF 0xFB 0xFF 0xFC 0xFF 0xFD 0xFF "
                      "0xFE 0xFF 0xFF; 245..255: 0*11; 479..511: 0xFF*33");
    // Own names and group passwords are built low and copied up: 256..415 land at 416..575 and
    // the SMS-Blitz codes then overwrite the low copy.
    QTest::addRow("Q72 names, passwords and codes")
        << DeviceModel::Q72 << 1
        << QByteArray("OwnName1=Дом;OwnName4=ABCDEFGHIJKL;row1=0x12 0x34 0x5F;Edit1=0007;"
                      "Edit24=9999;RO1..24=0;RO10=1")
        << QByteArray("416..427: 0xC4 0xEE 0xEC 0*9; 428..439: 0*12;"
                      "452..463: 65 66 67 68 69 70 71 72 73 74 75 76; 464..466: 0x12 0x34 0x5F;"
                      "467..511: 0xFF*45; 512..575: 0*64; 256..257: 7 0; 314..315: 0x0F 0x27;"
                      "321: 4; 576..701: 0*126");
    // Groups 1, -, 1, 2, 3, 4, 5 ...: packed numbers 012 007 234 999 001, thousands 0 0 1 9 0;
    // "12B" is stored as its length, then 1 2 | B(0xA) and a zero low nibble.
    QTest::addRow("Q71 groups, line phone and fills")
        << DeviceModel::Q71 << 1
        << QByteArray("ObjNmb1=12;ObjNmb2=0;ObjNmb3=12;ObjNmb4=7;ObjNmb5=1234;ObjNmb6=9999;"
                      "ObjNmb7..16=1;LinePhone1=12B;Password21=12345;Dig1=7;Dig13=")
        << QByteArray("51..58: 1 0x20 7 0x23 0x49 0x99 0 0x10; 265..267: 0 0x91 0;"
                      "92..95: 0xF0 0x10 0x32 0x44; 99: 0x44; 152..155: 3 0x12 0xA0 0;"
                      "100&3: 2; 102..104: 0x12 0x34 0x50; 132: 0; 133&0xF0: 0x70;"
                      "150..151: 0 0; 131: 0xFF; 264: 0; 272: 0; 273..318: 0xFF*46; 319: 0");
}

void TstCodec::encoderBytes() {
    QFETCH(DeviceModel, model);
    QFETCH(int, mode);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, bytes);
    Window win(model);
    if (mode >= 0)
        win.defaults(mode);
    apply(win, settings.constData());
    QString why;
    QVERIFY2(holdsRuns(win.encode(), bytes.constData(), &why), qPrintable(why));
}

// A recipient without a number loses its partition ticks when the image is built; the image
// listing goes to Memo2.
void TstCodec::q71Encoder_cleanUpAndListing() {
    Window win(pages::DeviceModel::Q71);
    auto &c = win.c();
    win.defaults(1);
    apply(win, "LinePhone2=555;rzd11=1;rzd116=1;rzd21=1;rzd216=1");
    const ConfigImage img = win.encode();
    QVERIFY(!c.check(S("rzd11"))->isChecked());
    QVERIFY(!c.check(S("rzd116"))->isChecked());
    QVERIFY(c.check(S("rzd21"))->isChecked());
    QVERIFY(c.check(S("rzd216"))->isChecked());
    QCOMPARE(int(img[76]), 0x02);
    QCOMPARE(int(img[91]), 0x02);
    const QStringList lines = win.w().Memo2->lines();
    QCOMPARE(lines.size(), 300);
    QCOMPARE(lines[0], QString::number(img[0]));
    QCOMPARE(lines[152 + 13], S("3"));
}

// A text that cannot be stored ends the encoder with a message naming the field; neither the
// window nor its listings change.
void TstCodec::encoderErrors_endBeforeAnythingChanges() {
    Window q71(pages::DeviceModel::Q71);
    auto &c = q71.c();
    apply(q71, "LinePhone1=;rzd11=1");
    q71.w().Memo2->setPlainText(S("before"));
    const struct {
        const char *edit, *text, *field;
    } q71Bad[] = {{"Dig3", "12a", "Digital-format code 3"},
                  {"Dig13", "12345", "Digital-format code 13"},
                  {"Password22", "12", "Password of recipient 2"}};
    for (const auto &b : q71Bad) {
        pages::Edit *e = c.edit(S(b.edit));
        const QString keep = e->text();
        e->setText(S(b.text));
        const image::Encoded r = q71.w().encodeImage();
        QVERIFY(!r.ok());
        QVERIFY2(r.error.contains(S(b.field)) && r.error.contains(S(b.text)), qPrintable(r.error));
        QVERIFY(c.check(S("rzd11"))->isChecked());
        QCOMPARE(q71.w().Memo2->toPlainText(), S("before"));
        e->setText(keep);
    }
    QVERIFY(q71.w().encodeImage().ok());

    // A PIN that would read back as no PIN (the SMS-Blitz codes are refused on saving, below).
    Window q72;
    q72.c().mask(S("PinCode"))->QLineEdit::setText(S("__12")); // typed into the last positions
    QVERIFY(q72.w().encodeImage().error.contains(S("PIN code")));

    // An object number the GSM model cannot hold (lists of the other model) is refused, not cut.
    Window lists(pages::DeviceModel::Q71);
    lists.defaults(1);
    lists.c().combo(S("ObjNmb3"))->setItemIndex(1234);
    lists.w().DeviceModel = pages::DeviceModel::Q72;
    QVERIFY(lists.w().encodeImage().error.contains(S("Object number of partition 3")));
}

void TstCodec::q72Checks_data() {
    QTest::addColumn<QByteArray>("changes");
    QTest::addColumn<QString>("label"); // empty: the bare prefix
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("fallback");
    const auto row = [](const char *name, const char *changes, const char *label,
                        const char *control, const char *fallback) {
        QTest::newRow(name) << QByteArray(changes) << S(label) << S(control) << S(fallback);
    };
    row("work mode", "171: 6", "Label2", "WorkModeComboBox", "0");
    row("PIN", "6..7: 26 52", "Label5", "PinCode", "____");
    row("SMS centre", "24..25: 1 176", "Label6", "SMSphone", "+_______________");
    row("recipient number", "40..41: 7 28", "Label20", "PhoneNumber2", "+_______________");
    row("language", "171: 48", "", "LangChange", "0");
    row("partition name", "130: 39", "LabelNameRazdelP", "NameRzd3", "0");
    row("SIM count", "172: 113", "Label114", "SIMcountCombo", "0");
    row("test period", "173: 5", "Label112", "TestLine", "0");
    row("balance", "184: 28", "Label212", "RequestBalance", "");
    row("object digits", "210: 161", "Label98", "ObjNmb2", "0");
    row("group", "193: 17", "", "", "");
    row("password", "465: 183", "Label81", "", "");
}

// Each bad field shows its message with the error icon, then the final warning, and the window
// ends on the preset of the work mode then selected.
void TstCodec::q72Checks() {
    QFETCH(QByteArray, changes);
    QFETCH(QString, label);
    QFETCH(QString, control);
    QFETCH(QString, fallback);
    Window win;
    auto &c = win.c();
    // Something the preset does not hold, to see that it is replaced.
    c.mask(S("PhoneNumber"), 3)->setText(S("+777"));
    QString atWarning;
    std::array<int, 3> passwordAtError{};
    win.dialogs.onMessage = [&](const pages::RecordingDialogs::Shown &s) {
        if (s.icon != Dialogs::Icon::Warning || control.isEmpty()) {
            passwordAtError = win.w().passwordRow(1);
            return;
        }
        QWidget *w = c.widget(control);
        if (auto *list = qobject_cast<pages::ComboBox *>(w))
            atWarning = QString::number(list->itemIndex());
        else if (auto *group = qobject_cast<pages::RadioGroup *>(w))
            atWarning = QString::number(group->itemIndex());
        else if (auto *mask = qobject_cast<pages::MaskEdit *>(w))
            atWarning = mask->text();
        else
            atWarning = qobject_cast<pages::Edit *>(w)->text();
    };
    win.w().readImage(imageFromRuns(changes.constData(), preset(DeviceModel::Q72, 0)));
    QString expected = S("Ошибка в прочитанных данных: ");
    if (label == S("Label98"))
        expected += caption(win, "Label98") + S(", ") + caption(win, "Label99");
    else if (!label.isEmpty())
        expected += caption(win, label.toLatin1().constData());
    QCOMPARE(win.dialogs.shown.size(), 2);
    QCOMPARE(win.dialogs.shown[0].text, expected);
    QCOMPARE(win.dialogs.shown[0].caption, S("Внимание!"));
    QCOMPARE(win.dialogs.shown[0].icon, Dialogs::Icon::Error);
    QCOMPARE(win.dialogs.shown[1].text, S("Были обнаружены ошибки в прочитанных настройках! Будут "
                                          "выставлены заводские настройки!"));
    QCOMPARE(win.dialogs.shown[1].icon, Dialogs::Icon::Warning);
    if (!control.isEmpty())
        QCOMPARE(atWarning, fallback);
    if (changes.startsWith("465")) // the bad password byte is read as 0
        QCOMPARE(passwordAtError, (std::array<int, 3>{0x73, 0, 0x94}));

    // The preset of the work mode selected after the decode replaces everything.
    QCOMPARE(win.w().mainPage().WorkModeComboBox->itemIndex(), 0);
    QString why;
    QVERIFY2(sameBits(win.encode(), preset(DeviceModel::Q72, 0), DeviceModel::Q72, 1, &why),
             qPrintable(why));
    QCOMPARE(c.mask(S("PhoneNumber3"))->text(), S("+_______________"));
}

// Every bad field has its message, in the order read; the texts follow the interface language.
void TstCodec::q72Checks_severalBadFieldsAndLanguages() {
    Window win;
    win.w().mainPage().WorkModeComboBox->setItemIndex(4);
    win.w().readImage(
        imageFromRuns("171: 54; 6: 160; 24: 14; 173: 7; 184: 204", preset(DeviceModel::Q72, 4)));
    const QString prefix = S("Ошибка в прочитанных данных: ");
    const QStringList want = {prefix + caption(win, "Label2"),   prefix + caption(win, "Label5"),
                              prefix + caption(win, "Label6"),   prefix,
                              prefix + caption(win, "Label112"), prefix + caption(win, "Label212")};
    const QStringList texts = win.dialogs.texts();
    QCOMPARE(texts.size(), want.size() + 1);
    QCOMPARE(texts.mid(0, want.size()), want);
    QCOMPARE(win.dialogs.shown.last().icon, Dialogs::Icon::Warning);
    // The work-mode check fell back to item 0, so the mode-0 preset is shown.
    QString why;
    QVERIFY2(sameBits(win.encode(), preset(DeviceModel::Q72, 0), DeviceModel::Q72, 1, &why),
             qPrintable(why));

    const struct {
        const char *language, *error, *caption, *warning;
    } cases[] = {
        {"English", "Error in the read data: ", "Attention!",
         "Error in the read settings! Default settings will be restored!"},
        {"Error", "Ошибка в прочитанных данных: ", "Внимание!",
         "Были обнаружены ошибки в прочитанных настройках! Будут выставлены заводские настройки!"}};
    for (const auto &t : cases) {
        Window other(pages::DeviceModel::Q72, S(t.language));
        other.w().readImage(imageFromRuns("192: 20", preset(DeviceModel::Q72, 0)));
        QCOMPARE(other.dialogs.shown.size(), 2);
        QCOMPARE(other.dialogs.shown[0].text, S(t.error));
        QCOMPARE(other.dialogs.shown[0].caption, S(t.caption));
        QCOMPARE(other.dialogs.shown[1].text, S(t.warning));
        QCOMPARE(other.dialogs.shown[1].caption, S(t.caption));
    }
}

// Partitions 1 and 3 both naming group 2: group 2's rights and password go to partition 1's
// object only. A group whose first partition has no object keeps no password row, and no row
// outside the table is written.
void TstCodec::q72Decoder_duplicateGroupAndObjectZero() {
    Window win;
    auto &w = win.w();
    w.readImage(imageFromRuns("192..207: 2 0 2 0*13; 208..213: 255 32 255 17 255 50;"
                              "240..241: 1 20; 467..469: 18 52 95",
                              preset(DeviceModel::Q72, 1)));
    QCOMPARE(win.dialogs.shown.size(), 0);
    QCOMPARE(w.passwordRow(2), (std::array<int, 3>{0x12, 0x34, 0x5F}));
    QCOMPARE(w.passwordRow(3), (std::array<int, 3>{255, 255, 255}));
    QVERIFY(!win.c().check(S("vz2"))->isChecked());
    QVERIFY(win.c().check(S("st2"))->isChecked());
    QVERIFY(win.c().check(S("stop2"))->isChecked());

    w.readImage(imageFromRuns("192..207: 1 0*15; 208..209: 255 240; 464..466: 18 52 95",
                              preset(DeviceModel::Q72, 1)));
    QCOMPARE(win.dialogs.shown.size(), 0);
    for (int o = 1; o <= 1000; ++o)
        QCOMPARE(w.passwordRow(o)[0], 255);
}

// Codes shorter than four digits are padded once the window has been shown, not during start-up.
void TstCodec::q72Decoder_blitzPadding() {
    const ConfigImage img =
        imageFromRuns("256..261: 7 0 255 0 123 0; 314..315: 16 39", preset(DeviceModel::Q72, 1));
    Window shown;
    shown.w().readImage(img);
    QCOMPARE(shown.c().edit(S("Edit1"))->text(), S("0007"));
    QCOMPARE(shown.c().edit(S("Edit2"))->text(), QString());
    QCOMPARE(shown.c().edit(S("Edit3"))->text(), S("0123"));
    QCOMPARE(shown.c().edit(S("Edit24"))->text(), S("10000"));
    Window hidden(pages::DeviceModel::Q72, S("Russian"), false);
    QVERIFY(!hidden.w().FormShown);
    hidden.w().readImage(img);
    QCOMPARE(hidden.c().edit(S("Edit1"))->text(), S("7"));
}

// A new name language re-runs the work-mode and relay rules; the relay's own ticks of the image
// must still be shown afterwards.
void TstCodec::q72Decoder_relayTicksSurviveLanguageChange() {
    Window win;
    for (int language : {1, 2, 0}) {
        QVERIFY(win.w().namesPage().LangChange->itemIndex() != language);
        ConfigImage img = preset(DeviceModel::Q72, 1);
        img[3] |= 0x1F; // every equipment box of relay 1
        img[171] = std::uint8_t(language << 4 | 1);
        win.w().readImage(img);
        QCOMPARE(win.w().namesPage().LangChange->itemIndex(), language);
        QCOMPARE(win.w().relayPage().ReleWorkMode1->itemIndex(), 0);
        for (const char *box :
             {"PowerCD1", "DamageCD1", "ErrorInterface1", "RadioChanBlck1", "NoLine1"})
            QVERIFY2(win.c().check(S(box))->isChecked(), box);
        QCOMPARE(int(win.encode()[3]), 0x7F);
    }
}

// An image that leaves recipients out of their own dial groups still shows those boxes ticked
// (they stay disabled), and writing it back stores the bits.
void TstCodec::q71Decoder_recipientsStayInTheirOwnDialGroup() {
    Window win(pages::DeviceModel::Q71);
    win.w().readImage(imageFromRuns("256..263: 0 0 0x84 0 0 0 0 0", preset(DeviceModel::Q71, 1)));
    QVERIFY(win.c().check(S("gr11"))->isChecked());
    QString why;
    QVERIFY2(holdsRuns(win.encode(), "256..263: 1 2 0x84 8 16 32 64 128", &why), qPrintable(why));
}

// Without the SMS-Blitz item (interfaces other than Russian) a recipient that uses it gets the
// item back, shows it and writes it again; the item goes when an image no longer uses it.
void TstCodec::blitzTypeWithoutItem_survivesEncode() {
    Window win(pages::DeviceModel::Q72, S("English"));
    auto &c = win.c();
    pages::ComboBox *gsm3 = c.combo(S("TypeMesgGSM3"));
    QCOMPARE(gsm3->count(), 10);
    win.w().readImage(imageFromRuns("10: 19; 256..257: 33 0", preset(DeviceModel::Q72, 1)));
    QCOMPARE(win.dialogs.shown.size(), 0);
    QCOMPARE(gsm3->count(), 11);
    QCOMPARE(gsm3->itemIndex(), 10);
    QCOMPARE(gsm3->text(), S("SMS-Блиц"));
    QVERIFY(c.get<pages::TabSheet>(S("TabSheet14"))->tabVisible());
    QCOMPARE(c.combo(S("TypeMesgGSM2"))->count(), 10);
    const ConfigImage again = win.encode();
    QCOMPARE(int(again[10]), 0x13);
    QCOMPARE(int(again[256]), 33);
    win.w().readImage(again);
    QCOMPARE(gsm3->count(), 11);
    win.w().readImage(preset(DeviceModel::Q72, 1));
    QCOMPARE(gsm3->count(), 10);
    QCOMPARE(gsm3->itemIndex(), 1);
    QVERIFY(!c.get<pages::TabSheet>(S("TabSheet14"))->tabVisible());
}

// Short files, garbage lines and missing files name the file (and the line), a file of the other
// model is refused with message 1215; none of them changes the window.
void TstCodec::files_badFilesChangeNothing() {
    QList<QByteArray> good =
        image::formatConfig(preset(DeviceModel::Q72, 3), DeviceModel::Q72).split('\n');
    good.removeLast(); // after the last CR LF
    const auto join = [](const QList<QByteArray> &l) { return l.join('\n') + '\n'; };
    QList<QByteArray> garbage = good;
    garbage[9] = "12a\r";
    writeFile(path("short.cfg"), join(good.mid(0, 500)));
    writeFile(path("garbage.cfg"), join(garbage));
    writeFile(path("from71.cfg"),
              image::formatConfig(preset(DeviceModel::Q71, 2), DeviceModel::Q71));
    const struct {
        const char *file;
        const char *mentions;
    } cases[] = {{"short.cfg", "line 500"},
                 {"garbage.cfg", "line 10"},
                 {"missing.cfg", "missing.cfg"},
                 {"from71.cfg", "M1215"}};
    Window win;
    editSettings(win);
    const ConfigImage before = win.encode();
    for (const auto &t : cases) {
        win.dialogs.clear();
        win.w().setStatusText(S("unchanged"));
        win.w().mainPage().VersionLabel->show();
        win.dialogs.fileNames << path(t.file);
        win.w().LoadButtonClick(nullptr);
        const QStringList texts = win.dialogs.texts();
        QCOMPARE(texts.size(), 1);
        const bool otherModel = QByteArray(t.file) == "from71.cfg";
        QVERIFY2(texts[0].contains(S(t.mentions)), qPrintable(texts[0]));
        if (!otherModel) {
            QVERIFY2(texts[0].contains(path(t.file)), qPrintable(texts[0]));
            QCOMPARE(win.dialogs.shown.last().icon, Dialogs::Icon::Error);
        }
        QCOMPARE(win.w().statusText(), S("unchanged"));
        QVERIFY(win.encode() == before);
        // The firmware version stays shown unless the model line was read.
        QCOMPARE(win.w().mainPage().VersionLabel->isHidden(),
                 otherModel || QByteArray(t.file) == "garbage.cfg");
    }
}

// A configuration that cannot be stored, and a file that cannot be written, leave every file as
// it was and say why.
void TstCodec::files_saveFailuresKeepTheFiles() {
    Window win;
    const QByteArray old = image::formatConfig(preset(DeviceModel::Q72, 0), DeviceModel::Q72);
    writeFile(path("keep.cfg"), old);

    win.c().edit(S("Edit7"))->setText(S("511"));
    win.dialogs.fileNames << path("keep.cfg") << path("new.cfg");
    win.w().SaveButtonClick(nullptr);
    win.w().SaveButtonClick(nullptr);
    QStringList texts = win.dialogs.texts();
    QCOMPARE(texts.size(), 2);
    QVERIFY2(texts[0].contains(S("SMS-Blitz code 7")) && texts[0].contains(S("511")),
             qPrintable(texts[0]));
    QCOMPARE(readAll(path("keep.cfg")), old);
    QVERIFY(!QFile::exists(path("new.cfg")));
    win.c().edit(S("Edit7"))->setText(S("0512"));

    // A folder that does not exist (the file-level tests try the other unwritable targets).
    win.dialogs.clear();
    win.w().setStatusText(S("unchanged"));
    win.dialogs.fileNames << path("nowhere/q72.cfg");
    win.w().SaveButtonClick(nullptr);
    texts = win.dialogs.texts();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts[0].contains(path("nowhere/q72.cfg")), qPrintable(texts[0]));
    QCOMPARE(win.w().statusText(), S("unchanged"));
    QVERIFY(!QDir(path("nowhere")).exists());
}

// Files carry no interface language.
void TstCodec::files_sameInEveryInterfaceLanguage() {
    QByteArray first;
    for (const char *language : {"Russian", "English", "Turkish"}) {
        Window win(pages::DeviceModel::Q72, S(language));
        win.defaults(2);
        editSettings(win);
        const QString file = m_dir.filePath(S(language) + S(".cfg"));
        win.dialogs.fileNames << file;
        win.w().SaveButtonClick(nullptr);
        if (first.isEmpty())
            first = readAll(file);
        else
            QCOMPARE(readAll(file), first);
    }
    QCOMPARE(first.count("\r\n"), 703);
}

QTEST_MAIN(TstCodec)
#include "tst_codec.moc"
