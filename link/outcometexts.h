#pragma once
// The messages that tell the user how a link operation ended or why a port would not open, as
// message numbers and built-in texts. The window and the command line say the same thing for the
// same outcome, so both take them from here.
#include "link/d2xx.h"
#include "link/linkengine.h"
#include "link/serialport.h"

namespace q7x::link {

struct StatusDisplay {
    int barMessage = 0;                 // Mn shown in the status bar; 0: none
    bool barFormatsArgument = false;    // the bar message is a printf format for the argument
    const char *barFixedText = nullptr; // a built-in text for the bar instead of a message
    int boxMessage = 0;                 // Mn shown in a message box with OK; 0: none
    const char *boxFixedText = nullptr; // a built-in text for the box instead of a message
};

StatusDisplay statusDisplay(LinkStatus status, LinkKind kind);

// The lines that say why a port or the converter would not open: the reason (Mn, a printf format
// for the error's detail when `reasonFormatsDetail`) and the remedy; 0: no such line.
struct OpenFailureTexts {
    int reason = 0;
    bool reasonFormatsDetail = false;
    int remedy = 0;
};
OpenFailureTexts portFailureTexts(PortFailure failure);
// For the status of FT_Open; a converter that is simply missing needs no line beyond M1535.
OpenFailureTexts usbFailureTexts(FtStatus status);

} // namespace q7x::link
