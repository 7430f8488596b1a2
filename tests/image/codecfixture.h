#pragma once
// Shared by the codec tests: a shown main window with recording dialogs, message numbers that
// can be recognised, golden images written from the preset tables, and byte comparison.
#include "app/mainform.h"
#include "image/codec.h"
#include "image/configimage.h"
#include "lang/messagetable.h"
#include "pages/dialogs.h"

#include <QRegularExpression>
#include <QtTest>

#include <functional>
#include <memory>

namespace codectest {

using namespace q7x;
using image::ConfigImage;

inline QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// Message n of the table reads "M<n>", so a test sees which message was shown.
inline void numberMessages() {
    for (int k = 0; k < lang::MessageCount; ++k)
        lang::MessageTable()[k] = QStringLiteral("M%1").arg(1000 + k);
}

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

// The main window in demonstration mode of `model`, shown, with the interface language given.
struct Window {
    HookDialogs dialogs;
    std::unique_ptr<app::TMainForm> form;

    explicit Window(int model = pages::ModelQ72, const QString &language = S("Russian"),
                    bool show = true) {
        form = std::make_unique<app::TMainForm>(&dialogs);
        form->SelectLang->setText(language);
        if (form->SelectLang->text() != language)
            form->SelectLang->setItemIndex(-1); // no language stored
        if (show)
            form->show();
        setModel(model);
        dialogs.clear();
    }
    app::TMainForm &w() { return *form; }
    const pages::Controls &c() { return form->controls(); }
    // The user's choice of the tool mode (demonstration of a model).
    void setModel(int model) {
        const int item = model == pages::ModelQ71 ? 0 : 1;
        if (form->Mode->itemIndex() != item) {
            form->Mode->setItemIndex(item);
            form->WorkMode(form->Mode);
        }
    }
    ConfigImage encode() {
        const image::Encoded e = image::EncodeImage(*form);
        if (!e.ok())
            qWarning("encoder: %s", qPrintable(e.error));
        return e.image;
    }
};

// A user's choice in a drop-down list: the index changes and the list reports the activation.
inline void choose(pages::ComboBox *c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

// Builds an image from runs written as in the preset tables: "first..last: bytes",
// "first..last: value x count" or "at: byte", separated by ";". Unlisted bytes are 0.
inline ConfigImage imageFromRuns(const char *runs, const ConfigImage &base = ConfigImage{}) {
    ConfigImage img = base;
    const QStringList parts = QString::fromLatin1(runs).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QStringList kv = part.split(QLatin1Char(':'));
        const QStringList range = kv[0].trimmed().split(QStringLiteral(".."));
        const int first = range[0].toInt();
        const int last = range.size() > 1 ? range[1].toInt() : first;
        const QString body = kv[1].trimmed();
        QList<int> bytes;
        if (body.contains(QLatin1Char('x'))) {
            const QStringList vc = body.split(QLatin1Char('x'));
            for (int i = 0; i < vc[1].trimmed().toInt(); ++i)
                bytes << vc[0].trimmed().toInt();
        } else {
            for (const QString &b :
                 body.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                bytes << b.toInt();
        }
        if (bytes.size() != last - first + 1)
            qFatal("golden run %s does not fill its range", qPrintable(part));
        for (int i = 0; i < bytes.size(); ++i)
            img[first + i] = std::uint8_t(bytes[i]);
    }
    return img;
}

// The twelve factory images as the preset tables give them, by model and work-mode item.
ConfigImage goldenPreset(int model, int mode);

// Compares two images on the bits of `mask` (0xFF for a whole byte), naming the first mismatch.
inline bool sameBits(const ConfigImage &got, const ConfigImage &want,
                     const std::array<std::uint8_t, image::ImageSize> &mask, QString *why) {
    for (int i = 0; i < image::ImageSize; ++i)
        if ((got[i] ^ want[i]) & mask[i]) {
            *why = QStringLiteral("byte %1: got %2, want %3 (mask 0x%4)")
                       .arg(i)
                       .arg(got[i])
                       .arg(want[i])
                       .arg(mask[i], 2, 16, QLatin1Char('0'));
            return false;
        }
    return true;
}

// The bits each model's layout gives a meaning, for an image whose object groups number
// `groupCount` (command bytes of unused groups carry nothing).
std::array<std::uint8_t, image::ImageSize> definedBits(int model, int groupCount);

} // namespace codectest
