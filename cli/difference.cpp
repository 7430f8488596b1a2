#include "cli/difference.h"

#include "cli/run.h"
#include "cli/settingsjson.h"

#include <QJsonObject>

namespace q7x::cli {

namespace {

template <class S>
QList<Difference> differencesOf(const QList<image::CatalogueField<S>> &fields, const S &a,
                                const S &b, const FieldText &words) {
    QList<Difference> out;
    for (const auto &f : fields) {
        const QVariant va = f.get(a), vb = f.get(b);
        if (va == vb)
            continue;
        out.append({f.key, words.pages(f.pages), words.label(f, a), settingJson(va, f.kind),
                    settingJson(vb, f.kind), words.value(f, a), words.value(f, b)});
    }
    return out;
}

} // namespace

QList<Difference> differences(image::DeviceModel model, const image::ConfigImage &a,
                              const image::ConfigImage &b, const FieldText &words) {
    if (model == image::DeviceModel::Q71)
        return differencesOf(image::catalogueQ71(), image::decodeQ71(a).settings,
                             image::decodeQ71(b).settings, words);
    return differencesOf(image::catalogueQ72(), image::decodeQ72(a).settings,
                         image::decodeQ72(b).settings, words);
}

QString describe(const QList<Difference> &diffs, const QString &nameA, const QString &nameB) {
    QString out = QStringLiteral("--- %1\n+++ %2\n").arg(nameA, nameB);
    for (const Difference &d : diffs)
        out += QStringLiteral("%1 / %2\n- %3\n+ %4\n")
                   .arg(d.page, d.setting, printable(d.aText), printable(d.bText));
    return out;
}

QJsonArray toJson(const QList<Difference> &diffs) {
    QJsonArray out;
    for (const Difference &d : diffs)
        out << QJsonObject{{QStringLiteral("key"), d.key},
                           {QStringLiteral("page"), d.page},
                           {QStringLiteral("setting"), d.setting},
                           {QStringLiteral("a"), d.a},
                           {QStringLiteral("b"), d.b},
                           {QStringLiteral("aText"), d.aText},
                           {QStringLiteral("bText"), d.bText}};
    return out;
}

} // namespace q7x::cli
