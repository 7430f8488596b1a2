#include "lang/messagetable.h"

namespace q7x::lang {

MessageArray &MessageTable() {
  static MessageArray table;
  return table;
}

QString M(int number) {
  const int k = number - 1000;
  if (k < 0 || k >= MessageCount)
    return {};
  return MessageTable()[static_cast<std::size_t>(k)];
}

} // namespace q7x::lang
