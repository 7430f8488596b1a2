#include "app/linkdisplay.h"

namespace q7x::app {

using namespace link;

ButtonStates buttonStates(ButtonEvent event) {
    ButtonStates s;
    switch (event) {
    case ButtonEvent::ConnectFailed:
        s = {true, false, false, false, std::nullopt, true, true};
        break;
    case ButtonEvent::LinkFailed:
        s = {true, false, false, false, std::nullopt, true, std::nullopt};
        break;
    case ButtonEvent::ClockFailed:
        s = {true, false, false, false, false, true, std::nullopt};
        break;
    case ButtonEvent::Q72Finished:
        s.write = s.read = s.runModem = true;
        break;
    case ButtonEvent::Q71Finished:
        s.cancel = s.write = s.read = true;
        break;
    case ButtonEvent::CancelOnly:
        s.cancel = true;
        break;
    }
    return s;
}

ButtonStates linkReadyStates(DeviceModel model) {
    ButtonStates s;
    s.read = s.write = s.cancel = true;
    s.connect = false;
    s.runModem = model == DeviceModel::Q72;
    return s;
}

} // namespace q7x::app
