#include "image/presets.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace q7x::image {

namespace {

// Builds a preset from runs written as "first..last: bytes" or "first..last: value x count".
// A run whose length does not match its range is a typing error in the tables below; it stops
// the program at the first use rather than ship a wrong factory setting.
class Builder {
  public:
    Builder() { img_.fill(0); }
    explicit Builder(const ConfigImage &base) : img_(base) {}

    Builder &set(int first, int last, std::initializer_list<int> bytes) {
        check(first, last, int(bytes.size()));
        int i = first;
        for (int b : bytes)
            img_[i++] = std::uint8_t(b);
        return *this;
    }
    Builder &set(int at, int byte) { return set(at, at, {byte}); }
    Builder &fill(int first, int last, int value) {
        check(first, last, last - first + 1);
        for (int i = first; i <= last; ++i)
            img_[i] = std::uint8_t(value);
        return *this;
    }
    const ConfigImage &image() const { return img_; }

  private:
    static void check(int first, int last, int count) {
        if (first < 0 || last >= ImageSize || last - first + 1 != count) {
            std::fprintf(stderr, "preset run %d..%d does not hold %d bytes\n", first, last, count);
            std::abort();
        }
    }
    ConfigImage img_;
};

// Bytes 0..7 of the Q72 extended-mode presets differ; 8..255 share most of their runs.
ConfigImage q72Mode0() {
    Builder b;
    b.set(0, 255).fill(1, 4, 0).set(5, 7, {14, 255, 255}).fill(8, 15, 1).fill(16, 23, 52);
    b.set(24, 15).fill(25, 95, 255);
    b.set(96, 129, {0,  3, 0,  3, 0,  3, 0,  3, 0,  3, 0,  3, 0,  3, 0,  3, 7,
                    49, 7, 49, 7, 49, 7, 49, 7, 49, 7, 49, 7, 49, 7, 49, 6, 3});
    b.fill(130, 149, 0).set(150, 151, {255, 255}).fill(152, 158, 0).set(159, 255).fill(160, 167, 0);
    b.set(168, 183, {4, 0, 0, 0, 112, 0, 85, 81, 21, 146, 149, 19, 0, 83, 17, 0});
    b.fill(184, 191, 255).set(192, 193, {1, 1}).fill(194, 207, 0);
    b.set(208, 240,
          {255, 16,  255, 17,  255, 242, 255, 243, 255, 244, 255, 245, 255, 246, 255, 247, 255,
           248, 255, 249, 255, 250, 255, 251, 255, 252, 255, 253, 255, 254, 255, 255, 31});
    b.fill(241, 255, 0).fill(256, 273, 255).set(274, 275, {0, 0}).fill(276, 281, 255);
    b.fill(282, 287, 0).set(288, 295, {255, 255, 0, 0, 255, 255, 0, 0}).fill(296, 320, 255);
    b.set(321, 323, {29, 245, 63});
    b.set(464, 466, {0x73, 0x01, 0x94}); // factory password "730194" of object group 1
    b.fill(467, 511, 255);
    return b.image();
}

ConfigImage q72Mode1() {
    Builder b;
    b.set(0, 7, {0, 255, 255, 96, 16, 14, 255, 255}).fill(8, 15, 2).fill(16, 23, 52);
    b.set(24, 15).fill(25, 95, 255).fill(96, 149, 0).set(150, 151, {255, 255});
    b.fill(152, 158, 0).set(159, 255).fill(160, 167, 0);
    b.set(168, 186, {4, 0, 255, 1, 112, 0, 85, 81, 21, 146, 149, 19, 0, 18, 17, 0, 161, 2, 191});
    b.fill(187, 191, 255).fill(192, 207, 1);
    b.set(208, 240,
          {255, 16,  255, 17,  255, 18,  255, 19,  255, 20,  255, 21,  255, 22,  255, 23, 255,
           24,  255, 25,  255, 26,  255, 27,  255, 28,  255, 29,  255, 30,  255, 31,  4});
    b.fill(241, 254, 0).fill(255, 323, 255).fill(464, 511, 255);
    return b.image();
}

ConfigImage q72Mode5() {
    Builder b;
    b.set(0, 7, {0, 0, 255, 96, 16, 14, 255, 255}).fill(8, 15, 2).fill(16, 23, 52);
    b.set(24, 15).fill(25, 95, 255).fill(96, 135, 0).set(136, 143, {8, 9, 10, 11, 12, 13, 14, 15});
    b.fill(144, 149, 0).set(150, 151, {255, 255}).fill(152, 158, 0).set(159, 255);
    b.fill(160, 167, 0);
    b.set(168, 186, {4, 0, 255, 5, 112, 0, 85, 81, 21, 146, 149, 19, 0, 16, 17, 0, 161, 2, 191});
    b.fill(187, 191, 255).fill(192, 199, 1).fill(200, 207, 0);
    b.set(208, 240,
          {255, 16,  255, 17,  255, 18,  255, 19,  255, 20,  255, 21,  255, 22,  255, 23, 255,
           248, 255, 249, 255, 250, 255, 251, 255, 252, 255, 253, 255, 254, 255, 255, 4});
    b.fill(241, 303, 0).fill(304, 323, 255).fill(464, 511, 255);
    return b.image();
}

ConfigImage q72Mode2() {
    Builder b;
    b.set(0, 7, {0, 0, 1, 96, 16, 14, 255, 255}).fill(8, 15, 2).fill(16, 23, 52);
    b.set(24, 15).fill(25, 95, 255).fill(96, 135, 0).set(136, 143, {8, 9, 10, 11, 12, 13, 14, 15});
    b.fill(144, 149, 0).set(150, 151, {255, 255}).fill(152, 158, 0).set(159, 255);
    b.fill(160, 167, 0);
    b.set(168, 186, {4, 0, 255, 2, 112, 0, 85, 81, 21, 146, 149, 19, 0, 16, 17, 0, 161, 2, 191});
    b.fill(187, 191, 255).set(192, 1).fill(193, 207, 0);
    b.set(208, 240,
          {255, 16,  255, 241, 255, 242, 255, 243, 255, 244, 255, 245, 255, 246, 255, 247, 255,
           248, 255, 249, 255, 250, 255, 251, 255, 252, 255, 253, 255, 254, 255, 255, 4});
    b.fill(241, 254, 0).set(255, 13).fill(256, 303, 0).fill(304, 323, 255).fill(464, 511, 255);
    return b.image();
}

ConfigImage q72Mode3() {
    Builder b(q72Mode2());
    b.set(2, 3).set(171, 3).set(193, 1).set(211, 17).set(255, 51);
    return b.image();
}

ConfigImage q72Mode4() {
    Builder b(q72Mode2());
    b.set(2, 15).set(171, 4).set(193, 195, {1, 1, 1}).set(211, 17).set(213, 18).set(215, 19);
    b.set(255, 0);
    return b.image();
}

ConfigImage q71Mode0() {
    Builder b;
    b.set(0, 1, {13, 16}).fill(2, 9, 68);
    b.set(10, 27, {3, 0, 32, 12, 14, 0, 0, 255, 16, 0, 1, 0, 144, 149, 21, 85, 21, 144});
    b.fill(28, 41, 0).set(42, 52, {3, 16, 50, 84, 118, 152, 186, 220, 254, 0, 16});
    b.fill(53, 74, 0).set(75, 4).fill(76, 127, 0);
    b.set(128, 151, {255, 0,  0, 255, 20, 3,  131, 56, 68, 1, 53, 83,
                     115, 17, 3, 86,  52, 65, 55,  53, 3,  2, 22, 2});
    b.fill(152, 255, 0).set(256, 263, {1, 2, 4, 8, 16, 32, 64, 128}).fill(264, 272, 0);
    return b.image();
}

ConfigImage q71Mode(int mode) {
    Builder b(q71Mode0());
    switch (mode) {
    case 1:
        b.set(0, 1, {14, 17}).fill(6, 9, 102).set(10, 11, {255, 255});
        break;
    case 2:
        b.set(0, 1, {12, 18}).set(10, 1);
        break;
    case 3:
        b.set(0, 1, {12, 19});
        break;
    case 4:
        b.set(0, 1, {12, 20}).set(10, 15);
        break;
    case 5:
        b.set(0, 1, {12, 21}).set(10, 255);
        break;
    default:
        break;
    }
    return b.image();
}

struct Presets {
    std::array<ConfigImage, PresetWorkModeCount> q71;
    std::array<ConfigImage, PresetWorkModeCount> q72;
};

const Presets &presets() {
    static const Presets p = [] {
        Presets r;
        for (int mode = 0; mode < PresetWorkModeCount; ++mode)
            r.q71[mode] = q71Mode(mode);
        r.q72 = {q72Mode0(), q72Mode1(), q72Mode2(), q72Mode3(), q72Mode4(), q72Mode5()};
        return r;
    }();
    return p;
}

} // namespace

ConfigImage presetImage(DeviceModel model, int workModeItem) {
    if (workModeItem < 0 || workModeItem >= PresetWorkModeCount)
        workModeItem = 0;
    const auto &p = presets();
    return model == DeviceModel::Q71 ? p.q71[workModeItem] : p.q72[workModeItem];
}

} // namespace q7x::image
