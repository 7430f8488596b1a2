// Partition and user names used in SMS texts, in Russian, English or transliterated Russian.
#include "image/pagerules.h"
#include "pages/buildutil.h"
#include "pages/formbase.h"
#include "pages/textfilter.h"

namespace q7x::pages {

using build::S;

namespace {
struct NameFamily {
    const char *group, *lists, *fields;
};
constexpr NameFamily Families[] = {{"GroupBox4", "NameRzd", "OwnName"},
                                   {"GroupBox8", "NameRzdE", "OwnNameE"},
                                   {"GroupBox15", "NameRzdP", "OwnNameP"}};
constexpr int MaxOwnName = 12;
} // namespace

// A user-name field is shown while some partition of the visible family uses that name.
void FormBase::ChangeOwnName(QWidget *sender) {
    const Controls &c = m_controls;
    const NameFamily *visible = nullptr;
    for (const NameFamily &f : Families)
        if (!c.widget(S(f.group))->isHidden()) {
            visible = &f;
            break;
        }
    const auto *changed = qobject_cast<ComboBox *>(sender);
    for (int k = 1; k <= 4; ++k) {
        bool used = changed && changed->itemIndex() == 34 + k;
        if (!used && visible)
            for (int p = 1; p <= 16 && !used; ++p)
                used = c.combo(S(visible->lists), p)->itemIndex() == 34 + k;
        if (visible)
            c.labeledEdit(S(visible->fields), k)->setVisible(used);
    }
}

void FormBase::OwnNameChange(QWidget *sender) {
    auto *field = qobject_cast<LabeledEdit *>(sender);
    if (!field || !field->isEnabled())
        return;
    keepOnly(field->edit(), image::isLatinNameCharacter);
}

void FormBase::OwnNameLengnh(QWidget *sender) {
    auto *field = qobject_cast<LabeledEdit *>(sender);
    if (!field || !field->isEnabled() || field->text().size() <= MaxOwnName)
        return;
    warn(1538);
    field->setText(field->text().left(MaxOwnName));
}

} // namespace q7x::pages
