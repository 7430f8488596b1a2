// The device commands of the main window against an in-process device: identification, the read
// chained to a connect, writes with the language byte, Run modem, every failure's texts and
// button states, Cancel at any moment and closing the window during a transfer.
#include "app/linkworker.h"
#include "app/mainform.h"
#include "image/codec.h"
#include "image/presets.h"
#include "lang/ini.h"
#include "simlinkfactory.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace q7x;
using link::ButtonEvent;
using test::SimLinkFactory;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// The enabled state of Connect, Cancel, Write, Read, Run modem, port list and Mode, as "10110.."
QString buttons(const app::TMainForm &w) {
    QString s;
    for (const QWidget *b :
         {static_cast<const QWidget *>(w.ConnectButton),
          static_cast<const QWidget *>(w.CancelButton), static_cast<const QWidget *>(w.WriteButton),
          static_cast<const QWidget *>(w.ReadButton),
          static_cast<const QWidget *>(w.RunModemButton),
          static_cast<const QWidget *>(w.PortNumber), static_cast<const QWidget *>(w.Mode)})
        s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

// Connect, Cancel, Write, Read, Run modem, port list, Mode after a Cancel.
const QString CancelRow = QStringLiteral("1000011");

// A window on line over the COM port, with an in-process device behind every port it opens.
struct Bench {
    pages::RecordingDialogs dialogs;
    std::unique_ptr<app::TMainForm> window = std::make_unique<app::TMainForm>(&dialogs);
    app::TMainForm &w = *window;
    SimLinkFactory *sim = nullptr;

    explicit Bench(sim::Model model = sim::Model::Q72) {
        auto factory = std::make_unique<SimLinkFactory>();
        sim = factory.get();
        sim->model = model;
        // A factory configuration, so that the decoder finds nothing to complain about.
        const image::ConfigImage preset =
            image::presetImage(model == sim::Model::Q71 ? pages::ModelQ71 : pages::ModelQ72, 1);
        sim->initialImage.assign(preset.begin(), preset.end());
        w.setLinkFactory(std::move(factory));
        w.show();
        test::fillMessageTable();
        w.Mode->setItemIndex(2);
        w.WorkMode(w.Mode);
        w.COM->setChecked(true);
        dialogs.clear();
    }
    sim::DeviceSim &device() { return sim->last->device; }
    // Waits until no worker is left (a chained read counts as part of its connect).
    bool settle(int ms = 20000) {
        QDeadlineTimer deadline(ms);
        QTimer tick; // wakes the wait below to look at the deadline
        tick.start(50);
        while (w.liveWorkers() > 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        return w.liveWorkers() == 0;
    }
    bool connect() {
        w.ConnectButtonClick(w.ConnectButton);
        return settle();
    }
};

} // namespace

class TestDeviceCommands : public QObject {
    Q_OBJECT
  private slots:
    void init() { QFile::remove(lang::IniPath()); }
    void cleanup() { QFile::remove(lang::IniPath()); }

    void connectQ72_identifiesAndChainsRead();
    void connectQ71_adaptsWindowAndChainsRead_thenQ72AdaptsBack();
    void portMappingAndOpenFailure();
    void usbChosen_reportsNoConverterOnEveryClick();
    void silentDevice_failsAfterTenAttempts();
    void writeQ72_sendsEncodedImageWithLanguageNibble();
    void writeQ71_setsLanguageByte();
    void writeWithEncoderError_sendsNothing();
    void runModem_setsClockAndShowsIt();
    void runModem_stateTextAfterFailure();
    void readAndWriteFailures_showTextsAndCloseThePort();
    void q71Faults_showTexts();
    void buttonEvents_changeOnlyTheirControls();
    void cancelAfterConnect_namesModelAndHidesIdentification();
    void cancel_doesNotWaitForABlockedWorker();
    void cancelAtRandomMoments_alwaysEndsCleanly();
    void closingWindowDuringTransfer_endsWorker();
};

void TestDeviceCommands::connectQ72_identifiesAndChainsRead() {
    Bench b;
    const image::ConfigImage preset = image::presetImage(pages::ModelQ72, 3);
    b.sim->initialImage.assign(preset.begin(), preset.end());
    b.sim->setup = [](sim::DeviceSim &d) {
        d.faults.answerOnAttempt = 10; // identified on the tenth and last attempt
    };
    QVERIFY(b.connect());
    QCOMPARE(b.w.statusText(), S("M1040"));
    QCOMPARE(b.w.DeviceModel, pages::ModelQ72);
    QCOMPARE(b.w.VersionLabel->caption(), S("M1003 1_3"));
    QVERIFY(!b.w.VersionLabel->isHidden());
    QCOMPARE(b.w.Label1->caption(), S("M1044 M1237"));
    QVERIFY(!b.w.Label1->isHidden());
    // Link ready, then the read finished: Mode and the port list stay locked while connected.
    QCOMPARE(buttons(b.w), S("0111100"));
    QCOMPARE(b.w.pb1->value(), 0);
    QVERIFY(b.w.PortHandle);
    QCOMPARE(b.w.PendingOperation, link::LinkOperation::ReadQ72);
    QVERIFY(b.dialogs.shown.isEmpty());
    // The whole image was read: 128 block requests after the connect.
    int reads = 0;
    for (const sim::TraceEvent &e : b.sim->last->transport.trace)
        if (e.kind == sim::TraceEvent::Kind::Send && e.bytes.size() == 5 &&
            (e.bytes[2] & 0x0F) == 4)
            ++reads;
    QCOMPARE(reads, 128);

    // The read image went to the decoder: the window shows what a window decoding the device's
    // image shows. Device bytes 0x1A0 and 0x1A1 arrive twice, the second time over image bytes
    // 416 and 417.
    image::ConfigImage read{};
    std::copy_n(preset.begin(), 512, read.begin());
    read[414] = preset[416];
    read[415] = preset[417];
    pages::RecordingDialogs refDialogs;
    app::TMainForm reference(&refDialogs);
    reference.show();
    image::DecodeImageQ72(reference, read);
    QCOMPARE(b.w.WorkModeComboBox->itemIndex(), reference.WorkModeComboBox->itemIndex());
    QVERIFY(image::EncodeImageQ72(b.w).image == image::EncodeImageQ72(reference).image);
}

void TestDeviceCommands::connectQ71_adaptsWindowAndChainsRead_thenQ72AdaptsBack() {
    Bench b(sim::Model::Q71);
    const auto &c = b.w.controls();
    QVERIFY(b.connect());
    QCOMPARE(b.w.statusText(), S("M1040"));
    QCOMPARE(b.w.DeviceModel, pages::ModelQ71);
    QCOMPARE(b.w.Label1->caption(), S("M1044 M1238"));
    QCOMPARE(b.w.VersionLabel->caption(), S("Версия ПО прибора:41_x"));
    // Q71 read finished: Cancel, Write, Read on; Run modem stays off for this model.
    QCOMPARE(buttons(b.w), S("0111000"));
    for (const char *shown : {"Panel7", "Label268", "Panel30", "Panel31", "Panel32",
                              "PanelAttention", "Panel33", "LinePhone8", "TypeMesgLine1"})
        QVERIFY2(!c.widget(S(shown))->isHidden(), shown);
    for (const char *hidden :
         {"SMSphone", "PinCode", "Panel5", "Label219", "Panel4", "Panel13", "Panel15", "Label51",
          "Label3", "PhoneNumber8", "TypeMesgGSM1", "SMS1"})
        QVERIFY2(c.widget(S(hidden))->isHidden(), hidden);
    QCOMPARE(c.combo(S("SMS8"))->itemIndex(), 1);
    QVERIFY(!c.get<pages::TabSheet>(S("TabSheet3"))->tabVisible());
    QVERIFY(c.get<pages::TabSheet>(S("TabSheet12"))->tabVisible());
    QVERIFY(!c.widget(S("Label93"))->isHidden());
    QCOMPARE(c.widget(S("Label93"))->x(), 6);
    // The Q71 object lists run to 9999.
    QCOMPARE(c.combo(S("ObjNmb1"))->count(), 10000);

    b.w.CanlButtonClick(b.w.CancelButton);
    QCOMPARE(b.w.statusText(), S("M1042 M1238"));
    b.sim->model = sim::Model::Q72;
    QVERIFY(b.connect());
    QCOMPARE(b.w.DeviceModel, pages::ModelQ72);
    for (const char *shown : {"SMSphone", "PinCode", "Panel5", "Label219", "Panel4", "Label51",
                              "PhoneNumber8", "TypeMesgGSM1", "SMS1"})
        QVERIFY2(!c.widget(S(shown))->isHidden(), shown);
    for (const char *hidden : {"Panel7", "Label268", "Panel30", "PanelAttention", "Panel33",
                               "LinePhone8", "TypeMesgLine1"})
        QVERIFY2(c.widget(S(hidden))->isHidden(), hidden);
    QVERIFY(c.widget(S("Label219"))->isEnabled());
    QVERIFY(c.get<pages::TabSheet>(S("TabSheet3"))->tabVisible());
    QVERIFY(!c.get<pages::TabSheet>(S("TabSheet12"))->tabVisible());
    QCOMPARE(buttons(b.w), S("0111100"));
}

void TestDeviceCommands::portMappingAndOpenFailure() {
    Bench b;
    QVERIFY(lang::WriteIniValue(S("Ports"), S("COM3"), S("/tmp/q7x-sim-com3")));
    b.w.PortNumber->setItemIndex(2);
    b.sim->refuse = true;
    b.w.ConnectButtonClick(b.w.ConnectButton);
    QCOMPARE(b.sim->opened.size(), 1);
    QCOMPARE(b.sim->opened[0].first, 3);
    QCOMPARE(b.sim->opened[0].second, S("/tmp/q7x-sim-com3"));
    QCOMPARE(b.dialogs.texts(), QStringList{S("M1095 3")});
    QCOMPARE(buttons(b.w), S("1000011"));
    QVERIFY(b.w.PortOk); // the next Connect tries again
    QCOMPARE(b.w.liveWorkers(), 0);

    // An unmapped port is opened by its own name.
    b.sim->refuse = false;
    b.w.PortNumber->setItemIndex(9);
    QVERIFY(b.connect());
    QCOMPARE(b.sim->opened[1].first, 10);
    QCOMPARE(b.sim->opened[1].second, QString());
}

void TestDeviceCommands::usbChosen_reportsNoConverterOnEveryClick() {
    Bench b;
    b.w.USB->setChecked(true);
    for (int click = 1; click <= 2; ++click) {
        b.w.ConnectButtonClick(b.w.ConnectButton);
        QCOMPARE(b.dialogs.texts().size(), click);
        QCOMPARE(b.dialogs.shown.last().text, S("M1535"));
        QCOMPARE(b.w.statusText(), S("M1535"));
        QVERIFY(b.w.UsbOk);
        // Connect, Cancel, Write, Read, -, the port list stays off with USB chosen, Mode on.
        QCOMPARE(buttons(b.w), S("1000001"));
    }
    QVERIFY(b.sim->opened.isEmpty());
    QCOMPARE(b.w.liveWorkers(), 0);
}

void TestDeviceCommands::silentDevice_failsAfterTenAttempts() {
    Bench b;
    b.sim->setup = [](sim::DeviceSim &d) { d.faults.silent = true; };
    QVERIFY(b.connect());
    QCOMPARE(b.w.statusText(), S("M1025"));
    QCOMPARE(b.dialogs.texts(), QStringList{S("M1025")});
    QCOMPARE(buttons(b.w), S("1000011"));
    QVERIFY(!b.w.PortHandle);
    QCOMPARE(b.sim->last.use_count(), 1L); // nobody holds the port any more
    int probes = 0;
    for (const sim::TraceEvent &e : b.sim->last->transport.trace)
        probes += e.kind == sim::TraceEvent::Kind::Send && e.bytes.size() == 4;
    QCOMPARE(probes, 10);
}

void TestDeviceCommands::writeQ72_sendsEncodedImageWithLanguageNibble() {
    Bench b;
    QVERIFY(b.connect());
    QVERIFY(lang::WriteIniValue(S("Lang"), S("Default"), S("English")));
    b.w.WriteButtonClick(b.w.WriteButton);
    QCOMPARE(b.w.PendingOperation, link::LinkOperation::WriteQ72);
    QCOMPARE(b.w.statusText(), S("M1005"));
    QCOMPARE(buttons(b.w).mid(2, 3), S("000"));
    QVERIFY(b.w.Interactive);
    QVERIFY(b.settle());
    QCOMPARE(b.w.statusText(), S("M1039"));
    QCOMPARE(buttons(b.w), S("0111100"));

    image::ConfigImage expected = image::EncodeImageQ72(b.w).image;
    expected[171] = static_cast<std::uint8_t>(expected[171] + 0x10);
    const auto &mem = b.device().memory;
    QVERIFY(std::equal(expected.begin(), expected.begin() + 256, mem.begin()));
    QVERIFY(std::equal(expected.begin() + 256, expected.begin() + 352, mem.begin() + 0x102));
    QVERIFY(std::equal(expected.begin() + 416, expected.begin() + 512, mem.begin() + 0x1A0));
    QVERIFY(
        std::all_of(mem.begin() + 0x300, mem.begin() + 0x400, [](auto x) { return x == 0xFF; }));

    // Turkish adds 0x20 instead; Russian leaves the byte as encoded.
    QVERIFY(lang::WriteIniValue(S("Lang"), S("Default"), S("Turkish")));
    b.w.WriteButtonClick(b.w.WriteButton);
    QVERIFY(b.settle());
    QCOMPARE(int(b.device().memory[171]), (image::EncodeImageQ72(b.w).image[171] + 0x20) & 0xFF);
    QVERIFY(lang::WriteIniValue(S("Lang"), S("Default"), S("Russian")));
    b.w.WriteButtonClick(b.w.WriteButton);
    QVERIFY(b.settle());
    QCOMPARE(b.device().memory[171], image::EncodeImageQ72(b.w).image[171]);
}

void TestDeviceCommands::writeQ71_setsLanguageByte() {
    const struct {
        const char *language;
        int byte264; // -1: as encoded
    } cases[] = {{"Russian", 0}, {"English", 1}, {"Turkish", 2}, {nullptr, -1}};
    Bench b(sim::Model::Q71);
    QVERIFY(b.connect());
    for (const auto &t : cases) {
        if (t.language)
            QVERIFY(lang::WriteIniValue(S("Lang"), S("Default"), S(t.language)));
        else
            QFile::remove(lang::IniPath());
        b.device().q71Image.fill(0xEE);
        b.w.WriteButtonClick(b.w.WriteButton);
        QCOMPARE(b.w.PendingOperation, link::LinkOperation::WriteQ71);
        QVERIFY(b.settle());
        QCOMPARE(b.w.statusText(), S("M1039"));
        QCOMPARE(buttons(b.w), S("0111000"));
        image::ConfigImage expected = image::EncodeImageQ71(b.w).image;
        if (t.byte264 >= 0)
            expected[264] = static_cast<std::uint8_t>(t.byte264);
        QVERIFY2(std::equal(expected.begin(), expected.begin() + 320, b.device().q71Image.begin()),
                 t.language);
    }
}

void TestDeviceCommands::writeWithEncoderError_sendsNothing() {
    Bench b;
    QVERIFY(b.connect());
    QVERIFY(b.dialogs.shown.isEmpty());
    b.w.controls().edit(S("Edit5"))->setText(S("9983")); // no SMS-Blitz code
    const image::Encoded encoded = image::EncodeImageQ72(b.w);
    if (encoded.ok())
        QSKIP("the encoder of this build reports no errors");
    const std::size_t traced = b.sim->last->transport.trace.size();
    b.w.WriteButtonClick(b.w.WriteButton);
    QCOMPARE(b.w.liveWorkers(), 0);
    QCOMPARE(b.sim->last->transport.trace.size(), traced);
    QCOMPARE(b.dialogs.texts(), QStringList{encoded.error});
    QCOMPARE(b.dialogs.shown[0].icon, pages::Dialogs::Icon::Error);
    QCOMPARE(buttons(b.w), S("0111100"));
    QVERIFY(b.w.Interactive);
}

void TestDeviceCommands::runModem_setsClockAndShowsIt() {
    Bench b;
    b.w.pcClock = [] { return QDateTime(QDate(2009, 3, 5), QTime(14, 7, 30)); };
    QVERIFY(b.connect());
    b.w.PageControl1->setActivePageIndex(2);
    b.w.PageControl1Change(b.w.PageControl1);
    const auto &c = b.w.controls();
    QVERIFY(c.get<pages::TabSheet>(S("TabSheet3"))->highlighted());
    b.w.RunModemButtonClick(b.w.RunModemButton);
    QCOMPARE(b.w.statusText(), S("M1536"));
    QCOMPARE(b.w.PageControl1->activePageIndex(), 0);
    QVERIFY(!c.get<pages::TabSheet>(S("TabSheet3"))->highlighted());
    QVERIFY(c.get<pages::TabSheet>(S("TabSheet1"))->highlighted());
    QCOMPARE(buttons(b.w).mid(2, 3), S("000"));
    QVERIFY(b.settle());
    QCOMPARE(b.w.statusText(), S("M1583"));
    QCOMPARE(b.w.DateLabel->caption(), S("05.03.09"));
    QCOMPARE(b.w.TimeLabel->caption(), S("14:07:00"));
    QVERIFY(!b.w.DateLabel->isHidden());
    QVERIFY(!b.w.TimeLabel->isHidden());
    QCOMPARE(buttons(b.w), S("0111100"));
    const sim::SimClock &clock = b.device().clock;
    QCOMPARE(clock.year, 9);
    QCOMPARE(clock.month, 3);
    QCOMPARE(clock.day, 5);
    QCOMPARE(clock.hour, 14);
    QCOMPARE(clock.minute, 7);

    // A PC year the device clock cannot hold ends the start with a clear text, not 30 polls.
    b.w.pcClock = [] { return QDateTime(QDate(2064, 1, 2), QTime(3, 4)); };
    b.dialogs.clear();
    b.w.RunModemButtonClick(b.w.RunModemButton);
    QVERIFY(b.settle());
    QVERIFY(b.w.statusText().contains(S("2063")));
    QCOMPARE(b.dialogs.texts().size(), 1);
    QCOMPARE(buttons(b.w), S("0111100"));
}

void TestDeviceCommands::runModem_stateTextAfterFailure() {
    const struct {
        std::vector<std::uint8_t> states;
        const char *text;
    } cases[] = {{{1}, "M1569"}, {{2}, "M1568"}, {{3}, "M1276"}, {{4}, "M1567"},
                 {{5}, "M1566"}, {{6}, "M1533"}, {{0}, "M1581"}};
    Bench b;
    b.w.pcClock = [] { return QDateTime(QDate(2011, 2, 3), QTime(4, 5)); };
    QVERIFY(b.connect());
    for (const auto &t : cases) {
        b.device().modemStates = t.states;
        b.device().faults.stuckClock = true; // never matches: the state alone ends the run
        b.w.RunModemButtonClick(b.w.RunModemButton);
        QVERIFY(b.settle());
        QCOMPARE(b.w.statusText(), S(t.text));
        QCOMPARE(buttons(b.w), S("0111100"));
        QVERIFY(b.w.PortHandle); // the link stays open
    }
}

void TestDeviceCommands::readAndWriteFailures_showTextsAndCloseThePort() {
    {
        Bench b;
        QVERIFY(b.connect());
        b.device().faults.dropFrom = 20; // a read whose replies stop
        b.device().faults.dropCount = 1000;
        b.w.ReadButtonClick(b.w.ReadButton);
        QVERIFY(b.settle());
        QCOMPARE(b.w.statusText(), S("M1586"));
        QCOMPARE(b.dialogs.texts(), QStringList{S("M1587")});
        QCOMPARE(buttons(b.w), S("1000010"));
        QVERIFY(!b.w.PortHandle);
        QCOMPARE(b.sim->last.use_count(), 1L);
        QCOMPARE(b.w.pb1->value(), 0);
        // With the port closed a Read would find nothing: only a new Connect helps.
        QVERIFY(b.connect());
        QCOMPARE(b.w.statusText(), S("M1040"));
    }
    {
        Bench b;
        QVERIFY(b.connect());
        b.device().faults.mismatchAddress = 0x106;
        b.device().faults.mismatchCount = 21;
        b.w.WriteButtonClick(b.w.WriteButton);
        QVERIFY(b.settle());
        QCOMPARE(b.w.statusText(), S("M1588"));
        QCOMPARE(b.dialogs.texts(), QStringList{S("M1589")});
        QCOMPARE(buttons(b.w), S("1000010"));
        QVERIFY(!b.w.PortHandle);
    }
    {
        // A device that keeps naming another address in its position replies.
        Bench b;
        QVERIFY(b.connect());
        b.device().faults.wrongAddressReply = true;
        b.w.WriteButtonClick(b.w.WriteButton);
        QVERIFY(b.settle());
        QCOMPARE(b.w.statusText(), S("M1586"));
        QCOMPARE(buttons(b.w), S("1000010"));
    }
}

void TestDeviceCommands::q71Faults_showTexts() {
    {
        Bench b(sim::Model::Q71);
        b.sim->setup = [](sim::DeviceSim &d) { d.faults.badQ71CheckByte = true; };
        QVERIFY(b.connect());
        QCOMPARE(b.w.statusText(), S("M1027"));
        QCOMPARE(b.device().pcAcks, std::vector<std::uint8_t>{0xFF});
        QVERIFY(b.w.CancelButton->isEnabled());
        QVERIFY(b.w.PortHandle);
    }
    {
        Bench b(sim::Model::Q71);
        b.sim->setup = [](sim::DeviceSim &d) { d.faults.refuseHeader = true; };
        QVERIFY(b.connect());
        QCOMPARE(b.w.statusText(), S("M1027"));
        QCOMPARE(b.device().q71FramesStored, 0);
    }
}

void TestDeviceCommands::buttonEvents_changeOnlyTheirControls() {
    // Expected states from the button table; '-' leaves the control as it was.
    const struct {
        ButtonEvent event;
        const char *row;
    } rows[] = {{ButtonEvent::ConnectFailed, "1000-11"}, {ButtonEvent::LinkFailed, "1000-1-"},
                {ButtonEvent::ClockFailed, "100001-"},   {ButtonEvent::Q72Finished, "--111--"},
                {ButtonEvent::Q71Finished, "-111---"},   {ButtonEvent::CancelOnly, "-1-----"}};
    Bench b;
    for (const auto &r : rows)
        for (bool before : {false, true}) {
            for (QWidget *w :
                 {static_cast<QWidget *>(b.w.ConnectButton),
                  static_cast<QWidget *>(b.w.CancelButton), static_cast<QWidget *>(b.w.WriteButton),
                  static_cast<QWidget *>(b.w.ReadButton),
                  static_cast<QWidget *>(b.w.RunModemButton),
                  static_cast<QWidget *>(b.w.PortNumber), static_cast<QWidget *>(b.w.Mode)})
                w->setEnabled(before);
            b.w.SetLinkButtons(r.event);
            QString expected = S(r.row);
            expected.replace(QLatin1Char('-'), before ? QLatin1Char('1') : QLatin1Char('0'));
            QCOMPARE(buttons(b.w), expected);
        }
    // Link ready: Run modem only for the GSM model.
    for (int model : {pages::ModelQ71, pages::ModelQ72}) {
        b.w.DeviceModel = model;
        b.w.ConnectButton->setEnabled(true);
        b.w.ShowLinkReady();
        QCOMPARE(buttons(b.w).left(5), model == pages::ModelQ72 ? S("01111") : S("01110"));
    }
}

void TestDeviceCommands::cancelAfterConnect_namesModelAndHidesIdentification() {
    Bench b;
    QVERIFY(b.connect());
    QCOMPARE(b.w.pb1->value(), 0);
    b.w.CanlButtonClick(b.w.CancelButton);
    QCOMPARE(b.w.statusText(), S("M1042 M1237"));
    QVERIFY(b.w.VersionLabel->isHidden());
    QVERIFY(b.w.VersionLabel->caption().isEmpty());
    QVERIFY(b.w.Label1->isHidden());
    QVERIFY(b.w.Label1->caption().isEmpty());
    QCOMPARE(buttons(b.w), CancelRow);
    QVERIFY(!b.w.PortHandle);
    QCOMPARE(b.sim->last.use_count(), 1L); // the idle port closed at once
    QCOMPARE(b.w.DeviceModel, pages::ModelQ72);
    // Cancel with nothing running and nothing open is harmless.
    b.w.CanlButtonClick(b.w.CancelButton);
    QCOMPARE(buttons(b.w), CancelRow);
}

namespace {

// A line whose reads hang until the test lets them go, whatever interrupt() says.
class StuckTransport : public link::Transport {
  public:
    bool send(std::span<const std::uint8_t>) override { return true; }
    link::ReceiveResult receive(std::span<std::uint8_t>) override {
        std::unique_lock lock(m);
        entered = true;
        cv.notify_all();
        cv.wait(lock, [this] { return released; });
        return {0, false};
    }
    void purge() override {}
    void interrupt() override {}
    void release() {
        std::lock_guard lock(m);
        released = true;
        cv.notify_all();
    }
    std::mutex m;
    std::condition_variable cv;
    bool entered = false;
    bool released = false;
};

class StuckFactory : public app::LinkFactory {
  public:
    std::shared_ptr<StuckTransport> transport = std::make_shared<StuckTransport>();
    app::LinkHandle openSerialPort(int, const QString &) override {
        return {transport, std::make_shared<sim::VirtualClock>()};
    }
    int portSettleMs() const override { return 0; }
};

} // namespace

void TestDeviceCommands::cancel_doesNotWaitForABlockedWorker() {
    Bench b;
    auto factory = std::make_unique<StuckFactory>();
    const std::shared_ptr<StuckTransport> line = factory->transport;
    b.w.setLinkFactory(std::move(factory));
    b.w.ConnectButtonClick(b.w.ConnectButton);
    QTRY_VERIFY([&] {
        std::lock_guard lock(line->m);
        return line->entered;
    }());
    // A Cancel that waited for the worker would only return after this watchdog let it go.
    std::atomic<bool> watchdogReleased{false};
    std::thread watchdog([&] {
        std::unique_lock lock(line->m);
        if (!line->cv.wait_for(lock, std::chrono::seconds(5), [&] { return line->released; })) {
            watchdogReleased = true;
            line->released = true;
            line->cv.notify_all();
        }
    });
    b.w.CanlButtonClick(b.w.CancelButton);
    const bool returnedBeforeRelease = !watchdogReleased.load();
    QCOMPARE(buttons(b.w), CancelRow);
    QCOMPARE(b.w.liveWorkers(), 1); // still inside its read
    line->release();
    watchdog.join();
    QVERIFY(returnedBeforeRelease);
    QVERIFY(b.settle());
    QCOMPARE(line.use_count(), 2L); // the factory's and this test's: the worker let go
    QVERIFY(!b.w.PortHandle);
}

void TestDeviceCommands::cancelAtRandomMoments_alwaysEndsCleanly() {
    enum Op { Connect, Read, Write, Modem };
    QRandomGenerator random(20261206);
    Bench q72(sim::Model::Q72);
    Bench q71(sim::Model::Q71);
    for (Bench *b : {&q72, &q71})
        b->w.pcClock = [] { return QDateTime(QDate(2012, 6, 7), QTime(8, 9)); };
    for (int run = 0; run < 200; ++run) {
        const bool gsm = run % 4 != 3;
        Bench &b = gsm ? q72 : q71;
        b.dialogs.clear();
        const Op op = static_cast<Op>(random.bounded(gsm ? 4 : 3));
        if (op != Connect)
            QVERIFY(b.connect());
        const long target = b.sim->steps + random.bounded(op == Write ? 2500 : 700);
        switch (op) {
        case Connect:
            b.w.ConnectButtonClick(b.w.ConnectButton);
            break;
        case Read:
            b.w.ReadButtonClick(b.w.ReadButton);
            break;
        case Write:
            b.w.WriteButtonClick(b.w.WriteButton);
            break;
        case Modem:
            b.w.RunModemButtonClick(b.w.RunModemButton);
            break;
        }
        QTimer tick;
        tick.start(20);
        while (b.sim->steps < target && b.w.liveWorkers() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        b.w.CanlButtonClick(b.w.CancelButton);
        QVERIFY2(b.settle(10000), qPrintable(QString::number(run)));
        QCOMPARE(buttons(b.w), CancelRow);
        QCOMPARE(b.w.pb1->value(), 0);
        QVERIFY(b.w.statusText().startsWith(S("M1042")));
        QVERIFY(!b.w.PortHandle);
        QCOMPARE(b.sim->last.use_count(), 1L);
        QVERIFY(b.dialogs.texts().isEmpty());
        // A new connect opens the port afresh and works.
        if (run % 10 == 0) {
            QVERIFY(b.connect());
            QCOMPARE(b.w.statusText(), S("M1040"));
            b.w.CanlButtonClick(b.w.CancelButton);
        }
    }
}

void TestDeviceCommands::closingWindowDuringTransfer_endsWorker() {
    QRandomGenerator random(7);
    for (int run = 0; run < 20; ++run) {
        Bench b;
        QVERIFY(b.connect());
        const std::weak_ptr<sim::SimLink> link = b.sim->last;
        const long target = b.sim->steps + random.bounded(2000);
        if (run % 2)
            b.w.WriteButtonClick(b.w.WriteButton);
        else
            b.w.ReadButtonClick(b.w.ReadButton);
        QTimer tick;
        tick.start(20);
        while (b.sim->steps < target && b.w.liveWorkers() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (run % 4 < 2)
            b.w.close();
        b.window.reset();
        b.sim = nullptr;
        // The window's factory is gone with it; the worker let go of the link before that.
        QVERIFY(link.expired());
        QCoreApplication::processEvents();
    }
}

QTEST_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
