// The relay page: command or event control, the seven working modes and the special timing.
#include "image/pagerules.h"
#include "pages/buildutil.h"
#include "pages/formbase.h"

namespace q7x::pages {

using build::S;

namespace {

const char *const PartitionBoxes[] = {"AlarmEvent1", "BoxDamage1", "OnOffLine1", "OnOffAllLine1",
                                      "ErrorFire1",  "NoConnect1", "ErrorPower1"};
const char *const EquipmentBoxes[] = {"RadioChanBlck1", "DamageCD1", "ErrorInterface1", "NoLine1",
                                      "PowerCD1"};

// Box states of the mode tables: on = ticked and disabled, off = unticked and disabled,
// free = enabled with the tick kept, clear = unticked and enabled, tick = ticked and enabled.
enum class Box : char { On = 'n', Off = 'o', Free = 'f', Clear = 'c', Tick = 't' };

void setBox(CheckBox *b, Box s) {
    switch (s) {
    case Box::On:
        b->setChecked(true);
        b->setEnabled(false);
        break;
    case Box::Off:
        b->setChecked(false);
        b->setEnabled(false);
        break;
    case Box::Free:
        b->setEnabled(true);
        break;
    case Box::Clear:
        b->setChecked(false);
        b->setEnabled(true);
        break;
    case Box::Tick:
        b->setChecked(true);
        b->setEnabled(true);
        break;
    }
}

} // namespace

void FormBase::ReleControl1Change(QWidget *sender) {
    const Controls &c = m_controls;
    QWidget *binding = c.widget(S("GroupBox13"));
    QWidget *events = c.widget(S("GroupBox14"));
    auto setCaptions = [&](bool on) {
        for (int p = 1; p <= 16; ++p)
            c.widget(S("Label49"), p)->setEnabled(on);
        for (int i = 0; i < 12; ++i)
            c.widget(S("Label50"), 10 + i)->setEnabled(on);
    };
    auto setRemoteRelay = [&](bool on) {
        for (const char *kind : {"start", "stop"}) {
            for (int k = 1; k <= 16; ++k) {
                CheckBox *b = c.check(S(kind), k);
                if (!on)
                    b->setChecked(false);
                b->setEnabled(on);
            }
            for (int r = 1; r <= 8; ++r) {
                CheckBox *b = c.check(S(kind), 20 + r);
                if (!on)
                    b->setChecked(false);
                b->setEnabled(on);
            }
        }
    };

    const int item = ReleControl1->itemIndex();
    if (item == 0) {
        binding->setEnabled(false);
        ReleWorkMode1->setItemIndex(6);
        for (const char *n : PartitionBoxes)
            setBox(c.check(S(n)), Box::Off);
        for (const char *n : EquipmentBoxes)
            setBox(c.check(S(n)), Box::Off);
        for (int p = 1; p <= 16; ++p)
            setBox(c.check(S("iz1"), p), Box::Off);
        ReleWorkMode1->setEnabled(false);
        events->setEnabled(false);
        setCaptions(false);
        if (sender == ReleControl1)
            warn(1542);
        setRemoteRelay(true);
    } else if (item == 1) {
        ReleWorkMode1->setItemIndex(0);
        const int n = image::partitionsInUse(WorkModeComboBox->itemIndex());
        const int used = WorkModeComboBox->itemIndex() < 0 ? 8 : n;
        for (int p = 1; p <= used; ++p)
            c.check(S("iz1"), p)->setEnabled(true);
        c.widget(S("GroupBox16"))->setEnabled(true);
        binding->setEnabled(true);
        ReleWorkMode1->setEnabled(true);
        events->setEnabled(true);
        setCaptions(true);
        if (sender == ReleControl1)
            warn(1543);
        setRemoteRelay(false);
    }
}

void FormBase::ReleWorkMode1Click(QWidget *) {
    const Controls &c = m_controls;
    const int mode = ReleWorkMode1->itemIndex();
    if (mode < 0 || mode > 6)
        return;
    const int work = WorkModeComboBox->itemIndex();
    const int workColumn = work == 0 ? 0 : work == 1 ? 1 : 2;

    // Partition-related boxes; '?' marks the boxes of the special mode set by the work mode.
    static const char partition[7][8] = {"nonnooo", "nonnooo", "nnnnooo", "noooooo",
                                         "noooooo", "oonoooo", "f?ff???"};
    for (int i = 0; i < 7; ++i) {
        char s = partition[mode][i];
        if (s == '?') {
            if (workColumn == 0)
                s = 'o';
            else if (workColumn == 1)
                s = 'f';
            else
                s = i == 4 ? 'f' : 'o'; // only ErrorFire1 stays free
        }
        setBox(c.check(S(PartitionBoxes[i])), static_cast<Box>(s));
    }

    // Equipment boxes by relay mode group and work mode.
    static const char equipment[3][3][6] = {
        {"ooocc", "ccccc", "occcc"}, // modes 0, 1, 3, 4, 6
        {"ooocc", "ctccc", "otccc"}, // mode 2
        {"ooooo", "ooooo", "ooooo"}, // mode 5
    };
    const int group = mode == 2 ? 1 : mode == 5 ? 2 : 0;
    for (int i = 0; i < 5; ++i)
        setBox(c.check(S(EquipmentBoxes[i])), static_cast<Box>(equipment[group][workColumn][i]));

    // Timing controls.
    ComboBox *open = c.combo(S("TimeRzmk1"));
    ComboBox *close = c.combo(S("TimeZmk1"));
    ComboBox *period = c.combo(S("TimePeriod1"));
    ComboBox *inverse = c.combo(S("InvRele1"));
    if (mode == 6) {
        open->setEnabled(true);
        close->setEnabled(true);
        period->setEnabled(false);
        inverse->setEnabled(true);
        SpecModeRele(ReleWorkMode1);
        return;
    }
    static const int timing[6][3] = {{7, 0, 0}, {1, 1, 15}, {7, 0, 0},
                                     {0, 7, 0}, {7, 0, 0},  {0, 4, 0}};
    open->setItemIndex(timing[mode][0]);
    close->setItemIndex(timing[mode][1]);
    period->setItemIndex(timing[mode][2]);
    inverse->setItemIndex(0);
    for (ComboBox *t : {open, close, period, inverse})
        t->setEnabled(false);
}

// A permanent opening excludes any closing and vice versa; the duration of a notification can be
// chosen only when both the opening and the closing are timed.
void FormBase::SpecModeRele(QWidget *) {
    ComboBox *open = m_controls.combo(S("TimeRzmk1"));
    ComboBox *close = m_controls.combo(S("TimeZmk1"));
    ComboBox *period = m_controls.combo(S("TimePeriod1"));
    int r = open->itemIndex(), z = close->itemIndex(), p = period->itemIndex();
    const image::RelayTiming timing = image::specialRelayTiming(r, z, p);
    open->setItemIndex(r);
    close->setItemIndex(z);
    period->setItemIndex(p);
    switch (timing) {
    case image::RelayTiming::HeldOpen:
        close->setEnabled(false);
        period->setEnabled(false);
        break;
    case image::RelayTiming::HeldClosed:
        open->setEnabled(false);
        period->setEnabled(false);
        break;
    case image::RelayTiming::Timed:
        period->setEnabled(true);
        break;
    case image::RelayTiming::OneSided:
        period->setEnabled(false);
        open->setEnabled(true);
        close->setEnabled(true);
        break;
    case image::RelayTiming::Other:
        period->setEnabled(false);
        break;
    }
}

} // namespace q7x::pages
