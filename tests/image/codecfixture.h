#pragma once
// Shared by the codec tests: a shown main window with recording dialogs, message numbers that
// can be recognised, images edited run by run, and comparison on the bits a layout defines.
#include "app/mainform.h"
#include "image/configimage.h"
#include "image/presets.h"
#include "imagebits.h"
#include "lang/messagetable.h"
#include "pages/dialogs.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QtTest>

#include <functional>
#include <memory>

namespace codectest {

using namespace q7x;
using core::DeviceModel;
using image::ConfigImage;
using test::choose;
using test::numberMessages;

inline QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// Recording dialogs that can look at the window when a message appears.
class HookDialogs : public pages::RecordingDialogs {
  public:
    std::function<void(const Shown &)> onMessage;
    void message(const QString &text, const QString &caption, Icon icon) override {
        RecordingDialogs::message(text, caption, icon);
        if (onMessage)
            onMessage(shown.last());
    }
};

// The main window in demonstration mode of `model`, with the interface language given.
struct Window {
    HookDialogs dialogs;
    std::unique_ptr<app::TMainForm> form;

    explicit Window(DeviceModel model = pages::DeviceModel::Q72,
                    const QString &language = S("Russian"), bool show = true) {
        form = std::make_unique<app::TMainForm>(&dialogs);
        form->SelectLang->setText(language);
        if (form->SelectLang->text() != language)
            form->SelectLang->setItemIndex(-1); // no language stored
        if (show)
            form->show();
        const int item = model == pages::DeviceModel::Q71 ? 0 : 1;
        if (form->Mode->itemIndex() != item) {
            form->Mode->setItemIndex(item);
            form->WorkMode(form->Mode);
        }
        dialogs.clear();
    }
    app::TMainForm &w() { return *form; }
    const pages::Controls &c() { return form->controls(); }
    ConfigImage encode() {
        const image::Encoded e = form->encodeImage();
        if (!e.ok())
            qWarning("encoder: %s", qPrintable(e.error));
        return e.image;
    }
    // The factory settings of work mode `mode`, as the user restores them.
    void defaults(int mode) {
        form->mainPage().WorkModeComboBox->setItemIndex(mode);
        form->DefaultButtonClick(nullptr);
        dialogs.clear();
    }
};

inline ConfigImage preset(DeviceModel model, int mode) { return image::presetImage(model, mode); }

} // namespace codectest
