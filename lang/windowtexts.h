#pragma once
// The window's texts by identifier ("rsMainForm_Label2_Caption"), read from the language libraries
// without building the window: for what names settings as the window does (the comparison, the
// printed configuration sheet, the command line). A text library carries its numbered strings and,
// as the raw data resource TextIndexResource, the identifiers of those numbers: one a line, the
// line k naming string k + 1.
#include <QHash>
#include <QString>

namespace q7x::lang {

class ResourceLibrary;

inline constexpr const char *TextIndexResource = "IDENTIFIERS";

class WindowTexts {
  public:
    // The texts of a text library; none when it carries no index.
    static WindowTexts fromLibrary(const ResourceLibrary &library);
    // The texts of the language as the window shows them: its own text library, and the Russian
    // one for what that lacks (a language other than the three shows the Russian window). The
    // libraries come from the folder, or from where the program finds its shipped files.
    static WindowTexts load(const QString &language, const QString &folder = {});

    // The text of the identifier; empty when no library gave it.
    QString text(const QString &identifier) const { return m_texts.value(identifier); }
    void insert(const QString &identifier, const QString &text) {
        m_texts.insert(identifier, text);
    }
    int size() const { return int(m_texts.size()); }

  private:
    QHash<QString, QString> m_texts;
};

} // namespace q7x::lang
