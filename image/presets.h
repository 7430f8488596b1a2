#pragma once
// The twelve factory configurations, one per model and work mode. Restoring defaults decodes
// the preset of the current model and work mode exactly like an image read from a device.
#include "image/configimage.h"

namespace q7x::image {

inline constexpr int PresetWorkModeCount = 6;

// Preset of `model` (DeviceModel::Q71 gives the Q71 preset, any other value the Q72 preset, as the
// codecs choose by DeviceModel) and work mode item 0..5. A work mode outside 0..5 (no mode
// selected) gives the preset of mode 0.
ConfigImage presetImage(DeviceModel model, int workModeItem);

} // namespace q7x::image
