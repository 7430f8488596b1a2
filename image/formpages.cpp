// The page rules over the form: work modes, relay, objects and remote control, recipients and
// SMS names. Each keeps the order in which the window has always set its controls, because later
// steps read what earlier ones left.
#include "image/formrules_p.h"
#include "image/itemlists.h"
#include "image/pagerules.h"

namespace q7x::image::form {

namespace {

bool &command(Commands &c, int kind) {
    switch (kind) {
    case 0:
        return c.arm;
    case 1:
        return c.disarm;
    case 2:
        return c.status;
    case 3:
        return c.relayOn;
    default:
        return c.relayOff;
    }
}

Shown &commandView(FormView::ObjectRowView &row, int kind) {
    switch (kind) {
    case 0:
        return row.arm;
    case 1:
        return row.disarm;
    case 2:
        return row.status;
    case 3:
        return row.relayOn;
    default:
        return row.relayOff;
    }
}

bool isDigitChar(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

template <class Allowed> QString keepOnly(const QString &text, Allowed allowed) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (allowed(c))
            out += c;
    return out;
}

QString digitsOnly(const QString &s) { return keepOnly(s, isDigitChar); }

bool oneOf(int v, std::initializer_list<int> set) {
    for (int x : set)
        if (v == x)
            return true;
    return false;
}

// The views of the model-specific controls: tool modes in the order of the Mode list, then a
// connected device of either model.
enum ModelView { DemoQ71, DemoQ72, Online, ConnectedQ71, ConnectedQ72 };
enum class V : char { Keep, Show, Hide, ShowEnabled };
void apply(Shown &w, V view) {
    if (view == V::Keep)
        return;
    w.visible = view != V::Hide;
    if (view == V::ShowEnabled)
        w.enabled = true;
}
void applyTab(bool &tab, V view) {
    if (view != V::Keep)
        tab = view == V::Show;
}
constexpr V K = V::Keep, Sh = V::Show, H = V::Hide, E = V::ShowEnabled;

} // namespace

const Counts &counts() {
    static const Counts c = [] {
        Counts n{};
        n.workMode = int(items::workMode().size());
        n.input = int(items::input().size());
        n.eventsArchive = int(items::eventsArchive().size());
        n.controlInput = int(items::controlInput().size());
        n.checkConnect = int(items::checkConnectCD().size());
        n.nextDial = int(items::nextDial().size());
        n.phrasePause = int(items::phrasePause().size());
        n.speedLine = int(items::speedLine().size());
        n.gsmLost = int(items::gsmLost().size());
        n.zoneNumber = int(items::yesNoCapital().size());
        n.simCount = int(items::simCount().size());
        n.dialMode = int(items::dialMode().size());
        n.pickUpDelay = int(items::pickUpDelay().size());
        n.lostLine = int(items::lostLine().size());
        n.pauseDial = int(items::pauseDial().size());
        n.partitionNumbers = int(items::partitionNumbers().size());
        n.partitionNames = int(items::partitionNamesRu().size());
        n.urgency = int(items::urgency().size());
        n.lineTypes = int(items::typeMesgLine().size());
        n.yesNo = int(items::yesNo().size());
        n.dialTry = int(items::dialTry().size());
        n.waitTime = int(items::waitTime().size());
        n.pauseInterval = int(items::pauseInterval().size());
        n.period = int(items::period().size());
        n.testLine = int(items::testLine().size());
        n.delay = int(items::delay().size());
        n.toneSymbols = int(items::toneSymbols().size());
        n.tonePause = int(items::tonePause().size());
        n.releControl = int(items::releControl().size());
        n.releWorkMode = int(items::releWorkMode().size());
        n.timeOpenClose = int(items::timeOpenClose().size());
        n.timePeriod = int(items::timePeriod().size());
        n.invRele = int(items::invRele().size());
        return n;
    }();
    return c;
}

int visibleFamily(const FormView &v) {
    if (v.nameFamilies[1].names.visible)
        return 1;
    if (v.nameFamilies[2].names.visible)
        return 2;
    return 0;
}

void Rules::warn(int number) {
    if (f.interactive)
        fx.notices.append({FormNotice::Kind::Message, number, {}, {}, {}});
}

int Rules::objectCount(int p) const { return p <= 9 ? v.objectListLast + 1 : 1000; }

int Rules::gsmCount(int r) const {
    return v.recipients[std::size_t(r - 1)].blitzItem == BlitzItem::Removed ? GsmItemCount - 1
                                                                            : GsmItemCount;
}

// ---- Fields and boxes whose setting runs their rule ------------------------------------------

void Rules::setCommand(int r, int kind, bool on) {
    bool &box = command(s.recipients[std::size_t(r - 1)].commands, kind);
    if (box == on)
        return;
    box = on;
    if (kind >= 2) // st2r, start2r, stop2r copy themselves to the object rows
        CommandRepeat(r, kind);
}

void Rules::setLangChange(int index) {
    if (index < -1 || index >= NameFamilyCount || index == s.nameLanguage)
        return;
    s.nameLanguage = index;
    LangChangeClick();
}

void Rules::setReleWorkMode(int index) {
    if (index < -1 || index >= counts().releWorkMode || index == s.relayMode)
        return;
    s.relayMode = index;
    ReleWorkMode1Click();
}

void Rules::setPasswordText(int row, const QString &text) {
    QString &field = row > 20 ? s.recipients[std::size_t(row - 21)].password
                              : s.objectRows[std::size_t(row - 1)].password;
    if (field == text)
        return;
    field = text;
    PasswordChange(row);
}

void Rules::setLinePhone(int r, const QString &text) {
    QString &field = s.recipients[std::size_t(r - 1)].linePhone;
    const QString upper = text.toUpper();
    if (field == upper)
        return;
    field = upper;
    LinePhoneChange(r);
}

void Rules::setBalance(const QString &text) {
    if (s.balanceRequest == text)
        return;
    s.balanceRequest = text;
    RequestBalanceChange();
}

void Rules::setBlitzCode(int k, const QString &text) {
    QString &field = s.blitzCodes[std::size_t(k - 1)];
    if (field == text)
        return;
    field = text;
    Edit1Change(k);
}

void Rules::setOwnName(int family, int n, const QString &text) {
    QString &field = s.ownNames[std::size_t(family)][std::size_t(n - 1)];
    if (field == text)
        return;
    field = text;
    if (family != 0) // the Latin families keep ASCII characters only
        OwnNameChange(family, n);
}

// ---- Work modes --------------------------------------------------------------------------------

void Rules::WorkMode() {
    const int mode = f.toolMode;
    if (mode < 0 || mode > 2)
        return;
    if (mode == 0)
        f.model = core::DeviceModel::Q71;
    else if (mode == 1)
        f.model = core::DeviceModel::Q72;
    ApplyModelView(mode);
    if (mode != 2)
        DefaultButtonClick();
    FillObjectNumbers();
    DefaultButtonClick();
}

void Rules::ApplyModelView(int view) {
    const bool connected = view == ConnectedQ71 || view == ConnectedQ72;
    // Columns: demo Q71, demo Q72, on-line, connected Q71, connected Q72.
    const struct {
        std::initializer_list<Shown *> controls;
        V view[5];
    } singles[] = {
        {{&v.panel5}, {H, Sh, H, H, Sh}},
        {{&v.panel7}, {Sh, H, H, Sh, H}},
        {{&v.smsCentre, &v.pin}, {K, K, K, H, Sh}},
        {{&v.panel30, &v.panel31, &v.panel32}, {Sh, H, H, Sh, H}},
        {{&v.panel4, &v.panel13, &v.panel15}, {H, Sh, H, H, Sh}},
        {{&v.label51, &v.label3}, {H, Sh, H, H, Sh}},
        {{&v.label219}, {H, E, H, H, E}},
        {{&v.label93}, {Sh, Sh, H, Sh, Sh}},
        {{&v.label268}, {Sh, H, K, Sh, H}},
    };
    for (const auto &row : singles)
        for (Shown *w : row.controls)
            apply(*w, row.view[view]);
    if (connected)
        v.messageTypeHeadingMoved = fx.headingMoved = true;

    static constexpr V linePhone[5] = {Sh, H, H, Sh, H};
    static constexpr V phone[5] = {H, Sh, H, H, Sh};
    static constexpr V gsmType[5] = {H, Sh, H, H, Sh};
    static constexpr V lineType[5] = {Sh, H, H, Sh, H};
    for (int r = 1; r <= RecipientCount; ++r) {
        FormView::Recipient &rv = v.recipients[std::size_t(r - 1)];
        apply(rv.linePhone, linePhone[view]);
        apply(rv.phone, phone[view]);
        apply(rv.gsmType, gsmType[view]);
        if (view != Online)
            ConnectTimeConfrmEnabl(r);
        apply(rv.lineType, lineType[view]);
        if (view == DemoQ71 || view == DemoQ72)
            TypeMesgLineChange(r);
        int &sms = s.recipients[std::size_t(r - 1)].sms;
        switch (view) {
        case DemoQ71:
            setItem(sms, 1, counts().yesNo);
            rv.sms.enabled = false;
            break;
        case DemoQ72:
            rv.sms.enabled = true;
            rv.sms.visible = true;
            break;
        case ConnectedQ72:
            rv.sms.visible = true;
            break;
        default:
            setItem(sms, 1, counts().yesNo);
            rv.sms.visible = false;
            break;
        }
    }

    static constexpr V panel33[5] = {Sh, H, K, Sh, H};
    static constexpr V panel34[5] = {H, Sh, H, H, Sh};
    static constexpr V attention[5] = {Sh, H, H, Sh, H};
    apply(v.panel33, panel33[view]);
    apply(v.panel34, panel34[view]);
    apply(v.panelAttention, attention[view]);
    static constexpr V namesTab[5] = {H, Sh, K, H, Sh};
    static constexpr V dialGroupsTab[5] = {Sh, H, H, Sh, H};
    static constexpr V digitalTab[5] = {K, H, H, K, K};
    static constexpr V blitzTab[5] = {K, Sh, K, K, K};
    applyTab(v.namesTab, namesTab[view]);
    applyTab(v.dialGroupsTab, dialGroupsTab[view]);
    applyTab(v.digitalTab, digitalTab[view]);
    applyTab(v.blitzTab, blitzTab[view]);

    fx.buttonsChanged = true;
    fx.fileButtons = view != Online;
    if (connected) {
        fx.runModemChanged = true;
        fx.runModemButton = view == ConnectedQ72;
    } else {
        fx.connectChanged = true;
        fx.connectButton = view == Online;
    }
}

void Rules::WorkModeCombo() {
    for (int p = 1; p <= PartitionCount; ++p)
        setItem(s.partitions[std::size_t(p - 1)].number, p - 1, counts().partitionNumbers);
    fx.status = FormEffects::Status::Clear;

    const int mode = s.workMode;
    if (mode >= 0 && mode < 6) {
        const int n = partitionsInUse(mode);
        const bool q72 = f.model == core::DeviceModel::Q72;
        const bool byEvent = s.relayControl == 1;
        for (int p = 1; p <= PartitionCount; ++p) {
            const std::size_t i = std::size_t(p - 1);
            const bool used = p <= n;
            FormPartition &part = s.partitions[i];
            FormView::Partition &pv = v.partitions[i];
            if (!used)
                setItem(part.object, q72 ? 0 : 1, objectCount(p));
            else if (q72)
                setItem(part.object, 1, objectCount(p));
            for (int r = 1; r <= RecipientCount; ++r) {
                v.recipients[std::size_t(r - 1)].partitions[i].enabled = used;
                if (!used)
                    s.recipients[std::size_t(r - 1)].partitions[i] = false;
            }
            pv.number.enabled = used;
            pv.object.enabled = used;
            for (Shown &name : pv.names)
                name.enabled = used;
            if (!used) {
                pv.relay.enabled = false;
                s.relayPartitions[i] = false;
            } else if (byEvent) {
                pv.relay.enabled = true;
            }
        }

        // SMS-Blitz rows: the stand-alone and two-partition modes report fewer events.
        const bool restricted = mode == 0 || mode == 3;
        for (int k = 1; k <= BlitzCount; ++k) {
            std::optional<bool> on;
            if (!restricted || k == 1 || k == 2 || k == 9 || (k >= 12 && k <= 15))
                on = true;
            else if (k != 16)
                on = false;
            if (on) {
                v.blitzCodes[std::size_t(k - 1)].enabled = *on;
                v.blitzVoice[std::size_t(k - 1)].enabled = *on;
            }
        }

        // Event types per recipient: E enabled, D disabled and unticked.
        static const char table[12][4] = {"EEE", "DED", "EEE", "EEE", "DEE", "DED",
                                          "DED", "DED", "DEE", "DEE", "EEE", "EEE"};
        const int column = mode == 0 ? 0 : mode == 1 ? 1 : 2;
        if (mode == 0 && byEvent) {
            v.lineFault.enabled = true;
            v.powerFault.enabled = true;
        }
        for (int t = 1; t <= EventTypeCount; ++t) {
            const bool on = table[t - 1][column] == 'E';
            for (int r = 1; r <= RecipientCount; ++r) {
                v.recipients[std::size_t(r - 1)].events[std::size_t(t - 1)].enabled = on;
                if (!on)
                    s.recipients[std::size_t(r - 1)].events[std::size_t(t - 1)] = false;
            }
        }

        // Inputs and the control line.
        const bool alone = mode == 0;
        v.controlInput.visible = alone;
        v.label52.visible = alone;
        v.checkConnect.visible = !alone;
        v.label53.visible = !alone;
        for (Shown *w : {&v.input1, &v.input2, &v.label7, &v.label50})
            w->enabled = alone;
        v.speedLine.enabled = !alone;
        v.label40.enabled = !alone;
        for (FormView::ObjectRowView &row : v.objectRows) {
            row.arm.enabled = alone;
            row.disarm.enabled = alone;
        }
        for (FormView::Recipient &rv : v.recipients) {
            rv.arm.enabled = alone;
            rv.disarm.enabled = alone;
        }

        // SMS-name captions: partitions with 16 partitions in use, loops otherwise. The
        // transliterated family first, then English, then Russian.
        const bool partitions = mode == 1;
        for (int family : {2, 1, 0}) {
            FormView::NameFamily &nf = v.nameFamilies[std::size_t(family)];
            if (!nf.names.visible)
                continue;
            nf.loopCaption.visible = !partitions;
            nf.partitionCaption.visible = partitions;
            nf.partitionNameCaption.visible = partitions;
            nf.loopNameCaption.visible = !partitions;
        }
    }

    ObjNmbClick({From::ObjNmb, 1});
    if (s.relayControl == 1)
        ReleWorkMode1Click();
}

void Rules::LangChangeClick() {
    const int index = s.nameLanguage;
    for (int family = 0; family < NameFamilyCount; ++family) {
        FormView::NameFamily &nf = v.nameFamilies[std::size_t(family)];
        nf.users.visible = family == index;
        nf.names.visible = family == index;
    }
    WorkModeCombo();
}

// The object lists of partitions 1..9 reach 999 objects on the GSM model and 9999 on the
// telephone-line model; the other rows keep 999.
void Rules::FillObjectNumbers() {
    if (f.model == core::DeviceModel::Q72)
        v.objectListLast = 999;
    else if (f.model == core::DeviceModel::Q71)
        v.objectListLast = 9999;
    else
        return;
    for (int p = 1; p <= 9; ++p) {
        int &object = s.partitions[std::size_t(p - 1)].object;
        if (object >= objectCount(p))
            object = NoItem;
    }
}

void Rules::PauseInterval1Change(int r) {
    const int index = s.recipients[std::size_t(r - 1)].pauseInterval;
    for (int i = 1; i <= RecipientCount; ++i)
        if (i != r)
            setItem(s.recipients[std::size_t(i - 1)].pauseInterval, index, counts().pauseInterval);
}

// ---- Relay
// ---------------------------------------------------------------------------------------

// Boxes 0..6 are the partition boxes, 7..11 the equipment boxes.
bool &Rules::relayBoxValue(int box) {
    bool *values[] = {&s.alarmEvent,   &s.boxDamage,      &s.onOffLine,  &s.onOffAllLine,
                      &s.errorFire,    &s.noConnect,      &s.errorPower, &s.radioChannelBlocked,
                      &s.deviceTamper, &s.interfaceFault, &s.lineFault,  &s.powerFault};
    return *values[box];
}

Shown &Rules::relayBoxView(int box) {
    Shown *views[] = {&v.alarmEvent,   &v.boxDamage,      &v.onOffLine,  &v.onOffAllLine,
                      &v.errorFire,    &v.noConnect,      &v.errorPower, &v.radioChannelBlocked,
                      &v.deviceTamper, &v.interfaceFault, &v.lineFault,  &v.powerFault};
    return *views[box];
}

// on = ticked and disabled, off = unticked and disabled, free = enabled with the tick kept,
// clear = unticked and enabled, tick = ticked and enabled.
void Rules::setRelayBox(int box, char state) {
    bool &value = relayBoxValue(box);
    Shown &view = relayBoxView(box);
    switch (state) {
    case 'n':
        value = true;
        view.enabled = false;
        break;
    case 'o':
        value = false;
        view.enabled = false;
        break;
    case 'f':
        view.enabled = true;
        break;
    case 'c':
        value = false;
        view.enabled = true;
        break;
    case 't':
        value = true;
        view.enabled = true;
        break;
    }
}

void Rules::ReleControl1Change(Sender sender) {
    auto setCaptions = [&](bool on) {
        for (Shown &c : v.relayPartitionCaptions)
            c.enabled = on;
        for (Shown &c : v.relayEventCaptions)
            c.enabled = on;
    };
    // The relay commands of the object rows, then those of the recipient rows.
    auto setRemoteRelay = [&](bool on) {
        for (int kind : {3, 4}) {
            for (int k = 1; k <= PartitionCount; ++k) {
                if (!on)
                    command(s.objectRows[std::size_t(k - 1)].commands, kind) = false;
                commandView(v.objectRows[std::size_t(k - 1)], kind).enabled = on;
            }
            for (int r = 1; r <= RecipientCount; ++r) {
                if (!on)
                    setCommand(r, kind, false);
                FormView::Recipient &rv = v.recipients[std::size_t(r - 1)];
                (kind == 3 ? rv.relayOn : rv.relayOff).enabled = on;
            }
        }
    };

    const bool fromList = sender.from == From::ReleControl1;
    if (s.relayControl == 0) {
        v.relayBinding.enabled = false;
        setReleWorkMode(6);
        for (int b = 0; b < 12; ++b)
            setRelayBox(b, 'o');
        for (int p = 1; p <= PartitionCount; ++p) {
            s.relayPartitions[std::size_t(p - 1)] = false;
            v.partitions[std::size_t(p - 1)].relay.enabled = false;
        }
        v.relayMode.enabled = false;
        v.relayEvents.enabled = false;
        setCaptions(false);
        if (fromList)
            warn(1542);
        setRemoteRelay(true);
    } else if (s.relayControl == 1) {
        setReleWorkMode(0);
        const int used = s.workMode < 0 ? 8 : partitionsInUse(s.workMode);
        for (int p = 1; p <= used; ++p)
            v.partitions[std::size_t(p - 1)].relay.enabled = true;
        v.relayExtra.enabled = true;
        v.relayBinding.enabled = true;
        v.relayMode.enabled = true;
        v.relayEvents.enabled = true;
        setCaptions(true);
        if (fromList)
            warn(1543);
        setRemoteRelay(false);
    }
}

void Rules::ReleWorkMode1Click() {
    const int mode = s.relayMode;
    if (mode < 0 || mode > 6)
        return;
    const int work = s.workMode;
    const int workColumn = work == 0 ? 0 : work == 1 ? 1 : 2;

    // Partition boxes; '?' marks the boxes of the special mode that the work mode decides.
    static const char partition[7][8] = {"nonnooo", "nonnooo", "nnnnooo", "noooooo",
                                         "noooooo", "oonoooo", "f?ff???"};
    for (int i = 0; i < 7; ++i) {
        char state = partition[mode][i];
        if (state == '?') {
            if (workColumn == 0)
                state = 'o';
            else if (workColumn == 1)
                state = 'f';
            else
                state = i == 4 ? 'f' : 'o'; // only the fault box stays free
        }
        setRelayBox(i, state);
    }

    // Equipment boxes by relay mode group and work mode.
    static const char equipment[3][3][6] = {
        {"ooocc", "ccccc", "occcc"}, // modes 0, 1, 3, 4, 6
        {"ooocc", "ctccc", "otccc"}, // mode 2
        {"ooooo", "ooooo", "ooooo"}, // mode 5
    };
    const int group = mode == 2 ? 1 : mode == 5 ? 2 : 0;
    for (int i = 0; i < 5; ++i)
        setRelayBox(7 + i, equipment[group][workColumn][i]);

    if (mode == 6) {
        v.timeRzmk.enabled = true;
        v.timeZmk.enabled = true;
        v.timePeriod.enabled = false;
        v.inverse.enabled = true;
        SpecModeRele();
        return;
    }
    static const int timing[6][3] = {{7, 0, 0}, {1, 1, 15}, {7, 0, 0},
                                     {0, 7, 0}, {7, 0, 0},  {0, 4, 0}};
    setItem(s.timeRzmk, timing[mode][0], counts().timeOpenClose);
    setItem(s.timeZmk, timing[mode][1], counts().timeOpenClose);
    setItem(s.timePeriod, timing[mode][2], counts().timePeriod);
    setItem(s.inverse, 0, counts().invRele);
    for (Shown *t : {&v.timeRzmk, &v.timeZmk, &v.timePeriod, &v.inverse})
        t->enabled = false;
}

void Rules::SpecModeRele() {
    int r = s.timeRzmk, z = s.timeZmk, p = s.timePeriod;
    const RelayTiming timing = specialRelayTiming(r, z, p);
    setItem(s.timeRzmk, r, counts().timeOpenClose);
    setItem(s.timeZmk, z, counts().timeOpenClose);
    setItem(s.timePeriod, p, counts().timePeriod);
    switch (timing) {
    case RelayTiming::HeldOpen:
        v.timeZmk.enabled = false;
        v.timePeriod.enabled = false;
        break;
    case RelayTiming::HeldClosed:
        v.timeRzmk.enabled = false;
        v.timePeriod.enabled = false;
        break;
    case RelayTiming::Timed:
        v.timePeriod.enabled = true;
        break;
    case RelayTiming::OneSided:
        v.timePeriod.enabled = false;
        v.timeRzmk.enabled = true;
        v.timeZmk.enabled = true;
        break;
    case RelayTiming::Other:
        v.timePeriod.enabled = false;
        break;
    }
}

// ---- Objects, partitions and remote control -------------------------------------------------

void Rules::ObjNmbClick(Sender sender) {
    int objects[PartitionCount + 1] = {};
    for (int q = 1; q <= PartitionCount; ++q) {
        const std::size_t i = std::size_t(q - 1);
        objects[q] = v.partitions[i].object.enabled ? qMax(s.partitions[i].object, 0) : 0;
    }
    for (int q = 1; q <= PartitionCount; ++q)
        for (int later = q + 1; later <= PartitionCount; ++later)
            if (objects[q] != 0 && objects[later] == objects[q])
                objects[later] = 0;
    QList<int> rows;
    for (int q = 1; q <= PartitionCount; ++q)
        if (objects[q] != 0)
            rows << objects[q];

    for (int k = 1; k <= PartitionCount; ++k) {
        const bool shown = k <= rows.size();
        FormView::ObjectRowView &row = v.objectRows[std::size_t(k - 1)];
        if (shown) {
            const int o = rows[k - 1];
            row.object = QString::number(o);
            const PasswordCells cells = o >= 1 && o <= ObjectTableRows
                                            ? s.objectPasswords[std::size_t(o - 1)]
                                            : PasswordCells{255, 255, 255};
            setPasswordText(k, passwordDigits({cells[0], cells[1], cells[2]}));
        }
        for (Shown *w : {&row.label, &row.word, &row.line, &row.password, &row.arm, &row.disarm,
                         &row.status, &row.relayOn, &row.relayOff})
            w->visible = shown;
        for (Shown &fixed : row.fixedCommands)
            fixed.visible = shown;
    }

    if (sender.index >= 1 && sender.index <= PartitionCount)
        RzdNmbChange({From::RzdNmb, sender.index});
}

void Rules::ObjNmbCl(Sender sender) {
    const int p = sender.index;
    if (p < 1 || p > PartitionCount)
        return;
    int &list = sender.from == From::GroupPageObject ? s.groupPageObjects[std::size_t(p - 9)]
                                                     : s.partitions[std::size_t(p - 1)].object;
    if (list > 0) {
        for (FormView::Recipient &rv : v.recipients)
            rv.partitions[std::size_t(p - 1)].enabled = true;
    } else if (f.model == core::DeviceModel::Q71) {
        setItem(list, 1, sender.from == From::GroupPageObject ? 1000 : objectCount(p));
    } else {
        for (int r = 1; r <= RecipientCount; ++r) {
            v.recipients[std::size_t(r - 1)].partitions[std::size_t(p - 1)].enabled = false;
            s.recipients[std::size_t(r - 1)].partitions[std::size_t(p - 1)] = false;
        }
    }
}

// Within one object every partition keeps its own number: a number taken by another partition
// of the same object gives way to the lowest free one.
void Rules::RzdNmbChange(Sender sender) {
    const int p = sender.index;
    if (p < 1 || p > PartitionCount)
        return;
    int &list = sender.from == From::GroupPageNumber ? s.groupPageNumbers[std::size_t(p - 9)]
                                                     : s.partitions[std::size_t(p - 1)].number;
    const int n = partitionsInUse(s.workMode);
    const int object = s.partitions[std::size_t(p - 1)].object;
    std::array<bool, PartitionCount> taken{};
    for (int q = 1; q <= n; ++q) {
        const std::size_t i = std::size_t(q - 1);
        const int index = s.partitions[i].number;
        if (q != p && v.partitions[i].number.enabled && s.partitions[i].object == object &&
            index >= 0 && index < PartitionCount)
            taken[std::size_t(index)] = true;
    }
    setItem(list, freePartitionNumber(list, taken), counts().partitionNumbers);
}

void Rules::DistanceControl(int p) {
    RzdNmbChange({From::RzdNmb, p});
    const int o = s.partitions[std::size_t(p - 1)].object;
    FormView::ObjectRowView &row = v.objectRows[std::size_t(p - 1)];
    if (o > 0) {
        row.object = QString::number(o);
        row.label.visible = true;
        row.word.visible = true;
        for (FormView::ObjectRowView &r : v.objectRows) {
            for (Shown *w : {&r.arm, &r.disarm, &r.status, &r.relayOn, &r.relayOff})
                w->visible = true;
            r.arm.enabled = true;
        }
        for (Shown &fixed : row.fixedCommands)
            fixed.visible = true;
        setPasswordText(p, QString());
        const PasswordCells cells = o <= ObjectTableRows ? s.objectPasswords[std::size_t(o - 1)]
                                                         : PasswordCells{255, 255, 255};
        if (cells[0] != 255)
            setPasswordText(p, passwordDigits({cells[0], cells[1], cells[2]}));
        row.password.visible = true;
    } else {
        for (Shown *w : {&row.label, &row.word, &row.arm, &row.disarm, &row.status, &row.relayOn,
                         &row.relayOff})
            w->visible = false;
        for (Shown &fixed : row.fixedCommands)
            fixed.visible = false;
    }
}

void Rules::PasswordChange(int row) {
    QString &text = row > 20 ? s.recipients[std::size_t(row - 21)].password
                             : s.objectRows[std::size_t(row - 1)].password;
    text = digitsOnly(text);
}

void Rules::PasswordExit(int row) {
    QString &text = s.recipients[std::size_t(row - 21)].password;
    if (text.isEmpty())
        return;
    const QString name = QStringLiteral("Password%1").arg(row);
    if (text.size() < 3) {
        fx.notices.append({FormNotice::Kind::Focus, 0, {}, name, {}});
        warn(1539);
    } else if (text.size() > 6) {
        warn(1540);
        setPasswordText(row, text.left(6));
        fx.notices.append({FormNotice::Kind::Focus, 0, {}, name, {}});
    }
}

void Rules::PasswordSave(int k) {
    QString text = s.objectRows[std::size_t(k - 1)].password;
    if (!text.isEmpty()) {
        if (text.size() < 3) {
            fx.notices.append(
                {FormNotice::Kind::Focus, 0, {}, QStringLiteral("Password%1").arg(k), {}});
            warn(1539);
        } else if (text.size() > 6) {
            warn(1540);
            text = text.left(6);
            setPasswordText(k, text);
        }
    }
    bool ok = false;
    const int object = v.objectRows[std::size_t(k - 1)].object.toInt(&ok);
    if (!ok || object < 1 || object > ObjectTableRows)
        return;
    // Cells the password does not reach are cleared, so no digit of an older password survives.
    s.objectPasswords[std::size_t(object - 1)] = passwordCells(digitsOnly(text));
}

// A recipient row's status or relay permission is copied to the object rows showing the same
// object label as the recipient's row.
void Rules::CommandRepeat(int r, int kind) {
    const bool on = command(s.recipients[std::size_t(r - 1)].commands, kind);
    const QString label = v.objectRows[std::size_t(r - 1)].object;
    for (int q = 1; q <= PartitionCount; ++q)
        if (v.objectRows[std::size_t(q - 1)].object == label)
            command(s.objectRows[std::size_t(q - 1)].commands, kind) = on;
}

// ---- Recipients
// ----------------------------------------------------------------------------------

void Rules::ConnectTimeConfrmEnabl(int n) {
    FormRecipient &rec = s.recipients[std::size_t(n - 1)];
    FormView::Recipient &rv = v.recipients[std::size_t(n - 1)];
    const int yesNo = counts().yesNo;
    if (!rv.gsmType.visible) {
        rv.dialTry.enabled = rv.waitTime.enabled = rv.confirm.enabled = true;
    } else {
        const int type = rec.gsmType;
        if (type == 0) {
            rv.dialTry.enabled = rv.waitTime.enabled = rv.confirm.enabled = false;
            setItem(rec.confirm, 1, yesNo);
        } else {
            rv.dialTry.enabled = rv.waitTime.enabled = rv.confirm.enabled = true;
            if (oneOf(type, {4, 5, 6})) {
                rv.confirm.enabled = false;
                setItem(rec.confirm, 1, yesNo);
            } else {
                rv.confirm.enabled = true;
            }
        }
        // Digital formats cannot travel over GSM: the nearest type is tone, then SMS.
        if (gsmTypeIsDigital(rec.gsmType)) {
            setItem(rec.gsmType, GsmToneThenSms, gsmCount(n));
            TypeMesgClick(n);
            setItem(rec.confirm, 1, yesNo);
            rv.confirm.enabled = false;
        }
        if (oneOf(rec.gsmType, {1, 2, 3}))
            setItem(rec.confirm, 0, yesNo);
    }
    // The SMS-Blitz page is shown while any recipient uses SMS-Blitz, not only the one that
    // changed last: a read runs this rule for all eight in turn.
    if (f.interactive) {
        bool blitz = false;
        for (const FormRecipient &r : s.recipients)
            blitz = blitz || r.gsmType == GsmBlitzItem;
        v.blitzTab = blitz && f.model == core::DeviceModel::Q72;
    }
    if (rec.gsmType == GsmBlitzItem) {
        setItem(rec.sms, 1, yesNo);
        rv.sms.enabled = false;
    } else {
        rv.sms.enabled = true;
    }
}

// All recipients send their SMS either before or after the other message, never mixed.
void Rules::TypeMesgClick(int n) {
    bool smsFirst = false, smsLast = false;
    for (int i = 1; i <= RecipientCount; ++i) {
        if (i == n)
            continue;
        const int t = s.recipients[std::size_t(i - 1)].gsmType;
        smsFirst = smsFirst || gsmSmsFirst(t);
        smsLast = smsLast || gsmSmsLast(t);
    }
    int &type = s.recipients[std::size_t(n - 1)].gsmType;
    setItem(type, orderedGsmType(type, smsFirst, smsLast), gsmCount(n));
}

void Rules::TypeMesgLineChange(int n) {
    FormView::Recipient &rv = v.recipients[std::size_t(n - 1)];
    if (!rv.lineType.visible)
        return;
    FormRecipient &rec = s.recipients[std::size_t(n - 1)];
    if (rec.lineType == 0) {
        rv.confirm.enabled = true;
        setItem(rec.confirm, 0, counts().yesNo);
    } else {
        rv.confirm.enabled = false;
        setItem(rec.confirm, 1, counts().yesNo);
    }
    bool digital = rec.lineType == 2;
    for (const FormRecipient &r : s.recipients)
        digital = digital || r.lineType == 2;
    v.digitalTab = f.model == core::DeviceModel::Q71 && digital;
}

void Rules::LinePhoneChange(int r) {
    QString &text = s.recipients[std::size_t(r - 1)].linePhone;
    text = keepOnly(text,
                    [](QChar c) { return isDigitChar(c) || QStringLiteral("BWTP").contains(c); });
}

void Rules::LinePhone1Click(int r) {
    if (s.recipients[std::size_t(r - 1)].linePhone.isEmpty())
        setLinePhone(r, QStringLiteral("WB"));
}

void Rules::LinePhoneExit(int r) {
    const QString text = s.recipients[std::size_t(r - 1)].linePhone;
    if (text.size() > 24) {
        warn(1544);
        setLinePhone(r, text.left(24));
    }
}

void Rules::RequestBalanceChange() {
    s.balanceRequest = keepOnly(s.balanceRequest, [](QChar c) {
        return isDigitChar(c) || c == QLatin1Char('*') || c == QLatin1Char('#');
    });
}

void Rules::RequestBalanceExit() {
    if (s.balanceRequest.size() > 16) {
        warn(1545);
        setBalance(s.balanceRequest.left(16));
    }
}

// A digital-format code has exactly three characters (Dig13: four): a short one keeps the focus,
// a long one is cut.
void Rules::DigExit(int k) {
    QString &text = s.digitalCodes[std::size_t(k - 1)];
    const int length = k == 13 ? 4 : 3;
    if (text.isEmpty())
        return;
    const QString name = QStringLiteral("Dig%1").arg(k);
    if (text.size() < length) {
        fx.notices.append({FormNotice::Kind::Focus, 0, {}, name, {}});
        warn(k == 13 ? 1550 : 1548);
    } else if (text.size() > length) {
        warn(k == 13 ? 1551 : 1549);
        text = text.left(length);
        fx.notices.append({FormNotice::Kind::Focus, 0, {}, name, {}});
    }
}

void Rules::Edit1Change(int k) {
    if (!v.blitzCodes[std::size_t(k - 1)].enabled)
        return;
    QString &text = s.blitzCodes[std::size_t(k - 1)];
    text = keepOnly(text, [](QChar c) { return isDigitChar(c) || c == QLatin1Char(' '); });
}

void Rules::Edit1Exit(int k, bool correct) {
    const QString text = s.blitzCodes[std::size_t(k - 1)];
    if (text.isEmpty() || text.size() == 4 || !f.interactive)
        return;
    if (correct)
        fx.notices.append({FormNotice::Kind::Focus, 0, {}, QStringLiteral("Edit%1").arg(k), {}});
    else
        setBlitzCode(k, text.rightJustified(4, QLatin1Char('0')));
}

// ---- SMS names --------------------------------------------------------------------------------

// A user-name field is shown while some partition of the visible family uses that name.
void Rules::ChangeOwnName(Sender sender) {
    int visible = -1;
    for (int family = 0; family < NameFamilyCount; ++family)
        if (v.nameFamilies[std::size_t(family)].names.visible) {
            visible = family;
            break;
        }
    const int changed =
        sender.from == From::NameList
            ? s.partitions[std::size_t(sender.index - 1)].names[std::size_t(sender.family)]
            : NoItem;
    for (int k = 1; k <= OwnNameFields; ++k) {
        bool used = sender.from == From::NameList && changed == 34 + k;
        if (!used && visible >= 0)
            for (int p = 1; p <= PartitionCount && !used; ++p)
                used = s.partitions[std::size_t(p - 1)].names[std::size_t(visible)] == 34 + k;
        if (visible >= 0)
            v.nameFamilies[std::size_t(visible)].ownNames[std::size_t(k - 1)].visible = used;
    }
}

void Rules::OwnNameChange(int family, int n) {
    QString &text = s.ownNames[std::size_t(family)][std::size_t(n - 1)];
    text = keepOnly(text, isLatinNameCharacter);
}

void Rules::OwnNameLengnh(int family, int n) {
    const QString text = s.ownNames[std::size_t(family)][std::size_t(n - 1)];
    if (text.size() <= 12)
        return;
    warn(1538);
    setOwnName(family, n, text.left(12));
}

} // namespace q7x::image::form
