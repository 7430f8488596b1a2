#include "pages/formbinding.h"

#include "image/formcontrols.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "pages/buildutil.h"

#include <QStringListModel>

#include <algorithm>

namespace q7x::pages {

using build::S;

namespace {

// The texts of the image checks, by interface language. Any language name other than English or
// Turkish (also "Error" when none is stored) keeps the built-in Russian texts, as the window does.
struct CheckTexts {
    QString error, caption, warning;
};

CheckTexts checkTexts(const QString &language) {
    if (language == lang::LangEnglish)
        return {S("Error in the read data"), S("Attention!"),
                S("Error in the read settings! Default settings will be restored!")};
    if (language == lang::LangTurkish)
        return {S("Ariza okunan verilerde"), S("Dikkat!"),
                S("Ariza okunan ayarlarda! Fabrika ayarlar restor edilecek!")};
    return {S("Ошибка в прочитанных данных"), S("Внимание!"),
            S("Были обнаружены ошибки в прочитанных настройках! Будут выставлены заводские "
              "настройки!")};
}

image::Shown shownOf(const QWidget *w) {
    return {!w->isHidden(), !w->testAttribute(Qt::WA_ForceDisabled)};
}

// The inner pages whose tabs the rules show or hide.
const struct {
    const char *sheet;
    bool image::FormView::*member;
} TabsShown[] = {{"TabSheet3", &image::FormView::namesTab},
                 {"TabSheet12", &image::FormView::dialGroupsTab},
                 {"TabSheet11", &image::FormView::digitalTab},
                 {"TabSheet14", &image::FormView::blitzTab}};

// A GSM list that lost its SMS-Blitz item and got it back for an image that uses it carries
// this property.
const char *const BlitzItemAdded = "q7xBlitzItemAdded";

} // namespace

QString maskSettingOf(const QString &maskText) {
    if (std::none_of(maskText.begin(), maskText.end(), [](QChar c) { return c.isDigit(); }))
        return QString();
    // The mask's blanks after the last digit are not part of the number.
    QString text = maskText;
    while (text.endsWith(QLatin1Char('_')))
        text.chop(1);
    return text;
}

void readValue(const image::ValueControl &vc, const QWidget *widget, image::FormSettings &values) {
    switch (vc.kind) {
    case image::ValueControl::Kind::Item:
        if (auto *list = qobject_cast<const ComboBox *>(widget))
            vc.item(values) = list->itemIndex();
        else if (auto *group = qobject_cast<const RadioGroup *>(widget))
            vc.item(values) = group->itemIndex();
        break;
    case image::ValueControl::Kind::Tick:
        vc.tick(values) = qobject_cast<const CheckBox *>(widget)->isChecked();
        break;
    case image::ValueControl::Kind::Text:
        if (auto *mask = qobject_cast<const MaskEdit *>(widget))
            vc.text(values) = maskSettingOf(mask->text());
        else if (auto *labeled = qobject_cast<const LabeledEdit *>(widget))
            vc.text(values) = labeled->text();
        else
            vc.text(values) = qobject_cast<const Edit *>(widget)->text();
        break;
    }
}

namespace {

// The control of that name when its page is built (and lies within `within`, when given).
QWidget *builtControl(const FormBase &w, const QString &name, const QWidget *within) {
    QWidget *widget = w.controls().existing(name);
    return widget && (!within || within->isAncestorOf(widget)) ? widget : nullptr;
}

} // namespace

void readControls(const FormBase &w, image::Form &f, const QWidget *within) {
    for (const image::ValueControl &vc : image::valueControls())
        if (QWidget *widget = builtControl(w, vc.name, within))
            readValue(vc, widget, f.values);
    readView(w, f.view, within);
}

void readView(const FormBase &w, image::FormView &v, const QWidget *within) {
    auto control = [&](const QString &name) { return builtControl(w, name, within); };
    for (const image::ViewControl &vc : image::viewControls())
        if (QWidget *widget = control(vc.name))
            vc.shown(v) = shownOf(widget);
    for (const auto &t : TabsShown)
        if (auto *sheet = qobject_cast<TabSheet *>(control(S(t.sheet))))
            v.*t.member = sheet->tabVisible();
    for (int k = 1; k <= image::PartitionCount; ++k)
        if (auto *label = qobject_cast<Label *>(control(Controls::name(S("LabelOb"), k))))
            v.objectRows[std::size_t(k - 1)].object = label->caption();
    if (auto *objects = qobject_cast<ComboBox *>(control(S("ObjNmb1"))))
        v.objectListLast = objects->count() - 1;
    for (int r = 1; r <= image::RecipientCount; ++r)
        if (auto *gsm = qobject_cast<ComboBox *>(control(Controls::name(S("TypeMesgGSM"), r))))
            v.recipients[std::size_t(r - 1)].blitzItem =
                gsm->count() < image::GsmItemCount       ? image::BlitzItem::Removed
                : gsm->property(BlitzItemAdded).toBool() ? image::BlitzItem::AddedBack
                                                         : image::BlitzItem::Built;
}

namespace {

// The caret after a rule filtered what the user typed: it keeps its place among the characters
// that stayed. Any other change leaves it at the end, as a new text does.
int caretAfter(const QString &typed, const QString &shown, int caret) {
    int kept = 0, at = 0;
    for (int i = 0; i < typed.size() && kept < shown.size(); ++i) {
        if (typed[i] == shown[kept]) {
            ++kept;
            if (i < caret)
                at = kept;
        }
    }
    return kept == shown.size() ? at : int(shown.size());
}

// A field whose change rule filtered what the user typed keeps the caret among the characters
// that stayed; any other new text puts it at the end.
void showText(QWidget *widget, const QString &text, bool keepCaret) {
    if (auto *mask = qobject_cast<MaskEdit *>(widget)) {
        // "_" is the mask's own blank character, so blank positions stay where they are.
        mask->QLineEdit::setText(text);
        return;
    }
    Edit *edit = qobject_cast<Edit *>(widget);
    if (auto *labeled = qobject_cast<LabeledEdit *>(widget))
        edit = labeled->edit();
    if (edit) {
        const QString typed = edit->text();
        const int caret = caretAfter(typed, text, edit->cursorPosition());
        edit->setText(text);
        if (keepCaret)
            edit->setCursorPosition(caret);
    }
}

} // namespace

void showForm(FormBase &w, const image::Form &a, const image::Form &b, const QString &typed) {
    const Controls &c = w.controls();
    // Only the pages built so far are shown on; the model holds the others.
    auto control = [&c](const QString &name) { return c.existing(name); };
    image::Form before = a, after = b;
    const image::FormView &v = after.view;

    // The items the lists offer, before any list takes an item.
    if (before.view.objectListLast != v.objectListLast) {
        QStringListModel *model =
            v.objectListLast >= 9999 ? w.objectNumbers9999() : w.objectNumbers999();
        for (int p = 1; p <= 9; ++p)
            if (auto *list = qobject_cast<ComboBox *>(control(Controls::name(S("ObjNmb"), p))))
                list->setSharedModel(model);
        if (auto *range = qobject_cast<Label *>(control(S("Label102"))))
            range->setCaption(v.objectListLast >= 9999 ? S("(1-9999)") : S("(1-999)"));
    }
    for (int r = 1; r <= image::RecipientCount; ++r) {
        const image::BlitzItem was = before.view.recipients[std::size_t(r - 1)].blitzItem;
        const image::BlitzItem now = v.recipients[std::size_t(r - 1)].blitzItem;
        if (was == now)
            continue;
        auto *gsm = qobject_cast<ComboBox *>(control(Controls::name(S("TypeMesgGSM"), r)));
        if (!gsm)
            continue;
        const QSignalBlocker block(gsm);
        if (now == image::BlitzItem::Removed && gsm->count() == image::GsmItemCount)
            gsm->removeItem(image::GsmBlitzItem);
        else if (now == image::BlitzItem::AddedBack && was == image::BlitzItem::Built &&
                 gsm->count() == image::GsmItemCount)
            // A list built after its item was taken out and put back: the item put back is the
            // Russian one, as the list was built.
            gsm->removeItem(image::GsmBlitzItem);
        if (now != image::BlitzItem::Removed && gsm->count() == image::GsmBlitzItem)
            gsm->addItem(S("SMS-Блиц"));
        gsm->setProperty(BlitzItemAdded, now == image::BlitzItem::AddedBack);
    }

    for (const image::ValueControl &vc : image::valueControls()) {
        switch (vc.kind) {
        case image::ValueControl::Kind::Item: {
            const int item = vc.item(after.values);
            if (item == vc.item(before.values))
                break;
            QWidget *widget = control(vc.name);
            if (auto *list = qobject_cast<ComboBox *>(widget))
                list->setItemIndex(item);
            else if (auto *group = qobject_cast<RadioGroup *>(widget))
                group->setItemIndex(item);
            break;
        }
        case image::ValueControl::Kind::Tick:
            if (vc.tick(after.values) != vc.tick(before.values))
                if (auto *box = qobject_cast<CheckBox *>(control(vc.name)))
                    box->setChecked(vc.tick(after.values));
            break;
        case image::ValueControl::Kind::Text:
            if (vc.text(after.values) != vc.text(before.values))
                if (QWidget *widget = control(vc.name))
                    showText(widget, vc.text(after.values), vc.name == typed);
            break;
        }
    }
    for (const image::ViewControl &vc : image::viewControls()) {
        const image::Shown now = vc.shown(after.view);
        const image::Shown was = vc.shown(before.view);
        if (now == was)
            continue;
        QWidget *widget = control(vc.name);
        if (!widget)
            continue;
        if (now.visible != was.visible)
            widget->setVisible(now.visible);
        if (now.enabled != was.enabled)
            widget->setEnabled(now.enabled);
    }
    // An SMS-Blitz code field that cannot be edited takes the colour of a button face.
    for (int k = 1; k <= image::BlitzCount; ++k) {
        const bool on = v.blitzCodes[std::size_t(k - 1)].enabled;
        if (on == before.view.blitzCodes[std::size_t(k - 1)].enabled)
            continue;
        auto *e = qobject_cast<Edit *>(control(Controls::name(S("Edit"), k)));
        if (!e)
            continue;
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base,
                     on ? QPalette().color(QPalette::Base) : QPalette().color(QPalette::Button));
        e->setPalette(pal);
    }
    for (const auto &t : TabsShown)
        if (after.view.*t.member != before.view.*t.member)
            if (auto *sheet = qobject_cast<TabSheet *>(control(S(t.sheet))))
                sheet->setTabVisible(after.view.*t.member);
    for (int k = 1; k <= image::PartitionCount; ++k)
        if (v.objectRows[std::size_t(k - 1)].object !=
            before.view.objectRows[std::size_t(k - 1)].object)
            if (auto *label = qobject_cast<Label *>(control(Controls::name(S("LabelOb"), k))))
                label->setCaption(v.objectRows[std::size_t(k - 1)].object);

    w.DeviceModel = after.model;
    if (after.toolMode != before.toolMode)
        w.Mode->setItemIndex(after.toolMode);
    w.FormShown = after.formShown;
    w.Interactive = after.interactive;
}

void listImage(Memo *memo, const image::ConfigImage &img) {
    QStringList lines;
    lines.reserve(300);
    for (int i = 0; i < 300; ++i)
        lines << QString::number(img[std::size_t(i)]);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
}

QString noticeText(const FormBase &w, const image::FormNotice &n) {
    switch (n.kind) {
    case image::FormNotice::Kind::Message:
        return lang::M(n.number);
    case image::FormNotice::Kind::FieldError: {
        QStringList captions;
        for (const QString &label : n.labels)
            captions << w.controls().label(label)->caption();
        return checkTexts(w.SelectLang->text()).error + S(": ") + captions.join(S(", "));
    }
    case image::FormNotice::Kind::DamagedImage:
        return checkTexts(w.SelectLang->text()).warning;
    case image::FormNotice::Kind::Focus:
    case image::FormNotice::Kind::State:
        break;
    }
    return {};
}

QString noticeCaption(const FormBase &w, const image::FormNotice &n) {
    return n.kind == image::FormNotice::Kind::Message ? QString()
                                                      : checkTexts(w.SelectLang->text()).caption;
}

} // namespace q7x::pages
