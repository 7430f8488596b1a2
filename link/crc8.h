#pragma once
// CRC-8/MAXIM (Dallas 1-Wire): reflected polynomial 0x8C, initial value 0, no final XOR.
// It is the only check byte of the device link.
#include <cstddef>
#include <cstdint>
#include <span>

namespace q7x::link {

// The check byte over every byte of `bytes`.
std::uint8_t crc8(std::span<const std::uint8_t> bytes);

// The check byte over the inclusive range bytes[first..last]; 0 for an empty or out-of-range
// request (the range is clipped to the buffer).
std::uint8_t crc8(std::span<const std::uint8_t> bytes, std::size_t first, std::size_t last);

} // namespace q7x::link
