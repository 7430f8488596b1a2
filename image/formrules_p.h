#pragma once
// The rules of the settings window over its value, one member per handler of the window, with
// the same names. Internal to the image library: image/formrules.h gives the entry points.
#include "image/formrules.h"

namespace q7x::image::form {

// The control that fires a rule, where the rule looks at it: its kind and its number (the Tag).
enum class From {
    None,
    ObjNmb,          // ObjNmb p
    GroupPageObject, // ComboBox 16+p on the dial-group page (partitions 9..16)
    RzdNmb,          // RzdNmb p
    GroupPageNumber, // ComboBox 2+p on the dial-group page
    ReleControl1,    // the relay-control list itself
    NameList,        // a partition-name list of family `family`
};
struct Sender {
    From from = From::None;
    int index = 0;  // partition, recipient or row
    int family = 0; // NameList
};

// Item counts of the lists, as built.
struct Counts {
    int workMode, input, eventsArchive, controlInput, checkConnect, nextDial, phrasePause,
        speedLine, gsmLost, zoneNumber, simCount, dialMode, pickUpDelay, lostLine, pauseDial,
        partitionNumbers, partitionNames, urgency, lineTypes, yesNo, dialTry, waitTime,
        pauseInterval, period, testLine, delay, toneSymbols, tonePause, releControl, releWorkMode,
        timeOpenClose, timePeriod, invRele;
};
const Counts &counts();

// A list set by code: an item it has, or none.
inline void setItem(int &item, int value, int count) {
    item = value >= 0 && value < count ? value : NoItem;
}
// A list set from an image: an item it has, else it keeps its choice.
inline void setIndex(int &item, int value, int count) {
    if (value >= 0 && value < count)
        item = value;
}

class Rules {
  public:
    Rules(Form &form, FormEffects &effects) : f(form), s(form.values), v(form.view), fx(effects) {}

    Form &f;
    FormSettings &s;
    FormView &v;
    FormEffects &fx;

    void warn(int number);
    int objectCount(int p) const; // items of ObjNmb p
    int gsmCount(int r) const;    // items of TypeMesgGSM r

    // Check boxes and fields whose setting by code runs their rule.
    void setCommand(int r, int kind, bool on); // recipient row r: vz2 sn2 st2 start2 stop2
    void setLangChange(int index);
    void setReleWorkMode(int index);
    void setPasswordText(int row, const QString &text); // Password row (1..16, 21..28)
    void setLinePhone(int r, const QString &text);
    void setBalance(const QString &text);
    void setBlitzCode(int k, const QString &text);
    void setOwnName(int family, int n, const QString &text);

    // Work modes and the tool mode.
    void WorkMode();
    void ApplyModelView(int view); // ModelView: DemoQ71, DemoQ72, Online, ConnectedQ71/Q72
    void WorkModeCombo();
    void LangChangeClick();
    void FillObjectNumbers();
    void PauseInterval1Change(int r);
    // Relay.
    void ReleControl1Change(Sender sender);
    void ReleWorkMode1Click();
    void SpecModeRele();
    // Objects, partitions, remote control.
    void ObjNmbClick(Sender sender);
    void ObjNmbCl(Sender sender);
    void RzdNmbChange(Sender sender);
    void DistanceControl(int p);
    void PasswordChange(int row);
    void PasswordExit(int row);
    void PasswordSave(int k);
    void CommandRepeat(int r, int kind);
    // Recipients.
    void ConnectTimeConfrmEnabl(int n);
    void TypeMesgClick(int n);
    void TypeMesgLineChange(int n);
    void LinePhoneChange(int r);
    void LinePhone1Click(int r);
    void LinePhoneExit(int r);
    void RequestBalanceChange();
    void RequestBalanceExit();
    void DigExit(int k);
    void Edit1Change(int k);
    void Edit1Exit(int k, bool correct);
    // SMS names.
    void ChangeOwnName(Sender sender);
    void OwnNameChange(int family, int n);
    void OwnNameLengnh(int family, int n);
    // The form as a whole.
    void ResetForm();
    void DefaultButtonClick();
    void DecodeImage(const ConfigImage &image);
    void DecodeImageQ72(const DecodeResult<Q72Settings> &d);
    void DecodeImageQ71(const Q71Settings &d);
    void ModelAdaptation(core::DeviceModel model);
    void applyRelay(const Relay1Settings &r);

  private:
    void setRelayBox(int box, char state);
    Shown &relayBoxView(int box);
    bool &relayBoxValue(int box);
    bool m_restoring = false; // restoring the factory preset after a damaged image
};

// The family whose partition-name group is shown, as the codecs find it: English, then
// transliterated, else Russian.
int visibleFamily(const FormView &v);

} // namespace q7x::image::form
