#pragma once
// Links for window tests: each opened COM port is a fresh in-process device on a loopback line
// with a virtual clock, so a full read or write takes milliseconds.
#include "app/linkfactory.h"
#include "lang/messagetable.h"
#include "tools/q7xsim/loopback.h"

#include <QList>
#include <QPair>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace q7x::test {

class SimLinkFactory : public app::LinkFactory {
  public:
    sim::Model model = sim::Model::Q72;
    bool refuse = false;                         // every open fails
    std::vector<std::uint8_t> initialImage;      // what each new device holds at first
    std::function<void(sim::DeviceSim &)> setup; // then runs on each new device
    std::atomic<long> steps{0};                  // transfers and pauses of all links so far
    QList<QPair<int, QString>> opened;           // port number and INI path of each open
    std::shared_ptr<sim::SimLink> last;          // the device behind the latest open

    app::LinkHandle openSerialPort(int portNumber, const QString &path) override {
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
    int portSettleMs() const override { return 0; }
};

// Messages "M<n>", with the printf-style ones the window formats.
inline void fillMessageTable() {
    for (int k = 0; k < lang::MessageCount; ++k)
        lang::MessageTable()[std::size_t(k)] = QStringLiteral("M%1").arg(1000 + k);
    lang::MessageTable()[3] = QStringLiteral("M1003 %s");
    lang::MessageTable()[30] = QStringLiteral("M1030 %d");
    lang::MessageTable()[95] = QStringLiteral("M1095 %d");
}

} // namespace q7x::test
