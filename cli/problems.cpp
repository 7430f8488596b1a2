#include "cli/problems.h"

#include "image/formload.h"
#include "image/presets.h"
#include "lang/messagetable.h"

#include <QJsonObject>

#include <algorithm>

namespace q7x::cli {

namespace {

template <class S>
const image::CatalogueField<S> *fieldOf(const QList<image::CatalogueField<S>> &fields,
                                        const QString &key) {
    const auto it =
        std::find_if(fields.begin(), fields.end(), [&](const auto &f) { return f.key == key; });
    return it == fields.end() ? nullptr : &*it;
}

// The first byte whose change alters the field's decoded value: where the field lives.
template <class S>
int offsetOf(const image::CatalogueField<S> &f, const image::ConfigImage &img,
             image::DecodeResult<S> (*decode)(const image::ConfigImage &), int deviceSize) {
    const QVariant value = f.get(decode(img).settings);
    for (int i = 0; i < deviceSize; ++i)
        for (std::uint8_t flip : {0x01, 0x10, 0x80}) {
            image::ConfigImage changed = img;
            changed[std::size_t(i)] ^= flip;
            if (f.get(decode(changed).settings) != value)
                return i;
        }
    return -1;
}

template <class S>
QList<Problem> problemsOf(const QList<image::CatalogueField<S>> &fields,
                          const image::ConfigImage &img,
                          image::DecodeResult<S> (*decode)(const image::ConfigImage &),
                          image::Encoded (*encode)(const S &), image::DeviceModel model,
                          int deviceSize, const FieldText &words, bool damagedOnly) {
    QList<Problem> out;
    const image::DecodeResult<S> decoded = decode(img);
    const auto add = [&](Problem::Kind kind, const QString &key, int offset,
                         const QString &detail) {
        Problem p{kind, offset, key, {}, detail};
        if (const auto *f = fieldOf(fields, key))
            p.setting = words.label(*f, decoded.settings);
        out << p;
    };
    for (const image::FieldError &e : decoded.errors)
        for (int i = 0; i < e.offsets.size(); ++i)
            add(Problem::Kind::Damaged, e.keys.value(i), e.offsets[i], {});
    if (damagedOnly)
        return out;
    for (const QString &key : image::unshownValues(decoded.settings))
        add(Problem::Kind::Unshown, key, offsetOf(*fieldOf(fields, key), img, decode, deviceSize),
            {});
    // Each value the encoder refuses is put aside with the factory value, so that every one is
    // found, not only the first.
    S s = decoded.settings;
    const S factory = decode(image::presetImage(model, 0)).settings;
    for (int guard = 0; guard < fields.size(); ++guard) {
        const image::Encoded e = encode(s);
        if (e.ok())
            break;
        const auto *f = fieldOf(fields, e.key);
        add(Problem::Kind::Unstorable, e.key, f ? offsetOf(*f, img, decode, deviceSize) : -1,
            f ? lang::FormatM(1903, {printable(words.value(*f, s)), words.allowed(*f, s)})
              : e.error);
        if (!f || !f->set)
            break;
        f->set(s, f->get(factory));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Problem &a, const Problem &b) { return a.offset < b.offset; });
    return out;
}

// The captions of every setting that byte `offset` carries.
template <class S>
QList<Problem> outOfRangeOf(const QList<image::CatalogueField<S>> &fields,
                            const image::ConfigImage &img,
                            image::DecodeResult<S> (*decode)(const image::ConfigImage &),
                            const QList<image::OutOfRangeLine> &lines, const FieldText &words) {
    QList<Problem> out;
    const S settings = decode(img).settings;
    for (const image::OutOfRangeLine &l : lines) {
        const int offset = l.line - 1;
        const std::uint8_t stored = std::uint8_t(unsigned(l.value) & 0xFFu);
        QStringList keys, names;
        for (int bit = 0; bit < 8; ++bit) {
            image::ConfigImage changed = img;
            changed[std::size_t(offset)] ^= std::uint8_t(1u << bit);
            const S other = decode(changed).settings;
            for (const auto &f : fields)
                if (!keys.contains(f.key) && f.get(other) != f.get(settings)) {
                    keys << f.key;
                    names << words.label(f, settings);
                }
        }
        out << Problem{Problem::Kind::OutOfRange, offset, keys.value(0),
                       names.join(QStringLiteral(", ")),
                       lang::FormatM(1846, {QString::number(l.value), QString::number(stored)})};
    }
    return out;
}

QString kindText(Problem::Kind kind) {
    switch (kind) {
    case Problem::Kind::OutOfRange:
        return lang::M(1847);
    case Problem::Kind::Damaged:
        return lang::M(1821);
    case Problem::Kind::Unshown:
        return lang::M(1822);
    case Problem::Kind::Unstorable:
        return lang::M(1823);
    }
    return {};
}

const char *kindName(Problem::Kind kind) {
    switch (kind) {
    case Problem::Kind::Damaged:
        return "damaged";
    case Problem::Kind::Unshown:
        return "unshown";
    case Problem::Kind::Unstorable:
        return "unstorable";
    case Problem::Kind::OutOfRange:
        return "outOfRange";
    }
    return "";
}

} // namespace

QList<Problem> findProblems(image::DeviceModel model, const image::ConfigImage &img,
                            const FieldText &words, bool damagedOnly) {
    if (model == image::DeviceModel::Q71)
        return problemsOf(image::catalogueQ71(), img, image::decodeQ71, image::encodeQ71, model,
                          image::q71::DeviceSize, words, damagedOnly);
    return problemsOf(image::catalogueQ72(), img, image::decodeQ72, image::encodeQ72, model,
                      image::q72::DeviceSize, words, damagedOnly);
}

QList<Problem> outOfRangeProblems(image::DeviceModel model, const image::ConfigImage &img,
                                  const QList<image::OutOfRangeLine> &lines,
                                  const FieldText &words) {
    if (model == image::DeviceModel::Q71)
        return outOfRangeOf(image::catalogueQ71(), img, image::decodeQ71, lines, words);
    return outOfRangeOf(image::catalogueQ72(), img, image::decodeQ72, lines, words);
}

QStringList describe(const QList<Problem> &problems) {
    QStringList lines;
    for (const Problem &p : problems) {
        QString line =
            p.offset >= 0
                ? lang::FormatM(1820, {QString::number(p.offset + 1), QString::number(p.offset)}) +
                      QStringLiteral(": ")
                : QString();
        if (!p.setting.isEmpty())
            line += p.setting + QStringLiteral(": ");
        line += kindText(p.kind);
        if (!p.detail.isEmpty())
            line += QStringLiteral(" (") + p.detail + QLatin1Char(')');
        lines << line;
    }
    return lines;
}

QJsonArray toJson(const QList<Problem> &problems) {
    QJsonArray out;
    for (const Problem &p : problems) {
        QJsonObject o{{QStringLiteral("kind"), QLatin1String(kindName(p.kind))},
                      {QStringLiteral("key"), p.key},
                      {QStringLiteral("setting"), p.setting}};
        if (p.offset >= 0) {
            o.insert(QStringLiteral("offset"), p.offset);
            o.insert(QStringLiteral("line"), p.offset + 1);
        }
        if (!p.detail.isEmpty())
            o.insert(QStringLiteral("detail"), p.detail);
        out << o;
    }
    return out;
}

} // namespace q7x::cli
