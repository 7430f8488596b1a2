// The real window and the real COM-port code over a pseudo-terminal served by the q7xsim
// program: what an installer sees with a device on the cable.
#include "lang/ini.h"
#include "windowbench.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace q7x;
using test::S;

using test::Simulator;

class TestDeviceE2E : public QObject {
    Q_OBJECT
  private slots:
    void init() { QFile::remove(lang::IniPath()); }
    void cleanup() { QFile::remove(lang::IniPath()); }

    void q72_connectReadsValues_runModemSetsClock();
};

void TestDeviceE2E::q72_connectReadsValues_runModemSetsClock() {
    QTemporaryDir dir;
    const image::ConfigImage preset = image::presetImage(pages::ModelQ72, 3);
    QFile load(dir.filePath("image"));
    QVERIFY(load.open(QIODevice::WriteOnly));
    QCOMPARE(load.write(reinterpret_cast<const char *>(preset.data()), 512), 512);
    load.close();
    Simulator sim(dir.path(), {"--model", "q72", "--load", load.fileName()});
    QVERIFY(QFile::exists(sim.link()));

    // The window on line with "com 1" pointed at the simulator's terminal.
    test::WindowBench s(test::Transport::Com, nullptr);
    QVERIFY(lang::WriteIniValue(S("Ports"), S("COM1"), sim.link()));
    QVERIFY(s.connect(30000));
    QCOMPARE(s.w.statusText(), S("M1040"));
    QCOMPARE(s.w.VersionLabel->caption(), S("M1003 1_3"));
    QCOMPARE(s.w.Label1->caption(), S("M1044 M1237"));
    QVERIFY(s.dialogs.shown.isEmpty());
    QVERIFY(image::EncodeImageQ72(s.w).image == test::encodedAfterQ72Read(preset));

    s.w.pcClock = [] { return QDateTime(QDate(2011, 3, 5), QTime(14, 7, 12)); };
    s.w.RunModemButtonClick(s.w.RunModemButton);
    QVERIFY(s.settle(60000));
    QCOMPARE(s.w.statusText(), S("M1583"));
    QCOMPARE(s.w.DateLabel->caption(), S("05.03.11"));
    QCOMPARE(s.w.TimeLabel->caption(), S("14:07:00"));
    QCOMPARE(sim.line("clock"), QByteArray("11 03 05 14 07"));
    QVERIFY(s.w.RunModemButton->isEnabled());
}

QTEST_MAIN(TestDeviceE2E)
#include "tst_device_e2e.moc"
