#include "link/crc8.h"

#include <array>

namespace q7x::link {

namespace {

constexpr std::array<std::uint8_t, 256> makeTable() {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        auto value = static_cast<std::uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? static_cast<std::uint8_t>((value >> 1) ^ 0x8C)
                                : static_cast<std::uint8_t>(value >> 1);
        table[static_cast<std::size_t>(i)] = value;
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> Table = makeTable();

} // namespace

std::uint8_t crc8(std::span<const std::uint8_t> bytes) {
    std::uint8_t crc = 0;
    for (std::uint8_t b : bytes)
        crc = Table[crc ^ b];
    return crc;
}

std::uint8_t crc8(std::span<const std::uint8_t> bytes, std::size_t first, std::size_t last) {
    if (bytes.empty() || first > last || first >= bytes.size())
        return 0;
    if (last >= bytes.size())
        last = bytes.size() - 1;
    return crc8(bytes.subspan(first, last - first + 1));
}

} // namespace q7x::link
