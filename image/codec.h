#pragma once
// The codecs between a configuration image and the window's controls, the factory-preset action
// and the configuration-file commands. They run on the window thread only.
#include "image/configimage.h"

#include <QString>

#include <cstdint>

namespace q7x::pages {
class FormBase;
}

namespace q7x::image {

// Spreads an image over the controls of the model it belongs to and runs the page rules.
// The GSM decoder reports each bad field in a message box, then the final warning, and restores
// the factory preset; the telephone-line decoder shows nothing and leaves a list whose stored
// value it does not offer as it was. A GSM recipient using SMS-Blitz in an interface whose lists
// lack that item gets the item back in its own list, so the setting is shown and written again.
void DecodeImageQ72(pages::FormBase &form, const ConfigImage &image);
void DecodeImageQ71(pages::FormBase &form, const ConfigImage &image);
// Chooses the decoder by the window's DeviceModel.
void DecodeImage(pages::FormBase &form, const ConfigImage &image);

// The result of an encoder: the image, or the reason it could not be built (a text naming the
// field and the value, for a message box). Nothing may be written or sent when error is set;
// the window is then unchanged too (the telephone-line encoder unticks the partitions of
// recipients without a number, and lists the image in Memo2, only on success).
struct LegacyEncoded {
    ConfigImage image{};
    QString error;
    bool ok() const { return error.isEmpty(); }
};
LegacyEncoded EncodeImageQ72(pages::FormBase &form);
LegacyEncoded EncodeImageQ71(pages::FormBase &form);
LegacyEncoded EncodeImage(pages::FormBase &form);

// Loads the factory preset of the current model and work mode into the window.
void DefaultButtonClick(pages::FormBase &form);

// Saves the window's configuration to a file the user picks / loads one back.
void SaveButtonClick(pages::FormBase &form);
void LoadButtonClick(pages::FormBase &form);

} // namespace q7x::image
