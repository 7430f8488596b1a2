// The USB link through the converter's driver calls: opening and setting up the converter,
// closing it safely, and the link engine's USB behaviour over a converter with a simulated
// device behind it (driver call logs, byte traces, statuses and the converter's life cycle).
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "link/linkengine.h"
#include "link/usbdevice.h"
#include "link/usbtransport.h"
#include "simd2xx.h"
#include "usbwindow.h"

using namespace q7x::link;
using q7x::link::test::SimD2xx;
using q7x::link::test::UsbWindow;
using q7x::sim::Model;
using Lines = std::vector<std::string>;

namespace {

const Lines SetUp{"Open 0", "SetBaudRate 1200", "Reset", "SetData 8 0 0", "SetTimeouts 100 100"};

long count(const Lines &lines, const std::string &line) {
    return std::count(lines.begin(), lines.end(), line);
}

Lines slice(const Lines &lines, std::size_t from, std::size_t n) {
    from = std::min(from, lines.size());
    n = std::min(n, lines.size() - from);
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(from),
                 lines.begin() + static_cast<std::ptrdiff_t>(from + n));
}

Lines tail(const Lines &lines, std::size_t n) {
    return slice(lines, lines.size() - std::min(n, lines.size()), n);
}

// Index of the first line equal to `line` at or after `from`; lines.size() when none.
std::size_t find(const Lines &lines, const std::string &line, std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i] == line)
            return i;
    return lines.size();
}

std::vector<std::uint8_t> patternImage() {
    std::vector<std::uint8_t> image(702);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>((i * 11 + 5) & 0xFF);
    return image;
}

// A closed converter stays closed: after the last Close the driver saw nothing more.
void verifyClosedForGood(const SimD2xx &d2xx, const UsbWindow &window) {
    const Lines log = d2xx.log();
    QVERIFY(!log.empty());
    QCOMPARE(tail(log, 2), (Lines{"Purge 3", "Close"}));
    QCOMPARE(d2xx.openHandles(), 0);
    QCOMPARE(d2xx.misuse(), 0);
    QVERIFY(!window.usbHandle);
}

} // namespace

class TestLinkUsb : public QObject {
    Q_OBJECT
  private slots:
    // ---- opening and closing the converter ----

    void openSetsUpTheConverter() {
        SimD2xx d2xx(Model::Q72);
        const UsbOpenResult r = OpenUsbDevice(d2xx);
        QVERIFY(r.usbOk());
        QCOMPARE(r.lastStatus, FtOk);
        QCOMPARE(d2xx.log(), SetUp);
        QCOMPARE(d2xx.openHandles(), 1);
    }

    void openWithoutConverter() {
        SimD2xx d2xx(Model::Q72);
        d2xx.present = false;
        UsbWindow window(d2xx);
        QVERIFY(!window.ensureOpen());
        QVERIFY(!window.usbHandle);
        // The next command tries again, and finds the converter once it is plugged in.
        QVERIFY(!window.ensureOpen());
        d2xx.present = true;
        QVERIFY(window.ensureOpen());
        Lines expected{"Open 0 !", "Open 0 !"};
        expected.insert(expected.end(), SetUp.begin(), SetUp.end());
        QCOMPARE(d2xx.log(), expected);
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

    void closeDuringAReadWaitsForIt_data() {
        QTest::addColumn<int>("waitMs");
        QTest::newRow("closes when the read returns") << 10000;
        QTest::newRow("leaves the closing to the reader") << 0;
    }
    void closeDuringAReadWaitsForIt() {
        QFETCH(int, waitMs);
        SimD2xx d2xx(Model::Q72);
        d2xx.link.device.faults.silent = true;
        UsbHandle device = OpenUsbDevice(d2xx).handle;
        std::atomic<bool> entered{false};
        std::atomic<bool> release{false};
        d2xx.insideRead = [&] {
            entered = true;
            while (!release)
                std::this_thread::yield();
        };
        std::uint32_t got = 0;
        FtStatus readStatus = FtIoError;
        std::thread reader([&] {
            std::uint8_t b[6];
            readStatus = device->read(b, 6, &got);
        });
        while (!entered)
            std::this_thread::yield();
        std::thread releaser;
        if (waitMs > 0) {
            // The read returns while close() waits for it.
            releaser = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                release = true;
            });
        }
        device->close(std::chrono::milliseconds(waitMs));
        if (waitMs == 0) {
            // close() returned with the read still inside: nothing closed under its feet.
            QVERIFY(!device->isClosed());
            QVERIFY(!device->isOpen());
            QCOMPARE(count(d2xx.log(), "Close"), 0L);
            release = true;
        } else {
            QVERIFY(device->isClosed());
        }
        reader.join();
        if (releaser.joinable())
            releaser.join();
        QCOMPARE(readStatus, FtOk);
        QCOMPARE(tail(d2xx.log(), 3), (Lines{"Read 6/0", "Purge 3", "Close"}));
        QVERIFY(device->isClosed());
        QCOMPARE(d2xx.misuse(), 0);
        QCOMPARE(d2xx.overlaps(), 0);
    }

    void transportOverAClosedOrBrokenConverter() {
        // A closed handle: transfers fail like a silent device, without reaching the driver.
        UsbTransport closed(nullptr);
        const std::uint8_t frame[5] = {0x55, 0x0C, 0x12, 0x00, 0x9F};
        QVERIFY(!closed.send(frame));
        std::uint8_t reply[6];
        ReceiveResult r = closed.receive(reply);
        QVERIFY(!r.ok);
        QCOMPARE(r.count, std::size_t{0});

        // A converter pulled out: FT_Read fails, which the link learns as ok = false.
        SimD2xx d2xx(Model::Q72);
        UsbHandle device = OpenUsbDevice(d2xx).handle;
        d2xx.transfersBeforeUnplug = 2;
        UsbTransport transport(device);
        QVERIFY(transport.send(frame));
        r = transport.receive(reply);
        QVERIFY(r.ok);
        QCOMPARE(r.count, std::size_t{6});
        QVERIFY(!transport.send(frame));
        QCOMPARE(transport.lastStatus(), FtIoError);
        r = transport.receive(reply);
        QVERIFY(!r.ok);
        QCOMPARE(r.count, std::size_t{0});

        // Once interrupted, nothing more reaches the converter.
        const std::size_t calls = d2xx.log().size();
        transport.interrupt();
        QVERIFY(!transport.send(frame));
        QVERIFY(!transport.receive(reply).ok);
        QCOMPARE(d2xx.log().size(), calls);
    }

    // ---- connect ----

    void connectQ72ClosesAndTheReadReopens() {
        SimD2xx d2xx(Model::Q72);
        UsbWindow window(d2xx);
        window.command(LinkOperation::Connect, DeviceModel::Q71);
        // No echo reads: each transmission is followed only by the answer's read.
        Lines expected = SetUp;
        expected.insert(expected.end(), {"Purge 3", "Write 4", "Read 4/0", "Write 5", "Read 6/6",
                                         "Write 1", "Purge 3", "Close"});
        QCOMPARE(d2xx.log(), expected);
        QCOMPARE(window.calls, (Lines{"status 7 1", "firmware 1_3", "label Q72", "adapt Q72",
                                      "status 8", "ready", "close", "chain read"}));
        QVERIFY(window.chainedRead);
        QVERIFY(!window.usbHandle);

        // The chained read opens the converter again and leaves it open.
        window.command(LinkOperation::ReadQ72, DeviceModel::Q72);
        const Lines log = d2xx.log();
        QCOMPARE(slice(log, expected.size(), SetUp.size() + 1), [] {
            Lines l = SetUp;
            l.push_back("Purge 3");
            return l;
        }());
        QCOMPARE(count(log, "Write 5"), 1L + 128);
        QCOMPARE(count(log, "Read 6/6"), 1L + 128);
        QCOMPARE(d2xx.opens(), 2);
        QCOMPARE(d2xx.openHandles(), 1);
        QVERIFY(window.usbHandle);
        QCOMPARE(window.statuses.back(), 11);
    }

    void connectQ71StartsNoRead() {
        SimD2xx d2xx(Model::Q71);
        UsbWindow window(d2xx);
        window.command(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(window.calls,
                 (Lines{"status 7 1", "label Q71", "adapt Q71", "status 23", "ready", "close"}));
        QVERIFY(!window.chainedRead);
        QCOMPARE(tail(d2xx.log(), 6),
                 (Lines{"Purge 3", "Write 4", "Read 4/4", "Write 1", "Purge 3", "Close"}));
        verifyClosedForGood(d2xx, window);
    }

    void connectCancelledShowsThirteenAndCloses() {
        SimD2xx d2xx(Model::Q72);
        d2xx.link.device.faults.silent = true;
        UsbWindow window(d2xx);
        window.ensureOpen();
        UsbTransport transport(window.usbHandle);
        LinkEngine engine(transport, d2xx.link.clock, window, usbTraits());
        // Cancel while the worker waits for the StatusRequest answer of the third attempt.
        int reads = 0;
        d2xx.insideRead = [&] {
            if (++reads == 6)
                window.cancel(engine, std::chrono::milliseconds(0));
        };
        engine.run(LinkOperation::Connect, DeviceModel::Q72);
        QCOMPARE(window.calls, (Lines{"status 7 1", "status 7 2", "status 7 3", "status 13"}));
        verifyClosedForGood(d2xx, window);
        QCOMPARE(count(d2xx.log(), "Read 6/0"), 3L);
    }

    // ---- Q71 over the converter ----

    void q71WriteAndRead() {
        SimD2xx d2xx(Model::Q71);
        UsbWindow window(d2xx);
        const std::vector<std::uint8_t> image = patternImage();
        window.command(LinkOperation::WriteQ71, DeviceModel::Q71, image);
        Lines log = d2xx.log();
        // The header in one transmission, then the frame byte by byte, then one acknowledgement.
        std::size_t header = find(log, "Write 5");
        QCOMPARE(slice(log, header, 3), (Lines{"Write 5", "Read 1/1", "Write 1"}));
        QCOMPARE(count(log, "Write 1"), 323L);
        QCOMPARE(tail(log, 1), (Lines{"Read 1/1"}));
        QVERIFY(std::equal(image.begin(), image.begin() + 320, d2xx.link.device.q71Image.begin()));
        QCOMPARE(window.statuses, (std::vector<int>{10}));
        // Progress runs over 325 steps: the last byte shows 323 * 100 / 325.
        const std::vector<int> &p = window.progressValues;
        QCOMPARE(p.size(), std::size_t{1 + 323 + 1});
        QCOMPARE(p[1], 0); // 1 * 100 / 325
        QCOMPARE(p[4], 1); // 4 * 100 / 325
        QCOMPARE(p[323], 99);
        QCOMPARE(*std::max_element(p.begin(), p.end()), 99);

        window.calls.clear();
        window.statuses.clear();
        window.progressValues.clear();
        window.command(LinkOperation::ReadQ71, DeviceModel::Q71);
        log = d2xx.log();
        header = find(log, "Write 5", header + 1);
        QCOMPARE(slice(log, header, 2), (Lines{"Write 5", "Read 1/1"}));
        // The frame comes byte by byte; the acknowledgement goes without an echo read.
        QCOMPARE(count(slice(log, header + 2, log.size()), "Read 1/1"), 324L);
        QCOMPARE(tail(log, 2), (Lines{"Read 1/1", "Write 1"}));
        QCOMPARE(d2xx.link.device.pcAcks, (std::vector<std::uint8_t>{0x00}));
        QCOMPARE(window.calls,
                 (Lines{"firmware71 41", "image Q71 324", "status 11", "buttons Q71Finished"}));
        QCOMPARE(window.progressValues[324], 99); // 324 * 100 / 325
        QCOMPARE(d2xx.openHandles(), 1);          // a read leaves the converter open
    }

    void q71ReadTimeOutIsSilentButAFailedReadIsNot() {
        // A frame that does not come: the worker stops silently after waiting out the frame.
        SimD2xx d2xx(Model::Q71);
        d2xx.link.device.faults.dropFrom = 1;
        d2xx.link.device.faults.dropCount = 1;
        UsbWindow window(d2xx);
        window.command(LinkOperation::ReadQ71, DeviceModel::Q71);
        QVERIFY(window.statuses.empty());
        QCOMPARE(count(d2xx.log(), "Read 1/0"), 324L);
        QVERIFY(d2xx.link.device.pcAcks.empty());
        QVERIFY(window.image.empty());

        // The converter pulled out in the middle of the frame: LinkStatus 6 and an end at once.
        SimD2xx pulled(Model::Q71);
        pulled.transfersBeforeUnplug = 2 + 100; // header, acknowledgement, 100 frame bytes
        UsbWindow other(pulled);
        other.command(LinkOperation::ReadQ71, DeviceModel::Q71);
        QCOMPARE(other.statuses, (std::vector<int>{6, 6}));
        QCOMPARE(tail(pulled.log(), 2), (Lines{"Read 1/1", "Read 1 !"}));
        QVERIFY(other.image.empty());
    }

    // ---- Q72 over the converter ----

    void q72ReadFillsMemo1FromTheLastSegment() {
        SimD2xx d2xx(Model::Q72);
        for (int k = 0; k < 96; ++k)
            d2xx.link.device.memory[static_cast<std::size_t>(0x1A0 + k)] =
                static_cast<std::uint8_t>(200 - k);
        UsbWindow window(d2xx);
        window.command(LinkOperation::ReadQ72, DeviceModel::Q72);
        const Lines first = window.memo;
        QCOMPARE(first.size(), std::size_t{96});
        QCOMPARE(first.front(), std::string("416 200"));
        QCOMPARE(first[1], std::string("417 199"));
        QCOMPARE(first.back(), std::string("511 105"));
        // A second read adds its own 96 lines after those of the first.
        d2xx.link.device.memory[0x1A0] = 7;
        window.command(LinkOperation::ReadQ72, DeviceModel::Q72);
        QCOMPARE(window.memo.size(), std::size_t{192});
        QCOMPARE(slice(window.memo, 0, 96), first);
        QCOMPARE(window.memo[96], std::string("416 7"));
        QCOMPARE(d2xx.opens(), 1); // both reads used the converter as it was
    }

    void q72WriteOverTheConverter() {
        SimD2xx d2xx(Model::Q72);
        UsbWindow window(d2xx);
        const std::vector<std::uint8_t> image = patternImage();
        window.command(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        QCOMPARE(window.statuses, (std::vector<int>{10}));
        QVERIFY(std::equal(image.begin(), image.begin() + 256, d2xx.link.device.memory.begin()));
        QVERIFY(std::equal(image.begin() + 416, image.begin() + 512,
                           d2xx.link.device.memory.begin() + 0x1A0));
        const Lines log = d2xx.log();
        // SetAddress once per segment, four WriteData and one ReadBlock per block.
        QCOMPARE(count(log, "Write 5"), 4L + 4 * 176 + 176);
        QCOMPARE(count(log, "Read 6/6"), 4L + 176);
        QCOMPARE(count(log, "Read 5/5"), 0L); // no echo reads
        QCOMPARE(d2xx.openHandles(), 1);
    }

    // Every no-answer and verification failure closes the converter, and nothing reaches it
    // afterwards.
    void failuresCloseTheConverter_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("connect, silent") << int(Model::Q72) << 0x00 << 0 << 1;
        QTest::newRow("q72 read, pulled out") << int(Model::Q72) << 0x22 << 1 << 20;
        QTest::newRow("q72 write, pulled out") << int(Model::Q72) << 0x11 << 1 << 20;
        QTest::newRow("q72 write, verify") << int(Model::Q72) << 0x11 << 2 << 21;
        QTest::newRow("run modem, clock") << int(Model::Q72) << 0x03 << 3 << 22;
        QTest::newRow("q71 header refused") << int(Model::Q71) << 0x02 << 4 << 4;
    }
    void failuresCloseTheConverter() {
        QFETCH(int, model);
        QFETCH(int, operation);
        QFETCH(int, fault);
        QFETCH(int, status);
        SimD2xx d2xx{Model(model)};
        auto &faults = d2xx.link.device.faults;
        switch (fault) {
        case 0:
            faults.silent = true;
            break;
        case 1:
            d2xx.transfersBeforeUnplug = 60;
            break;
        case 2:
            faults.mismatchAddress = 0x004;
            faults.mismatchCount = 21;
            break;
        case 3:
            faults.dropFrom = 10; // the ReadClock replies after ten polls
            faults.dropCount = 10;
            break;
        case 4:
            faults.refuseHeader = true;
            break;
        }
        UsbWindow window(d2xx);
        const DeviceModel m = Model(model) == Model::Q71 ? DeviceModel::Q71 : DeviceModel::Q72;
        window.command(LinkOperation(operation), m, patternImage());
        QCOMPARE(window.statuses.back(), status);
        QCOMPARE(window.calls.back(), std::string("close"));
        verifyClosedForGood(d2xx, window);
        QCOMPARE(d2xx.opens(), 1);
    }

    void runModemTexts() {
        // State 5 and silence have their own texts over USB.
        SimD2xx d2xx(Model::Q72);
        d2xx.link.device.modemStates = {0, 5};
        UsbWindow window(d2xx);
        window.command(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(window.calls, (Lines{"status 16", "state M1532", "buttons Q72Finished"}));
        QCOMPARE(count(d2xx.log(), "Read 6/6"), 2L);

        SimD2xx muted(Model::Q72);
        muted.link.device.faults.mutedStatus = true;
        muted.link.device.faults.stuckClock = true;
        UsbWindow other(muted);
        other.command(LinkOperation::RunModem, DeviceModel::Q72);
        QCOMPARE(tail(other.calls, 3), (Lines{"status 16", "state M1534", "buttons Q72Finished"}));
        QCOMPARE(muted.openHandles(), 1); // a failed modem start leaves the link open
    }
};

QTEST_APPLESS_MAIN(TestLinkUsb)
#include "tst_linkusb.moc"
