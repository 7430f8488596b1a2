#pragma once
// Keeps only the allowed characters of an edit's text, with the caret where the user left it.
#include "pages/controls.h"

#include <functional>

namespace q7x::pages {

void keepOnly(Edit *edit, const std::function<bool(QChar)> &allowed);
bool isDigit(QChar c);

} // namespace q7x::pages
