#pragma once
// Whether a person can reach a settings control of the window as the form stands: its page is
// among the tabs, and neither the control nor the panel or group box that holds it is hidden or
// disabled by the rules. An edit of a control out of reach is one the window does not offer, so
// a tool that makes edits as a person does (q7xctl set) refuses it.
#include "image/form.h"

namespace q7x::image {

bool reachable(const Form &f, const QString &control);

} // namespace q7x::image
