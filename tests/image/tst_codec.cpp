// The codecs between image and window: presets through the window, the encoders' byte rules and
// failures, and the checks of the GSM model's decoder with their messages and fall-backs.
#include "codecfixture.h"
#include "image/presets.h"

using namespace codectest;
using image::DecodeImage;
using pages::Dialogs;

namespace {

int groupCount(const ConfigImage &img) {
    int g = 0;
    for (int p = 0; p < 16; ++p)
        g = std::max(g, int(img[192 + p]));
    return g;
}

QString caption(Window &win, const char *label) { return win.c().label(S(label))->caption(); }

} // namespace

class TstCodec : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { numberMessages(); }

    void presetTablesAreTheBuiltInPresets();
    void presetsThroughTheWindow_data();
    void presetsThroughTheWindow();
    void defaultButton_statusTextAndPinAndCentre();

    void q72Encoder_objectsAndGroups();
    void q72Encoder_fixedBytesAndEmptyFields();
    void q72Encoder_periodsTypesAndBalance();
    void q72Encoder_namesPasswordsAndCopy();
    void q71Encoder_groupsLinePhoneAndFills();
    void q71Encoder_cleanUpAndListing();
    void encoderErrors_endBeforeAnythingChanges();

    void q72Checks_data();
    void q72Checks();
    void q72Checks_severalBadFields();
    void q72Checks_languageOfTexts();
    void q72Decoder_typesAndBlitzPage();
    void q72Decoder_duplicateGroupAndObjectZero();
    void q72Decoder_blitzPadding();
    void q72Decoder_relayTicksSurviveLanguageChange();
    void blitzTypeWithoutItem_survivesEncode();
};

// The presets built into the program are the ones of the tables, byte for byte.
void TstCodec::presetTablesAreTheBuiltInPresets() {
    for (int model : {pages::ModelQ71, pages::ModelQ72})
        for (int mode = 0; mode < 6; ++mode)
            QVERIFY2(image::presetImage(model, mode) == goldenPreset(model, mode),
                     qPrintable(QStringLiteral("model %1 mode %2").arg(model).arg(mode)));
}

void TstCodec::presetsThroughTheWindow_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("mode");
    for (int model : {pages::ModelQ71, pages::ModelQ72})
        for (int mode = 0; mode < 6; ++mode)
            QTest::addRow("Q%d mode %d", model, mode) << model << mode;
}

// Each preset decoded into the window and encoded again gives back every byte of the layout.
void TstCodec::presetsThroughTheWindow() {
    QFETCH(int, model);
    QFETCH(int, mode);
    Window win(model);
    const ConfigImage golden = goldenPreset(model, mode);
    DecodeImage(win.w(), golden);
    QCOMPARE(win.dialogs.shown.size(), 0);
    QCOMPARE(win.w().WorkModeComboBox->itemIndex(), mode);
    QString why;
    QVERIFY2(sameBits(win.encode(), golden, definedBits(model, groupCount(golden)), &why),
             qPrintable(why));
}

void TstCodec::defaultButton_statusTextAndPinAndCentre() {
    Window win;
    auto &w = win.w();
    w.WorkModeComboBox->setItemIndex(0);
    image::DefaultButtonClick(w);
    QCOMPARE(w.statusText(), S("Заводские настройки выставлены"));
    QCOMPARE(win.c().mask(S("PinCode"))->text(), S("____"));
    QCOMPARE(win.c().mask(S("SMSphone"))->text(), S("+_______________"));
    QCOMPARE(win.c().combo(S("ObjNmb1"))->itemIndex(), 1);
    QCOMPARE(win.c().combo(S("ObjNmb2"))->itemIndex(), 1);
    const ConfigImage img = win.encode();
    QCOMPARE(int(img[192]), 1);
    QCOMPARE(int(img[193]), 1);
    QCOMPARE(w.passwordRow(1), (std::array<int, 3>{0x73, 0x01, 0x94}));

    Window english(pages::ModelQ71, S("English"));
    english.w().WorkModeComboBox->setItemIndex(3);
    image::DefaultButtonClick(english.w());
    QCOMPARE(english.w().statusText(), S("M1537"));
    QCOMPARE(int(english.encode()[1]), 0x13);
}

// Objects 12, 0, 12, 7 give groups 1, 0, 1, 2; object digits drop leading zeros.
void TstCodec::q72Encoder_objectsAndGroups() {
    Window win;
    win.w().WorkModeComboBox->setItemIndex(1);
    image::DefaultButtonClick(win.w());
    const int objects[16] = {12, 0, 12, 7, 5, 40, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int p = 1; p <= 16; ++p) {
        win.c().combo(S("ObjNmb"), p)->setItemIndex(objects[p - 1]);
        win.c().combo(S("RzdNmb"), p)->setItemIndex(p - 1);
    }
    const ConfigImage img = win.encode();
    const int groups[16] = {1, 0, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int p = 1; p <= 16; ++p)
        QCOMPARE(int(img[191 + p]), groups[p - 1]);
    // hundreds, tens | units, partition number
    const int digits[16][2] = {{0xF1, 0x20}, {0xFF, 0xF1}, {0xF1, 0x22}, {0xFF, 0x73},
                               {0xFF, 0x54}, {0xF4, 0x05}, {0x10, 0x06}, {0xFF, 0xF7},
                               {0xFF, 0xF8}, {0xFF, 0xF9}, {0xFF, 0xFA}, {0xFF, 0xFB},
                               {0xFF, 0xFC}, {0xFF, 0xFD}, {0xFF, 0xFE}, {0xFF, 0xFF}};
    for (int p = 1; p <= 16; ++p) {
        QCOMPARE(int(img[208 + 2 * (p - 1)]), digits[p - 1][0]);
        QCOMPARE(int(img[209 + 2 * (p - 1)]), digits[p - 1][1]);
    }
    // Unused groups have no password and no commands.
    for (int g = 6; g <= 16; ++g) {
        QCOMPARE(int(img[239 + g]), 0);
        QCOMPARE(int(img[464 + 3 * (g - 1)]), 0xFF);
    }
}

void TstCodec::q72Encoder_fixedBytesAndEmptyFields() {
    Window win;
    auto &c = win.c();
    c.mask(S("PinCode"))->setText(QString());
    c.mask(S("SMSphone"))->setText(QString());
    for (int k = 1; k <= 8; ++k)
        c.mask(S("PhoneNumber"), k)->setText(QString());
    ConfigImage img = win.encode();
    QCOMPARE(int(img[6]), 0xFF);
    QCOMPARE(int(img[7]), 0xFF);
    QCOMPARE(int(img[24]), 0x0F);
    for (int i = 25; i <= 95; ++i)
        QCOMPARE(int(img[i]), 0xFF);
    QCOMPARE(int(img[0x96]), 0xFF);
    QCOMPARE(int(img[0x97]), 0xFF);
    QCOMPARE(int(img[0x9F]), 0xFF);
    QCOMPARE(int(img[152]), 0);
    QCOMPARE(int(img[153]), 0);

    c.mask(S("PinCode"))->setText(S("1234"));
    c.mask(S("SMSphone"))->setText(S("+79031234567"));
    c.mask(S("PhoneNumber"), 2)->setText(S("+123"));
    img = win.encode();
    QCOMPARE(int(img[6]), 0x12);
    QCOMPARE(int(img[7]), 0x34);
    const int centre[8] = {0x07, 0x90, 0x31, 0x23, 0x45, 0x67, 0xFF, 0xFF};
    const int phone2[8] = {0x01, 0x23, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(int(img[24 + i]), centre[i]);
        QCOMPARE(int(img[40 + i]), phone2[i]);
    }
}

void TstCodec::q72Encoder_periodsTypesAndBalance() {
    Window win;
    auto &c = win.c();
    c.combo(S("PeriodRzd"))->setItemIndex(15);
    c.combo(S("PeriodHardware"))->setItemIndex(0);
    c.combo(S("TestLine"))->setItemIndex(4);
    c.combo(S("DelayRzd"))->setItemIndex(15);
    c.edit(S("RequestBalance"))->setText(S("*102#"));
    for (int k = 1; k <= 8; ++k)
        c.combo(S("TypeMesgGSM"), k)->setItemIndex(k == 3 ? 3 : k == 5 ? 10 : 1);
    ConfigImage img = win.encode();
    for (int i = 160; i <= 163; ++i)
        QCOMPARE(int(img[i]), 255);
    for (int i = 164; i <= 167; ++i)
        QCOMPARE(int(img[i]), 0);
    QCOMPARE(int(img[173]), 6);
    for (int i = 155; i <= 158; ++i)
        QCOMPARE(int(img[i]), 150);
    const int balance[8] = {0xA1, 0x02, 0xBF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(img[184 + i]), balance[i]);
    QCOMPARE(int(img[10]), 0x03);
    QCOMPARE(int(img[12]), 0x13);
    QCOMPARE(int(img[8]), 0x02);
    QVERIFY(img[181] & 0x20);

    c.combo(S("TypeMesgGSM3"))->setItemIndex(2);
    img = win.encode();
    QCOMPARE(int(img[10]), 0x03);
    QVERIFY(!(img[181] & 0x20));
}

// Own names and group passwords are built low and copied up: 256..415 land at 416..575 and the
// SMS-Blitz codes then overwrite the low copy.
void TstCodec::q72Encoder_namesPasswordsAndCopy() {
    Window win;
    auto &w = win.w();
    auto &c = win.c();
    w.WorkModeComboBox->setItemIndex(1);
    image::DefaultButtonClick(w);
    c.labeledEdit(S("OwnName"), 1)->setText(S("Дом"));
    c.labeledEdit(S("OwnName"), 4)->setText(S("ABCDEFGHIJKL"));
    w.setPasswordRow(1, {0x12, 0x34, 0x5F});
    c.edit(S("Edit1"))->setText(S("0007"));
    c.edit(S("Edit24"))->setText(S("9999"));
    for (int k = 1; k <= 24; ++k)
        c.check(S("RO"), k)->setChecked(k == 10);
    const ConfigImage img = win.encode();
    const int name1[12] = {0xC4, 0xEE, 0xEC, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(int(img[416 + i]), name1[i]);
        QCOMPARE(int(img[428 + i]), 0);
        QCOMPARE(int(img[452 + i]), 'A' + i);
    }
    QCOMPARE(int(img[464]), 0x12);
    QCOMPARE(int(img[465]), 0x34);
    QCOMPARE(int(img[466]), 0x5F);
    for (int i = 467; i <= 511; ++i)
        QCOMPARE(int(img[i]), 0xFF);
    // The copy of 352..415 (untouched staging bytes) reaches 512..575.
    for (int i = 512; i <= 575; ++i)
        QCOMPARE(int(img[i]), 0);
    QCOMPARE(int(img[256]), 7);
    QCOMPARE(int(img[257]), 0);
    QCOMPARE(int(img[314]), 0x0F);
    QCOMPARE(int(img[315]), 0x27);
    QCOMPARE(int(img[321]), 0x04);
    for (int i = 576; i < 702; ++i)
        QCOMPARE(int(img[i]), 0);
}

void TstCodec::q71Encoder_groupsLinePhoneAndFills() {
    Window win(pages::ModelQ71);
    auto &w = win.w();
    auto &c = win.c();
    w.WorkModeComboBox->setItemIndex(1);
    image::DefaultButtonClick(w);
    const int objects[16] = {12, 0, 12, 7, 1234, 9999, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (int p = 1; p <= 16; ++p)
        c.combo(S("ObjNmb"), p)->setItemIndex(objects[p - 1]);
    c.edit(S("LinePhone1"))->setText(S("12B"));
    c.edit(S("Password21"))->setText(S("12345"));
    c.edit(S("Dig1"))->setText(S("7"));
    c.edit(S("Dig13"))->setText(QString());
    const ConfigImage img = win.encode();
    // groups 1, -, 1, 2, 3, 4, 5 ...: packed numbers 012 007 234 999 001, thousands 0 0 1 9 0
    const int packed[8] = {0x01, 0x20, 0x07, 0x23, 0x49, 0x99, 0x00, 0x10};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(img[51 + i]), packed[i]);
    QCOMPARE(int(img[265]), 0x00);
    QCOMPARE(int(img[266]), 0x91);
    QCOMPARE(int(img[267]), 0x00);
    QCOMPARE(int(img[92]), 0xF0);
    QCOMPARE(int(img[93]), 0x10);
    QCOMPARE(int(img[94]), 0x32);
    QCOMPARE(int(img[95]), 0x44);
    QCOMPARE(int(img[99]), 0x44);
    // "12B": count 3, then 1 2 | B(0xA) and a zero low nibble.
    QCOMPARE(int(img[152]), 3);
    QCOMPARE(int(img[153]), 0x12);
    QCOMPARE(int(img[154]), 0xA0);
    QCOMPARE(int(img[155]), 0);
    QCOMPARE(int(img[100]) & 0x03, 2);
    QCOMPARE(int(img[102]), 0x12);
    QCOMPARE(int(img[103]), 0x34);
    QCOMPARE(int(img[104]), 0x50);
    QCOMPARE(int(img[132]), 0x00);
    QCOMPARE(int(img[133]) >> 4, 7);
    QCOMPARE(int(img[150]), 0);
    QCOMPARE(int(img[151]), 0);
    QCOMPARE(int(img[0x83]), 0xFF);
    QCOMPARE(int(img[0x108]), 0);
    for (int i = 0x111; i <= 0x13E; ++i)
        QCOMPARE(int(img[i]), 0xFF);
    QCOMPARE(int(img[0x110]), 0);
    QCOMPARE(int(img[0x13F]), 0);
}

// A recipient without a number loses its partition ticks when the image is built; the image
// listing goes to Memo2.
void TstCodec::q71Encoder_cleanUpAndListing() {
    Window win(pages::ModelQ71);
    auto &c = win.c();
    win.w().WorkModeComboBox->setItemIndex(1);
    image::DefaultButtonClick(win.w());
    c.edit(S("LinePhone2"))->setText(S("555"));
    for (int r : {1, 2})
        for (int p : {1, 16})
            c.check(S("rzd"), r, p)->setChecked(true);
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
    Window q71(pages::ModelQ71);
    auto &c = q71.c();
    c.edit(S("LinePhone1"))->setText(QString());
    c.check(S("rzd11"))->setChecked(true);
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
        const image::Encoded r = image::EncodeImage(q71.w());
        QVERIFY(!r.ok());
        QVERIFY2(r.error.contains(S(b.field)), qPrintable(r.error));
        QVERIFY2(r.error.contains(S(b.text)), qPrintable(r.error));
        QVERIFY(c.check(S("rzd11"))->isChecked());
        QCOMPARE(q71.w().Memo2->toPlainText(), S("before"));
        e->setText(keep);
    }
    QVERIFY(image::EncodeImage(q71.w()).ok());

    Window q72;
    for (const char *code : {"255", "511", "9983", "12 3"}) {
        q72.c().edit(S("Edit5"))->setText(S(code));
        const image::Encoded r = image::EncodeImage(q72.w());
        QVERIFY(!r.ok());
        QVERIFY2(r.error.contains(S("SMS-Blitz code 5")), qPrintable(r.error));
    }
    q72.c().edit(S("Edit5"))->setText(S("254"));
    QVERIFY(image::EncodeImage(q72.w()).ok());
    q72.c().mask(S("PinCode"))->QLineEdit::setText(S("__12")); // typed into the last positions
    QVERIFY(image::EncodeImage(q72.w()).error.contains(S("PIN code")));
    q72.c().mask(S("PinCode"))->setText(QString());

    // An object number the GSM model cannot hold (lists of the other model) is refused, not cut.
    Window lists(pages::ModelQ71);
    lists.w().WorkModeComboBox->setItemIndex(1);
    image::DefaultButtonClick(lists.w());
    lists.c().combo(S("ObjNmb3"))->setItemIndex(1234);
    lists.w().DeviceModel = pages::ModelQ72;
    QVERIFY(image::EncodeImage(lists.w()).error.contains(S("Object number of partition 3")));
}

void TstCodec::q72Checks_data() {
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("label"); // empty: the bare prefix
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("fallback");
    QTest::addRow("work mode") << "171: 6"
                               << "Label2"
                               << "WorkModeComboBox"
                               << "0";
    QTest::addRow("PIN") << "6..7: 26 52"
                         << "Label5"
                         << "PinCode"
                         << "____";
    QTest::addRow("SMS centre") << "24..25: 1 176"
                                << "Label6"
                                << "SMSphone"
                                << "+_______________";
    QTest::addRow("recipient number") << "40..41: 7 28"
                                      << "Label20"
                                      << "PhoneNumber2"
                                      << "+_______________";
    QTest::addRow("language") << "171: 48"
                              << ""
                              << "LangChange"
                              << "0";
    QTest::addRow("partition name") << "130: 39"
                                    << "LabelNameRazdelP"
                                    << "NameRzd3"
                                    << "0";
    QTest::addRow("SIM count") << "172: 113"
                               << "Label114"
                               << "SIMcountCombo"
                               << "0";
    QTest::addRow("test period") << "173: 5"
                                 << "Label112"
                                 << "TestLine"
                                 << "0";
    QTest::addRow("balance") << "184: 28"
                             << "Label212"
                             << "RequestBalance"
                             << "";
    QTest::addRow("object digits") << "210: 161"
                                   << "Label98"
                                   << "ObjNmb2"
                                   << "0";
    QTest::addRow("group") << "193: 17"
                           << ""
                           << ""
                           << "";
    QTest::addRow("password") << "465: 183"
                              << "Label81"
                              << ""
                              << "";
}

// Each bad field shows its message with the error icon, then the final warning, and the window
// ends on the preset of the work mode then selected.
void TstCodec::q72Checks() {
    QFETCH(QString, changes);
    QFETCH(QString, label);
    QFETCH(QString, control);
    QFETCH(QString, fallback);
    Window win;
    auto &c = win.c();
    const ConfigImage bad = imageFromRuns(changes.toLatin1().constData(), goldenPreset(72, 0));
    // Something the preset does not hold, to see that it is replaced.
    c.mask(S("PhoneNumber"), 3)->setText(S("+777"));
    QString atWarning;
    std::array<int, 3> passwordAtWarning{};
    win.dialogs.onMessage = [&](const pages::RecordingDialogs::Shown &s) {
        if (s.icon != Dialogs::Icon::Warning || control.isEmpty()) {
            passwordAtWarning = win.w().passwordRow(1);
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
    DecodeImage(win.w(), bad);
    const QString prefix = S("Ошибка в прочитанных данных: ");
    QString expected = prefix;
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
    if (changes.startsWith(S("465")))
        QCOMPARE(passwordAtWarning, (std::array<int, 3>{0x73, 0, 0x94}));

    // The preset of the work mode selected after the decode replaces everything.
    const int mode = win.w().WorkModeComboBox->itemIndex();
    QCOMPARE(mode, 0);
    QString why;
    const ConfigImage golden = goldenPreset(72, mode);
    QVERIFY2(sameBits(win.encode(), golden, definedBits(72, 1), &why), qPrintable(why));
    QCOMPARE(c.mask(S("PhoneNumber3"))->text(), S("+_______________"));
}

void TstCodec::q72Checks_severalBadFields() {
    Window win;
    win.w().WorkModeComboBox->setItemIndex(4);
    const ConfigImage bad =
        imageFromRuns("171: 54; 6: 160; 24: 14; 173: 7; 184: 204", goldenPreset(72, 4));
    DecodeImage(win.w(), bad);
    const QString prefix = S("Ошибка в прочитанных данных: ");
    const QStringList want = {prefix + caption(win, "Label2"),   prefix + caption(win, "Label5"),
                              prefix + caption(win, "Label6"),   prefix,
                              prefix + caption(win, "Label112"), prefix + caption(win, "Label212")};
    QStringList texts = win.dialogs.texts();
    QCOMPARE(texts.size(), want.size() + 1);
    QCOMPARE(texts.mid(0, want.size()), want);
    QCOMPARE(win.dialogs.shown.last().icon, Dialogs::Icon::Warning);
    // The work-mode check fell back to item 0, so the mode-0 preset is shown.
    QString why;
    QVERIFY2(sameBits(win.encode(), goldenPreset(72, 0), definedBits(72, 1), &why),
             qPrintable(why));
}

void TstCodec::q72Checks_languageOfTexts() {
    const struct {
        const char *language, *error, *caption, *warning;
    } cases[] = {
        {"English", "Error in the read data: ", "Attention!",
         "Error in the read settings! Default settings will be restored!"},
        {"Turkish", "Ariza okunan verilerde: ", "Dikkat!",
         "Ariza okunan ayarlarda! Fabrika ayarlar restor edilecek!"},
        {"Error", "Ошибка в прочитанных данных: ", "Внимание!",
         "Были обнаружены ошибки в прочитанных настройках! Будут выставлены заводские настройки!"}};
    for (const auto &t : cases) {
        Window win(pages::ModelQ72, S(t.language));
        DecodeImage(win.w(), imageFromRuns("192: 20", goldenPreset(72, 0)));
        QCOMPARE(win.dialogs.shown.size(), 2);
        QCOMPARE(win.dialogs.shown[0].text, S(t.error));
        QCOMPARE(win.dialogs.shown[0].caption, S(t.caption));
        QCOMPARE(win.dialogs.shown[1].text, S(t.warning));
        QCOMPARE(win.dialogs.shown[1].caption, S(t.caption));
    }
}

void TstCodec::q72Decoder_typesAndBlitzPage() {
    Window win;
    auto &c = win.c();
    auto *page = c.get<pages::TabSheet>(S("TabSheet14"));
    ConfigImage img = imageFromRuns("8..15: 3 5 9 1 2 4 8 19; 181: 19", goldenPreset(72, 1));
    DecodeImage(win.w(), img);
    QCOMPARE(win.dialogs.shown.size(), 0);
    QCOMPARE(c.combo(S("TypeMesgGSM8"))->itemIndex(), 10);
    QVERIFY(page->tabVisible());
    img[181] |= 0x20;
    img[15] = 2;
    DecodeImage(win.w(), img);
    QCOMPARE(c.combo(S("TypeMesgGSM8"))->itemIndex(), 1);
    QVERIFY(!page->tabVisible());
    // 0x03, 0x05, 0x09 read as SMS last under the order flag; a byte of no rule keeps the list.
    img = imageFromRuns("8..15: 3 5 9 1 2 4 8 0", goldenPreset(72, 1));
    c.combo(S("TypeMesgGSM8"))->setItemIndex(4);
    for (bool order : {false, true}) {
        img[181] = std::uint8_t(order ? img[181] | 0x20 : img[181] & ~0x20);
        DecodeImage(win.w(), img);
        QCOMPARE(c.combo(S("TypeMesgGSM1"))->itemIndex(), order ? 3 : 2);
        QCOMPARE(c.combo(S("TypeMesgGSM4"))->itemIndex(), 0);
        QCOMPARE(c.combo(S("TypeMesgGSM5"))->itemIndex(), 1);
        QCOMPARE(c.combo(S("TypeMesgGSM6"))->itemIndex(), 4);
        QCOMPARE(c.combo(S("TypeMesgGSM8"))->itemIndex(), 4);
    }
}

// Partitions 1 and 3 both naming group 2: group 2's rights and password go to partition 1's
// object only. A group whose first partition has no object keeps no password row.
void TstCodec::q72Decoder_duplicateGroupAndObjectZero() {
    Window win;
    auto &w = win.w();
    ConfigImage img = goldenPreset(72, 1);
    img = imageFromRuns("192..194: 2 0 2; 195..207: 0 x 13; 208..213: 255 32 255 17 255 50;"
                        "240..241: 1 20; 467..469: 18 52 95",
                        img);
    DecodeImage(w, img);
    QCOMPARE(win.dialogs.shown.size(), 0);
    QCOMPARE(w.passwordRow(2), (std::array<int, 3>{0x12, 0x34, 0x5F}));
    QCOMPARE(w.passwordRow(3), (std::array<int, 3>{255, 255, 255}));
    QVERIFY(!win.c().check(S("vz2"))->isChecked());
    QVERIFY(win.c().check(S("st2"))->isChecked());
    QVERIFY(win.c().check(S("stop2"))->isChecked());

    img = imageFromRuns("192: 1; 193..207: 0 x 15; 208..209: 255 240; 464..466: 18 52 95",
                        goldenPreset(72, 1));
    DecodeImage(w, img);
    QCOMPARE(win.dialogs.shown.size(), 0);
    for (int o = 1; o <= 1000; ++o)
        QCOMPARE(w.passwordRow(o)[0], 255);
}

// Codes shorter than four digits are padded once the window has been shown, not during start-up.
void TstCodec::q72Decoder_blitzPadding() {
    const ConfigImage img =
        imageFromRuns("256..259: 7 0 255 0; 314..315: 16 39", goldenPreset(72, 1));
    Window shown;
    DecodeImage(shown.w(), img);
    QCOMPARE(shown.c().edit(S("Edit1"))->text(), S("0007"));
    QCOMPARE(shown.c().edit(S("Edit2"))->text(), QString());
    QCOMPARE(shown.c().edit(S("Edit24"))->text(), S("10000"));
    Window hidden(pages::ModelQ72, S("Russian"), false);
    QVERIFY(!hidden.w().FormShown);
    DecodeImage(hidden.w(), img);
    QCOMPARE(hidden.c().edit(S("Edit1"))->text(), S("7"));
}

// Without the SMS-Blitz item (interfaces other than Russian) a recipient that uses it gets the
// item back, shows it and writes it again; the item goes when an image no longer uses it.
void TstCodec::blitzTypeWithoutItem_survivesEncode() {
    Window win(pages::ModelQ72, S("English"));
    auto &c = win.c();
    pages::ComboBox *gsm3 = c.combo(S("TypeMesgGSM3"));
    QCOMPARE(gsm3->count(), 10);
    ConfigImage img = imageFromRuns("10: 19; 256..257: 33 0", goldenPreset(72, 1));
    DecodeImage(win.w(), img);
    QCOMPARE(win.dialogs.shown.size(), 0);
    QCOMPARE(gsm3->count(), 11);
    QCOMPARE(gsm3->itemIndex(), 10);
    QCOMPARE(gsm3->text(), S("SMS-Блиц"));
    QCOMPARE(c.combo(S("TypeMesgGSM2"))->count(), 10);
    const ConfigImage again = win.encode();
    QCOMPARE(int(again[10]), 0x13);
    QCOMPARE(int(again[256]), 33);
    DecodeImage(win.w(), again);
    QCOMPARE(gsm3->count(), 11);
    DecodeImage(win.w(), goldenPreset(72, 1));
    QCOMPARE(gsm3->count(), 10);
    QCOMPARE(gsm3->itemIndex(), 1);
}

// A new name language re-runs the work-mode and relay rules; the relay's own ticks of the image
// must still be shown afterwards.
void TstCodec::q72Decoder_relayTicksSurviveLanguageChange() {
    Window win;
    for (int language : {1, 2, 0}) {
        QVERIFY(win.w().LangChange->itemIndex() != language);
        ConfigImage img = goldenPreset(72, 1);
        img[3] |= 0x1F; // every equipment box of relay 1
        img[171] = std::uint8_t(language << 4 | 1);
        DecodeImage(win.w(), img);
        QCOMPARE(win.w().LangChange->itemIndex(), language);
        QCOMPARE(win.w().ReleWorkMode1->itemIndex(), 0);
        for (const char *box :
             {"PowerCD1", "DamageCD1", "ErrorInterface1", "RadioChanBlck1", "NoLine1"})
            QVERIFY2(win.c().check(S(box))->isChecked(), box);
        QCOMPARE(int(win.encode()[3]), 0x7F);
    }
}

QTEST_MAIN(TstCodec)
#include "tst_codec.moc"
