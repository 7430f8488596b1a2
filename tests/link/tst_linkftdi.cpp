// The libftdi1 backend on a machine without a converter: opening fails cleanly and the link
// built on it behaves as with no converter; calls with handles it never gave out are refused.
#include <QtTest>

#include "link/d2xx.h"
#include "link/usbdevice.h"
#include "link/usbtransport.h"

using namespace q7x::link;

class TestLinkFtdi : public QObject {
    Q_OBJECT
  private slots:
    void noConverter() {
        const std::unique_ptr<D2xx> d2xx = makeSystemD2xx();
        FtHandle handle = reinterpret_cast<FtHandle>(1);
        const FtStatus status = d2xx->FT_Open(0, &handle);
        if (status == FtOk) {
            d2xx->FT_Close(handle);
            QSKIP("an FTDI converter is plugged into this machine");
        }
        QVERIFY(handle == nullptr);
        QVERIFY(status == FtDeviceNotFound || status == FtDeviceNotOpened);

        // The window's helper reports no converter (UsbOk false), and trying again is fine.
        for (int i = 0; i < 2; ++i) {
            const UsbOpenResult r = OpenUsbDevice(*d2xx);
            QVERIFY(!r.usbOk());
            QVERIFY(r.lastStatus != FtOk);
        }
        // A worker over the closed handle fails its transfers like a silent device.
        UsbTransport transport(nullptr);
        const std::uint8_t probe[4] = {0x55, 0x55, 0xAA, 0xAA};
        QVERIFY(!transport.send(probe));
        std::uint8_t answer[4];
        QVERIFY(!transport.receive(answer).ok);
    }

    void foreignHandlesAreRefused() {
        const std::unique_ptr<D2xx> d2xx = makeSystemD2xx();
        int notADevice = 0;
        for (FtHandle h : {FtHandle(nullptr), FtHandle(&notADevice)}) {
            std::uint8_t buffer[6] = {};
            std::uint32_t n = 77;
            QCOMPARE(d2xx->FT_Read(h, buffer, 6, &n), FtInvalidHandle);
            QCOMPARE(n, 0u);
            n = 77;
            QCOMPARE(d2xx->FT_Write(h, buffer, 6, &n), FtInvalidHandle);
            QCOMPARE(n, 0u);
            QCOMPARE(d2xx->FT_Purge(h, FtPurgeRx | FtPurgeTx), FtInvalidHandle);
            QCOMPARE(d2xx->FT_SetBaudRate(h, 1200), FtInvalidHandle);
            QCOMPARE(d2xx->FT_ResetDevice(h), FtInvalidHandle);
            QCOMPARE(d2xx->FT_SetDataCharacteristics(h, 8, 0, 0), FtInvalidHandle);
            QCOMPARE(d2xx->FT_SetTimeouts(h, 100, 100), FtInvalidHandle);
            QCOMPARE(d2xx->FT_Close(h), FtInvalidHandle);
        }
        QCOMPARE(d2xx->FT_Open(0, nullptr), FtInvalidParameter);
    }
};

QTEST_APPLESS_MAIN(TestLinkFtdi)
#include "tst_linkftdi.moc"
