#pragma once
// The button states of each ButtonEvent of a worker, as data the window applies to its controls.
// The texts of each outcome are in link/outcometexts.h, shared with the command line.
#include <optional>

#include "link/linkengine.h"
#include "link/outcometexts.h"
#include "link/windowport.h"

namespace q7x::app {

using link::OpenFailureTexts;
using link::portFailureTexts;
using link::StatusDisplay;
using link::statusDisplay;
using link::usbFailureTexts;

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
// ShowLinkReady after a successful connect.
ButtonStates linkReadyStates(link::DeviceModel model);

} // namespace q7x::app
