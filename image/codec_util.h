#pragma once
// Small helpers shared by the two codecs and the file commands: reading and setting controls the
// way the codecs need it. Internal to the codec library.
#include "image/convert.h"
#include "image/layout.h"
#include "pages/formbase.h"

#include <QString>

namespace q7x::image::detail {

using pages::CheckBox;
using pages::ComboBox;
using pages::Controls;
using pages::FormBase;

inline QString S(const char *utf8) { return QString::fromUtf8(utf8); }

inline bool bit(std::uint8_t byte, int k) { return (byte >> k & 1) != 0; }

// Selects `value` when the list has such an item; any other value leaves the list as it was, so
// a stored value outside the list never leaves a list without a selection.
inline void setIndex(ComboBox *list, int value) {
    if (value >= 0 && value < list->count())
        list->setItemIndex(value);
}

// Lists whose first item is the "set" state ("да", "срочное", "Включен", "по команде" ...).
inline void setFirstIfSet(ComboBox *list, bool set) { list->setItemIndex(set ? 0 : 1); }

inline int index(const Controls &c, const char *name) { return c.combo(S(name))->itemIndex(); }
inline int index(const Controls &c, const char *prefix, int i) {
    return c.combo(S(prefix), i)->itemIndex();
}
// Shows a text with "_" in blank positions in a masked field. The blank character itself keeps
// every digit at its position; a space would let the mask move later digits left ("1_3_" would
// show as "13__" and be written back as another PIN).
inline void setMaskText(pages::MaskEdit *field, const QString &text) {
    field->QLineEdit::setText(text);
}

inline bool checked(const Controls &c, const QString &name) { return c.check(name)->isChecked(); }

// The relay 1 controls shared by both models; `bits` are the five fault check boxes that keep
// their own bits whatever the relay mode.
struct RelayBits {
    bool radioChanBlck = false, damageCD = false, errorInterface = false, noLine = false,
         powerCD = false;
};
void decodeRelay(FormBase &form, const RelaySettings &s, const RelayBits &bits);

// The settings of the relay page as the encoders read them.
struct RelayControls {
    RelaySettings s;
    RelayBits bits;
    bool releControlByCommand = false; // ReleControl1 item 0
};
RelayControls readRelay(const FormBase &form);

// Where a layout keeps relay 1's partitions (`iz1`: bit p-1 of one byte for partitions 1..8, bit
// p-9 of another for 9..16) and its five fault bits.
struct RelayLayout {
    int partitions1, partitions9;
    BitRef radioChanBlck, damageCD, errorInterface, noLine, powerCD;
};
void decodeRelayPartitions(const Controls &c, const ConfigImage &img, const RelayLayout &at);
void encodeRelayPartitions(const Controls &c, ConfigImage &img, const RelayLayout &at);
RelayBits relayBits(const ConfigImage &img, const RelayLayout &at);
void encodeRelayBits(ConfigImage &img, const RelayLayout &at, const RelayBits &bits);

// A clear text for a value of the window that the encoder cannot store.
QString fieldError(const QString &field, const ConvertError &e);

} // namespace q7x::image::detail
