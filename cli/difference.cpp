#include "cli/difference.h"

#include "cli/models.h"
#include "cli/run.h"
#include "cli/settingvalues.h"

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
        out.append({f.key, words.pages(f.pages), words.label(f, a), jsonValue(f, a),
                    jsonValue(f, b), words.value(f, a), words.value(f, b)});
    }
    return out;
}

} // namespace

QList<Difference> differences(image::DeviceModel model, const image::ConfigImage &a,
                              const image::ConfigImage &b, const FieldText &words) {
    return withModel(model, [&](auto m) {
        using M = decltype(m);
        return differencesOf(M::catalogue(), M::decode(a).settings, M::decode(b).settings, words);
    });
}

QString describe(const QList<Difference> &diffs, const QString &nameA, const QString &nameB) {
    QString out = QStringLiteral("--- %1\n+++ %2\n").arg(nameA, nameB);
    for (const Difference &d : diffs)
        out += QStringLiteral("%1 / %2\n- %3\n+ %4\n")
                   .arg(d.page, d.setting, printable(d.aText), printable(d.bText));
    return out;
}

JsonNode toJson(const QList<Difference> &diffs) {
    JsonNode out = JsonNode::array();
    for (const Difference &d : diffs) {
        JsonNode item = JsonNode::object();
        item.insert(QStringLiteral("key"), d.key);
        item.insert(QStringLiteral("page"), d.page);
        item.insert(QStringLiteral("setting"), d.setting);
        item.insert(QStringLiteral("a"), d.a);
        item.insert(QStringLiteral("b"), d.b);
        item.insert(QStringLiteral("aText"), d.aText);
        item.insert(QStringLiteral("bText"), d.bText);
        out.append(item);
    }
    return out;
}

} // namespace q7x::cli
