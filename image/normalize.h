#pragma once
// What the window makes of a configuration it loads, as a pure function: the page rules that run
// while a file is read into the window change some values, and the window stores the values it
// shows. normalize() gives the settings the window would store after loading `s`, so a tool that
// writes a file to a device sends the bytes the window's Write would send after Load.
//
// Where the window would keep something of its own rather than a value of the file, the window
// is taken to show the factory settings, as after start-up or Default: the name language 0, no
// recipient with a combined GSM type, no user names and no remote command ticked. Values that no
// list item shows (the window keeps its current choice for them) are found by unshownValues();
// a tool refuses such a file rather than guess.
#include "image/catalogue.h"
#include "image/settings.h"

#include <optional>

namespace q7x::image {

Q72Settings normalizeQ72(Q72Settings s);
// Also clears the partitions of recipients without a telephone number, as the window does when
// it stores the configuration.
Q71Settings normalizeQ71(Q71Settings s);

// Catalogue keys of the settings whose value no item of their list shows, in catalogue order.
// The Q71 inputs count only in work mode 0, where they are stored.
QStringList unshownValues(const Q72Settings &s);
QStringList unshownValues(const Q71Settings &s);

// The image the window's Write sends after Load of `image` of `model`, stamped with the interface
// language: refused (error set, key naming the field) when the decoder finds a bad field, when a
// value has no item to show it, or when the encoder cannot store a value.
Encoded imageToWrite(DeviceModel model, const ConfigImage &image,
                     std::optional<WriteLanguage> language);

} // namespace q7x::image
