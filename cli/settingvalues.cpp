#include "cli/settingvalues.h"

#include "cli/models.h"
#include "image/formload.h"
#include "image/formrules.h"
#include "image/itemlists.h"
#include "lang/messagetable.h"

#include <QHash>
#include <QLocale>

#include <cmath>

namespace q7x::cli {

namespace {

namespace items = image::items;

struct Vocabulary {
    QList<QJsonValue> values;
    QString unit;
};

QList<QJsonValue> words(std::initializer_list<const char *> ids) {
    QList<QJsonValue> out;
    for (const char *id : ids)
        out << QJsonValue(QLatin1String(id));
    return out;
}

QList<QJsonValue> numbers(int first, int last, int step = 1) {
    QList<QJsonValue> out;
    for (int v = first; v <= last; v += step)
        out << QJsonValue(v);
    return out;
}

// Tenths from `first` to `last` as numbers (0.5, 0.6 … computed as k/10, so that "0.7" typed
// or read compares equal).
QList<QJsonValue> tenths(int first, int last) {
    QList<QJsonValue> out;
    for (int t = first; t <= last; ++t)
        out << QJsonValue(t / 10.0);
    return out;
}

QList<QJsonValue> periodMinutes() {
    return {15, 22.5, 30, 45, 60, 90, 120, 180, 240, 360, 480, 720, 960, 1440, 1920};
}

// The lists of the window by their items, each with the values its items stand for.
const QHash<QStringList, Vocabulary> &vocabularies() {
    static const QHash<QStringList, Vocabulary> table = [] {
        QHash<QStringList, Vocabulary> t;
        const QList<QJsonValue> never = words({"never"});
        t.insert(items::workMode(),
                 {words({"standalone", "W40", "W30/1", "W30/2", "W30/4", "W30/8"}), {}});
        t.insert(items::input(), {words({"openAlarm", "openNormal"}), {}});
        t.insert(items::controlInput(), {words({"openArmed", "openDisarmed"}), {}});
        t.insert(items::checkConnectCD(), {numbers(10, 160, 10), QStringLiteral("s")});
        t.insert(items::phrasePause(), {tenths(5, 20), QStringLiteral("s")});
        t.insert(items::speedLine(), {{1200, 4800}, QStringLiteral("baud")});
        t.insert(items::gsmLost(), {never + numbers(10, 150, 10), QStringLiteral("min")});
        t.insert(items::yesNoCapital(), {{true, false}, {}});
        t.insert(items::simCount(), {never + numbers(1, 15), QStringLiteral("d")});
        t.insert(items::dialMode(), {words({"pulse", "tone"}), {}});
        t.insert(items::pickUpDelay(), {numbers(1, 15) + never, QStringLiteral("rings")});
        t.insert(items::lostLine(), {numbers(1, 15) + never, QStringLiteral("min")});
        t.insert(items::pauseDial(), {numbers(1, 16), QStringLiteral("s")});
        t.insert(items::partitionNumbers(), {numbers(1, 16), {}});
        t.insert(items::typeMesgGSM(),
                 {words({"sms", "voice", "smsVoice", "voiceSms", "tone", "smsTone", "toneSms",
                         "digital", "smsDigital", "digitalSms", "smsBlitz"}),
                  {}});
        t.insert(items::typeMesgLine(), {words({"voice", "tone", "digital"}), {}});
        t.insert(items::dialTry(), {numbers(1, 16), {}});
        t.insert(items::waitTime(), {numbers(4, 64, 4), QStringLiteral("s")});
        t.insert(items::pauseInterval(), {numbers(0, 450, 30), QStringLiteral("s")});
        const Vocabulary names{
            words({"none",      "fireGuard",  "perimeter",  "volume",     "intruderGuard",
                   "mansard",   "frontDoor",  "backDoor",   "basement",   "bathroom",
                   "toilet",    "bedroom",    "childRoom",  "diningRoom", "downstairs",
                   "emergency", "garage",     "garageDoor", "guestRoom",  "hall",
                   "kitchen",   "livingRoom", "office",     "upstairs",   "workingRoom",
                   "yard",      "corridor",   "room1",      "room2",      "room3",
                   "room4",     "room5",      "room6",      "room7",      "room8",
                   "userName1", "userName2",  "userName3",  "userName4"}),
            {}};
        t.insert(items::partitionNamesRu(), names);
        t.insert(items::partitionNamesEn(), names);
        t.insert(items::partitionNamesTranslit(), names);
        t.insert(items::nameLanguage(), {words({"russian", "english", "translit"}), {}});
        t.insert(items::period(), {words({"always"}) + periodMinutes(), QStringLiteral("min")});
        t.insert(items::testLine(), {never + periodMinutes(), QStringLiteral("min")});
        t.insert(items::delay(), {numbers(0, 0) + numbers(10, 150, 10), QStringLiteral("s")});
        t.insert(items::toneSymbols(), {words({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
                                               "A", "B", "C", "D", "*", "#"}),
                                        {}});
        t.insert(items::tonePause(), {tenths(0, 15), QStringLiteral("s")});
        t.insert(items::releWorkMode(), {words({"stationAlarm", "lamp", "stationControl", "sounder",
                                                "alarm", "actuator", "special"}),
                                         {}});
        t.insert(items::timeOpenClose(),
                 {words({"off"}) + QList<QJsonValue>{0.5, 1, 5, 10, 20, 30} + words({"constant"}),
                  QStringLiteral("s")});
        t.insert(items::timePeriod(), {words({"off"}) + numbers(20, 280, 20) + words({"constant"}),
                                       QStringLiteral("s")});
        return t;
    }();
    return table;
}

constexpr bool sameNumber(double a, double b) { return a - b < 1e-9 && b - a < 1e-9; }

bool sameValue(const QJsonValue &a, const QJsonValue &b) {
    if (a.isDouble() && b.isDouble())
        return sameNumber(a.toDouble(), b.toDouble());
    return a == b;
}

// The largest object number the window's list of the field offers.
template <class S> int objectMaximum(const image::CatalogueField<S> &f, const S &s) {
    const QString control = f.control(s);
    if (control.isEmpty()) // the group an object belongs to
        return image::GroupCount;
    static const image::Form q71 = image::loadStart(image::DeviceModel::Q71);
    static const image::Form q72 = image::loadStart(image::DeviceModel::Q72);
    return image::itemCount(ModelOf<S>::model == image::DeviceModel::Q71 ? q71 : q72, control) - 1;
}

std::optional<bool> booleanOf(const QString &text) {
    const QString t = text.trimmed().toLower();
    for (const char *yes : {"true", "yes", "on", "1"})
        if (t == QLatin1String(yes))
            return true;
    for (const char *no : {"false", "no", "off", "0"})
        if (t == QLatin1String(no))
            return false;
    return std::nullopt;
}

QString valueText(const QJsonValue &v) {
    if (v.isBool())
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return v.toString();
}

} // namespace

QString typeName(ValueType type) {
    switch (type) {
    case ValueType::Item:
        return QStringLiteral("list");
    case ValueType::Boolean:
        return QStringLiteral("boolean");
    case ValueType::Text:
        return QStringLiteral("text");
    case ValueType::Integer:
        return QStringLiteral("integer");
    case ValueType::Digits:
        return QStringLiteral("digits");
    }
    return {};
}

template <class S> ValueRange valueRange(const image::CatalogueField<S> &f, const S &s) {
    ValueRange r;
    switch (f.kind) {
    case image::FieldKind::List: {
        r.type = ValueType::Item;
        const QStringList texts = f.items(s);
        const auto it = vocabularies().constFind(texts);
        if (it != vocabularies().constEnd() && it->values.size() == texts.size()) {
            r.items = it->values;
            r.unit = it->unit;
        } else {
            // A list without values of its own is given by its item numbers.
            r.items = numbers(0, int(texts.size()) - 1);
        }
        break;
    }
    case image::FieldKind::Choice:
    case image::FieldKind::Flag:
        r.type = ValueType::Boolean;
        break;
    case image::FieldKind::Text:
        r.type = ValueType::Text;
        break;
    case image::FieldKind::Object:
        r.type = ValueType::Integer;
        r.maximum = objectMaximum(f, s);
        break;
    case image::FieldKind::Password:
        r.type = ValueType::Digits;
        break;
    }
    return r;
}

template <class S> QJsonValue jsonValue(const image::CatalogueField<S> &f, const S &s) {
    const QVariant v = f.get(s);
    switch (f.kind) {
    case image::FieldKind::List: {
        const int item = v.toInt();
        const ValueRange r = valueRange(f, s);
        return item >= 0 && item < r.items.size() ? r.items[item] : QJsonValue(QJsonValue::Null);
    }
    case image::FieldKind::Choice:
    case image::FieldKind::Flag:
        return v.toBool();
    case image::FieldKind::Text:
        return v.toString();
    case image::FieldKind::Object:
        return v.toInt();
    case image::FieldKind::Password: {
        const QString hex = v.toString();
        std::array<int, 3> cells{};
        for (int i = 0; i < 3; ++i)
            cells[std::size_t(i)] = hex.mid(2 * i, 2).toInt(nullptr, 16);
        return image::passwordDigits(cells);
    }
    }
    return {};
}

namespace {

QString passwordHex(const QString &digits) {
    const std::array<std::uint8_t, 3> cells = image::passwordCells(digits);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(cells.data()), 3).toHex().toUpper());
}

bool onlyDigits(const QString &text, int most) {
    if (text.size() > most)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

template <class S>
std::optional<QVariant> catalogueValue(const image::CatalogueField<S> &f, const S &s,
                                       const QJsonValue &value) {
    const ValueRange r = valueRange(f, s);
    switch (r.type) {
    case ValueType::Item: {
        if (value.isNull())
            return QVariant(image::NoItem);
        for (int i = 0; i < r.items.size(); ++i)
            if (sameValue(r.items[i], value))
                return QVariant(i);
        return std::nullopt;
    }
    case ValueType::Boolean:
        return value.isBool() ? std::optional(QVariant(value.toBool())) : std::nullopt;
    case ValueType::Text:
        return value.isString() ? std::optional(QVariant(value.toString())) : std::nullopt;
    case ValueType::Integer: {
        const double d = value.toDouble(-1);
        if (!value.isDouble() || d != std::floor(d) || d < r.minimum || d > r.maximum)
            return std::nullopt;
        return QVariant(int(d));
    }
    case ValueType::Digits:
        if (!value.isString() || !onlyDigits(value.toString(), 6))
            return std::nullopt;
        return QVariant(passwordHex(value.toString()));
    }
    return std::nullopt;
}

template <class S>
std::optional<QVariant> parseValue(const image::CatalogueField<S> &f, const S &s,
                                   const QString &text) {
    const ValueRange r = valueRange(f, s);
    const QString t = text.trimmed();
    switch (r.type) {
    case ValueType::Item: {
        bool isNumber = false;
        const double number =
            QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&isNumber);
        const std::optional<bool> boolean = booleanOf(t);
        for (int i = 0; i < r.items.size(); ++i) {
            const QJsonValue &v = r.items[i];
            if ((v.isString() && v.toString().compare(t, Qt::CaseInsensitive) == 0) ||
                (v.isDouble() && isNumber && sameNumber(v.toDouble(), number)) ||
                (v.isBool() && boolean && v.toBool() == *boolean))
                return QVariant(i);
        }
        return std::nullopt;
    }
    case ValueType::Boolean:
        if (const std::optional<bool> b = booleanOf(t))
            return QVariant(*b);
        return std::nullopt;
    case ValueType::Text:
        return QVariant(text);
    case ValueType::Integer: {
        if (t.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0 && r.minimum == 0)
            return QVariant(0);
        bool ok = false;
        const int n = t.toInt(&ok);
        if (!ok || n < r.minimum || n > r.maximum)
            return std::nullopt;
        return QVariant(n);
    }
    case ValueType::Digits:
        if (!onlyDigits(t, 6))
            return std::nullopt;
        return QVariant(passwordHex(t));
    }
    return std::nullopt;
}

template <class S>
QString allowedValues(const image::CatalogueField<S> &f, const S &s, const FieldText &words) {
    const ValueRange r = valueRange(f, s);
    switch (r.type) {
    case ValueType::Item: {
        QStringList values;
        for (const QJsonValue &v : r.items)
            values << valueText(v);
        const QString list = values.join(QStringLiteral(", "));
        return r.unit.isEmpty() ? lang::FormatM(1910, list) : lang::FormatM(1911, {list, r.unit});
    }
    case ValueType::Boolean:
        return lang::M(1891);
    case ValueType::Integer:
        return lang::FormatM(1892, r.maximum);
    case ValueType::Digits:
        return lang::M(1901);
    case ValueType::Text:
        break;
    }
    return words.allowed(f, s);
}

template <class S> const image::CatalogueField<S> *fieldOf(const QString &key) {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> out;
        const QList<image::CatalogueField<S>> &fields = ModelOf<S>::catalogue();
        for (int i = 0; i < fields.size(); ++i)
            out.insert(fields[i].key, i);
        return out;
    }();
    const auto it = index.constFind(key);
    return it == index.constEnd() ? nullptr : &ModelOf<S>::catalogue()[*it];
}

#define Q7X_INSTANTIATE(S)                                                                         \
    template ValueRange valueRange(const image::CatalogueField<S> &, const S &);                   \
    template QJsonValue jsonValue(const image::CatalogueField<S> &, const S &);                    \
    template std::optional<QVariant> catalogueValue(const image::CatalogueField<S> &, const S &,   \
                                                    const QJsonValue &);                           \
    template std::optional<QVariant> parseValue(const image::CatalogueField<S> &, const S &,       \
                                                const QString &);                                  \
    template QString allowedValues(const image::CatalogueField<S> &, const S &,                    \
                                   const FieldText &);                                             \
    template const image::CatalogueField<S> *fieldOf<S>(const QString &);
Q7X_INSTANTIATE(image::Q72Settings)
Q7X_INSTANTIATE(image::Q71Settings)
#undef Q7X_INSTANTIATE

} // namespace q7x::cli
