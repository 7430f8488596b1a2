// Cancel at random moments of every operation, over both carriers: every run ends, makes only a
// bounded number of transfers after the cancel, and shows nothing after it except the connect's
// LinkStatus 13.
#include <QtTest>

#include <chrono>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/linkengine.h"
#include "recordingwindow.h"
#include "tests/link/cancelcases.h"
#include "tools/q7xsim/loopback.h"

using namespace q7x::link;
using q7x::link::test::RecordingWindow;
using q7x::sim::Model;
using q7x::sim::SimLink;

namespace {

using Case = q7x::link::test::CancelCase;
constexpr const auto &Cases = q7x::link::test::CancelCases;

// Some runs meet a faulty device, so that cancels also land in retries and failure paths.
void pickFaults(q7x::sim::DeviceSim &device, std::mt19937 &rng) {
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

struct Run {
    Run(const Case &c, LinkKind kind)
        : link(c.device, kind), engine(link.transport, link.clock, window,
                                       kind == LinkKind::Serial ? serialTraits() : usbTraits()) {}
    SimLink link;
    RecordingWindow window;
    LinkEngine engine;
};

const std::vector<std::uint8_t> Image(702, 0x5A);

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

            // A first run learns how many steps the whole operation takes.
            // A first run learns how many steps of each kind the whole operation takes.
            int totals[3] = {0, 0, 0};
            {
                Run probe(c, kind);
                std::mt19937 faultRng(seed);
                pickFaults(probe.link.device, faultRng);
                probe.link.transport.onStep = [&] { ++totals[0]; };
                probe.link.clock.onStep = [&] { ++totals[1]; };
                probe.window.onCall = [&] { ++totals[2]; };
                probe.engine.run(c.operation, c.model, Image);
            }

            Run run(c, kind);
            std::mt19937 faultRng(seed);
            pickFaults(run.link.device, faultRng);
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
                    callsAtCancel = run.window.calls.size();
                    run.engine.cancel();
                }
            };
            run.link.transport.onStep = [&] { tick(0); };
            run.link.clock.onStep = [&] { tick(1); };
            run.window.onCall = [&] { tick(2); };
            run.engine.run(c.operation, c.model, Image);

            const QByteArray context = QByteArray("seed ") + QByteArray::number(seed);
            if (!cancelled)
                continue; // the cancel point lay beyond the end of this run
            ++cancelledRuns;
            QVERIFY2(run.engine.cancelRequested(), context);
            worstAfter = std::max(worstAfter, stepsAfterCancel);
            // Bounded: at most the tries of one request run out against the interrupted link.
            QVERIFY2(stepsAfterCancel <= 80,
                     context + " steps after cancel " + QByteArray::number(stepsAfterCancel));
            QCOMPARE(run.link.transport.sendsAfterInterrupt <= 16, true);
            // Nothing is shown after the cancel except the connect's own text.
            for (std::size_t i = callsAtCancel; i < run.window.calls.size(); ++i)
                QVERIFY2(run.window.calls[i] == "status 13" ||
                             (i == callsAtCancel && where == 2), // the call that cancelled
                         context + " " + QByteArray::fromStdString(run.window.calls[i]));
        }
        QVERIFY(cancelledRuns > 500);
        qInfo("cancelled runs: %d, most steps after a cancel: %d", cancelledRuns, worstAfter);
    }

    void cancelFromAnotherThread() {
        for (unsigned seed = 1; seed <= 300; ++seed) {
            std::mt19937 rng(seed);
            const Case &c = Cases[seed % std::size(Cases)];
            const LinkKind kind = seed % 2 ? LinkKind::Usb : LinkKind::Serial;
            Run run(c, kind);
            pickFaults(run.link.device, rng);
            // Let the worker take a little real time per step so that the cancel lands inside it.
            run.link.transport.onStep = [] { std::this_thread::yield(); };
            auto done = std::async(std::launch::async,
                                   [&] { run.engine.run(c.operation, c.model, Image); });
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
            run.engine.cancel();
            QVERIFY2(done.wait_for(std::chrono::seconds(20)) == std::future_status::ready,
                     QByteArray("seed ") + QByteArray::number(seed));
            done.get();
            QVERIFY(run.engine.cancelRequested());
        }
    }
};

QTEST_APPLESS_MAIN(TestLinkCancel)
#include "tst_linkcancel.moc"
