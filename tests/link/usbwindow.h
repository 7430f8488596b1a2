#pragma once
// The window's side of the USB link as the main window wires it: UsbHandle and UsbOk, the
// converter opened before a command when it is closed, one UsbTransport per worker, closing
// the link at a worker's request, and Cancel (cancel the worker, then purge and close).
#include <memory>
#include <span>

#include "link/linkengine.h"
#include "link/usbdevice.h"
#include "link/usbtransport.h"
#include "recordingwindow.h"
#include "simd2xx.h"

namespace q7x::link::test {

class UsbWindow : public RecordingWindow {
  public:
    explicit UsbWindow(SimD2xx &d2xx) : d2xx_(d2xx) {}

    UsbHandle usbHandle; // null: closed
    bool usbOk = true;
    bool chainedRead = false; // a connect asked for a read

    // Opens the converter when it is closed; false when no converter could be opened.
    bool ensureOpen() {
        if (!usbHandle) {
            const UsbOpenResult r = OpenUsbDevice(d2xx_);
            usbHandle = r.handle;
            usbOk = r.usbOk();
        }
        return usbOk;
    }

    // One command: open if needed, then one worker over the converter (a closed handle gives a
    // worker whose transfers fail, as with a silent device).
    void command(LinkOperation operation, DeviceModel model,
                 std::span<const std::uint8_t> image = {}) {
        ensureOpen();
        chainedRead = false;
        UsbTransport transport(usbHandle);
        LinkEngine engine(transport, d2xx_.link.clock, *this, usbTraits());
        engine.run(operation, model, image);
    }

    // Cancel as the window does it, from any thread.
    void cancel(LinkEngine &engine,
                std::chrono::milliseconds wait = std::chrono::milliseconds(250)) {
        engine.cancel();
        if (usbHandle)
            usbHandle->close(wait);
        usbHandle.reset();
    }

    void closeLink() override {
        RecordingWindow::closeLink();
        if (usbHandle)
            usbHandle->close();
        usbHandle.reset();
    }
    void startChainedRead() override {
        RecordingWindow::startChainedRead();
        chainedRead = true;
    }

  private:
    SimD2xx &d2xx_;
};

} // namespace q7x::link::test
