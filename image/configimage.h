#pragma once
// The configuration image: every setting of one device as a flat array of bytes.
#include <array>
#include <cstdint>

namespace q7x::image {

inline constexpr int ImageSize = 702;
using ConfigImage = std::array<std::uint8_t, ImageSize>;

// Model codes, as kept in DeviceModel and in the last line of a configuration file.
inline constexpr int ModelQ71 = 71;
inline constexpr int ModelQ72 = 72;

} // namespace q7x::image
