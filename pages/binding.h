#pragma once
// The window's side of the settings value: a decoded image is applied to the controls, and the
// settings are gathered back from them, with the page rules running at the moments they always
// ran while an image was read into the window.
#include "image/settings.h"
#include "pages/formbase.h"

namespace q7x::pages {

// Shows decoded Q72 settings: sets the controls in the decoder's order and runs the page rules;
// each field error shows its message when its field is reached, and after any error the final
// warning appears and the factory preset is restored (DefaultButtonClick). A GSM list without
// the SMS-Blitz item (interfaces other than Russian) gets it back while a recipient uses it, so
// the setting is shown and written again. A list whose stored value has no item keeps its choice.
void applyQ72(FormBase &form, const image::DecodeResult<image::Q72Settings> &decoded);
// Shows decoded Q71 settings; shows no message.
void applyQ71(FormBase &form, const image::Q71Settings &s);

// The settings the window shows, as the encoders store them: object groups from the object
// numbers, their passwords from ObjectPasswordTable and their commands from the object rows.
image::Q72Settings gatherQ72(const FormBase &form);
image::Q71Settings gatherQ71(const FormBase &form);

// Decodes an image into the window: DecodeImageQ71 also lists bytes 0..299 in Memo3.
void DecodeImageQ72(FormBase &form, const image::ConfigImage &image);
void DecodeImageQ71(FormBase &form, const image::ConfigImage &image);
// Chooses the decoder by the window's DeviceModel.
void DecodeImage(FormBase &form, const image::ConfigImage &image);

// Encodes the window. Once the Q71 image is complete, the partitions of recipients without a
// telephone number are unticked and the image is listed in Memo2; a refused encoding changes
// nothing.
image::Encoded EncodeImageQ72(FormBase &form);
image::Encoded EncodeImageQ71(FormBase &form);
image::Encoded EncodeImage(FormBase &form);

} // namespace q7x::pages
