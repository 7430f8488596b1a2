#pragma once
// The process-wide message table: entry k holds message 1000 + k of the current language's
// message library. It is filled once at start-up; an entry stays empty when the library or the
// string is missing.
#include <QString>
#include <QStringList>
#include <array>

namespace q7x::lang {

inline constexpr int MessageCount = 1000;
using MessageArray = std::array<QString, MessageCount>;

MessageArray &MessageTable();

// Message number n (1000..1999) as the table holds it; numbers outside the range give "".
QString M(int number);

// Message n as a printf format with one argument, without handing the library's text to printf:
// the first "%d" (FormatM with a number) or "%s" (with a text) takes the argument, "%%" gives
// "%", and any other "%" is kept as it stands. A damaged or careless library can then never make
// the program read arguments that were not passed.
QString FormatM(int number, int value);
QString FormatM(int number, const QString &text);
// Message n with several arguments: each "%d" or "%s" in turn takes the next one.
QString FormatM(int number, const QStringList &arguments);

} // namespace q7x::lang
