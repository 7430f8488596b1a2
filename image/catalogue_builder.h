#pragma once
// Builds the catalogues of both models: one call per setting, and the sections the two models
// share. Internal to the image library.
#include "image/catalogue.h"
#include "image/itemlists.h"

#include <optional>

namespace q7x::image::detail {

QString cap(const QString &control);
inline QString cap(const char *control) { return captionIdentifier(QLatin1String(control)); }
inline QString numbered(const char *prefix, int n) {
    return QLatin1String(prefix) + QString::number(n);
}
std::optional<int> intOf(const QVariant &v);

struct Names {
    QStringList captions;
    QList<int> indices = {};
};

template <class S> class Catalogue {
  public:
    template <class T> using Ref = std::function<T &(S &)>;

    QList<CatalogueField<S>> fields;
    QStringList pages;

    CatalogueField<S> &list(const QString &key, const Names &n, const QString &control,
                            const QStringList &items, Ref<int> ref) {
        auto &f = add(key, n, FieldKind::List, control);
        f.items = [items](const S &) { return items; };
        f.get = [ref](const S &s) { return QVariant(ref(const_cast<S &>(s))); };
        f.set = [ref](S &s, const QVariant &v) {
            const auto i = intOf(v);
            if (i)
                ref(s) = *i;
            return i.has_value();
        };
        return f;
    }
    void object(const QString &key, const Names &n, const QString &control, Ref<int> ref) {
        list(key, n, control, {}, ref).kind = FieldKind::Object;
    }
    void choice(const QString &key, const Names &n, const QString &control,
                const QStringList &items, int trueItem, Ref<bool> ref) {
        auto &f = flag(key, n, control, ref);
        f.kind = FieldKind::Choice;
        f.trueItem = trueItem;
        f.items = [items](const S &) { return items; };
    }
    CatalogueField<S> &flag(const QString &key, const Names &n, const QString &control,
                            Ref<bool> ref) {
        auto &f = add(key, n, FieldKind::Flag, control);
        f.get = [ref](const S &s) { return QVariant(ref(const_cast<S &>(s))); };
        f.set = [ref](S &s, const QVariant &v) {
            if (v.typeId() != QMetaType::Bool)
                return false;
            ref(s) = v.toBool();
            return true;
        };
        return f;
    }
    CatalogueField<S> &text(const QString &key, const Names &n, const QString &control,
                            Ref<QString> ref) {
        auto &f = add(key, n, FieldKind::Text, control);
        f.get = [ref](const S &s) { return QVariant(ref(const_cast<S &>(s))); };
        f.set = [ref](S &s, const QVariant &v) {
            if (v.typeId() != QMetaType::QString)
                return false;
            ref(s) = v.toString();
            return true;
        };
        return f;
    }
    void password(const QString &key, const Names &n, const QString &control,
                  Ref<std::array<std::uint8_t, 3>> ref);

    // Sections both models have.
    void relay(Ref<Relay1Settings> relay);
    // Tone codes: `at(s, row, n)` is symbol n (the pause when n is 4) of alarm, arm or disarm.
    void tone(int columns, std::function<int &(S &, int row, int n)> at);
    void periods(Ref<int> periodHardware, Ref<int> delayHardware, Ref<int> periodRzd,
                 Ref<int> delayRzd, Ref<int> delayTypeAlarm, Ref<int> testLine);
    void urgency(Ref<std::array<bool, EventTypeCount>> urgent);
    void recipientGrids(int r, Ref<std::array<bool, PartitionCount>> partitions,
                        Ref<std::array<bool, EventTypeCount>> events);

  private:
    CatalogueField<S> &add(const QString &key, const Names &n, FieldKind kind,
                           const QString &control) {
        CatalogueField<S> f;
        f.key = key;
        f.pages = pages;
        f.captions = n.captions;
        f.indices = n.indices;
        f.kind = kind;
        f.control = [control](const S &) { return control; };
        fields.append(f);
        return fields.last();
    }
};

} // namespace q7x::image::detail
