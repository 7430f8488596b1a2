#pragma once
// The configuration the window would store compared with another of the same model (a file, or
// what a device holds), field by field over the catalogue.
#include "image/catalogue.h"

namespace q7x::image {

// A window value the encoder refuses, with the encoder's message. It is not compared.
struct Unstorable {
    QString key;
    QString error;
};

template <class S> struct Comparison {
    S stored;                     // the window's settings as a write would store them
    QList<int> differing;         // catalogue indices of the fields that differ, in its order
    QList<Unstorable> unstorable; // in the order the encoder met them
};

// `window` holds the settings gathered from the window, `other` a decoded image. The window's
// values are compared as encoded and decoded again, so the comparison shows what a write would
// change. A value the encoder refuses takes the other side's value for the rest of the comparison.
Comparison<Q72Settings> compareQ72(const Q72Settings &window, const Q72Settings &other);
// The partitions of recipients without a telephone number are cleared first, as a write does.
Comparison<Q71Settings> compareQ71(Q71Settings window, const Q71Settings &other);

} // namespace q7x::image
