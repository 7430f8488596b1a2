#pragma once
// Status codes a link worker raises for the window to show, and the device models it identifies.
#include "core/devicemodel.h"

#include <cstdint>

namespace q7x::link {

enum class LinkStatus : int {
    NoAnswerAtConnect = 1,     // connect: no valid answer in 10 attempts
    Q71Refused = 4,            // Q71 refused the header, or its read frame's check byte was wrong
    ByteNotReceived = 6,       // a single-byte read returned nothing, or the Q71 write was refused
    ConnectAttempt = 7,        // connect attempt n begins (argument n = 1..10)
    Q72Identified = 8,         // connect: a Q72 answered the status request
    WriteCompleted = 10,       // every block written and verified
    ReadCompleted = 11,        // the whole image read
    ConnectCancelled = 13,     // a connect worker found itself cancelled
    ModemFailed = 16,          // followed by the modem state text
    ModemStarted = 18,         // modem started and clock set
    Q72NoAnswer = 20,          // Q72 did not answer a request 10 times in a row, or a run of
                               // either model lost its link under a transfer
    VerifyFailed = 21,         // more than 20 verification failures on one block
    ClockNotRead = 22,         // run modem: ReadClock unanswered 10 times
    Q71Identified = 23,        // connect: a Q71 answered the probe
    ClockYearUnsupported = 24, // run modem: the PC year lies beyond the device clock (2064 on)
};

// The model a connect identified.
using core::DeviceModel;

} // namespace q7x::link
