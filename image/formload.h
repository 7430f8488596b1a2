#pragma once
// A configuration file loaded as the window loads it, as one pure function: the form the window
// holds after its start-up (the demonstration of the file's model), the file read into it by the
// rules that run on Load, and the image a Write sends then. The window's Load and Write and the
// command line's write are this same composition, so they send the same bytes.
#include "image/catalogue.h"
#include "image/form.h"

#include <optional>

namespace q7x::image {

// The form of a freshly started window showing the demonstration of `model`: the start-up, and
// for the telephone-line model the choice of its demonstration.
Form loadStart(DeviceModel model);

// `image` of `model` loaded into the form of a freshly started window.
Form loadedForm(DeviceModel model, const ConfigImage &image);

// What a Write sends after that Load (before the write's language stamp), or why the form cannot
// be stored.
Encoded writeAfterLoad(DeviceModel model, const ConfigImage &image);

// Catalogue keys of the settings whose value no item of their list shows, in catalogue order.
// The Q71 inputs count only in work mode 0, where they are stored.
QStringList unshownValues(const Q72Settings &s);
QStringList unshownValues(const Q71Settings &s);

// The image a tool writes for `image` of `model`, stamped with the interface language: refused
// (error set, key naming the field) when the decoder finds a bad field or a value has no item to
// show it (the window would keep a choice of its own for it), or when the encoder cannot store a
// value; otherwise what the window's Write sends after Load of the file.
Encoded imageToWrite(DeviceModel model, const ConfigImage &image,
                     std::optional<WriteLanguage> language);

} // namespace q7x::image
