#include "link/clockstamp.h"

#include <cstdio>

namespace q7x::link {

namespace {
std::uint8_t u8(int v) { return static_cast<std::uint8_t>(v & 0xFF); }

std::string twoDigits(int v) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", v);
    return text;
}
} // namespace

ClockStamp makeClockStamp(int year, int month, int day, int hour, int minute, int second) {
    return ClockStamp{u8(year + 48), u8(month), u8(day), u8(hour), u8(minute), u8(second)};
}

Bytes5 setMinuteRequest(const ClockStamp &s) {
    return shortRequest(q72::SetMinute, s.minute & 0x3F);
}

Bytes5 setDayHourRequest(const ClockStamp &s) {
    return shortRequest(u8(q72::SetDayHour | ((s.day & 0x18) << 3)),
                        u8((s.hour & 0x1F) | ((s.day & 0x07) << 5)));
}

Bytes5 setYearMonthRequest(const ClockStamp &s) {
    return shortRequest(u8(q72::SetYearMonth | ((s.year & 0x30) << 2)),
                        u8((s.month & 0x0F) | ((s.year & 0x0F) << 4)));
}

DeviceClock decodeDeviceClock(std::span<const std::uint8_t> r) {
    DeviceClock c;
    if (r.size() < 5)
        return c;
    c.minute = r[1] & 0x3F;
    c.hour = (r[1] >> 6) | ((r[2] & 0x07) << 2);
    c.day = r[2] >> 3;
    c.month = r[3] & 0x0F;
    c.year = r[4] & 0x3F;
    return c;
}

bool clockMatchesStamp(const DeviceClock &c, const ClockStamp &s) {
    return c.year == s.year && c.month == s.month && c.day == s.day && c.hour == s.hour &&
           c.minute == s.minute;
}

std::string formatClockDate(const DeviceClock &c) {
    return twoDigits(c.day) + "." + twoDigits(c.month) + "." + twoDigits(c.year);
}

std::string formatClockTime(const DeviceClock &c) {
    return twoDigits(c.hour) + ":" + twoDigits(c.minute) + ":00";
}

} // namespace q7x::link
