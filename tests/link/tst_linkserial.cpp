// The serial transport over a pseudo-terminal served by the q7xsim program, with the real link
// engine and real time: opening and refusing the port, time-outs, and a cable pulled
// mid-transfer. Whole operations over the terminal are the window's end-to-end tests.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
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
        transport = PosixSerialTransport::open(path, nullptr);
        if (transport)
            engine = std::make_unique<LinkEngine>(*transport, clock, window, serialTraits());
    }
    std::unique_ptr<PosixSerialTransport> transport;
    SystemClock clock;
    RecordingWindow window;
    std::unique_ptr<LinkEngine> engine;
};

const std::vector<std::uint8_t> Image(702, 0x5A);

} // namespace

class TestLinkSerial : public QObject {
    Q_OBJECT
  private slots:
    // Why a port would not open, and that a port let go of opens again for the same user.
    void openFailures_nameTheReason() {
        QTemporaryDir dir;
        const auto failureOf = [](const std::string &path,
                                  const std::vector<std::string> &lockDirs = {}) {
            PortError error;
            if (PosixSerialTransport::open(path, &error, lockDirs))
                return std::pair(PortFailure::None, std::string("opened"));
            return std::pair(error.failure,
                             error.failure == PortFailure::LockFile ? error.detail : error.device);
        };
        const std::string missing = dir.filePath("missing").toStdString();
        QCOMPARE(failureOf(missing), std::pair(PortFailure::NoSuchDevice, missing));
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(failureOf(plain.fileName().toStdString()).first, PortFailure::NotATerminal);
        QCOMPARE(serialDevicePath(3), std::string("/dev/ttyS2"));

        Simulator sim(dir.path(), {"--model", "q72"});
        QVERIFY(sim.serving());
        for (int round = 0; round < 2; ++round) {
            auto port = PosixSerialTransport::open(sim.path(), nullptr);
            QVERIFY2(port, "a port closed by its last user opens again");
            QCOMPARE(failureOf(sim.path()).first, PortFailure::Busy);
        }

        // UUCP lock files: one of a running process holds the port, a stale one does not.
        char *real = ::realpath(sim.path().c_str(), nullptr);
        const std::string name = std::string(real).substr(std::string(real).rfind('/') + 1);
        std::free(real);
        const std::string lockDir = dir.filePath("lock").toStdString();
        QVERIFY(QDir().mkpath(QString::fromStdString(lockDir)));
        const std::string lock = lockDir + "/LCK.." + name;
        const auto writeLock = [&](const QByteArray &content) {
            QFile f(QString::fromStdString(lock));
            return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
        };
        const std::vector<std::string> dirs{"/nonexistent", lockDir};
        QVERIFY(writeLock(QByteArray::number(qint64(sim.pid())).rightJustified(10) + "\n"));
        QCOMPARE(failureOf(sim.path(), dirs), std::pair(PortFailure::LockFile, lock));
        const int pid = static_cast<int>(::getpid());
        QVERIFY(writeLock(QByteArray(reinterpret_cast<const char *>(&pid), sizeof pid)));
        QCOMPARE(failureOf(sim.path(), dirs).first, PortFailure::LockFile);
        QVERIFY(writeLock("  999999999\n")); // no such process
        QCOMPARE(failureOf(sim.path(), dirs).first, PortFailure::None);

        if (::geteuid() != 0) { // root opens any device
            QVERIFY(::chmod(sim.path().c_str(), 0) == 0);
            QCOMPARE(failureOf(sim.path()).first, PortFailure::NoPermission);
        }
    }

    void silentLineTimesOutAndInterruptWakes() {
        QTemporaryDir dir;
        Simulator sim(dir.path(), {"--model", "q72", "--silent"});
        auto port = PosixSerialTransport::open(sim.path(), nullptr);
        QVERIFY(port);

        std::array<std::uint8_t, 6> reply{};
        const auto start = std::chrono::steady_clock::now();
        const ReceiveResult r = port->receive(reply);
        const auto waited = std::chrono::steady_clock::now() - start;
        QCOMPARE(r.count, std::size_t{0});
        QVERIFY(r.ok);
        QVERIFY(waited >= std::chrono::milliseconds(610)); // the whole deadline is honoured
        // At its deadline a read returns the part of the answer that came: here the line's echo.
        const std::uint8_t three[3] = {1, 2, 3};
        QVERIFY(port->send(three));
        QCOMPARE(port->receive(reply).count, std::size_t{3});

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

    // The cable pulled mid-transfer (the simulator stops): every operation ends within seconds
    // with the no-answer texts, the failure buttons and the link closed.
    void cablePulled_endsEveryOperation_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("pullAfterMs"); // into the transfer, at 1200-baud wire speed
        QTest::newRow("Q72 read") << int(LinkOperation::ReadQ72) << 400;
        QTest::newRow("Q72 write") << int(LinkOperation::WriteQ72) << 400;
        QTest::newRow("Q71 read") << int(LinkOperation::ReadQ71) << 1500;
        QTest::newRow("Q71 write") << int(LinkOperation::WriteQ71) << 1200;
        QTest::newRow("run modem") << int(LinkOperation::RunModem) << 800;
    }
    void cablePulled_endsEveryOperation() {
        QFETCH(int, operation);
        QFETCH(int, pullAfterMs);
        const LinkOperation op = LinkOperation(operation);
        const bool q71 = op == LinkOperation::ReadQ71 || op == LinkOperation::WriteQ71;
        QTemporaryDir dir;
        Simulator sim(dir.path(), {"--model", q71 ? "q71" : "q72", "--wire-timing"});
        Session s(sim.path());
        QVERIFY(s.transport);
        auto run = std::async(std::launch::async, [&] {
            s.engine->run(op, q71 ? DeviceModel::Q71 : DeviceModel::Q72, Image);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(pullAfterMs));
        QVERIFY(run.wait_for(std::chrono::seconds(0)) == std::future_status::timeout);
        sim.stop();
        if (run.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
            s.engine->cancel();
            run.wait();
            QFAIL("the operation did not end after the cable was pulled");
        }
        const Lines &calls = s.window.calls;
        QCOMPARE(Lines(calls.end() - std::min<std::ptrdiff_t>(3, calls.size()), calls.end()),
                 (Lines{"buttons LinkFailed", "status 20", "close"}));
        QCOMPARE(s.window.progressValues.back(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLinkSerial)
#include "tst_linkserial.moc"
