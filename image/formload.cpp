#include "image/formload.h"

#include "image/formrules.h"

namespace q7x::image {

namespace {

template <class S> QStringList unshown(const QList<CatalogueField<S>> &fields, const S &s) {
    QStringList keys;
    for (const CatalogueField<S> &f : fields) {
        if (f.kind != FieldKind::List || !f.set)
            continue;
        const int item = f.get(s).toInt();
        if (item < 0 || item >= f.items(s).size())
            keys << f.key;
    }
    return keys;
}

// The language a start-up window shows decides no setting; the window's own is Russian.
const QString StartLanguage = QStringLiteral("Russian");

} // namespace

Form loadStart(DeviceModel model) {
    static const Form q72 = startForm(StartLanguage);
    static const Form q71 = [] {
        Form f = q72;
        FormEffects fx;
        chooseToolMode(f, int(ToolMode::DemoQ71), fx);
        return f;
    }();
    return model == DeviceModel::Q71 ? q71 : q72;
}

Form loadedForm(DeviceModel model, const ConfigImage &image) {
    Form f = loadStart(model);
    FormEffects fx;
    loadFile(f, image, fx);
    return f;
}

Encoded writeAfterLoad(DeviceModel model, const ConfigImage &image) {
    Form f = loadedForm(model, image);
    return encodeForm(f);
}

QStringList unshownValues(const Q72Settings &s) { return unshown(catalogueQ72(), s); }

QStringList unshownValues(const Q71Settings &s) {
    QStringList keys = unshown(catalogueQ71(), s);
    if (s.workMode != 0)
        for (const char *input : {"controlInput", "input1", "input2"})
            keys.removeOne(QLatin1String(input));
    return keys;
}

Encoded imageToWrite(DeviceModel model, const ConfigImage &image,
                     std::optional<WriteLanguage> language) {
    const bool damaged = model == DeviceModel::Q71 ? false : !decodeQ72(image).errors.isEmpty();
    if (damaged)
        return {{}, QStringLiteral("The configuration holds damaged fields"), {}};
    const QStringList keys = model == DeviceModel::Q71 ? unshownValues(decodeQ71(image).settings)
                                                       : unshownValues(decodeQ72(image).settings);
    if (!keys.isEmpty())
        return {{},
                QStringLiteral("No list item shows the value of %1").arg(keys.first()),
                keys.first()};
    Encoded out = writeAfterLoad(model, image);
    if (out.ok())
        adjustForWrite(out.image, model, language);
    return out;
}

} // namespace q7x::image
