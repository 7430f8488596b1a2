#pragma once
// The settings window as a value: every setting its pages hold for either model, what each
// control that a rule governs shows besides its value (visible, enabled, the items of the lists
// whose items change), the tool mode and the model being configured. The rules that keep the
// pages consistent, the form reset, factory settings, loading an image and the start-up are plain
// functions over this value (image/formrules.h). The window reads a user's edit into it, runs the
// rule and shows the result; the command line composes the same functions, so both send the same
// bytes.
//
// Lists hold their 0-based item and NoItem when they show none; check boxes hold their tick;
// text fields hold their text, telephone numbers and the PIN as the settings value holds them.
#include "core/devicemodel.h"
#include "image/settings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>

namespace q7x::image {

inline constexpr int ObjectTableRows = 1000; // object passwords are kept for objects 1..1000
inline constexpr int DigitalCodeCount = 13;
inline constexpr int NameFamilyCount = 3; // Russian, English, transliterated
inline constexpr int OwnNameFields = 4;

// The five commands a recipient (Q71) or an object (Q72) may give.
struct Commands {
    bool arm = false, disarm = false, status = false, relayOn = false, relayOff = false;
    bool operator==(const Commands &) const = default;
};

struct FormRecipient {
    QString phone;     // GSM number, as Q72Recipient::phone
    QString linePhone; // telephone-line number
    int gsmType = 0, lineType = 0;
    int sms = 0; // combine SMS: item 0 "да", 1 "нет"
    int dialTry = 0, waitTime = 0;
    int confirm = 0; // item 0 "да", 1 "нет"
    int pauseInterval = 0;
    std::array<bool, PartitionCount> partitions{};
    std::array<bool, EventTypeCount> events{};
    QString password; // the Q71 remote-control password
    Commands commands;
    bool operator==(const FormRecipient &) const = default;
};

struct FormPartition {
    int object = 0; // item of the object list: 0 "---", else the object number
    int number = 0; // item of the partition-number list
    std::array<int, NameFamilyCount> names{}; // item of each family's partition-name list
    bool operator==(const FormPartition &) const = default;
};

// A row of the remote-control page for the GSM model: one object, its password and commands.
struct ObjectRow {
    QString password;
    Commands commands;
    bool operator==(const ObjectRow &) const = default;
};

using PasswordCells = std::array<std::uint8_t, 3>;

struct FormSettings {
    // Main page.
    int workMode = 0, input1 = 0, input2 = 0, eventsArchive = 0, controlInput = 0, checkConnect = 0,
        nextDial = 0, phrasePause = 0, speedLine = 0;
    QString smsCentre, pin, balanceRequest;
    int gsmLost = 0, zoneNumber = 0, simCount = 0;
    int dialMode = 0, pickUpDelay = 0, lostLine = 0, pauseDial = 0;
    // Recipients page and its inner pages.
    std::array<FormRecipient, RecipientCount> recipients{};
    std::array<FormPartition, PartitionCount> partitions{};
    // The object and partition lists of partitions 9..16 on the dial-group page: lists of their
    // own that the rules treat like the partition rows and that nothing stores.
    std::array<int, 8> groupPageObjects{}, groupPageNumbers{};
    std::array<int, EventTypeCount> urgent{}; // item 0 "срочное"
    std::array<QString, DigitalCodeCount> digitalCodes{};
    std::array<std::array<bool, RecipientCount>, RecipientCount> dialGroups{};
    std::array<QString, BlitzCount> blitzCodes{};
    std::array<bool, BlitzCount> blitzVoice{};
    // SMS names: the name language item and each family's own user names.
    int nameLanguage = 0;
    std::array<std::array<QString, OwnNameFields>, NameFamilyCount> ownNames{};
    // Periods and delays.
    int periodHardware = 0, periodRzd = 0, testLine = 0, delayTypeAlarm = 0, delayHardware = 0,
        delayRzd = 0;
    // Remote control: the object rows and the password of every object 1..1000.
    std::array<ObjectRow, PartitionCount> objectRows{};
    std::array<PasswordCells, ObjectTableRows> objectPasswords{};
    // Tone notification: symbols 1..3 and the pause of alarm, arm and disarm.
    std::array<int, 4> toneAlarm{}, toneArm{}, toneDisarm{};
    // Relay 1.
    int relayControl = 0; // item 0 "по команде", 1 "по событию"
    int relayMode = 0;    // item of the relay working modes
    std::array<bool, PartitionCount> relayPartitions{};
    bool alarmEvent = false, boxDamage = false, onOffLine = false, onOffAllLine = false,
         errorFire = false, noConnect = false, errorPower = false, radioChannelBlocked = false,
         deviceTamper = false, interfaceFault = false, lineFault = false, powerFault = false;
    int timeRzmk = 0, timeZmk = 0, timePeriod = 0, inverse = 0;

    bool operator==(const FormSettings &) const = default;
};

// Whether a control is visible and enabled (its own flags: a hidden page does not hide it).
struct Shown {
    bool visible = true;
    bool enabled = true;
    bool operator==(const Shown &) const = default;
};

// The items a GSM notification-type list offers: all eleven, or without "SMS-Блиц" (only the
// Russian interface has it), which an image that uses it puts back until an image does not.
enum class BlitzItem : std::uint8_t { Built, Removed, AddedBack };

// What the controls that the rules govern show besides their values. Every control not listed
// keeps the state it was built with.
struct FormView {
    // Model view.
    Shown panel5, panel7, smsCentre, pin, panel30, panel31, panel32, panel4, panel13, panel15,
        label51, label3, label219, label93, label268, panel33, panel34, panelAttention;
    bool messageTypeHeadingMoved = false; // Label93 at its place for a connected device
    bool namesTab = true, dialGroupsTab = true, digitalTab = true, blitzTab = true;
    // Main page.
    Shown controlInput, label52, checkConnect, label53, input1, input2, label7, label50, speedLine,
        label40;
    // Recipients.
    struct Recipient {
        Shown phone, linePhone, gsmType, lineType, sms, dialTry, waitTime, confirm;
        std::array<Shown, PartitionCount> partitions{};
        std::array<Shown, EventTypeCount> events{};
        Shown arm, disarm, relayOn, relayOff; // vz2r, sn2r, start2r, stop2r
        BlitzItem blitzItem = BlitzItem::Built;
        bool operator==(const Recipient &) const = default;
    };
    std::array<Recipient, RecipientCount> recipients{};
    struct Partition {
        Shown object, number;
        std::array<Shown, NameFamilyCount> names{};
        Shown relay; // iz1p
        bool operator==(const Partition &) const = default;
    };
    std::array<Partition, PartitionCount> partitions{};
    int objectListLast = 999; // the object lists of partitions 1..9 offer "1" .. this
    std::array<Shown, BlitzCount> blitzCodes{}, blitzVoice{};
    // SMS names: each family's two group boxes, its caption labels and own-name fields.
    struct NameFamily {
        Shown names, users; // GroupBox4/GroupBox3, GroupBox8/GroupBox6, GroupBox15/GroupBox7
        Shown loopCaption, partitionCaption, partitionNameCaption, loopNameCaption;
        std::array<Shown, OwnNameFields> ownNames{};
        bool operator==(const NameFamily &) const = default;
    };
    std::array<NameFamily, NameFamilyCount> nameFamilies{};
    // Remote-control object rows.
    struct ObjectRowView {
        QString object; // LabelOb caption
        Shown label, word, line, password, arm, disarm, status, relayOn, relayOff;
        std::array<Shown, 3> fixedCommands{}; // cmnd k6..k8
        bool operator==(const ObjectRowView &) const = default;
    };
    std::array<ObjectRowView, PartitionCount> objectRows{};
    // Relay page.
    Shown relayBinding, relayEvents, relayExtra, relayMode;     // GroupBox13, 14, 16, ReleWorkMode1
    std::array<Shown, PartitionCount> relayPartitionCaptions{}; // Label491..Label4916
    std::array<Shown, 12> relayEventCaptions{};                 // Label5010..Label5021
    Shown alarmEvent, boxDamage, onOffLine, onOffAllLine, errorFire, noConnect, errorPower,
        radioChannelBlocked, deviceTamper, interfaceFault, lineFault, powerFault;
    Shown timeRzmk, timeZmk, timePeriod, inverse;

    bool operator==(const FormView &) const = default;
};

struct Form;

// What a rule asks the window to show or do besides the new state.
struct FormNotice {
    enum class Kind {
        Message,      // message `number` of the message table, in a plain box
        FieldError,   // a field of a read image failed its check: the captions of `labels`
        DamagedImage, // the final warning after a read image with bad fields
        Focus,        // `control` takes the focus back after its check
        State,        // the window shows `state` while the messages that follow are up
    };
    Kind kind = Kind::Message;
    int number = 0;
    QStringList labels;
    QString control;
    std::shared_ptr<const Form> state;
    bool operator==(const FormNotice &) const = default;
};

struct FormEffects {
    QList<FormNotice> notices; // messages and focus changes, in the order the rules made them
    enum class Status { Keep, Clear, FactorySettings };
    Status status = Status::Keep;  // the last status-bar text a rule set
    bool firstPage = false;        // the form reset shows the first page
    bool defaultsRestored = false; // a factory preset was read (the file name is forgotten)
    bool headingMoved = false;     // the message-type heading takes its place for a device
    // The frame's buttons after a tool-mode or model change.
    bool buttonsChanged = false;
    bool fileButtons = true, connectButton = false, runModemButton = false;
    bool runModemChanged = false, connectChanged = false;
};

// The tool mode (the Mode list) and the views of a connected device.
enum class ToolMode { DemoQ71 = 0, DemoQ72 = 1, Online = 2 };

struct Form {
    FormSettings values;
    FormView view;
    core::DeviceModel model = core::DeviceModel::Q72;
    int toolMode = 0;        // item of the Mode list (NoItem before the start)
    QString language;        // the interface language's name as the window shows it ("Error": none)
    bool interactive = true; // the rules' warnings are shown only then
    bool formShown = false;  // the window has been shown once
    bool operator==(const Form &) const = default;
};

// ---- The settings value and the form ---------------------------------------------------------

// The symbol a tone list's item stands for, as its preview shows it ("" for no item).
QString toneSymbol(int item);

// The settings the form holds, as the encoders store them: object groups numbered from the object
// lists, each group's password from the object's row of the password table and its commands from
// the object row that shows its object.
Q72Settings q72Settings(const Form &f);
Q71Settings q71Settings(const Form &f);

} // namespace q7x::image
