// The service menu in each interface language, with the language libraries beside the program as
// an installation has them: the button below the tool mode is clicked and the items of the menu
// that opens are read while it is up.
#include "image/catalogue.h"
#include "pages/tablegen.h"
#include "report/fieldwords.h"
#include "testsupport.h"
#include "uidriver.h"

#include <QAccessible>
#include <QDir>
#include <QMenu>

using namespace q7x;
using namespace q7x::uitest;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

const QStringList Libraries = {S("ruslng.dll"),  S("rusmess.dll"), S("englng.dll"),
                               S("engmess.dll"), S("turklng.dll"), S("turkmess.dll")};

QString exeDir() { return QCoreApplication::applicationDirPath(); }

// The menu as a person sees it: each item's text, "-" for a separator, "(off)" after an item that
// cannot be chosen and "[ ]" or "[x]" after one that is ticked on and off.
QString shown(const QAction *a) {
    if (a->isSeparator())
        return S("-");
    return a->text() + (a->isEnabled() ? S("") : S(" (off)")) +
           (!a->isCheckable() ? S("")
            : a->isChecked()  ? S(" [x]")
                              : S(" [ ]"));
}

// Clicks the button and reads the menu that pops up, then clicks `choose` in it, or closes it with
// Escape. The menu runs its own event loop inside the click, so a timer reads it.
QStringList openAndRead(QPushButton *button, QAction *choose = nullptr) {
    QStringList items;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!items.isEmpty() || !menu || !menu->isVisible())
            return;
        for (QAction *a : menu->actions())
            // An item the menu lays out with no room is not seen.
            items << (a->isSeparator() || !menu->actionGeometry(a).isEmpty()
                          ? shown(a)
                          : S("unseen ") + a->text());
        if (choose)
            QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                              menu->actionGeometry(choose).center());
        else
            QTest::keyClick(menu->windowHandle(), Qt::Key_Escape);
    });
    look.start(20);
    click(button);
    return items;
}

// The translation of each identifier in a shipped translation file.
QHash<QString, QString> translationsIn(const QString &file) {
    QFile f(QDir(S(Q7X_TEXTS_DIR)).filePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList errors;
    return pages::ParseTranslations(f.readAll(), file, errors).texts;
}

} // namespace

class TestUiService : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void menu_speaksTheInterfaceLanguage_data();
    void menu_speaksTheInterfaceLanguage();
    void accessibleNames_areTheCaptionsOfTheSettings_data() {
        menu_speaksTheInterfaceLanguage_data();
    }
    void accessibleNames_areTheCaptionsOfTheSettings();
};

// The built libraries beside the test, where the program looks for them.
void TestUiService::initTestCase() { test::provideLibraries(S(Q7X_LANGUAGE_LIBRARY_DIR)); }

void TestUiService::cleanupTestCase() {
    for (const QString &n : Libraries)
        QFile::remove(QDir(exeDir()).filePath(n));
    QFile::remove(lang::IniPath());
}

void TestUiService::menu_speaksTheInterfaceLanguage_data() {
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("translations"); // "": the window's own Russian texts
    QTest::newRow("Russian") << QByteArray("Russian") << QString();
    QTest::newRow("English") << QByteArray("English") << S("english.txt");
    QTest::newRow("Turkish") << QByteArray("Turkish") << S("turkish.txt");
}

// In demonstration mode no device can be compared, and the passwords stay out of the sheet until
// the user ticks them in.
void TestUiService::menu_speaksTheInterfaceLanguage() {
    QFETCH(QByteArray, language);
    QFETCH(QString, translations);
    test::writeIni("[Lang]\nDefault=" + language + '\n');
    Window s;
    const QStringList names = {S("ServiceButton"), S("CompareFileItem"), S("CompareDeviceItem"),
                               S("ReportItem"),    S("PrintItem"),       S("PasswordsItem")};
    QStringList words = {S("Сервис"),
                         S("Сравнить с файлом…"),
                         S("Сравнить с прибором"),
                         S("Отчёт в файл PDF…"),
                         S("Печать отчёта…"),
                         S("Пароли и PIN-код в отчёте")};
    if (!translations.isEmpty()) {
        const QHash<QString, QString> tr = translationsIn(translations);
        for (int i = 0; i < names.size(); ++i) {
            words[i] = tr.value(S("rsMainForm_") + names[i] + S("_Caption"));
            QVERIFY2(!words[i].isEmpty(), qPrintable(names[i]));
            QVERIFY2(!words[i].contains(QRegularExpression(S("[А-яЁё]"))), qPrintable(words[i]));
        }
    }
    QCOMPARE(s.w.ServiceButton->text(), words[0]);
    QCOMPARE(openAndRead(s.w.ServiceButton, s.w.PasswordsItem),
             (QStringList{words[1], words[2] + S(" (off)"), S("-"), words[3], words[4],
                          words[5] + S(" [ ]")}));
    // Ticked in the menu, the item shows its tick the next time the menu opens.
    QVERIFY(s.w.PasswordsItem->isChecked());
    QCOMPARE(openAndRead(s.w.ServiceButton).last(), words[5] + S(" [x]"));
    QCOMPARE(s.boxes.texts, QStringList());
}

namespace {

// Every input control a screen reader meets below `node` that a person can reach now: shown and
// enabled. Each entry: the object and the accessible name it is announced by.
void inputsBelow(QAccessibleInterface *node, QList<std::pair<QObject *, QString>> &out) {
    static const QSet<QAccessible::Role> inputs = {QAccessible::ComboBox, QAccessible::EditableText,
                                                   QAccessible::CheckBox, QAccessible::RadioButton,
                                                   QAccessible::SpinBox};
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        if (inputs.contains(child->role()) && !child->state().disabled)
            out.append({child->object(), child->text(QAccessible::Name)});
        else
            inputsBelow(child, out);
    }
}

} // namespace

// A screen reader announces each input control of every page by the caption of its setting, in
// the interface language, as the comparison names it: the list of work modes as "Режим работы
// коммуникатора", not by its value. The captions are taken here from the language libraries, the
// window's from its own labels. After a change of model, the other model's captions hold.
void TestUiService::accessibleNames_areTheCaptionsOfTheSettings() {
    QFETCH(QByteArray, language);
    test::writeIni("[Lang]\nDefault=" + language + '\n');
    Window s;
    // A screen reader starts after the window: the controls built so far are named then, the
    // pages built later as they come.
    QAccessible::setActive(true);
    const report::FieldWords words(lang::WindowTexts::load(QString::fromLatin1(language)));
    auto *pages = s.w.PageControl1;
    pages::PageControl *inner = s.w.recipientsPage().PageControl2;
    for (int model : {1, 0}) { // demo Q72, then demo Q71
        if (s.w.Mode->currentIndex() != model) {
            clickTab(pages, 0);
            pick(s.w.Mode, model);
        }
        QHash<const QObject *, QString> expected;
        auto expect = [&](const auto &catalogue, const auto &settings) {
            for (const auto &f : catalogue) {
                QWidget *w = s.c().find(f.control(settings));
                if (auto *e = qobject_cast<pages::LabeledEdit *>(w))
                    w = e->findChild<QLineEdit *>();
                if (w)
                    expected.insert(w, words.label(f, settings));
            }
        };
        if (model == 1)
            expect(image::catalogueQ72(), image::q72Settings(s.w.form()));
        else
            expect(image::catalogueQ71(), image::q71Settings(s.w.form()));
        int checked = 0;
        QStringList faults;
        for (int p = 0; p < pages->count(); ++p) {
            if (!pages->isTabVisible(p))
                continue;
            clickTab(pages, p);
            const int sheets = p == pages::PageRecipients ? inner->count() : 1;
            for (int q = 0; q < sheets; ++q) {
                if (p == pages::PageRecipients)
                    clickTab(inner, q);
                QList<std::pair<QObject *, QString>> found;
                inputsBelow(QAccessible::queryAccessibleInterface(&s.w), found);
                QVERIFY(!found.isEmpty());
                for (const auto &[object, name] : found) {
                    const QString where =
                        object->objectName() + S(" on page ") + QString::number(p) + S(": ");
                    if (name.trimmed().isEmpty())
                        faults << where + S("no name");
                    else if (expected.contains(object) && name != expected.value(object))
                        faults << where + name + S(" for ") + expected.value(object);
                    checked += expected.contains(object);
                }
            }
        }
        faults.removeDuplicates();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY2(checked > (model == 1 ? 400 : 100), qPrintable(QString::number(checked)));
    }
    // The work-mode list is announced by its caption, and its label is related to it.
    clickTab(pages, 0);
    QAccessibleInterface *list =
        QAccessible::queryAccessibleInterface(s.w.mainPage().WorkModeComboBox);
    const QString caption = words.text(S("rsMainForm_Label2_Caption")).simplified();
    if (language == "Russian")
        QCOMPARE(caption, S("Режим работы коммуникатора"));
    QCOMPARE(list->text(QAccessible::Name), caption);
    QObjectList labels;
    for (const auto &[label, relation] : list->relations(QAccessible::Label))
        labels << label->object();
    QVERIFY(labels.contains(s.c().find(S("Label2"))));
    QCOMPARE(s.boxes.texts, QStringList());
    QAccessible::setActive(false);
}

Q7X_UI_MAIN(TestUiService)
#include "tst_ui_service.moc"
