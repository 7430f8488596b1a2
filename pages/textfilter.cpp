#include "pages/textfilter.h"

namespace q7x::pages {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

void keepOnly(Edit *edit, const std::function<bool(QChar)> &allowed) {
    const QString text = edit->text();
    QString clean;
    clean.reserve(text.size());
    int caret = edit->cursorPosition();
    for (int i = 0; i < text.size(); ++i) {
        if (allowed(text[i]))
            clean += text[i];
        else if (i < edit->cursorPosition())
            --caret;
    }
    if (clean == text)
        return;
    edit->setText(clean); // runs the change handler again, which now finds nothing to remove
    edit->setCursorPosition(qBound(0, caret, static_cast<int>(clean.size())));
}

} // namespace q7x::pages
