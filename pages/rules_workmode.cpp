// Tool mode (demonstration of either model, or on-line), the communicator's work mode and the
// choice of the SMS-name language.
#include "image/pagerules.h"
#include "pages/buildutil.h"
#include "pages/formbase.h"

#include <QPalette>
#include <QStringListModel>

namespace q7x::pages {

using build::S;

void FormBase::WorkMode(QWidget *) {
    const int mode = Mode->itemIndex();
    if (mode < 0 || mode > 2)
        return;
    if (mode == 0)
        DeviceModel = DeviceModel::Q71;
    else if (mode == 1)
        DeviceModel = DeviceModel::Q72;
    ApplyModelView(ModelView(mode));

    const bool demo = mode != 2;
    if (demo)
        DefaultButtonClick(DefaultButton);
    FillObjectNumbers();
    DefaultButtonClick(DefaultButton);
}

void FormBase::WorkModeCombo(QWidget *) {
    const Controls &c = m_controls;
    for (int p = 1; p <= 16; ++p)
        c.combo(S("RzdNmb"), p)->setItemIndex(p - 1);
    setStatusText(QString());

    const int mode = WorkModeComboBox->itemIndex();
    if (mode >= 0 && mode < 6) {
        const int n = image::partitionsInUse(mode);
        const bool q72 = DeviceModel == DeviceModel::Q72;
        const bool byEvent = ReleControl1->itemIndex() == 1;
        for (int p = 1; p <= 16; ++p) {
            const bool used = p <= n;
            ComboBox *obj = c.combo(S("ObjNmb"), p);
            if (!used)
                obj->setItemIndex(q72 ? 0 : 1);
            else if (q72)
                obj->setItemIndex(1);
            for (int r = 1; r <= 8; ++r) {
                CheckBox *b = c.check(S("rzd"), r, p);
                b->setEnabled(used);
                if (!used)
                    b->setChecked(false);
            }
            for (const char *f : {"RzdNmb", "ObjNmb", "NameRzdP", "NameRzd", "NameRzdE"})
                c.widget(S(f), p)->setEnabled(used);
            CheckBox *iz = c.check(S("iz1"), p);
            if (!used) {
                iz->setEnabled(false);
                iz->setChecked(false);
            } else if (byEvent) {
                iz->setEnabled(true);
            }
        }

        // SMS-Blitz rows: the stand-alone and two-partition modes report fewer events.
        const bool restricted = mode == 0 || mode == 3;
        auto setRow = [&](int k, bool on) {
            Edit *e = c.edit(S("Edit"), k);
            e->setEnabled(on);
            QPalette pal = e->palette();
            pal.setColor(QPalette::Base, on ? QPalette().color(QPalette::Base)
                                            : QPalette().color(QPalette::Button));
            e->setPalette(pal);
            c.check(S("RO"), k)->setEnabled(on);
        };
        for (int k = 1; k <= 24; ++k) {
            if (!restricted)
                setRow(k, true);
            else if (k == 1 || k == 2 || k == 9 || (k >= 12 && k <= 15))
                setRow(k, true);
            else if (k != 16)
                setRow(k, false);
        }

        // Event types per recipient: E enabled, D disabled and unticked.
        static const char table[12][4] = {"EEE", "DED", "EEE", "EEE", "DEE", "DED",
                                          "DED", "DED", "DEE", "DEE", "EEE", "EEE"};
        const int column = mode == 0 ? 0 : mode == 1 ? 1 : 2;
        if (mode == 0 && byEvent) {
            c.check(S("NoLine1"))->setEnabled(true);
            c.check(S("PowerCD1"))->setEnabled(true);
        }
        for (int t = 1; t <= 12; ++t) {
            const bool on = table[t - 1][column] == 'E';
            for (int r = 1; r <= 8; ++r) {
                CheckBox *b = c.check(S("event"), r, t);
                b->setEnabled(on);
                if (!on)
                    b->setChecked(false);
            }
        }

        // Inputs and the control line.
        const bool alone = mode == 0;
        c.widget(S("ControlInput"))->setVisible(alone);
        c.widget(S("Label52"))->setVisible(alone);
        c.widget(S("CheckConnectCD"))->setVisible(!alone);
        c.widget(S("Label53"))->setVisible(!alone);
        for (const char *w : {"Input1", "Input2", "Label7", "Label50"})
            c.widget(S(w))->setEnabled(alone);
        c.widget(S("SpeedLine"))->setEnabled(!alone);
        c.widget(S("Label40"))->setEnabled(!alone);
        for (int p = 1; p <= 16; ++p) {
            c.check(S("vz"), p)->setEnabled(alone);
            c.check(S("sn"), p)->setEnabled(alone);
        }
        for (int r = 1; r <= 8; ++r) {
            c.check(S("vz"), 20 + r)->setEnabled(alone);
            c.check(S("sn"), 20 + r)->setEnabled(alone);
        }

        // SMS-name captions: partitions with 16 partitions in use, loops otherwise.
        const bool partitions = mode == 1;
        const struct {
            const char *group, *suffix;
        } groups[] = {{"GroupBox15", "P"}, {"GroupBox8", "E"}, {"GroupBox4", ""}};
        for (const auto &g : groups) {
            if (c.widget(S(g.group))->isHidden())
                continue;
            const QString s = S(g.suffix);
            c.widget(S("LabelShS") + s)->setVisible(!partitions);
            c.widget(S("LabelRazdel") + s)->setVisible(partitions);
            c.widget(S("LabelNameRazdel") + s)->setVisible(partitions);
            c.widget(S("LabelNameShS") + s)->setVisible(!partitions);
        }
    }

    ObjNmbClick(c.combo(S("ObjNmb1")));
    if (ReleControl1->itemIndex() == 1)
        ReleWorkMode1Click(ReleWorkMode1);
}

void FormBase::LangChangeClick(QWidget *) {
    const int index = LangChange->itemIndex();
    const char *groups[3][2] = {
        {"GroupBox3", "GroupBox4"}, {"GroupBox6", "GroupBox8"}, {"GroupBox7", "GroupBox15"}};
    for (int f = 0; f < 3; ++f)
        for (const char *g : groups[f])
            m_controls.widget(S(g))->setVisible(f == index);
    WorkModeCombo(WorkModeComboBox);
}

// The object-number lists of partitions 1..9 reach 999 objects on the GSM model and 9999 on the
// telephone-line model; the other rows keep 999.
void FormBase::FillObjectNumbers() {
    QStringListModel *model = nullptr;
    if (DeviceModel == DeviceModel::Q72)
        model = m_objects999;
    else if (DeviceModel == DeviceModel::Q71)
        model = objectNumbers9999();
    else
        return;
    for (int p = 1; p <= 9; ++p) {
        ComboBox *obj = m_controls.combo(S("ObjNmb"), p);
        const int index = obj->itemIndex();
        obj->setSharedModel(model);
        obj->setItemIndex(index);
    }
    m_controls.label(S("Label102"))
        ->setCaption(DeviceModel == DeviceModel::Q72 ? S("(1-999)") : S("(1-9999)"));
}

// Pause synchronisation: all eight pause-interval lists show the same choice.
void FormBase::PauseInterval1Change(QWidget *sender) {
    const int tag = tagOf(sender);
    const int index = qobject_cast<ComboBox *>(sender)->itemIndex();
    for (int i = 1; i <= 8; ++i) {
        ComboBox *p = m_controls.combo(S("PauseInterval"), i);
        if (tagOf(p) != tag)
            p->setItemIndex(index);
    }
}

} // namespace q7x::pages
