#pragma once
// Small helpers of the two bindings: setting and reading controls the way an image read needs
// it, and relay 1, which both models show alike. Internal to the pages library.
#include "pages/binding.h"

namespace q7x::pages::binding {

inline QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// Selects `item` when the list has it; NoItem or any other value leaves the list as it was.
inline void setIndex(ComboBox *list, int item) {
    if (item >= 0 && item < list->count())
        list->setItemIndex(item);
}

// Lists whose first item is the "set" state ("да", "срочное", "Включен", "по команде" ...).
inline void setFirstIfSet(ComboBox *list, bool set) { list->setItemIndex(set ? 0 : 1); }
inline bool firstSelected(const Controls &c, const QString &name) {
    return c.combo(name)->itemIndex() == 0;
}
inline int index(const Controls &c, const char *name) { return c.combo(S(name))->itemIndex(); }
inline int index(const Controls &c, const char *prefix, int i) {
    return c.combo(S(prefix), i)->itemIndex();
}

// Shows a text with "_" in blank positions in a masked field. The blank character itself keeps
// every digit at its position; a space would let the mask move later digits left ("1_3_" would
// show as "13__" and be written back as another PIN).
inline void setMaskText(MaskEdit *field, const QString &text) { field->QLineEdit::setText(text); }
// A masked field's text with no digit at all is an empty setting.
QString maskSetting(const MaskEdit *field);

// Relay 1: applies the relay mode the settings match (its click rule sets the mode's fixed
// settings), the five equipment boxes, and in the special mode every relay control.
void applyRelay(FormBase &form, const image::Relay1Settings &r);
void applyRelayPartitions(const Controls &c, const image::Relay1Settings &r);
image::Relay1Settings gatherRelay(const FormBase &form);

} // namespace q7x::pages::binding
