#pragma once
// The main window on line for the device-command tests. Behind the COM port each open is a fresh
// in-process device on a loopback line with a virtual clock; behind USB a simulated converter with
// its own device. A full read or write takes milliseconds either way.
#include "app/mainform.h"
#include "image/presets.h"
#include "lang/messagetable.h"
#include "simd2xx.h"
#include "testsupport.h"
#include "tools/q7xsim/loopback.h"

#include <QList>
#include <QPair>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace q7x::test {

inline QString S(const char *utf8) { return QString::fromUtf8(utf8); }

enum class Transport { Com, Usb };

class SimLinkFactory : public app::LinkFactory {
  public:
    // Both devices start with the factory preset `preset` of `model`, so that the decoder finds
    // nothing to complain about.
    explicit SimLinkFactory(sim::Model m = sim::Model::Q72, int preset = 1) : model(m), d2xx(m) {
        const image::ConfigImage image = image::presetImage(
            m == sim::Model::Q71 ? pages::DeviceModel::Q71 : pages::DeviceModel::Q72, preset);
        initialImage.assign(image.begin(), image.end());
        d2xx.link.device.loadImage(initialImage);
    }

    sim::Model model;                            // of each new COM device
    bool refuse = false;                         // every COM open fails
    std::vector<std::uint8_t> initialImage;      // what each new COM device holds at first
    std::function<void(sim::DeviceSim &)> setup; // then runs on each new COM device
    std::atomic<long> steps{0};                  // transfers and pauses of all COM links so far
    QList<QPair<int, QString>> opened;           // port number and INI path of each COM open
    std::shared_ptr<sim::SimLink> last;          // the device behind the latest COM open
    link::test::SimD2xx d2xx;                    // the USB converter

    app::LinkHandle openSerialPort(int portNumber, const QString &path,
                                   link::PortError &) override {
        opened.append({portNumber, path});
        if (refuse)
            return {};
        last = std::make_shared<sim::SimLink>(model, link::LinkKind::Serial);
        last->device.loadImage(initialImage);
        if (setup)
            setup(last->device);
        last->transport.onStep = [this] { ++steps; };
        return {std::shared_ptr<link::Transport>(last, &last->transport),
                std::shared_ptr<link::Clock>(last, &last->clock)};
    }
    int settleMs = 0; // the pause after each COM open
    int portSettleMs() const override { return settleMs; }
    link::D2xx &usbDriver() override { return d2xx; }
    std::shared_ptr<link::Clock> usbClock() override {
        return std::shared_ptr<link::Clock>(std::shared_ptr<void>(), &d2xx.link.clock);
    }
    int usbLogCount(const char *line) const {
        const std::vector<std::string> log = d2xx.log();
        return static_cast<int>(std::count(log.begin(), log.end(), std::string(line)));
    }
};

// Messages "M<n>", with the printf-style ones the window formats.
inline void fillMessageTable() {
    numberMessages();
    lang::MessageTable()[3] = QStringLiteral("M1003 %s");
    lang::MessageTable()[30] = QStringLiteral("M1030 %d");
    lang::MessageTable()[95] = QStringLiteral("M1095 %d");
    for (int n : {1600, 1607, 1609})
        lang::MessageTable()[std::size_t(n - 1000)] = QStringLiteral("M%1 %s").arg(n);
}

// The enabled states of Connect, Cancel, Write, Read, Run modem, the port list and Mode as
// "10110..".
inline QString buttons(const app::TMainForm &w) {
    QString s;
    for (const QWidget *b : std::initializer_list<const QWidget *>{
             w.ConnectButton, w.CancelButton, w.WriteButton, w.ReadButton, w.RunModemButton,
             w.PortNumber, w.Mode})
        s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

// What a window shows after decoding the Q72 image `image` as a read from the device delivers
// it: device bytes 0x1A0 and 0x1A1 arrive twice, the second time over image bytes 416 and 417.
inline image::ConfigImage encodedAfterQ72Read(const image::ConfigImage &image) {
    image::ConfigImage read{};
    std::copy_n(image.begin(), 512, read.begin());
    read[414] = image[416];
    read[415] = image[417];
    pages::RecordingDialogs dialogs;
    app::TMainForm reference(&dialogs);
    reference.show();
    reference.readImage(pages::DeviceModel::Q72, read);
    return reference.encodeImage().image;
}

// A window in on-line mode over `transport`. `factory` plays the devices; without one the window
// uses the machine's own COM ports.
struct WindowBench {
    pages::RecordingDialogs dialogs;
    std::unique_ptr<app::TMainForm> window = std::make_unique<app::TMainForm>(&dialogs);
    app::TMainForm &w = *window;
    SimLinkFactory *sim = nullptr;

    explicit WindowBench(Transport transport, std::unique_ptr<SimLinkFactory> factory) {
        sim = factory.get();
        if (factory)
            w.setLinkFactory(std::move(factory));
        w.show();
        fillMessageTable();
        w.Mode->setItemIndex(2);
        w.WorkMode(w.Mode);
        (transport == Transport::Usb ? w.USB : w.COM)->setChecked(true);
        dialogs.clear();
    }
    explicit WindowBench(Transport transport = Transport::Com, sim::Model model = sim::Model::Q72,
                         int preset = 1)
        : WindowBench(transport, std::make_unique<SimLinkFactory>(model, preset)) {}

    sim::DeviceSim &device() { return sim->last->device; }
    // Waits until no worker is left (a chained read counts as part of its connect).
    bool settle(int ms = 20000) {
        QDeadlineTimer deadline(ms);
        QTimer tick; // wakes the wait below to look at the deadline
        tick.start(20);
        while (w.liveWorkers() > 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        return w.liveWorkers() == 0;
    }
    bool connect(int ms = 20000) {
        w.ConnectButtonClick(w.ConnectButton);
        return settle(ms);
    }
};

} // namespace q7x::test
