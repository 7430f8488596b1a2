#pragma once
// The field catalogue: every setting of each model once, with the page it lives on, the
// identifiers of the captions that name it (the translation walk's identifiers, so a tool without
// the window takes their texts from the language libraries), the window control that shows it,
// and its value as the window shows it. Compare views, printed sheets and the command line loop
// over it; values travel as QVariant (int, bool or string), ready for JSON.
#include "image/settings.h"

#include <QVariant>

#include <functional>

namespace q7x::image {

enum class FieldKind {
    List,     // an item of a list (int; NoItem when the stored value has none)
    Choice,   // a two-item list held as a bool; true selects the item `trueItem`
    Flag,     // a check box (bool)
    Text,     // an edit field (string)
    Object,   // an object number (int, 0 = none, shown as "---")
    Password, // three cells of packed digits as six hex digits ("12345F"), shown as the digits
};

template <class S> struct CatalogueField {
    QString key;          // stable name: "recipients.3.phone" (1-based member numbers)
    QStringList pages;    // tab sheets, outer first: {"TabSheet2", "TabSheet10"}
    QStringList captions; // caption identifiers, outer first: {"rsMainForm_Label20_Caption"}
    QList<int> indices;   // numbers shown beside the captions, indices[i] beside captions[i]
                          // (recipient 3, partition 16); 0 shows none
    FieldKind kind = FieldKind::Flag;
    int trueItem = 0;
    bool secret = false; // a password or PIN: printed sheets mask it unless told otherwise
    std::function<QString(const S &)> control;   // name of the window control that shows it
    std::function<QStringList(const S &)> items; // List and Choice: the built-in item texts
    std::function<QVariant(const S &)> get;
    std::function<bool(S &, const QVariant &)> set; // empty for a value derived from others

    // The item a list shows (List, Choice; NoItem for other kinds or no item).
    int item(const S &s) const;
    // The value as text in the window's built-in language ("" for NoItem; a flag as "да"/"нет").
    QString text(const S &s) const;
    // The identifier of the shown item's text ("rsMainForm_WaitTime3_Item2"), for lists whose
    // items the language libraries translate and for flags; empty otherwise.
    QString itemIdentifier(const S &s) const;
};

using Q72Field = CatalogueField<Q72Settings>;
using Q71Field = CatalogueField<Q71Settings>;

const QList<Q72Field> &catalogueQ72();
const QList<Q71Field> &catalogueQ71();

// "rsMainForm_<control>_Caption": the identifier of a control's caption.
QString captionIdentifier(const QString &control);

} // namespace q7x::image
