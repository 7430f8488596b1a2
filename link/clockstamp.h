#pragma once
// The PC clock stamp sent by the modem start, the device clock commands and the clock display.
#include <cstdint>
#include <span>
#include <string>

#include "link/frames.h"

namespace q7x::link {

// Year − 2000, month 1..12, day 1..31, hour 0..23, minute 0..59, second 0..59.
struct ClockStamp {
    std::uint8_t year = 0;
    std::uint8_t month = 1;
    std::uint8_t day = 1;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
};

// The year byte is the low byte of year + 48, which is year − 2000 for the years the tool meets.
ClockStamp makeClockStamp(int year, int month, int day, int hour, int minute, int second);

// The device clock keeps the year in six bits: 2000..2063.
inline constexpr int DeviceClockLastYear = 63;
inline bool deviceClockHoldsYear(const ClockStamp &stamp) {
    return stamp.year <= DeviceClockLastYear;
}

Bytes5 setMinuteRequest(const ClockStamp &stamp);
Bytes5 setDayHourRequest(const ClockStamp &stamp);
Bytes5 setYearMonthRequest(const ClockStamp &stamp);

// The device clock as decoded from a ReadClock reply.
struct DeviceClock {
    int year = 0; // − 2000
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    bool operator==(const DeviceClock &) const = default;
};

// Decodes bytes 1..4 of a ReadClock reply (the reply must hold at least five bytes).
DeviceClock decodeDeviceClock(std::span<const std::uint8_t> reply);
bool clockMatchesStamp(const DeviceClock &clock, const ClockStamp &stamp);

// "dd.mm.yy" and "hh:mm:00", every number in two digits.
std::string formatClockDate(const DeviceClock &clock);
std::string formatClockTime(const DeviceClock &clock);

} // namespace q7x::link
