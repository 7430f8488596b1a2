// The sheet's rich text, laid out from the shape of the catalogue's keys: "pin" is a plain
// setting, "recipients.3.phone" and "blitzCodes.7" members of numbered families, and
// "recipients.2.partitions.16" a cell of a grid.
#include "report/sheet.h"

#include "lang/ini.h"
#include "lang/messagetable.h"

#include <algorithm>

namespace q7x::report {

namespace {

QString esc(const QString &s) { return s.toHtmlEscaped(); }

QString th(const QString &s, const QString &attributes = {}) {
    return QStringLiteral("<th%1>%2</th>").arg(attributes, esc(s));
}
QString td(const QString &s) { return QStringLiteral("<td>%1</td>").arg(esc(s)); }
QString rowName(const QString &s) { return th(s, QStringLiteral(" align=\"left\"")); }

// A field of a section with the numbers of its key.
struct Member {
    int field = 0;
    QList<int> numbers;
};

// Fields whose keys differ only in their numbers ("recipients.#.phone").
struct Family {
    QString pattern;
    QList<Member> members;
    int dimensions() const { return members.isEmpty() ? 0 : int(members[0].numbers.size()); }
    QList<int> numbers(int dimension) const {
        QList<int> out;
        for (const Member &m : members)
            if (!out.contains(m.numbers.value(dimension)))
                out << m.numbers.value(dimension);
        std::sort(out.begin(), out.end());
        return out;
    }
};

struct Section {
    QStringList pages;
    QList<Family> families;
};

template <class S> class SheetBuilder {
  public:
    SheetBuilder(const QList<image::CatalogueField<S>> &fields, const S &s, const FieldWords &w,
                 bool showSecrets)
        : m_fields(fields), m_s(s), m_words(w), m_showSecrets(showSecrets) {}

    QString build() {
        QString html;
        for (const Section &section : sections()) {
            html += QStringLiteral("<h2>%1</h2>\n").arg(esc(m_words.pages(section.pages)));
            const QList<Family> &fams = section.families;
            for (int i = 0; i < fams.size();) {
                int end = i + 1;
                if (fams[i].dimensions() == 0) {
                    while (end < fams.size() && fams[end].dimensions() == 0)
                        ++end;
                    html += listTable(fams.mid(i, end - i));
                } else if (fams[i].dimensions() == 1) {
                    while (end < fams.size() && fams[end].dimensions() == 1 &&
                           fams[end].numbers(0) == fams[i].numbers(0))
                        ++end;
                    html += rowTable(fams.mid(i, end - i));
                } else if (fams[i].dimensions() == 2) {
                    html += grid(fams[i]);
                } else {
                    html += listTable({fams[i]});
                }
                i = end;
            }
        }
        return html;
    }

  private:
    const image::CatalogueField<S> &field(const Member &m) const { return m_fields[m.field]; }

    QList<Section> sections() const {
        QList<Section> out;
        for (int i = 0; i < m_fields.size(); ++i) {
            const auto &f = m_fields[i];
            // A value the window derives and shows nowhere is not a setting of the sheet.
            if (f.control(m_s).isEmpty() || !shown(f))
                continue;
            auto section = std::find_if(out.begin(), out.end(),
                                        [&](const Section &x) { return x.pages == f.pages; });
            if (section == out.end())
                section = out.insert(out.end(), Section{f.pages, {}});
            Member member{i, {}};
            QStringList pattern;
            for (const QString &part : f.key.split(QLatin1Char('.'))) {
                bool number = false;
                const int n = part.toInt(&number);
                if (number)
                    member.numbers << n;
                pattern << (number ? QStringLiteral("#") : part);
            }
            const QString key = pattern.join(QLatin1Char('.'));
            auto family = std::find_if(section->families.begin(), section->families.end(),
                                       [&](const Family &x) { return x.pattern == key; });
            if (family == section->families.end())
                family = section->families.insert(section->families.end(), Family{key, {}});
            family->members << member;
        }
        return out;
    }

    // Rows of object groups that no partition uses are hidden in the window, and here.
    bool shown(const image::CatalogueField<S> &f) const {
        if constexpr (std::is_same_v<S, image::Q72Settings>)
            if (f.key.startsWith(QLatin1String("groups.")))
                return objectOfGroup(m_s, f.key.section(QLatin1Char('.'), 1, 1).toInt()) > 0;
        return true;
    }

    // A check box in a grid is a tick or nothing; other values as the window shows them.
    QString cell(const Member &m) const {
        const auto &f = field(m);
        if (f.kind == image::FieldKind::Flag)
            return f.get(m_s).toBool() ? QStringLiteral("✓") : QString();
        return m_words.value(f, m_s, m_showSecrets);
    }

    QList<CaptionPart> parts(const Member &m) const { return m_words.captions(field(m), m_s); }

    // Caption positions whose text is not the same for every member of the family.
    QList<bool> varying(const Family &family) const {
        QList<bool> out;
        const QList<CaptionPart> first = parts(family.members[0]);
        for (int pos = 0; pos < first.size(); ++pos) {
            bool differs = false;
            for (const Member &m : family.members)
                differs = differs || parts(m).value(pos).text != first[pos].text;
            out << differs;
        }
        return out;
    }

    QStringList constantTexts(const Family &family) const {
        QStringList out;
        const QList<bool> vary = varying(family);
        const QList<CaptionPart> first = parts(family.members[0]);
        for (int pos = 0; pos < first.size(); ++pos)
            if (!vary[pos] && !first[pos].text.isEmpty())
                out << first[pos].text;
        return out;
    }

    // Caption and value a row. Rows in a run that share their first caption (a group of the
    // window) are put under it.
    QString listTable(const QList<Family> &families) const {
        QList<Member> members;
        for (const Family &family : families)
            members << family.members;
        auto group = [&](int i) {
            const QList<CaptionPart> p = parts(members[i]);
            return p.size() > 1 ? p[0] : CaptionPart{};
        };
        QString rows;
        for (int i = 0; i < members.size(); ++i) {
            const CaptionPart g = group(i);
            const bool run = !g.text.isEmpty() && ((i + 1 < members.size() && group(i + 1) == g) ||
                                                   (i > 0 && group(i - 1) == g));
            if (run && (i == 0 || group(i - 1) != g))
                rows += QStringLiteral("<tr>%1</tr>\n")
                            .arg(th(joinCaptions({g}),
                                    QStringLiteral(" colspan=\"2\" align=\"left\"")));
            const QList<CaptionPart> p = parts(members[i]);
            rows += QStringLiteral("<tr>%1%2</tr>\n")
                        .arg(td(joinCaptions(run ? p.mid(1) : p)), td(cell(members[i])));
        }
        return table(QStringLiteral("<tr>%1%2</tr>").arg(th(lang::M(1706)), th(lang::M(1705))),
                     rows);
    }

    // Families numbered alike as one table: a row per number, a column per family. Captions
    // that change from row to row name the rows; those of a family name its column; those every
    // family shares head the row names.
    QString rowTable(const QList<Family> &families) const {
        if (families.size() == 1 && strip(families[0]))
            return stripTable(families[0]);
        QStringList corner;
        if (families.size() > 1) {
            corner = constantTexts(families[0]);
            for (const Family &family : families.mid(1)) {
                const QStringList own = constantTexts(family);
                corner.removeIf([&](const QString &t) { return !own.contains(t); });
            }
        }
        QString head = th(corner.join(QStringLiteral(" / ")));
        for (const Family &family : families) {
            QStringList own = constantTexts(family);
            own.removeIf([&](const QString &t) { return corner.contains(t); });
            head += th(own.isEmpty() ? lang::M(1705) : own.join(QStringLiteral(" / ")));
        }
        QList<QList<bool>> vary;
        for (const Family &family : families)
            vary << varying(family);
        QString rows;
        for (int number : families[0].numbers(0)) {
            QStringList name;
            QString cells;
            for (int k = 0; k < families.size(); ++k) {
                const Family &family = families[k];
                const auto m =
                    std::find_if(family.members.begin(), family.members.end(),
                                 [&](const Member &x) { return x.numbers[0] == number; });
                if (m == family.members.end()) {
                    cells += td({});
                    continue;
                }
                const QList<CaptionPart> p = parts(*m);
                for (int pos = 0; pos < p.size(); ++pos) {
                    QString piece = vary[k].value(pos) ? p[pos].text : QString();
                    if (p[pos].number > 0)
                        piece = joinCaptions({{piece, p[pos].number}}).trimmed();
                    if (!piece.isEmpty() && !name.contains(piece))
                        name << piece;
                }
                cells += td(cell(*m));
            }
            rows += QStringLiteral("<tr>%1%2</tr>\n")
                        .arg(rowName(name.join(QStringLiteral(" / "))), cells);
        }
        return table(QStringLiteral("<tr>%1</tr>").arg(head), rows);
    }

    // A numbered row of check boxes named by one caption (the relay's partitions) reads best as
    // one line of ticks under the numbers.
    bool strip(const Family &family) const {
        return field(family.members[0]).kind == image::FieldKind::Flag &&
               !varying(family).contains(true);
    }

    QString stripTable(const Family &family) const {
        QString head = th({});
        QString cells = rowName(constantTexts(family).join(QStringLiteral(" / ")));
        for (const Member &m : family.members) {
            head += th(QString::number(m.numbers[0]));
            cells += td(cell(m));
        }
        return table(QStringLiteral("<tr>%1</tr>").arg(head),
                     QStringLiteral("<tr>%1</tr>\n").arg(cells));
    }

    // A grid of check boxes: the numbered dimension whose captions change (event types, dial
    // groups) gives the rows; without one, the longer dimension does, so that the grid stays
    // narrow.
    QString grid(const Family &family) const {
        const QList<bool> vary = varying(family);
        int rowDim = 0;
        if (vary.value(1) && !vary.value(0))
            rowDim = 1;
        else if (!vary.value(0) && family.numbers(1).size() > family.numbers(0).size())
            rowDim = 1;
        const int colDim = 1 - rowDim;
        const QList<CaptionPart> first = parts(family.members[0]);
        const QString corner = vary.value(rowDim) ? QString() : first.value(rowDim).text;
        const QString colTitle = vary.value(colDim) ? QString() : first.value(colDim).text;
        const QList<int> cols = family.numbers(colDim);
        auto memberAt = [&](int row, int col) -> const Member * {
            for (const Member &m : family.members)
                if (m.numbers[rowDim] == row && m.numbers[colDim] == col)
                    return &m;
            return nullptr;
        };
        QString head;
        if (!colTitle.isEmpty())
            head =
                QStringLiteral("<tr>%1%2</tr>")
                    .arg(th({}), th(colTitle, QStringLiteral(" colspan=\"%1\"").arg(cols.size())));
        head += QStringLiteral("<tr>") + th(corner);
        for (int col : cols) {
            const Member *m = memberAt(family.numbers(rowDim).value(0), col);
            head +=
                th(m && vary.value(colDim) ? parts(*m).value(colDim).text : QString::number(col));
        }
        head += QStringLiteral("</tr>");
        QString rows;
        for (int row : family.numbers(rowDim)) {
            const Member *named = memberAt(row, cols.value(0));
            const QString name = named && vary.value(rowDim) ? parts(*named).value(rowDim).text
                                                             : QString::number(row);
            rows += QStringLiteral("<tr>") + rowName(name);
            for (int col : cols) {
                const Member *m = memberAt(row, col);
                rows += td(m ? cell(*m) : QString());
            }
            rows += QStringLiteral("</tr>\n");
        }
        return table(head, rows);
    }

    static QString table(const QString &head, const QString &rows) {
        return QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" "
                              "cellpadding=\"2\"><thead>%1</thead>\n%2</table>\n")
            .arg(head, rows);
    }

    const QList<image::CatalogueField<S>> &m_fields;
    const S &m_s;
    const FieldWords &m_words;
    bool m_showSecrets;
};

} // namespace

QString modelName(const Configuration &c) {
    return lang::M(std::holds_alternative<image::Q71Settings>(c) ? 1238 : 1237);
}

QString sheetDate(const QDateTime &when, const QString &language) {
    const QLocale locale = language == lang::LangEnglish   ? QLocale(QLocale::English)
                           : language == lang::LangTurkish ? QLocale(QLocale::Turkish)
                                                           : QLocale(QLocale::Russian);
    return locale.toString(when, QLocale::ShortFormat);
}

QString sheetHtml(const Configuration &c, const SheetOptions &o, const FieldWords &words) {
    QString html = QStringLiteral(
        "<html><head><style>"
        "h1 { font-size: 14pt; } "
        "h2 { font-size: 11pt; margin-top: 12px; margin-bottom: 4px; } "
        "th { background-color: #e8e8e8; font-weight: normal; } "
        "table { border-collapse: collapse; border-color: #808080; margin-bottom: 4px; }"
        "</style></head><body>\n");
    html += QStringLiteral("<h1>%1</h1>\n<p>").arg(esc(lang::FormatM(1700, modelName(c))));
    QStringList heading;
    if (!o.firmware.isEmpty())
        heading << o.firmware;
    heading << lang::FormatM(1701, sheetDate(o.created, o.language));
    if (!o.fileName.isEmpty())
        heading << lang::FormatM(1702, o.fileName);
    if (!o.includePasswords)
        heading << lang::M(1703);
    for (QString &line : heading)
        line = esc(line);
    html += heading.join(QStringLiteral("<br>")) + QStringLiteral("</p>\n");
    if (const auto *q72 = std::get_if<image::Q72Settings>(&c))
        html += SheetBuilder(image::catalogueQ72(), *q72, words, o.includePasswords).build();
    else
        html += SheetBuilder(image::catalogueQ71(), std::get<image::Q71Settings>(c), words,
                             o.includePasswords)
                    .build();
    return html + QStringLiteral("</body></html>\n");
}

} // namespace q7x::report
