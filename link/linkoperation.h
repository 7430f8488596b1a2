#pragma once
// Operation codes of a link worker.
#include <cstdint>

namespace q7x::link {

enum class LinkOperation : std::uint8_t {
    Connect = 0x00,
    WriteQ71 = 0x01,
    ReadQ71 = 0x02,
    RunModem = 0x03,
    WriteQ72 = 0x11,
    ReadQ72 = 0x22,
};

} // namespace q7x::link
