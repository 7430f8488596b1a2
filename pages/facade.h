#pragma once
// Name index of the window's controls. Controls are addressed by name; family members by
// composing prefix and decimal indices ("rzd" 2 16 -> "rzd216"). The window builds its pages when
// they are first shown: a look-up of a control that no built page holds builds the pages that are
// still missing, one at a time, until one holds it.
#include "pages/controls.h"

#include <QHash>
#include <QString>

#include <charconv>
#include <functional>

namespace q7x::pages {

class Controls {
  public:
    // Adds every named control below root (those carrying a vclClass) to the index.
    void index(QWidget *root);
    // Builds one more page of the window and indexes it; false when every page is built.
    void setPageBuilder(std::function<bool()> buildOne) { m_buildOne = std::move(buildOne); }

    // The control of that name, building pages until one holds it; null when none does.
    QWidget *find(const QString &name) const {
        if (QWidget *w = m_byName.value(name, nullptr))
            return w;
        return buildUntilFound(name);
    }
    // The control of that name when a page built so far holds it; never builds a page.
    QWidget *existing(const QString &name) const { return m_byName.value(name, nullptr); }
    int size() const { return m_byName.size(); }
    QStringList duplicates() const { return m_duplicates; }

    template <class T> T *get(const QString &name) const {
        T *w = qobject_cast<T *>(find(name));
        if (!w)
            missing(name); // a wrong name is a programming error: stop loudly
        return w;
    }

    // Built in one allocation: the rules look controls up by composed name thousands of times.
    static QString name(const QString &prefix, int i) {
        QString s;
        s.reserve(prefix.size() + 11);
        s += prefix;
        appendDecimal(s, i);
        return s;
    }
    static QString name(const QString &prefix, int i, int j) {
        QString s;
        s.reserve(prefix.size() + 22);
        s += prefix;
        appendDecimal(s, i);
        appendDecimal(s, j);
        return s;
    }

    ComboBox *combo(const QString &n) const { return get<ComboBox>(n); }
    ComboBox *combo(const QString &prefix, int i) const { return combo(name(prefix, i)); }
    CheckBox *check(const QString &n) const { return get<CheckBox>(n); }
    CheckBox *check(const QString &prefix, int i) const { return check(name(prefix, i)); }
    CheckBox *check(const QString &prefix, int i, int j) const { return check(name(prefix, i, j)); }
    Edit *edit(const QString &n) const { return get<Edit>(n); }
    Edit *edit(const QString &prefix, int i) const { return edit(name(prefix, i)); }
    MaskEdit *mask(const QString &n) const { return get<MaskEdit>(n); }
    MaskEdit *mask(const QString &prefix, int i) const { return mask(name(prefix, i)); }
    Label *label(const QString &n) const { return get<Label>(n); }
    Label *label(const QString &prefix, int i) const { return label(name(prefix, i)); }
    LabeledEdit *labeledEdit(const QString &prefix, int i) const {
        return get<LabeledEdit>(name(prefix, i));
    }
    QWidget *widget(const QString &n) const {
        QWidget *w = find(n);
        if (!w)
            missing(n);
        return w;
    }
    QWidget *widget(const QString &prefix, int i) const { return widget(name(prefix, i)); }

  private:
    static void appendDecimal(QString &s, int i) {
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, i).ptr;
        s += QLatin1StringView(digits, end - digits);
    }
    [[noreturn]] static void missing(const QString &name);
    QWidget *buildUntilFound(const QString &name) const;
    std::function<bool()> m_buildOne;
    QHash<QString, QWidget *> m_byName;
    QStringList m_duplicates;
};

} // namespace q7x::pages
