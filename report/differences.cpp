#include "report/differences.h"

#include "lang/messagetable.h"

#include <algorithm>

namespace q7x::report {

namespace {

template <class S>
DifferenceRow rowOf(const image::CatalogueField<S> &f, const S &shown, const FieldWords &words) {
    DifferenceRow row;
    row.page = words.pages(f.pages);
    row.setting = words.label(f, shown);
    row.key = f.key;
    row.pages = f.pages;
    row.control = f.control(shown);
    return row;
}

template <class S>
QList<DifferenceRow>
rows(const QList<image::CatalogueField<S>> &fields, const image::Comparison<S> &c, const S &window,
     const image::DecodeResult<S> &other, const FieldWords &words, bool device) {
    QList<DifferenceRow> out;
    // A damaged field is known by the window labels that name it; the first setting captioned
    // by one of them places it on its page.
    for (const image::FieldError &e : other.errors) {
        QStringList captions;
        const image::CatalogueField<S> *named = nullptr;
        for (const QString &label : e.labels) {
            const QString id = image::captionIdentifier(label);
            captions << words.text(id).simplified();
            if (!named) {
                const auto f = std::find_if(fields.begin(), fields.end(),
                                            [&](const auto &x) { return x.captions.contains(id); });
                named = f == fields.end() ? nullptr : &*f;
            }
        }
        DifferenceRow row = named ? rowOf(*named, window, words) : DifferenceRow{};
        row.kind = DifferenceRow::Kind::Damaged;
        row.setting = captions.join(QStringLiteral(" / "));
        row.other = lang::M(device ? 1722 : 1714);
        out << row;
    }
    for (const image::Unstorable &u : c.unstorable) {
        const auto f = std::find_if(fields.begin(), fields.end(),
                                    [&](const auto &x) { return x.key == u.key; });
        DifferenceRow row = f == fields.end() ? DifferenceRow{} : rowOf(*f, window, words);
        row.kind = DifferenceRow::Kind::Unstorable;
        row.window = lang::FormatM(1713, u.error);
        if (f != fields.end())
            row.other = words.value(*f, other.settings);
        out << row;
    }
    for (int i : c.differing) {
        DifferenceRow row = rowOf(fields[i], window, words);
        row.window = words.value(fields[i], c.stored);
        row.other = words.value(fields[i], other.settings);
        // A value no control shows (the object group a partition's object gives) is named after
        // what it follows ("Object account No. 5 / Object"); it is listed only when that setting
        // is not.
        const bool follows = row.control.isEmpty() &&
                             std::any_of(out.begin(), out.end(), [&](const DifferenceRow &r) {
                                 return !r.control.isEmpty() &&
                                        (row.setting == r.setting ||
                                         row.setting.startsWith(r.setting + QStringLiteral(" / ")));
                             });
        if (!follows)
            out << row;
    }
    // The catalogue visits a recipient's pages in turn; the rows are grouped page by page, in the
    // order the window shows the pages.
    QList<QStringList> order;
    for (const auto &f : fields)
        if (!order.contains(f.pages))
            order << f.pages;
    std::stable_sort(out.begin(), out.end(), [&](const DifferenceRow &a, const DifferenceRow &b) {
        return order.indexOf(a.pages) < order.indexOf(b.pages);
    });
    return out;
}

} // namespace

QList<DifferenceRow> differenceRows(const image::Q72Settings &window,
                                    const image::DecodeResult<image::Q72Settings> &other,
                                    const FieldWords &words, bool device) {
    return rows(image::catalogueQ72(), image::compareQ72(window, other.settings), window, other,
                words, device);
}

QList<DifferenceRow> differenceRows(const image::Q71Settings &window,
                                    const image::DecodeResult<image::Q71Settings> &other,
                                    const FieldWords &words, bool device) {
    return rows(image::catalogueQ71(), image::compareQ71(window, other.settings), window, other,
                words, device);
}

} // namespace q7x::report
