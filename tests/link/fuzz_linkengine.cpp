// Feeds arbitrary device answers to every link operation over both carriers: the engine must stay
// within its buffers and end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/linkengine.h"

using namespace q7x::link;

namespace {

// Answers each receive with the next bytes of the input; a byte of the input chooses how many.
class FuzzTransport : public Transport {
  public:
    explicit FuzzTransport(std::span<const std::uint8_t> data) : data_(data) {}
    bool send(std::span<const std::uint8_t>) override { return take(1) != 0xFF; }
    ReceiveResult receive(std::span<std::uint8_t> buffer) override {
        if (pos_ >= data_.size() || ++calls_ > 20000)
            return {0, calls_ % 2 == 0};
        const std::size_t want =
            std::min<std::size_t>(take(1) % (buffer.size() + 2), buffer.size());
        const std::size_t n = std::min(want, data_.size() - pos_);
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(pos_), n, buffer.begin());
        pos_ += n;
        return {n, true};
    }
    void purge() override {}
    void interrupt() override {}

  private:
    std::uint8_t take(std::size_t) {
        if (pos_ >= data_.size())
            return 0;
        return data_[pos_++];
    }
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    int calls_ = 0;
};

class NoClock : public Clock {
  public:
    void pause(int) override {}
};

class NullWindow : public q7x::link::SilentWindowPort {
  public:
    std::optional<ClockStamp> takeClockStamp() override {
        return makeClockStamp(2013, 12, 31, 23, 59, 0);
    }
    void deliverImage(DeviceModel, std::span<const std::uint8_t> image) override {
        volatile std::uint8_t sink = 0;
        for (std::uint8_t b : image)
            sink = sink ^ b;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    static const LinkOperation Ops[] = {LinkOperation::Connect,  LinkOperation::WriteQ71,
                                        LinkOperation::ReadQ71,  LinkOperation::RunModem,
                                        LinkOperation::WriteQ72, LinkOperation::ReadQ72};
    const LinkOperation op = Ops[data[0] % 6];
    const bool usb = data[0] & 0x40;
    const DeviceModel model = data[0] & 0x80 ? DeviceModel::Q71 : DeviceModel::Q72;
    FuzzTransport transport(std::span<const std::uint8_t>(data + 1, size - 1));
    NoClock clock;
    NullWindow window;
    LinkEngine engine(transport, clock, window, usb ? usbTraits() : serialTraits());
    const std::vector<std::uint8_t> image(data[1] % 2 ? 702 : 100, 0x5A);
    engine.run(op, model, image);
    return 0;
}
