#include "image/pagerules.h"

namespace q7x::image {

namespace {
constexpr int PartitionsInUse[6] = {2, 16, 1, 2, 4, 8};
constexpr int HeldItem = 7;
} // namespace

int partitionsInUse(int workModeItem) {
    return workModeItem >= 0 && workModeItem < 6 ? PartitionsInUse[workModeItem] : PartitionCount;
}

RelayTiming specialRelayTiming(int &openItem, int &closeItem, int &periodItem) {
    if (openItem == HeldItem) {
        closeItem = 0;
        periodItem = 0;
        return RelayTiming::HeldOpen;
    }
    if (closeItem == HeldItem) {
        openItem = 0;
        periodItem = 0;
        return RelayTiming::HeldClosed;
    }
    if (openItem >= 1 && openItem <= 6 && closeItem >= 1 && closeItem <= 6)
        return RelayTiming::Timed;
    if ((openItem == 0 && closeItem >= 0) || (closeItem == 0 && openItem >= 0)) {
        periodItem = 0;
        return RelayTiming::OneSided;
    }
    return RelayTiming::Other;
}

bool gsmSmsFirst(int item) { return item == 2 || item == 5 || item == 8; }
bool gsmSmsLast(int item) { return item == 3 || item == 6 || item == 9; }

int orderedGsmType(int item, bool smsFirstElsewhere, bool smsLastElsewhere) {
    if (smsFirstElsewhere && gsmSmsLast(item))
        item -= 1;
    if (smsLastElsewhere && gsmSmsFirst(item))
        item += 1;
    return item;
}

int freePartitionNumber(int item, const std::array<bool, PartitionCount> &taken) {
    if (item < 0 || item >= PartitionCount || !taken[std::size_t(item)])
        return item;
    int free = 0;
    while (free < PartitionCount && taken[std::size_t(free)])
        ++free;
    return free;
}

} // namespace q7x::image
