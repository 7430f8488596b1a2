// The configuration in words, in English from the built language libraries: the rows of a
// comparison (what differs, what cannot be written, what was damaged), with their pages, captions
// and values, and the tables of the configuration sheet read back cell by cell.
#include "image/presets.h"
#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "lang/messagetable.h"
#include "report/differences.h"
#include "report/sheet.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

using namespace q7x;
using image::DeviceModel;
using Row = report::DifferenceRow;

namespace {

const QString LibraryDir = QStringLiteral(Q7X_LANGUAGE_LIBRARY_DIR);
QString S(const char *utf8) { return QString::fromUtf8(utf8); }

const Row *find(const QList<Row> &rows, const char *key, Row::Kind kind = Row::Kind::Differs) {
    for (const Row &r : rows)
        if (r.key == QLatin1String(key) && r.kind == kind)
            return &r;
    return nullptr;
}

// The tables of a sheet, row by row, each row its cells' texts (a spanned cell in each of its
// columns).
using Table = QList<QStringList>;
QList<Table> tables(const QString &html) {
    QTextDocument doc;
    doc.setHtml(html);
    QList<Table> out;
    for (QTextFrame *frame : doc.rootFrame()->childFrames())
        if (auto *t = qobject_cast<QTextTable *>(frame)) {
            Table table;
            for (int r = 0; r < t->rows(); ++r) {
                QStringList cells;
                for (int c = 0; c < t->columns(); ++c) {
                    const QTextTableCell cell = t->cellAt(r, c);
                    QTextCursor cursor = cell.firstCursorPosition();
                    cursor.setPosition(cell.lastCursorPosition().position(),
                                       QTextCursor::KeepAnchor);
                    cells << cursor.selectedText();
                }
                table << cells;
            }
            out << table;
        }
    return out;
}

// The first table with a row that starts with `cells`.
const Table *tableWith(const QList<Table> &all, const QStringList &cells) {
    for (const Table &t : all)
        for (const QStringList &row : t)
            if (row.mid(0, cells.size()) == cells)
                return &t;
    return nullptr;
}

// The first table whose heading row names `heading`.
const Table *headed(const QList<Table> &all, const QString &heading) {
    for (const Table &t : all)
        if (!t.isEmpty() && t.first().contains(heading))
            return &t;
    return nullptr;
}

} // namespace

class TstWords : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(lang::LoadMessageTable(lang::LangEnglish, LibraryDir));
        m_words = std::make_unique<report::FieldWords>(
            lang::WindowTexts::load(lang::LangEnglish, LibraryDir));
    }
    void comparisonRowsInWords();
    void valuesAndCaptionsInWords();
    void sheetTables();

  private:
    std::unique_ptr<report::FieldWords> m_words;
};

// A file that differs in a few settings, has a damaged field, and a window value that cannot be
// written: one row each, in words, grouped page by page in the window's order.
void TstWords::comparisonRowsInWords() {
    image::Q72Settings window = image::decodeQ72(image::presetImage(DeviceModel::Q72, 1)).settings;
    window.blitzCodes[4] = QStringLiteral("511"); // reads back as no code
    image::ConfigImage file = image::presetImage(DeviceModel::Q72, 1);
    file[10] = 0x04; // recipient 3: tone
    file[6] = 0x12;  // PIN 1234
    file[7] = 0x34;
    file[211] = 0x71; // partition 2 on object 7, still partition number 2
    file[196] = 3;    // partition 5 carries group 3, its object unchanged
    file[173] = 5;    // line test period: no such code
    const auto decoded = image::decodeQ72(file);
    QCOMPARE(decoded.errors.size(), 1);
    QList<image::FieldError> errors; // as the sheet of a stored image reports them
    report::decodeConfiguration(DeviceModel::Q72, file, &errors);
    QVERIFY(errors.size() == 1 && errors[0].keys == QStringList{"testLine"});

    for (bool device : {false, true}) {
        const QList<Row> rows = report::differenceRows(window, decoded, *m_words, device);
        QCOMPARE(rows.size(), 6);
        const Row *type = find(rows, "recipients.3.notification");
        QVERIFY(type);
        QCOMPARE(type->page, S("Message recipients / Notification types"));
        QCOMPARE(type->setting, S("Notification type 3"));
        QCOMPARE(type->window, S("Voice"));
        QCOMPARE(type->other, S("Tone"));
        QCOMPARE(type->control, S("TypeMesgGSM3"));
        const Row *pin = find(rows, "pin");
        QVERIFY(pin && pin->window.isEmpty() && pin->other == S("1234"));
        QCOMPARE(pin->setting, S("PIN code"));
        const Row *object = find(rows, "partitions.2.object");
        QVERIFY(object && object->window == S("1") && object->other == S("7"));
        // A group that differs alone is named after its partition's object and the page's row.
        const Row *group = find(rows, "partitions.5.group");
        QVERIFY(group && group->window == S("1") && group->other == S("3"));
        QCOMPARE(group->setting, S("Object account No. 5 / Object"));
        QVERIFY(!find(rows, "partitions.2.group"));

        const Row *damaged = find(rows, "testLine", Row::Kind::Damaged);
        QVERIFY(damaged);
        QCOMPARE(damaged->setting, S("Communication channel test"));
        QCOMPARE(damaged->page, S("Reporting periods"));
        QCOMPARE(damaged->other, lang::M(device ? 1722 : 1714));
        const Row *unstorable = find(rows, "blitzCodes.5", Row::Kind::Unstorable);
        QVERIFY(unstorable);
        QVERIFY2(unstorable->window.startsWith(S("Cannot be written: ")) &&
                     unstorable->window.contains(S("511")),
                 qPrintable(unstorable->window));
        QCOMPARE(unstorable->other, QString());

        // Page by page, in the order of the window's pages.
        QList<QStringList> order;
        for (const auto &f : image::catalogueQ72())
            if (!order.contains(f.pages))
                order << f.pages;
        for (int i = 1; i < rows.size(); ++i)
            QVERIFY(order.indexOf(rows[i - 1].pages) <= order.indexOf(rows[i].pages));
    }
}

// Values as the window shows them: list items and flags in the interface language, secrets
// masked on request, and captions a library lacks named by their control.
void TstWords::valuesAndCaptionsInWords() {
    image::Q72Settings s;
    s.recipients[0].confirm = true;
    s.recipients[1].notification = 10;
    const auto field = [](const char *key) {
        for (const auto &f : image::catalogueQ72())
            if (f.key == QLatin1String(key))
                return f;
        qFatal("no field %s", key);
    };
    QCOMPARE(m_words->value(field("recipients.1.confirm"), s), S("yes"));
    QCOMPARE(m_words->value(field("recipients.2.confirm"), s), S("no"));
    QCOMPARE(m_words->value(field("recipients.2.notification"), s), S("SMS-Blitz"));
    QCOMPARE(m_words->value(field("partitions.3.object"), s), S("---"));
    QCOMPARE(m_words->value(field("pin"), s, false), QString());
    s.pin = QStringLiteral("1_3_");
    QCOMPARE(m_words->value(field("pin"), s, false), S(report::MaskedSecret));
    QCOMPARE(m_words->value(field("pin"), s, true), S("1_3_"));
    QCOMPARE(m_words->label(field("recipients.8.events.12"), s),
             S("Recipients: 8 / Power trouble/ Power restored (equipment)"));

    const report::FieldWords bare{lang::WindowTexts()};
    QCOMPARE(bare.text(QStringLiteral("rsMainForm_Label20_Caption")), S("Label20"));
    QCOMPARE(bare.value(field("recipients.1.confirm"), s), S("да")); // the window's own item
    QCOMPARE(bare.label(field("recipients.3.phone"), s), S("Label20 3"));
    QCOMPARE(bare.pages({QStringLiteral("TabSheet2"), QStringLiteral("TabSheet10")}),
             S("TabSheet2 / TabSheet10"));
}

// The sheet's tables: numbered families as a row per member, grids of boxes with a tick where a
// box is ticked, a row of boxes as a strip under its numbers, plain settings as caption and
// value, and only the object groups a partition uses.
void TstWords::sheetTables() {
    image::Q72Settings s = image::decodeQ72(image::presetImage(DeviceModel::Q72, 1)).settings;
    s.recipients[2].phone = QStringLiteral("+79031234567____");
    for (auto &r : s.recipients)
        r.events.fill(false);
    s.recipients[0].events[0] = s.recipients[7].events[11] = true;
    s.recipients[7].partitions[15] = true;
    s.relay.partitions.fill(false);
    s.relay.partitions[0] = s.relay.partitions[15] = true;
    s.pin = QStringLiteral("4711");
    for (int p = 0; p < 16; ++p)
        s.partitions[p].object = p == 0 ? 12 : 0;
    report::SheetOptions o;
    o.language = lang::LangEnglish;
    o.firmware = S("Firmware 2.07");
    o.fileName = S("/srv/site/branch-7.cfg");
    const QString html = report::sheetHtml(s, o, *m_words);
    QVERIFY(html.contains(S("<br>Configuration file: /srv/site/branch-7.cfg<br>")));
    QVERIFY(html.contains(S("<p>Firmware 2.07<br>")));
    const QList<Table> all = tables(html);

    const Table *phones = headed(all, S("Recipient phone number"));
    QVERIFY(phones && !phones->isEmpty());
    const int column = phones->first().indexOf(S("Recipient phone number"));
    QVERIFY(column > 0);
    QCOMPARE(phones->size(), 9);
    for (int r = 1; r <= 8; ++r) {
        QCOMPARE(phones->at(r).first(), QString::number(r));
        QCOMPARE(phones->at(r).at(column), r == 3 ? S("+79031234567____") : QString());
    }

    const QString tick = S("✓");
    // The recipients' partitions: a row per partition, a column per recipient.
    const Table *partitions = tableWith(all, {S("16")});
    QVERIFY(partitions && partitions->size() == 18);
    QCOMPARE(partitions->at(1).first(), S("Partitions/Zones"));
    // Objects and partition numbers; the groups the window derives from the objects are no column.
    const Table *objects = headed(all, S("Object account No."));
    QVERIFY(objects && objects->first().count(S("Object account No.")) == 1);
    QCOMPARE(partitions->last(), (QStringList{"16", {}, {}, {}, {}, {}, {}, {}, tick}));

    const Table *events = tableWith(all, {S("Alarm/ Fire (partitions/zones)")});
    QVERIFY(events);
    QCOMPARE(events->at(0).at(1), S("Recipients:"));
    QCOMPARE(events->at(1), (QStringList{QString(), "1", "2", "3", "4", "5", "6", "7", "8"}));
    for (const QStringList &row : events->mid(2)) {
        QStringList want(9);
        want[0] = row[0];
        if (row[0] == S("Alarm/ Fire (partitions/zones)"))
            want[1] = tick;
        if (row[0] == S("Power trouble/ Power restored (equipment)"))
            want[8] = tick;
        QCOMPARE(row, want);
    }
    QCOMPARE(events->size(), 14);

    const Table *strip = tableWith(all, {S("Linked to partitions No.:")});
    QVERIFY(strip && strip->size() == 2);
    QCOMPARE(strip->at(0).mid(1, 16).join(u' '), S("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16"));
    QStringList ticks(17);
    ticks[0] = S("Linked to partitions No.:");
    ticks[1] = ticks[16] = tick;
    QCOMPARE(strip->at(1), ticks);

    QVERIFY(tableWith(all, {S("PIN code"), S(report::MaskedSecret)}));
    o.includePasswords = true;
    const QList<Table> shown = tables(report::sheetHtml(s, o, *m_words));
    QVERIFY(tableWith(shown, {S("PIN code"), S("4711")}));
    // One object group in use: one row, named by its object.
    const Table *groups = headed(all, S("Object"));
    QVERIFY(groups);
    QCOMPARE(groups->size(), 2);
    QCOMPARE(groups->at(1).first(), S("12"));
}

QTEST_MAIN(TstWords)
#include "tst_words.moc"
