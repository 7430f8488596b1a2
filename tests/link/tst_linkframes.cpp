// Check bytes, frames and clock commands against the values of the device documentation.
#include <QtTest>

#include <array>
#include <string_view>
#include <vector>

#include "link/clockstamp.h"
#include "link/crc8.h"
#include "link/frames.h"
#include "link/linkdisplay.h"
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

    void q72Requests() {
        QCOMPARE(v(statusRequest()), (V{0x55, 0x0C, 0x12, 0x00, 0x9F}));
        QCOMPARE(v(setAddressRequest(0x000)), (V{0x55, 0x0C, 0x0B, 0x00, 0xC1}));
        QCOMPARE(v(setAddressRequest(0x102)), (V{0x55, 0x0C, 0x1B, 0x02, 0x91}));
        QCOMPARE(v(setAddressRequest(0x1A0)), (V{0x55, 0x0C, 0x1B, 0xA0, 0x82}));
        QCOMPARE(v(setAddressRequest(0x300)), (V{0x55, 0x0C, 0x3B, 0x00, 0xEC}));
        QCOMPARE(v(readBlockRequest(0x102)), (V{0x55, 0x0C, 0x14, 0x02, 0x89}));
        QCOMPARE(v(readBlockRequest(0x300)), (V{0x55, 0x0C, 0x34, 0x00, 0xF4}));
        QCOMPARE(v(writeDataRequest(0xFF)), (V{0x55, 0x0C, 0x03, 0xFF, 0x82}));
        QCOMPARE(v(startModemRequest()), (V{0x55, 0x0C, 0x0A, 0x00, 0x05}));
        QCOMPARE(v(readClockRequest()), (V{0x55, 0x0C, 0x02, 0x00, 0x73}));
    }

    void q71Frames() {
        QCOMPARE(v(q71Header(LinkOperation::WriteQ71)), (V{0x55, 0x55, 0x01, 0x00, 0xD3}));
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

    void modemStateTexts() {
        const int serial[] = {1569, 1568, 1276, 1567, 1566, 1533};
        const int usb[] = {1569, 1568, 1276, 1567, 1532, 1533};
        for (int state = 1; state <= 6; ++state) {
            const V r{0xAA, 0x13, 0, std::uint8_t(state), 0, 0};
            QCOMPARE(modemStateMessage(LinkKind::Serial, r), serial[state - 1]);
            QCOMPARE(modemStateMessage(LinkKind::Usb, r), usb[state - 1]);
        }
        QCOMPARE(modemStateMessage(LinkKind::Serial, V{0xAA, 0x13, 0, 7, 0, 0}), 0);
        QCOMPARE(modemStateMessage(LinkKind::Serial, V{0xAA, 0x13, 0, 0, 0, 0}), 0);
        QCOMPARE(modemStateMessage(LinkKind::Serial, V(6, 0)), 1533);
        QCOMPARE(modemStateMessage(LinkKind::Usb, V(6, 0)), 1534);
    }

    void statusTexts() {
        struct Row {
            LinkStatus status;
            int bar;
            int box;
        };
        const Row rows[] = {
            {LinkStatus::NoAnswerAtConnect, 1025, 1025}, {LinkStatus::Q71Refused, 1027, 0},
            {LinkStatus::ByteNotReceived, 1029, 0},      {LinkStatus::ConnectAttempt, 1030, 0},
            {LinkStatus::Q72Identified, 1578, 0},        {LinkStatus::WriteCompleted, 1039, 0},
            {LinkStatus::ReadCompleted, 1040, 0},        {LinkStatus::ConnectCancelled, 1042, 0},
            {LinkStatus::ModemFailed, 1581, 0},          {LinkStatus::ModemStarted, 1583, 0},
            {LinkStatus::Q72NoAnswer, 1586, 1587},       {LinkStatus::VerifyFailed, 1588, 1589},
            {LinkStatus::ClockNotRead, 1590, 1591},      {LinkStatus::Q71Identified, 1592, 0}};
        for (const Row &row : rows) {
            const StatusDisplay d = statusDisplay(row.status, LinkKind::Serial);
            QCOMPARE(d.barMessage, row.bar);
            QCOMPARE(d.boxMessage, row.box);
            QVERIFY(!d.boxFixedText && !d.barFixedText);
            QCOMPARE(d.barFormatsArgument, row.status == LinkStatus::ConnectAttempt);
        }
        // Over USB, 21 and 22 show fixed Russian boxes in every language.
        const StatusDisplay verify = statusDisplay(LinkStatus::VerifyFailed, LinkKind::Usb);
        QCOMPARE(verify.barMessage, 1588);
        QCOMPARE(verify.boxMessage, 0);
        QCOMPARE(
            QString::fromUtf8(verify.boxFixedText),
            QStringLiteral("Ошибка при контрольном считывании записанной информации. Запишите "
                           "конфигурацию в файл, устраните причину, повторите попытку записи в "
                           "прибор! "));
        const StatusDisplay clock = statusDisplay(LinkStatus::ClockNotRead, LinkKind::Usb);
        QCOMPARE(clock.barMessage, 1590);
        QCOMPARE(QString::fromUtf8(clock.boxFixedText),
                 QStringLiteral("Ошибка установки времени в модем. Связь с ПК прервана. Установите "
                                "связь и заново запустите модем."));
        QCOMPARE(statusDisplay(LinkStatus::Q72NoAnswer, LinkKind::Usb).boxMessage, 1587);
        const StatusDisplay year =
            statusDisplay(LinkStatus::ClockYearUnsupported, LinkKind::Serial);
        QVERIFY(year.barFixedText && year.boxFixedText);
    }

    void buttonTable() {
        using B = ButtonStates;
        const auto off = false;
        const auto on = true;
        const auto keep = std::nullopt;
        QCOMPARE(buttonStates(ButtonEvent::ConnectFailed), (B{on, off, off, off, keep, on, on}));
        QCOMPARE(buttonStates(ButtonEvent::LinkFailed), (B{on, off, off, off, keep, on, keep}));
        QCOMPARE(buttonStates(ButtonEvent::ClockFailed), (B{on, off, off, off, off, on, keep}));
        QCOMPARE(buttonStates(ButtonEvent::Q72Finished), (B{keep, keep, on, on, on, keep, keep}));
        QCOMPARE(buttonStates(ButtonEvent::Q71Finished), (B{keep, on, on, on, keep, keep, keep}));
        QCOMPARE(buttonStates(ButtonEvent::CancelOnly),
                 (B{keep, on, keep, keep, keep, keep, keep}));
        QCOMPARE(linkReadyStates(DeviceModel::Q72), (B{off, on, on, on, on, keep, keep}));
        QCOMPARE(linkReadyStates(DeviceModel::Q71), (B{off, on, on, on, off, keep, keep}));
    }
};

QTEST_APPLESS_MAIN(TestLinkFrames)
#include "tst_linkframes.moc"
