#pragma once
// The window's side of its model (image/form.h): what every settings control shows, read into a
// form, and a form shown on the controls.
#include "image/form.h"
#include "image/formcontrols.h"
#include "pages/formbase.h"

namespace q7x::pages {

// Reads what the built controls within `within` (every built control when null) show into `form`:
// a page as it was built, before it shows the model.
void readControls(const FormBase &window, image::Form &form, const QWidget *within);
// Reads what the built controls within `within` (every built control when null) show of the
// view: visible and enabled, tabs, object captions, the object lists' range, the SMS-Blitz items.
void readView(const FormBase &window, image::FormView &view, const QWidget *within);
// Reads the value a settings control shows into its field of `values`.
void readValue(const image::ValueControl &control, const QWidget *widget,
               image::FormSettings &values);

// Shows `after` on the controls that showed `before`: only what differs is set. The field named
// `typed`, whose change rule filtered what the user typed, keeps its caret among the characters
// that stayed. The window's own handlers must not run meanwhile (FormBase::runRules sees to it).
void showForm(FormBase &window, const image::Form &before, const image::Form &after,
              const QString &typed = {});

// The setting a masked field's text holds: the number or PIN as dialled, without the mask's
// blanks after the last digit ("" when it has no digit).
QString maskSettingOf(const QString &maskText);

// The image bytes 0..299 as a listing, one decimal number a line.
void listImage(Memo *memo, const image::ConfigImage &img);

// The text of a notice of the rules in the window's language: a message of the message table, or
// a check of a read image named by the captions of its labels.
QString noticeText(const FormBase &window, const image::FormNotice &notice);
QString noticeCaption(const FormBase &window, const image::FormNotice &notice);

} // namespace q7x::pages
