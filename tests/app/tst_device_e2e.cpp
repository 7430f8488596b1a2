// The real window and the real COM-port code over a pseudo-terminal served by the q7xsim
// program: what an installer sees with a device on the cable.
#include "lang/ini.h"
#include "windowbench.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace q7x;
using test::S;

using test::Simulator;

namespace {

// A simulated device on a terminal, starting from a factory preset so that a read decodes
// cleanly, and a window on line with "com 1" mapped to that terminal.
struct Rig {
    explicit Rig(sim::Model model = sim::Model::Q72)
        : preset(image::presetImage(
              model == sim::Model::Q71 ? pages::DeviceModel::Q71 : pages::DeviceModel::Q72, 3)),
          sim(dir.path(), simArguments(model)) {
        lang::WriteIniValue(S("Ports"), S("COM1"), sim.link());
    }
    QStringList simArguments(sim::Model model) {
        QFile load(dir.filePath("image"));
        if (load.open(QIODevice::WriteOnly))
            load.write(reinterpret_cast<const char *>(preset.data()), 512);
        return {"--model", model == sim::Model::Q71 ? "q71" : "q72", "--load", load.fileName()};
    }
    QTemporaryDir dir;
    image::ConfigImage preset;
    Simulator sim;
    test::WindowBench bench{test::Transport::Com, nullptr};
    app::TMainForm &w = bench.w;
};

} // namespace

class TestDeviceE2E : public QObject {
    Q_OBJECT
  private slots:
    void init() { QFile::remove(lang::IniPath()); }
    void cleanup() { QFile::remove(lang::IniPath()); }

    void q72_connectReadsValues_runModemSetsClock();
    void reconnectOrRefuseWithReason();
    void cablePulledDuringQ71Write_endsWithStatus();
};

void TestDeviceE2E::q72_connectReadsValues_runModemSetsClock() {
    Rig r;
    QVERIFY(r.sim.serving());
    QVERIFY(r.bench.connect(30000));
    QCOMPARE(r.w.statusText(), S("M1040"));
    QCOMPARE(r.w.mainPage().VersionLabel->caption(), S("M1003 1_3"));
    QCOMPARE(r.w.mainPage().Label1->caption(), S("M1044 M1237"));
    QVERIFY(r.bench.dialogs.shown.isEmpty());
    QVERIFY(r.w.encodeImage().image == test::encodedAfterQ72Read(r.preset));

    r.w.pcClock = [] { return QDateTime(QDate(2011, 3, 5), QTime(14, 7, 12)); };
    r.w.RunModemButtonClick(r.w.RunModemButton);
    QVERIFY(r.bench.settle(60000));
    QCOMPARE(r.w.statusText(), S("M1583"));
    QCOMPARE(r.w.mainPage().DateLabel->caption(), S("05.03.11"));
    QCOMPARE(r.w.mainPage().TimeLabel->caption(), S("14:07:00"));
    QCOMPARE(r.sim.line("clock"), QByteArray("11 03 05 14 07"));
    QVERIFY(r.w.RunModemButton->isEnabled());
}

// Connect, Cancel, Connect and Read as the same user; a port another program holds, one without
// permission and a missing [Ports] target each name the device tried and why it failed.
void TestDeviceE2E::reconnectOrRefuseWithReason() {
    Rig r;
    QVERIFY(r.sim.serving());
    QVERIFY(r.bench.connect(30000));
    r.w.CanlButtonClick(r.w.CancelButton);
    QVERIFY(r.bench.connect(30000));
    r.w.ReadButtonClick(r.w.ReadButton);
    QVERIFY(r.bench.settle(30000));
    QCOMPARE(r.bench.dialogs.texts(), QStringList());
    QCOMPARE(r.w.statusText(), S("M1040"));
    r.w.CanlButtonClick(r.w.CancelButton);

    // The message box and the buttons after a Connect that cannot open the port.
    const auto refusal = [&r] {
        r.bench.dialogs.clear();
        r.w.ConnectButtonClick(r.w.ConnectButton);
        return r.bench.dialogs.texts().join('|') + S(" / ") + test::buttons(r.w);
    };
    QProcess holder; // a terminal program that locks the port
    holder.start(S("flock"), {S("--nonblock"), S("--close"), r.sim.link(), S("cat")});
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const int fd = ::open(r.sim.path().c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
            const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
            ::close(fd);
            return held;
        }(),
        5000);
    QCOMPARE(refusal(), S("M1095 1\nM1600 %1\nM1605\nM1606 / 1000011").arg(r.sim.link()));
    holder.closeWriteChannel(); // the program ends and lets go of the port
    QVERIFY(holder.waitForFinished(5000));
    if (::geteuid() != 0) { // root opens any device
        QVERIFY(::chmod(r.sim.path().c_str(), 0) == 0);
        QCOMPARE(refusal(), S("M1095 1\nM1600 %1\nM1603\nM1604 / 1000011").arg(r.sim.link()));
    }
    const QString missing = r.dir.filePath("missing");
    QVERIFY(lang::WriteIniValue(S("Ports"), S("COM1"), missing));
    QCOMPARE(refusal(), S("M1095 1\nM1600 %1\nM1601\nM1602 / 1000011").arg(missing));
}

// The cable pulled while the Q71 frame goes out: the write ends with the no-answer texts, the
// buttons of a lost link and the port closed.
void TestDeviceE2E::cablePulledDuringQ71Write_endsWithStatus() {
    Rig r(sim::Model::Q71);
    QVERIFY(r.sim.serving());
    QVERIFY(r.bench.connect(30000));
    QCOMPARE(r.w.statusText(), S("M1040"));
    r.w.WriteButtonClick(r.w.WriteButton);
    QTRY_VERIFY_WITH_TIMEOUT(r.w.pb1->value() >= 10, 10000);
    r.sim.stop();
    QVERIFY(r.bench.settle(5000));
    QCOMPARE(r.w.statusText(), S("M1586"));
    QCOMPARE(r.bench.dialogs.texts(), QStringList{S("M1587")});
    QCOMPARE(test::buttons(r.w), S("1000010"));
    QCOMPARE(r.w.pb1->value(), 0);
    QVERIFY(!r.w.PortHandle);
}

QTEST_MAIN(TestDeviceE2E)
#include "tst_device_e2e.moc"
