#pragma once
// Seeded settings values for the tests of the settings, the codecs and what a tool writes.
#include "image/catalogue.h"
#include "image/codepage.h"
#include "image/settings.h"

#include <QtTest>

#include <random>

namespace q7x::image {

// Seeded values that an image can hold exactly, in the form the decoders give: every field of
// the catalogue gets a random item of its list or a text its field can store.
class Seeded {
  public:
    explicit Seeded(unsigned seed) : m_rng(seed) {}

    // Object numbers drawn from this pool when it is not empty, so that partitions share
    // objects often.
    QList<int> objectPool;

    // `s` with up to `most` settings of the catalogue given new values; their keys in `changed`.
    template <class S, class Field>
    S change(const QList<Field> &fields, S s, int most, QSet<QString> &changed) {
        for (int n = 1 + pick(most); n > 0; --n) {
            const Field &f = fields[pick(int(fields.size()))];
            if (f.set && f.set(s, value(f, s)))
                changed << f.key;
        }
        return s;
    }

    // A value of the field that the image can store.
    template <class S, class Field> QVariant value(const Field &f, const S &s) {
        constexpr bool q71 = std::is_same_v<S, Q71Settings>;
        switch (f.kind) {
        case FieldKind::List:
            return pick(int(f.items(s).size()));
        case FieldKind::Choice:
        case FieldKind::Flag:
            return pick(2) == 1;
        case FieldKind::Text:
            return text(f.key, q71);
        case FieldKind::Object:
            if (f.key.endsWith(QLatin1String("group")))
                return pick(GroupCount + 1);
            if (!objectPool.isEmpty())
                return objectPool[pick(int(objectPool.size()))];
            return pick(q71 && f.key.section(QLatin1Char('.'), 1, 1).toInt() <= 9 ? 10000 : 1000);
        case FieldKind::Password: {
            QString hex;
            for (int i = 0; i < 6; ++i)
                hex += QLatin1Char("0123456789F"[pick(11)]);
            return hex;
        }
        }
        return {};
    }
    Q72Settings q72() {
        Q72Settings s = fill(catalogueQ72(), Q72Settings{});
        // Combined types send the SMS either first or last for every recipient.
        const int last = pick(2);
        for (Q72Recipient &r : s.recipients)
            if (r.notification == 2 + last || r.notification == 5 + last ||
                r.notification == 8 + last)
                r.notification += last ? -1 : 1;
        return s;
    }

    Q71Settings q71() {
        Q71Settings s = fill(catalogueQ71(), Q71Settings{});
        // Inputs are stored in work mode 0 only, and rarely not even there.
        if (s.workMode != 0 || pick(8) == 0)
            s.controlInput = s.input1 = s.input2 = NoItem;
        for (int k = 0; k < RecipientCount; ++k)
            s.dialGroups[std::size_t(k)][std::size_t(k)] = true;
        return s;
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    QString from(const char *chars, int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QLatin1Char(chars[pick(int(qstrlen(chars)))]);
        return s;
    }
    // "" or "+", a digit and 14 positions of digits and blanks, as dialled: no blank at the end.
    QString phone() {
        return pick(2)
                   ? QString()
                   : dialled(QStringLiteral("+") + from("0123456789", 1) + from("0123456789_", 14));
    }
    static QString dialled(QString s) {
        while (s.endsWith(QLatin1Char('_')))
            s.chop(1);
        return s;
    }
    QString text(const QString &key, bool q71) {
        if (key.endsWith(QLatin1String("phone")))
            return q71 ? from("0123456789BWTP", pick(25)) : phone();
        if (key == QLatin1String("smsCentre"))
            return phone();
        if (key == QLatin1String("pin")) // two leading blanks would read back as no PIN
            return pick(2) ? QString() : dialled(from("0123456789", 1) + from("0123456789_", 3));
        if (key == QLatin1String("balanceRequest"))
            return from("0123456789*#", pick(17));
        if (key.startsWith(QLatin1String("ownNames"))) {
            QByteArray bytes;
            for (int i = pick(13); i > 0; --i)
                bytes += char(1 + pick(255));
            return fromCp1251(bytes);
        }
        if (key.startsWith(QLatin1String("blitzCodes"))) {
            const int code = pick(65536);
            return pick(2) || q72::blitzCodeReadsEmpty(code) ? QString() : QString::number(code);
        }
        if (key == QLatin1String("digitalCode13"))
            return from("0123456789", 4);
        // Digital codes and passwords; no password reads as "000".
        return from("0123456789", key.endsWith(QLatin1String("password")) ? 3 + pick(4) : 3);
    }
    template <class S, class Field> S fill(const QList<Field> &fields, S s) {
        for (const Field &f : fields)
            if (f.set && !f.set(s, value(f, s)))
                qFatal("cannot set %s", qPrintable(f.key));
        return s;
    }

    std::mt19937 m_rng;
};

} // namespace q7x::image
