// What the catalogues of both models share: reading a field as text and the sections the two
// models lay out alike.
#include "image/catalogue_builder.h"

namespace q7x::image {

using namespace detail;

namespace {

// A list's items are translated unless they are numbers, as the translation walk decides by its
// second item (its only item when there is one).
bool itemsTranslated(const QStringList &items) {
    if (items.isEmpty())
        return false;
    const QString probe = items[items.size() == 1 ? 0 : 1];
    bool number = false;
    probe.trimmed().toInt(&number);
    return !probe.isEmpty() && !number;
}

// A flag reads as the window's own "да" and "нет", translated with the confirmation list.
const char *const FlagList = "ConfirmMes1";

} // namespace

QString captionIdentifier(const QString &control) {
    return QStringLiteral("rsMainForm_") + control + QStringLiteral("_Caption");
}

template <class S> int CatalogueField<S>::item(const S &s) const {
    if (kind == FieldKind::List)
        return get(s).toInt();
    if (kind == FieldKind::Choice)
        return get(s).toBool() ? trueItem : 1 - trueItem;
    if (kind == FieldKind::Flag)
        return get(s).toBool() ? 0 : 1;
    return NoItem;
}

template <class S> QString CatalogueField<S>::text(const S &s) const {
    switch (kind) {
    case FieldKind::List:
    case FieldKind::Choice: {
        const int i = item(s);
        const QStringList texts = items(s);
        if (i == NoItem)
            return {};
        return i >= 0 && i < texts.size() ? texts[i] : QString::number(i);
    }
    case FieldKind::Flag:
        return items::yesNo()[item(s)];
    case FieldKind::Text:
        return get(s).toString();
    case FieldKind::Object:
        return get(s).toInt() == 0 ? QStringLiteral("---") : QString::number(get(s).toInt());
    case FieldKind::Password: {
        const QString hex = get(s).toString();
        std::array<int, 3> cells{};
        for (int i = 0; i < 3; ++i)
            cells[std::size_t(i)] = hex.mid(2 * i, 2).toInt(nullptr, 16);
        return passwordDigits(cells);
    }
    }
    return {};
}

template <class S> QString CatalogueField<S>::itemIdentifier(const S &s) const {
    const int i = item(s);
    if (i == NoItem)
        return {};
    if (kind == FieldKind::Flag)
        return QStringLiteral("rsMainForm_%1_Item%2").arg(QLatin1String(FlagList)).arg(i);
    const QStringList texts = items(s);
    if (i < 0 || i >= texts.size() || !itemsTranslated(texts))
        return {};
    return QStringLiteral("rsMainForm_%1_Item%2").arg(control(s)).arg(i);
}

template struct CatalogueField<Q72Settings>;
template struct CatalogueField<Q71Settings>;

namespace detail {

QString cap(const QString &control) { return captionIdentifier(control); }

std::optional<int> intOf(const QVariant &v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toInt();
    case QMetaType::Double:
        if (v.toDouble() == double(int(v.toDouble())))
            return int(v.toDouble());
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

template <class S>
void Catalogue<S>::password(const QString &key, const Names &n, const QString &control,
                            Ref<std::array<std::uint8_t, 3>> ref) {
    auto &f = add(key, n, FieldKind::Password, control);
    f.secret = true;
    f.get = [ref](const S &s) {
        const auto &cells = ref(const_cast<S &>(s));
        return QVariant(QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(cells.data()), 3).toHex().toUpper()));
    };
    f.set = [ref](S &s, const QVariant &v) {
        const QByteArray hex = v.toString().toLatin1();
        if (v.typeId() != QMetaType::QString || hex.size() != 6)
            return false;
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (bytes.size() != 3 || bytes.toHex().toUpper() != hex.toUpper())
            return false;
        for (int i = 0; i < 3; ++i)
            ref(s)[std::size_t(i)] = std::uint8_t(bytes[i]);
        return true;
    };
}

template <class S> void Catalogue<S>::relay(Ref<Relay1Settings> relay) {
    pages = {QStringLiteral("TabSheet7")};
    choice(QStringLiteral("relay.byCommand"), {{cap("Label430")}}, QStringLiteral("ReleControl1"),
           items::releControl(), 0, [relay](S &s) -> bool & { return relay(s).byCommand; });
    // The relay mode follows from the events and times; the window shows it, nothing stores it.
    auto &mode = list(QStringLiteral("relay.mode"), {{cap("ReleWorkMode1")}},
                      QStringLiteral("ReleWorkMode1"), items::releWorkMode(), {});
    mode.get = [relay](const S &s) {
        return QVariant(relayWorkMode(relay(const_cast<S &>(s)).events));
    };
    mode.set = nullptr;
    const struct {
        const char *key, *label, *control;
        int RelaySettings::*member;
        QStringList items;
    } times[] = {
        {"timeRzmk", "Label431", "TimeRzmk1", &RelaySettings::timeRzmk, items::timeOpenClose()},
        {"timeZmk", "Label432", "TimeZmk1", &RelaySettings::timeZmk, items::timeOpenClose()},
        {"timePeriod", "Label433", "TimePeriod1", &RelaySettings::timePeriod, items::timePeriod()}};
    for (const auto &t : times)
        list(QStringLiteral("relay.events.") + QLatin1String(t.key), {{cap(t.label)}},
             QLatin1String(t.control), t.items,
             [relay, m = t.member](S &s) -> int & { return relay(s).events.*m; });
    choice(QStringLiteral("relay.events.inverted"), {{cap("Label434")}}, QStringLiteral("InvRele1"),
           items::invRele(), 1, [relay](S &s) -> bool & { return relay(s).events.inverted; });
    for (int p = 1; p <= PartitionCount; ++p)
        flag(QStringLiteral("relay.partitions.%1").arg(p), {{cap("GroupBox13")}, {p}},
             numbered("iz1", p),
             [relay, p](S &s) -> bool & { return relay(s).partitions[std::size_t(p - 1)]; });
    const struct {
        const char *key, *control;
        std::function<bool &(Relay1Settings &)> at;
    } boxes[] = {
        {"events.alarmEvent", "AlarmEvent1",
         [](Relay1Settings &r) -> bool & { return r.events.alarmEvent; }},
        {"events.boxDamage", "BoxDamage1",
         [](Relay1Settings &r) -> bool & { return r.events.boxDamage; }},
        {"events.onOffLine", "OnOffLine1",
         [](Relay1Settings &r) -> bool & { return r.events.onOffLine; }},
        {"events.onOffAllLine", "OnOffAllLine1",
         [](Relay1Settings &r) -> bool & { return r.events.onOffAllLine; }},
        {"events.errorFire", "ErrorFire1",
         [](Relay1Settings &r) -> bool & { return r.events.errorFire; }},
        {"events.noConnect", "NoConnect1",
         [](Relay1Settings &r) -> bool & { return r.events.noConnect; }},
        {"events.errorPower", "ErrorPower1",
         [](Relay1Settings &r) -> bool & { return r.events.errorPower; }},
        {"radioChannelBlocked", "RadioChanBlck1",
         [](Relay1Settings &r) -> bool & { return r.radioChannelBlocked; }},
        {"deviceTamper", "DamageCD1", [](Relay1Settings &r) -> bool & { return r.deviceTamper; }},
        {"interfaceFault", "ErrorInterface1",
         [](Relay1Settings &r) -> bool & { return r.interfaceFault; }},
        {"lineFault", "NoLine1", [](Relay1Settings &r) -> bool & { return r.lineFault; }},
        {"powerFault", "PowerCD1", [](Relay1Settings &r) -> bool & { return r.powerFault; }}};
    int label = 5010;
    for (const auto &b : boxes)
        flag(QStringLiteral("relay.") + QLatin1String(b.key),
             {{cap("GroupBox14"), cap(numbered("Label", label++))}}, QLatin1String(b.control),
             [relay, at = b.at](S &s) -> bool & { return at(relay(s)); });
}

template <class S> void Catalogue<S>::tone(int columns, std::function<int &(S &, int, int)> at) {
    pages = {QStringLiteral("TabSheet6")};
    const char *rows[][3] = {{"toneAlarm", "AlarmTone", "Alarm"},
                             {"toneArm", "ArmTone", "Arm"},
                             {"toneDisarm", "DisArmTone", "DisArm"}};
    for (int row = 0; row < 3; ++row)
        for (int n = 1; n <= columns; ++n)
            list(QStringLiteral("%1.%2").arg(QLatin1String(rows[row][0])).arg(n),
                 {{cap(rows[row][1]), cap(numbered("Label42", n))}}, numbered(rows[row][2], n),
                 n == 4 ? items::tonePause() : items::toneSymbols(),
                 [at, row, n](S &s) -> int & { return at(s, row, n); });
}

template <class S>
void Catalogue<S>::periods(Ref<int> periodHardware, Ref<int> delayHardware, Ref<int> periodRzd,
                           Ref<int> delayRzd, Ref<int> delayTypeAlarm, Ref<int> testLine) {
    pages = {QStringLiteral("TabSheet4")};
    const QString period = cap("Label401"), delay = cap("Label402");
    list(QStringLiteral("delayTypeAlarm"), {{cap("Label412"), delay}},
         QStringLiteral("DelayTypeAlarm"), items::delay(), delayTypeAlarm);
    list(QStringLiteral("periodHardware"), {{cap("Label413"), period}},
         QStringLiteral("PeriodHardware"), items::period(), periodHardware);
    list(QStringLiteral("delayHardware"), {{cap("Label413"), delay}},
         QStringLiteral("DelayHardware"), items::delay(), delayHardware);
    list(QStringLiteral("periodRzd"), {{cap("Label414"), period}}, QStringLiteral("PeriodRzd"),
         items::period(), periodRzd);
    list(QStringLiteral("delayRzd"), {{cap("Label414"), delay}}, QStringLiteral("DelayRzd"),
         items::delay(), delayRzd);
    list(QStringLiteral("testLine"), {{cap("Label112"), period}}, QStringLiteral("TestLine"),
         items::testLine(), testLine);
}

template <class S> void Catalogue<S>::urgency(Ref<std::array<bool, EventTypeCount>> urgent) {
    pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet9")};
    for (int t = 1; t <= EventTypeCount; ++t)
        choice(QStringLiteral("urgent.%1").arg(t), {{cap(numbered("Label77", t)), cap("Label705")}},
               numbered("urgent", t), items::urgency(), 0,
               [urgent, t](S &s) -> bool & { return urgent(s)[std::size_t(t - 1)]; });
}

template <class S>
void Catalogue<S>::recipientGrids(int r, Ref<std::array<bool, PartitionCount>> partitions,
                                  Ref<std::array<bool, EventTypeCount>> events) {
    const QString prefix = QStringLiteral("recipients.%1.").arg(r);
    pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet8")};
    for (int p = 1; p <= PartitionCount; ++p)
        flag(prefix + QStringLiteral("partitions.%1").arg(p),
             {{cap("Label702"), cap("Label701")}, {r, p}}, QStringLiteral("rzd%1%2").arg(r).arg(p),
             [partitions, p](S &s) -> bool & { return partitions(s)[std::size_t(p - 1)]; });
    pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet9")};
    for (int t = 1; t <= EventTypeCount; ++t)
        flag(prefix + QStringLiteral("events.%1").arg(t),
             {{cap("Label704"), cap(numbered("Label77", t))}, {r}},
             QStringLiteral("event%1%2").arg(r).arg(t),
             [events, t](S &s) -> bool & { return events(s)[std::size_t(t - 1)]; });
}

template class Catalogue<Q72Settings>;
template class Catalogue<Q71Settings>;

} // namespace detail

} // namespace q7x::image
