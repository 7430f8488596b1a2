#pragma once
// The window's side of the link for the link engine tests: a WindowPort that records every call
// as a line of text, the same window wired to the USB converter as the main window does it, and
// a rig that runs the engine against the simulated device over either carrier.
#include <chrono>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/linkengine.h"
#include "link/usbdevice.h"
#include "link/usbtransport.h"
#include "link/windowport.h"
#include "simd2xx.h"
#include "tools/q7xsim/loopback.h"

namespace q7x::link::test {

inline const char *modelName(DeviceModel m) { return m == DeviceModel::Q71 ? "Q71" : "Q72"; }

class RecordingWindow : public WindowPort {
  public:
    std::vector<std::string> calls;                 // everything but progress
    std::vector<int> progressValues;                // every progress report
    std::vector<int> statuses;                      // LinkStatus codes in order
    std::vector<std::uint8_t> image;                // the last delivered image
    std::vector<std::string> memo;                  //
    std::optional<ClockStamp> stamp = ClockStamp{}; // returned by takeClockStamp
    int stampsTaken = 0;                            //
    std::function<void()> onCall;                   // runs at the start of every call

    void showLinkStatus(LinkStatus s, int argument) override {
        hook();
        statuses.push_back(static_cast<int>(s));
        calls.push_back("status " + std::to_string(static_cast<int>(s)) +
                        (argument ? " " + std::to_string(argument) : std::string()));
    }
    void showModemStateText(int n) override { call("state M" + std::to_string(n)); }
    void reportProgress(int percent) override {
        hook();
        progressValues.push_back(percent);
    }
    void setButtons(ButtonEvent e) override {
        static const char *const names[] = {"ConnectFailed", "LinkFailed",  "ClockFailed",
                                            "Q72Finished",   "Q71Finished", "CancelOnly"};
        call(std::string("buttons ") + names[static_cast<int>(e)]);
    }
    void showQ72Firmware(const std::string &firmware) override { call("firmware " + firmware); }
    void showQ71Firmware(int number) override { call("firmware71 " + std::to_string(number)); }
    void showModelLabel(DeviceModel m) override { call(std::string("label ") + modelName(m)); }
    void adaptToModel(DeviceModel m) override { call(std::string("adapt ") + modelName(m)); }
    void showLinkReady() override { call("ready"); }
    std::optional<ClockStamp> takeClockStamp() override {
        ++stampsTaken;
        call("stamp");
        return stamp;
    }
    void showDeviceClock(const DeviceClock &c) override {
        call("clock " + formatClockDate(c) + " " + formatClockTime(c));
    }
    void deliverImage(DeviceModel m, std::span<const std::uint8_t> bytes) override {
        hook();
        image.assign(bytes.begin(), bytes.end());
        calls.push_back(std::string("image ") + modelName(m) + " " + std::to_string(bytes.size()));
    }
    void appendMemoLine(const std::string &line) override {
        hook();
        memo.push_back(line);
    }
    void startChainedRead() override { call("chain read"); }
    void closeLink() override { call("close"); }

  private:
    void hook() {
        if (onCall)
            onCall();
    }
    void call(const std::string &line) {
        hook();
        calls.push_back(line);
    }
};

// The USB link as the main window wires it: UsbHandle and UsbOk, the converter opened before a
// command when it is closed, closing the link at a worker's request, and Cancel (cancel the
// worker, then purge and close).
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

    // Cancel as the window does it, from any thread.
    void cancel(LinkEngine &engine) {
        engine.cancel();
        if (usbHandle)
            usbHandle->close();
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

// The link engine against a simulated device: over the serial carrier straight on the simulated
// line, over USB through the converter's driver, one worker per command as the window runs them
// (a command after the converter was closed opens it again).
class Rig {
  public:
    Rig(sim::Model model, LinkKind kind) {
        if (kind == LinkKind::Usb) {
            d2xx_ = std::make_unique<SimD2xx>(model);
            usb_ = std::make_unique<UsbWindow>(*d2xx_);
        } else {
            serial_ = std::make_unique<sim::SimLink>(model, kind);
            window_ = std::make_unique<RecordingWindow>();
        }
        makeEngine();
        // A run that never ends fails its test instead of hanging it.
        link().transport.onStep = [this] {
            if (++steps_ == 100000)
                engine->cancel();
        };
    }

    ~Rig() { engine.reset(); } // before the transport and window it uses

    bool isUsb() const { return d2xx_ != nullptr; }
    sim::SimLink &link() { return isUsb() ? d2xx_->link : *serial_; }
    sim::DeviceSim &device() { return link().device; }
    RecordingWindow &window() { return isUsb() ? *usb_ : *window_; }
    UsbWindow &usbWindow() { return *usb_; }
    SimD2xx &d2xx() { return *d2xx_; }

    void run(LinkOperation operation, DeviceModel model, std::span<const std::uint8_t> image = {}) {
        if (isUsb() && !usb_->usbHandle)
            makeEngine();
        engine->run(operation, model, image);
    }

    std::vector<std::string> trace() { return sim::describe(link().transport.trace); }
    // Only the frames sent, in order.
    std::vector<std::string> sent() {
        std::vector<std::string> out;
        for (const sim::TraceEvent &e : link().transport.trace)
            if (e.kind == sim::TraceEvent::Kind::Send)
                out.push_back(sim::describe(e));
        return out;
    }
    int pausesTotal() {
        int total = 0;
        for (const sim::TraceEvent &e : link().transport.trace)
            if (e.kind == sim::TraceEvent::Kind::Pause)
                total += e.ms;
        return total;
    }

    std::unique_ptr<LinkEngine> engine;

  private:
    void makeEngine() {
        if (isUsb()) {
            usb_->ensureOpen();
            usb_->chainedRead = false;
            engine.reset();
            transport_ = std::make_unique<UsbTransport>(usb_->usbHandle);
            engine =
                std::make_unique<LinkEngine>(*transport_, d2xx_->link.clock, *usb_, usbTraits());
        } else {
            engine = std::make_unique<LinkEngine>(serial_->transport, serial_->clock, *window_,
                                                  serialTraits());
        }
    }

    std::unique_ptr<SimD2xx> d2xx_;
    std::unique_ptr<UsbWindow> usb_;
    std::unique_ptr<sim::SimLink> serial_;
    std::unique_ptr<RecordingWindow> window_;
    std::unique_ptr<UsbTransport> transport_;
    int steps_ = 0;
};

} // namespace q7x::link::test
