#pragma once
// The rules of the settings window as functions over its value (image/form.h): what a user's
// edit of one control does to the others, the form reset, the tool mode and a connected model,
// factory settings, loading an image, the start-up, and the settings a save or a write stores.
// Each takes the form and collects what the window must show or do besides it (messages, the
// status text, the focus) in a FormEffects.
#include "image/form.h"

#include <QVariant>

namespace q7x::image {

// The controls as the window builds them, before any rule has run.
Form builtForm();

// The form at the end of the window's start-up (construction, creation and first show) with the
// interface language `language` stored ("Error" when none is).
Form startForm(const QString &language);
// The three steps of the start-up, which the window takes at those moments: the translation of
// its texts runs between the second and the third.
void constructForm(Form &f, FormEffects &fx); // reset, and the GSM demonstration's preset
void createForm(Form &f, FormEffects &fx);    // the pause intervals and the dial groups
void showFirst(Form &f, FormEffects &fx);     // the SMS-Blitz type only in Russian

// Every settings control back to its initial selection.
void resetForm(Form &f, FormEffects &fx);

// The user chooses item `mode` of the tool-mode list: the model of a demonstration, the controls
// of that model, and its factory settings.
void chooseToolMode(Form &f, int mode, FormEffects &fx);

// A device of `model` has answered: the controls of that model.
void adaptToModel(Form &f, core::DeviceModel model, FormEffects &fx);

// The factory preset of the form's model and work mode.
void restoreDefaults(Form &f, FormEffects &fx);

// An image of the form's model read into the window, with the checks of a Q72 image (a bad field
// raises a FieldError, and then the factory preset replaces the image).
void readImage(Form &f, const ConfigImage &image, FormEffects &fx);
void readImage(Form &f, core::DeviceModel model, const ConfigImage &image, FormEffects &fx);
// The same, for a configuration file: the SMS-Blitz page is shown again when a recipient uses
// SMS-Blitz.
void loadFile(Form &f, const ConfigImage &image, FormEffects &fx);

// What a save or a write stores, and its effect on the form: the telephone-line model unticks
// the partitions of a recipient without a number once its image is complete.
Encoded encodeForm(Form &f);

// What the user does to a control, named as the window names it ("TypeMesgGSM3", "rzd216").
enum class EditKind {
    Choose, // an item of a list (value: the item) or of a radio group (value: the item)
    Click,  // a check box (value: the new tick) or a field
    Type,   // the text of a field changes (value: the text)
    Leave,  // the user leaves a field; for an SMS-Blitz code the value is the answer to its
            // question (true: correct it), when blitzCodeAsks() said there is one
};
// Applies the edit as the window does and runs the rules of that control. False when the
// control takes no such edit, or the value is not one it can hold (nothing changes then).
bool userEdit(Form &f, const QString &control, EditKind kind, const QVariant &value,
              FormEffects &fx);

// The window's handlers, each run as the window runs it for the control named `sender` (the
// control that fired it; a family member gives the number the handler reads).
enum class Rule {
    WorkMode,
    WorkModeCombo,
    LangChangeClick,
    FillObjectNumbers,
    PauseInterval1Change,
    ReleControl1Change,
    ReleWorkMode1Click,
    SpecModeRele,
    ObjNmbClick,
    ObjNmbCl,
    RzdNmbChange,
    DistanceControl,
    PasswordChange,
    PasswordSave,
    PasswordExit,
    CommandRepeat,
    ConnectTimeConfrmEnabl,
    TypeMesgClick,
    TypeMesgLineChange,
    LinePhoneChange,
    LinePhone1Click,
    LinePhoneExit,
    RequestBalanceChange,
    RequestBalanceExit,
    PinCodeClick,
    SMSphoneClick,
    DigExit,
    Edit1Change,
    Edit1Exit, // `answer`: the user wants to correct the code (see blitzCodeAsks)
    ChangeOwnName,
    OwnNameChange,
    OwnNameLengnh,
};
void runRule(Form &f, Rule rule, const QString &sender, FormEffects &fx, bool answer = false);

// Leaving SMS-Blitz code k (1..24) asks whether to correct a code that is not four characters.
bool blitzCodeAsks(const Form &f, int k);

// The number of items the named list offers now (0 for a name that is no list of the form).
int itemCount(const Form &f, const QString &list);

} // namespace q7x::image
