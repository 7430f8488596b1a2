#pragma once
// The values of the settings as q7xctl's JSON (version 2), `set` and `keys` give them: a list
// choice as a stable identifier ("smsBlitz", "W40") or as a number in the list's unit (the check
// interval 20, in seconds; partition number 5 as shown, not the item 4), a tick or a choice of
// two as true or false, a text as a string, an object number as a number (0: none), a group
// password as its digits. The identifiers are part of the interface: scripts and files name
// them, so an identifier once given is never renamed.
#include "cli/fieldtext.h"
#include "image/catalogue.h"

#include <QJsonValue>

#include <optional>

namespace q7x::cli {

enum class ValueType {
    Item,    // a list: one of `items`
    Boolean, // true or false
    Text,    // a string
    Integer, // a whole number from `minimum` to `maximum`
    Digits,  // a string of digits (a group password)
};

// What a setting may hold.
struct ValueRange {
    ValueType type = ValueType::Text;
    QString unit;                 // "s", "min", "d", "baud", "rings"; empty for none
    QList<QJsonValue> items;      // Item: the value of each item of its list, by the item's index
    int minimum = 0, maximum = 0; // Integer
};

// The name of a type as `keys` and the schema give it: "list", "boolean", "text", "integer",
// "digits".
QString typeName(ValueType type);

// The range of a setting of the model `S` (its list may depend on other settings of `s`).
template <class S> ValueRange valueRange(const image::CatalogueField<S> &f, const S &s);

// The value in JSON version 2; null for a list value that no item shows.
template <class S> QJsonValue jsonValue(const image::CatalogueField<S> &f, const S &s);

// A value in JSON version 2 as the catalogue holds it (null: NoItem for a list); nothing when
// the setting cannot hold it.
template <class S>
std::optional<QVariant> catalogueValue(const image::CatalogueField<S> &f, const S &s,
                                       const QJsonValue &value);

// A value as a person types it after KEY=: a list's identifier or number (any case, "," or "."
// before tenths), true/false, yes/no, on/off or 1/0, a number ("none" for no object), a text as
// it stands. Nothing when the setting cannot hold it.
template <class S>
std::optional<QVariant> parseValue(const image::CatalogueField<S> &f, const S &s,
                                   const QString &text);

// What the setting may hold, for a refusal: its values with their unit, its range, the
// characters a text takes.
template <class S>
QString allowedValues(const image::CatalogueField<S> &f, const S &s, const FieldText &words);

// The field of the model's catalogue with `key`; nothing for an unknown key.
template <class S> const image::CatalogueField<S> *fieldOf(const QString &key);

} // namespace q7x::cli
