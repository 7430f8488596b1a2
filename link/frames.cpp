#include "link/frames.h"

#include <algorithm>

#include "link/crc8.h"

namespace q7x::link {

namespace {

std::uint8_t addressCommand(std::uint8_t command, int address) {
    return static_cast<std::uint8_t>((((address >> 8) & 0x0F) << 4) | command);
}

std::uint8_t addressParameter(int address) { return static_cast<std::uint8_t>(address & 0xFF); }

} // namespace

Bytes5 shortRequest(std::uint8_t command, std::uint8_t parameter) {
    Bytes5 frame{0x55, 0x0C, command, parameter, 0};
    frame[4] = crc8(std::span<const std::uint8_t>(frame).first(4));
    return frame;
}

Bytes5 statusRequest() { return shortRequest(q72::StatusRequest, 0x00); }

Bytes5 setAddressRequest(int address) {
    return shortRequest(addressCommand(q72::SetAddress, address), addressParameter(address));
}

Bytes5 writeDataRequest(std::uint8_t data) { return shortRequest(q72::WriteData, data); }

Bytes5 readBlockRequest(int address) {
    return shortRequest(addressCommand(q72::ReadBlock, address), addressParameter(address));
}

Bytes5 startModemRequest() { return shortRequest(q72::StartModem, 0x00); }

Bytes5 readClockRequest() { return shortRequest(q72::ReadClock, 0x00); }

Bytes5 q71Header(LinkOperation operation) {
    Bytes5 frame{0x55, 0x55, static_cast<std::uint8_t>(static_cast<int>(operation) & 0x0F), 0x00,
                 0};
    frame[4] = crc8(std::span<const std::uint8_t>(frame).first(4));
    return frame;
}

std::array<std::uint8_t, Q71WriteFrameSize> q71WriteFrame(std::span<const std::uint8_t> image) {
    std::array<std::uint8_t, Q71WriteFrameSize> frame{};
    frame[0] = 0xAA;
    frame[1] = 0xAA;
    const std::size_t n = std::min(image.size(), Q71ImageSize);
    std::copy_n(image.begin(), n, frame.begin() + 2);
    frame[Q71WriteFrameSize - 1] = crc8(frame, 0, Q71WriteFrameSize - 2);
    return frame;
}

bool isValidReply(std::span<const std::uint8_t> reply, std::size_t received) {
    return received == ReplySize && reply.size() >= ReplySize && reply[0] == 0xAA;
}

bool replyNamesAddress(std::span<const std::uint8_t> reply, int address) {
    return reply.size() >= 3 && reply[1] == (address & 0xFF) &&
           (reply[2] & 0x0F) == ((address >> 8) & 0x0F);
}

bool q71ReadFrameIntact(std::span<const std::uint8_t> frame) {
    return frame.size() >= Q71ReadFrameSize &&
           crc8(frame, 0, Q71ReadFrameSize - 2) == frame[Q71ReadFrameSize - 1];
}

} // namespace q7x::link
