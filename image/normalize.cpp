#include "image/normalize.h"

#include "image/pagerules.h"

#include <map>

namespace q7x::image {

namespace {

// The name language a window showing the factory settings has selected; loading another one
// runs the work-mode rule again after the partitions were ticked.
constexpr int FactoryNameLanguage = 0;

void recipientTypes(Q72Settings &s) {
    for (int k = 0; k < RecipientCount; ++k) {
        Q72Recipient &r = s.recipients[std::size_t(k)];
        if (gsmTypeIsDigital(r.notification)) {
            // Later recipients still show factory types, which combine nothing.
            bool first = false, last = false;
            for (int i = 0; i < k; ++i) {
                first = first || gsmSmsFirst(s.recipients[std::size_t(i)].notification);
                last = last || gsmSmsLast(s.recipients[std::size_t(i)].notification);
            }
            r.notification = orderedGsmType(GsmToneThenSms, first, last);
        }
        if (r.notification == GsmBlitzItem)
            r.combineSms = false;
    }
}

void unusedPartitions(Q72Settings &s, int inUse) {
    if (s.nameLanguage == FactoryNameLanguage)
        return;
    for (int p = inUse; p < PartitionCount; ++p) {
        s.relay.partitions[std::size_t(p)] = false;
        for (Q72Recipient &r : s.recipients)
            r.partitions[std::size_t(p)] = false;
    }
}

void specialTiming(Relay1Settings &relay) {
    RelaySettings &e = relay.events;
    if (relayWorkMode(e) == RelaySpecialMode)
        specialRelayTiming(e.timeRzmk, e.timeZmk, e.timePeriod);
}

// The partition-number rule runs for the first partition of each stored group, in order.
void partitionNumbers(Q72Settings &s, int inUse) {
    const std::array<int, PartitionCount> groups = effectiveGroups(s.partitions);
    for (int p = 0; p < PartitionCount; ++p) {
        if (groups[std::size_t(p)] == 0)
            continue;
        Q72Partition &part = s.partitions[std::size_t(p)];
        std::array<bool, PartitionCount> taken{};
        for (int q = 0; q < inUse; ++q)
            if (q != p && s.partitions[std::size_t(q)].object == part.object)
                taken[std::size_t(s.partitions[std::size_t(q)].number)] = true;
        part.number = freePartitionNumber(part.number, taken);
    }
}

// A user name shows (and is read) only while a partition uses it; the Latin families drop any
// other character as the name is shown.
void ownNames(Q72Settings &s) {
    for (int n = 0; n < q72::OwnNameCount; ++n) {
        QString &name = s.ownNames[std::size_t(n)];
        bool used = false;
        for (const Q72Partition &part : s.partitions)
            used = used || part.name == q72::OwnNameFirstItem + n;
        if (!used)
            name.clear();
        else if (s.nameLanguage != FactoryNameLanguage)
            name.removeIf([](QChar c) { return !isLatinNameCharacter(c); });
    }
}

// The window keeps a password per object and the remote commands per object row of its page, and
// numbers the groups again from the objects when it stores them. A group's password and
// commands follow its object; an object only on partitions the work mode does not use has no row
// and so no commands.
void objectGroups(Q72Settings &s, int inUse) {
    const std::array<int, PartitionCount> stored = effectiveGroups(s.partitions);
    std::map<int, std::array<std::uint8_t, 3>> passwords;
    std::array<const ObjectGroup *, GroupCount> rowCommands{};
    for (int p = 0; p < PartitionCount; ++p) {
        const int g = stored[std::size_t(p)];
        if (g == 0)
            continue;
        const ObjectGroup &group = s.groups[std::size_t(g - 1)];
        if (const int object = s.partitions[std::size_t(p)].object; object != 0)
            passwords[object] = group.password;
        rowCommands[std::size_t(g - 1)] = &group;
    }
    QList<int> rows;
    for (int p = 0; p < inUse; ++p)
        if (const int object = s.partitions[std::size_t(p)].object;
            object != 0 && !rows.contains(object))
            rows << object;

    std::array<int, PartitionCount> objects{};
    for (int p = 0; p < PartitionCount; ++p)
        objects[std::size_t(p)] = s.partitions[std::size_t(p)].object;
    const ObjectGroups regrouped = groupObjects(objects);
    std::array<ObjectGroup, GroupCount> groups{};
    for (int g = 0; g < regrouped.count; ++g) {
        const int object = regrouped.object[std::size_t(g)];
        ObjectGroup &group = groups[std::size_t(g)];
        if (const auto it = passwords.find(object); it != passwords.end())
            group.password = it->second;
        const qsizetype row = rows.indexOf(object);
        if (const ObjectGroup *commands = row < 0 ? nullptr : rowCommands[std::size_t(row)]) {
            group.arm = commands->arm;
            group.disarm = commands->disarm;
            group.status = commands->status;
            group.relayOn = commands->relayOn;
            group.relayOff = commands->relayOff;
        }
    }
    s.groups = groups;
    for (int p = 0; p < PartitionCount; ++p)
        s.partitions[std::size_t(p)].group = regrouped.group[std::size_t(p)];
}

template <class S> QStringList unshown(const QList<CatalogueField<S>> &fields, const S &s) {
    QStringList keys;
    for (const CatalogueField<S> &f : fields) {
        if (f.kind != FieldKind::List || !f.set)
            continue;
        const int item = f.get(s).toInt();
        if (item < 0 || item >= f.items(s).size())
            keys << f.key;
    }
    return keys;
}

template <class S>
Encoded encodedForWrite(const DecodeResult<S> &decoded, S (*normalize)(S),
                        Encoded (*encode)(const S &)) {
    if (!decoded.errors.isEmpty())
        return {{}, QStringLiteral("The configuration holds damaged fields"), {}};
    if (const QStringList keys = unshownValues(decoded.settings); !keys.isEmpty())
        return {{},
                QStringLiteral("No list item shows the value of %1").arg(keys.first()),
                keys.first()};
    return encode(normalize(decoded.settings));
}

} // namespace

Q72Settings normalizeQ72(Q72Settings s) {
    const int inUse = partitionsInUse(s.workMode);
    recipientTypes(s);
    unusedPartitions(s, inUse);
    specialTiming(s.relay);
    partitionNumbers(s, inUse);
    ownNames(s);
    objectGroups(s, inUse);
    return s;
}

Q71Settings normalizeQ71(Q71Settings s) {
    const int inUse = partitionsInUse(s.workMode);
    specialTiming(s.relay);
    // A partition of this model always has an object; one the work mode does not use shows 1.
    for (int p = inUse; p < PartitionCount; ++p)
        s.partitions[std::size_t(p)].object = 1;
    clearPartitionsWithoutNumber(s);
    return s;
}

QStringList unshownValues(const Q72Settings &s) { return unshown(catalogueQ72(), s); }

QStringList unshownValues(const Q71Settings &s) {
    QStringList keys = unshown(catalogueQ71(), s);
    if (s.workMode != 0)
        for (const char *input : {"controlInput", "input1", "input2"})
            keys.removeOne(QLatin1String(input));
    return keys;
}

Encoded imageToWrite(DeviceModel model, const ConfigImage &image,
                     std::optional<WriteLanguage> language) {
    Encoded out = model == DeviceModel::Q71
                      ? encodedForWrite(decodeQ71(image), normalizeQ71, encodeQ71)
                      : encodedForWrite(decodeQ72(image), normalizeQ72, encodeQ72);
    if (out.ok())
        adjustForWrite(out.image, model, language);
    return out;
}

} // namespace q7x::image
