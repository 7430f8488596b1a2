#include "tools/q7xsim/devicesim.h"

#include <algorithm>

#include "link/crc8.h"

namespace q7x::sim {

namespace {
std::uint8_t u8(int v) { return static_cast<std::uint8_t>(v & 0xFF); }
} // namespace

DeviceSim::DeviceSim(Model model, bool echo) : model_(model), echo_(echo) {
    memory.fill(0xFF);
    for (std::size_t i = 0; i < q71Image.size(); ++i)
        q71Image[i] = u8(static_cast<int>(i));
}

void DeviceSim::loadImage(std::span<const std::uint8_t> image) {
    if (model_ == Model::Q71) {
        std::copy_n(image.begin(), std::min(image.size(), q71Image.size()), q71Image.begin());
        return;
    }
    for (std::size_t i = 0; i < image.size() && i < 512; ++i) {
        const std::size_t address = i < 256 ? i : i < 416 ? 0x102 + (i - 256) : 0x1A0 + (i - 416);
        memory[address] = image[i];
    }
}

std::vector<std::uint8_t> DeviceSim::feed(std::span<const std::uint8_t> fromPc) {
    std::vector<std::uint8_t> out;
    for (std::uint8_t b : fromPc) {
        if (echo_)
            out.push_back(b);
        if (model_ == Model::Q72)
            byteQ72(b, out);
        else
            byteQ71(b, out);
    }
    return out;
}

void DeviceSim::reply(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t> &out) {
    const int index = replyIndex_++;
    if (faults.silent)
        return;
    if (faults.dropFrom >= 0 && index >= faults.dropFrom &&
        index < faults.dropFrom + faults.dropCount)
        return;
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void DeviceSim::reply6(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                       std::vector<std::uint8_t> &out) {
    std::array<std::uint8_t, 6> r{0xAA, b1, b2, b3, b4, 0};
    r[5] = link::crc8(std::span<const std::uint8_t>(r).first(5));
    reply(r, out);
}

bool DeviceSim::identificationAnswered() {
    if (identified_)
        return true;
    ++identificationRequests_;
    if (identificationRequests_ < faults.answerOnAttempt)
        return false;
    identified_ = true;
    return true;
}

// ---- Q72 ---------------------------------------------------------------------------------------

void DeviceSim::byteQ72(std::uint8_t b, std::vector<std::uint8_t> &out) {
    pending_.push_back(b);
    // Resynchronise on 55 0C; a frame whose check byte is wrong is dropped whole.
    while (!pending_.empty()) {
        if (pending_[0] != 0x55) {
            pending_.erase(pending_.begin());
            continue;
        }
        if (pending_.size() >= 2 && pending_[1] != 0x0C) {
            pending_.erase(pending_.begin());
            continue;
        }
        break;
    }
    if (pending_.size() < 5)
        return;
    const std::array<std::uint8_t, 5> frame{pending_[0], pending_[1], pending_[2], pending_[3],
                                            pending_[4]};
    if (link::crc8(std::span<const std::uint8_t>(frame).first(4)) != frame[4]) {
        pending_.erase(pending_.begin());
        return;
    }
    pending_.clear();
    commandQ72(frame[2], frame[3], out);
}

void DeviceSim::commandQ72(std::uint8_t command, std::uint8_t parameter,
                           std::vector<std::uint8_t> &out) {
    const int address = ((command >> 4) << 8) | parameter;
    switch (command) {
    case 0x12: { // StatusRequest
        if (!identificationAnswered())
            return;
        if (faults.mutedStatus) {
            ++replyIndex_;
            return;
        }
        std::uint8_t state = 0;
        if (startModemCount > 0 && !modemStates.empty()) {
            const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(statusSinceStart_),
                                                        modemStates.size() - 1);
            state = modemStates[k];
            ++statusSinceStart_;
        }
        reply6(firmware, 0x00, state, 0x00, out);
        return;
    }
    case 0x02: { // ReadClock
        const int c1 = (clock.minute & 0x3F) | ((clock.hour & 0x03) << 6);
        const int c2 = ((clock.hour >> 2) & 0x07) | ((clock.day & 0x1F) << 3);
        reply6(u8(c1), u8(c2), u8(clock.month & 0x0F), u8(clock.year & 0x3F), out);
        return;
    }
    case 0x22: // SetMinute
        if (!faults.stuckClock)
            clock.minute = parameter & 0x3F;
        return;
    case 0x03: // WriteData
        memory[static_cast<std::size_t>(pointer)] = parameter;
        pointer = (pointer + 1) & 0xFFF;
        return;
    case 0x0A: // StartModem
        ++startModemCount;
        return;
    default:
        break;
    }
    if ((command & 0x3F) == 0x1A) { // SetDayHour
        if (!faults.stuckClock) {
            clock.hour = parameter & 0x1F;
            clock.day = ((parameter >> 5) & 0x07) | ((command >> 3) & 0x18);
        }
        return;
    }
    if ((command & 0x3F) == 0x2A) { // SetYearMonth
        if (!faults.stuckClock) {
            clock.month = parameter & 0x0F;
            clock.year = ((parameter >> 4) & 0x0F) | ((command >> 2) & 0x30);
        }
        return;
    }
    if ((command & 0x0F) == 0x0B) { // SetAddress
        pointer = address;
        const int named = faults.wrongAddressReply ? (address + 4) & 0xFFF : address;
        reply6(u8(named), u8(named >> 8), 0x00, 0x00, out);
        return;
    }
    if ((command & 0x0F) == 0x04) { // ReadBlock
        std::array<std::uint8_t, 4> d{};
        for (int i = 0; i < 4; ++i)
            d[static_cast<std::size_t>(i)] =
                memory[static_cast<std::size_t>((address + i) & 0xFFF)];
        if (address == faults.mismatchAddress && faults.mismatchCount > 0) {
            --faults.mismatchCount;
            d[0] ^= 0xFF;
        }
        reply6(d[0], d[1], d[2], d[3], out);
        return;
    }
}

// ---- Q71 ---------------------------------------------------------------------------------------

void DeviceSim::byteQ71(std::uint8_t b, std::vector<std::uint8_t> &out) {
    pending_.push_back(b);
    if (q71State_ == Q71State::AwaitPcAck) {
        pcAcks.push_back(b);
        pending_.clear();
        q71State_ = Q71State::Idle;
        return;
    }
    if (q71State_ == Q71State::WriteFrame) {
        if (pending_.size() < 323)
            return;
        const bool intact = pending_[0] == 0xAA && pending_[1] == 0xAA &&
                            link::crc8(pending_, 0, 321) == pending_[322];
        if (intact) {
            std::copy(pending_.begin() + 2, pending_.begin() + 322, q71Image.begin());
            ++q71FramesStored;
        }
        // One status byte when the frame has arrived and one when it is stored.
        const std::array<std::uint8_t, 2> status{u8(intact ? 0x00 : 0xFF),
                                                 u8(intact ? 0x00 : 0xFF)};
        reply(status, out);
        pending_.clear();
        q71State_ = Q71State::Idle;
        return;
    }
    while (!pending_.empty() && pending_[0] != 0x55)
        pending_.erase(pending_.begin());
    if (pending_.size() >= 2 && pending_[1] != 0x55) {
        pending_.erase(pending_.begin());
        return;
    }
    if (pending_.size() == 4 && pending_[2] == 0xAA && pending_[3] == 0xAA) {
        pending_.clear();
        if (!identificationAnswered())
            return;
        const std::array<std::uint8_t, 4> answer{0x55, 0x55, q71Firmware, 0x00};
        reply(answer, out);
        return;
    }
    if (pending_.size() < 5)
        return;
    const std::uint8_t operation = pending_[2];
    const bool intact = pending_[3] == 0x00 && link::crc8(pending_, 0, 3) == pending_[4] &&
                        operation >= 1 && operation <= 3;
    pending_.clear();
    if (!intact)
        return;
    const std::uint8_t ack = faults.refuseHeader ? 0xFF : 0x00;
    reply(std::span<const std::uint8_t>(&ack, 1), out);
    if (faults.refuseHeader)
        return;
    if (operation == 1) {
        q71State_ = Q71State::WriteFrame;
    } else if (operation == 2) {
        std::array<std::uint8_t, 324> frame{};
        frame[0] = 0x51;
        frame[1] = 0x71;
        frame[2] = q71Firmware;
        std::copy(q71Image.begin(), q71Image.end(), frame.begin() + 3);
        frame[323] = link::crc8(frame, 0, 322);
        if (faults.badQ71CheckByte)
            frame[323] ^= 0x5A;
        reply(frame, out);
        q71State_ = Q71State::AwaitPcAck;
    }
}

} // namespace q7x::sim
