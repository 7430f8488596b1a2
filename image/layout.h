#pragma once
// The memory layouts of the Q71 and Q72 images, and the small conversions between image bytes and
// the values the window shows (list items, digit texts, object numbers).
//
// Conventions used throughout:
// - offsets are image indices (0..701); recipients, partitions, groups and event types are
//   numbered from 1 as on the window and must be within their ranges (they are loop indices of
//   the codecs, never values read from an image); "item" is the 0-based index of a list entry;
// - a nibble value 0xF is "no digit";
// - readers never index outside the image, whatever the bytes hold; writers take values the
//   window's lists produce and mask them to their field width;
// - helpers that convert a window text return Converted/Status (image/convert.h) and write
//   nothing when the text cannot be stored.
#include "image/configimage.h"
#include "image/convert.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace q7x::image {

// ---- Addressing bits and bit fields -----------------------------------------------------------

struct BitRef {
    int offset;
    std::uint8_t mask;
};

inline bool testBit(const ConfigImage &img, BitRef b) { return (img[b.offset] & b.mask) != 0; }
inline void setBit(ConfigImage &img, BitRef b, bool on) {
    img[b.offset] =
        on ? std::uint8_t(img[b.offset] | b.mask) : std::uint8_t(img[b.offset] & ~b.mask);
}

// `width` bits starting at bit `shift` of one byte.
struct Field {
    int offset;
    int shift;
    int width;
};

inline int getField(const ConfigImage &img, Field f) {
    return (img[f.offset] >> f.shift) & ((1 << f.width) - 1);
}
inline void putField(ConfigImage &img, Field f, int value) {
    const int mask = ((1 << f.width) - 1) << f.shift;
    img[f.offset] = std::uint8_t((img[f.offset] & ~mask) | ((value << f.shift) & mask));
}
inline Field lowNibble(int offset) { return {offset, 0, 4}; }
inline Field highNibble(int offset) { return {offset, 4, 4}; }

// ---- Codes shared by both models --------------------------------------------------------------

// Report periods (Q72 PeriodRzd, PeriodHardware, TestLine): count of 7.5-minute units.
inline constexpr int PeriodItemCount = 16;
inline constexpr std::array<std::uint8_t, PeriodItemCount> PeriodCodes = {
    0, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 192, 255};
// Code of a period item; nothing for an item outside 0..15.
std::optional<std::uint8_t> periodCode(int item);
// Item of a stored code: any code of 255 or more is item 15; a code not in the table gives none.
std::optional<int> periodItem(int code);

// Delays in seconds (Q72 DelayHardware, DelayTypeAlarm, DelayRzd): byte = item * 10.
inline constexpr int DelayItemCount = 16;
inline std::uint8_t delaySeconds(int item) { return std::uint8_t(item * 10); }
// Item of a stored delay (integer division by 10); none when that is outside the list.
std::optional<int> delayItem(std::uint8_t seconds);

// Tone digits: the nibble is the item; items 10..15 are "A", "B", "C", "D", "*", "#".
inline constexpr char ToneDigitChars[] = "0123456789ABCD*#";

// GSM notification type of a Q72 recipient.
inline constexpr int GsmItemCount = 11;
inline constexpr int GsmBlitzItem = 10; // "SMS-Блиц"
inline constexpr std::uint8_t GsmBlitzCode = 0x13;
// Code of a list item; nothing for an item outside 0..10.
std::optional<std::uint8_t> gsmTypeCode(int item);
// Items 3, 6 and 9 send the SMS last; one such recipient sets the order flag for all.
bool gsmItemSetsOrderFlag(int item);
// Item of a stored code under the device-wide order flag; none when the code matches no rule
// (the decoder then leaves the list as it was). 0x13 is always item 10.
std::optional<int> gsmTypeItem(std::uint8_t code, bool orderFlag);

// ---- Relay 1 work mode (both models) ----------------------------------------------------------

// The relay 1 settings that decide its work mode (ReleWorkMode1).
struct RelaySettings {
    bool alarmEvent = false, boxDamage = false, onOffLine = false, onOffAllLine = false;
    bool errorFire = false, noConnect = false, errorPower = false, inverted = false;
    int timeRzmk = 0, timeZmk = 0, timePeriod = 0; // list items
    bool operator==(const RelaySettings &) const = default;
};
inline constexpr int RelaySpecialMode = 6; // "Специальный": set every relay control by itself
// The first of the modes 0..5 whose fixed settings match, else RelaySpecialMode.
int relayWorkMode(const RelaySettings &s);

// ---- Object grouping (both models) ------------------------------------------------------------

inline constexpr int PartitionCount = 16;

// The device stores objects as groups: groups are numbered 1..count in the order in which their
// object first occurs among the partitions; partitions without an object (0) get group 0.
struct ObjectGroups {
    std::array<int, PartitionCount> group{};          // group of partition p at [p-1], 0 = none
    std::array<int, PartitionCount> firstPartition{}; // first partition (1..16) of group g at [g-1]
    std::array<int, PartitionCount> object{};         // object number of group g at [g-1]
    int count = 0;
};
ObjectGroups groupObjects(const std::array<int, PartitionCount> &objects);

// ---- Digit strings ----------------------------------------------------------------------------

// Packs nibbles two to a byte, first in the high nibble, into `out` (outSize bytes); an odd count
// fills the last low nibble with oddFill. Nibbles beyond outSize*2 are dropped (callers check
// lengths first).
void packNibbles(const std::uint8_t *nibbles, int count, std::uint8_t oddFill, std::uint8_t *out,
                 int outSize);
// Nibble i (0-based, high nibble of the first byte first) of a byte run.
inline int nibbleAt(const std::uint8_t *bytes, int i) {
    return i % 2 == 0 ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0F;
}

// Three decimal digits per number, numbers packed consecutively from the high nibble of `bytes`:
// for numbers A and B sharing three bytes: hA tA | uA hB | tB uB. Values are taken modulo 1000.
void putPacked3(std::uint8_t *bytes, int index, int value);
// The digits of number `index` as stored (each 0..15).
std::array<int, 3> packed3Digits(const std::uint8_t *bytes, int index);
// hundreds * 100 + tens * 10 + units, from the nibbles as stored (at most 1665 for bad nibbles).
int packed3Value(const std::uint8_t *bytes, int index);

// Unsigned 16-bit number, low byte first. Empty (or all-space) text gives FF FF.
// Errors: NotANumber, OutOfRange (above 65535).
Converted<std::array<std::uint8_t, 2>> encodeU16(const QString &text);
// A stored value with an 0xFF byte reads as empty.
std::optional<int> decodeU16(std::uint8_t low, std::uint8_t high);

// ---- Q72 layout (device memory 0..511) --------------------------------------------------------

namespace q72 {

inline constexpr int DeviceSize = 512;
inline constexpr int RecipientCount = 8;
inline constexpr int EventTypeCount = 12;

inline constexpr int SmsCombine = 0;       // bit k-1: SMS[k] item 0
inline constexpr int RelayPartitions9 = 1; // bit p-9: iz1[p], p = 9..16
inline constexpr int RelayPartitions1 = 2; // bit p-1: iz1[p], p = 1..8

inline constexpr int RelayEvents = 3;
inline constexpr BitRef PowerCD1{3, 0x01}, DamageCD1{3, 0x02}, ErrorInterface1{3, 0x04},
    RadioChanBlck1{3, 0x08}, NoLine1{3, 0x10}, OnOffLine1{3, 0x20}, OnOffAllLine1{3, 0x40},
    InvRele1{3, 0x80};
inline constexpr BitRef ErrorFire1{4, 0x01}, NoConnect1{4, 0x02}, BoxDamage1{4, 0x04},
    ErrorPower1{4, 0x08}, AlarmEvent1{4, 0x10};
inline constexpr Field TimeZmk1{4, 5, 3};
inline constexpr Field TimeRzmk1{5, 1, 3};
inline constexpr Field TimePeriod1{5, 4, 4};

inline constexpr int Pin = 6;         // two bytes
inline constexpr int TypeMesgGsm = 8; // recipient k at 7 + k
inline constexpr int DialWait = 16;   // recipient k at 15 + k: low DialTry, high WaitTime
inline constexpr int SmsCentre = 24;  // eight bytes
inline constexpr int Phones = 32;     // recipient k at 32 + 8(k-1), eight bytes each
inline constexpr int PhoneSize = 8;
inline constexpr int RecipientPartitions = 96; // recipient r: 96+2(r-1) partitions 9..16, +1 1..8
inline constexpr int RecipientEvents = 112;    // recipient r: A = 112+2(r-1), B = A+1
inline constexpr int PartitionNames = 128;     // partition p at 127 + p
inline constexpr int NameItemMax = 38;
inline constexpr int OwnNameFirstItem = 35; // items 35..38 select own names 1..4

inline constexpr int DelayHardware = 144; // six copies, 144 is read
inline constexpr int DelayHardwareCopies = 6;
inline constexpr int FillFF1 = 150, FillFF2 = 151, FillFF3 = 159;
inline constexpr int Fill00a = 152, Fill00b = 153;
inline constexpr int DelayTypeAlarm = 154;
inline constexpr int DelayRzd = 155; // four copies
inline constexpr int DelayRzdCopies = 4;
inline constexpr int PeriodRzd = 160;      // four copies
inline constexpr int PeriodHardware = 164; // four copies
inline constexpr int PeriodCopies = 4;
inline constexpr int Urgency = 168; // two bytes, bits as the event table
inline constexpr int ConfirmMes = 170;
inline constexpr int WorkModeLang = 171; // low: work mode item, high: device language item
inline constexpr int WorkModeCount = 6;
inline constexpr int LanguageCount = 3;
inline constexpr int SimCount = 172; // high: SIMcountCombo item, low must be 0
inline constexpr int TestLine = 173;

// Tone codes: AlarmN/ArmN/DisArmN, N = 1..4 (4 is the pause 0.0..1.5 s).
inline constexpr std::array<Field, 4> Alarm = {Field{174, 4, 4}, Field{174, 0, 4}, Field{175, 4, 4},
                                               Field{175, 0, 4}};
inline constexpr std::array<Field, 4> Arm = {Field{176, 4, 4}, Field{176, 0, 4}, Field{177, 4, 4},
                                             Field{177, 0, 4}};
inline constexpr std::array<Field, 4> DisArm = {Field{178, 4, 4}, Field{178, 0, 4},
                                                Field{179, 4, 4}, Field{179, 0, 4}};

inline constexpr BitRef ControlInput{180, 0x01}, Input1{180, 0x02}, Input2{180, 0x04};
inline constexpr int Flags = 181;
inline constexpr BitRef WorkModeZero{181, 0x01}, SpeedLine{181, 0x02}, ZoneNumber{181, 0x04},
    NextDial{181, 0x10}, OrderFlag{181, 0x20}, ReleControl1{181, 0x40}, EventsArchive{181, 0x80};
inline constexpr Field GsmLost{182, 0, 4};
inline constexpr Field CheckConnectCD{182, 4, 4};
inline constexpr int PhrasePause = 183;
inline constexpr int RequestBalance = 184; // eight bytes
inline constexpr int RequestBalanceSize = 8;
inline constexpr int PartitionGroups = 192; // partition p at 191 + p: 0 none, 1..16
inline constexpr int ObjectDigits = 208;    // partition p at 208 + 2(p-1), two bytes
inline constexpr int GroupCommands = 240;   // group g at 239 + g
inline constexpr std::uint8_t CmdVz = 0x01, CmdSn = 0x02, CmdSt = 0x04, CmdStart = 0x08,
                              CmdStop = 0x10;

// SMS-Blitz codes Edit1..Edit24 (16-bit, low byte first) and voice flags RO1..RO24.
inline constexpr int BlitzCount = 24;
inline constexpr std::array<int, BlitzCount> BlitzCodeOffsets = {
    256, 258, 260, 262, 264, 266, 268, 270, 272, 276, 278, 280,
    288, 292, 296, 298, 300, 302, 304, 306, 308, 310, 312, 314};
inline constexpr int BlitzVoice = 320; // four bytes
inline constexpr std::array<BitRef, BlitzCount> BlitzVoiceBits = {
    BitRef{320, 0x01}, {320, 0x02}, {320, 0x04}, {320, 0x08}, {320, 0x10}, {320, 0x20},
    {320, 0x40},       {320, 0x80}, {321, 0x01}, {321, 0x04}, {321, 0x08}, {321, 0x10},
    {322, 0x01},       {322, 0x04}, {322, 0x10}, {322, 0x20}, {322, 0x40}, {322, 0x80},
    {323, 0x01},       {323, 0x02}, {323, 0x04}, {323, 0x08}, {323, 0x10}, {323, 0x20}};

inline constexpr int OwnNames = 416; // own name n at 416 + 12(n-1)
inline constexpr int OwnNameSize = 12;
inline constexpr int OwnNameCount = 4;
inline constexpr int GroupPasswords = 464; // group g at 464 + 3(g-1)
inline constexpr int GroupPasswordSize = 3;

// The encoder builds own names and group passwords 160 bytes lower, then copies the whole area
// up before writing the SMS-Blitz codes over the low copy.
inline constexpr int StagingArea = 256;
inline constexpr int StagingSize = 160;
inline constexpr int StagingTarget = 416;
inline constexpr int OwnNamesStaging = OwnNames - (StagingTarget - StagingArea);             // 256
inline constexpr int GroupPasswordsStaging = GroupPasswords - (StagingTarget - StagingArea); // 304
inline constexpr int EncoderFillFF = 304; // 304..351 start as 0xFF in a fresh image
inline constexpr int EncoderFillFFSize = 48;

RelaySettings relaySettings(const ConfigImage &img);

// Bit of event type k (1..12) for recipient r (1..8); type 12 also has a copy that is written,
// never read.
BitRef eventBit(int recipient, int type);
BitRef eventType12Copy(int recipient);
// Urgency of event type k (1..12): same bits as the events, bytes 168 and 169.
BitRef urgentBit(int type);
inline constexpr BitRef Urgent12Copy{169, 0x20};

// PIN, bytes 6 and 7: "____" (no digit at all) gives FF FF; any position that is not a digit
// gives 0xF. Error: Unstorable when the first two positions are blank but a later one holds a
// digit, because byte 6 would be 0xFF and the PIN would read back as empty.
Converted<std::array<std::uint8_t, 2>> encodePin(const QString &text);
// Byte 6 of 0xFF: empty. A nibble of 10..14: bad (the PIN stays empty). 0xF shows "_" between
// digits; blanks after the last digit are left out ("12" for 12 FF).
DecodedText decodePin(std::uint8_t b6, std::uint8_t b7);

// Masked telephone numbers ("+" and 15 positions, "_" for a blank). Position 1 (the "+") is not
// stored. A text with no digit is empty: SMS centre 0F FF.., recipient FF FF... Missing positions
// count as blanks. Errors: TooLong (more than 16 characters), BadCharacter (not a digit or "_"),
// Unstorable (first position blank but later digits: the number would read back as empty).
inline const QString EmptyPhoneText = QStringLiteral("+_______________");
Converted<std::array<std::uint8_t, 8>> encodePhone(const QString &text, bool recipient);
// Low nibble of the first byte 0xF: empty text (""; the SMS centre shows EmptyPhoneText). The
// number as dialled: "_" for a blank between digits, nothing for the blanks after the last one.
// A nibble of 10..14 anywhere is bad; text holds the characters built before it.
DecodedText decodePhone(const std::uint8_t *bytes8);

// Balance request: 0..9, "*" 0xA, "#" 0xB; an odd count ends with 0xF; unused bytes are 0xFF.
// Errors: TooLong (more than 16 characters), BadCharacter.
Converted<std::array<std::uint8_t, 8>> encodeBalance(const QString &text);
// First byte 0xFF: empty. 0xF nibbles give nothing; 0xC..0xE are bad.
DecodedText decodeBalance(const std::uint8_t *bytes8);

// Object number digits of a partition: hundreds, tens, units with leading zeros as 0xF
// (5 -> F F 5, 40 -> F 4 0, 100 -> 1 0 0, none -> F F F). Values are taken modulo 1000.
std::array<std::uint8_t, 3> objectNibbles(int object);
void putObjectDigits(ConfigImage &img, int partition, int object, int rzdNmbItem);
struct ObjectNumber {
    int number = 0; // 0..999, 0 = no object
    bool bad = false;
};
// Digits 10..14 mark the field bad and read as 0; leading 0xF digits read as 0, a later 0xF
// counts as 15 ("1 F 5" is 255). A sum above 999, which no object list holds, is bad too.
ObjectNumber decodeObjectNibbles(int hundreds, int tens, int units);
ObjectNumber objectNumber(const ConfigImage &img, int partition);
inline int rzdNmbItem(const ConfigImage &img, int partition) {
    return img[ObjectDigits + 2 * (partition - 1) + 1] & 0x0F;
}

// Password bytes of group g (1..16) from the final area 464..511: a byte with a nibble of
// 10..14 reads as 0 and marks the result bad.
struct GroupPassword {
    std::array<std::uint8_t, 3> bytes{};
    bool bad = false;
};
GroupPassword groupPassword(const ConfigImage &img, int group);

// Own name n (1..4) from the final area: bytes up to the first 0, at most 12, and the same as
// text of code page 1251.
QByteArray ownName(const ConfigImage &img, int n);
QString ownNameText(const ConfigImage &img, int n);
// An own name as its 12 bytes: code page 1251, padded with 0; empty gives 12 zero bytes.
// Errors: TooLong (over 12 characters), BadCharacter (a character the code page lacks, or a NUL,
// which would end the name early).
Converted<std::array<std::uint8_t, OwnNameSize>> encodeOwnName(const QString &text);

// SMS-Blitz code k (1..24). Errors: NotANumber, OutOfRange (above 65535), Unstorable (a value
// with an 0xFF byte, which reads back as empty). Empty text gives FF FF.
Status putBlitzCode(ConfigImage &img, int k, const QString &text);
std::optional<int> blitzCode(const ConfigImage &img, int k);
// True for the values that cannot be stored: 255, 511, ..., and 65280 and above.
bool blitzCodeReadsEmpty(int value);

} // namespace q72

// ---- Q71 layout (device memory 0..319) --------------------------------------------------------

namespace q71 {

inline constexpr int DeviceSize = 320;
inline constexpr int RecipientCount = 8;
inline constexpr int EventTypeCount = 12;
inline constexpr int GroupCount = 16;

inline constexpr int Flags = 0;
inline constexpr BitRef WorkModeZero{0, 0x01}, SpeedLine{0, 0x02}, DialMode{0, 0x04},
    NextDial{0, 0x08};
// Byte 1 low nibble: the work mode item in extended modes, the inputs in work mode 0.
inline constexpr Field WorkMode{1, 0, 4};
inline constexpr BitRef ControlInput{1, 0x01}, Input1{1, 0x02}, Input2{1, 0x04};
inline constexpr Field CheckConnectCD{1, 4, 4};
// DialTry[k] and WaitTime[k], k = 1..8: odd k in the low nibble.
inline Field dialTry(int k) { return {2 + (k - 1) / 2, (k - 1) % 2 * 4, 4}; }
inline Field waitTime(int k) { return {6 + (k - 1) / 2, (k - 1) % 2 * 4, 4}; }
inline constexpr int RelayPartitions1 = 10; // bit p-1, p = 1..8
inline constexpr int RelayPartitions9 = 11; // bit p-9, p = 9..16

inline constexpr BitRef PowerCD1{12, 0x01}, DamageCD1{12, 0x02}, ErrorInterface1{12, 0x04},
    RadioChanBlck1{12, 0x08}, NoLine1{12, 0x10}, AlarmEvent1{12, 0x20}, NoConnect1{12, 0x40},
    ErrorFire1{12, 0x80};
inline constexpr BitRef ErrorPower1{13, 0x01}, BoxDamage1{13, 0x02}, OnOffLine1{13, 0x04},
    OnOffAllLine1{13, 0x08}, InvRele1{13, 0x10}, ReleControl1{13, 0x20};
// TimeZmk1 is split: item bits 0..1 in bits 6..7 of byte 13, item bit 2 in bit 0 of byte 14.
int timeZmk1(const ConfigImage &img);
void putTimeZmk1(ConfigImage &img, int item);
inline constexpr Field TimeRzmk1{14, 1, 3};
inline constexpr Field TimePeriod1{14, 4, 4};

RelaySettings relaySettings(const ConfigImage &img);

// TypeMesgLine[k]: two bits per recipient, four recipients a byte.
inline Field typeMesgLine(int k) { return {15 + (k - 1) / 4, 2 * ((k - 1) % 4), 2}; }
inline constexpr int ConfirmMes = 17;
inline constexpr Field PeriodHardware{18, 0, 4}, PickUpDelay{18, 4, 4}, PeriodRzd{19, 0, 4},
    TestLine{19, 4, 4}, PauseDial{20, 0, 4}, PhrasePause{20, 4, 4}, DelayHardware{21, 0, 4},
    DelayRzd{21, 4, 4}, DelayTypeAlarm{22, 0, 4}, LostLine{22, 4, 4};
// Tone digits AlarmN, ArmN, DisArmN, N = 1..3 (byte 27's low nibble carries nothing).
inline constexpr std::array<Field, 3> Alarm = {Field{24, 0, 4}, Field{25, 4, 4}, Field{25, 0, 4}};
inline constexpr std::array<Field, 3> Arm = {Field{26, 4, 4}, Field{26, 0, 4}, Field{27, 4, 4}};
inline constexpr std::array<Field, 3> DisArm = {Field{23, 4, 4}, Field{23, 0, 4}, Field{24, 4, 4}};

// One byte per event type, bit r-1 for recipient r. Type 1 has a second copy at byte 36.
inline constexpr std::array<int, EventTypeCount> EventTypeOffsets = {35, 39, 34, 33, 37, 40,
                                                                     38, 31, 29, 30, 32, 28};
inline constexpr int EventType1Copy = 36;
inline BitRef eventBit(int recipient, int type) {
    return {EventTypeOffsets[type - 1], std::uint8_t(1u << (recipient - 1))};
}
// Urgency of event type k (1..12); urgent1 also sets a second copy.
inline constexpr std::array<BitRef, EventTypeCount> UrgentBits = {
    BitRef{42, 0x01}, {42, 0x10}, {41, 0x40}, {41, 0x20}, {42, 0x04}, {42, 0x20},
    {42, 0x08},       {41, 0x08}, {41, 0x02}, {41, 0x04}, {41, 0x10}, {41, 0x01}};
inline constexpr BitRef Urgent1Copy{42, 0x02};

// RzdNmb[p]: odd p in the low nibble.
inline Field rzdNmb(int p) { return {43 + (p - 1) / 2, (p - 1) % 2 * 4, 4}; }
inline constexpr int GroupObjects = 51; // packed 3-digit numbers, group 1 first
inline constexpr Field PauseInterval1{75, 0, 4};
inline constexpr int RecipientPartitions = 76; // byte 75 + p, bit r-1
// Group of partition p as group - 1 (odd p low nibble); 0xF for a partition without object.
inline Field partitionGroupField(int p) { return {92 + (p - 1) / 2, (p - 1) % 2 * 4, 4}; }
inline constexpr int PasswordLengths = 100; // two bits per password, length = code + 3
inline constexpr int Passwords = 102;       // password k at 102 + 3(k-1)
inline constexpr int RightsVz = 126, RightsSn = 127, RightsSt = 128, RightsStart = 129,
                     RightsStop = 130; // bit g-1 for recipient row g
inline constexpr int FillFF = 131;
inline constexpr int DigCodes = 132; // Dig1..Dig12, packed 3-digit numbers
inline constexpr int DigCodeCount = 12;
inline constexpr int Dig13 = 150;      // four digits in two bytes
inline constexpr int LinePhones = 152; // recipient k at 152 + 13(k-1): count, then 12 bytes
inline constexpr int LinePhoneSize = 13;
inline constexpr int LinePhoneMaxChars = 24;
inline constexpr int DialGroups = 256; // group a at 255 + a, bit b-1
inline constexpr int DeviceLanguage = 264;
inline constexpr int GroupThousands = 265; // group g: byte 265 + (g-1)/2, odd g low nibble
inline constexpr int EncoderFillFF = 273;  // 273..318 are 0xFF in an encoded image
inline constexpr int EncoderFillFFSize = 46;

// Partition p's group (1..16; nibble 0xF reads as group 16) and its writer (0 = no object).
inline int partitionGroup(const ConfigImage &img, int p) {
    return getField(img, partitionGroupField(p)) + 1;
}
inline void putPartitionGroup(ConfigImage &img, int p, int group) {
    putField(img, partitionGroupField(p), group == 0 ? 0xF : group - 1);
}

// Object number of group g (1..16): thousands nibble (above 14 reads 0) and three digits as
// stored. Nibbles of 10..14 are not digits; the result can then exceed 9999 and the caller must
// check it against its list.
int groupObject(const ConfigImage &img, int group);
// Writes 0..9999: the last three digits into the packed numbers, the thousands into its nibble.
void putGroupObject(ConfigImage &img, int group, int object);

// Line numbers: "0".."9", "B" 0xA, "W" 0xB, "T" 0xC, "P" 0xD; count byte, then the characters,
// an odd count leaving the last low nibble 0. Errors: TooLong (over 24), BadCharacter.
Status putLinePhone(ConfigImage &img, int k, const QString &text);
// Reads at most 24 characters whatever the count byte says; nibbles 14 and 15, which the encoder
// never writes, give no character.
QString linePhone(const ConfigImage &img, int k);

// Passwords Password21..Password28 (k = 1..8): 3..6 digits; empty stores nothing (reads "000").
// Errors: BadCharacter, BadLength (1, 2 or more than 6 digits: the length code cannot hold them).
Status putPassword(ConfigImage &img, int k, const QString &text);
// Digits as the length code says; nibbles above 9 give no character, and a password without any
// digit reads "000", as an empty one is stored.
QString password(const ConfigImage &img, int k);

// Dig1..Dig12 (k = 1..12) three digits, Dig13 four. Empty text leaves the field 0.
// Errors: NotANumber, OutOfRange (above 999 / 9999).
Status putDigCode(ConfigImage &img, int k, const QString &text);
Status putDig13(ConfigImage &img, const QString &text);
int digCode(const ConfigImage &img, int k); // hundreds*100 + tens*10 + units as stored
int dig13(const ConfigImage &img);

} // namespace q71

} // namespace q7x::image
