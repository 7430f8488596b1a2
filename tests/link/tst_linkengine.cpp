// The link engine against the simulated device over both carriers (USB through the converter's
// driver calls): byte traces, pauses, retries, statuses, button states and progress of every
// operation, and the converter's opening, set-up and safe closing.
#include <QtTest>

#include <algorithm>
#include <string>
#include <vector>

#include "recordingwindow.h"

using namespace q7x::link;
using q7x::link::test::Rig;
using q7x::link::test::SimD2xx;
using q7x::link::test::UsbWindow;
using q7x::sim::Model;
using Lines = std::vector<std::string>;
using Statuses = std::vector<int>;

namespace {

const Lines SetUp{"Open 0", "SetBaudRate 1200", "Reset", "SetData 8 0 0", "SetTimeouts 100 100"};

// "a, b, c" as its lines.
Lines split(const QString &lines) {
    Lines out;
    for (const QString &line : lines.split(QStringLiteral(", ")))
        out.push_back(line.toStdString());
    return out;
}

long count(const Lines &lines, const std::string &line) {
    return std::count(lines.begin(), lines.end(), line);
}

Lines slice(const Lines &lines, std::size_t from, std::size_t n) {
    from = std::min(from, lines.size());
    n = std::min(n, lines.size() - from);
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(from),
                 lines.begin() + static_cast<std::ptrdiff_t>(from + n));
}
Lines head(const Lines &lines, std::size_t n) { return slice(lines, 0, n); }
Lines tail(const Lines &lines, std::size_t n) {
    return slice(lines, lines.size() - std::min(n, lines.size()), n);
}

// An image with a recognisable byte at every offset.
std::vector<std::uint8_t> patternImage() {
    std::vector<std::uint8_t> image(702);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    return image;
}

// A closed converter stays closed: after the last Close the driver saw nothing more.
void verifyClosedForGood(const SimD2xx &d2xx, const UsbWindow &window) {
    QCOMPARE(tail(d2xx.log(), 2), (Lines{"Purge 3", "Close"}));
    QCOMPARE(d2xx.openHandles(), 0);
    QCOMPARE(d2xx.misuse(), 0);
    QVERIFY(!window.usbHandle);
}

void addKindColumn() { QTest::addColumn<int>("kind"); }

const std::string StatusReq = "S 55 0C 12 00 9F";
const std::string Probe = "S 55 55 AA AA";
const std::string ReadClock = "S 55 0C 02 00 73";
constexpr int Serial = int(LinkKind::Serial);
constexpr int Usb = int(LinkKind::Usb);

} // namespace

class TestLinkEngine : public QObject {
    Q_OBJECT
  private slots:
    // ---- the converter ----

    void openTheConverter() {
        // 1200 baud, 8N1, 100 ms time-outs (a missing converter and the retry on the next
        // command are the window's USB tests).
        SimD2xx d2xx(Model::Q72);
        const UsbOpenResult r = OpenUsbDevice(d2xx);
        QVERIFY(r.usbOk());
        QCOMPARE(r.lastStatus, FtOk);
        QCOMPARE(d2xx.log(), SetUp);
        QCOMPARE(d2xx.openHandles(), 1);
        d2xx.present = false;
        QVERIFY(!OpenUsbDevice(d2xx).usbOk());
    }

    void closeIsOnceAndFinal() {
        SimD2xx d2xx(Model::Q72);
        UsbHandle device = OpenUsbDevice(d2xx).handle;
        QVERIFY(device);
        device->close();
        device->close();
        QVERIFY(device->isClosed());
        std::uint8_t b[6]{};
        std::uint32_t n = 99;
        QCOMPARE(device->read(b, 6, &n), FtInvalidHandle);
        QCOMPARE(n, 0u);
        QCOMPARE(device->write(b, 1, &n), FtInvalidHandle);
        QCOMPARE(device->purge(3), FtInvalidHandle);
        QCOMPARE(tail(d2xx.log(), 3), (Lines{"SetTimeouts 100 100", "Purge 3", "Close"}));
        QCOMPARE(d2xx.misuse(), 0);

        // A device nobody closed is closed when the last holder lets go of it.
        UsbHandle other = OpenUsbDevice(d2xx).handle;
        QCOMPARE(d2xx.openHandles(), 1);
        other.reset();
        QCOMPARE(d2xx.openHandles(), 0);
        QCOMPARE(tail(d2xx.log(), 2), (Lines{"Purge 3", "Close"}));
    }

    // ---- connect ----

    void connectToDevice_data() {
        QTest::addColumn<int>("model");
        addKindColumn();
        QTest::addColumn<QString>("trace");
        QTest::addColumn<QString>("calls");
        QTest::newRow("q72 serial")
            << int(Model::Q72) << Serial
            << "S 55 55 AA AA, R4/4, P500, R4/0, S 55 0C 12 00 9F, R5/5, P100, R6/6, P100, S 00, "
               "R1/1"
            << "status 7 1, firmware 1_3, label Q72, adapt Q72, status 8, ready, chain read";
        QTest::newRow("q71 serial")
            << int(Model::Q71) << Serial << "S 55 55 AA AA, R4/4, P500, R4/4, S 00, R1/1"
            << "status 7 1, label Q71, adapt Q71, status 23, ready, chain read";
        // No echo reads over USB; the converter is closed, and a Q72 asks for a read.
        QTest::newRow("q72 usb")
            << int(Model::Q72) << Usb
            << "S 55 55 AA AA, P500, R4/0, S 55 0C 12 00 9F, P500, R6/6, P100, S 00"
            << "status 7 1, firmware 1_3, label Q72, adapt Q72, status 8, ready, close, chain read";
        QTest::newRow("q71 usb") << int(Model::Q71) << Usb << "S 55 55 AA AA, P500, R4/4, S 00"
                                 << "status 7 1, label Q71, adapt Q71, status 23, ready, close";
    }
    void connectToDevice() {
        QFETCH(int, model);
        QFETCH(int, kind);
        QFETCH(QString, trace);
        QFETCH(QString, calls);
        Rig rig{Model(model), LinkKind(kind)};
        // The model asked for does not matter: the device says what it is.
        rig.run(LinkOperation::Connect,
                Model(model) == Model::Q71 ? DeviceModel::Q72 : DeviceModel::Q71);
        QCOMPARE(rig.trace(), split(trace));
        QCOMPARE(rig.window().calls, split(calls));
        if (!rig.isUsb())
            return;
        // The window opens the converter again for the chained read (its USB tests).
        verifyClosedForGood(rig.d2xx(), rig.usbWindow());
        QCOMPARE(rig.usbWindow().chainedRead, Model(model) == Model::Q72);
    }

    void connectAnswersOnTenthAttempt_data() {
        QTest::addColumn<int>("model");
        addKindColumn();
        QTest::newRow("q71 serial") << int(Model::Q71) << Serial;
        QTest::newRow("q72 serial") << int(Model::Q72) << Serial;
        QTest::newRow("q72 usb") << int(Model::Q72) << Usb;
    }
    void connectAnswersOnTenthAttempt() {
        QFETCH(int, model);
        QFETCH(int, kind);
        Rig rig{Model(model), LinkKind(kind)};
        rig.device().faults.answerOnAttempt = 10;
        rig.run(LinkOperation::Connect, DeviceModel::Q72);
        const Lines &calls = rig.window().calls;
        for (int n = 1; n <= 10; ++n)
            QCOMPARE(count(calls, "status 7 " + std::to_string(n)), 1L);
        QCOMPARE(count(calls, "status 7 11"), 0L);
        QVERIFY(count(calls, Model(model) == Model::Q71 ? "status 23" : "status 8") == 1);
        QCOMPARE(count(calls, "status 1"), 0L);
        // Serial waits 200 ms after each failed attempt, USB does not.
        QCOMPARE(count(rig.trace(), "P200"), LinkKind(kind) == LinkKind::Serial ? 9L : 0L);
    }

    void connectSilentDevice_data() {
        addKindColumn();
        QTest::addColumn<int>("pauses");
        QTest::newRow("serial") << Serial << 10 * (500 + 100 + 200);
        QTest::newRow("usb") << Usb << 10 * (500 + 500);
    }
    void connectSilentDevice() {
        QFETCH(int, kind);
        QFETCH(int, pauses);
        Rig rig(Model::Q72, LinkKind(kind));
        rig.device().faults.silent = true;
        rig.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), Probe), 10L);
        QCOMPARE(count(rig.sent(), StatusReq), 10L);
        QCOMPARE(rig.pausesTotal(), pauses);
        const Lines &calls = rig.window().calls;
        QCOMPARE(tail(calls, 3), (Lines{"buttons ConnectFailed", "status 1", "close"}));
        QCOMPARE(calls.size(), std::size_t{13});
        if (rig.isUsb())
            verifyClosedForGood(rig.d2xx(), rig.usbWindow());
    }

    void connectCancelled_data() {
        addKindColumn();
        QTest::newRow("serial") << Serial;
        QTest::newRow("usb") << Usb;
    }
    void connectCancelled() {
        QFETCH(int, kind);
        Rig before(Model::Q72, LinkKind(kind));
        before.engine->cancel();
        before.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(before.window().calls, (Lines{"status 13"}));
        QVERIFY(before.trace().empty());

        // Cancelled while the second attempt is shown (over USB as the window's Cancel, which
        // closes the converter): 13 and nothing sent after it.
        Rig rig(Model::Q72, LinkKind(kind));
        rig.device().faults.silent = true;
        rig.window().onCall = [&] {
            if (rig.window().calls.size() != 1)
                return;
            if (rig.isUsb())
                rig.usbWindow().cancel(*rig.engine);
            else
                rig.engine->cancel();
        };
        rig.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(rig.window().calls, (Lines{"status 7 1", "status 7 2", "status 13"}));
        QCOMPARE(rig.link().transport.sendsAfterInterrupt, 0);
        if (rig.isUsb())
            verifyClosedForGood(rig.d2xx(), rig.usbWindow());
    }

    // ---- Q72 read ----

    void readQ72_data() {
        addKindColumn();
        QTest::addColumn<QString>("expected");
        QTest::newRow("serial") << Serial
                                << "P5, S 55 0C 04 00 D9, R5/5, R6/6, P5, S 55 0C 04 04 B8, R5/5, "
                                   "R6/6, P5, S 55 0C 04 08 1B, R5/5, R6/6";
        QTest::newRow("usb") << Usb
                             << "P5, S 55 0C 04 00 D9, P50, R6/6, P5, S 55 0C 04 04 B8, P50, R6/6, "
                                "P5, S 55 0C 04 08 1B, P50, R6/6";
    }
    void readQ72() {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        const Lines trace = split(expected);
        Rig rig(Model::Q72, LinkKind(kind));
        auto &memory = rig.device().memory;
        for (std::size_t a = 0; a < 0x200; ++a)
            memory[a] = static_cast<std::uint8_t>(a ^ 0x5A);
        rig.run(LinkOperation::ReadQ72, DeviceModel::Q72);
        QCOMPARE(head(rig.trace(), trace.size()), trace);
        const Lines sent = rig.sent();
        QCOMPARE(sent.size(), std::size_t{128});
        QCOMPARE(sent[64], std::string("S 55 0C 14 02 89"));  // R2 starts at 0x102
        QCOMPARE(sent[104], std::string("S 55 0C 14 A0 9A")); // R3 starts at 0x1A0
        QCOMPARE(rig.window().calls, (Lines{"image Q72 700", "status 11", "buttons Q72Finished"}));

        // Image 0..255 is device 0x000.., 256..415 is 0x102.., 416..511 is 0x1A0...
        const std::vector<std::uint8_t> &img = rig.window().image;
        QCOMPARE(img.size(), std::size_t{700});
        for (std::size_t i = 0; i < 512; ++i)
            QCOMPARE(img[i], std::uint8_t((i < 256   ? i
                                           : i < 416 ? i + 0x102 - 256
                                                     : i + 0x1A0 - 416) ^
                                          0x5A));
        QVERIFY(std::all_of(img.begin() + 512, img.end(), [](std::uint8_t b) { return b == 0; }));

        const std::vector<int> &p = rig.window().progressValues;
        QCOMPARE(p.front(), 0);
        QCOMPARE(p[1], 0);    // R1 block 0
        QCOMPARE(p[64], 71);  // R1 block 63: 63 * 100 / 88
        QCOMPARE(p[128], 98); // R3 block 23: 87 * 100 / 88
        QVERIFY(std::is_sorted(p.begin() + 1, p.begin() + 129));
        QCOMPARE(p.back(), 0);

        // Over USB the last segment also goes to the memo, one "offset value" line a byte.
        const Lines &memo = rig.window().memo;
        if (!rig.isUsb()) {
            QVERIFY(memo.empty());
            return;
        }
        QCOMPARE(memo.size(), std::size_t{96});
        for (std::size_t k = 0; k < 96; ++k)
            QCOMPARE(memo[k], std::to_string(416 + k) + " " + std::to_string(img[416 + k]));
        // A second read adds its own lines after those of the first, on the converter as it was.
        memory[0x1A0] = 7;
        rig.run(LinkOperation::ReadQ72, DeviceModel::Q72);
        QCOMPARE(memo.size(), std::size_t{192});
        QCOMPARE(memo[96], std::string("416 7"));
        QCOMPARE(rig.d2xx().opens(), 1);
        QCOMPARE(rig.d2xx().openHandles(), 1);
    }

    void readQ72TenSilentReplies() {
        // Nine dropped replies in a row are retried; the tenth ends the read.
        for (int dropped : {9, 10}) {
            Rig rig(Model::Q72, LinkKind::Serial);
            rig.device().faults.dropFrom = 70;
            rig.device().faults.dropCount = dropped;
            rig.run(LinkOperation::ReadQ72, DeviceModel::Q72);
            if (dropped == 9) {
                QCOMPARE(rig.window().statuses, (Statuses{11}));
                QCOMPARE(rig.sent().size(), std::size_t{128 + 9});
            } else {
                QCOMPARE(rig.window().calls, (Lines{"buttons LinkFailed", "status 20", "close"}));
                QCOMPARE(rig.window().progressValues.back(), 0);
                QCOMPARE(rig.sent().size(), std::size_t{70 + 10});
                // Each silent try waits for the whole six-byte time-out.
                QCOMPARE(count(rig.trace(), "R6/0"), 10L);
            }
        }
    }

    // ---- Q72 write ----

    void writeQ72_data() {
        addKindColumn();
        QTest::addColumn<QString>("expected");
        // image[0..3] = 03 0A 11 18; block 1 follows without positioning.
        QTest::newRow("serial")
            << Serial
            << "P50, S 55 0C 0B 00 C1, R5/5, P20, R6/6, P30, S 55 0C 03 03 55, R5/5, P30, "
               "S 55 0C 03 0A C9, R5/5, P30, S 55 0C 03 11 74, R5/5, P30, S 55 0C 03 18 E8, R5/5, "
               "P30, S 55 0C 04 00 D9, R5/5, P20, R6/6, P30, S 55 0C 03 1F 6B";
        QTest::newRow("usb") << Usb
                             << "S 55 0C 0B 00 C1, P50, R6/6, S 55 0C 03 03 55, P50, "
                                "S 55 0C 03 0A C9, P50, S 55 0C 03 11 74, P50, S 55 0C 03 18 E8, "
                                "P50, S 55 0C 04 00 D9, P50, R6/6";
    }
    void writeQ72() {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        const Lines trace = split(expected);
        Rig rig(Model::Q72, LinkKind(kind));
        const auto image = patternImage();
        rig.run(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        const Lines t = rig.trace();
        QCOMPARE(head(t, trace.size()), trace);

        Lines positions;
        for (const std::string &s : rig.sent())
            if (s.rfind("S 55 0C", 0) == 0 && s[9] == 'B')
                positions.push_back(s);
        QCOMPARE(positions, (Lines{"S 55 0C 0B 00 C1", "S 55 0C 1B 02 91", "S 55 0C 1B A0 82",
                                   "S 55 0C 3B 00 EC"}));
        QCOMPARE(rig.sent().size(), std::size_t{4 + 176 * 5});

        const auto &mem = rig.device().memory;
        for (std::size_t i = 0; i < 256; ++i)
            QCOMPARE(mem[i], image[i]);
        for (std::size_t k = 0; k < 96; ++k) {
            QCOMPARE(mem[0x102 + k], image[256 + k]);
            QCOMPARE(mem[0x1A0 + k], image[416 + k]);
        }
        for (std::size_t a = 0x300; a < 0x400; ++a)
            QCOMPARE(mem[a], std::uint8_t{0xFF});

        QCOMPARE(rig.window().calls, (Lines{"status 10", "buttons Q72Finished"}));
        const std::vector<int> &p = rig.window().progressValues;
        QCOMPARE(p.size(), std::size_t{1 + 176 + 2});
        QCOMPARE(p[1], 0);    // W1 block 1: 0 * 100 / 152
        QCOMPARE(p[64], 41);  // W1 block 64
        QCOMPARE(p[65], 41);  // W2 block 1: 63 * 100 / 152
        QCOMPARE(p[88], 56);  // W2 block 24
        QCOMPARE(p[176], 98); // W4 block 64: 149 * 100 / 152
        QVERIFY(std::is_sorted(p.begin(), p.end() - 1));
        QCOMPARE(p[p.size() - 2], 100);
        QCOMPARE(p.back(), 0);

        if (!rig.isUsb())
            return;
        // W2 pauses before positioning and before each data byte; its block 0 carries
        // image[256..259], the same bytes as block 0 of W1.
        const auto w2 = std::find(t.begin(), t.end(), "S 55 0C 1B 02 91");
        QVERIFY(w2 != t.end());
        QCOMPARE(Lines(w2 - 1, w2 + 12),
                 (Lines{"P50", "S 55 0C 1B 02 91", "P50", "R6/6", "P30", "S 55 0C 03 03 55", "P30",
                        "S 55 0C 03 0A C9", "P30", "S 55 0C 03 11 74", "P30", "S 55 0C 03 18 E8",
                        "P50"}));
        QCOMPARE(count(t, "R5/5"), 0L); // no echo reads
        QCOMPARE(rig.d2xx().openHandles(), 1);
    }

    void writeQ72MismatchRewritesBlock() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.device().faults.mismatchAddress = 0x004;
        rig.device().faults.mismatchCount = 1;
        const auto image = patternImage();
        rig.run(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        const Lines s = rig.sent();
        // block 0: position, 4 data, verify; block 1: 4 data, verify (mismatch), then the same
        // block again from its position.
        QCOMPARE(s[10], std::string("S 55 0C 04 04 B8"));
        QCOMPARE(s[11], std::string("S 55 0C 0B 04 A0"));
        QCOMPARE(Lines(s.begin() + 12, s.begin() + 16), Lines(s.begin() + 6, s.begin() + 10));
        QCOMPARE(s[16], std::string("S 55 0C 04 04 B8"));
        QCOMPARE(rig.window().statuses, (Statuses{10}));
        QCOMPARE(rig.device().memory[4], image[4]);
    }

    void writeQ72TwentyFirstMismatchFails() {
        for (int mismatches : {20, 21}) {
            Rig rig(Model::Q72, LinkKind::Serial);
            rig.device().faults.mismatchAddress = 0x1A4;
            rig.device().faults.mismatchCount = mismatches;
            rig.run(LinkOperation::WriteQ72, DeviceModel::Q72, patternImage());
            QCOMPARE(count(rig.sent(), "S 55 0C 1B A4 E3"), 20L); // positions
            if (mismatches == 20) {
                QCOMPARE(rig.window().statuses, (Statuses{10}));
            } else {
                QCOMPARE(rig.window().calls, (Lines{"buttons LinkFailed", "status 21", "close"}));
                QCOMPARE(count(rig.sent(), "S 55 0C 14 A4 FB"), 21L);
                QCOMPARE(rig.sent().back(), std::string("S 55 0C 14 A4 FB"));
                QCOMPARE(rig.window().progressValues.back(), 0);
            }
        }
    }

    void nothingToDo() {
        // A write of an image too short for the device, and an operation the engine does not
        // know, send nothing and show nothing.
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.run(LinkOperation::WriteQ72, DeviceModel::Q72, std::vector<std::uint8_t>(511, 0));
        rig.run(static_cast<LinkOperation>(0x33), DeviceModel::Q72);
        QVERIFY(rig.trace().empty());
        QVERIFY(rig.window().calls.empty());
    }

    // Every no-answer and verification failure over USB closes the converter, and nothing
    // reaches it afterwards.
    void usbFailuresCloseTheConverter_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("q72 read, pulled out") << 0x22 << 0 << 20;
        QTest::newRow("q72 write, pulled out") << 0x11 << 0 << 20;
        QTest::newRow("q72 write, verify") << 0x11 << 1 << 21;
        QTest::newRow("q72 write, read-back unanswered") << 0x11 << 2 << 20;
    }
    void usbFailuresCloseTheConverter() {
        QFETCH(int, operation);
        QFETCH(int, fault);
        QFETCH(int, status);
        Rig rig(Model::Q72, LinkKind::Usb);
        auto &faults = rig.device().faults;
        if (fault == 0) {
            rig.d2xx().transfersBeforeUnplug = 60;
        } else if (fault == 1) {
            faults.mismatchAddress = 0x004;
            faults.mismatchCount = 21;
        } else {
            faults.dropFrom = 1; // position reply 0 arrives, read-backs do not
            faults.dropCount = 10;
        }
        rig.run(LinkOperation(operation), DeviceModel::Q72, patternImage());
        QCOMPARE(rig.window().calls,
                 (Lines{"buttons LinkFailed", "status " + std::to_string(status), "close"}));
        if (fault == 2)
            QCOMPARE(count(rig.sent(), "S 55 0C 04 00 D9"), 10L);
        verifyClosedForGood(rig.d2xx(), rig.usbWindow());
        QCOMPARE(rig.d2xx().opens(), 1);
    }

    // ---- Q71 ----

    void writeQ71_data() {
        addKindColumn();
        QTest::addColumn<QString>("trace");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("sends");
        // Serial: the header byte by byte, each with its echo; USB: the header at once.
        QTest::newRow("serial") << Serial
                                << "S 55, P10, R1/1, S 55, P10, R1/1, S 01, P10, R1/1, S 00, P10, "
                                   "R1/1, S D3, P10, R1/1, P500, R1/1, S AA, R1/1, P5"
                                << "P500, R1/1, P500, R1/1" << 5 + 323;
        QTest::newRow("usb") << Usb << "S 55 55 01 00 D3, P1000, R1/1, S AA, P5, S AA"
                             << "P1000, R1/1" << 1 + 323;
    }
    void writeQ71() {
        QFETCH(int, kind);
        QFETCH(QString, trace);
        QFETCH(QString, end);
        QFETCH(int, sends);
        Rig rig(Model::Q71, LinkKind(kind));
        const auto image = patternImage();
        rig.run(LinkOperation::WriteQ71, DeviceModel::Q71, image);
        QCOMPARE(head(rig.trace(), split(trace).size()), split(trace));
        QCOMPARE(tail(rig.trace(), split(end).size()), split(end));
        QCOMPARE(rig.sent().size(), std::size_t(sends));
        QCOMPARE(rig.device().q71FramesStored, 1);
        QVERIFY(std::equal(image.begin(), image.begin() + 320, rig.device().q71Image.begin()));
        QCOMPARE(rig.window().calls, (Lines{"status 10", "buttons Q71Finished"}));
        // Progress runs over 324 steps (serial) or 325 (USB): the last byte shows 99 either way.
        const std::vector<int> &p = rig.window().progressValues;
        QCOMPARE(p.size(), std::size_t{1 + 323 + 1});
        QCOMPARE(p[323], 99);
        QCOMPARE(*std::max_element(p.begin(), p.end()), 99);
    }

    void readQ71_data() {
        addKindColumn();
        QTest::addColumn<int>("received");
        QTest::addColumn<int>("lastProgress");
        // Serial: five header echoes, the reply, the frame, the acknowledgement's echo.
        QTest::newRow("serial") << Serial << 5 + 1 + 324 + 1 << 100; // 324 * 100 / 324
        QTest::newRow("usb") << Usb << 1 + 324 << 99;                // 324 * 100 / 325
    }
    void readQ71() {
        QFETCH(int, kind);
        QFETCH(int, received);
        QFETCH(int, lastProgress);
        Rig rig(Model::Q71, LinkKind(kind));
        rig.device().q71Firmware = 42;
        rig.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(rig.window().calls,
                 (Lines{"firmware71 42", "image Q71 324", "status 11", "buttons Q71Finished"}));
        QVERIFY(std::equal(rig.device().q71Image.begin(), rig.device().q71Image.end(),
                           rig.window().image.begin()));
        QCOMPARE(rig.device().pcAcks, (std::vector<std::uint8_t>{0x00}));
        QCOMPARE(count(rig.trace(), "R1/1"), long(received));
        QCOMPARE(rig.window().progressValues[324], lastProgress);
        if (rig.isUsb())
            QCOMPARE(rig.d2xx().openHandles(), 1); // a read leaves the converter open
    }

    void readQ71WrongCheckByte_data() {
        addKindColumn();
        QTest::newRow("serial") << Serial;
        QTest::newRow("usb") << Usb;
    }
    void readQ71WrongCheckByte() {
        QFETCH(int, kind);
        Rig rig(Model::Q71, LinkKind(kind));
        rig.device().faults.badQ71CheckByte = true;
        rig.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(rig.device().pcAcks, (std::vector<std::uint8_t>{0xFF}));
        const Lines s = rig.sent();
        QCOMPARE(s.back(), std::string("S FF"));
        QCOMPARE(count(s, "S FF"), 1L);
        QCOMPARE(rig.window().calls, (Lines{"status 4", "buttons CancelOnly"}));
        QVERIFY(rig.window().image.empty());
    }

    void readQ71FrameMissing() {
        Rig rig(Model::Q71, LinkKind::Serial);
        rig.device().faults.dropFrom = 1;
        rig.device().faults.dropCount = 1;
        rig.run(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(rig.window().statuses, (Statuses{6, 6}));
        QCOMPARE(tail(rig.trace(), 2), (Lines{"R1/0", "P500"}));
        QVERIFY(rig.device().pcAcks.empty());

        // Over USB the rest of a frame that stopped coming is not waited for, and a converter
        // pulled out in the middle of the frame ends the same way: the no-answer failure.
        for (int pulledOut = 0; pulledOut < 2; ++pulledOut) {
            Rig usb(Model::Q71, LinkKind::Usb);
            if (pulledOut) {
                usb.d2xx().transfersBeforeUnplug = 2 + 100; // header, acknowledgement, 100 bytes
            } else {
                usb.device().faults.dropFrom = 1;
                usb.device().faults.dropCount = 1;
            }
            usb.run(LinkOperation::ReadQ71, DeviceModel::Q71);
            QCOMPARE(usb.window().calls, (Lines{"buttons LinkFailed", "status 20", "close"}));
            QCOMPARE(usb.window().progressValues.back(), 0);
            QCOMPARE(count(usb.d2xx().log(), pulledOut ? "Read 1 !" : "Read 1/0"), 1L);
            QVERIFY(usb.device().pcAcks.empty());
            verifyClosedForGood(usb.d2xx(), usb.usbWindow());
        }
    }

    void q71HeaderRefused_data() {
        addKindColumn();
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("calls");
        QTest::newRow("serial read") << Serial << int(LinkOperation::ReadQ71) << "status 4";
        QTest::newRow("usb write") << Usb << int(LinkOperation::WriteQ71) << "status 4, close";
    }
    void q71HeaderRefused() {
        QFETCH(int, kind);
        QFETCH(int, operation);
        QFETCH(QString, calls);
        Rig rig(Model::Q71, LinkKind(kind));
        rig.device().faults.refuseHeader = true;
        rig.run(LinkOperation(operation), DeviceModel::Q71, patternImage());
        QCOMPARE(rig.window().calls, split(calls));
        QCOMPARE(rig.sent().size(), std::size_t{rig.isUsb() ? 1u : 5u});
        if (rig.isUsb())
            verifyClosedForGood(rig.d2xx(), rig.usbWindow());
    }

    // ---- run modem ----

    void modemStates_data() {
        addKindColumn();
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        // The two carriers name state 5 differently.
        QTest::newRow("serial 5") << Serial << 5 << "M1566";
        QTest::newRow("usb 5") << Usb << 5 << "M1532";
        QTest::newRow("serial 3") << Serial << 3 << "M1276";
    }
    void modemStates() {
        QFETCH(int, kind);
        QFETCH(int, state);
        QFETCH(QString, text);
        Rig rig(Model::Q72, LinkKind(kind));
        rig.device().modemStates = {0, 7, std::uint8_t(state)};
        rig.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), "S 55 0C 0A 00 05"), 5L);
        QCOMPARE(count(rig.sent(), StatusReq), 3L); // polls go on through states 0 and 7
        QCOMPARE(rig.window().calls,
                 (Lines{"status 16", "state " + text.toStdString(), "buttons Q72Finished"}));
    }

    void modemNothingReceived_data() {
        addKindColumn();
        QTest::addColumn<QString>("text");
        QTest::newRow("serial") << Serial << QStringLiteral("state M1533");
        QTest::newRow("usb") << Usb << QStringLiteral("state M1534");
    }
    void modemNothingReceived() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        Rig rig(Model::Q72, LinkKind(kind));
        rig.device().faults.mutedStatus = true;
        rig.device().faults.stuckClock = true;
        rig.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), StatusReq), 30L);
        QCOMPARE(rig.window().stampsTaken, 4);
        QCOMPARE(tail(rig.window().calls, 2), (Lines{text.toStdString(), "buttons Q72Finished"}));
        if (rig.isUsb())
            QCOMPARE(rig.d2xx().openHandles(), 1); // a failed modem start leaves the link open
    }

    void modemStateNotTakenFromClockReply() {
        // The device clock stays in January, whose month byte sits where a status reply keeps
        // the modem state; the run must still poll thirty times.
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.device().faults.stuckClock = true;
        rig.device().clock = {9, 1, 1, 0, 0};
        rig.window().stamp = makeClockStamp(2013, 12, 31, 23, 59, 0);
        rig.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), StatusReq), 30L);
        QCOMPARE(count(rig.sent(), ReadClock), 4L);
        QCOMPARE(rig.window().statuses, (Statuses{16}));
        QCOMPARE(count(rig.window().calls, "state M1569"), 0L);
        QCOMPARE(rig.window().progressValues[30], 100);
    }

    void modemClockSetAtPollTen() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.window().stamp = makeClockStamp(2009, 3, 5, 14, 7, 41);
        rig.run(LinkOperation::RunModem, DeviceModel::Q72);
        const Lines t = rig.trace();
        QCOMPARE(head(t, 4), (Lines{"S 55 0C 0A 00 05", "R5/5", "P500", "S 55 0C 0A 00 05"}));
        QCOMPARE(count(rig.sent(), StatusReq), 10L);
        // After the tenth poll: the three clock commands, one pause, then ReadClock.
        QCOMPARE(tail(t, 16), (Lines{StatusReq, "R5/5", "P500", "R6/6", "S 55 0C 22 07 31", "R5/5",
                                     "S 55 0C 1A AE 59", "R5/5", "S 55 0C 2A 93 37", "R5/5", "P500",
                                     "P10", ReadClock, "R5/5", "P10", "R6/6"}));
        QCOMPARE(rig.window().calls,
                 (Lines{"stamp", "status 18", "clock 05.03.09 14:07:00", "buttons Q72Finished"}));
        QCOMPARE(rig.device().clock.year, 9);
        QCOMPARE(rig.pausesTotal(), 5 * 500 + 10 * 500 + 500 + 10 + 10);
    }

    void modemClockUnanswered() {
        Rig rig(Model::Q72, LinkKind::Usb);
        rig.device().faults.dropFrom = 10; // the ten ReadClock replies after ten polls
        rig.device().faults.dropCount = 10;
        rig.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), ReadClock), 10L);
        QCOMPARE(count(rig.trace(), "P50"), 10L);
        QCOMPARE(rig.window().calls, (Lines{"stamp", "buttons ClockFailed", "status 22", "close"}));
        verifyClosedForGood(rig.d2xx(), rig.usbWindow());
    }

    void modemWithoutAStamp_sendsNoClock() {
        // The window let go of the worker before it could take the PC clock.
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.window().stamp = std::nullopt;
        rig.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(rig.sent().back(), StatusReq);
        QCOMPARE(count(rig.sent(), StatusReq), 10L);
        QCOMPARE(rig.window().calls, (Lines{"stamp"}));
    }

    void modemYearBeyondDeviceClock() {
        Rig rig(Model::Q72, LinkKind::Serial);
        rig.window().stamp = makeClockStamp(2064, 1, 1, 0, 0, 0);
        rig.run(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(count(rig.sent(), StatusReq), 10L);
        QCOMPARE(count(rig.sent(), ReadClock), 0L);
        QCOMPARE(rig.window().calls, (Lines{"stamp", "status 24", "buttons Q72Finished"}));
    }
};

QTEST_APPLESS_MAIN(TestLinkEngine)
#include "tst_linkengine.moc"
