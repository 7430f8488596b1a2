// The device commands of the main window against simulated devices over the COM port and the USB
// converter: identification and the read chained to a connect, writes with the language byte, Run
// modem, failures with their texts and button states, Cancel at any moment and closing the window
// during a transfer.
#include "app/linkworker.h"
#include "lang/ini.h"
#include "windowbench.h"

#include <QFile>
#include <QRandomGenerator>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

using namespace q7x;
using test::buttons;
using test::S;
using test::Transport;
using Bench = test::WindowBench;

Q_DECLARE_METATYPE(Transport)
Q_DECLARE_METATYPE(sim::Model)
Q_DECLARE_METATYPE(void (*)(q7x::sim::DeviceSim &))

namespace {

void addTransports() {
    QTest::addColumn<Transport>("transport");
    QTest::newRow("COM") << Transport::Com;
    QTest::newRow("USB") << Transport::Usb;
}

// Everything sent and received on the device link of `transport`.
const std::vector<sim::TraceEvent> &traceOf(Bench &b, Transport t) {
    return t == Transport::Usb ? b.sim->d2xx.link.transport.trace : b.sim->last->transport.trace;
}

int blockReads(const std::vector<sim::TraceEvent> &trace) {
    int reads = 0;
    for (const sim::TraceEvent &e : trace)
        reads += e.kind == sim::TraceEvent::Kind::Send && e.bytes.size() == 5 &&
                 (e.bytes[2] & 0x0F) == 4;
    return reads;
}

// A line whose reads hang until the test lets them go, whatever interrupt() says.
class StuckTransport : public link::Transport {
  public:
    bool send(std::span<const std::uint8_t>) override { return true; }
    link::ReceiveResult receive(std::span<std::uint8_t>) override {
        std::unique_lock lock(m);
        entered = true;
        cv.notify_all();
        cv.wait(lock, [this] { return released; });
        return {0, false};
    }
    void purge() override {}
    void interrupt() override {}
    void release() {
        std::lock_guard lock(m);
        released = true;
        cv.notify_all();
    }
    std::mutex m;
    std::condition_variable cv;
    bool entered = false;
    bool released = false;
};

class StuckFactory : public test::SimLinkFactory {
  public:
    std::shared_ptr<StuckTransport> transport = std::make_shared<StuckTransport>();
    app::LinkHandle openSerialPort(int, const QString &, link::PortError &) override {
        ++opens;
        return {transport, std::make_shared<sim::VirtualClock>()};
    }
    int opens = 0;
};

// A fault set on the device before the command.
using Fault = void (*)(sim::DeviceSim &);
enum Command { Connect, Read, Write, RunModem };

} // namespace

class TestDeviceCommands : public QObject {
    Q_OBJECT
  private slots:
    void init() { QFile::remove(lang::IniPath()); }
    void cleanup() { QFile::remove(lang::IniPath()); }

    void connectQ72_identifiesAndReadsTheImage_data() { addTransports(); }
    void connectQ72_identifiesAndReadsTheImage();
    void connectQ71_adaptsWindow_data() { addTransports(); }
    void connectQ71_adaptsWindow();
    void openFailure_warnsOnEveryClickAndRetries_data() { addTransports(); }
    void openFailure_warnsOnEveryClickAndRetries();
    void failures_showTextsAndButtons_data();
    void failures_showTextsAndButtons();
    void write_setsLanguage_data();
    void write_setsLanguage();
    void writeWithEncoderError_sendsNothing();
    void runModem_setsClockAndShowsIt();
    void cancelAfterConnect_namesModelAndHidesIdentification_data() { addTransports(); }
    void cancelAfterConnect_namesModelAndHidesIdentification();
    void cancelThenConnect_doNotWaitForABlockedWorker();
    void cancelDuringUsbRead_closesConverterForGood();
    void cancelAtRandomMoments_alwaysEndsCleanly();
    void closingWindowDuringTransfer_endsWorker();
};

void TestDeviceCommands::connectQ72_identifiesAndReadsTheImage() {
    QFETCH(Transport, transport);
    Bench b(transport, sim::Model::Q72, 3);
    // Over the COM port the device answers the tenth and last identification attempt.
    b.sim->setup = [](sim::DeviceSim &d) { d.faults.answerOnAttempt = 10; };
    QVERIFY(b.connect());
    QCOMPARE(b.w.statusText(), S("M1040"));
    QCOMPARE(b.w.DeviceModel, pages::DeviceModel::Q72);
    QCOMPARE(b.w.mainPage().VersionLabel->caption(), S("M1003 1_3"));
    QVERIFY(!b.w.mainPage().VersionLabel->isHidden());
    QCOMPARE(b.w.mainPage().Label1->caption(), S("M1044 M1237"));
    QVERIFY(!b.w.mainPage().Label1->isHidden());
    // Link ready, then the read finished: Mode and the port list stay locked while connected.
    QCOMPARE(buttons(b.w), S("0111100"));
    QCOMPARE(b.w.pb1->value(), 0);
    QCOMPARE(b.w.PendingOperation, link::LinkOperation::ReadQ72);
    QVERIFY(b.dialogs.shown.isEmpty());
    QCOMPARE(blockReads(traceOf(b, transport)), 128);
    // The read image went to the decoder.
    QVERIFY(b.w.encodeImage().image ==
            test::encodedAfterQ72Read(image::presetImage(pages::DeviceModel::Q72, 3)));

    if (transport == Transport::Com) {
        QVERIFY(b.w.PortHandle);
    } else {
        // Opened for the connect, closed at its end, opened again by the read, which keeps it.
        std::vector<std::string> log = b.sim->d2xx.log();
        std::erase_if(log, [](const std::string &l) { return l != "Open 0" && l != "Close"; });
        QCOMPARE(log, (std::vector<std::string>{"Open 0", "Close", "Open 0"}));
        QCOMPARE(b.sim->d2xx.openHandles(), 1);
        QVERIFY(b.w.UsbHandle);
        QCOMPARE(b.sim->d2xx.misuse(), 0);
        QCOMPARE(b.sim->d2xx.overlaps(), 0);
    }
}

void TestDeviceCommands::connectQ71_adaptsWindow() {
    QFETCH(Transport, transport);
    Bench b(transport, sim::Model::Q71);
    const auto &c = b.w.controls();
    QVERIFY(b.connect());
    QCOMPARE(b.w.DeviceModel, pages::DeviceModel::Q71);
    QCOMPARE(b.w.mainPage().Label1->caption(), S("M1044 M1238"));
    if (transport == Transport::Usb) {
        // Over USB the Q71 connect chains no read; Read reopens the converter the connect closed.
        QCOMPARE(b.w.statusText(), S("M1592"));
        QCOMPARE(b.w.PendingOperation, link::LinkOperation::Connect);
        QCOMPARE(b.sim->d2xx.opens(), 1);
        b.w.ReadButtonClick(b.w.ReadButton);
        QVERIFY(b.settle());
        QCOMPARE(b.sim->d2xx.opens(), 2);
        QCOMPARE(b.sim->d2xx.misuse(), 0);
    }
    QCOMPARE(b.w.statusText(), S("M1040"));
    QCOMPARE(b.w.PendingOperation, link::LinkOperation::ReadQ71);
    QCOMPARE(b.w.mainPage().VersionLabel->caption(), S("Версия ПО прибора:41_x"));
    // Q71 read finished: Cancel, Write, Read on; Run modem stays off for this model.
    QCOMPARE(buttons(b.w), S("0111000"));
    QCOMPARE(c.combo(S("SMS8"))->itemIndex(), 1);
    QCOMPARE(c.widget(S("Label93"))->x(), 6);
    QCOMPARE(c.combo(S("ObjNmb1"))->count(), 10000); // the Q71 object lists run to 9999
    if (transport == Transport::Usb)
        return;

    // A Q72 on the next connect turns the window back.
    b.w.CanlButtonClick(b.w.CancelButton);
    QCOMPARE(b.w.statusText(), S("M1042 M1238"));
    b.sim->model = sim::Model::Q72;
    QVERIFY(b.connect());
    QCOMPARE(b.w.DeviceModel, pages::DeviceModel::Q72);
    QVERIFY(c.widget(S("Label219"))->isEnabled());
    QCOMPARE(buttons(b.w), S("0111100"));
}

// A port that cannot be opened, or no converter: one warning per click, nothing left running,
// and the next click tries again.
void TestDeviceCommands::openFailure_warnsOnEveryClickAndRetries() {
    QFETCH(Transport, transport);
    const bool usb = transport == Transport::Usb;
    Bench b(transport);
    QVERIFY(lang::WriteIniValue(S("Ports"), S("COM3"), S("/tmp/q7x-sim-com3")));
    b.w.PortNumber->setItemIndex(2);
    b.sim->refuse = true;
    b.sim->d2xx.present = false;
    const QString warning = usb ? S("M1535") : S("M1095 3");
    for (int click = 1; click <= 2; ++click) {
        b.w.ConnectButtonClick(b.w.ConnectButton);
        QCOMPARE(b.dialogs.texts(), QStringList(click, warning));
        if (usb)
            QCOMPARE(b.w.statusText(), warning);
        // The port list stays off with USB chosen; Mode is on again.
        QCOMPARE(buttons(b.w), usb ? S("1000001") : S("1000011"));
        QVERIFY(b.w.PortOk);
        QVERIFY(b.w.UsbOk);
        QVERIFY(!b.w.PortHandle);
        QVERIFY(!b.w.UsbHandle);
        QCOMPARE(b.w.liveWorkers(), 0);
    }
    if (usb) {
        QVERIFY(b.sim->opened.isEmpty());
        QCOMPARE(b.sim->usbLogCount("Open 0 !"), 2);
        // A converter this user may not open is told apart, with the udev rule as the remedy.
        b.sim->d2xx.absentStatus = link::FtNoPermission;
        b.w.ConnectButtonClick(b.w.ConnectButton);
        QCOMPARE(b.dialogs.texts().last(), S("M1535\nM1610\nM1611"));
        QCOMPARE(b.w.statusText(), S("M1535"));
        b.dialogs.clear();
    } else {
        QCOMPARE(b.sim->opened, (QList<QPair<int, QString>>(2, {3, S("/tmp/q7x-sim-com3")})));
        b.dialogs.clear();
    }

    // The port is free or the converter plugged in; an unmapped port is opened by its own name.
    // The port settles on the worker's clock before the first transfer.
    b.sim->refuse = false;
    b.sim->d2xx.present = true;
    b.sim->settleMs = 300;
    b.w.PortNumber->setItemIndex(9);
    QVERIFY(b.connect());
    QCOMPARE(b.w.statusText(), S("M1040"));
    QVERIFY(b.dialogs.texts().isEmpty());
    QCOMPARE(b.sim->d2xx.misuse(), 0);
    if (!usb) {
        QCOMPARE(b.sim->opened.last(), (QPair<int, QString>(10, QString())));
        QCOMPARE(sim::describe(b.sim->last->transport.trace.front()), std::string("P300"));
    }
}

// Faults of the device during a command: the status text, the messages, the buttons, and whether
// the window keeps the port. A command that closed the port leaves a new Connect working.
void TestDeviceCommands::failures_showTextsAndButtons_data() {
    QTest::addColumn<sim::Model>("model");
    QTest::addColumn<Fault>("inject");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("buttonRow");
    QTest::addColumn<bool>("portKept");
    QTest::addColumn<QByteArray>("q71Acks"); // what the PC answered to each Q71 read frame
    auto row = [](const char *tag, sim::Model model, Fault inject, Command command,
                  const char *status, const QStringList &texts, const char *buttonRow,
                  bool portKept, const QByteArray &acks = {}) {
        QTest::newRow(tag) << model << inject << int(command) << S(status) << texts << S(buttonRow)
                           << portKept << acks;
    };
    const auto Q71 = sim::Model::Q71, Q72 = sim::Model::Q72;
    row(
        "silent device", Q72, [](sim::DeviceSim &d) { d.faults.silent = true; }, Connect, "M1025",
        {"M1025"}, "1000011", false);
    row(
        "read replies stop", Q72,
        [](sim::DeviceSim &d) {
            d.faults.dropFrom = 20;
            d.faults.dropCount = 1000;
        },
        Read, "M1586", {"M1587"}, "1000010", false);
    row(
        "write read-back differs 21 times", Q72,
        [](sim::DeviceSim &d) {
            d.faults.mismatchAddress = 0x106;
            d.faults.mismatchCount = 21;
        },
        Write, "M1588", {"M1589"}, "1000010", false);
    // A device that keeps naming another address in its position replies.
    row(
        "write reply names another address", Q72,
        [](sim::DeviceSim &d) { d.faults.wrongAddressReply = true; }, Write, "M1586", {"M1587"},
        "1000010", false);
    row(
        "Q71 check byte wrong", Q71, [](sim::DeviceSim &d) { d.faults.badQ71CheckByte = true; },
        Connect, "M1027", {}, "0100000", true, QByteArray("\xFF"));
    row(
        "Q71 header refused", Q71, [](sim::DeviceSim &d) { d.faults.refuseHeader = true; }, Connect,
        "M1027", {}, "0100000", true);
    // A modem start that fails keeps the link open (the clock never matches, so the state alone
    // ends the run).
    row(
        "modem state 3", Q72,
        [](sim::DeviceSim &d) {
            d.modemStates = {3};
            d.faults.stuckClock = true;
        },
        RunModem, "M1276", {}, "0111100", true);
    row(
        "modem no state", Q72,
        [](sim::DeviceSim &d) {
            d.modemStates = {0};
            d.faults.stuckClock = true;
        },
        RunModem, "M1581", {}, "0111100", true);
}

void TestDeviceCommands::failures_showTextsAndButtons() {
    QFETCH(sim::Model, model);
    QFETCH(Fault, inject);
    QFETCH(int, command);
    QFETCH(QString, status);
    QFETCH(QStringList, texts);
    QFETCH(QString, buttonRow);
    QFETCH(bool, portKept);
    QFETCH(QByteArray, q71Acks);
    Bench b(Transport::Com, model);
    b.w.pcClock = [] { return QDateTime(QDate(2011, 2, 3), QTime(4, 5)); };
    if (command == Connect) {
        b.sim->setup = inject;
        QVERIFY(b.connect());
    } else {
        QVERIFY(b.connect());
        inject(b.device());
        if (command == Read)
            b.w.ReadButtonClick(b.w.ReadButton);
        else if (command == Write)
            b.w.WriteButtonClick(b.w.WriteButton);
        else
            b.w.RunModemButtonClick(b.w.RunModemButton);
        QVERIFY(b.settle());
    }
    QCOMPARE(b.w.statusText(), status);
    QCOMPARE(b.dialogs.texts(), texts);
    QCOMPARE(buttons(b.w), buttonRow);
    QCOMPARE(b.w.pb1->value(), 0);
    QCOMPARE(bool(b.w.PortHandle), portKept);
    if (model == sim::Model::Q71) {
        const std::vector<std::uint8_t> &acks = b.device().pcAcks;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(acks.data()), qsizetype(acks.size())),
                 q71Acks);
        QCOMPARE(b.device().q71FramesStored, 0);
    }
    if (portKept)
        return;
    QCOMPARE(b.sim->last.use_count(), 1L); // nobody holds the port any more
    if (command != Connect) {
        // With the port closed a Read would find nothing: only a new Connect helps.
        QVERIFY(b.connect());
        QCOMPARE(b.w.statusText(), S("M1040"));
    }
}

// The language stored in the INI goes into the written image: the high nibble of Q72 byte 171,
// Q71 byte 264; an unknown or Russian language leaves the encoded byte.
void TestDeviceCommands::write_setsLanguage_data() {
    QTest::addColumn<sim::Model>("model");
    QTest::addColumn<QString>("language"); // empty: no INI file
    QTest::addColumn<int>("byte");         // -1: as encoded
    const auto Q71 = sim::Model::Q71, Q72 = sim::Model::Q72;
    QTest::newRow("Q72 English") << Q72 << S("English") << 0x10;
    QTest::newRow("Q72 Turkish") << Q72 << S("Turkish") << 0x20;
    QTest::newRow("Q72 Russian") << Q72 << S("Russian") << 0;
    QTest::newRow("Q71 Russian") << Q71 << S("Russian") << 0;
    QTest::newRow("Q71 English") << Q71 << S("English") << 1;
    QTest::newRow("Q71 Turkish") << Q71 << S("Turkish") << 2;
    QTest::newRow("Q71 none") << Q71 << QString() << -1;
}

void TestDeviceCommands::write_setsLanguage() {
    QFETCH(sim::Model, model);
    QFETCH(QString, language);
    QFETCH(int, byte);
    const bool q72 = model == sim::Model::Q72;
    Bench b(Transport::Com, model);
    QVERIFY(b.connect());
    if (!language.isEmpty())
        QVERIFY(lang::WriteIniValue(S("Lang"), S("Default"), language));
    b.device().q71Image.fill(0xEE);
    b.w.WriteButtonClick(b.w.WriteButton);
    QCOMPARE(b.w.PendingOperation,
             q72 ? link::LinkOperation::WriteQ72 : link::LinkOperation::WriteQ71);
    QCOMPARE(b.w.statusText(), S("M1005"));
    QCOMPARE(buttons(b.w).mid(2, 3), S("000"));
    QVERIFY(b.w.Interactive);
    QVERIFY(b.settle());
    QCOMPARE(b.w.statusText(), S("M1039"));
    QCOMPARE(buttons(b.w), q72 ? S("0111100") : S("0111000"));

    const auto &mem = b.device().memory;
    if (q72) {
        image::ConfigImage expected = b.w.encodeImage().image;
        expected[171] = static_cast<std::uint8_t>(expected[171] + byte);
        QVERIFY(std::equal(expected.begin(), expected.begin() + 256, mem.begin()));
        QVERIFY(std::equal(expected.begin() + 256, expected.begin() + 352, mem.begin() + 0x102));
        QVERIFY(std::equal(expected.begin() + 416, expected.begin() + 512, mem.begin() + 0x1A0));
        QVERIFY(std::all_of(mem.begin() + 0x300, mem.begin() + 0x400,
                            [](auto x) { return x == 0xFF; }));
    } else {
        image::ConfigImage expected = b.w.encodeImage().image;
        if (byte >= 0)
            expected[264] = static_cast<std::uint8_t>(byte);
        QVERIFY(std::equal(expected.begin(), expected.begin() + 320, b.device().q71Image.begin()));
    }
}

void TestDeviceCommands::writeWithEncoderError_sendsNothing() {
    Bench b;
    QVERIFY(b.connect());
    QVERIFY(b.dialogs.shown.isEmpty());
    b.w.controls().edit(S("Edit5"))->setText(S("9983")); // no SMS-Blitz code
    const image::Encoded encoded = b.w.encodeImage();
    QVERIFY(!encoded.ok());
    const std::size_t traced = b.sim->last->transport.trace.size();
    b.w.WriteButtonClick(b.w.WriteButton);
    QCOMPARE(b.w.liveWorkers(), 0);
    QCOMPARE(b.sim->last->transport.trace.size(), traced);
    QCOMPARE(b.dialogs.texts(), QStringList{encoded.error});
    QCOMPARE(b.dialogs.shown[0].icon, pages::Dialogs::Icon::Error);
    QCOMPARE(buttons(b.w), S("0111100"));
    QVERIFY(b.w.Interactive);
}

void TestDeviceCommands::runModem_setsClockAndShowsIt() {
    Bench b;
    b.w.pcClock = [] { return QDateTime(QDate(2011, 3, 5), QTime(14, 7, 30)); };
    QVERIFY(b.connect());
    b.w.PageControl1->setActivePageIndex(2);
    b.w.PageControl1Change(b.w.PageControl1);
    const auto &c = b.w.controls();
    QVERIFY(c.get<pages::TabSheet>(S("TabSheet3"))->highlighted());
    b.w.RunModemButtonClick(b.w.RunModemButton);
    QCOMPARE(b.w.statusText(), S("M1536"));
    QCOMPARE(b.w.PageControl1->activePageIndex(), 0);
    QVERIFY(!c.get<pages::TabSheet>(S("TabSheet3"))->highlighted());
    QVERIFY(c.get<pages::TabSheet>(S("TabSheet1"))->highlighted());
    QCOMPARE(buttons(b.w).mid(2, 3), S("000"));
    QVERIFY(b.settle());
    QCOMPARE(b.w.statusText(), S("M1583"));
    QCOMPARE(b.w.mainPage().DateLabel->caption(), S("05.03.11"));
    QCOMPARE(b.w.mainPage().TimeLabel->caption(), S("14:07:00"));
    QVERIFY(!b.w.mainPage().DateLabel->isHidden());
    QVERIFY(!b.w.mainPage().TimeLabel->isHidden());
    QCOMPARE(buttons(b.w), S("0111100"));
    const sim::SimClock &clock = b.device().clock;
    QCOMPARE(QList<int>({clock.year, clock.month, clock.day, clock.hour, clock.minute}),
             QList<int>({11, 3, 5, 14, 7}));

    // A PC year the device clock cannot hold ends the start with a clear text, not 30 polls.
    b.w.pcClock = [] { return QDateTime(QDate(2064, 1, 2), QTime(3, 4)); };
    b.dialogs.clear();
    b.w.RunModemButtonClick(b.w.RunModemButton);
    QVERIFY(b.settle());
    QVERIFY(b.w.statusText().contains(S("2063")));
    QCOMPARE(b.dialogs.texts().size(), 1);
    QCOMPARE(buttons(b.w), S("0111100"));
}

void TestDeviceCommands::cancelAfterConnect_namesModelAndHidesIdentification() {
    QFETCH(Transport, transport);
    const bool usb = transport == Transport::Usb;
    // The port list comes back only for the COM port.
    const QString cancelRow = usb ? S("1000001") : S("1000011");
    Bench b(transport);
    QVERIFY(b.connect());
    b.w.CanlButtonClick(b.w.CancelButton);
    QCOMPARE(b.w.statusText(), S("M1042 M1237"));
    QVERIFY(b.w.mainPage().VersionLabel->isHidden());
    QVERIFY(b.w.mainPage().VersionLabel->caption().isEmpty());
    QVERIFY(b.w.mainPage().Label1->isHidden());
    QVERIFY(b.w.mainPage().Label1->caption().isEmpty());
    QCOMPARE(buttons(b.w), cancelRow);
    QCOMPARE(b.w.pb1->value(), 0);
    // The idle link closed at once.
    QVERIFY(!b.w.PortHandle);
    QVERIFY(!b.w.UsbHandle);
    if (usb)
        QCOMPARE(b.sim->d2xx.openHandles(), 0);
    else
        QCOMPARE(b.sim->last.use_count(), 1L);
    QCOMPARE(b.w.DeviceModel, pages::DeviceModel::Q72);
    // Cancel with nothing running and nothing open is harmless.
    b.w.CanlButtonClick(b.w.CancelButton);
    QCOMPARE(buttons(b.w), cancelRow);
    QCOMPARE(b.sim->d2xx.misuse(), 0);
}

void TestDeviceCommands::cancelThenConnect_doNotWaitForABlockedWorker() {
    auto factory = std::make_unique<StuckFactory>();
    StuckFactory *stuck = factory.get();
    const std::shared_ptr<StuckTransport> line = factory->transport;
    Bench b(Transport::Com, std::move(factory));
    b.w.ConnectButtonClick(b.w.ConnectButton);
    QTRY_VERIFY([&] {
        std::lock_guard lock(line->m);
        return line->entered;
    }());
    // A Cancel that waited for the worker would only return after this watchdog let it go.
    std::atomic<bool> watchdogReleased{false};
    std::thread watchdog([&] {
        std::unique_lock lock(line->m);
        if (!line->cv.wait_for(lock, std::chrono::seconds(5), [&] { return line->released; })) {
            watchdogReleased = true;
            line->released = true;
            line->cv.notify_all();
        }
    });
    b.w.CanlButtonClick(b.w.CancelButton);
    const QString afterCancel = buttons(b.w);
    // Connect again at once: the port opens when the old worker has let go of it.
    b.w.ConnectButtonClick(b.w.ConnectButton);
    const bool returnedBeforeRelease = !watchdogReleased.load();
    const QString afterConnect = buttons(b.w);
    const int workersBeforeRelease = b.w.liveWorkers(); // the old one, still inside its read
    const int opensBeforeRelease = stuck->opens;
    line->release();
    watchdog.join();
    QVERIFY(returnedBeforeRelease);
    QCOMPARE(afterCancel, S("1000011"));
    QCOMPARE(afterConnect, S("0100000"));
    QCOMPARE(workersBeforeRelease, 1);
    QCOMPARE(opensBeforeRelease, 1);
    QTRY_COMPARE(stuck->opens, 2);
    QVERIFY(b.settle());
    QCOMPARE(b.w.statusText(), S("M1025")); // the released line never answers
    b.w.CanlButtonClick(b.w.CancelButton);
    QVERIFY(b.settle());
    QCOMPARE(line.use_count(), 2L); // the factory's and this test's: the workers let go
    QVERIFY(!b.w.PortHandle);
}

void TestDeviceCommands::cancelDuringUsbRead_closesConverterForGood() {
    Bench b(Transport::Usb);
    QVERIFY(b.connect());
    QVERIFY(b.w.UsbHandle);

    // The twentieth read of the next command stays inside the driver for a while.
    std::atomic<int> reads{0};
    std::atomic<bool> inside{false};
    b.sim->d2xx.insideRead = [&] {
        if (++reads != 20)
            return;
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    };
    b.w.ReadButtonClick(b.w.ReadButton);
    QTRY_VERIFY_WITH_TIMEOUT(inside.load(), 5000);
    b.w.CanlButtonClick(b.w.CancelButton);
    // Cancel did not wait for the read in the driver: the read closes the converter as it returns.
    QCOMPARE(b.sim->d2xx.openHandles(), 1);
    QVERIFY(!b.w.UsbHandle);
    QVERIFY(b.w.ConnectButton->isEnabled());
    QVERIFY(b.settle());
    b.sim->d2xx.insideRead = nullptr;

    // Nothing reached the converter after it was closed.
    const std::vector<std::string> log = b.sim->d2xx.log();
    QVERIFY(!log.empty());
    QCOMPARE(log.back(), std::string("Close"));
    QCOMPARE(b.sim->d2xx.openHandles(), 0);
    QCOMPARE(b.sim->d2xx.misuse(), 0);
    QCOMPARE(b.sim->d2xx.overlaps(), 0);
    QCOMPARE(reads.load(), 20);
}

void TestDeviceCommands::cancelAtRandomMoments_alwaysEndsCleanly() {
    enum Op { Connect, Read, Write, Modem };
    QRandomGenerator random(20261206);
    Bench q72(Transport::Com, sim::Model::Q72);
    Bench q71(Transport::Com, sim::Model::Q71);
    // Every other modem start is cancelled while it waits for the PC clock; no clock but the
    // PC's may ever reach the device.
    bool cancelInStamp = false;
    for (Bench *b : {&q72, &q71})
        b->w.pcClock = [b, &cancelInStamp] {
            if (cancelInStamp)
                b->w.CanlButtonClick(b->w.CancelButton);
            return QDateTime(QDate(2012, 6, 7), QTime(8, 9));
        };
    const link::ClockStamp pc = link::makeClockStamp(2012, 6, 7, 8, 9, 0);
    std::set<std::vector<std::uint8_t>> pcClockFrames;
    for (const link::Bytes5 &f :
         {link::setMinuteRequest(pc), link::setDayHourRequest(pc), link::setYearMonthRequest(pc)})
        pcClockFrames.insert({f.begin(), f.end()});
    for (int run = 0; run < 200; ++run) {
        const bool gsm = run % 4 != 3;
        Bench &b = gsm ? q72 : q71;
        b.dialogs.clear();
        const Op op = static_cast<Op>(random.bounded(gsm ? 4 : 3));
        cancelInStamp = op == Modem && run % 2;
        if (op != Connect)
            QVERIFY(b.connect());
        const long target = b.sim->steps + random.bounded(op == Write ? 2500 : 700);
        switch (op) {
        case Connect:
            b.w.ConnectButtonClick(b.w.ConnectButton);
            break;
        case Read:
            b.w.ReadButtonClick(b.w.ReadButton);
            break;
        case Write:
            b.w.WriteButtonClick(b.w.WriteButton);
            break;
        case Modem:
            b.w.RunModemButtonClick(b.w.RunModemButton);
            break;
        }
        QTimer tick;
        tick.start(20);
        while (b.sim->steps < target && b.w.liveWorkers() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        b.w.CanlButtonClick(b.w.CancelButton);
        QVERIFY2(b.settle(10000), qPrintable(QString::number(run)));
        QCOMPARE(buttons(b.w), S("1000011"));
        QCOMPARE(b.w.pb1->value(), 0);
        QVERIFY(b.w.statusText().startsWith(S("M1042")));
        QVERIFY(!b.w.PortHandle);
        QCOMPARE(b.sim->last.use_count(), 1L);
        QVERIFY(b.dialogs.texts().isEmpty());
        for (const sim::TraceEvent &e : b.sim->last->transport.trace) {
            const std::uint8_t command = e.bytes.size() == 5 ? e.bytes[2] : 0;
            if (e.kind == sim::TraceEvent::Kind::Send &&
                (command == 0x22 || ((command & 0x0F) == 0x0A && command != 0x0A)))
                QVERIFY2(pcClockFrames.count(e.bytes), sim::describe(e).c_str());
        }
        // A new connect opens the port afresh and works.
        if (run % 10 == 0) {
            QVERIFY(b.connect());
            QCOMPARE(b.w.statusText(), S("M1040"));
            b.w.CanlButtonClick(b.w.CancelButton);
        }
    }
}

void TestDeviceCommands::closingWindowDuringTransfer_endsWorker() {
    QRandomGenerator random(7);
    for (int run = 0; run < 20; ++run) {
        Bench b;
        QVERIFY(b.connect());
        const std::weak_ptr<sim::SimLink> link = b.sim->last;
        const long target = b.sim->steps + random.bounded(2000);
        if (run % 2)
            b.w.WriteButtonClick(b.w.WriteButton);
        else
            b.w.ReadButtonClick(b.w.ReadButton);
        QTimer tick;
        tick.start(20);
        while (b.sim->steps < target && b.w.liveWorkers() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (run % 4 < 2)
            b.w.close();
        b.window.reset();
        b.sim = nullptr;
        // The window's factory is gone with it; the worker let go of the link before that.
        QVERIFY(link.expired());
        QCoreApplication::processEvents();
    }
}

QTEST_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
