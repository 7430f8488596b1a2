// Accessible names: a screen reader announces an input control by its accessible name, and a list
// or a field without one is announced by its value alone. Every settings control is named by the
// caption of its setting, composed as the comparison and the configuration sheet name it, from the
// texts the window shows (so in the interface language, with no library read again); the label
// that shows the caption, when it names that control alone, is related to it as its buddy.
#include "app/mainform.h"
#include "image/catalogue.h"
#include "image/form.h"
#include "report/fieldwords.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace q7x::app {

namespace {

// The control a caption identifier ("rsMainForm_Label20_Caption") names.
QString controlOf(const QString &identifier) { return identifier.section(QLatin1Char('_'), 1, 1); }

// What the window shows as the caption of a control.
QString shownCaption(const QWidget *w) {
    if (auto *t = qobject_cast<const pages::TabSheet *>(w))
        return t->caption();
    if (auto *e = qobject_cast<const pages::LabeledEdit *>(w))
        return e->labelCaption();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    return {};
}

// The widget a screen reader meets for a control: a labelled edit's field, else the control.
QWidget *inputOf(QWidget *control) {
    if (auto *e = qobject_cast<pages::LabeledEdit *>(control))
        if (auto *field = e->findChild<QLineEdit *>())
            return field;
    return control;
}

} // namespace

void TMainForm::nameControls(const image::Form &form, bool onlyGroups, const QWidget *within) {
    const pages::Controls &c = controls();
    // A control of the window to name: built, and below `within` when that is given.
    auto toName = [&](const QString &name) -> QWidget * {
        QWidget *w = c.existing(name);
        return w && (!within || within->isAncestorOf(w)) ? w : nullptr;
    };
    const image::Q72Settings q72 = image::q72Settings(form);
    const image::Q71Settings q71 = image::q71Settings(form);
    const bool groupsShown = form.model == DeviceModel::Q72;

    // The captions as the window shows them now, by identifier.
    lang::WindowTexts texts;
    auto collect = [&](const auto &catalogue) {
        for (const auto &f : catalogue)
            for (const QString &id : f.captions)
                if (texts.text(id).isEmpty())
                    if (const QWidget *w = c.existing(controlOf(id)))
                        texts.insert(id, shownCaption(w));
    };
    collect(image::catalogueQ72());
    collect(image::catalogueQ71());
    const report::FieldWords words(texts);

    // A label that names several controls (a column heading) stays nobody's buddy.
    QHash<QString, int> uses;
    if (!onlyGroups)
        for (const auto &f : image::catalogueQ72())
            if (!f.captions.isEmpty())
                ++uses[f.captions.last()];

    QSet<const QWidget *> named;
    auto name = [&](const auto &f, const auto &settings) {
        QWidget *control = toName(f.control(settings));
        if (!control || named.contains(control))
            return;
        named.insert(control);
        QWidget *input = inputOf(control);
        input->setAccessibleName(words.label(f, settings));
        if (onlyGroups || f.captions.isEmpty() || uses.value(f.captions.last()) > 1)
            return;
        auto *label = qobject_cast<QLabel *>(c.existing(controlOf(f.captions.last())));
        if (label && label != input)
            label->setBuddy(input);
    };
    // The connected model's captions first; the other model's name the controls only it has.
    auto nameQ72 = [&] {
        for (const auto &f : image::catalogueQ72())
            if (!onlyGroups || f.key.startsWith(QLatin1String("groups.")))
                name(f, q72);
    };
    auto nameQ71 = [&] {
        for (const auto &f : image::catalogueQ71())
            name(f, q71);
    };
    if (onlyGroups) {
        nameQ72();
        return;
    }
    if (groupsShown) {
        nameQ72();
        nameQ71();
    } else {
        nameQ71();
        nameQ72();
    }

    auto caption = [&](const QString &label) {
        return words.text(image::captionIdentifier(label)).simplified();
    };
    // The dial groups' columns 9..16 hold boxes that no setting reads; they are named as the
    // boxes of columns 1..8 beside them are.
    int extra = 10;
    for (int group = 1; group <= 8; ++group) {
        if (group == 8)
            extra = 138;
        for (int column = 9; column <= 16; ++column)
            if (QWidget *box = toName(pages::Controls::name(QStringLiteral("CheckBox"), extra++)))
                box->setAccessibleName(report::joinCaptions(
                    {{caption(pages::Controls::name(QStringLiteral("Label81"), group)), 0},
                     {caption(QStringLiteral("Label713")), column}}));
    }

    // Beside them, the object and partition numbers of partitions 9..16, which no setting reads.
    for (int p = 9; p <= 16; ++p)
        for (const auto &[list, heading] : {std::pair{16 + p, "Label716"}, {2 + p, "Label717"}})
            if (QWidget *w = toName(pages::Controls::name(QStringLiteral("ComboBox"), list)))
                w->setAccessibleName(report::joinCaptions({{caption(QStringLiteral("Label715")), p},
                                                           {caption(QLatin1String(heading)), 0}}));

    if (within)
        return;
    // The frame's lists, named by the captions beside them; the language list has none, and is
    // named in the three languages it offers.
    Mode->setAccessibleName(modeGroup->caption().remove(QLatin1Char(':')).trimmed());
    PortNumber->setAccessibleName(COM->text().trimmed());
    SelectLang->setAccessibleName(QString::fromUtf8("Язык / Language / Dil"));
}

void TMainForm::AccessibilityWatch::accessibilityActiveChanged(bool active) {
    TMainForm &w = *m_window;
    w.m_accessible = active;
    if (!active)
        return;
    // Every control built so far is named now; pages built later are named as they come.
    w.m_namedModel.reset();
    const image::Form form = w.form();
    w.formShown(form, form);
}

void TMainForm::formShown(const image::Form &, const image::Form &after) {
    // The captions are named once they are in their language.
    if (!m_textsTranslated || !m_accessible)
        return;
    std::vector<int> objects;
    if (after.model == DeviceModel::Q72) {
        const image::Q72Settings s = image::q72Settings(after);
        for (int g = 1; g <= image::GroupCount; ++g)
            objects.push_back(report::objectOfGroup(s, g));
    }
    const bool all = m_namedModel != after.model;
    if (!all && objects == m_namedGroupObjects)
        return;
    nameControls(after, !all);
    m_namedModel = after.model;
    m_namedGroupObjects = std::move(objects);
}

} // namespace q7x::app
