// The translation walk on the real window: which texts take numbers, what the built libraries
// put into the window, the message table and the logo, and the table generator.
#include "app/mainform.h"
#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "lang/messagetable.h"
#include "lang/resourcelibrary.h"
#include "lang/windowtexts.h"
#include "pages/dialogs.h"
#include "pages/tablegen.h"
#include "pages/translatewalk.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QtTest>

#include <memory>
#include <optional>

using namespace q7x;
using pages::TableEntry;
using test::writeIni;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

const QStringList Libraries = {S("ruslng.dll"),  S("rusmess.dll"), S("englng.dll"),
                               S("engmess.dll"), S("turklng.dll"), S("turkmess.dll")};

QString exeDir() { return QCoreApplication::applicationDirPath(); }

// Puts the named built libraries beside the test executable, where the window looks for them.
void provide(const QStringList &names) {
    test::provideLibraries(S(Q7X_LANGUAGE_LIBRARY_DIR), names);
}

void removeAll() {
    for (const QString &n : Libraries)
        QFile::remove(QDir(exeDir()).filePath(n));
    QFile::remove(lang::IniPath());
    lang::MessageTable().fill(QString());
}

std::unique_ptr<app::TMainForm> makeWindow(pages::Dialogs *dialogs) {
    return std::make_unique<app::TMainForm>(dialogs);
}

// Every text of every control of the window, in walk order, with its kind of text.
QStringList snapshot(QWidget *form) {
    QStringList out{form->windowTitle()};
    for (QObject *o : form->findChildren<QObject *>()) {
        if (pages::vclClassOf(o).isEmpty())
            continue;
        const QString name = o->objectName() + QLatin1Char(':');
        if (o->objectName() == QLatin1String("SelectLang"))
            continue; // shows the stored language name, not a text of the window
        if (auto *l = qobject_cast<pages::Label *>(o))
            out << name + l->text();
        if (auto *b = qobject_cast<QAbstractButton *>(o))
            out << name + b->text();
        if (auto *g = qobject_cast<QGroupBox *>(o)) {
            out << name + g->title();
            for (auto *b : g->findChildren<QRadioButton *>())
                out << name + b->text();
        }
        if (auto *c = qobject_cast<QComboBox *>(o))
            out << name + c->currentText() + QLatin1Char('#') + QString::number(c->currentIndex()) +
                       QLatin1Char('|') +
                       static_cast<pages::ComboBox *>(c)->items().join(QLatin1Char('|'));
        if (auto *e = qobject_cast<QLineEdit *>(o))
            out << name + e->text();
        if (auto *e = qobject_cast<pages::LabeledEdit *>(o))
            out << name + e->labelCaption() + QLatin1Char('|') + e->text();
        if (auto *t = qobject_cast<pages::TabSheet *>(o))
            out << name + t->caption();
        if (auto *m = qobject_cast<pages::MenuItem *>(o))
            out << name + m->caption();
    }
    return out;
}

QStringList identifiersOf(const QList<TableEntry> &table, const QString &component) {
    QStringList out;
    const QString prefix = S("rsMainForm_") + component + QLatin1Char('_');
    for (const TableEntry &e : table)
        if (e.identifier.startsWith(prefix))
            out << e.identifier.mid(prefix.size());
    return out;
}

pages::Translations translationsOf(const QString &file) {
    QFile f(QDir(S(Q7X_TEXTS_DIR)).filePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList errors;
    return pages::ParseTranslations(f.readAll(), f.fileName(), errors);
}

QString messageOf(const QString &file, int number) {
    QFile f(QDir(S(Q7X_MESSAGES_DIR)).filePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray prefix = QByteArray::number(number) + ' ';
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(prefix))
            return QString::fromUtf8(line.mid(prefix.size())).trimmed();
    return {};
}

} // namespace

class TestTranslateWalk : public QObject {
    Q_OBJECT
  private slots:
    void init() { removeAll(); }
    void cleanup() { removeAll(); }

    void fixedTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fixed");
        QTest::newRow("number") << S("16") << true;
        QTest::newRow("negative") << S("-3") << true;
        QTest::newRow("leading blanks") << S("  7") << true;
        QTest::newRow("hex") << S("$1F") << true;
        // Only the listed blank and zero texts are fixed, not texts near them.
        QTest::newRow("two spaces") << S("  ") << false;
        QTest::newRow("zero three spaces") << S("0   ") << false;
        QTest::newRow("number and unit") << S("2 мин") << false;
        QTest::newRow("sign alone") << S("-") << false;
        QTest::newRow("too large") << S("4294967296") << false;
        QTest::newRow("word") << S("нет") << false;
    }

    void fixedTexts() {
        QFETCH(QString, text);
        QFETCH(bool, fixed);
        QCOMPARE(pages::IsFixedText(text), fixed);
    }

    void walk_numbersOnlyTranslatableTexts() {
        pages::RecordingDialogs dialogs;
        auto w = makeWindow(&dialogs);
        const QList<TableEntry> table = pages::GenerateTable({w.get()});
        QVERIFY(table.size() > 100);
        QCOMPARE(table.first().identifier, S("rsMainForm_Caption"));
        QSet<QString> seen;
        for (int i = 0; i < table.size(); ++i) {
            const TableEntry &e = table[i];
            QCOMPARE(e.textId, i + 1);
            QVERIFY2(!seen.contains(e.identifier), qPrintable(e.identifier));
            seen.insert(e.identifier);
            // Only the edit text of a list and the items of lists and radio groups are numbered
            // whatever they hold.
            if (pages::IsFixedText(e.text))
                QVERIFY2(e.identifier.endsWith(S("_Text")) || e.identifier.contains(S("_Item")),
                         qPrintable(e.identifier));
        }
        QVERIFY(identifiersOf(table, S("SelectLang")).isEmpty());
        QVERIFY(identifiersOf(table, S("version")).isEmpty()); // emptied at construction

        int numeric = 0;
        int withNo = 0;
        for (pages::ComboBox *list : w->findChildren<pages::ComboBox *>()) {
            const QStringList items = list->items();
            const QStringList ids = identifiersOf(table, list->objectName());
            if (list == w->SelectLang || items.size() < 2)
                continue;
            bool isNumber = false;
            items[1].toInt(&isNumber);
            if (isNumber) {
                ++numeric;
                QCOMPARE(ids, QStringList{S("Text")});
            } else if (items[1] == S("нет")) {
                ++withNo;
                QStringList expected{S("Text")};
                for (int k = 0; k < items.size(); ++k)
                    expected << S("Item%1").arg(k);
                QCOMPARE(ids, expected);
            }
        }
        QVERIFY(numeric > 10);
        QVERIFY(withNo > 0);
    }

    void fixedLabel_takesNoNumber_andLaterNumbersFollowOn() {
        pages::RecordingDialogs dialogs;
        auto w = makeWindow(&dialogs);
        const QList<TableEntry> before = pages::GenerateTable({w.get()});
        // A label in the middle of the walk becomes a number, then "0 ".
        int at = -1;
        for (int i = before.size() / 2; i < before.size() && at < 0; ++i)
            if (before[i].identifier.endsWith(S("_Caption")) &&
                w->findChild<pages::Label *>(before[i].identifier.section(QLatin1Char('_'), 1, 1)))
                at = i;
        QVERIFY(at > 0);
        auto *label =
            w->findChild<pages::Label *>(before[at].identifier.section(QLatin1Char('_'), 1, 1));
        for (const QString &fixed : {S("16"), S("0 ")}) {
            label->setCaption(fixed);
            const QList<TableEntry> after = pages::GenerateTable({w.get()});
            QCOMPARE(after.size(), before.size() - 1);
            for (int i = 0; i < after.size(); ++i) {
                const TableEntry &expected = before[i < at ? i : i + 1];
                QCOMPARE(after[i].identifier, expected.identifier);
                QCOMPARE(after[i].textId, i + 1);
            }
        }
    }

    void radioGroupWithFixedCaption_andLabelledEdit_keepTheirNumbers() {
        pages::RecordingDialogs dialogs;
        auto w = makeWindow(&dialogs);
        const int items = w->namesPage().LangChange->items().size();
        QVERIFY(items >= 2);
        w->namesPage().LangChange->setCaption(S(" "));
        auto *named = w->findChild<pages::LabeledEdit *>();
        QVERIFY(named);
        named->setLabelCaption(QString());
        named->setText(QString());
        const QList<TableEntry> table = pages::GenerateTable({w.get()});
        QStringList expected;
        for (int k = 0; k < items; ++k)
            expected << S("Item%1").arg(k);
        QCOMPARE(identifiersOf(table, S("LangChange")), expected);
        QCOMPARE(identifiersOf(table, named->objectName()), (QStringList{S("Caption"), S("Text")}));
    }

    // What the window shows with the libraries found beside it: the texts of the language's
    // translation file, except that a language whose text library is missing keeps the built-in
    // Russian window, one whose message library is missing has no messages and no logo, and a
    // language name the program does not know changes nothing.
    void libraries_data() {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QStringList>("provided");
        QTest::addColumn<QString>("texts");    // translation file of the window, "": built-in texts
        QTest::addColumn<QString>("messages"); // message file, "": no messages
        QTest::addColumn<int>("logo");         // 0: built-in, 1: from the library, 2: none
        // Texts too long for a library string are left out of the Russian library and stay whole.
        QTest::newRow("Russian") << QByteArray("Russian")
                                 << QStringList{S("ruslng.dll"), S("rusmess.dll")} << QString()
                                 << S("russian.txt") << 1;
        QTest::newRow("English") << QByteArray("English") << Libraries << S("english.txt")
                                 << S("english.txt") << 1;
        QTest::newRow("Turkish") << QByteArray("Turkish") << Libraries << S("turkish.txt")
                                 << S("turkish.txt") << 1;
        QTest::newRow("English without its text library")
            << QByteArray("English") << QStringList{S("engmess.dll")} << QString()
            << S("english.txt") << 1;
        QTest::newRow("Turkish without its message library")
            << QByteArray("Turkish") << QStringList{S("turklng.dll")} << S("turkish.txt")
            << QString() << 2;
        QTest::newRow("unknown name") << QByteArray("english") << Libraries << QString()
                                      << QString() << 0; // names compare case-sensitively
    }

    void libraries() {
        QFETCH(QByteArray, language);
        QFETCH(QStringList, provided);
        QFETCH(QString, texts);
        QFETCH(QString, messages);
        QFETCH(int, logo);
        pages::RecordingDialogs dialogs;
        const auto plain = makeWindow(&dialogs);
        const QStringList builtIn = snapshot(plain.get());
        const QList<TableEntry> russian = pages::GenerateTable({plain.get()});
        provide(provided);
        writeIni("[Lang]\nDefault=" + language + '\n');
        auto w = makeWindow(&dialogs);
        if (texts.isEmpty()) {
            QCOMPARE(snapshot(w.get()), builtIn);
        } else {
            const pages::Translations tr = translationsOf(texts);
            QVERIFY(!tr.texts.isEmpty());
            // Translated texts are never fixed, so the translated window numbers the same texts.
            const QList<TableEntry> shown = pages::GenerateTable({w.get()});
            QCOMPARE(shown.size(), russian.size());
            for (int i = 0; i < shown.size(); ++i) {
                QCOMPARE(shown[i].identifier, russian[i].identifier);
                // Texts fixed when the walk ran (a list's edit text) have no translation.
                if (tr.texts.contains(russian[i].identifier))
                    QCOMPARE(shown[i].text,
                             tr.texts.value(russian[i].identifier).left(lang::WindowTextMaxLength));
            }
            QCOMPARE(w->SelectLang->items(),
                     (QStringList{lang::LangRussian, lang::LangEnglish, lang::LangTurkish}));
            QCOMPARE(w->SelectLang->text(), QString::fromLatin1(language));
            // The shared object-number lists keep their numbers.
            const auto *objects = w->findChild<pages::ComboBox *>(S("ObjNmb1"));
            QVERIFY(objects);
            QCOMPARE(objects->itemText(1), S("1"));
        }
        // A tool without the window finds by identifier the texts the window shows.
        const lang::WindowTexts byName =
            lang::WindowTexts::load(QString::fromLatin1(language), exeDir());
        int found = 0;
        for (const TableEntry &e : pages::GenerateTable({w.get()}))
            if (const QString t = byName.text(e.identifier); !t.isEmpty()) {
                QCOMPARE(t, e.text);
                ++found;
            }
        QCOMPARE(found > 0, !provided.filter(S("lng.dll")).isEmpty());
        if (messages.isEmpty()) {
            for (int n = 1000; n < 2000; ++n)
                QVERIFY2(lang::M(n).isEmpty(), qPrintable(QString::number(n)));
        } else {
            // The library really was read: the messages are there.
            QVERIFY(!lang::M(1527).isEmpty());
            QCOMPARE(lang::M(1527), messageOf(messages, 1527));
            QCOMPARE(lang::M(1099), messageOf(messages, 1099));
        }
        const QPixmap shown = w->mainPage().Image2->pixmap();
        if (logo == 0) {
            QCOMPARE(shown.toImage(), plain->mainPage().Image2->pixmap().toImage());
            QCOMPARE(w->mainPage().Image2->text(), plain->mainPage().Image2->text());
        } else if (logo == 1) {
            QPixmap expected;
            QVERIFY(expected.loadFromData(
                lang::LoadLogoBitmap(QString::fromLatin1(language), exeDir()), "BMP"));
            QCOMPARE(shown.toImage(), expected.toImage());
        } else {
            QVERIFY(shown.isNull());
            QVERIFY(w->mainPage().Image2->text().isEmpty()); // the built-in picture is gone as well
        }
    }

    void generatorButton_writesSources_andAsksBeforeReplacingThem() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        pages::RecordingDialogs dialogs;
        auto w = makeWindow(&dialogs);
        const QString header = dir.filePath(S("MainForm_outf.h"));
        const QString script = dir.filePath(S("MainForm_outf.rc"));

        // One click: the folder chosen ("": cancelled) and the answer to the question, if any.
        const auto click = [&](const QString &folder, std::optional<bool> answer = {}) {
            dialogs.clear();
            if (!folder.isEmpty())
                dialogs.fileNames << folder;
            if (answer)
                dialogs.answers << *answer;
            w->GenTableButtonClick(w->GenTableButton);
        };
        click(QString());
        QVERIFY(!QFile::exists(header));

        click(dir.path());
        QVERIFY(dialogs.texts(S("question")).isEmpty());
        QFile h(header);
        QVERIFY(h.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = h.readAll().split('\n');
        QCOMPARE(lines[0],
                 QByteArray("#define rsMainForm_Caption \"") + w->windowTitle().toUtf8() + '"');
        QFile rc(script);
        QVERIFY(rc.open(QIODevice::ReadOnly));
        const QByteArray rcText = rc.readAll();
        QVERIFY(rcText.startsWith("#include \"MainForm_outf.h\""));
        QVERIFY(rcText.contains("\n  1, rsMainForm_Caption\n"));
        // Every #define has its numbered line and nothing else is numbered.
        const int defines = static_cast<int>(lines.size()) - 1;
        QVERIFY(rcText.contains("\n  " + QByteArray::number(defines) + ", "));
        QVERIFY(!rcText.contains("\n  " + QByteArray::number(defines + 1) + ", "));

        // Existing files: the user saves them (kept as .bak) or lets them be replaced.
        click(dir.path(), true);
        QCOMPARE(dialogs.texts(S("question")),
                 QStringList{S("Do you want to save existing files?")});
        QCOMPARE(dialogs.shown.last().caption, S("System message"));
        QVERIFY(QFile::exists(header + S(".bak")) && QFile::exists(script + S(".bak")));
        QVERIFY(QFile::exists(header));
        QFile::remove(header + S(".bak"));
        click(dir.path(), false);
        QCOMPARE(dialogs.texts(S("question")).size(), 1);
        QVERIFY(!QFile::exists(header + S(".bak")));
        QVERIFY(QFile::exists(header));

        // A folder that cannot be written is reported.
        click(dir.filePath(S("missing/folder")));
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.texts().first().contains(S("missing/folder")));
    }

    void sources_escapeQuotesBackslashesAndLineBreaks() {
        const QList<TableEntry> table = {{1, S("rsF_Caption"), S("Окно \"Q7x\"")},
                                         {2, S("rsF_L_Caption"), S("a\\b\nc")}};
        QCOMPARE(pages::TableHeader(table), QByteArray("#define rsF_Caption \"Окно \"\"Q7x\"\"\"\n"
                                                       "#define rsF_L_Caption \"a\\\\b\\nc\"\n"));
        QCOMPARE(pages::TableScript(table, S("F_outf.h"), 0x09, 0x01),
                 QByteArray("#include \"F_outf.h\"\n\nLANGUAGE 0x09, 0x01\nSTRINGTABLE\n{\n"
                            "  1, rsF_Caption\n  2, rsF_L_Caption\n}\n"
                            "IDENTIFIERS RCDATA\n{\n  \"rsF_Caption\\n\",\n"
                            "  \"rsF_L_Caption\\n\"\n}\n"));
    }

    // Every text of a shipped translation belongs to a text the window numbers, and the other way
    // round: a control the walk passes over would stay Russian in every language.
    void shippedTranslations_coverExactlyTheWindowsTexts() {
        // The texts as the start-up translation sees them, as the build numbers them.
        QList<TableEntry> table;
        pages::SetTranslationInterceptor(
            [&table](const QList<QWidget *> &forms) { table = pages::GenerateTable(forms); });
        pages::RecordingDialogs dialogs;
        makeWindow(&dialogs);
        pages::SetTranslationInterceptor({});
        for (const QString &file : {S("english.txt"), S("turkish.txt")}) {
            QFile f(QDir(S(Q7X_TEXTS_DIR)).filePath(file));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QStringList errors;
            QStringList warnings;
            const pages::Translations tr = pages::ParseTranslations(f.readAll(), file, errors);
            pages::TranslateTable(table, tr, file, errors, warnings);
            QCOMPARE(errors, QStringList());
            QCOMPARE(warnings, QStringList());
        }
        QCOMPARE(identifiersOf(table, S("ServiceButton")), QStringList{S("Caption")});
        QCOMPARE(identifiersOf(table, S("PasswordsItem")), QStringList{S("Caption")});
    }

    void translationCheck_reportsMissingLongAndMalformedTexts() {
        const QList<TableEntry> table = {{1, S("rsF_Caption"), S("Окно")},
                                         {2, S("rsF_N_Text"), S("12")},
                                         {3, S("rsF_L_Caption"), S("Метка")},
                                         {4, S("rsF_M_Caption"), S("Ещё")}};
        QStringList errors;
        const pages::Translations tr = pages::ParseTranslations(
            "# comment\nrsF_Caption=Window\nrsF_M_Caption=" + QByteArray(100, 'x') +
                "\nrsF_Gone_Caption=Old\nno equals sign\nrsF_Caption=Again\nrsF_L_Caption=\n",
            S("en.txt"), errors);
        QCOMPARE(errors.size(), 2); // the line without "=" and the repeated identifier
        QVERIFY(errors[0].contains(S("en.txt:5")));
        QVERIFY(errors[1].contains(S("rsF_Caption given twice")));
        errors.clear();
        QStringList warnings;
        const QList<TableEntry> out =
            pages::TranslateTable(table, tr, S("en.txt"), errors, warnings);
        QCOMPARE(out.size(), 4);
        QCOMPARE(out[0].text, S("Window"));
        QCOMPARE(out[1].text, S("12")); // a fixed text needs no translation
        // An empty translation counts as missing; a text over 99 characters is refused.
        QCOMPARE(errors.size(), 2);
        QVERIFY(errors[0].contains(S("no translation of rsF_L_Caption")));
        QVERIFY(errors[1].contains(S("rsF_M_Caption is longer than 99")));
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings[0].contains(S("rsF_Gone_Caption")));

        errors.clear();
        pages::ParseTranslations("rsF_Caption=\xC3\x28\n", S("bad.txt"), errors);
        QCOMPARE(errors.size(), 1);
    }
};

QTEST_MAIN(TestTranslateWalk)
#include "tst_translatewalk.moc"
