#pragma once
// Everything a link worker asks the window to do. Each call is made from the worker thread and
// must run on the window thread while the worker waits for it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/clockstamp.h"
#include "link/linkstatus.h"

namespace q7x::link {

// Button changes a worker asks for (on = enabled, others unchanged).
enum class ButtonEvent {
    ConnectFailed, // Connect, port list, Mode on; Cancel, Write, Read off
    LinkFailed,    // Connect, port list on; Cancel, Write, Read off
    ClockFailed,   // as LinkFailed, and Run modem off
    Q72Finished,   // Write, Read, Run modem on
    Q71Finished,   // Cancel, Write, Read on
    CancelOnly,    // Cancel on (a refused Q71 frame or write)
};

class WindowPort {
  public:
    virtual ~WindowPort() = default;

    // ShowLinkStatus: the text (and box) of `status`; `argument` is the attempt number of
    // ConnectAttempt and 0 otherwise. The fixed texts that VerifyFailed and ClockNotRead show
    // over USB are the window's concern.
    virtual void showLinkStatus(LinkStatus status, int argument) = 0;
    // Replaces the status bar text with message Mn after a failed modem start.
    virtual void showModemStateText(int messageNumber) = 0;
    // ReportProgress: pb1 := percent (0..100).
    virtual void reportProgress(int percent) = 0;
    virtual void setButtons(ButtonEvent event) = 0;
    // VersionLabel := M1003 formatted with `firmware` ("1_3"), visible.
    virtual void showQ72Firmware(const std::string &firmware) = 0;
    // VersionLabel := "Версия ПО прибора:" + number + "_x", visible.
    virtual void showQ71Firmware(int number) = 0;
    // Label1 := M1044 + " " + (M1238 for Q71, M1237 for Q72), visible.
    virtual void showModelLabel(DeviceModel model) = 0;
    // DeviceModel := model and the model adaptation of the window.
    virtual void adaptToModel(DeviceModel model) = 0;
    // ShowLinkReady after a successful connect.
    virtual void showLinkReady() = 0;
    // TakeClockStamp: the PC clock now; nothing when the window let go of the worker before it
    // could take the clock.
    virtual std::optional<ClockStamp> takeClockStamp() = 0;
    // DateLabel and TimeLabel show the clock read back from the device.
    virtual void showDeviceClock(const DeviceClock &clock) = 0;
    // Hands a read image to the decoder of `model`: Q71 a 324-byte buffer whose first 320 bytes
    // are the image, Q72 the 700-byte buffer. The span is valid only during the call.
    virtual void deliverImage(DeviceModel model, std::span<const std::uint8_t> image) = 0;
    // Adds one line to the hidden memo (USB read of the last segment).
    virtual void appendMemoLine(const std::string &line) = 0;
    // Asks the window to start a read, as the Read button does, once this worker has ended.
    virtual void startChainedRead() = 0;
    // Closes the link after a failure (serial: the port; USB: purge, close, handle 0). The worker
    // makes no further transfer after this call.
    virtual void closeLink() = 0;
};

// A window that shows nothing: for running the engine without one (benchmarks, fuzzing). Each
// call does nothing; the clock stamp is all zero. Override what the run needs to see.
class SilentWindowPort : public WindowPort {
  public:
    void showLinkStatus(LinkStatus, int) override {}
    void showModemStateText(int) override {}
    void reportProgress(int) override {}
    void setButtons(ButtonEvent) override {}
    void showQ72Firmware(const std::string &) override {}
    void showQ71Firmware(int) override {}
    void showModelLabel(DeviceModel) override {}
    void adaptToModel(DeviceModel) override {}
    void showLinkReady() override {}
    std::optional<ClockStamp> takeClockStamp() override { return ClockStamp{}; }
    void showDeviceClock(const DeviceClock &) override {}
    void deliverImage(DeviceModel, std::span<const std::uint8_t>) override {}
    void appendMemoLine(const std::string &) override {}
    void startChainedRead() override {}
    void closeLink() override {}
};

} // namespace q7x::link
