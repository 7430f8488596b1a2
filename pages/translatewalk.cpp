#include "pages/translatewalk.h"

#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "lang/resourcelibrary.h"
#include "lang/windowtexts.h"
#include "pages/controls.h"
#include "pages/formbase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QStringListModel>

#include <cstring>

namespace q7x::pages {

using namespace q7x::lang;

namespace {

std::function<void(const QList<QWidget *> &)> &interceptor() {
    static std::function<void(const QList<QWidget *> &)> f;
    return f;
}

// Integer conversion as the window's original toolkit does it: leading blanks, an optional sign,
// then decimal digits or "$" and hex digits, nothing after, within 32 bits.
bool convertsToInteger(const QString &text) {
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    }
    if (i >= text.size())
        return false;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0)
            return false;
        value = value * base + d;
        if (value > (base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL)))
            return false;
    }
    return true;
}

// The probe item of a list: index 1, or index 0 when the list has exactly one item. A list is
// translated only when it has items and its probe item is a text other than a number.
// Only the probe item is read, so the long number lists cost nothing.
bool listIsTranslated(const QComboBox *list) {
    if (list->count() == 0)
        return false;
    const QString probe = list->itemText(list->count() == 1 ? 0 : 1);
    return !probe.isEmpty() && !convertsToInteger(probe);
}

// A list that shares its item model with others never gets items written into it.
bool ownsItems(const QComboBox *list) {
    const auto *shared = qobject_cast<const QStringListModel *>(list->model());
    return !shared || shared->parent() == list;
}

class Walk {
  public:
    // Without identifiers the visitor gets an empty one: building them costs more than the
    // translation itself, and only the table generator reads them.
    Walk(const TextVisitor &visit, bool identifiers) : m_visit(visit), m_ids(identifiers) {}

    // The controls below `root`, a part of the form named `form`.
    void part(QWidget *root, const QString &form) {
        m_form = form;
        for (QObject *o : root->findChildren<QObject *>()) {
            const auto *kind = dynamic_cast<const ControlKind *>(o);
            if (kind && kind->vclClass() && *kind->vclClass())
                component(o, kind->vclClass());
        }
    }

    void form(QWidget *f) {
        m_form = f->objectName();
        if (auto *w = f; !IsFixedText(w->windowTitle()))
            text(
                QStringLiteral("_Caption"), w->windowTitle(),
                [w](const QString &s) { w->setWindowTitle(s); }, true);
        const QList<QObject *> children = f->findChildren<QObject *>();
        for (QObject *o : children) {
            const auto *kind = dynamic_cast<const ControlKind *>(o);
            if (!kind || !kind->vclClass() || !*kind->vclClass())
                continue; // a toolkit part of a control, not a control of the window
            letEventsThrough();
            component(o, kind->vclClass());
        }
    }

    int count() const { return m_id - 1; }

  private:
    // A walk over a shown window (a language change) keeps it responsive by letting events through
    // between controls, at most once a frame: a round of the event loop costs more than
    // translating a control, and there are some 1,400 of them.
    void letEventsThrough() {
        if (m_sinceEvents.isValid() && !m_sinceEvents.hasExpired(16))
            return;
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }

    // Hands the text to the visitor under the next number and applies a non-empty result.
    template <typename Set>
    void text(const QString &suffix, const QString &current, Set set, bool formLevel = false) {
        const QString id =
            !m_ids ? QString()
                   : QStringLiteral("rs") + m_form +
                         (formLevel ? QString() : QStringLiteral("_") + m_component) + suffix;
        const QString replacement = m_visit(m_id++, id, current);
        if (!replacement.isEmpty() && replacement != current)
            set(replacement);
    }

    template <typename Set>
    void caption(const QString &current, Set set,
                 const QString &suffix = QStringLiteral("_Caption")) {
        if (!IsFixedText(current))
            text(suffix, current, set);
    }

    void items(const QStringList &list, const std::function<void(int, const QString &)> &set) {
        for (int k = 0; k < list.size(); ++k)
            text(m_ids ? QStringLiteral("_Item") + QString::number(k) : QString(), list[k],
                 [&set, k](const QString &s) { set(k, s); });
    }

    void component(QObject *o, const char *cls) {
        if (m_ids)
            m_component = o->objectName();
        const auto is = [cls](const char *name) { return std::strcmp(cls, name) == 0; };
        const auto has = [cls](const char *name) { return std::strstr(cls, name) != nullptr; };
        if (is("TLabel")) {
            if (auto *l = qobject_cast<Label *>(o))
                caption(l->caption(), [l](const QString &s) { l->setCaption(s); });
        } else if (is("TEdit")) {
            if (auto *e = qobject_cast<Edit *>(o))
                caption(
                    e->text(), [e](const QString &s) { e->setText(s); }, QStringLiteral("_Text"));
        } else if (is("TButton")) {
            if (auto *b = qobject_cast<Button *>(o))
                caption(b->caption(), [b](const QString &s) { b->setCaption(s); });
        } else if (has("TCheckBox")) {
            if (auto *b = qobject_cast<CheckBox *>(o))
                caption(b->caption(), [b](const QString &s) { b->setCaption(s); });
        } else if (has("TRadioButton")) {
            if (auto *b = qobject_cast<RadioButton *>(o))
                caption(b->caption(), [b](const QString &s) { b->setCaption(s); });
        } else if (has("TListBox")) {
            // The window has no list boxes; a list box would be walked like the items of a list.
        } else if (is("TComboBox")) {
            auto *c = qobject_cast<ComboBox *>(o);
            if (!c || c->objectName() == QLatin1String("SelectLang"))
                return;
            text(QStringLiteral("_Text"), c->text(), [c](const QString &s) { c->setText(s); });
            if (!listIsTranslated(c))
                return;
            const int index = c->currentIndex();
            const bool writable = ownsItems(c);
            items(c->items(), [c, writable](int k, const QString &s) {
                if (writable)
                    c->setItemText(k, s);
            });
            c->setItemIndex(index);
        } else if (has("TGroupBox")) {
            if (auto *g = qobject_cast<GroupBox *>(o))
                caption(g->caption(), [g](const QString &s) { g->setCaption(s); });
        } else if (has("TRadioGroup")) {
            auto *g = qobject_cast<RadioGroup *>(o);
            if (!g)
                return;
            caption(g->caption(), [g](const QString &s) { g->setCaption(s); });
            items(g->items(), [g](int k, const QString &s) { g->setItemText(k, s); });
        } else if (has("TBitBtn")) {
            if (auto *b = qobject_cast<Button *>(o))
                caption(b->caption(), [b](const QString &s) { b->setCaption(s); });
        } else if (has("TLabeledEdit")) {
            auto *e = qobject_cast<LabeledEdit *>(o);
            if (!e)
                return;
            text(QStringLiteral("_Caption"), e->labelCaption(),
                 [e](const QString &s) { e->setLabelCaption(s); });
            text(QStringLiteral("_Text"), e->text(), [e](const QString &s) { e->setText(s); });
        } else if (has("TMaskEdit")) {
            if (auto *e = qobject_cast<MaskEdit *>(o))
                caption(
                    e->text(), [e](const QString &s) { e->setText(s); }, QStringLiteral("_Text"));
        } else if (is("TTabSheet")) {
            if (auto *t = qobject_cast<TabSheet *>(o))
                caption(t->caption(), [t](const QString &s) { t->setCaption(s); });
        } else if (is("TMenuItem")) {
            if (auto *m = qobject_cast<MenuItem *>(o))
                caption(m->caption(), [m](const QString &s) { m->setCaption(s); });
        }
    }

    const TextVisitor &m_visit;
    const bool m_ids;
    QElapsedTimer m_sinceEvents;
    QString m_form;
    QString m_component;
    int m_id = 1;
};

} // namespace

bool IsFixedText(const QString &text) {
    static const QStringList fixed = {QString(),
                                      QStringLiteral(" "),
                                      QStringLiteral("0 "),
                                      QStringLiteral(" 0"),
                                      QStringLiteral("      "),
                                      QStringLiteral("0  ")};
    return text.isEmpty() || fixed.contains(text) || convertsToInteger(text);
}

namespace {

// Numbers count over the whole window: its pages not built yet are built first, unless only
// what is built is walked (by identifier).
int walkForms(const QList<QWidget *> &forms, const TextVisitor &visit, bool identifiers,
              bool builtOnly = false) {
    Walk walk(visit, identifiers);
    for (QWidget *f : forms) {
        if (auto *window = qobject_cast<FormBase *>(f); window && !builtOnly)
            window->buildAllPages();
        QCoreApplication::processEvents();
        if (f && vclClassOf(f).contains(QLatin1String("Form")))
            walk.form(f);
    }
    return walk.count();
}

} // namespace

int WalkForms(const QList<QWidget *> &forms, const TextVisitor &visit) {
    return walkForms(forms, visit, true);
}

void TranslateForms(const QList<QWidget *> &forms, const ResourceLibrary &texts) {
    // The walk asks for consecutive numbers: each block of sixteen is read once.
    int cachedBlock = -1;
    QList<QString> block;
    const TextVisitor translated = [&](int id, const QString &, const QString &) {
        if (id < 0 || id > 0xFFFF)
            return QString();
        if (id / 16 != cachedBlock) {
            cachedBlock = id / 16;
            block = texts.stringBlock(cachedBlock, WindowTextMaxLength);
        }
        return block.isEmpty() ? QString() : block[id % 16];
    };
    walkForms(forms, translated, false);
}

void TranslateWindow(const QList<QWidget *> &forms, const QString &folder) {
    if (interceptor()) {
        // A copy: the interceptor may replace itself while it runs.
        const auto intercept = interceptor();
        intercept(forms);
        return;
    }
    const auto files = FilesOfLanguage(GetLanguage());
    ResourceLibrary texts;
    ResourceLibrary messages;
    if (files) {
        // A library that cannot be loaded counts as one whose strings are all missing.
        texts.load(LibraryPath(folder, files->textLibrary));
        messages.load(LibraryPath(folder, files->messageLibrary));
        TranslateForms(forms, texts);
    }
    FillMessageTable(messages);
}

namespace {

// The text of each identifier in the library's index.
TextVisitor textsByIdentifier(const WindowTexts &texts) {
    return [&texts](int, const QString &identifier, const QString &) {
        return texts.text(identifier);
    };
}

} // namespace

void TranslateByIdentifier(QWidget *root, const QString &form, const WindowTexts &texts) {
    Walk(textsByIdentifier(texts), true).part(root, form);
}

std::optional<WindowTexts> TranslateWindowByIdentifier(QWidget *window,
                                                       const std::function<void()> &buildAll,
                                                       const QString &folder) {
    if (interceptor()) {
        buildAll(); // the table generator sees every text of the window
        TranslateWindow({window}, folder);
        return std::nullopt;
    }
    const auto files = FilesOfLanguage(GetLanguage());
    ResourceLibrary texts;
    ResourceLibrary messages;
    std::optional<WindowTexts> byIdentifier;
    if (files) {
        messages.load(LibraryPath(folder, files->messageLibrary));
        if (texts.load(LibraryPath(folder, files->textLibrary))) {
            WindowTexts indexed = WindowTexts::fromLibrary(texts);
            if (indexed.size() > 0) {
                walkForms({window}, textsByIdentifier(indexed), true, true);
                byIdentifier = std::move(indexed);
            } else {
                // Texts known only by their numbers: those of the whole window.
                buildAll();
                TranslateForms({window}, texts);
            }
        }
    }
    FillMessageTable(messages);
    return byIdentifier;
}

void LoadLogo(QLabel *picture, const QString &folder) {
    const QString language = GetLanguage();
    if (!picture || !FilesOfLanguage(language))
        return;
    QPixmap logo;
    const QByteArray bmp = LoadLogoBitmap(language, folder);
    if (bmp.isEmpty() || !logo.loadFromData(bmp, "BMP"))
        picture->clear();
    else
        picture->setPixmap(logo);
}

void SetTranslationInterceptor(std::function<void(const QList<QWidget *> &forms)> f) {
    interceptor() = std::move(f);
}

} // namespace q7x::pages
