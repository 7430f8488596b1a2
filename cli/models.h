#pragma once
// The two models' settings, catalogues and codecs behind one name, so that code written once for
// a settings type serves both: `withModel(model, [&](auto m) { using S = typename
// decltype(m)::Settings; ... })`.
#include "image/formrules.h"

namespace q7x::cli {

template <class S> struct ModelOf;

template <> struct ModelOf<image::Q72Settings> {
    using Settings = image::Q72Settings;
    static constexpr image::DeviceModel model = image::DeviceModel::Q72;
    static const QList<image::Q72Field> &catalogue() { return image::catalogueQ72(); }
    static image::DecodeResult<Settings> decode(const image::ConfigImage &i) {
        return image::decodeQ72(i);
    }
    static image::Encoded encode(const Settings &s) { return image::encodeQ72(s); }
    static Settings ofForm(const image::Form &f) { return image::q72Settings(f); }
};

template <> struct ModelOf<image::Q71Settings> {
    using Settings = image::Q71Settings;
    static constexpr image::DeviceModel model = image::DeviceModel::Q71;
    static const QList<image::Q71Field> &catalogue() { return image::catalogueQ71(); }
    static image::DecodeResult<Settings> decode(const image::ConfigImage &i) {
        return image::decodeQ71(i);
    }
    static image::Encoded encode(const Settings &s) { return image::encodeQ71(s); }
    static Settings ofForm(const image::Form &f) { return image::q71Settings(f); }
};

template <class F> decltype(auto) withModel(image::DeviceModel model, F &&f) {
    if (model == image::DeviceModel::Q71)
        return f(ModelOf<image::Q71Settings>{});
    return f(ModelOf<image::Q72Settings>{});
}

} // namespace q7x::cli
