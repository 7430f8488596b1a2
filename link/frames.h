#pragma once
// Frames and commands spoken to the Q71 and Q72 devices.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/linkoperation.h"

namespace q7x::link {

using Bytes4 = std::array<std::uint8_t, 4>;
using Bytes5 = std::array<std::uint8_t, 5>;

inline constexpr std::size_t Q71ImageSize = 320;
inline constexpr std::size_t Q71WriteFrameSize = 323;
inline constexpr std::size_t Q71ReadFrameSize = 324;
inline constexpr std::size_t ReplySize = 6;
inline constexpr std::size_t Q72ImageBufferSize = 700;
inline constexpr std::size_t Q72DeviceImageSize = 512;

// PC to Q71: the wake-up pattern a Q71 answers with 55 55 b2 b3.
inline constexpr Bytes4 ModelProbe{0x55, 0x55, 0xAA, 0xAA};
inline constexpr std::uint8_t ConnectComplete = 0x00;
inline constexpr std::uint8_t Q71Accepted = 0x00;
inline constexpr std::uint8_t PcFrameAccepted = 0x00;
inline constexpr std::uint8_t PcFrameRejected = 0xFF;

// Q72 command bytes (low nibble; the memory commands carry address bits 8..11 in the high one).
namespace q72 {
inline constexpr std::uint8_t StatusRequest = 0x12;
inline constexpr std::uint8_t SetAddress = 0x0B;
inline constexpr std::uint8_t WriteData = 0x03;
inline constexpr std::uint8_t ReadBlock = 0x04;
inline constexpr std::uint8_t StartModem = 0x0A;
inline constexpr std::uint8_t SetMinute = 0x22;
inline constexpr std::uint8_t SetDayHour = 0x1A;
inline constexpr std::uint8_t SetYearMonth = 0x2A;
inline constexpr std::uint8_t ReadClock = 0x02;
} // namespace q72

// 55 0C command parameter CRC.
Bytes5 shortRequest(std::uint8_t command, std::uint8_t parameter);
Bytes5 statusRequest();
Bytes5 setAddressRequest(int address);
Bytes5 writeDataRequest(std::uint8_t data);
Bytes5 readBlockRequest(int address);
Bytes5 startModemRequest();
Bytes5 readClockRequest();

// 55 55 operation 00 CRC; the operation is the low code sent on the wire (1, 2 or 3).
Bytes5 q71Header(LinkOperation operation);

// AA AA image[0..319] CRC over bytes 0..321. `image` must hold at least 320 bytes.
std::array<std::uint8_t, Q71WriteFrameSize> q71WriteFrame(std::span<const std::uint8_t> image);

// A Q72 reply is valid when exactly six bytes arrived and the first is AA.
bool isValidReply(std::span<const std::uint8_t> reply, std::size_t received);

// A valid SetAddress reply names the address in bytes 1 and 2 (low nibble).
bool replyNamesAddress(std::span<const std::uint8_t> reply, int address);

// Q71 read frame: check byte 323 against the CRC over bytes 0..322.
bool q71ReadFrameIntact(std::span<const std::uint8_t> frame);

} // namespace q7x::link
