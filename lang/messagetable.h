#pragma once
// The process-wide message table: entry k holds message 1000 + k of the current language's
// message library. It is filled once at start-up; an entry stays empty when the library or the
// string is missing.
#include <QString>
#include <array>

namespace q7x::lang {

inline constexpr int MessageCount = 1000;
using MessageArray = std::array<QString, MessageCount>;

MessageArray &MessageTable();

// Message number n (1000..1999) as the table holds it; numbers outside the range give "".
QString M(int number);

} // namespace q7x::lang
