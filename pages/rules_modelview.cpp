// The model view: which controls, pages and buttons each tool mode and each connected model
// shows, as one table for the work-mode rule and the connect-time model adaptation.
#include "pages/buildutil.h"
#include "pages/formbase.h"
#include "pages/geometry.h"

namespace q7x::pages {

using build::S;

namespace {

enum class View { Keep, Show, Hide, ShowEnabled };

void apply(QWidget *w, View v) {
    if (v == View::Keep)
        return;
    w->setVisible(v != View::Hide);
    if (v == View::ShowEnabled)
        w->setEnabled(true);
}

void applyTab(TabSheet *s, View v) {
    if (v != View::Keep)
        s->setTabVisible(v == View::Show);
}

constexpr View K = View::Keep, S_ = View::Show, H = View::Hide, E = View::ShowEnabled;

// Columns in the order of ModelView: demo Q71, demo Q72, on-line, connected Q71, connected Q72.
struct Row {
    const char *names[3];
    View view[5];
};

// Set before the recipients, in this order.
constexpr Row Singles[] = {
    {{"Panel5"}, {H, S_, H, H, S_}},
    {{"Panel7"}, {S_, H, H, S_, H}},
    {{"SMSphone", "PinCode"}, {K, K, K, H, S_}},
    {{"Panel30", "Panel31", "Panel32"}, {S_, H, H, S_, H}},
    {{"Panel4", "Panel13", "Panel15"}, {H, S_, H, H, S_}},
    {{"Label51", "Label3"}, {H, S_, H, H, S_}},
    {{"Label219"}, {H, E, H, H, E}},
    {{"Label93"}, {S_, S_, H, S_, S_}},
    {{"Label268"}, {S_, H, K, S_, H}},
};
// Recipient families, recipient by recipient.
constexpr View LinePhone[5] = {S_, H, H, S_, H};
constexpr View PhoneNumber[5] = {H, S_, H, H, S_};
constexpr View TypeMesgGSM[5] = {H, S_, H, H, S_};
constexpr View TypeMesgLine[5] = {S_, H, H, S_, H};
// Set after the recipients.
constexpr Row Later[] = {
    {{"Panel33"}, {S_, H, K, S_, H}},
    {{"Panel34"}, {H, S_, H, H, S_}},
    {{"PanelAttention"}, {S_, H, H, S_, H}},
};
constexpr Row Tabs[] = {
    {{"TabSheet3"}, {H, S_, K, H, S_}},
    {{"TabSheet12"}, {S_, H, H, S_, H}},
    {{"TabSheet11"}, {K, H, H, K, K}},
    {{"TabSheet14"}, {K, S_, K, K, K}},
};

} // namespace

void FormBase::ApplyModelView(ModelView view) {
    const int col = int(view);
    const bool connected = view == ModelView::ConnectedQ71 || view == ModelView::ConnectedQ72;
    const Controls &c = m_controls;
    for (const Row &row : Singles)
        for (const char *name : row.names)
            if (name)
                apply(c.widget(S(name)), row.view[col]);
    if (connected) {
        QWidget *heading = c.widget(S("Label93"));
        heading->move(geometry::MessageTypeHeadingLeft, heading->y());
    }

    // Each member's message-type rule runs right after its visibility; the line rule runs here
    // only in the demonstration modes.
    for (int r = 1; r <= 8; ++r) {
        apply(c.widget(S("LinePhone"), r), LinePhone[col]);
        apply(c.widget(S("PhoneNumber"), r), PhoneNumber[col]);
        ComboBox *gsm = c.combo(S("TypeMesgGSM"), r);
        apply(gsm, TypeMesgGSM[col]);
        if (view != ModelView::Online)
            ConnectTimeConfrmEnabl(gsm);
        ComboBox *line = c.combo(S("TypeMesgLine"), r);
        apply(line, TypeMesgLine[col]);
        if (view == ModelView::DemoQ71 || view == ModelView::DemoQ72)
            TypeMesgLineChange(line);
        ComboBox *sms = c.combo(S("SMS"), r);
        switch (view) {
        case ModelView::DemoQ71:
            sms->setItemIndex(1);
            sms->setEnabled(false);
            break;
        case ModelView::DemoQ72:
            sms->setEnabled(true);
            sms->show();
            break;
        case ModelView::ConnectedQ72:
            sms->show();
            break;
        case ModelView::Online:
        case ModelView::ConnectedQ71:
            sms->setItemIndex(1);
            sms->hide();
            break;
        }
    }

    for (const Row &row : Later)
        apply(c.widget(S(row.names[0])), row.view[col]);
    for (const Row &row : Tabs)
        applyTab(c.get<TabSheet>(S(row.names[0])), row.view[col]);

    for (QWidget *b : {SaveButton, LoadButton, DefaultButton})
        b->setEnabled(view != ModelView::Online);
    if (connected)
        RunModemButton->setEnabled(view == ModelView::ConnectedQ72);
    else
        ConnectButton->setEnabled(view == ModelView::Online);
}

} // namespace q7x::pages
