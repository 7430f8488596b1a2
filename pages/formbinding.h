#pragma once
// The window's side of its model (image/form.h): what every settings control shows, read into a
// form, and a form shown on the controls.
#include "image/form.h"
#include "pages/formbase.h"

namespace q7x::pages {

// The form the window shows now: its built pages' controls, and the model for the others.
image::Form readForm(const FormBase &window);
// Reads what the built controls within `within` (every built control when null) show into `form`.
void readControls(const FormBase &window, image::Form &form, const QWidget *within);

// Shows `after` on the controls that showed `before`: only what differs is set. The field named
// `typed`, whose change rule filtered what the user typed, keeps its caret among the characters
// that stayed. The window's own handlers must not run meanwhile (FormBase::runRules sees to it).
void showForm(FormBase &window, const image::Form &before, const image::Form &after,
              const QString &typed = {});

// The setting a masked field's text holds: the number or PIN as dialled, without the mask's
// blanks after the last digit ("" when it has no digit).
QString maskSettingOf(const QString &maskText);

// The text of a notice of the rules in the window's language: a message of the message table, or
// a check of a read image named by the captions of its labels.
QString noticeText(const FormBase &window, const image::FormNotice &notice);
QString noticeCaption(const FormBase &window, const image::FormNotice &notice);

} // namespace q7x::pages
