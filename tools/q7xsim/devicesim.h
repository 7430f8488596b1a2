#pragma once
// A Q71 or Q72 as seen from the PC end of the cable: memory, frames, clock, modem states, the
// echo of the serial interface and a set of faults to inject.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace q7x::sim {

enum class Model { Q71, Q72 };

struct Faults {
    bool silent = false;            // the device never answers (the line still echoes)
    int answerOnAttempt = 1;        // identification requests before this one go unanswered
    bool badQ71CheckByte = false;   // the Q71 read frame carries a wrong check byte
    bool refuseHeader = false;      // the Q71 answers its operation header with FF
    int mismatchAddress = -1;       // ReadBlock of this address returns a changed first byte ...
    int mismatchCount = 0;          // ... this many times
    int dropFrom = -1;              // replies numbered dropFrom.. (from 0) are not sent ...
    int dropCount = 0;              // ... this many of them
    bool wrongAddressReply = false; // SetAddress replies name the next block's address
    bool stuckClock = false;        // clock setting commands are ignored
    bool mutedStatus = false;       // status requests go unanswered
};

struct SimClock {
    int year = 9; // − 2000
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

class DeviceSim {
  public:
    explicit DeviceSim(Model model, bool echo = true);

    // Bytes arriving from the PC; returns what the PC will receive, in order: each byte's echo
    // (when the line echoes) followed by any answer it completes.
    std::vector<std::uint8_t> feed(std::span<const std::uint8_t> fromPc);

    Model model() const { return model_; }

    // Puts a configuration image into the device as a write would leave it. Q72: image bytes
    // 0..255 at 0x000, 256..415 at 0x102 and 416..511 at 0x1A0; Q71: its 320 bytes. A short image
    // fills what it has.
    void loadImage(std::span<const std::uint8_t> image);

    Faults faults;

    // Q72 state.
    std::array<std::uint8_t, 4096> memory{};
    int pointer = 0;
    std::uint8_t firmware = 0x13;
    // State byte of the k-th status reply after the first StartModem (the last one repeats).
    std::vector<std::uint8_t> modemStates;
    int startModemCount = 0;
    SimClock clock;

    // Q71 state.
    std::array<std::uint8_t, 320> q71Image{};
    std::uint8_t q71Firmware = 41;
    int q71FramesStored = 0;
    std::vector<std::uint8_t> pcAcks; // what the PC answered to each read frame

  private:
    void byteQ72(std::uint8_t b, std::vector<std::uint8_t> &out);
    void byteQ71(std::uint8_t b, std::vector<std::uint8_t> &out);
    void commandQ72(std::uint8_t command, std::uint8_t parameter, std::vector<std::uint8_t> &out);
    void reply(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t> &out);
    void reply6(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                std::vector<std::uint8_t> &out);
    bool identificationAnswered();

    enum class Q71State { Idle, WriteFrame, AwaitPcAck };

    Model model_;
    bool echo_;
    std::vector<std::uint8_t> pending_;
    int replyIndex_ = 0;
    int identificationRequests_ = 0;
    bool identified_ = false;
    int statusSinceStart_ = 0;
    Q71State q71State_ = Q71State::Idle;
};

} // namespace q7x::sim
