// Placeholder bodies until the codecs land.
#include "image/codec.h"

#include "pages/formbase.h"

namespace q7x::image {

void DecodeImageQ72(pages::FormBase &, const ConfigImage &) {}
void DecodeImageQ71(pages::FormBase &, const ConfigImage &) {}
void DecodeImage(pages::FormBase &form, const ConfigImage &image) {
    if (form.DeviceModel == pages::ModelQ71)
        DecodeImageQ71(form, image);
    else
        DecodeImageQ72(form, image);
}
Encoded EncodeImageQ72(pages::FormBase &) { return {}; }
Encoded EncodeImageQ71(pages::FormBase &) { return {}; }
Encoded EncodeImage(pages::FormBase &form) {
    return form.DeviceModel == pages::ModelQ71 ? EncodeImageQ71(form) : EncodeImageQ72(form);
}
void DefaultButtonClick(pages::FormBase &) {}
void SaveButtonClick(pages::FormBase &) {}
void LoadButtonClick(pages::FormBase &) {}

} // namespace q7x::image
