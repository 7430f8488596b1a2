#include "cli/fieldtext.h"

#include "image/presets.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

image::Encoded encode(const image::Q72Settings &s) { return image::encodeQ72(s); }
image::Encoded encode(const image::Q71Settings &s) { return image::encodeQ71(s); }
image::Q72Settings factory(const image::Q72Settings &) {
    return image::decodeQ72(image::presetImage(image::DeviceModel::Q72, 0)).settings;
}
image::Q71Settings factory(const image::Q71Settings &) {
    return image::decodeQ71(image::presetImage(image::DeviceModel::Q71, 0)).settings;
}

// The largest number the encoder stores in the field, the others at their factory values.
template <class S> int largestStorable(const image::CatalogueField<S> &f, const S &like) {
    S s = factory(like);
    int storable = 0, refused = 1 << 20;
    while (refused - storable > 1) {
        const int middle = storable + (refused - storable) / 2;
        f.set(s, middle);
        const image::Encoded e = encode(s);
        (e.ok() || e.key != f.key ? storable : refused) = middle;
    }
    return storable;
}

// A caption as a name: without the colon that ends a label and without runs of blanks.
QString asName(QString caption) {
    caption = caption.simplified();
    while (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace

QString FieldText::text(const QString &identifier) const {
    const QString t = m_texts.text(identifier);
    return t.isEmpty() ? identifier.section(QLatin1Char('_'), 1, 1) : t;
}

QString FieldText::pages(const QStringList &pageNames) const {
    QStringList out;
    for (const QString &page : pageNames)
        out << asName(text(image::captionIdentifier(page)));
    return out.join(QStringLiteral(" / "));
}

template <class S> QString FieldText::label(const image::CatalogueField<S> &f, const S &) const {
    QStringList parts;
    for (int i = 0; i < f.captions.size(); ++i) {
        QString part = asName(text(f.captions[i]));
        if (const int n = f.indices.value(i); n > 0)
            part += QLatin1Char(' ') + QString::number(n);
        parts << part;
    }
    return parts.join(QStringLiteral(" / "));
}

template <class S> QString FieldText::value(const image::CatalogueField<S> &f, const S &s) const {
    if (const QString id = f.itemIdentifier(s); !id.isEmpty())
        if (const QString item = m_texts.text(id); !item.isEmpty())
            return item.trimmed();
    return f.text(s).trimmed();
}

template <class S>
QString FieldText::item(const image::CatalogueField<S> &f, const S &s, int item) const {
    const QStringList texts = f.items ? f.items(s) : QStringList();
    const QString builtIn = texts.value(item).trimmed();
    const QString id = QStringLiteral("rsMainForm_%1_Item%2").arg(f.control(s)).arg(item);
    const QString translated = m_texts.text(id).trimmed();
    return translated.isEmpty() ? builtIn : translated;
}

template <class S> QString FieldText::allowed(const image::CatalogueField<S> &f, const S &s) const {
    constexpr bool q71 = std::is_same_v<S, image::Q71Settings>;
    const QString &k = f.key;
    switch (f.kind) {
    case image::FieldKind::List:
        return lang::FormatM(1890, int(f.items(s).size()) - 1);
    case image::FieldKind::Choice:
    case image::FieldKind::Flag:
        return lang::M(1891);
    case image::FieldKind::Object:
        return lang::FormatM(1892, largestStorable(f, s));
    case image::FieldKind::Password:
        return lang::M(1902);
    case image::FieldKind::Text:
        break;
    }
    if (k.endsWith(QLatin1String(".phone")))
        return lang::M(q71 ? 1900 : 1893);
    if (k.endsWith(QLatin1String(".password")))
        return lang::M(1901);
    const struct {
        const char *prefix;
        int message;
    } texts[] = {{"smsCentre", 1893},    {"pin", 1894},         {"balanceRequest", 1895},
                 {"ownNames.", 1896},    {"blitzCodes.", 1897}, {"digitalCodes.", 1898},
                 {"digitalCode13", 1899}};
    for (const auto &t : texts)
        if (k.startsWith(QLatin1String(t.prefix)))
            return lang::M(t.message);
    return {};
}

template QString FieldText::allowed(const image::Q72Field &, const image::Q72Settings &) const;
template QString FieldText::allowed(const image::Q71Field &, const image::Q71Settings &) const;
template QString FieldText::label(const image::Q72Field &, const image::Q72Settings &) const;
template QString FieldText::label(const image::Q71Field &, const image::Q71Settings &) const;
template QString FieldText::value(const image::Q72Field &, const image::Q72Settings &) const;
template QString FieldText::value(const image::Q71Field &, const image::Q71Settings &) const;
template QString FieldText::item(const image::Q72Field &, const image::Q72Settings &, int) const;
template QString FieldText::item(const image::Q71Field &, const image::Q71Settings &, int) const;

} // namespace q7x::cli
