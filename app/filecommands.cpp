// Factory presets and configuration files: restoring the defaults of the current model and work
// mode, saving the window's configuration to a file and loading one back.
#include "app/mainform.h"
#include "pages/buildutil.h"

#include "image/configfile.h"
#include "image/presets.h"
#include "lang/ini.h"
#include "lang/messagetable.h"

namespace q7x::app {

using pages::Dialogs;

namespace {

using pages::build::S;

// The dialogs' filter in the form the dialogs take: description and patterns per entry.
const char *const FileFilter = "Файлы конфигурации (*.cfg);;Все файлы (*)";

QString proposedName(const TMainForm &form) {
    return form.DeviceModel == DeviceModel::Q71 ? S("Q71") : S("Q72");
}

void showError(TMainForm &form, const QString &text) {
    form.dialogs().message(text, QString(), Dialogs::Icon::Error);
}

} // namespace

// A factory preset read into the window is no longer the file last saved or loaded.
void TMainForm::applyEffects(const image::FormEffects &fx) {
    if (fx.defaultsRestored)
        ConfigFileName.clear();
    FormBase::applyEffects(fx);
}

void TMainForm::SaveButtonClick(QWidget *) {
    const QString path = dialogs().saveFileName(S("Записать конфигурацию в файл"), S(FileFilter),
                                                S("cfg"), proposedName(*this));
    if (path.isEmpty())
        return;
    const image::Encoded encoded = encodeImage();
    if (!encoded.ok()) {
        showError(*this, encoded.error);
        return;
    }
    if (const image::FileError e = image::writeConfigFile(path, encoded.image, DeviceModel); e) {
        showError(*this, e.message());
        return;
    }
    ConfigFileName = path;
    setStatusText(lang::M(1002));
}

QString TMainForm::openConfigFileName() {
    return dialogs().openFileName(S("Считать конфигурацию из файла"), S(FileFilter),
                                  proposedName(*this) + S(".cfg"));
}

void TMainForm::LoadButtonClick(QWidget *) {
    const QString path = openConfigFileName();
    if (path.isEmpty())
        return;
    const image::ConfigFileRead read = image::readConfigFile(path);
    if (!read.model) {
        showError(*this, read.error.message());
        return;
    }
    mainPage().VersionLabel->hide();
    if (*read.model != core::modelCode(DeviceModel)) {
        dialogs().message(lang::M(1215), QString(), Dialogs::Icon::None);
        return;
    }
    if (!read.image) {
        showError(*this, read.error.message());
        return;
    }
    if (DeviceModel == DeviceModel::Q71)
        pages::listImage(Memo3, *read.image);
    runRules([&](image::Form &f, image::FormEffects &fx) { image::loadFile(f, *read.image, fx); });
    ConfigFileName = path;
    setStatusText(lang::M(1008));
}

std::optional<image::WriteLanguage> writeLanguage(const QString &name) {
    if (name == lang::LangRussian)
        return image::WriteLanguage::Russian;
    if (name == lang::LangEnglish)
        return image::WriteLanguage::English;
    if (name == lang::LangTurkish)
        return image::WriteLanguage::Turkish;
    return std::nullopt;
}

} // namespace q7x::app
