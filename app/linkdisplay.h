#pragma once
// What the window shows for a worker's requests: the texts of each LinkStatus and the button
// states of each ButtonEvent, as data the window applies to its controls.
#include <optional>

#include "link/d2xx.h"
#include "link/linkengine.h"
#include "link/serialport.h"
#include "link/windowport.h"

namespace q7x::app {

struct StatusDisplay {
    int barMessage = 0;                 // Mn shown in the status bar; 0: none
    bool barFormatsArgument = false;    // the bar message is a printf format for the argument
    const char *barFixedText = nullptr; // a built-in text for the bar instead of a message
    int boxMessage = 0;                 // Mn shown in a message box with OK; 0: none
    const char *boxFixedText = nullptr; // a built-in text for the box instead of a message
};

StatusDisplay statusDisplay(link::LinkStatus status, link::LinkKind kind);

// on = enabled; an empty value leaves the control as it is.
struct ButtonStates {
    std::optional<bool> connect;
    std::optional<bool> cancel;
    std::optional<bool> write;
    std::optional<bool> read;
    std::optional<bool> runModem;
    std::optional<bool> portNumber;
    std::optional<bool> mode;
    bool operator==(const ButtonStates &) const = default;
};

ButtonStates buttonStates(link::ButtonEvent event);

// The lines that say why a port or the converter would not open: the reason (Mn, a printf format
// for the error's detail when `reasonFormatsDetail`) and the remedy; 0: no such line.
struct OpenFailureTexts {
    int reason = 0;
    bool reasonFormatsDetail = false;
    int remedy = 0;
};
OpenFailureTexts portFailureTexts(link::PortFailure failure);
// For the status of FT_Open; a converter that is simply missing needs no line beyond M1535.
OpenFailureTexts usbFailureTexts(link::FtStatus status);
// ShowLinkReady after a successful connect.
ButtonStates linkReadyStates(link::DeviceModel model);

} // namespace q7x::app
