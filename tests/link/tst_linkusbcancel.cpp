// Cancel over USB from a second thread while the worker is inside FT_Read, at random reads of
// every operation: the run ends, the converter is purged and closed exactly once after the
// pending read returned, nothing reaches the driver afterwards, no two driver calls overlap,
// and nothing is shown after the cancel except the connect's LinkStatus 13.
#include <QtTest>

#include <atomic>
#include <chrono>
#include <future>
#include <random>
#include <thread>

#include "link/linkengine.h"
#include "link/usbtransport.h"
#include "simd2xx.h"
#include "tests/link/cancelcases.h"
#include "usbwindow.h"

using namespace q7x::link;
using q7x::link::test::SimD2xx;
using q7x::link::test::UsbWindow;
using q7x::sim::Model;
using Lines = std::vector<std::string>;

namespace {

using Case = q7x::link::test::CancelCase;
constexpr const auto &Cases = q7x::link::test::CancelCases;

// Some runs meet a faulty device, so that cancels also land in retries and failure paths.
void pickFaults(q7x::sim::DeviceSim &device, std::mt19937 &rng) {
    switch (rng() % 4) {
    case 0:
        device.faults.silent = true;
        break;
    case 1:
        device.faults.dropFrom = static_cast<int>(rng() % 40);
        device.faults.dropCount = static_cast<int>(rng() % 12);
        break;
    default:
        break;
    }
    device.modemStates = {0};
}

const std::vector<std::uint8_t> Image(702, 0x5A);

// Driver reads of an uncancelled run.
int countReads(const Case &c, unsigned seed) {
    SimD2xx d2xx(c.device);
    std::mt19937 rng(seed);
    pickFaults(d2xx.link.device, rng);
    UsbWindow window(d2xx);
    int reads = 0;
    d2xx.insideRead = [&] { ++reads; };
    window.command(c.operation, c.model, Image);
    return reads;
}

} // namespace

class TestLinkUsbCancel : public QObject {
    Q_OBJECT
  private slots:
    void cancelDuringARead() {
        int runs = 0;
        int deferredCloses = 0;
        for (unsigned seed = 1; seed <= 140; ++seed) {
            std::mt19937 rng(seed * 7919u);
            const Case &c = Cases[seed % std::size(Cases)];
            const int total = countReads(c, seed);
            if (total == 0)
                continue;
            const int cancelAt = 1 + static_cast<int>(rng() % static_cast<unsigned>(total));
            // Sometimes the window gives up waiting at once and the reader closes.
            const auto wait = std::chrono::milliseconds(rng() % 3 == 0 ? 0 : 250);
            const auto lingerUs = std::chrono::microseconds(rng() % 400);

            SimD2xx d2xx(c.device);
            std::mt19937 faultRng(seed);
            pickFaults(d2xx.link.device, faultRng);
            UsbWindow window(d2xx);
            window.ensureOpen();
            UsbTransport transport(window.usbHandle);
            LinkEngine engine(transport, d2xx.link.clock, window, usbTraits());

            std::atomic<bool> entered{false};
            std::atomic<bool> cancelIssued{false};
            std::size_t callsAtCancel = 0;
            std::size_t logAtCancel = 0;
            int reads = 0;
            d2xx.insideRead = [&] {
                if (++reads != cancelAt)
                    return;
                callsAtCancel = window.calls.size();
                logAtCancel = d2xx.log().size();
                entered = true;
                while (!cancelIssued)
                    std::this_thread::yield();
                std::this_thread::sleep_for(lingerUs); // the close lands while the read is inside
            };
            std::future<void> worker =
                std::async(std::launch::async, [&] { engine.run(c.operation, c.model, Image); });
            while (!entered) {
                if (worker.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready)
                    break;
                std::this_thread::yield();
            }
            const QByteArray context = QByteArray("seed ") + QByteArray::number(seed);
            QVERIFY2(entered, context);
            // The window's Cancel: cancel the worker, then purge and close the converter.
            engine.cancel();
            cancelIssued = true;
            UsbHandle device = window.usbHandle;
            window.usbHandle.reset();
            device->close(wait);
            if (!device->isClosed())
                ++deferredCloses;
            QVERIFY2(worker.wait_for(std::chrono::seconds(20)) == std::future_status::ready,
                     context);
            worker.get();
            ++runs;

            QVERIFY2(device->isClosed(), context);
            QCOMPARE(d2xx.misuse(), 0);
            QCOMPARE(d2xx.overlaps(), 0);
            QCOMPARE(d2xx.openHandles(), 0);
            // After the read in progress only the purge and the close reached the driver.
            const Lines log = d2xx.log();
            QCOMPARE(log.size(), logAtCancel + 3);
            QVERIFY2(log[logAtCancel].rfind("Read ", 0) == 0, context);
            QCOMPARE(log[logAtCancel + 1], std::string("Purge 3"));
            QCOMPARE(log[logAtCancel + 2], std::string("Close"));
            for (std::size_t i = callsAtCancel; i < window.calls.size(); ++i)
                QVERIFY2(window.calls[i] == "status 13",
                         context + " " + QByteArray::fromStdString(window.calls[i]));
        }
        QVERIFY(runs > 100);
        QVERIFY(deferredCloses > 0);
    }
};

QTEST_APPLESS_MAIN(TestLinkUsbCancel)
#include "tst_linkusbcancel.moc"
