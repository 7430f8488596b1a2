#include "link/linkengine.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "link/clockstamp.h"
#include "link/crc8.h"

namespace q7x::link {

LinkTraits serialTraits() { return LinkTraits{}; }

LinkTraits usbTraits() {
    LinkTraits t;
    t.kind = LinkKind::Usb;
    t.echo = false;
    LinkTiming &m = t.timing;
    m.connectStatusWait = 500;
    m.connectRetryPause = 0;
    m.headerByteEchoPause = 0;
    m.headerAckWait = 1000;
    m.setAddressBefore = 0;
    m.setAddressAfter = 50;
    m.setAddressBeforeW2 = 50;
    m.setAddressAfterW2 = 50;
    m.writeDataBefore = 0;
    m.writeDataAfter = 50;
    m.writeDataTail = 0;
    m.writeDataBeforeW2 = 30;
    m.writeDataAfterW2 = 0;
    m.writeDataTailW2 = 50;
    m.verifyWait = 50;
    m.readWait = 50;
    m.readClockBefore = 50;
    m.readClockWait = 500;
    m.q71ProgressDivisor = 325;
    return t;
}

int modemStateMessage(LinkKind kind, std::span<const std::uint8_t> r) {
    const bool usb = kind == LinkKind::Usb;
    if (r.size() < 4)
        return 0;
    if (r[0] == 0 && r[1] == 0)
        return usb ? 1534 : 1533;
    switch (r[3]) {
    case 1:
        return 1569;
    case 2:
        return 1568;
    case 3:
        return 1276;
    case 4:
        return 1567;
    case 5:
        return usb ? 1532 : 1566;
    case 6:
        return 1533;
    default:
        return 0;
    }
}

LinkEngine::LinkEngine(Transport &transport, Clock &clock, WindowPort &window, LinkTraits traits)
    : transport_(transport), clock_(clock), window_(window), traits_(traits) {}

void LinkEngine::cancel() {
    cancelRequested_.store(true);
    transport_.interrupt();
    clock_.interrupt();
}

void LinkEngine::status(LinkStatus s, int argument) {
    if (windowOpen())
        window_.showLinkStatus(s, argument);
}

void LinkEngine::progress(int percent) {
    if (windowOpen())
        window_.reportProgress(percent);
}

void LinkEngine::buttons(ButtonEvent e) {
    if (windowOpen())
        window_.setButtons(e);
}

void LinkEngine::closeLink() {
    // After a cancel the worker's owner closes the link once the run has returned.
    if (windowOpen())
        window_.closeLink();
}

void LinkEngine::pause(int ms) {
    if (ms > 0)
        clock_.pause(ms);
}

void LinkEngine::noteTransfer(bool ok) {
    if (!ok)
        linkDown_ = true;
}

void LinkEngine::sendFrame(std::span<const std::uint8_t> bytes) {
    noteTransfer(transport_.send(bytes));
    if (traits_.echo) {
        std::vector<std::uint8_t> echo(bytes.size());
        noteTransfer(transport_.receive(echo).ok);
    }
}

std::size_t LinkEngine::receiveInto(std::span<std::uint8_t> buffer) {
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    const ReceiveResult r = transport_.receive(buffer);
    noteTransfer(r.ok);
    return std::min(r.count, buffer.size());
}

bool LinkEngine::writeOneByte(std::uint8_t b) {
    const bool ok = transport_.send(std::span<const std::uint8_t>(&b, 1));
    noteTransfer(ok);
    if (!ok && usb())
        selfCancelled_ = true;
    return ok;
}

std::optional<std::uint8_t> LinkEngine::readOneByte() {
    std::uint8_t b = 0;
    const ReceiveResult r = transport_.receive(std::span<std::uint8_t>(&b, 1));
    if (r.count == 1)
        return b;
    if (!r.ok) {
        linkDown_ = true; // the caller ends with lostLink()
        return std::nullopt;
    }
    if (usb()) {
        selfCancelled_ = true; // a USB read that merely timed out stops the worker silently
    } else {
        status(LinkStatus::ByteNotReceived);
        readTimedOut_ = true;
    }
    return std::nullopt;
}

void LinkEngine::run(LinkOperation operation, DeviceModel model,
                     std::span<const std::uint8_t> image) {
    selfCancelled_ = false;
    readTimedOut_ = false;
    linkDown_ = false;
    if (operation == LinkOperation::Connect) {
        connect();
        return;
    }
    const bool known = operation == LinkOperation::WriteQ71 ||
                       operation == LinkOperation::ReadQ71 ||
                       operation == LinkOperation::RunModem ||
                       operation == LinkOperation::WriteQ72 || operation == LinkOperation::ReadQ72;
    if (!known)
        return;
    if (operation == LinkOperation::WriteQ71 && image.size() < Q71ImageSize)
        return;
    if (operation == LinkOperation::WriteQ72 && image.size() < Q72DeviceImageSize)
        return;
    if (model == DeviceModel::Q71 && !q71OperationHeader(operation))
        return;
    if (cancelled())
        return;
    switch (operation) {
    case LinkOperation::WriteQ72:
        writeQ72(image);
        break;
    case LinkOperation::ReadQ72:
        readQ72();
        break;
    case LinkOperation::WriteQ71:
        writeQ71(image);
        break;
    case LinkOperation::ReadQ71:
        readQ71();
        break;
    case LinkOperation::RunModem:
        runModem();
        break;
    case LinkOperation::Connect:
        break;
    }
}

// ---- connect ---------------------------------------------------------------------------------

void LinkEngine::connect() {
    const auto stopCancelled = [this] {
        // The one text a cancelled worker still shows.
        window_.showLinkStatus(LinkStatus::ConnectCancelled, 0);
        // Over USB every end of a connect closes the converter; after a cancel the owner does.
        if (usb())
            closeLink();
    };
    if (cancelled()) {
        stopCancelled();
        return;
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        status(LinkStatus::ConnectAttempt, attempt + 1);
        if (cancelled()) {
            stopCancelled();
            return;
        }
        sendFrame(ModelProbe);
        if (cancelled()) {
            if (usb())
                stopCancelled();
            return;
        }
        pause(traits_.timing.probeWait);
        std::array<std::uint8_t, 4> probe{};
        const std::size_t got = receiveInto(probe);
        if (got == 4 && probe[0] == 0x55 && probe[1] == 0x55) {
            q71Identified();
            return;
        }
        if (cancelled()) {
            stopCancelled();
            return;
        }
        sendFrame(statusRequest());
        if (cancelled()) {
            if (usb())
                stopCancelled();
            return;
        }
        pause(traits_.timing.connectStatusWait);
        Reply reply{};
        const std::size_t n = receiveInto(reply);
        if (usb() && cancelled()) {
            stopCancelled();
            return;
        }
        if (isValidReply(reply, n)) {
            q72Identified(reply);
            return;
        }
        pause(traits_.timing.connectRetryPause);
    }
    buttons(ButtonEvent::ConnectFailed);
    status(LinkStatus::NoAnswerAtConnect);
    closeLink();
}

void LinkEngine::q72Identified(const Reply &reply) {
    if (windowOpen())
        window_.showQ72Firmware(std::to_string(reply[1] >> 4) + "_" +
                                std::to_string(reply[1] & 0x0F));
    pause(100);
    if (windowOpen())
        window_.showModelLabel(DeviceModel::Q72);
    if (windowOpen())
        window_.adaptToModel(DeviceModel::Q72);
    const std::uint8_t done = ConnectComplete;
    sendFrame(std::span<const std::uint8_t>(&done, 1));
    status(LinkStatus::Q72Identified);
    if (windowOpen())
        window_.showLinkReady();
    if (usb())
        closeLink();
    if (windowOpen())
        window_.startChainedRead();
}

void LinkEngine::q71Identified() {
    if (windowOpen())
        window_.showModelLabel(DeviceModel::Q71);
    if (windowOpen())
        window_.adaptToModel(DeviceModel::Q71);
    const std::uint8_t done = ConnectComplete;
    sendFrame(std::span<const std::uint8_t>(&done, 1));
    status(LinkStatus::Q71Identified);
    if (windowOpen())
        window_.showLinkReady();
    if (usb())
        closeLink();
    else if (windowOpen())
        window_.startChainedRead();
}

// ---- Q71 header --------------------------------------------------------------------------------

bool LinkEngine::q71OperationHeader(LinkOperation operation) {
    const Bytes5 header = q71Header(operation);
    if (usb()) {
        transport_.send(header);
    } else {
        for (std::uint8_t b : header) {
            writeOneByte(b);
            if (!linkDown_) {
                pause(traits_.timing.headerByteEchoPause);
                readOneByte();
            }
            if (linkDown_) {
                lostLink();
                return false;
            }
        }
    }
    if (cancelled())
        return false;
    pause(traits_.timing.headerAckWait);
    const std::optional<std::uint8_t> ack = readOneByte();
    if (linkDown_) {
        lostLink();
        return false;
    }
    if (ack != Q71Accepted) {
        status(LinkStatus::Q71Refused);
        if (usb())
            closeLink();
        return false;
    }
    return true;
}

// ---- Q72 exchanges -----------------------------------------------------------------------------

std::optional<LinkEngine::Reply> LinkEngine::request(const Bytes5 &frame, int before, int after,
                                                     std::optional<int> address) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        pause(before);
        sendFrame(frame);
        pause(after);
        Reply reply{};
        const std::size_t n = receiveInto(reply);
        // A position reply naming another address counts as a failed try, so a device that
        // keeps doing so ends the write instead of holding it until Cancel.
        if (isValidReply(reply, n) && (!address || replyNamesAddress(reply, *address)))
            return reply;
    }
    return std::nullopt;
}

void LinkEngine::noAnswerFailure() {
    if (cancelled()) {
        buttons(ButtonEvent::LinkFailed);
        progress(0);
        return;
    }
    lostLink();
}

void LinkEngine::lostLink() {
    // After the window's Cancel these calls are dropped; Cancel has set the buttons itself.
    buttons(ButtonEvent::LinkFailed);
    status(LinkStatus::Q72NoAnswer);
    progress(0);
    closeLink();
}

void LinkEngine::writeQ72(std::span<const std::uint8_t> image) {
    struct SegmentPlan {
        Segment segment;
        int start;
        int blocks;
        int source; // image offset, or -1 for the FF filler
    };
    static constexpr std::array<SegmentPlan, 4> Plan{{{Segment::W1, 0x000, 64, 0},
                                                      {Segment::W2, 0x102, 24, 256},
                                                      {Segment::W3, 0x1A0, 24, 416},
                                                      {Segment::W4, 0x300, 64, -1}}};
    const LinkTiming &t = traits_.timing;
    progress(0);
    for (const SegmentPlan &seg : Plan) {
        const bool w2 = seg.segment == Segment::W2;
        int block = 0;
        int errors = 0;
        int address = seg.start;
        bool positioned = false;
        while (block < seg.blocks && errors <= 20) {
            if (!positioned) {
                const auto reply = request(setAddressRequest(address),
                                           w2 ? t.setAddressBeforeW2 : t.setAddressBefore,
                                           w2 ? t.setAddressAfterW2 : t.setAddressAfter, address);
                if (!reply) {
                    noAnswerFailure();
                    return;
                }
                positioned = true;
            }
            Bytes4 data{0xFF, 0xFF, 0xFF, 0xFF};
            if (seg.source >= 0)
                std::copy_n(image.begin() + seg.source + 4 * block, 4, data.begin());
            for (std::uint8_t b : data) {
                pause(w2 ? t.writeDataBeforeW2 : t.writeDataBefore);
                sendFrame(writeDataRequest(b));
                pause(w2 ? t.writeDataAfterW2 : t.writeDataAfter);
            }
            pause(w2 ? t.writeDataTailW2 : t.writeDataTail);
            const auto readBack = request(readBlockRequest(address), 0, t.verifyWait);
            if (!readBack) {
                noAnswerFailure();
                return;
            }
            if (!std::equal(data.begin(), data.end(), readBack->begin() + 1)) {
                ++errors;
                positioned = false; // set the device pointer again for the same block
                continue;
            }
            ++block;
            address += 4;
            errors = 0;
            switch (seg.segment) {
            case Segment::W1:
                progress((block - 1) * 100 / 152);
                break;
            case Segment::W2:
                progress((block + 62) * 100 / 152);
                break;
            case Segment::W3:
                progress(86 * 100 / 152); // the bar holds between W2 and W4
                break;
            case Segment::W4:
                progress((block + 85) * 100 / 152);
                break;
            }
        }
        if (errors > 20) {
            buttons(ButtonEvent::LinkFailed);
            status(LinkStatus::VerifyFailed);
            progress(0);
            closeLink();
            return;
        }
    }
    progress(100);
    status(LinkStatus::WriteCompleted);
    buttons(ButtonEvent::Q72Finished);
    progress(0);
}

void LinkEngine::readQ72() {
    struct SegmentPlan {
        int start;
        int blocks;
    };
    static constexpr std::array<SegmentPlan, 3> Plan{{{0x000, 64}, {0x102, 40}, {0x1A0, 24}}};
    std::vector<std::uint8_t> buffer(Q72ImageBufferSize, 0);
    std::size_t p = 0;
    progress(0);
    for (std::size_t s = 0; s < Plan.size(); ++s) {
        for (int k = 0; k < Plan[s].blocks; ++k) {
            const int address = Plan[s].start + 4 * k;
            const auto reply = request(readBlockRequest(address), traits_.timing.readBefore,
                                       traits_.timing.readWait);
            if (!reply) {
                noAnswerFailure();
                return;
            }
            for (int i = 1; i <= 4; ++i, ++p) {
                buffer[p] = (*reply)[static_cast<std::size_t>(i)];
                if (usb() && s == 2 && windowOpen())
                    window_.appendMemoLine(std::to_string(p) + " " + std::to_string(buffer[p]));
            }
            if (s == 0)
                progress(k * 100 / 88);
            else if (s == 1)
                progress(64 * 100 / 88); // the bar holds between R1 and R3
            else
                progress((k + 64) * 100 / 88);
        }
    }
    progress(0);
    if (cancelled())
        return;
    if (windowOpen())
        window_.deliverImage(DeviceModel::Q72, buffer);
    status(LinkStatus::ReadCompleted);
    buttons(ButtonEvent::Q72Finished);
    progress(0);
}

// ---- Q71 frames --------------------------------------------------------------------------------

void LinkEngine::writeQ71(std::span<const std::uint8_t> image) {
    progress(0);
    const auto frame = q71WriteFrame(image);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        if (writeOneByte(frame[i]) && traits_.echo)
            readOneByte();
        if (linkDown_) {
            lostLink();
            return;
        }
        progress(static_cast<int>((i + 1) * 100 /
                                  static_cast<std::size_t>(traits_.timing.q71ProgressDivisor)));
        pause(traits_.timing.q71BytePause);
        if (cancelled()) {
            progress(0);
            return;
        }
    }
    bool accepted = false;
    if (usb()) {
        pause(1000);
        accepted = readOneByte() == Q71Accepted;
    } else {
        std::array<std::uint8_t, 1> first{};
        pause(500);
        receiveInto(first);
        pause(500);
        std::array<std::uint8_t, 1> ack{};
        accepted = receiveInto(ack) == 1 && ack[0] == Q71Accepted;
    }
    if (linkDown_) {
        lostLink();
        return;
    }
    if (accepted) {
        status(LinkStatus::WriteCompleted);
        buttons(ButtonEvent::Q71Finished);
        progress(0);
        return;
    }
    status(LinkStatus::ByteNotReceived);
    selfCancelled_ = true;
    pause(500);
    progress(0);
    buttons(ButtonEvent::CancelOnly);
}

void LinkEngine::readQ71() {
    progress(0);
    std::array<std::uint8_t, Q71ReadFrameSize> frame{};
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const std::optional<std::uint8_t> b = readOneByte();
        // The rest of a frame that stopped coming over USB, or over a failed link, never comes.
        if (!b && (linkDown_ || usb())) {
            lostLink();
            return;
        }
        frame[i] = b.value_or(0);
        if (readTimedOut_) {
            readTimedOut_ = false;
            pause(500);
            progress(0);
            status(LinkStatus::ByteNotReceived);
            selfCancelled_ = true;
            return;
        }
        progress(static_cast<int>((i + 1) * 100 /
                                  static_cast<std::size_t>(traits_.timing.q71ProgressDivisor)));
    }
    if (cancelled())
        return;
    if (!q71ReadFrameIntact(frame)) {
        status(LinkStatus::Q71Refused);
        const std::uint8_t rejected = PcFrameRejected;
        sendFrame(std::span<const std::uint8_t>(&rejected, 1));
        progress(0);
        buttons(ButtonEvent::CancelOnly);
        selfCancelled_ = true;
        return;
    }
    const std::uint8_t accepted = PcFrameAccepted;
    sendFrame(std::span<const std::uint8_t>(&accepted, 1));
    std::vector<std::uint8_t> buffer(Q71ReadFrameSize, 0);
    std::copy(frame.begin() + 3, frame.begin() + 3 + Q71ImageSize, buffer.begin());
    if (windowOpen())
        window_.showQ71Firmware(frame[2]);
    if (windowOpen())
        window_.deliverImage(DeviceModel::Q71, buffer);
    status(LinkStatus::ReadCompleted);
    buttons(ButtonEvent::Q71Finished);
    progress(0);
}

// ---- run modem ---------------------------------------------------------------------------------

void LinkEngine::runModem() {
    const LinkTiming &t = traits_.timing;
    for (int i = 0; i < 5; ++i) {
        sendFrame(startModemRequest());
        if (linkDown_) {
            lostLink();
            return;
        }
        pause(t.modemPause);
    }
    progress(0);
    Reply lastStatus{};
    for (int poll = 0; poll < 30;) {
        if (cancelled())
            return;
        progress((poll + 1) * 100 / 30);
        sendFrame(statusRequest());
        pause(t.modemPause);
        receiveInto(lastStatus);
        if (linkDown_) {
            lostLink();
            return;
        }
        ++poll;
        if (poll == 10 || poll == 15 || poll == 20 || poll == 25) {
            // Only a stamp the window took from the PC clock is ever sent.
            const std::optional<ClockStamp> taken =
                windowOpen() ? window_.takeClockStamp() : std::nullopt;
            if (!taken || cancelled())
                return;
            const ClockStamp &stamp = *taken;
            if (!deviceClockHoldsYear(stamp)) {
                // Six bits of year cannot hold the PC year: say so rather than poll on.
                status(LinkStatus::ClockYearUnsupported);
                progress(0);
                buttons(ButtonEvent::Q72Finished);
                return;
            }
            sendFrame(setMinuteRequest(stamp));
            sendFrame(setDayHourRequest(stamp));
            sendFrame(setYearMonthRequest(stamp));
            pause(t.modemPause);
            Reply clockReply{};
            bool answered = false;
            for (int attempt = 0; attempt < 10 && !answered; ++attempt) {
                if (cancelled())
                    return;
                pause(t.readClockBefore);
                sendFrame(readClockRequest());
                pause(t.readClockWait);
                answered = isValidReply(clockReply, receiveInto(clockReply));
            }
            if (!answered) {
                buttons(ButtonEvent::ClockFailed);
                status(LinkStatus::ClockNotRead);
                progress(0);
                closeLink();
                return;
            }
            const DeviceClock clock = decodeDeviceClock(clockReply);
            if (clockMatchesStamp(clock, stamp)) {
                status(LinkStatus::ModemStarted);
                if (windowOpen())
                    window_.showDeviceClock(clock);
                buttons(ButtonEvent::Q72Finished);
                progress(0);
                return;
            }
        }
        // Only a status reply carries the modem state.
        if (lastStatus[3] >= 1 && lastStatus[3] <= 6)
            break;
    }
    status(LinkStatus::ModemFailed);
    progress(0);
    const int message = modemStateMessage(traits_.kind, lastStatus);
    if (message != 0 && windowOpen())
        window_.showModemStateText(message);
    buttons(ButtonEvent::Q72Finished);
}

} // namespace q7x::link
