#pragma once
// Shared by the codec tests: a shown main window with recording dialogs, message numbers that
// can be recognised, images edited run by run, and comparison on the bits a layout defines.
#include "app/mainform.h"
#include "image/configimage.h"
#include "image/presets.h"
#include "imagebits.h"
#include "lang/messagetable.h"
#include "pages/binding.h"
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
        const image::Encoded e = pages::EncodeImage(*form);
        if (!e.ok())
            qWarning("encoder: %s", qPrintable(e.error));
        return e.image;
    }
    // The factory settings of work mode `mode`, as the user restores them.
    void defaults(int mode) {
        form->WorkModeComboBox->setItemIndex(mode);
        form->DefaultButtonClick(nullptr);
        dialogs.clear();
    }
};

// Byte runs written "first..last: values" or "at: value", separated by ";". A value is a C
// number (0x.. for hex) and may repeat as "value*count"; "at&mask: value" names bits of a byte.
inline void forEachRun(const char *runs, const std::function<void(int, int, int)> &byte) {
    for (const QString &part :
         QString::fromLatin1(runs).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList kv = part.split(QLatin1Char(':'));
        const QStringList where = kv[0].trimmed().split(QLatin1Char('&'));
        const int mask = where.size() > 1 ? where[1].toInt(nullptr, 0) : 0xFF;
        const QStringList range = where[0].split(QStringLiteral(".."));
        const int first = range[0].toInt();
        const int last = range.size() > 1 ? range[1].toInt() : first;
        QList<int> values;
        for (const QString &v :
             kv[1].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            const QStringList vc = v.split(QLatin1Char('*'));
            for (int i = 0; i < (vc.size() > 1 ? vc[1].toInt() : 1); ++i)
                values << vc[0].toInt(nullptr, 0);
        }
        if (values.size() != last - first + 1)
            qFatal("run %s does not fill its range", qPrintable(part));
        for (int i = 0; i < values.size(); ++i)
            byte(first + i, mask, values[i]);
    }
}

// `base` with the bytes of `runs` written in.
inline ConfigImage imageFromRuns(const char *runs, ConfigImage img) {
    forEachRun(runs, [&](int at, int, int value) { img[at] = std::uint8_t(value); });
    return img;
}

// Whether `img` holds the bytes of `runs`; names the first that differs.
inline bool holdsRuns(const ConfigImage &img, const char *runs, QString *why) {
    forEachRun(runs, [&](int at, int mask, int value) {
        if (why->isEmpty() && (img[at] & mask) != value)
            *why = QStringLiteral("byte %1&0x%2: got 0x%3, want 0x%4")
                       .arg(at)
                       .arg(mask, 0, 16)
                       .arg(img[at] & mask, 0, 16)
                       .arg(value, 0, 16);
    });
    return why->isEmpty();
}

inline ConfigImage preset(DeviceModel model, int mode) { return image::presetImage(model, mode); }

} // namespace codectest
