// The link engine against the in-process device simulator: byte traces, pauses, retries,
// statuses, button states and progress of every operation over both carriers.
#include <QtTest>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "link/linkengine.h"
#include "recordingwindow.h"
#include "tools/q7xsim/loopback.h"

using namespace q7x::link;
using q7x::link::test::RecordingWindow;
using q7x::sim::Model;
using q7x::sim::SimLink;
using q7x::sim::TraceEvent;
using Lines = std::vector<std::string>;

namespace {

struct Rig {
    Rig(Model model, LinkKind kind)
        : link(model, kind), engine(link.transport, link.clock, window,
                                    kind == LinkKind::Serial ? serialTraits() : usbTraits()) {
        // A run that never ends fails its test instead of hanging it.
        link.transport.onStep = [this] {
            if (++steps == 100000)
                engine.cancel();
        };
    }
    Lines trace() const { return q7x::sim::describe(link.transport.trace); }
    // Only the frames sent, in order.
    Lines sent() const {
        Lines out;
        for (const TraceEvent &e : link.transport.trace)
            if (e.kind == TraceEvent::Kind::Send)
                out.push_back(q7x::sim::describe(e));
        return out;
    }
    int pausesTotal() const {
        int total = 0;
        for (const TraceEvent &e : link.transport.trace)
            if (e.kind == TraceEvent::Kind::Pause)
                total += e.ms;
        return total;
    }
    SimLink link;
    RecordingWindow window;
    LinkEngine engine;
    int steps = 0;
};

Lines head(const Lines &lines, std::size_t n) {
    return Lines(lines.begin(),
                 lines.begin() + static_cast<std::ptrdiff_t>(std::min(n, lines.size())));
}

long count(const Lines &lines, const std::string &line) {
    return std::count(lines.begin(), lines.end(), line);
}

// An image with a recognisable byte at every offset.
std::vector<std::uint8_t> patternImage() {
    std::vector<std::uint8_t> image(702);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    return image;
}

const std::string StatusReq = "S 55 0C 12 00 9F";
const std::string Probe = "S 55 55 AA AA";
const std::string ReadClock = "S 55 0C 02 00 73";

} // namespace

class TestLinkEngine : public QObject {
    Q_OBJECT
  private slots:
    // ---- connect ----

    void connectQ72Serial() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(rig.trace(), (Lines{Probe, "R4/4", "P500", "R4/0", StatusReq, "R5/5", "P100",
                                     "R6/6", "P100", "S 00", "R1/1"}));
        QCOMPARE(rig.window.calls, (Lines{"status 7 1", "firmware 1_3", "label Q72", "adapt Q72",
                                          "status 8", "ready", "chain read"}));
    }

    void connectQ71Serial() {
        Rig rig(Model::Q71, LinkKind::Serial);
        rig.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(rig.trace(), (Lines{Probe, "R4/4", "P500", "R4/4", "S 00", "R1/1"}));
        QCOMPARE(rig.window.calls, (Lines{"status 7 1", "label Q71", "adapt Q71", "status 23",
                                          "ready", "chain read"}));
    }

    void connectUsb() {
        Rig q72(Model::Q72, LinkKind::Usb);
        q72.link.device.firmware = 0x24;
        q72.engine.run(LinkOperation::Connect, DeviceModel::Q71);
        QCOMPARE(q72.trace(),
                 (Lines{Probe, "P500", "R4/0", StatusReq, "P500", "R6/6", "P100", "S 00"}));
        QCOMPARE(q72.window.calls, (Lines{"status 7 1", "firmware 2_4", "label Q72", "adapt Q72",
                                          "status 8", "ready", "close", "chain read"}));

        // A Q71 over USB: the converter is closed and no read follows.
        Rig q71(Model::Q71, LinkKind::Usb);
        q71.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(q71.trace(), (Lines{Probe, "P500", "R4/4", "S 00"}));
        QCOMPARE(q71.window.calls,
                 (Lines{"status 7 1", "label Q71", "adapt Q71", "status 23", "ready", "close"}));
    }

    void connectAnswersOnTenthAttempt_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("kind");
        QTest::newRow("q71 serial") << int(Model::Q71) << int(LinkKind::Serial);
        QTest::newRow("q72 serial") << int(Model::Q72) << int(LinkKind::Serial);
        QTest::newRow("q72 usb") << int(Model::Q72) << int(LinkKind::Usb);
    }
    void connectAnswersOnTenthAttempt() {
        QFETCH(int, model);
        QFETCH(int, kind);
        Rig rig{Model(model), LinkKind(kind)};
        rig.link.device.faults.answerOnAttempt = 10;
        rig.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        const Lines &calls = rig.window.calls;
        for (int n = 1; n <= 10; ++n)
            QCOMPARE(count(calls, "status 7 " + std::to_string(n)), 1L);
        QCOMPARE(count(calls, "status 7 11"), 0L);
        QVERIFY(count(calls, Model(model) == Model::Q71 ? "status 23" : "status 8") == 1);
        QCOMPARE(count(calls, "status 1"), 0L);
        // Serial waits 200 ms after each failed attempt, USB does not.
        const long retryPauses = count(rig.trace(), "P200");
        QCOMPARE(retryPauses, LinkKind(kind) == LinkKind::Serial ? 9L : 0L);
    }

    void connectSilentDevice() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.link.device.faults.silent = true;
        rig.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), Probe), 10L);
        QCOMPARE(count(rig.sent(), StatusReq), 10L);
        QCOMPARE(rig.pausesTotal(), 10 * (500 + 100 + 200));
        QCOMPARE(head(Lines(rig.window.calls.end() - 3, rig.window.calls.end()), 3),
                 (Lines{"buttons ConnectFailed", "status 1", "close"}));
        QCOMPARE(rig.window.calls.size(), std::size_t{13});

        Rig usb(Model::Q72, LinkKind::Usb);
        usb.link.device.faults.silent = true;
        usb.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(usb.pausesTotal(), 10 * (500 + 500));
        QCOMPARE(usb.window.calls.back(), std::string("close"));
    }

    void connectCancelledBeforeTransmission() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.engine.cancel();
        rig.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(rig.window.calls, (Lines{"status 13"}));
        QVERIFY(rig.trace().empty());

        // Cancelled while the second attempt is shown: 13 and nothing sent after it.
        Rig late(Model::Q72, LinkKind::Serial);
        late.link.device.faults.silent = true;
        late.window.onCall = [&] {
            if (late.window.calls.size() == 1)
                late.engine.cancel();
        };
        late.engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(late.window.calls, (Lines{"status 7 1", "status 7 2", "status 13"}));
        QCOMPARE(late.link.transport.sendsAfterInterrupt, 0);
    }

    // ---- Q72 read ----

    void readQ72Serial() {
        Rig rig(Model::Q72, LinkKind::Serial);
        for (std::size_t a = 0; a < 0x200; ++a)
            rig.link.device.memory[a] = static_cast<std::uint8_t>(a ^ 0x5A);
        rig.engine.run(LinkOperation::ReadQ72, DeviceModel::Q72);
        QCOMPARE(head(rig.trace(), 12),
                 (Lines{"P5", "S 55 0C 04 00 D9", "R5/5", "R6/6", "P5", "S 55 0C 04 04 B8", "R5/5",
                        "R6/6", "P5", "S 55 0C 04 08 1B", "R5/5", "R6/6"}));
        const Lines sent = rig.sent();
        QCOMPARE(sent.size(), std::size_t{128});
        QCOMPARE(sent[64], std::string("S 55 0C 14 02 89"));  // R2 starts at 0x102
        QCOMPARE(sent[104], std::string("S 55 0C 14 A0 9A")); // R3 starts at 0x1A0
        QCOMPARE(rig.window.calls, (Lines{"image Q72 700", "status 11", "buttons Q72Finished"}));

        const std::vector<std::uint8_t> &img = rig.window.image;
        QCOMPARE(img.size(), std::size_t{700});
        for (std::size_t i = 0; i < 256; ++i)
            QCOMPARE(img[i], std::uint8_t(i ^ 0x5A));
        for (std::size_t k = 0; k < 160; ++k) // image 256 + k is device 0x102 + k
            QCOMPARE(img[256 + k], std::uint8_t((0x102 + k) ^ 0x5A));
        for (std::size_t i = 416; i < 512; ++i)
            QCOMPARE(img[i], std::uint8_t((0x1A0 + i - 416) ^ 0x5A));
        QVERIFY(std::all_of(img.begin() + 512, img.end(), [](std::uint8_t b) { return b == 0; }));

        const std::vector<int> &p = rig.window.progressValues;
        QCOMPARE(p.front(), 0);
        QCOMPARE(p[1], 0);    // R1 block 0
        QCOMPARE(p[64], 71);  // R1 block 63: 63 * 100 / 88
        QCOMPARE(p[128], 98); // R3 block 23: 87 * 100 / 88
        QVERIFY(std::is_sorted(p.begin() + 1, p.begin() + 129));
        QCOMPARE(p.back(), 0);
        QVERIFY(rig.window.memo.empty());
    }

    void readQ72OfLoadedImage() {
        // An image put into the device comes back from a read at the same offsets, except 414 and
        // 415, which hold device bytes 0x1A0 and 0x1A1 again.
        Rig rig(Model::Q72, LinkKind::Serial);
        const auto image = patternImage();
        rig.link.device.loadImage(image);
        rig.engine.run(LinkOperation::ReadQ72, DeviceModel::Q72);
        const std::vector<std::uint8_t> &img = rig.window.image;
        QCOMPARE(img.size(), std::size_t{700});
        for (std::size_t i = 0; i < 512; ++i) {
            const std::size_t expected = i == 414 ? 416 : i == 415 ? 417 : i;
            QCOMPARE(img[i], image[expected]);
        }
    }

    void readQ72Usb() {
        Rig rig(Model::Q72, LinkKind::Usb);
        rig.link.device.memory[0x1A0] = 3;
        rig.link.device.memory[0x1FF] = 200;
        rig.engine.run(LinkOperation::ReadQ72, DeviceModel::Q72);
        QCOMPARE(head(rig.trace(), 8), (Lines{"P5", "S 55 0C 04 00 D9", "P50", "R6/6", "P5",
                                              "S 55 0C 04 04 B8", "P50", "R6/6"}));
        const Lines &memo = rig.window.memo;
        QCOMPARE(memo.size(), std::size_t{96});
        QCOMPARE(memo.front(), std::string("416 3"));
        QCOMPARE(memo[1], std::string("417 255"));
        QCOMPARE(memo.back(), std::string("511 200"));
        // Lines of an earlier read stay.
        rig.engine.run(LinkOperation::ReadQ72, DeviceModel::Q72);
        QCOMPARE(rig.window.memo.size(), std::size_t{192});
    }

    void readQ72TenSilentReplies() {
        // Nine dropped replies in a row are retried; the tenth ends the read.
        for (int dropped : {9, 10}) {
            Rig rig(Model::Q72, LinkKind::Serial);
            rig.link.device.faults.dropFrom = 70;
            rig.link.device.faults.dropCount = dropped;
            rig.engine.run(LinkOperation::ReadQ72, DeviceModel::Q72);
            if (dropped == 9) {
                QCOMPARE(rig.window.statuses, (std::vector<int>{11}));
                QCOMPARE(rig.sent().size(), std::size_t{128 + 9});
            } else {
                QCOMPARE(rig.window.calls, (Lines{"buttons LinkFailed", "status 20", "close"}));
                QCOMPARE(rig.window.progressValues.back(), 0);
                QCOMPARE(rig.sent().size(), std::size_t{70 + 10});
                // Each silent try waits for the whole six-byte time-out.
                QCOMPARE(count(rig.trace(), "R6/0"), 10L);
            }
        }
    }

    // ---- Q72 write ----

    void writeQ72Serial() {
        Rig rig(Model::Q72, LinkKind::Serial);
        const auto image = patternImage(); // image[0..3] = 03 0A 11 18
        rig.engine.run(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        const Lines block0{"P50", "S 55 0C 0B 00 C1", "R5/5", "P20", "R6/6", "P30",
                           "S 55 0C 03 03 55", "R5/5", "P30", "S 55 0C 03 0A C9", "R5/5", "P30",
                           "S 55 0C 03 11 74", "R5/5", "P30", "S 55 0C 03 18 E8", "R5/5", "P30",
                           "S 55 0C 04 00 D9", "R5/5", "P20", "R6/6",
                           // block 1 follows without positioning
                           "P30", "S 55 0C 03 1F 6B"};
        QCOMPARE(head(rig.trace(), block0.size()), block0);

        Lines positions;
        for (const std::string &s : rig.sent())
            if (s.rfind("S 55 0C", 0) == 0 && s[9] == 'B')
                positions.push_back(s);
        QCOMPARE(positions, (Lines{"S 55 0C 0B 00 C1", "S 55 0C 1B 02 91", "S 55 0C 1B A0 82",
                                   "S 55 0C 3B 00 EC"}));
        QCOMPARE(rig.sent().size(), std::size_t{4 + 176 * 5});

        const auto &mem = rig.link.device.memory;
        for (std::size_t i = 0; i < 256; ++i)
            QCOMPARE(mem[i], image[i]);
        for (std::size_t k = 0; k < 96; ++k)
            QCOMPARE(mem[0x102 + k], image[256 + k]);
        for (std::size_t k = 0; k < 96; ++k)
            QCOMPARE(mem[0x1A0 + k], image[416 + k]);
        for (std::size_t a = 0x300; a < 0x400; ++a)
            QCOMPARE(mem[a], std::uint8_t{0xFF});

        QCOMPARE(rig.window.calls, (Lines{"status 10", "buttons Q72Finished"}));
        const std::vector<int> &p = rig.window.progressValues;
        QCOMPARE(p.size(), std::size_t{1 + 176 + 2});
        QCOMPARE(p[1], 0);    // W1 block 1: 0 * 100 / 152
        QCOMPARE(p[64], 41);  // W1 block 64
        QCOMPARE(p[65], 41);  // W2 block 1: 63 * 100 / 152
        QCOMPARE(p[88], 56);  // W2 block 24
        QCOMPARE(p[176], 98); // W4 block 64: 149 * 100 / 152
        QVERIFY(std::is_sorted(p.begin(), p.end() - 1));
        QCOMPARE(p[p.size() - 2], 100);
        QCOMPARE(p.back(), 0);
    }

    void writeQ72UsbTiming() {
        Rig rig(Model::Q72, LinkKind::Usb);
        const auto image = patternImage();
        rig.engine.run(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        QCOMPARE(head(rig.trace(), 14),
                 (Lines{"S 55 0C 0B 00 C1", "P50", "R6/6", "S 55 0C 03 03 55", "P50",
                        "S 55 0C 03 0A C9", "P50", "S 55 0C 03 11 74", "P50", "S 55 0C 03 18 E8",
                        "P50", "S 55 0C 04 00 D9", "P50", "R6/6"}));
        // W2 pauses before positioning and before each data byte.
        const Lines t = rig.trace();
        const auto w2 = std::find(t.begin(), t.end(), "S 55 0C 1B 02 91");
        QVERIFY(w2 != t.end());
        // W2 block 0 carries image[256..259], the same bytes as block 0 of W1.
        QCOMPARE(Lines(w2 - 1, w2 + 12),
                 (Lines{"P50", "S 55 0C 1B 02 91", "P50", "R6/6", "P30", "S 55 0C 03 03 55", "P30",
                        "S 55 0C 03 0A C9", "P30", "S 55 0C 03 11 74", "P30", "S 55 0C 03 18 E8",
                        "P50"}));
        QCOMPARE(rig.window.statuses, (std::vector<int>{10}));
    }

    void writeQ72MismatchRewritesBlock() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.link.device.faults.mismatchAddress = 0x004;
        rig.link.device.faults.mismatchCount = 1;
        const auto image = patternImage();
        rig.engine.run(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        const Lines s = rig.sent();
        // block 0: position, 4 data, verify; block 1: 4 data, verify (mismatch), then the same
        // block again from its position.
        QCOMPARE(s[10], std::string("S 55 0C 04 04 B8"));
        QCOMPARE(s[11], std::string("S 55 0C 0B 04 A0"));
        QCOMPARE(Lines(s.begin() + 12, s.begin() + 16), Lines(s.begin() + 6, s.begin() + 10));
        QCOMPARE(s[16], std::string("S 55 0C 04 04 B8"));
        QCOMPARE(rig.window.statuses, (std::vector<int>{10}));
        QCOMPARE(rig.link.device.memory[4], image[4]);
    }

    void writeQ72TwentyFirstMismatchFails() {
        for (int mismatches : {20, 21}) {
            Rig rig(Model::Q72, LinkKind::Serial);
            rig.link.device.faults.mismatchAddress = 0x1A4;
            rig.link.device.faults.mismatchCount = mismatches;
            rig.engine.run(LinkOperation::WriteQ72, DeviceModel::Q72, patternImage());
            const long positions = count(rig.sent(), "S 55 0C 1B A4 E3");
            if (mismatches == 20) {
                QCOMPARE(rig.window.statuses, (std::vector<int>{10}));
                QCOMPARE(positions, 20L);
            } else {
                QCOMPARE(rig.window.calls, (Lines{"buttons LinkFailed", "status 21", "close"}));
                QCOMPARE(positions, 20L);
                QCOMPARE(count(rig.sent(), "S 55 0C 14 A4 FB"), 21L);
                QCOMPARE(rig.sent().back(), std::string("S 55 0C 14 A4 FB"));
                QCOMPARE(rig.window.progressValues.back(), 0);
            }
        }
    }

    void writeQ72WrongAddressReplyEnds() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.link.device.faults.wrongAddressReply = true;
        rig.engine.run(LinkOperation::WriteQ72, DeviceModel::Q72, patternImage());
        QCOMPARE(rig.sent(), Lines(10, "S 55 0C 0B 00 C1"));
        QCOMPARE(rig.window.calls, (Lines{"buttons LinkFailed", "status 20", "close"}));
    }

    void writeQ72VerifyUnanswered() {
        Rig rig(Model::Q72, LinkKind::Usb);
        rig.link.device.faults.dropFrom = 1; // position reply 0 arrives, read-backs do not
        rig.link.device.faults.dropCount = 10;
        rig.engine.run(LinkOperation::WriteQ72, DeviceModel::Q72, patternImage());
        QCOMPARE(count(rig.sent(), "S 55 0C 04 00 D9"), 10L);
        QCOMPARE(rig.window.calls, (Lines{"buttons LinkFailed", "status 20", "close"}));
    }

    void writeQ72ShortImageDoesNothing() {
        Rig rig(Model::Q72, LinkKind::Serial);
        const std::vector<std::uint8_t> image(511, 0);
        rig.engine.run(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        QVERIFY(rig.trace().empty());
        QVERIFY(rig.window.calls.empty());
    }

    // ---- Q71 ----

    void writeQ71Serial() {
        Rig rig(Model::Q71, LinkKind::Serial);
        auto image = patternImage();
        rig.engine.run(LinkOperation::WriteQ71, DeviceModel::Q71, image);
        QCOMPARE(
            head(rig.trace(), 20),
            (Lines{"S 55", "P10",  "R1/1", "S 55", "P10",  "R1/1", "S 01", "P10",  "R1/1", "S 00",
                   "P10",  "R1/1", "S D3", "P10",  "R1/1", "P500", "R1/1", "S AA", "R1/1", "P5"}));
        const Lines t = rig.trace();
        QCOMPARE(Lines(t.end() - 4, t.end()), (Lines{"P500", "R1/1", "P500", "R1/1"}));
        QCOMPARE(rig.sent().size(), std::size_t{5 + 323});
        QCOMPARE(rig.link.device.q71FramesStored, 1);
        QVERIFY(std::equal(image.begin(), image.begin() + 320, rig.link.device.q71Image.begin()));
        QCOMPARE(rig.window.calls, (Lines{"status 10", "buttons Q71Finished"}));
        const std::vector<int> &p = rig.window.progressValues;
        QCOMPARE(p.size(), std::size_t{1 + 323 + 1});
        QCOMPARE(p[323], 99); // 323 * 100 / 324
    }

    void writeQ71Usb() {
        Rig rig(Model::Q71, LinkKind::Usb);
        rig.engine.run(LinkOperation::WriteQ71, DeviceModel::Q71, patternImage());
        QCOMPARE(head(rig.trace(), 6),
                 (Lines{"S 55 55 01 00 D3", "P1000", "R1/1", "S AA", "P5", "S AA"}));
        const Lines t = rig.trace();
        QCOMPARE(Lines(t.end() - 2, t.end()), (Lines{"P1000", "R1/1"}));
        QCOMPARE(rig.window.progressValues[323], 99); // 323 * 100 / 325
        QCOMPARE(rig.window.statuses, (std::vector<int>{10}));
    }

    void writeQ71NotAcknowledged() {
        Rig rig(Model::Q71, LinkKind::Serial);
        rig.link.device.faults.dropFrom = 1; // the header is accepted, the frame is not answered
        rig.link.device.faults.dropCount = 1;
        rig.engine.run(LinkOperation::WriteQ71, DeviceModel::Q71, patternImage());
        QCOMPARE(rig.window.calls, (Lines{"status 6", "buttons CancelOnly"}));
        const Lines t = rig.trace();
        QCOMPARE(t.back(), std::string("P500"));
    }

    void q71HeaderRefused() {
        Rig rig(Model::Q71, LinkKind::Serial);
        rig.link.device.faults.refuseHeader = true;
        rig.engine.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(rig.window.calls, (Lines{"status 4"}));
        QCOMPARE(rig.sent().size(), std::size_t{5});

        Rig usb(Model::Q71, LinkKind::Usb);
        usb.link.device.faults.refuseHeader = true;
        usb.engine.run(LinkOperation::WriteQ71, DeviceModel::Q71, patternImage());
        QCOMPARE(usb.window.calls, (Lines{"status 4", "close"}));
    }

    void readQ71() {
        Rig rig(Model::Q71, LinkKind::Serial);
        rig.link.device.q71Firmware = 42;
        rig.engine.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(rig.window.calls,
                 (Lines{"firmware71 42", "image Q71 324", "status 11", "buttons Q71Finished"}));
        QVERIFY(std::equal(rig.link.device.q71Image.begin(), rig.link.device.q71Image.end(),
                           rig.window.image.begin()));
        QCOMPARE(rig.link.device.pcAcks, (std::vector<std::uint8_t>{0x00}));
        QCOMPARE(count(rig.trace(), "R1/1"), 5L + 1 + 324 + 1);
        QCOMPARE(rig.window.progressValues[324], 100);
    }

    void readQ71WrongCheckByte_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("serial") << int(LinkKind::Serial);
        QTest::newRow("usb") << int(LinkKind::Usb);
    }
    void readQ71WrongCheckByte() {
        QFETCH(int, kind);
        Rig rig(Model::Q71, LinkKind(kind));
        rig.link.device.faults.badQ71CheckByte = true;
        rig.engine.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(rig.link.device.pcAcks, (std::vector<std::uint8_t>{0xFF}));
        const Lines s = rig.sent();
        QCOMPARE(s.back(), std::string("S FF"));
        QCOMPARE(count(s, "S FF"), 1L);
        QCOMPARE(rig.window.calls, (Lines{"status 4", "buttons CancelOnly"}));
        QVERIFY(rig.window.image.empty());
    }

    void readQ71FrameMissing() {
        Rig rig(Model::Q71, LinkKind::Serial);
        rig.link.device.faults.dropFrom = 1;
        rig.link.device.faults.dropCount = 1;
        rig.engine.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(rig.window.statuses, (std::vector<int>{6, 6}));
        const Lines t = rig.trace();
        QCOMPARE(Lines(t.end() - 2, t.end()), (Lines{"R1/0", "P500"}));
        QVERIFY(rig.link.device.pcAcks.empty());

        // Over USB a read that merely times out stops silently once the frame has been waited for.
        Rig usb(Model::Q71, LinkKind::Usb);
        usb.link.device.faults.dropFrom = 1;
        usb.link.device.faults.dropCount = 1;
        usb.engine.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QVERIFY(usb.window.statuses.empty());
        QCOMPARE(count(usb.trace(), "R1/0"), 324L);
        QVERIFY(usb.link.device.pcAcks.empty());
    }

    // ---- run modem ----

    void modemStates_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        const char *serial[] = {"M1569", "M1568", "M1276", "M1567", "M1566", "M1533"};
        const char *usb[] = {"M1569", "M1568", "M1276", "M1567", "M1532", "M1533"};
        for (int s = 1; s <= 6; ++s) {
            QTest::addRow("serial %d", s) << int(LinkKind::Serial) << s << QString(serial[s - 1]);
            QTest::addRow("usb %d", s) << int(LinkKind::Usb) << s << QString(usb[s - 1]);
        }
    }
    void modemStates() {
        QFETCH(int, kind);
        QFETCH(int, state);
        QFETCH(QString, text);
        Rig rig(Model::Q72, LinkKind(kind));
        rig.link.device.modemStates = {0, 7, std::uint8_t(state)};
        rig.engine.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), "S 55 0C 0A 00 05"), 5L);
        QCOMPARE(count(rig.sent(), StatusReq), 3L); // polls go on through states 0 and 7
        QCOMPARE(rig.window.calls,
                 (Lines{"status 16", "state " + text.toStdString(), "buttons Q72Finished"}));
    }

    void modemNothingReceived() {
        for (LinkKind kind : {LinkKind::Serial, LinkKind::Usb}) {
            Rig rig(Model::Q72, kind);
            rig.link.device.faults.mutedStatus = true;
            rig.link.device.faults.stuckClock = true;
            rig.engine.run(LinkOperation::RunModem, DeviceModel::Q72);
            QCOMPARE(count(rig.sent(), StatusReq), 30L);
            QCOMPARE(rig.window.stampsTaken, 4);
            QCOMPARE(rig.window.calls.back(), std::string("buttons Q72Finished"));
            const std::string text = kind == LinkKind::Serial ? "state M1533" : "state M1534";
            QCOMPARE(rig.window.calls[rig.window.calls.size() - 2], text);
        }
    }

    void modemStateNotTakenFromClockReply() {
        // The device clock stays in January, whose month byte sits where a status reply keeps
        // the modem state; the run must still poll thirty times.
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.link.device.faults.stuckClock = true;
        rig.link.device.clock = {9, 1, 1, 0, 0};
        rig.window.stamp = q7x::link::makeClockStamp(2013, 12, 31, 23, 59, 0);
        rig.engine.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), StatusReq), 30L);
        QCOMPARE(count(rig.sent(), ReadClock), 4L);
        QCOMPARE(rig.window.statuses, (std::vector<int>{16}));
        QCOMPARE(count(rig.window.calls, "state M1569"), 0L);
        QCOMPARE(rig.window.progressValues[30], 100);
    }

    void modemClockSetAtPollTen() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.window.stamp = makeClockStamp(2009, 3, 5, 14, 7, 41);
        rig.engine.run(LinkOperation::RunModem, DeviceModel::Q72);
        const Lines t = rig.trace();
        QCOMPARE(head(t, 4), (Lines{"S 55 0C 0A 00 05", "R5/5", "P500", "S 55 0C 0A 00 05"}));
        QCOMPARE(count(rig.sent(), StatusReq), 10L);
        // After the tenth poll: the three clock commands, one pause, then ReadClock.
        const Lines tail{StatusReq,
                         "R5/5",
                         "P500",
                         "R6/6",
                         "S 55 0C 22 07 31",
                         "R5/5",
                         "S 55 0C 1A AE 59",
                         "R5/5",
                         "S 55 0C 2A 93 37",
                         "R5/5",
                         "P500",
                         "P10",
                         ReadClock,
                         "R5/5",
                         "P10",
                         "R6/6"};
        QCOMPARE(Lines(t.end() - static_cast<std::ptrdiff_t>(tail.size()), t.end()), tail);
        QCOMPARE(rig.window.calls,
                 (Lines{"stamp", "status 18", "clock 05.03.09 14:07:00", "buttons Q72Finished"}));
        QCOMPARE(rig.link.device.clock.year, 9);
        QCOMPARE(rig.pausesTotal(), 5 * 500 + 10 * 500 + 500 + 10 + 10);
    }

    void modemClockUnanswered() {
        Rig rig(Model::Q72, LinkKind::Usb);
        rig.link.device.faults.dropFrom = 10; // the ten ReadClock replies after ten polls
        rig.link.device.faults.dropCount = 10;
        rig.engine.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), ReadClock), 10L);
        QCOMPARE(count(rig.trace(), "P50"), 10L);
        QCOMPARE(rig.window.calls, (Lines{"stamp", "buttons ClockFailed", "status 22", "close"}));
    }

    void modemYearBeyondDeviceClock() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.window.stamp = makeClockStamp(2064, 1, 1, 0, 0, 0);
        rig.engine.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), StatusReq), 10L);
        QCOMPARE(count(rig.sent(), ReadClock), 0L);
        QCOMPARE(rig.window.calls, (Lines{"stamp", "status 24", "buttons Q72Finished"}));
    }

    void unknownOperationDoesNothing() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.engine.run(static_cast<LinkOperation>(0x33), DeviceModel::Q72);
        QVERIFY(rig.trace().empty());
        QVERIFY(rig.window.calls.empty());
    }
};

QTEST_APPLESS_MAIN(TestLinkEngine)
#include "tst_linkengine.moc"
