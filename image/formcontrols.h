#pragma once
// The controls of the settings window by name, each with the part of the form it shows: the
// setting a list, box or field holds, and the visible and enabled flags of the controls that the
// rules govern. One map for the window that shows the form and reads a user's edit back, and for
// the rules that take an edit by the control's name.
#include "image/form.h"

#include <functional>

namespace q7x::image {

// The rule a control's edit runs, by the family the control belongs to.
enum class ControlFamily {
    Plain, // no rule: the value only
    WorkModeComboBox,
    LangChange,
    ReleControl1,
    ReleWorkMode1,
    RelayTiming, // TimeRzmk1, TimeZmk1, TimePeriod1
    ObjNmb,
    GroupPageObject,
    RzdNmb,
    GroupPageNumber,
    ObjectPassword,    // Password1..16
    RecipientPassword, // Password21..28
    RecipientCommand,  // vz2r .. stop2r; `index2` is the command 0..4
    TypeMesgGSM,
    TypeMesgLine,
    PauseInterval,
    LinePhone,
    PhoneNumber,
    SMSphone,
    PinCode,
    RequestBalance,
    DigitalCode,
    BlitzCode,
    NameList, // `index2` is the family
    OwnName,  // `index2` is the family
};

// The hint a settings control shows when the pointer rests on it (the texts are the message
// table's, in the interface language).
enum class ControlHint { None, WaitTime, LinePhone, PhoneNumber, Confirmation };

struct ValueControl {
    enum class Kind { Item, Tick, Text };
    QString name;
    Kind kind = Kind::Item;
    ControlFamily family = ControlFamily::Plain;
    int index = 0, index2 = 0; // the member's numbers: recipient, partition, row, ...
    std::function<int &(FormSettings &)> item;
    std::function<bool &(FormSettings &)> tick;
    std::function<QString &(FormSettings &)> text;
    ControlHint hint = ControlHint::None;
};

struct ViewControl {
    QString name;
    std::function<Shown &(FormView &)> shown;
};

// Every settings control of the window with its setting, in the window's order.
const QList<ValueControl> &valueControls();
const ValueControl *valueControl(const QString &name);
// Every control whose visible or enabled flag a rule sets.
const QList<ViewControl> &viewControls();

} // namespace q7x::image
