#pragma once
// Small rules of the settings pages that the form's rules (image/formrules.h) build on: partitions
// in use, the special relay timing, the GSM notification types and their SMS order, the
// characters of Latin user names and free partition numbers.
#include "image/layout.h"

#include <QChar>

#include <array>

namespace q7x::image {

// Partitions in use in each work mode (items 0..5); any other item leaves all 16 in use.
int partitionsInUse(int workModeItem);

// Relay 1 in its special mode: a permanent opening (open time item 7) excludes any closing, a
// permanent closing excludes any opening, and the duration is kept only while both times are
// timed (items 1..6). Clears what the rule excludes and says which case holds.
enum class RelayTiming {
    HeldOpen,   // open time 7: close time and duration cleared
    HeldClosed, // close time 7: open time and duration cleared
    Timed,      // both timed: the duration can be chosen
    OneSided,   // one of them 0: duration cleared
    Other,
};
RelayTiming specialRelayTiming(int &openItem, int &closeItem, int &periodItem);

// GSM notification types: digital formats (items 7..9) cannot travel over GSM; the window
// offers tone then SMS (item 6) instead.
inline constexpr int GsmToneThenSms = 6;
inline bool gsmTypeIsDigital(int item) { return item >= 7 && item <= 9; }
// All recipients send their SMS either before or after the other message: a type whose SMS order
// differs from another recipient's is switched to the order already in use.
int orderedGsmType(int item, bool smsFirstElsewhere, bool smsLastElsewhere);
bool gsmSmsFirst(int item); // items 2, 5, 8
bool gsmSmsLast(int item);  // items 3, 6, 9

// User names of the English and transliterated name families hold ASCII characters only.
inline bool isLatinNameCharacter(QChar c) { return c.unicode() < 128; }

// Within one object every partition keeps its own number: a number another partition of the
// object has taken gives way to the lowest free one (there is always one: 15 others take at
// most 15 numbers).
int freePartitionNumber(int item, const std::array<bool, PartitionCount> &taken);

} // namespace q7x::image
