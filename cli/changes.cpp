#include "cli/changes.h"

#include "cli/jsonwriter.h"
#include "cli/models.h"
#include "cli/run.h"
#include "cli/settingvalues.h"
#include "cli/usage.h"
#include "image/formcontrols.h"
#include "image/formload.h"
#include "image/formreach.h"
#include "lang/messagetable.h"

#include <algorithm>

namespace q7x::cli {

namespace {

using image::EditKind;
using image::FieldKind;
using image::Form;
using image::FormEffects;

// The messages of the window the edit raised, as one text.
QString said(const FormEffects &fx) {
    QStringList texts;
    for (const image::FormNotice &n : fx.notices)
        if (n.kind == image::FormNotice::Kind::Message && !n.state)
            texts << lang::M(n.number).simplified();
    return texts.join(QLatin1Char(' '));
}

template <class M> class Editor {
  public:
    using S = typename M::Settings;
    using Field = image::CatalogueField<S>;

    Editor(const image::ConfigImage &base, const FieldText &words)
        : m_form(image::loadedForm(M::model, base)), m_words(words) {}

    // The value the change gives, as the catalogue holds it; a refusal said otherwise.
    std::optional<QVariant> valueOf(const Change &c, const Field &f, QStringList &refusals) const {
        const S s = M::ofForm(m_form);
        std::optional<QVariant> v;
        QString given;
        switch (c.given) {
        case Change::Given::Text:
            v = parseValue(f, s, c.text);
            given = printable(c.text);
            break;
        case Change::Given::Json:
            v = catalogueValue(f, s, c.value);
            given = jsonText(c.value);
            break;
        case Change::Given::JsonVersion1:
            v = versionOneValue(f, c.value);
            given = jsonText(c.value);
            break;
        }
        // No list item is no choice a person can make.
        if (v && f.kind == FieldKind::List && v->toInt() == image::NoItem)
            v.reset();
        if (!v)
            refusals << where(c) + lang::FormatM(1912, {c.key, m_words.label(f, s), given,
                                                        allowedValues(f, s, m_words)});
        return v;
    }

    // Applies one change; false, with the refusal said, when the window does not take it.
    bool apply(const Change &c, const Field &f, const QVariant &value, QStringList &refusals,
               QStringList &changed) {
        const S before = M::ofForm(m_form);
        if (f.get(before) == value)
            return true; // not a change: no control is touched, no rule runs
        const QString label = m_words.label(f, before);
        const QString control = f.control(before);
        if (control.isEmpty()) {
            refusals << where(c) + lang::FormatM(1913, {c.key, label});
            return false;
        }
        if (!image::reachable(m_form, control)) {
            refusals << where(c) + lang::FormatM(1914, {c.key, label});
            return false;
        }
        FormEffects fx;
        if (!edit(f, control, value, fx)) {
            refusals << where(c) + lang::FormatM(1912, {c.key, label, shown(f, value),
                                                        allowedValues(f, before, m_words)});
            return false;
        }
        if (const QString why = unstorable(f); !why.isEmpty()) {
            refusals << where(c) + lang::FormatM(1912, {c.key, label, shown(f, value), why});
            return false;
        }
        if (const QString why = taken(f, value); !why.isEmpty()) {
            const QString window = said(fx);
            refusals << where(c) + lang::FormatM(1915, {c.key, label, shown(f, value), why}) +
                            (window.isEmpty() ? QString() : QLatin1Char(' ') + window);
            return false;
        }
        changed.removeAll(c.key);
        changed << c.key;
        // A later change of the same setting replaces the earlier one.
        m_done.removeIf([&](const Done &d) { return d.change.key == c.key; });
        m_done.append({&f, value, c});
        return true;
    }

    // A later change that undid an earlier one: the first such, said.
    bool stillHeld(QStringList &refusals) const {
        for (const Done &d : m_done)
            if (const QString why = taken(*d.field, d.value); !why.isEmpty()) {
                refusals << where(d.change) +
                                lang::FormatM(1916, {d.change.key,
                                                     m_words.label(*d.field, M::ofForm(m_form)),
                                                     shown(*d.field, d.value), why});
                return false;
            }
        return true;
    }

    image::Encoded save() { return image::encodeForm(m_form); }

  private:
    struct Done {
        const Field *field;
        QVariant value;
        Change change;
    };

    static QString where(const Change &c) {
        return c.origin.isEmpty() ? QString() : c.origin + QStringLiteral(": ");
    }

    static QString jsonText(const QJsonValue &v) { return printable(jsonLiteral(v)); }

    // A version-1 value: a list as its item number, a group password as six hexadecimal digits.
    static std::optional<QVariant> versionOneValue(const Field &f, const QJsonValue &v) {
        switch (f.kind) {
        case FieldKind::List:
        case FieldKind::Object:
            if (v.isDouble() && v.toDouble() == double(int(v.toDouble())))
                return QVariant(int(v.toDouble()));
            return std::nullopt;
        case FieldKind::Choice:
        case FieldKind::Flag:
            return v.isBool() ? std::optional(QVariant(v.toBool())) : std::nullopt;
        case FieldKind::Text:
            return v.isString() ? std::optional(QVariant(v.toString())) : std::nullopt;
        case FieldKind::Password: {
            S probe{};
            if (!v.isString() || !f.set || !f.set(probe, v.toString()))
                return std::nullopt;
            return f.get(probe);
        }
        }
        return std::nullopt;
    }

    // The value as JSON version 2 gives it, for messages.
    QString shown(const Field &f, const QVariant &value) const {
        S s = M::ofForm(m_form);
        if (f.set && f.set(s, value)) {
            const QJsonValue v = jsonValue(f, s);
            return v.isString() ? v.toString() : jsonLiteral(v);
        }
        return printable(value.toString());
    }

    // The edit of the control as a person makes it.
    bool edit(const Field &f, const QString &control, const QVariant &value, FormEffects &fx) {
        switch (f.kind) {
        case FieldKind::List:
        case FieldKind::Object: {
            const int item = value.toInt();
            if (item < 0 || item >= image::itemCount(m_form, control))
                return false;
            return image::userEdit(m_form, control, EditKind::Choose, item, fx);
        }
        case FieldKind::Choice:
            return image::userEdit(m_form, control, EditKind::Choose,
                                   value.toBool() ? f.trueItem : 1 - f.trueItem, fx);
        case FieldKind::Flag:
            return image::userEdit(m_form, control, EditKind::Click, value.toBool(), fx);
        case FieldKind::Text:
        case FieldKind::Password: {
            QString text = value.toString();
            if (f.kind == FieldKind::Password) {
                S s = M::ofForm(m_form);
                f.set(s, value);
                text = jsonValue(f, s).toString();
            }
            // Leaving a field whose text the window questions answers "keep it".
            return image::userEdit(m_form, control, EditKind::Type, text, fx) &&
                   image::userEdit(m_form, control, EditKind::Leave, false, fx);
        }
        }
        return false;
    }

    // What the field may hold, when a Save cannot store the value it holds now.
    QString unstorable(const Field &f) const {
        Form copy = m_form;
        const image::Encoded saved = image::encodeForm(copy);
        return !saved.ok() && saved.key == f.key ? allowedValues(f, M::ofForm(m_form), m_words)
                                                 : QString();
    }

    // Empty when what a Save stores now holds `value` for the field: the same bytes as the saved
    // settings with the value put in directly. Otherwise what the field holds instead.
    QString taken(const Field &f, const QVariant &value) const {
        Form copy = m_form;
        const image::Encoded saved = image::encodeForm(copy);
        if (!saved.ok())
            return saved.error;
        const S stored = M::decode(saved.image).settings;
        if (!f.set)
            return f.get(stored) == value ? QString() : shown(f, f.get(stored));
        S wanted = stored;
        f.set(wanted, value);
        const image::Encoded direct = M::encode(wanted);
        if (direct.ok() && direct.image == M::encode(stored).image)
            return {};
        if (!direct.ok() && direct.key == f.key)
            return allowedValues(f, stored, m_words);
        return lang::FormatM(1917, shown(f, f.get(stored)));
    }

    Form m_form;
    const FieldText &m_words;
    QList<Done> m_done;
};

template <class M>
Edited applyTo(const image::ConfigImage &base, const QList<Change> &changes,
               const FieldText &words) {
    using S = typename M::Settings;
    Edited out;
    Editor<M> editor(base, words);
    QList<QPair<const image::CatalogueField<S> *, QVariant>> values;
    // Every change that cannot be read is said before any is made.
    for (const Change &c : changes) {
        const image::CatalogueField<S> *f = fieldOf<S>(c.key);
        if (!f) {
            QString message = lang::FormatM(1918, printable(c.key));
            const QString near = nearest(c.key, changeableKeys(M::model));
            if (!near.isEmpty())
                message += QLatin1Char(' ') + lang::FormatM(1871, near);
            out.refusals << (c.origin.isEmpty() ? QString() : c.origin + QStringLiteral(": ")) +
                                message;
            values.append({nullptr, {}});
            continue;
        }
        values.append({f, editor.valueOf(c, *f, out.refusals).value_or(QVariant())});
    }
    if (!out.refusals.isEmpty())
        return out;
    for (int i = 0; i < changes.size(); ++i)
        if (!editor.apply(changes[i], *values[i].first, values[i].second, out.refusals,
                          out.changed))
            return out;
    if (!editor.stillHeld(out.refusals))
        return out;
    const image::Encoded saved = editor.save();
    if (!saved.ok()) {
        out.refusals << saved.error;
        return out;
    }
    out.image = saved.image;
    return out;
}

} // namespace

std::optional<Change> Change::parse(const QString &argument) {
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    Change c;
    c.key = argument.left(eq).trimmed();
    c.text = argument.mid(eq + 1);
    return c;
}

Edited applyChanges(image::DeviceModel model, const image::ConfigImage &base,
                    const QList<Change> &changes, const FieldText &words) {
    return withModel(model, [&](auto m) { return applyTo<decltype(m)>(base, changes, words); });
}

QList<Change> inWindowOrder(image::DeviceModel model, QList<Change> changes) {
    const QStringList order = changeableKeys(model);
    std::stable_sort(changes.begin(), changes.end(), [&](const Change &a, const Change &b) {
        return order.indexOf(a.key) < order.indexOf(b.key);
    });
    return changes;
}

QStringList changeableKeys(image::DeviceModel model) {
    return withModel(model, [](auto m) {
        QStringList keys;
        for (const auto &f : decltype(m)::catalogue())
            keys << f.key;
        return keys;
    });
}

} // namespace q7x::cli
