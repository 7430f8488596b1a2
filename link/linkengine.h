#pragma once
// The exchanges of one link worker: connect, read, write and modem start for both models, with
// every pause, retry and cancellation check. Pure C++: the carrier, the time and the window come
// in through Transport, Clock and WindowPort.
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>

#include "link/frames.h"
#include "link/linkoperation.h"
#include "link/linkstatus.h"
#include "link/transport.h"
#include "link/windowport.h"

namespace q7x::link {

enum class LinkKind { Serial, Usb };

// Pauses (ms) of the exchanges; the two carriers differ in them.
struct LinkTiming {
    int probeWait = 500;          // ModelProbe to its answer
    int connectStatusWait = 100;  // StatusRequest to its answer at connect
    int connectRetryPause = 200;  // after a failed connect attempt (0: none)
    int headerByteEchoPause = 10; // serial: between a header byte and its echo
    int headerAckWait = 500;      // header to its acknowledgement
    int setAddressBefore = 50;    // before SetAddress (W1, W3, W4)
    int setAddressAfter = 20;     // SetAddress to its reply (W1, W3, W4)
    int setAddressBeforeW2 = 50;  //
    int setAddressAfterW2 = 20;   //
    int writeDataBefore = 30;     // before each WriteData (W1, W3, W4)
    int writeDataAfter = 0;       // after each WriteData (W1, W3, W4)
    int writeDataTail = 30;       // after the four WriteData (W1, W3, W4)
    int writeDataBeforeW2 = 30;   //
    int writeDataAfterW2 = 0;     //
    int writeDataTailW2 = 30;     //
    int verifyWait = 20;          // ReadBlock to its reply while writing
    int readBefore = 5;           // before ReadBlock while reading
    int readWait = 0;             // ReadBlock to its reply while reading
    int q71BytePause = 5;         // after each Q71 write byte
    int modemPause = 500;         // after StartModem, a status poll, the clock setting
    int readClockBefore = 10;     //
    int readClockWait = 10;       //
    int q71ProgressDivisor = 324; //
};

struct LinkTraits {
    LinkKind kind = LinkKind::Serial;
    bool echo = true; // the serial line returns every transmitted byte
    LinkTiming timing;
};

LinkTraits serialTraits();
LinkTraits usbTraits();

// Message numbers the status bar shows after a failed modem start, by the state byte of the
// last status reply; 0 when the M1581 text stays.
int modemStateMessage(LinkKind kind, std::span<const std::uint8_t> lastStatusReply);

class LinkEngine {
  public:
    LinkEngine(Transport &transport, Clock &clock, WindowPort &window, LinkTraits traits);

    // Performs one operation. `model` is the window's DeviceModel (it selects the Q71 header);
    // `image` is the encoded image of a write (Q71: at least 320 bytes, Q72: at least 512). An
    // operation code the engine does not know, or a write image that is too short, ends the run
    // without effect.
    void run(LinkOperation operation, DeviceModel model, std::span<const std::uint8_t> image = {});

    // Callable from any thread (Cancel): sets the cancellation flag and wakes a pending transfer
    // or pause. The run stops at its next check and makes no further window call other than
    // LinkStatus 13 of a connect.
    void cancel();
    // True once cancel() was called.
    bool cancelRequested() const { return cancelRequested_.load(); }

  private:
    using Reply = std::array<std::uint8_t, ReplySize>;
    enum class Segment { W1, W2, W3, W4 };

    bool cancelled() const { return cancelRequested_.load() || selfCancelled_; }
    bool windowOpen() const { return !cancelRequested_.load(); }
    bool usb() const { return traits_.kind == LinkKind::Usb; }

    // Window calls, dropped once the window cancelled the worker.
    void status(LinkStatus s, int argument = 0);
    void progress(int percent);
    void buttons(ButtonEvent e);
    void closeLink();

    void pause(int ms);
    void sendFrame(std::span<const std::uint8_t> bytes); // send and, on serial, read the echo
    std::size_t receiveInto(std::span<std::uint8_t> buffer);
    bool writeOneByte(std::uint8_t b);
    std::optional<std::uint8_t> readOneByte();
    // Notes a transfer that failed outright (a cable or converter pulled, a closed port), as
    // opposed to one that merely timed out.
    void noteTransfer(bool ok);

    void connect();
    void q72Identified(const Reply &reply);
    void q71Identified();
    bool q71OperationHeader(LinkOperation operation);
    void writeQ72(std::span<const std::uint8_t> image);
    void readQ72();
    void writeQ71(std::span<const std::uint8_t> image);
    void readQ71();
    void runModem();
    void noAnswerFailure();
    // The link failed under a transfer: nothing more can cross it, so the operation ends as when
    // the device stops answering (LinkStatus 20, the failure buttons, the link closed).
    void lostLink();

    // Up to ten tries of `request` until a valid reply (and, for a position request, one that
    // names `address`). Each try: pause `before`, send [echo], pause `after`, receive 6.
    std::optional<Reply> request(const Bytes5 &frame, int before, int after,
                                 std::optional<int> address = std::nullopt);

    Transport &transport_;
    Clock &clock_;
    WindowPort &window_;
    LinkTraits traits_;
    std::atomic<bool> cancelRequested_{false};
    bool selfCancelled_ = false;
    bool readTimedOut_ = false;
    bool linkDown_ = false;
};

} // namespace q7x::link
