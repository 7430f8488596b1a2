// The real window and the real COM-port code over a pseudo-terminal served by the q7xsim
// program: what an installer sees with a device on the cable.
#include "app/mainform.h"
#include "image/codec.h"
#include "image/presets.h"
#include "lang/ini.h"
#include "simlinkfactory.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <thread>

using namespace q7x;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// A q7xsim process, the path of its terminal and its state dump.
class Simulator {
  public:
    Simulator(const QString &dir, QStringList args) : m_link(dir + "/tty"), m_dump(dir + "/dump") {
        args << "--link" << m_link << "--dump" << m_dump;
        m_process.start(QStringLiteral(Q7XSIM_PATH), args);
        m_process.waitForStarted(5000);
        for (int i = 0; i < 250 && !QFile::exists(m_link); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~Simulator() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString link() const { return m_link; }
    // The bytes listed under the dump line `name`.
    QByteArray section(const QByteArray &name) const {
        QByteArray bytes;
        bool inside = false;
        for (const QByteArray &line : dumpLines()) {
            if (line == name) {
                inside = true;
            } else if (inside) {
                if (line.isEmpty() || !std::isxdigit(static_cast<unsigned char>(line[0])))
                    break;
                bytes += QByteArray::fromHex(line);
            }
        }
        return bytes;
    }
    // The rest of the dump line starting with `word`.
    QByteArray line(const QByteArray &word) const {
        for (const QByteArray &l : dumpLines())
            if (l.startsWith(word + ' '))
                return l.mid(word.size() + 1);
        return {};
    }

  private:
    QList<QByteArray> dumpLines() const {
        QFile f(m_dump);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll().split('\n');
    }
    QString m_link;
    QString m_dump;
    QProcess m_process;
};

// The window on line with "com 1" pointed at the simulator's terminal.
struct Session {
    pages::RecordingDialogs dialogs;
    app::TMainForm w{&dialogs};

    explicit Session(const QString &link) {
        lang::WriteIniValue(S("Ports"), S("COM1"), link);
        w.show();
        test::fillMessageTable();
        w.Mode->setItemIndex(2);
        w.WorkMode(w.Mode);
        w.COM->setChecked(true);
        w.PortNumber->setItemIndex(0);
        dialogs.clear();
    }
    bool settle(int ms) {
        QDeadlineTimer deadline(ms);
        QTimer tick; // wakes the wait below to look at the deadline
        tick.start(50);
        while (w.liveWorkers() > 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        return w.liveWorkers() == 0;
    }
};

} // namespace

class TestDeviceE2E : public QObject {
    Q_OBJECT
  private slots:
    void init() { QFile::remove(lang::IniPath()); }
    void cleanup() { QFile::remove(lang::IniPath()); }

    void q72_connectReadsValues_runModemSetsClock();
    void q71_editedConfigurationIsWritten();
    void silentDevice_givesM1025AfterTenAttempts();
};

void TestDeviceE2E::q72_connectReadsValues_runModemSetsClock() {
    QTemporaryDir dir;
    const image::ConfigImage preset = image::presetImage(pages::ModelQ72, 3);
    QFile load(dir.filePath("image"));
    QVERIFY(load.open(QIODevice::WriteOnly));
    load.write(reinterpret_cast<const char *>(preset.data()), 512);
    load.close();
    Simulator sim(dir.path(), {"--model", "q72", "--load", dir.filePath("image")});
    QVERIFY(QFile::exists(sim.link()));

    Session s(sim.link());
    s.w.ConnectButtonClick(s.w.ConnectButton);
    QVERIFY(s.settle(30000));
    QCOMPARE(s.w.statusText(), S("M1040"));
    QCOMPARE(s.w.VersionLabel->caption(), S("M1003 1_3"));
    QCOMPARE(s.w.Label1->caption(), S("M1044 M1237"));
    QVERIFY(s.dialogs.shown.isEmpty());

    // The window shows what a window decoding the device's image shows. Device bytes 0x1A0 and
    // 0x1A1 arrive twice, the second time over image bytes 416 and 417.
    image::ConfigImage read{};
    std::copy_n(preset.begin(), 512, read.begin());
    read[414] = preset[416];
    read[415] = preset[417];
    pages::RecordingDialogs refDialogs;
    app::TMainForm reference(&refDialogs);
    reference.show();
    image::DecodeImageQ72(reference, read);
    QCOMPARE(s.w.WorkModeComboBox->itemIndex(), reference.WorkModeComboBox->itemIndex());
    QVERIFY(image::EncodeImageQ72(s.w).image == image::EncodeImageQ72(reference).image);

    s.w.pcClock = [] { return QDateTime(QDate(2009, 3, 5), QTime(14, 7, 12)); };
    s.w.RunModemButtonClick(s.w.RunModemButton);
    QVERIFY(s.settle(60000));
    QCOMPARE(s.w.statusText(), S("M1583"));
    QCOMPARE(s.w.DateLabel->caption(), S("05.03.09"));
    QCOMPARE(s.w.TimeLabel->caption(), S("14:07:00"));
    QCOMPARE(sim.line("clock"), QByteArray("09 03 05 14 07"));
    QVERIFY(s.w.RunModemButton->isEnabled());
}

void TestDeviceE2E::q71_editedConfigurationIsWritten() {
    QTemporaryDir dir;
    const image::ConfigImage preset = image::presetImage(pages::ModelQ71, 1);
    QFile load(dir.filePath("image"));
    QVERIFY(load.open(QIODevice::WriteOnly));
    load.write(reinterpret_cast<const char *>(preset.data()), 320);
    load.close();
    Simulator sim(dir.path(), {"--model", "q71", "--load", dir.filePath("image")});
    QVERIFY(lang::WriteIniValue(S("Lang"), S("Default"), S("English")));
    Session s(sim.link());
    s.w.ConnectButtonClick(s.w.ConnectButton);
    QVERIFY(s.settle(30000));
    QCOMPARE(s.w.statusText(), S("M1040"));
    QCOMPARE(s.w.DeviceModel, pages::ModelQ71);
    QVERIFY(s.dialogs.shown.isEmpty());

    pages::ComboBox *pause = s.w.controls().combo(S("PauseInterval1"));
    pause->setItemIndex((pause->itemIndex() + 1) % pause->count());
    s.w.WriteButtonClick(s.w.WriteButton);
    QVERIFY(s.settle(30000));
    QCOMPARE(s.w.statusText(), S("M1039"));
    image::ConfigImage expected = image::EncodeImageQ71(s.w).image;
    expected[264] = 1; // English
    const QByteArray stored = sim.section("image");
    QCOMPARE(stored.size(), 320);
    QVERIFY(std::equal(expected.begin(), expected.begin() + 320,
                       reinterpret_cast<const std::uint8_t *>(stored.constData())));
}

void TestDeviceE2E::silentDevice_givesM1025AfterTenAttempts() {
    QTemporaryDir dir;
    Simulator sim(dir.path(), {"--model", "q72", "--silent"});
    Session s(sim.link());
    s.w.ConnectButtonClick(s.w.ConnectButton);
    QCOMPARE(s.w.CancelButton->isEnabled(), true);
    QVERIFY(s.settle(60000));
    QCOMPARE(s.w.statusText(), S("M1025"));
    QCOMPARE(s.dialogs.texts(), QStringList{S("M1025")});
    QVERIFY(s.w.ConnectButton->isEnabled());
    QVERIFY(!s.w.CancelButton->isEnabled());
    QVERIFY(s.w.PortNumber->isEnabled());
    QVERIFY(!s.w.PortHandle);
}

QTEST_MAIN(TestDeviceE2E)
#include "tst_device_e2e.moc"
