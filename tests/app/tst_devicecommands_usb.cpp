// The device commands of the main window over the USB converter, with a simulated converter and
// device behind the driver: no converter, the reopen after a Q72 connect, the Q71 connect without
// a read, and Cancel during a read.
#include "app/mainform.h"
#include "image/codec.h"
#include "image/presets.h"
#include "lang/ini.h"
#include "simd2xx.h"
#include "simlinkfactory.h"

#include <QFile>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

using namespace q7x;
using link::test::SimD2xx;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// The window's links: the simulated converter for USB, on the simulator's virtual clock.
class SimUsbFactory : public test::SimLinkFactory {
  public:
    explicit SimUsbFactory(sim::Model model) : d2xx(model) {}
    link::D2xx &usbDriver() override { return d2xx; }
    std::shared_ptr<link::Clock> usbClock() override {
        return std::shared_ptr<link::Clock>(std::shared_ptr<void>(), &d2xx.link.clock);
    }
    SimD2xx d2xx;
};

struct Bench {
    pages::RecordingDialogs dialogs;
    std::unique_ptr<app::TMainForm> window = std::make_unique<app::TMainForm>(&dialogs);
    app::TMainForm &w = *window;
    SimUsbFactory *sim = nullptr;

    explicit Bench(sim::Model model, int preset = 1) {
        auto factory = std::make_unique<SimUsbFactory>(model);
        sim = factory.get();
        const image::ConfigImage image = image::presetImage(
            model == sim::Model::Q71 ? pages::ModelQ71 : pages::ModelQ72, preset);
        sim->d2xx.link.device.loadImage(std::vector<std::uint8_t>(image.begin(), image.end()));
        w.setLinkFactory(std::move(factory));
        w.show();
        test::fillMessageTable();
        w.Mode->setItemIndex(2);
        w.WorkMode(w.Mode);
        w.USB->setChecked(true);
        dialogs.clear();
    }
    bool settle(int ms = 10000) {
        QDeadlineTimer deadline(ms);
        QTimer tick;
        tick.start(20);
        while (w.liveWorkers() > 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        return w.liveWorkers() == 0;
    }
    int logCount(const char *line) const {
        const std::vector<std::string> log = sim->d2xx.log();
        return static_cast<int>(std::count(log.begin(), log.end(), std::string(line)));
    }
};

} // namespace

class TestDeviceCommandsUsb : public QObject {
    Q_OBJECT
  private slots:
    void init() { QFile::remove(lang::IniPath()); }
    void cleanup() { QFile::remove(lang::IniPath()); }

    void noConverter_warnsOncePerClickAndTriesAgain();
    void connectQ72_reopensConverterForChainedRead();
    void connectQ71_startsNoRead();
    void cancelDuringRead_closesConverterForGood();
};

void TestDeviceCommandsUsb::noConverter_warnsOncePerClickAndTriesAgain() {
    Bench b(sim::Model::Q72);
    b.sim->d2xx.present = false;
    for (int click = 1; click <= 2; ++click) {
        b.w.ConnectButtonClick(b.w.ConnectButton);
        QCOMPARE(b.dialogs.texts().size(), click);
        QCOMPARE(b.dialogs.shown.last().text, S("M1535"));
        QCOMPARE(b.w.statusText(), S("M1535"));
        QCOMPARE(b.logCount("Open 0 !"), click);
        QVERIFY(!b.w.UsbHandle);
        QVERIFY(b.w.ConnectButton->isEnabled());
        QVERIFY(!b.w.CancelButton->isEnabled());
        QVERIFY(!b.w.ReadButton->isEnabled());
        QCOMPARE(b.w.liveWorkers(), 0);
    }
    // The converter is plugged in: the next click finds it.
    b.sim->d2xx.present = true;
    b.w.ConnectButtonClick(b.w.ConnectButton);
    QVERIFY(b.settle());
    QCOMPARE(b.dialogs.texts().size(), 2);
    QCOMPARE(b.w.DeviceModel, pages::ModelQ72);
    QCOMPARE(b.sim->d2xx.misuse(), 0);
}

void TestDeviceCommandsUsb::connectQ72_reopensConverterForChainedRead() {
    Bench b(sim::Model::Q72, 3);
    b.w.ConnectButtonClick(b.w.ConnectButton);
    QVERIFY(b.settle());
    QCOMPARE(b.w.statusText(), S("M1040"));
    QVERIFY(b.dialogs.shown.isEmpty());
    // Opened for the connect, closed at its end, opened again by the read, which keeps it.
    const std::vector<std::string> log = b.sim->d2xx.log();
    const auto firstClose = std::find(log.begin(), log.end(), "Close");
    QVERIFY(firstClose != log.end());
    QCOMPARE(std::count(log.begin(), firstClose, std::string("Open 0")), 1);
    QCOMPARE(std::count(firstClose, log.end(), std::string("Open 0")), 1);
    QCOMPARE(b.logCount("Close"), 1);
    QCOMPARE(b.sim->d2xx.opens(), 2);
    QCOMPARE(b.sim->d2xx.openHandles(), 1);
    QVERIFY(b.w.UsbHandle);
    QCOMPARE(b.sim->d2xx.misuse(), 0);
    QCOMPARE(b.sim->d2xx.overlaps(), 0);
    QCOMPARE(b.w.PendingOperation, link::LinkOperation::ReadQ72);
    QCOMPARE(b.w.ReadButton->isEnabled(), true);

    // The read image reached the decoder: the window shows what preset 3 shows.
    pages::RecordingDialogs refDialogs;
    app::TMainForm reference(&refDialogs), fresh(&refDialogs);
    reference.show();
    fresh.show();
    image::DecodeImageQ72(reference, image::presetImage(pages::ModelQ72, 3));
    QVERIFY(reference.WorkModeComboBox->itemIndex() != fresh.WorkModeComboBox->itemIndex());
    QCOMPARE(b.w.WorkModeComboBox->itemIndex(), reference.WorkModeComboBox->itemIndex());
    QVERIFY(!b.w.Memo1->toPlainText().isEmpty());
}

void TestDeviceCommandsUsb::connectQ71_startsNoRead() {
    Bench b(sim::Model::Q71);
    b.w.ConnectButtonClick(b.w.ConnectButton);
    QVERIFY(b.settle());
    QCOMPARE(b.w.DeviceModel, pages::ModelQ71);
    QCOMPARE(b.w.PendingOperation, link::LinkOperation::Connect);
    QCOMPARE(b.sim->d2xx.opens(), 1);
    QVERIFY(b.w.ReadButton->isEnabled());
    QCOMPARE(b.sim->d2xx.misuse(), 0);

    // Read reopens the converter the connect closed.
    b.w.ReadButtonClick(b.w.ReadButton);
    QVERIFY(b.settle());
    QCOMPARE(b.sim->d2xx.opens(), 2);
    QCOMPARE(b.w.PendingOperation, link::LinkOperation::ReadQ71);
    QCOMPARE(b.sim->d2xx.misuse(), 0);
}

void TestDeviceCommandsUsb::cancelDuringRead_closesConverterForGood() {
    Bench b(sim::Model::Q72);
    b.w.ConnectButtonClick(b.w.ConnectButton);
    QVERIFY(b.settle());
    QVERIFY(b.w.UsbHandle);

    // The twentieth read of the next command stays inside the driver for a while.
    std::atomic<int> reads{0};
    std::atomic<bool> inside{false};
    b.sim->d2xx.insideRead = [&] {
        if (++reads != 20)
            return;
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    b.w.ReadButtonClick(b.w.ReadButton);
    QTRY_VERIFY_WITH_TIMEOUT(inside.load(), 5000);
    b.w.CanlButtonClick(b.w.CancelButton);
    // Cancel waited for the read in the driver and closed the converter itself.
    QCOMPARE(b.sim->d2xx.openHandles(), 0);
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

QTEST_MAIN(TestDeviceCommandsUsb)
#include "tst_devicecommands_usb.moc"
