// The serial transport over a pseudo-terminal served by the q7xsim program, with the real link
// engine and real time.
#include <QtTest>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

#include "link/linkengine.h"
#include "link/serialtransport.h"
#include "link/systemclock.h"
#include "recordingwindow.h"
#include "testsupport.h"

using namespace q7x::link;
using q7x::link::test::RecordingWindow;
using Lines = std::vector<std::string>;
using q7x::test::Simulator;

namespace {

struct Session {
    explicit Session(const std::string &path) {
        std::string error;
        transport = PosixSerialTransport::open(path, &error);
        if (transport)
            engine = std::make_unique<LinkEngine>(*transport, clock, window, serialTraits());
    }
    std::unique_ptr<PosixSerialTransport> transport;
    SystemClock clock;
    RecordingWindow window;
    std::unique_ptr<LinkEngine> engine;
};

std::vector<std::uint8_t> patternImage() {
    std::vector<std::uint8_t> image(702);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>((i * 13 + 1) & 0xFF);
    return image;
}

} // namespace

class TestLinkSerial : public QObject {
    Q_OBJECT
  private slots:
    void openFailures() {
        std::string error;
        QVERIFY(!PosixSerialTransport::open("/nonexistent/tty", &error));
        QVERIFY(error.find("/nonexistent/tty") != std::string::npos);
        QTemporaryDir dir;
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(!PosixSerialTransport::open(dir.filePath("plain").toStdString(), &error));
        QCOMPARE(serialDevicePath(1), std::string("/dev/ttyS0"));
        QCOMPARE(serialDevicePath(10), std::string("/dev/ttyS9"));
        QCOMPARE(serialDevicePath(3, "/dev/ttyUSB0"), std::string("/dev/ttyUSB0"));
    }

    void silentLineTimesOutAndInterruptWakes() {
        QTemporaryDir dir;
        Simulator sim(dir.path(), {"--model", "q72", "--silent", "--no-echo"});
        auto port = PosixSerialTransport::open(sim.link().toStdString(), nullptr);
        QVERIFY(port);
        // A second user cannot open the port while it is held (root may override that).
        if (::geteuid() != 0)
            QVERIFY(!PosixSerialTransport::open(sim.link().toStdString(), nullptr));

        std::array<std::uint8_t, 6> reply{};
        const auto start = std::chrono::steady_clock::now();
        const ReceiveResult r = port->receive(reply);
        const auto waited = std::chrono::steady_clock::now() - start;
        QCOMPARE(r.count, std::size_t{0});
        QVERIFY(r.ok);
        QVERIFY(waited >= std::chrono::milliseconds(610)); // the whole deadline is honoured

        // A read with a 100 s deadline ends as soon as it is interrupted.
        std::vector<std::uint8_t> big(1000);
        ReceiveResult pending;
        std::thread reader([&] { pending = port->receive(big); });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        port->interrupt();
        const auto joinStart = std::chrono::steady_clock::now();
        reader.join();
        QVERIFY(std::chrono::steady_clock::now() - joinStart < std::chrono::seconds(5));
        QVERIFY(!pending.ok);
        const std::uint8_t b = 0;
        QVERIFY(!port->send(std::span<const std::uint8_t>(&b, 1)));
    }

    // Connect, the chained read and the modem's clock over the terminal are the window's
    // end-to-end tests; here a read of blank memory and a write that the device stores.
    void q72ReadAndWrite() {
        QTemporaryDir dir;
        Simulator sim(dir.path(), {"--model", "q72"});
        Session s(sim.link().toStdString());
        QVERIFY(s.transport);
        s.engine->run(LinkOperation::ReadQ72, DeviceModel::Q72);
        QCOMPARE(s.window.calls, (Lines{"image Q72 700", "status 11", "buttons Q72Finished"}));
        QVERIFY(std::all_of(s.window.image.begin(), s.window.image.begin() + 512,
                            [](std::uint8_t b) { return b == 0xFF; }));

        const auto image = patternImage();
        s.window.calls.clear();
        s.engine->run(LinkOperation::WriteQ72, DeviceModel::Q72, image);
        QCOMPARE(s.window.calls, (Lines{"status 10", "buttons Q72Finished"}));
        sim.stop();

        const QByteArray memory = sim.section("memory");
        QCOMPARE(memory.size(), 0x400);
        for (int i = 0; i < 256; ++i)
            QCOMPARE(std::uint8_t(memory[i]), image[std::size_t(i)]);
        for (int k = 0; k < 96; ++k) {
            QCOMPARE(std::uint8_t(memory[0x102 + k]), image[std::size_t(256 + k)]);
            QCOMPARE(std::uint8_t(memory[0x1A0 + k]), image[std::size_t(416 + k)]);
        }
    }

    void cancelDuringWrite() {
        QTemporaryDir dir;
        Simulator sim(dir.path(), {"--model", "q72"});
        Session s(sim.link().toStdString());
        QVERIFY(s.transport);
        const auto image = patternImage();
        std::thread worker(
            [&] { s.engine->run(LinkOperation::WriteQ72, DeviceModel::Q72, image); });
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        const auto cancelled = std::chrono::steady_clock::now();
        s.engine->cancel();
        worker.join();
        QVERIFY(std::chrono::steady_clock::now() - cancelled < std::chrono::seconds(5));
        QVERIFY(s.window.statuses.empty()); // no LinkStatus 20 after a cancel
    }
};

QTEST_GUILESS_MAIN(TestLinkSerial)
#include "tst_linkserial.moc"
