// Cancel at random moments of every operation, over both carriers: every run ends, makes only a
// bounded number of transfers after the cancel, and shows nothing after it except the connect's
// LinkStatus 13. Over USB the window's Cancel also lands while the worker is inside FT_Read: the
// converter is then purged and closed exactly once after the pending read returned, nothing
// reaches the driver afterwards and no two driver calls overlap.
#include <QtTest>

#include <atomic>
#include <chrono>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "recordingwindow.h"

using namespace q7x::link;
using q7x::link::test::Rig;
using q7x::sim::Model;
using Lines = std::vector<std::string>;

namespace {

// The operations run, each against the device it expects.
struct Case {
    LinkOperation operation;
    Model device;
    DeviceModel model;
};
const Case Cases[] = {
    {LinkOperation::Connect, Model::Q72, DeviceModel::Q72},
    {LinkOperation::Connect, Model::Q71, DeviceModel::Q72},
    {LinkOperation::ReadQ72, Model::Q72, DeviceModel::Q72},
    {LinkOperation::WriteQ72, Model::Q72, DeviceModel::Q72},
    {LinkOperation::ReadQ71, Model::Q71, DeviceModel::Q71},
    {LinkOperation::WriteQ71, Model::Q71, DeviceModel::Q71},
    {LinkOperation::RunModem, Model::Q72, DeviceModel::Q72},
};

const std::vector<std::uint8_t> Image(702, 0x5A);

// Some runs meet a faulty device, so that cancels also land in retries and failure paths.
void pickFaults(q7x::sim::DeviceSim &device, unsigned seed) {
    std::mt19937 rng(seed);
    switch (rng() % 5) {
    case 0:
        device.faults.silent = true;
        break;
    case 1:
        device.faults.dropFrom = static_cast<int>(rng() % 40);
        device.faults.dropCount = static_cast<int>(rng() % 12);
        break;
    case 2:
        device.faults.mismatchAddress = 4 * static_cast<int>(rng() % 64);
        device.faults.mismatchCount = static_cast<int>(rng() % 25);
        break;
    default:
        break;
    }
    device.modemStates = {0};
}

} // namespace

class TestLinkCancel : public QObject {
    Q_OBJECT
  private slots:
    void cancelAtRandomSteps() {
        int cancelledRuns = 0;
        int worstAfter = 0;
        for (unsigned seed = 1; seed <= 700; ++seed) {
            std::mt19937 rng(seed);
            const Case &c = Cases[seed % std::size(Cases)];
            const LinkKind kind = (seed / std::size(Cases)) % 2 ? LinkKind::Usb : LinkKind::Serial;

            // A first run learns how many steps of each kind the whole operation takes.
            int totals[3] = {0, 0, 0};
            {
                Rig probe(c.device, kind);
                pickFaults(probe.device(), seed);
                probe.link().transport.onStep = [&] { ++totals[0]; };
                probe.link().clock.onStep = [&] { ++totals[1]; };
                probe.window().onCall = [&] { ++totals[2]; };
                probe.run(c.operation, c.model, Image);
            }

            Rig run(c.device, kind);
            pickFaults(run.device(), seed);
            const int where = static_cast<int>(rng() % 3); // transport, clock or window
            const int cancelAt = static_cast<int>(rng() % static_cast<unsigned>(totals[where] + 1));
            int steps = 0;
            int stepsAfterCancel = 0;
            std::size_t callsAtCancel = 0;
            bool cancelled = false;
            const auto tick = [&](int source) {
                if (cancelled) {
                    ++stepsAfterCancel;
                    return;
                }
                if (source == where && ++steps >= cancelAt) {
                    cancelled = true;
                    callsAtCancel = run.window().calls.size();
                    run.engine->cancel();
                }
            };
            run.link().transport.onStep = [&] { tick(0); };
            run.link().clock.onStep = [&] { tick(1); };
            run.window().onCall = [&] { tick(2); };
            run.run(c.operation, c.model, Image);

            const QByteArray context = QByteArray("seed ") + QByteArray::number(seed);
            if (!cancelled)
                continue; // the cancel point lay beyond the end of this run
            ++cancelledRuns;
            QVERIFY2(run.engine->cancelRequested(), context);
            worstAfter = std::max(worstAfter, stepsAfterCancel);
            // Bounded: at most the tries of one request run out against the interrupted link.
            QVERIFY2(stepsAfterCancel <= 80,
                     context + " steps after cancel " + QByteArray::number(stepsAfterCancel));
            QCOMPARE(run.link().transport.sendsAfterInterrupt <= 16, true);
            // Nothing is shown after the cancel except the connect's own text.
            const Lines &calls = run.window().calls;
            for (std::size_t i = callsAtCancel; i < calls.size(); ++i)
                QVERIFY2(calls[i] == "status 13" ||
                             (i == callsAtCancel && where == 2), // the call that cancelled
                         context + " " + QByteArray::fromStdString(calls[i]));
        }
        QVERIFY(cancelledRuns > 500);
        qInfo("cancelled runs: %d, most steps after a cancel: %d", cancelledRuns, worstAfter);
    }

    void usbCancelDuringARead() {
        int runs = 0;
        for (unsigned seed = 1; seed <= 140; ++seed) {
            std::mt19937 rng(seed * 7919u);
            const Case &c = Cases[seed % std::size(Cases)];
            int total = 0; // driver reads of the run uncancelled
            {
                Rig probe(c.device, LinkKind::Usb);
                pickFaults(probe.device(), seed);
                probe.d2xx().insideRead = [&] { ++total; };
                probe.run(c.operation, c.model, Image);
            }
            if (total == 0)
                continue;
            const int cancelAt = 1 + static_cast<int>(rng() % static_cast<unsigned>(total));
            const auto lingerUs = std::chrono::microseconds(rng() % 400);

            Rig rig(c.device, LinkKind::Usb);
            pickFaults(rig.device(), seed);
            q7x::link::test::SimD2xx &d2xx = rig.d2xx();
            std::atomic<bool> entered{false};
            std::atomic<bool> cancelIssued{false};
            std::size_t callsAtCancel = 0;
            std::size_t logAtCancel = 0;
            int reads = 0;
            d2xx.insideRead = [&] {
                if (++reads != cancelAt)
                    return;
                callsAtCancel = rig.window().calls.size();
                logAtCancel = d2xx.log().size();
                entered = true;
                while (!cancelIssued)
                    std::this_thread::yield();
                std::this_thread::sleep_for(lingerUs); // the close lands while the read is inside
            };
            std::future<void> worker =
                std::async(std::launch::async, [&] { rig.run(c.operation, c.model, Image); });
            while (!entered) {
                if (worker.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready)
                    break;
                std::this_thread::yield();
            }
            const QByteArray context = QByteArray("seed ") + QByteArray::number(seed);
            QVERIFY2(entered, context);
            // The window's Cancel: cancel the worker, then purge and close the converter.
            rig.engine->cancel();
            cancelIssued = true;
            UsbHandle device = rig.usbWindow().usbHandle;
            rig.usbWindow().usbHandle.reset();
            device->close();
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
            const Lines &calls = rig.window().calls;
            for (std::size_t i = callsAtCancel; i < calls.size(); ++i)
                QVERIFY2(calls[i] == "status 13",
                         context + " " + QByteArray::fromStdString(calls[i]));
        }
        QVERIFY(runs > 100);
    }
};

QTEST_APPLESS_MAIN(TestLinkCancel)
#include "tst_linkcancel.moc"
