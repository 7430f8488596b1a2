// What both codecs share, the choice of codec by model, the factory presets and the
// configuration-file commands.
#include "image/codec.h"
#include "image/codec_util.h"
#include "image/configfile.h"
#include "image/presets.h"
#include "lang/ini.h"
#include "lang/messagetable.h"

namespace q7x::image {

using namespace detail;
using pages::Dialogs;

namespace detail {

void decodeRelay(FormBase &form, const RelaySettings &s, const RelayBits &bits) {
    const Controls &c = form.controls();
    const int mode = relayWorkMode(s);
    // Selecting an item applies the fixed settings of its mode through the group's click rule;
    // the rule runs here also when the item was already selected, so the window always shows
    // the mode's settings rather than whatever was left on the page.
    const bool unchanged = form.ReleWorkMode1->itemIndex() == mode;
    form.ReleWorkMode1->setItemIndex(mode);
    if (unchanged)
        form.ReleWorkMode1Click(form.ReleWorkMode1);

    if (mode == RelaySpecialMode) {
        setIndex(c.combo(S("TimeZmk1")), s.timeZmk);
        setIndex(c.combo(S("TimeRzmk1")), s.timeRzmk);
        setIndex(c.combo(S("TimePeriod1")), s.timePeriod);
        c.combo(S("InvRele1"))->setItemIndex(s.inverted ? 1 : 0);
    }
    c.check(S("RadioChanBlck1"))->setChecked(bits.radioChanBlck);
    c.check(S("DamageCD1"))->setChecked(bits.damageCD);
    c.check(S("ErrorInterface1"))->setChecked(bits.errorInterface);
    c.check(S("NoLine1"))->setChecked(bits.noLine);
    c.check(S("PowerCD1"))->setChecked(bits.powerCD);
    if (mode != RelaySpecialMode)
        return;
    c.check(S("OnOffLine1"))->setChecked(s.onOffLine);
    c.check(S("OnOffAllLine1"))->setChecked(s.onOffAllLine);
    c.check(S("ErrorFire1"))->setChecked(s.errorFire);
    c.check(S("NoConnect1"))->setChecked(s.noConnect);
    c.check(S("BoxDamage1"))->setChecked(s.boxDamage);
    c.check(S("ErrorPower1"))->setChecked(s.errorPower);
    c.check(S("AlarmEvent1"))->setChecked(s.alarmEvent);
    c.widget(S("TimeRzmk1"))->setEnabled(true);
    c.widget(S("TimeZmk1"))->setEnabled(true);
    c.widget(S("TimePeriod1"))->setEnabled(false);
    form.SpecModeRele(c.combo(S("TimeRzmk1")));
}

void decodeRelayPartitions(const Controls &c, const ConfigImage &img, const RelayLayout &at) {
    for (int p = 1; p <= PartitionCount; ++p)
        c.check(S("iz1"), p)
            ->setChecked(p <= 8 ? bit(img[at.partitions1], p - 1)
                                : bit(img[at.partitions9], p - 9));
}

void encodeRelayPartitions(const Controls &c, ConfigImage &img, const RelayLayout &at) {
    for (int p = 1; p <= PartitionCount; ++p)
        if (c.check(S("iz1"), p)->isChecked()) {
            if (p <= 8)
                img[at.partitions1] |= std::uint8_t(1 << (p - 1));
            else
                img[at.partitions9] |= std::uint8_t(1 << (p - 9));
        }
}

RelayBits relayBits(const ConfigImage &img, const RelayLayout &at) {
    return {testBit(img, at.radioChanBlck), testBit(img, at.damageCD),
            testBit(img, at.errorInterface), testBit(img, at.noLine), testBit(img, at.powerCD)};
}

void encodeRelayBits(ConfigImage &img, const RelayLayout &at, const RelayBits &bits) {
    setBit(img, at.powerCD, bits.powerCD);
    setBit(img, at.damageCD, bits.damageCD);
    setBit(img, at.errorInterface, bits.errorInterface);
    setBit(img, at.radioChanBlck, bits.radioChanBlck);
    setBit(img, at.noLine, bits.noLine);
}

RelayControls readRelay(const FormBase &form) {
    const Controls &c = form.controls();
    RelayControls r;
    r.s.alarmEvent = checked(c, S("AlarmEvent1"));
    r.s.boxDamage = checked(c, S("BoxDamage1"));
    r.s.onOffLine = checked(c, S("OnOffLine1"));
    r.s.onOffAllLine = checked(c, S("OnOffAllLine1"));
    r.s.errorFire = checked(c, S("ErrorFire1"));
    r.s.noConnect = checked(c, S("NoConnect1"));
    r.s.errorPower = checked(c, S("ErrorPower1"));
    r.s.inverted = index(c, "InvRele1") == 1;
    r.s.timeRzmk = index(c, "TimeRzmk1");
    r.s.timeZmk = index(c, "TimeZmk1");
    r.s.timePeriod = index(c, "TimePeriod1");
    r.bits.radioChanBlck = checked(c, S("RadioChanBlck1"));
    r.bits.damageCD = checked(c, S("DamageCD1"));
    r.bits.errorInterface = checked(c, S("ErrorInterface1"));
    r.bits.noLine = checked(c, S("NoLine1"));
    r.bits.powerCD = checked(c, S("PowerCD1"));
    r.releControlByCommand = form.ReleControl1->itemIndex() == 0;
    return r;
}

QString fieldError(const QString &field, const ConvertError &e) {
    QString text = S("The configuration was not stored: %1: %2.").arg(field, e.message());
    if (e.kind == ConvertError::Kind::Unstorable && field.startsWith(S("SMS-Blitz")))
        text += S(" Codes 255, 511, 767 ... 9983 (a multiple of 256 minus 1) cannot be used; "
                  "please choose another code.");
    return text;
}

} // namespace detail

void DecodeImage(pages::FormBase &form, const ConfigImage &image) {
    if (form.DeviceModel == pages::ModelQ71)
        DecodeImageQ71(form, image);
    else
        DecodeImageQ72(form, image);
}

LegacyEncoded EncodeImage(pages::FormBase &form) {
    return form.DeviceModel == pages::ModelQ71 ? EncodeImageQ71(form) : EncodeImageQ72(form);
}

void DefaultButtonClick(pages::FormBase &form) {
    const int model = form.DeviceModel == pages::ModelQ71 ? ModelQ71 : ModelQ72;
    DecodeImage(form, presetImage(model, form.WorkModeComboBox->itemIndex()));
    if (model == ModelQ72)
        form.ChangeOwnName(form.controls().combo(S("NameRzd1")));
    form.setStatusText(form.SelectLang->text() == lang::LangRussian
                           ? S("Заводские настройки выставлены")
                           : lang::M(1537));
}

namespace {

// The dialogs' filter in the form the dialogs take: description and patterns per entry.
const char *const FileFilter = "Файлы конфигурации (*.cfg);;Все файлы (*)";

QString proposedName(const pages::FormBase &form) {
    return form.DeviceModel == pages::ModelQ71 ? S("Q71") : S("Q72");
}

int modelCode(const pages::FormBase &form) {
    return form.DeviceModel == pages::ModelQ71 ? ModelQ71 : ModelQ72;
}

void showError(pages::FormBase &form, const QString &text) {
    form.dialogs().message(text, QString(), Dialogs::Icon::Error);
}

} // namespace

void SaveButtonClick(pages::FormBase &form) {
    const QString path = form.dialogs().saveFileName(S("Записать конфигурацию в файл"),
                                                     S(FileFilter), S("cfg"), proposedName(form));
    if (path.isEmpty())
        return;
    const LegacyEncoded encoded = EncodeImage(form);
    if (!encoded.ok()) {
        showError(form, encoded.error);
        return;
    }
    if (const FileError e = writeConfigFile(path, encoded.image, form.DeviceModel); e) {
        showError(form, e.message());
        return;
    }
    form.setStatusText(lang::M(1002));
}

void LoadButtonClick(pages::FormBase &form) {
    const QString path = form.dialogs().openFileName(S("Считать конфигурацию из файла"),
                                                     S(FileFilter), proposedName(form) + S(".cfg"));
    if (path.isEmpty())
        return;
    const ConfigFileRead read = readConfigFile(path);
    if (!read.model) {
        showError(form, read.error.message());
        return;
    }
    form.VersionLabel->hide();
    if (*read.model != modelCode(form)) {
        form.dialogs().message(lang::M(1215), QString(), Dialogs::Icon::None);
        return;
    }
    if (!read.image) {
        showError(form, read.error.message());
        return;
    }
    DecodeImage(form, *read.image);
    form.setStatusText(lang::M(1008));
    if (form.DeviceModel != pages::ModelQ71) {
        const Controls &c = form.controls();
        for (int k = 1; k <= q72::RecipientCount; ++k)
            if (c.combo(S("TypeMesgGSM"), k)->itemIndex() == GsmBlitzItem) {
                c.get<pages::TabSheet>(S("TabSheet14"))->setTabVisible(true);
                break;
            }
    }
}

} // namespace q7x::image
