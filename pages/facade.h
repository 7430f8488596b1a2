#pragma once
// Name index of the window's controls. Controls are addressed by name; family members by
// composing prefix and decimal indices ("rzd" 2 16 -> "rzd216").
#include "pages/controls.h"

#include <QHash>
#include <QString>

#include <charconv>

namespace q7x::pages {

class Controls {
  public:
    // Indexes every named control below root (those carrying a vclClass).
    void index(QWidget *root);

    QWidget *find(const QString &name) const { return m_byName.value(name, nullptr); }
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
    QHash<QString, QWidget *> m_byName;
    QStringList m_duplicates;
};

} // namespace q7x::pages
