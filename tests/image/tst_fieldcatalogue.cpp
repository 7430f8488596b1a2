// The field catalogue against the real window: its caption and item identifiers are texts the
// translation walk numbers, with the window's own item texts; each field's control exists on the
// field's page; and a field reads as the window shows the setting.
#include "codecfixture.h"
#include "image/catalogue.h"
#include "pages/tablegen.h"

using namespace codectest;
using image::FieldKind;

namespace {

bool onPage(QWidget *control, const QString &page) {
    for (QWidget *w = control; w; w = w->parentWidget())
        if (w->objectName() == page)
            return true;
    return false;
}

// Every identifier names a text of the window, every list item the window's own item text, and
// every control sits on the pages the field names.
template <class Settings, class Field>
void checkIdentifiers(const QList<Field> &fields, Settings s, Window &win,
                      const QHash<QString, QString> &texts) {
    for (const Field &f : fields) {
        for (const QString &id : f.captions)
            QVERIFY2(texts.contains(id), qPrintable(f.key + S(": ") + id));
        if (f.kind == FieldKind::Flag)
            QVERIFY(texts.contains(f.itemIdentifier(s)));
        constexpr int languages = std::is_same_v<Settings, image::Q72Settings> ? 3 : 1;
        for (int language = 0; language < languages; ++language) {
            if constexpr (std::is_same_v<Settings, image::Q72Settings>)
                s.nameLanguage = language;
            const QString control = f.control(s);
            if (control.isEmpty())
                continue;
            QWidget *w = win.c().find(control);
            QVERIFY2(w, qPrintable(f.key + S(": ") + control));
            for (const QString &page : f.pages)
                QVERIFY2(onPage(w, page), qPrintable(f.key + S(": ") + page));
            if (f.kind != FieldKind::List || !f.set)
                continue;
            const QStringList items = f.items(s);
            for (int i = 0; i < items.size(); ++i) {
                Settings v = s;
                QVERIFY(f.set(v, i));
                const QString id = f.itemIdentifier(v);
                QVERIFY2(id.isEmpty() || texts.value(id) == items[i], qPrintable(f.key + id));
                QCOMPARE(f.text(v), items[i]);
            }
        }
    }
}

// What the window shows for each field, in the field's own terms.
template <class Settings, class Field>
void checkTexts(const QList<Field> &fields, const Settings &s, Window &win) {
    for (const Field &f : fields) {
        QWidget *w = win.c().find(f.control(s));
        if (!w || !f.set || f.get(s) == QVariant(image::NoItem))
            continue;
        QString shown;
        if (auto *list = qobject_cast<pages::ComboBox *>(w))
            shown = list->text();
        else if (auto *group = qobject_cast<pages::RadioGroup *>(w))
            shown = group->items().value(group->itemIndex());
        else if (auto *box = qobject_cast<pages::CheckBox *>(w))
            shown = box->isChecked() ? S("да") : S("нет");
        else if (auto *mask = qobject_cast<pages::MaskEdit *>(w))
            shown = f.text(s).isEmpty() ? QString() : mask->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(w))
            shown = edit->text();
        else if (auto *labeled = qobject_cast<pages::LabeledEdit *>(w))
            shown = labeled->text();
        // The window pads SMS-Blitz codes to four digits, and shows the commands of the object
        // groups that partitions use only.
        if (f.key.startsWith(S("blitzCodes")) && !shown.isEmpty())
            shown = QString::number(shown.toInt());
        if constexpr (std::is_same_v<Settings, image::Q72Settings>) {
            const auto used = image::effectiveGroups(s.partitions);
            if (f.key.startsWith(S("groups.")) &&
                !std::count(used.begin(), used.end(), f.key.section(u'.', 1, 1).toInt()))
                continue;
        }
        QVERIFY2(shown == f.text(s), qPrintable(f.key + S(": ") + shown + S(" / ") + f.text(s)));
    }
}

} // namespace

class TstFieldCatalogue : public QObject {
    Q_OBJECT
  private slots:
    void identifiersNameTheWindowsTexts();
    void fieldsReadAsTheWindowShowsThem();
};

void TstFieldCatalogue::identifiersNameTheWindowsTexts() {
    Window win(pages::DeviceModel::Q72);
    QHash<QString, QString> texts;
    for (const pages::TableEntry &e : pages::GenerateTable({&win.w()}))
        texts.insert(e.identifier, e.text);
    checkIdentifiers(image::catalogueQ72(), image::q72Settings(win.w().form()), win, texts);
    checkIdentifiers(image::catalogueQ71(), image::decodeQ71(preset(DeviceModel::Q71, 0)).settings,
                     win, texts);
}

// Each image read into the window shows every field as decoding it says: the presets, and one
// with a different value in each list of a family, so that no list shows its neighbour's value.
void TstFieldCatalogue::fieldsReadAsTheWindowShowsThem() {
    const char *varied[] = {
        "2..9: 0x10 0x32 0x54 0x76 0x98 0xBA 0xDC 0xFE; 18..22: 0x21 0x43 0x65 0x87 0x19;"
        "23..27: 0x12 0x34 0x56 0x78 0x90; 41..42: 0x55 0x2A; 126..130: 1 2 4 8 16",
        "16..23: 0x10 0x21 0x32 0x43 0x54 0x65 0x76 0x87; 144..149: 10*6; 154: 20; 155..158: 30*4;"
        "160..163: 3*4; 164..167: 4*4; 168..169: 0x55 0x0A; 173: 6; 182: 0x21; 183: 5;"
        "174..179: 0x12 0x34 0x56 0x78 0x9A 0xBC; 240: 0x15; 256..259: 0xD2 0x04 0xE1 0x10"};
    for (DeviceModel model : {pages::DeviceModel::Q71, pages::DeviceModel::Q72}) {
        Window win(model);
        const bool q71 = model == pages::DeviceModel::Q71;
        QList<ConfigImage> images;
        for (int mode = 0; mode < 6; ++mode)
            images << preset(model, mode);
        images << imageFromRuns(varied[q71 ? 0 : 1], preset(model, 1));
        for (const ConfigImage &img : images) {
            win.w().readImage(img);
            QCOMPARE(win.dialogs.shown.size(), 0);
            if (q71)
                checkTexts(image::catalogueQ71(), image::decodeQ71(img).settings, win);
            else
                checkTexts(image::catalogueQ72(), image::decodeQ72(img).settings, win);
        }
    }
}

QTEST_MAIN(TstFieldCatalogue)
#include "tst_fieldcatalogue.moc"
