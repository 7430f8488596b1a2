// Check bytes, frames, replies and clock commands against the values of the device
// documentation.
#include <QtTest>

#include <array>
#include <string_view>
#include <vector>

#include "link/clockstamp.h"
#include "link/crc8.h"
#include "link/frames.h"
#include "link/linkengine.h"

using namespace q7x::link;

namespace {
using V = std::vector<std::uint8_t>;
template <std::size_t N> V v(const std::array<std::uint8_t, N> &a) { return V(a.begin(), a.end()); }
} // namespace

class TestLinkFrames : public QObject {
    Q_OBJECT
  private slots:
    void crcCheckValues() {
        const std::string_view digits = "123456789";
        const V ascii(digits.begin(), digits.end());
        QCOMPARE(crc8(ascii), std::uint8_t{0xA1});
        QCOMPARE(crc8(V{0x55, 0x0C, 0x12, 0x00}), std::uint8_t{0x9F});
        // Inclusive range inside a longer buffer; out-of-range ends are clipped, not read.
        const V framed{0xEE, 0x55, 0x0C, 0x12, 0x00, 0xEE};
        QCOMPARE(crc8(framed, 1, 4), std::uint8_t{0x9F});
        QCOMPARE(crc8(V{0x55, 0x0C, 0x12, 0x00}, 0, 99), std::uint8_t{0x9F});
        QCOMPARE(crc8(V{}, 0, 3), std::uint8_t{0});
        QCOMPARE(crc8(framed, 9, 12), std::uint8_t{0});
    }

    void frames() {
        // Frames the engine tests' byte traces do not show.
        QCOMPARE(v(readBlockRequest(0x300)), (V{0x55, 0x0C, 0x34, 0x00, 0xF4}));
        QCOMPARE(v(writeDataRequest(0xFF)), (V{0x55, 0x0C, 0x03, 0xFF, 0x82}));
        QCOMPARE(v(q71Header(LinkOperation::ReadQ71)), (V{0x55, 0x55, 0x02, 0x00, 0x86}));
        QCOMPARE(v(q71Header(LinkOperation::RunModem)), (V{0x55, 0x55, 0x03, 0x00, 0x42}));

        std::array<std::uint8_t, 320> image{};
        image[0] = 0x31;
        image[319] = 0x39;
        const auto frame = q71WriteFrame(image);
        QCOMPARE(frame.size(), std::size_t{323});
        QCOMPARE(frame[0], std::uint8_t{0xAA});
        QCOMPARE(frame[1], std::uint8_t{0xAA});
        QCOMPARE(frame[2], std::uint8_t{0x31});
        QCOMPARE(frame[321], std::uint8_t{0x39});
        QCOMPARE(frame[322], crc8(frame, 0, 321));
        // A short image leaves the rest of the frame zero instead of reading past it.
        const V shortImage{1, 2, 3};
        const auto shortFrame = q71WriteFrame(shortImage);
        QCOMPARE(shortFrame[4], std::uint8_t{3});
        QCOMPARE(shortFrame[5], std::uint8_t{0});
    }

    void replies() {
        const V good{0xAA, 0x02, 0x01, 0, 0, 0};
        QVERIFY(isValidReply(good, 6));
        QVERIFY(!isValidReply(good, 5));
        QVERIFY(!isValidReply(V{0xAB, 0, 0, 0, 0, 0}, 6));
        QVERIFY(!isValidReply(V{0xAA, 0, 0}, 6)); // the count cannot exceed the buffer
        QVERIFY(replyNamesAddress(good, 0x102));
        QVERIFY(replyNamesAddress(V{0xAA, 0x02, 0xF1, 0, 0, 0}, 0x102)); // high nibble free
        QVERIFY(!replyNamesAddress(good, 0x106));
        QVERIFY(!replyNamesAddress(good, 0x202));

        std::array<std::uint8_t, 324> frame{};
        frame[5] = 7;
        frame[323] = crc8(frame, 0, 322);
        QVERIFY(q71ReadFrameIntact(frame));
        frame[323] ^= 1;
        QVERIFY(!q71ReadFrameIntact(frame));
        QVERIFY(!q71ReadFrameIntact(std::span<const std::uint8_t>(frame).first(323)));
    }

    void clockCommands() {
        const ClockStamp s = makeClockStamp(2013, 12, 31, 23, 59, 45);
        QCOMPARE(int(s.year), 13);
        QCOMPARE(v(setMinuteRequest(s))[3], std::uint8_t{0x3B});
        QCOMPARE(v(setDayHourRequest(s))[2], std::uint8_t{0xDA});
        QCOMPARE(v(setDayHourRequest(s))[3], std::uint8_t{0xF7});
        QCOMPARE(v(setYearMonthRequest(s))[2], std::uint8_t{0x2A});
        QCOMPARE(v(setYearMonthRequest(s))[3], std::uint8_t{0xDC});
        QCOMPARE(v(setYearMonthRequest(s))[4], std::uint8_t{0x30});
        // Year bits 4 and 5 travel in the command byte.
        const ClockStamp late = makeClockStamp(2049, 1, 1, 0, 0, 0);
        QCOMPARE(v(setYearMonthRequest(late))[2], std::uint8_t{0xEA});
        QCOMPARE(v(setYearMonthRequest(late))[3], std::uint8_t{0x11});
    }

    void clockYearRange() {
        QVERIFY(deviceClockHoldsYear(makeClockStamp(2063, 12, 31, 23, 59, 59)));
        QVERIFY(!deviceClockHoldsYear(makeClockStamp(2064, 1, 1, 0, 0, 0)));
        QCOMPARE(int(makeClockStamp(2207, 1, 1, 0, 0, 0).year), 207);
    }

    void clockDecodeAndDisplay() {
        // 5 March 2009 14:07: c1 = 07 | (14 & 3) << 6, c2 = 14 >> 2 | 5 << 3.
        const V reply{0xAA, 0x87, 0x2B, 0x03, 0x09, 0x00};
        const DeviceClock c = decodeDeviceClock(reply);
        QCOMPARE(c, (DeviceClock{9, 3, 5, 14, 7}));
        QCOMPARE(formatClockDate(c), std::string("05.03.09"));
        QCOMPARE(formatClockTime(c), std::string("14:07:00"));
        QVERIFY(clockMatchesStamp(c, makeClockStamp(2009, 3, 5, 14, 7, 33)));
        QVERIFY(!clockMatchesStamp(c, makeClockStamp(2009, 3, 5, 14, 8, 0)));
        QCOMPARE(decodeDeviceClock(V{0xAA, 1}), DeviceClock{});
    }
};

QTEST_APPLESS_MAIN(TestLinkFrames)
#include "tst_linkframes.moc"
