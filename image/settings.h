#pragma once
// The configuration as a value: every setting of a Q72 or a Q71 by what it means, and the codecs
// between that value and the configuration image. Nothing here knows the window; the window
// applies a decoded value to its controls and gathers it back (pages/binding.h), a command-line
// tool or a compare view uses the value directly.
//
// A setting chosen from a list holds the list's 0-based item. A stored value that no item of its
// list shows decodes to NoItem (the window then keeps its choice) and encodes to a value that
// decodes to NoItem again. Text settings hold the value as a person gives it, never a mask's
// placeholders ("" for an empty telephone number, "+79001234567", "7" for an SMS-Blitz code of 7);
// the window's binding adds and strips its masks' blanks.
#include "image/configimage.h"
#include "image/convert.h"
#include "image/layout.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace q7x::image {

inline constexpr int NoItem = -1;
inline constexpr int RecipientCount = 8;
inline constexpr int EventTypeCount = 12;
inline constexpr int GroupCount = 16;
inline constexpr int BlitzCount = 24;

// Relay 1: how it is controlled, which partitions drive it, the events it follows and its timing.
struct Relay1Settings {
    bool byCommand = false; // ReleControl1 item 0: switched by remote command, not by events
    std::array<bool, PartitionCount> partitions{};
    RelaySettings events; // partition events, inversion and timing; they decide the relay mode
    bool radioChannelBlocked = false, deviceTamper = false, interfaceFault = false,
         lineFault = false, powerFault = false;
    bool operator==(const Relay1Settings &) const = default;
};

// ---- Q72 --------------------------------------------------------------------------------------

struct Q72Recipient {
    QString phone;           // "" or "+" and up to 15 digits as dialled, "_" for a blank one
                             // between digits
    int notification = 0;    // SMS, voice, ... SMS-Blitz (items 0..10) or NoItem
    bool combineSms = false; // combine messages into one SMS
    int dialAttempts = 0;    // item: 1..16 attempts
    int waitTime = 0;        // item: 4..64 s
    bool confirm = false;    // the recipient confirms a message
    std::array<bool, PartitionCount> partitions{}; // partitions reported to the recipient
    std::array<bool, EventTypeCount> events{};     // event types reported to the recipient
    bool operator==(const Q72Recipient &) const = default;
};

struct Q72Partition {
    int object = 0; // object number 1..999, 0 = none
    int number = 0; // item: the partition number 1..16 reported for it
    int group = 0;  // the object group it carries, as stored (0 = none, 1..16)
    int name = 0;   // item of the partition-name list of the chosen name language (0..38)
    bool operator==(const Q72Partition &) const = default;
};

// Password and remote commands of an object group.
struct ObjectGroup {
    std::array<std::uint8_t, 3> password{0xFF, 0xFF, 0xFF}; // packed digits, see passwordCells()
    bool arm = false, disarm = false, status = false, relayOn = false, relayOff = false;
    bool operator==(const ObjectGroup &) const = default;
};

struct Q72Settings {
    int workMode = 0; // 0 stand-alone, 1..5 extended modes
    int controlInput = 0, input1 = 0, input2 = 0, speedLine = 0, zoneNumber = 0; // items
    bool eventsArchive = false;
    bool dialInTurn = false; // dial the numbers in turn rather than each until its attempts end
    int checkConnect = 0, gsmLost = 0, simCount = 0;
    int phrasePause = 0; // item or NoItem
    QString smsCentre;   // as a recipient phone
    QString pin;         // "" or up to four digits, "_" for a blank one between digits
    QString balanceRequest;
    std::array<Q72Recipient, RecipientCount> recipients{};
    std::array<bool, EventTypeCount> urgent{};
    std::array<Q72Partition, PartitionCount> partitions{};
    std::array<ObjectGroup, GroupCount> groups{};
    int nameLanguage = 0; // 0 Russian, 1 English, 2 transliterated names in SMS texts
    std::array<QString, 4> ownNames{};
    int delayTypeAlarm = 0, delayHardware = 0, delayRzd = 0; // items or NoItem
    int periodHardware = 0, periodRzd = 0;                   // items or NoItem
    int testLine = 0;
    // Tone codes: symbols 1..3 and the pause of alarm, arm and disarm.
    std::array<int, 4> toneAlarm{}, toneArm{}, toneDisarm{};
    Relay1Settings relay;
    std::array<QString, BlitzCount> blitzCodes{}; // SMS-Blitz event codes, "" = none
    std::array<bool, BlitzCount> blitzVoice{};    // the event is also announced by voice
    bool operator==(const Q72Settings &) const = default;
};

// ---- Q71 --------------------------------------------------------------------------------------

struct Q71Recipient {
    QString phone;        // digits and B, W, T, P
    int messageType = 0;  // voice, tone, digital (items 0..2) or NoItem
    int dialAttempts = 0; // item: 1..16 attempts
    int waitTime = 0;     // item
    bool confirm = false;
    std::array<bool, PartitionCount> partitions{};
    std::array<bool, EventTypeCount> events{};
    QString password; // remote-control password, "" or 3..6 digits
    bool arm = false, disarm = false, status = false, relayOn = false, relayOff = false;
    bool operator==(const Q71Recipient &) const = default;
};

struct Q71Partition {
    int object = 1; // object number 0..9999 (rows 10..16: 0..999)
    int number = 0; // item: the partition number 1..16 reported for it
    bool operator==(const Q71Partition &) const = default;
};

struct Q71Settings {
    int workMode = 0; // item or NoItem
    // Stored only in work mode 0; NoItem otherwise, and in work mode 0 stored without its flag.
    int controlInput = NoItem, input1 = NoItem, input2 = NoItem;
    int speedLine = 0, dialMode = 0, checkConnect = 0;
    bool dialInTurn = false;
    std::array<Q71Recipient, RecipientCount> recipients{};
    Relay1Settings relay;
    int periodHardware = 0, pickUpDelay = 0, periodRzd = 0, testLine = 0, pauseDial = 0,
        phrasePause = 0, delayHardware = 0, delayRzd = 0, delayTypeAlarm = 0, lostLine = 0;
    std::array<int, 3> toneAlarm{}, toneArm{}, toneDisarm{};
    std::array<bool, EventTypeCount> urgent{};
    std::array<Q71Partition, PartitionCount> partitions{};
    int pauseInterval = 0;
    // dialGroups[a - 1][b - 1]: recipient b belongs to dial group a (every recipient to its own).
    std::array<std::array<bool, RecipientCount>, RecipientCount> dialGroups{};
    std::array<QString, 12> digitalCodes{}; // three digits each
    QString digitalCode13;                  // four digits
    bool operator==(const Q71Settings &) const = default;
};

// ---- Decoding ---------------------------------------------------------------------------------

// The checks of the Q72 decoder, in the order the window reports them.
enum class Check {
    WorkMode,
    Pin,
    SmsCentre,
    Phones,
    Language,
    PartitionNames,
    SimCount,
    TestLine,
    Balance,
    ObjectNumbers,
    Groups,
    Passwords
};

// A field that failed its check. The settings then hold the field's fall-back value.
struct FieldError {
    Check check;
    QStringList labels; // window labels whose captions name the field; none: the bare message
    QList<int> offsets; // first image byte of each bad field
    QStringList keys;   // catalogue key of each bad field, as `offsets`
};

template <class Settings> struct DecodeResult {
    Settings settings;
    QList<FieldError> errors; // in report order; the Q71 decoder checks nothing
};

DecodeResult<Q72Settings> decodeQ72(const ConfigImage &img);
DecodeResult<Q71Settings> decodeQ71(const ConfigImage &img);

// ---- Encoding ---------------------------------------------------------------------------------

// An encoded image, or why the settings cannot be stored: `error` names the field and the value
// for a message box, `key` is the field's catalogue key. Nothing may be written or sent when
// error is set.
struct Encoded {
    ConfigImage image{};
    QString error;
    QString key;
    bool ok() const { return error.isEmpty(); }
};

Encoded encodeQ72(const Q72Settings &s);
Encoded encodeQ71(const Q71Settings &s);

// The interface language a write stamps into the image; nothing is stamped for any other
// language name. Saving a file stamps nothing.
enum class WriteLanguage { Russian, English, Turkish };
void adjustForWrite(ConfigImage &img, DeviceModel model, std::optional<WriteLanguage> language);

// ---- Rules shared by the window and the pure value -------------------------------------------

// The group each partition applies when read: a group named by more than one partition belongs
// to the first of them only.
std::array<int, PartitionCount> effectiveGroups(const std::array<Q72Partition, PartitionCount> &p);

// A Q71 recipient without a telephone number reports no partition: the window clears its
// partitions when it stores the configuration.
void clearPartitionsWithoutNumber(Q71Settings &s);

// A password of up to six digits as the three cells of an object group: digits in pairs from the
// left, a last single digit with 0xF in its low nibble, 0xFF for cells without digits.
std::array<std::uint8_t, 3> passwordCells(const QString &digits);
// The digits of the cells: per cell the high and then the low nibble, unless 0xF; a cell of 0xFF
// or more gives none.
QString passwordDigits(const std::array<int, 3> &cells);

} // namespace q7x::image
