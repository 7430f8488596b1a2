// The codecs as the window uses them, over the form its controls show.
#include "pages/binding.h"

#include "image/formrules.h"
#include "pages/formbinding.h"

namespace q7x::pages {

void listImage(Memo *memo, const image::ConfigImage &img) {
    QStringList lines;
    lines.reserve(300);
    for (int i = 0; i < 300; ++i)
        lines << QString::number(img[std::size_t(i)]);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
}

namespace {

void decode(FormBase &form, DeviceModel model, const image::ConfigImage &img) {
    form.runRules(
        [&](image::Form &f, image::FormEffects &fx) { image::readImage(f, model, img, fx); });
}

} // namespace

image::Q72Settings gatherQ72(const FormBase &form) { return image::q72Settings(readForm(form)); }

image::Q71Settings gatherQ71(const FormBase &form) { return image::q71Settings(readForm(form)); }

void DecodeImageQ72(FormBase &form, const image::ConfigImage &img) {
    decode(form, DeviceModel::Q72, img);
}

void DecodeImageQ71(FormBase &form, const image::ConfigImage &img) {
    listImage(form.Memo3, img);
    decode(form, DeviceModel::Q71, img);
}

void DecodeImage(FormBase &form, const image::ConfigImage &img) {
    if (form.DeviceModel == DeviceModel::Q71)
        DecodeImageQ71(form, img);
    else
        DecodeImageQ72(form, img);
}

image::Encoded EncodeImage(FormBase &form) {
    image::Encoded out;
    form.runRules([&](image::Form &f, image::FormEffects &) { out = image::encodeForm(f); });
    if (out.ok() && form.DeviceModel == DeviceModel::Q71)
        listImage(form.Memo2, out.image);
    return out;
}

image::Encoded EncodeImageQ72(FormBase &form) { return image::encodeQ72(gatherQ72(form)); }

image::Encoded EncodeImageQ71(FormBase &form) { return EncodeImage(form); }

} // namespace q7x::pages
