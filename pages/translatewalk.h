#pragma once
// The translation walk over the window's controls. Window texts are not looked up by name: the
// text library holds them as a numbered sequence, and the number of a text is its position in
// this walk. The same walk numbers the texts when a translation table is generated, so the two
// always agree.
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

#include <optional>

namespace q7x::lang {
class ResourceLibrary;
class WindowTexts;
} // namespace q7x::lang

namespace q7x::pages {

// True for texts that are never translated and take no number: texts that convert completely to
// an integer ("12", "-3"), the empty text, " ", "0 ", " 0", "0  " and six spaces.
bool IsFixedText(const QString &text);

// Called for every text the walk numbers, with the number, the text's identifier ("rs" + form +
// "_" + component + "_Caption" / "_Text" / "_Item" k) and its current text. A non-empty result
// different from the current text replaces it; an empty result keeps it.
using TextVisitor =
    std::function<QString(int textId, const QString &identifier, const QString &current)>;

// Walks the forms in order (a form is a widget whose "vclClass" contains "Form") and their
// controls in ownership order, numbering texts from 1. Returns the count of numbered texts.
int WalkForms(const QList<QWidget *> &forms, const TextVisitor &visit);

// Replaces the texts of the forms with strings of the text library (at most 99 characters).
// Missing strings keep the built-in texts without shifting later numbers.
void TranslateForms(const QList<QWidget *> &forms, const lang::ResourceLibrary &texts);

// The start-up translation: for the stored language, loads its text and message libraries from
// the folder (the executable's folder when empty), translates the forms and fills
// MessageTable(). An unknown language changes nothing.
void TranslateWindow(const QList<QWidget *> &forms, const QString &folder = {});

// Puts the logo of the stored language into the picture. An unknown language keeps the built-in
// picture; a known language whose library or bitmap is missing leaves the picture empty.
void LoadLogo(QLabel *picture, const QString &folder = {});

// The start-up translation of a window whose pages are built when they are first shown. Fills
// MessageTable() and translates what is built of `window` by the identifiers of its texts, which
// the text library's index names; returns those texts for the pages built later. When the
// library has no index (or the table generator intercepts the translation), `buildAll` builds
// every page first and the window is translated as TranslateWindow() does; then none are
// returned, and none when the language has no libraries.
std::optional<lang::WindowTexts> TranslateWindowByIdentifier(QWidget *window,
                                                             const std::function<void()> &buildAll,
                                                             const QString &folder = {});

// Translates the controls below `root`, a part of `form` built after the start-up translation,
// by the identifiers of their texts.
void TranslateByIdentifier(QWidget *root, const QString &form, const lang::WindowTexts &texts);

// While set, TranslateWindow() hands the forms to this function instead of translating them:
// the table generator uses it to see the window exactly as the start-up translation sees it.
void SetTranslationInterceptor(std::function<void(const QList<QWidget *> &forms)> interceptor);

} // namespace q7x::pages
