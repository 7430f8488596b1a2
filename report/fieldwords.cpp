#include "report/fieldwords.h"

namespace q7x::report {

namespace {

// The number beside a caption. An object group is known in the window by its object's number
// (the row of the remote-control page that shows it); an unused group by its own number.
int shownNumber(const image::Q72Field &f, const image::Q72Settings &s, int position) {
    const int n = f.indices.value(position);
    if (position != 0 || !f.key.startsWith(QLatin1String("groups.")))
        return n;
    const int object = objectOfGroup(s, n);
    return object > 0 ? object : n;
}

int shownNumber(const image::Q71Field &f, const image::Q71Settings &, int position) {
    return f.indices.value(position);
}

} // namespace

QString FieldWords::text(const QString &identifier) const {
    const QString t = m_texts.text(identifier);
    if (!t.isEmpty())
        return t;
    return identifier.section(QLatin1Char('_'), 1, 1);
}

QString FieldWords::pages(const QStringList &pageNames) const {
    QStringList out;
    for (const QString &page : pageNames)
        out << text(image::captionIdentifier(page));
    return out.join(QStringLiteral(" / "));
}

template <class S>
QList<CaptionPart> FieldWords::captions(const image::CatalogueField<S> &f, const S &s) const {
    QList<CaptionPart> out;
    for (int i = 0; i < f.captions.size(); ++i)
        out.append({text(f.captions[i]).simplified(), shownNumber(f, s, i)});
    return out;
}

template <class S> QString FieldWords::label(const image::CatalogueField<S> &f, const S &s) const {
    return joinCaptions(captions(f, s));
}

template <class S>
QString FieldWords::value(const image::CatalogueField<S> &f, const S &s, bool showSecrets) const {
    QString v = f.text(s);
    if (const QString id = f.itemIdentifier(s); !id.isEmpty())
        if (const QString item = m_texts.text(id); !item.isEmpty())
            v = item;
    if (f.secret && !showSecrets && !v.isEmpty())
        return QLatin1String(MaskedSecret);
    return v;
}

int objectOfGroup(const image::Q72Settings &s, int group) {
    std::array<int, image::PartitionCount> objects{};
    for (int p = 0; p < image::PartitionCount; ++p)
        objects[std::size_t(p)] = s.partitions[std::size_t(p)].object;
    const image::ObjectGroups groups = image::groupObjects(objects);
    return group >= 1 && group <= groups.count ? groups.object[std::size_t(group - 1)] : 0;
}

QString joinCaptions(const QList<CaptionPart> &parts) {
    QStringList out;
    for (const CaptionPart &p : parts)
        out << (p.number > 0 ? p.text + QLatin1Char(' ') + QString::number(p.number) : p.text);
    return out.join(QStringLiteral(" / "));
}

template QList<CaptionPart> FieldWords::captions(const image::Q72Field &,
                                                 const image::Q72Settings &) const;
template QList<CaptionPart> FieldWords::captions(const image::Q71Field &,
                                                 const image::Q71Settings &) const;
template QString FieldWords::label(const image::Q72Field &, const image::Q72Settings &) const;
template QString FieldWords::label(const image::Q71Field &, const image::Q71Settings &) const;
template QString FieldWords::value(const image::Q72Field &, const image::Q72Settings &, bool) const;
template QString FieldWords::value(const image::Q71Field &, const image::Q71Settings &, bool) const;

} // namespace q7x::report
