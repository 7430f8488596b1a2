#include "cli/fieldtext.h"

namespace q7x::cli {

namespace {

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

template QString FieldText::label(const image::Q72Field &, const image::Q72Settings &) const;
template QString FieldText::label(const image::Q71Field &, const image::Q71Settings &) const;
template QString FieldText::value(const image::Q72Field &, const image::Q72Settings &) const;
template QString FieldText::value(const image::Q71Field &, const image::Q71Settings &) const;

} // namespace q7x::cli
