#pragma once
// The configuration image: every setting of one device as a flat array of bytes.
#include "core/devicemodel.h"

#include <array>
#include <cstdint>

namespace q7x::image {

inline constexpr int ImageSize = 702;
using ConfigImage = std::array<std::uint8_t, ImageSize>;

using core::DeviceModel;

} // namespace q7x::image
