#pragma once
// The settings window: every page and control, the window state the rules read, and the rules
// that keep the pages consistent. The application's main window (app/) derives from it and adds
// the life cycle and the device commands.
#include "core/devicemodel.h"
#include "image/formrules.h"
#include "pages/controls.h"
#include "pages/dialogs.h"
#include "pages/facade.h"
#include "pages/windowpages.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QStringListModel;

namespace q7x::lang {
class WindowTexts;
} // namespace q7x::lang

namespace q7x::pages {

using core::DeviceModel;

// Main page indices of PageControl1.
enum PageNumber {
    PageMain = 0,
    PageRecipients,
    PageNames,
    PagePeriod,
    PageRemote,
    PageTone,
    PageRelay
};

// The window is its frame with the pages inside; the frame's controls are the window's members
// (Frame), each page's are members of its page class, reached through the page's accessor, which
// builds the page on first use.
class FormBase : public QWidget, public ControlKind, public Frame {
    Q_OBJECT
  public:
    explicit FormBase(Dialogs *dialogs, QWidget *parent = nullptr);
    ~FormBase() override;

    // The window's model: every setting and what the rules show or hide. The controls show it and
    // report each change of a value into it, whoever makes it; the rules change it and the
    // controls follow. A page is built the first time it is shown (or a control of it is looked
    // up) and then shows its part of the model; until then the model alone holds that part.
    const image::Form &model() const { return m_model; }
    // The model with the window's context (the model of device, tool mode, interface language,
    // whether warnings are shown): what the rules and the encoders take.
    image::Form form() const;
    void buildPage(int page);
    void buildAllPages();
    bool pageBuilt(int page) const;
    // The window's texts were just translated (by identifier with `texts`, by the walk's numbers
    // without): the model takes the object captions the translation gave the built pages, and
    // with `texts` what only the model shows of the pages not built yet (the texts of fields and
    // the object captions) is translated as the controls showing them would have been. Values of
    // the built controls reach the model as they change.
    void windowTranslated(const lang::WindowTexts *texts);
    // Whether windows made from now on build every page at once (for comparisons in tests).
    static void setBuildAllPagesAtStart(bool all);

    Controls &controls() { return m_controls; }
    const Controls &controls() const { return m_controls; }
    Dialogs &dialogs() { return *m_dialogs; }
    void setDialogs(Dialogs *d);

    // Window state read by the rules and the codecs.
    core::DeviceModel DeviceModel = core::DeviceModel::Q72;
    bool Interactive = true;
    bool FormShown = false;
    int PrevPage = 0;
    // Reads or writes the three packed-digit password cells of object o (1..1000) in the model;
    // other rows read as empty and are never written, so object numbers outside the table cannot
    // reach beyond it.
    std::array<int, 3> passwordRow(int object) const;
    void setPasswordRow(int object, const std::array<int, 3> &cells);

    // --- settings rules -----------------------------------------------------------------
    // The rules are functions over the form (image/formrules.h). runRules() reads the form the
    // window shows (the built pages' controls, the model for the others), runs `rules` over it,
    // shows the result on the built pages, keeps it as the model and carries out its effects; the
    // handlers below run the rule of their name that way for the control that fired them.
    // `typed` names a field whose change rule filters what the user typed (its caret stays).
    void runRules(const std::function<void(image::Form &, image::FormEffects &)> &rules,
                  const QString &typed = {});
    void ResetForm();
    void WorkMode(QWidget *sender);
    void WorkModeCombo(QWidget *sender);
    void LangChangeClick(QWidget *sender);
    void ReleControl1Change(QWidget *sender);
    void ReleWorkMode1Click(QWidget *sender);
    void SpecModeRele(QWidget *sender);
    void FillObjectNumbers();
    void ObjNmbClick(QWidget *sender);
    void ObjNmbCl(QWidget *sender);
    void RzdNmbChange(QWidget *sender);
    void DistanceControl(QWidget *sender);
    void PasswordChange(QWidget *sender);
    void PasswordSave(QWidget *sender);
    void PasswordExit(QWidget *sender);
    void CommandRepeat(QWidget *sender);
    void ToneDigit(QWidget *sender);
    void SoundToneClick(QWidget *sender);
    void ConnectTimeConfrmEnabl(QWidget *sender);
    void TypeMesgClick(QWidget *sender);
    void TypeMesgLineChange(QWidget *sender);
    void PauseInterval1Change(QWidget *sender);
    void LinePhoneChange(QWidget *sender);
    void LinePhoneExit(QWidget *sender);
    void LinePhone1Click(QWidget *sender);
    void RequestBalanceChange(QWidget *sender);
    void RequestBalanceExit(QWidget *sender);
    void PinCodeClick(QWidget *sender);
    void SMSphoneClick(QWidget *sender);
    void DigExit(QWidget *sender);
    void Dig13Exit(QWidget *sender);
    void Edit1Change(QWidget *sender);
    void Edit1Exit(QWidget *sender);
    void ChangeOwnName(QWidget *sender);
    void OwnNameChange(QWidget *sender);
    void OwnNameLengnh(QWidget *sender);

    // --- page rules -----------------------------------------------------------------------
    void PageControl1Changing(QWidget *sender);
    void PageControl1Change(QWidget *sender);
    void PageControl2Change(QWidget *sender);

    // --- device images ----------------------------------------------------------------------
    // Reads an image of `model` into the model through the rules that run while a device's or a
    // file's image is read: the Q72 checks show their messages at the end of the read and then
    // the factory preset replaces a damaged image; a Q71 image is also listed in Memo3 (bytes
    // 0..299). The one-argument form reads it as the window's DeviceModel.
    void readImage(core::DeviceModel model, const image::ConfigImage &image);
    void readImage(const image::ConfigImage &image) { readImage(DeviceModel, image); }
    // Encodes the model as a save or a write stores it. Once a Q71 image is complete, the
    // partitions of recipients without a telephone number are unticked and the image is listed in
    // Memo2; a refused encoding changes nothing.
    image::Encoded encodeImage();

    // Factory presets: decodes the preset of the current model and work mode into the window.
    void DefaultButtonClick(QWidget *sender);

    // Status bar text.
    QString statusText() const;
    void setStatusText(const QString &s);

    // --- the pages ------------------------------------------------------------------------
    // The first page, built with the window.
    MainPage &mainPage() { return *m_main; }
    const MainPage &mainPage() const { return *m_main; }
    // The other pages with controls the window's code reaches by pointer; each builds its page
    // the first time it is asked for.
    RecipientsPage &recipientsPage();
    NamesPage &namesPage();
    RelayPage &relayPage();

    // Shared item models of the object-number lists ("---", "1".."999" and "---", "1".."9999").
    QStringListModel *objectNumbers999() const { return m_objects999; }
    // The longer list is built the first time the telephone-line model needs it.
    QStringListModel *objectNumbers9999();

  protected:
    // Shows an information box with message n of the message table.
    void showMessage(int number);
    // Carries out what the rules ask of the window besides the form and its notices: the status
    // text, the frame's buttons and the first page.
    virtual void applyEffects(const image::FormEffects &fx);
    // A page was just built, before it shows the model: its texts go into the interface language.
    virtual void translatePage(TabSheet *sheet) { (void)sheet; }
    // A page was built and shows the model.
    virtual void pageAdded(int page) { (void)page; }
    // The controls show `after`, which the rules made of `before`.
    virtual void formShown(const image::Form &before, const image::Form &after) {
        (void)before;
        (void)after;
    }
    void applyNotice(const image::FormNotice &notice);
    // Puts the message-type heading where the rules moved it, once its page is built.
    void placeMessageTypeHeading();

  private:
    void wireHandlers();
    // Lets every settings control built within `root` report its value changes into the model.
    void watchValues(const QWidget *root);
    void rule(image::Rule rule, QWidget *sender, bool answer = false);

    Controls m_controls;
    Dialogs *m_dialogs;
    std::unique_ptr<Dialogs> m_ownDialogs;
    QStringListModel *m_objects999 = nullptr;
    QStringListModel *m_objects9999 = nullptr;
    bool m_showing = false; // the controls are being set from the form: no handler runs
    image::Form m_model;
    std::array<bool, 7> m_built{};
    std::unique_ptr<MainPage> m_main;
    std::unique_ptr<RecipientsPage> m_recipients;
    std::unique_ptr<NamesPage> m_names;
    std::unique_ptr<PeriodPage> m_period;
    std::unique_ptr<RemotePage> m_remote;
    std::unique_ptr<TonePage> m_tone;
    std::unique_ptr<RelayPage> m_relay;
};

} // namespace q7x::pages
