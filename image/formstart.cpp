// The form as the window builds it and starts it, and the entry points of the rules over the
// whole form.
#include "image/formcontrols.h"
#include "image/formrules_p.h"

namespace q7x::image {

using form::Rules;

Form builtForm() {
    Form f;
    f.toolMode = NoItem;
    FormSettings &s = f.values;
    // Lists show no item until something chooses one.
    for (const ValueControl &c : valueControls())
        if (c.kind == ValueControl::Kind::Item)
            c.item(s) = NoItem;
    s.balanceRequest = QStringLiteral("*102#");
    s.nameLanguage = 1;
    s.relayMode = 6;
    s.objectPasswords.fill({255, 255, 255});
    FormView &v = f.view;
    v.controlInput.visible = false;
    v.label52.visible = false;
    v.input1.enabled = false;
    v.input2.enabled = false;
    for (FormView::Recipient &r : v.recipients) {
        r.events[1].enabled = false; // the window's constructor enables them
        r.relayOn.enabled = false;
        r.relayOff.enabled = false;
    }
    for (int k = 1; k <= PartitionCount; ++k) {
        FormView::ObjectRowView &row = v.objectRows[std::size_t(k - 1)];
        row.object = QString::number(k);
        for (Shown *w : {&row.label, &row.word, &row.line, &row.password, &row.arm, &row.disarm,
                         &row.status, &row.relayOn, &row.relayOff})
            w->visible = false;
        for (Shown &fixed : row.fixedCommands)
            fixed = {false, false}; // ticked for good
        row.relayOn.enabled = false;
        row.relayOff.enabled = false;
    }
    for (FormView::NameFamily &family : v.nameFamilies)
        for (Shown &own : family.ownNames)
            own.visible = false;
    return f;
}

// The window's construction: the reset, then the demonstration of the GSM model with its factory
// settings. The tool-mode rule would read the preset twice around the object lists, which are
// already those of the GSM model; one read leaves the same form.
void constructForm(Form &f, FormEffects &fx) {
    Rules r(f, fx);
    r.ResetForm();
    f.toolMode = int(ToolMode::DemoQ72);
    f.model = core::DeviceModel::Q72;
    r.ApplyModelView(int(ToolMode::DemoQ72));
    r.FillObjectNumbers();
    r.DefaultButtonClick();
    // Every Russian partition name list on its first item, no object password, every event box
    // enabled, relay 1 by event in its first work mode, and the digital-format event codes.
    for (FormPartition &p : f.values.partitions)
        p.names[0] = 0;
    f.values.objectPasswords.fill({255, 255, 255});
    for (FormView::Recipient &rv : f.view.recipients)
        for (Shown &e : rv.events)
            e.enabled = true;
    form::setItem(f.values.relayControl, 1, form::counts().releControl);
    r.setReleWorkMode(0);
    const char *digits[DigitalCodeCount] = {"140", "383", "384", "401", "355", "373", "110",
                                            "356", "344", "137", "350", "302", "1602"};
    for (int k = 0; k < DigitalCodeCount; ++k)
        f.values.digitalCodes[std::size_t(k)] = QLatin1String(digits[k]);
}

void createForm(Form &f, FormEffects &fx) {
    Rules r(f, fx);
    f.formShown = false;
    f.interactive = true;
    form::setItem(f.values.recipients[0].pauseInterval, 4, form::counts().pauseInterval);
    r.PauseInterval1Change(1);
    // Every recipient belongs to the dial group of its own number.
    for (int g = 0; g < RecipientCount; ++g)
        f.values.dialGroups[std::size_t(g)][std::size_t(g)] = true;
}

// The first show. The window used to reset its controls and read the factory preset again here;
// nothing has changed a setting since the construction read it, so the form is the same without.
void showFirst(Form &f, FormEffects &fx) {
    f.formShown = true;
    // The SMS-Blitz notification type exists only in the Russian interface.
    if (f.language != QLatin1String("Russian"))
        for (int k = 0; k < RecipientCount; ++k) {
            BlitzItem &item = f.view.recipients[std::size_t(k)].blitzItem;
            if (item == BlitzItem::Removed)
                continue;
            item = BlitzItem::Removed;
            int &type = f.values.recipients[std::size_t(k)].gsmType;
            if (type == GsmBlitzItem) // the list moves to its new last item
                type = GsmBlitzItem - 1;
        }
    fx.status = FormEffects::Status::FactorySettings;
    fx.defaultsRestored = true;
}

Form startForm(const QString &language) {
    Form f = builtForm();
    f.language = language;
    FormEffects fx;
    constructForm(f, fx);
    createForm(f, fx);
    showFirst(f, fx);
    return f;
}

void resetForm(Form &f, FormEffects &fx) { Rules(f, fx).ResetForm(); }

void chooseToolMode(Form &f, int mode, FormEffects &fx) {
    f.toolMode = mode;
    Rules(f, fx).WorkMode();
}

void adaptToModel(Form &f, core::DeviceModel model, FormEffects &fx) {
    Rules(f, fx).ModelAdaptation(model);
}

void restoreDefaults(Form &f, FormEffects &fx) { Rules(f, fx).DefaultButtonClick(); }

void readImage(Form &f, const ConfigImage &image, FormEffects &fx) {
    Rules(f, fx).DecodeImage(image);
}

void readImage(Form &f, core::DeviceModel model, const ConfigImage &image, FormEffects &fx) {
    Rules r(f, fx);
    if (model == core::DeviceModel::Q71)
        r.DecodeImageQ71(decodeQ71(image).settings);
    else
        r.DecodeImageQ72(decodeQ72(image));
}

void loadFile(Form &f, const ConfigImage &image, FormEffects &fx) {
    readImage(f, image, fx);
    if (f.model == core::DeviceModel::Q71)
        return;
    for (const FormRecipient &r : f.values.recipients)
        if (r.gsmType == GsmBlitzItem) {
            f.view.blitzTab = true;
            break;
        }
}

} // namespace q7x::image
