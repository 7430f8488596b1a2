// The device commands of the main window: link choice, Connect, Cancel, Read, Write and Run
// modem, the window routines the link workers run, and the workers' life cycle.
#include "app/linkdisplay.h"
#include "app/linkworker.h"
#include "app/mainform.h"
#include "pages/buildutil.h"

#include "lang/ini.h"
#include "lang/messagetable.h"
#include "link/usbtransport.h"

#include <QCloseEvent>
#include <QThread>

#include <algorithm>

namespace q7x::app {

using link::ButtonEvent;

using link::LinkKind;
using link::LinkOperation;
using link::LinkStatus;
using pages::Dialogs;

namespace {

using pages::build::S;

// The reason and remedy lines of a port or converter that would not open.
QStringList openFailureLines(const OpenFailureTexts &t, const QString &detail = {}) {
    QStringList lines;
    if (t.reason)
        lines << (t.reasonFormatsDetail ? lang::FormatM(t.reason, detail) : lang::M(t.reason));
    if (t.remedy)
        lines << lang::M(t.remedy);
    return lines;
}

void enable(QWidget *w, const std::optional<bool> &on) {
    if (on)
        w->setEnabled(*on);
}

} // namespace

// ---- links and workers ---------------------------------------------------------------------

void TMainForm::setLinkFactory(std::unique_ptr<LinkFactory> factory) {
    // An open converter belongs to the old factory's driver: close it before that driver goes.
    closeUsbDevice();
    m_linkFactory = std::move(factory);
}

LinkFactory &TMainForm::linkFactory() {
    if (!m_linkFactory)
        m_linkFactory = makeSystemLinkFactory();
    return *m_linkFactory;
}

int TMainForm::liveWorkers() const {
    return static_cast<int>(std::count_if(m_workers.begin(), m_workers.end(),
                                          [](const auto &w) { return !w.isNull(); }));
}

void TMainForm::OpenSerialPort() {
    const int number = PortNumber->itemIndex() + 1;
    const QString path =
        lang::ReadIniValue(S("Ports"), S("COM") + QString::number(number), QString());
    link::PortError error;
    PortHandle = linkFactory().openSerialPort(number, path, error);
    if (!PortHandle) {
        PortHandle = {};
        QStringList lines{lang::FormatM(1095, number)};
        if (!error.device.empty())
            lines << lang::FormatM(1600, QString::fromStdString(error.device));
        lines << openFailureLines(portFailureTexts(error.failure),
                                  QString::fromStdString(error.detail));
        dialogs().message(lines.join(QLatin1Char('\n')), QString(), Dialogs::Icon::Warning);
        PortOk = false;
    }
}

void TMainForm::StartSerialConnect() {
    PortHandle = {};
    OpenSerialPort();
    if (!PortOk) {
        ConnectButton->setEnabled(true);
        CancelButton->setEnabled(false);
        return;
    }
    startWorker(LinkOperation::Connect, {}, linkFactory().portSettleMs());
}

// Opens converter 0 and sets it up for the link; UsbOk tells whether a converter was found.
void TMainForm::OpenUsbDevice() {
    const link::UsbOpenResult r = link::OpenUsbDevice(linkFactory().usbDriver());
    UsbHandle = r.handle;
    UsbOk = r.usbOk();
    m_usbOpenStatus = r.lastStatus;
}

// Lets go of the converter: purge and close now, or, when a worker's transfer is inside the
// driver, as that transfer returns; nothing reaches the closed handle, and the next command
// opens the converter again.
void TMainForm::closeUsbDevice() {
    if (UsbHandle)
        UsbHandle->close();
    UsbHandle.reset();
}

void TMainForm::startWorker(LinkOperation operation, std::vector<std::uint8_t> image,
                            int startPauseMs) {
    LinkWorker *worker = nullptr;
    if (USB->isChecked()) {
        // Read, Write and Run modem start their worker even when no converter opened: its
        // transfers fail as with a silent device.
        if (!UsbHandle)
            OpenUsbDevice();
        LinkHandle usb{std::make_shared<link::UsbTransport>(UsbHandle), linkFactory().usbClock()};
        worker = new LinkWorker(this, link::usbTraits(), operation, DeviceModel, std::move(image),
                                std::move(usb), m_closing);
        UsbWorker = worker;
    } else {
        worker =
            new TComThread(this, operation, DeviceModel, std::move(image), PortHandle, m_closing);
        ComWorker = worker;
    }
    worker->setStartPause(startPauseMs);
    m_workers.emplace_back(worker);
    QPointer<LinkWorker> guard(worker);
    connect(worker, &QThread::finished, this, [this, guard] {
        if (guard)
            workerEnded(guard);
    });
    worker->start(QThread::TimeCriticalPriority);
}

void TMainForm::workerEnded(LinkWorker *worker) {
    if (m_compareReader == worker)
        m_compareReader = nullptr;
    std::erase_if(m_workers, [worker](const QPointer<LinkWorker> &w) { return w == worker; });
    const bool chain = worker->chainedReadRequested() && !worker->cancelled() && !m_closing->load();
    worker->deleteLater();
    if (chain)
        ReadButtonClick(ReadButton);
    if (m_connectWaiting && liveWorkers() == 0) {
        m_connectWaiting = false;
        connectLink();
    }
}

void TMainForm::shutDownLink() {
    const auto closing = m_closing;
    closing->store(true);
    // Every worker lets go of the window first, so none of them can be waiting for it below.
    for (const QPointer<LinkWorker> &w : m_workers)
        if (w)
            w->cancel();
    for (const QPointer<LinkWorker> &w : m_workers)
        if (w) {
            w->wait();
            delete w.data();
        }
    m_workers.clear();
    PortHandle = {};
    closeUsbDevice();
    // Calls still queued by the old workers see the old flag; a window shown again starts anew.
    m_closing = std::make_shared<std::atomic<bool>>(false);
}

void TMainForm::closeEvent(QCloseEvent *e) {
    shutDownLink();
    FormBase::closeEvent(e);
}

// ---- commands ------------------------------------------------------------------------------

void TMainForm::ConnectButtonClick(QWidget *) {
    PageControl1->setActivePageIndex(0);
    PageControl1Change(PageControl1);
    if (liveWorkers() > 0) {
        // A worker that a Cancel let go of still holds the link for a moment: open it again once
        // that worker has ended, without waiting for it here.
        m_connectWaiting = true;
        CancelButton->setEnabled(true);
        ConnectButton->setEnabled(false);
        Mode->setEnabled(false);
        PortNumber->setEnabled(false);
        return;
    }
    connectLink();
}

void TMainForm::connectLink() {
    if (USB->isChecked()) {
        if (!UsbHandle)
            OpenUsbDevice();
        if (UsbOk) {
            CancelButton->setEnabled(true);
            ConnectButton->setEnabled(false);
            Mode->setEnabled(false);
            startWorker(LinkOperation::Connect);
        } else {
            setStatusText(lang::M(1535));
            const QStringList lines = QStringList{lang::M(1535)}
                                      << openFailureLines(usbFailureTexts(m_usbOpenStatus));
            dialogs().message(lines.join(QLatin1Char('\n')), QString(), Dialogs::Icon::Warning);
            UsbOk = true; // the next Connect tries again
            CancelButton->setEnabled(false);
            ConnectButton->setEnabled(true);
            WriteButton->setEnabled(false);
            ReadButton->setEnabled(false);
            Mode->setEnabled(true);
        }
        return;
    }
    PortNumber->setEnabled(false);
    StartSerialConnect();
    if (PortOk) {
        CancelButton->setEnabled(true);
        ConnectButton->setEnabled(false);
        Mode->setEnabled(false);
    } else {
        PortOk = true;
        CancelButton->setEnabled(false);
        ConnectButton->setEnabled(true);
        WriteButton->setEnabled(false);
        ReadButton->setEnabled(false);
        PortNumber->setEnabled(true);
        Mode->setEnabled(true);
    }
}

void TMainForm::CanlButtonClick(QWidget *) {
    // Cancel only flags the workers and wakes their transfers; each closes its hold on the link
    // when it stops. The window lets go of its own handle at once.
    m_connectWaiting = false;
    bool comWorkerCancelled = false;
    bool usbWorkerCancelled = false;
    for (const QPointer<LinkWorker> &w : m_workers)
        if (w) {
            w->cancel();
            (w->kind() == LinkKind::Usb ? usbWorkerCancelled : comWorkerCancelled) = true;
        }
    if (USB->isChecked()) {
        closeUsbDevice();
    } else {
        PortNumber->setEnabled(true);
        PortHandle = {};
    }
    // A cancelled transfer leaves its link unusable.
    if (comWorkerCancelled)
        PortHandle = {};
    if (usbWorkerCancelled)
        closeUsbDevice();
    CancelButton->setEnabled(false);
    Mode->setEnabled(true);
    ConnectButton->setEnabled(true);
    WriteButton->setEnabled(false);
    ReadButton->setEnabled(false);
    mainPage().VersionLabel->setCaption(QString());
    mainPage().VersionLabel->hide();
    mainPage().Label1->setCaption(QString());
    mainPage().Label1->hide();
    setStatusText(lang::M(1042) + S(" ") + lang::M(DeviceModel == DeviceModel::Q71 ? 1238 : 1237));
    RunModemButton->setEnabled(false);
    pb1->setValue(0);
}

void TMainForm::ReadButtonClick(QWidget *) {
    Interactive = false;
    WriteButton->setEnabled(false);
    ReadButton->setEnabled(false);
    RunModemButton->setEnabled(false);
    setStatusText(lang::M(1006));
    PendingOperation =
        DeviceModel == DeviceModel::Q71 ? LinkOperation::ReadQ71 : LinkOperation::ReadQ72;
    startWorker(PendingOperation);
    Interactive = true;
}

void TMainForm::WriteButtonClick(QWidget *) {
    Interactive = false;
    const bool runModemWasOn = RunModemButton->isEnabled();
    WriteButton->setEnabled(false);
    ReadButton->setEnabled(false);
    RunModemButton->setEnabled(false);
    setStatusText(lang::M(1005));
    const bool q71 = DeviceModel == DeviceModel::Q71;
    PendingOperation = q71 ? LinkOperation::WriteQ71 : LinkOperation::WriteQ72;
    image::Encoded encoded = encodeImage();
    image::adjustForWrite(encoded.image, DeviceModel, writeLanguage(lang::GetLanguage()));
    if (!encoded.ok()) {
        // Nothing is sent: the window stays connected as it was.
        setStatusText(QString());
        dialogs().message(encoded.error, QString(), Dialogs::Icon::Error);
        WriteButton->setEnabled(true);
        ReadButton->setEnabled(true);
        RunModemButton->setEnabled(runModemWasOn);
        Interactive = true;
        return;
    }
    startWorker(PendingOperation,
                std::vector<std::uint8_t>(encoded.image.begin(), encoded.image.end()));
    Interactive = true;
}

void TMainForm::RunModemButtonClick(QWidget *) {
    const int page = PageControl1->activePageIndex();
    if (page >= 1 && page <= 3)
        sheets[std::size_t(page)]->setHighlighted(false);
    PageControl1->setActivePageIndex(0);
    sheets[0]->setHighlighted(true);
    WriteButton->setEnabled(false);
    ReadButton->setEnabled(false);
    RunModemButton->setEnabled(false);
    setStatusText(lang::M(1536));
    startWorker(LinkOperation::RunModem);
}

// ---- window routines of the workers ----------------------------------------------------------

void TMainForm::ShowLinkStatus(LinkStatus status, int argument, LinkKind kind) {
    const StatusDisplay d = statusDisplay(status, kind);
    if (d.barFixedText)
        setStatusText(S(d.barFixedText));
    else if (d.barFormatsArgument)
        setStatusText(lang::FormatM(d.barMessage, argument));
    else if (d.barMessage)
        setStatusText(lang::M(d.barMessage));
    if (d.boxFixedText)
        dialogs().message(S(d.boxFixedText), QString(), Dialogs::Icon::None);
    else if (d.boxMessage)
        dialogs().message(lang::M(d.boxMessage), QString(), Dialogs::Icon::None);
}

void TMainForm::ShowModemStateText(int messageNumber) { setStatusText(lang::M(messageNumber)); }

void TMainForm::ReportProgress(int percent) { pb1->setValue(std::clamp(percent, 0, 100)); }

namespace {
void applyStates(const TMainForm &f, const ButtonStates &s) {
    enable(f.ConnectButton, s.connect);
    enable(f.CancelButton, s.cancel);
    enable(f.WriteButton, s.write);
    enable(f.ReadButton, s.read);
    enable(f.RunModemButton, s.runModem);
    enable(f.PortNumber, s.portNumber);
    enable(f.Mode, s.mode);
}
} // namespace

void TMainForm::SetLinkButtons(ButtonEvent event) { applyStates(*this, buttonStates(event)); }

void TMainForm::ShowLinkReady() { applyStates(*this, linkReadyStates(DeviceModel)); }

link::ClockStamp TMainForm::TakeClockStamp() {
    const QDateTime now = pcClock ? pcClock() : QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return link::makeClockStamp(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

void TMainForm::ShowQ72Firmware(const QString &firmware) {
    mainPage().VersionLabel->setCaption(lang::FormatM(1003, firmware));
    mainPage().VersionLabel->show();
}

void TMainForm::ShowQ71Firmware(int number) {
    mainPage().VersionLabel->setCaption(S("Версия ПО прибора:") + QString::number(number) +
                                        S("_x"));
    mainPage().VersionLabel->show();
}

void TMainForm::ShowModelLabel(core::DeviceModel model) {
    mainPage().Label1->setCaption(lang::M(1044) + S(" ") +
                                  lang::M(model == DeviceModel::Q71 ? 1238 : 1237));
    mainPage().Label1->show();
}

void TMainForm::ShowDeviceClock(const link::DeviceClock &clock) {
    mainPage().DateLabel->show();
    mainPage().TimeLabel->show();
    mainPage().DateLabel->setCaption(QString::fromStdString(link::formatClockDate(clock)));
    mainPage().TimeLabel->setCaption(QString::fromStdString(link::formatClockTime(clock)));
}

void TMainForm::HandOverImage(core::DeviceModel model, const std::vector<std::uint8_t> &bytes) {
    image::ConfigImage image{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    if (std::exchange(m_compareReader, nullptr)) {
        showComparison(model, image, QString());
        return;
    }
    ConfigFileName.clear();
    if (model == DeviceModel::Q71)
        readImage(DeviceModel::Q71, image);
    else
        readImage(DeviceModel::Q72, image);
}

void TMainForm::CloseLink(LinkKind kind) {
    // The worker that asked makes no transfer after this. The COM port closes when the worker
    // lets go; the converter closes now, so the next command opens it again.
    if (kind == LinkKind::Usb)
        closeUsbDevice();
    else
        PortHandle = {};
}

void TMainForm::ModelAdaptation(core::DeviceModel model) {
    runRules(
        [model](image::Form &f, image::FormEffects &fx) { image::adaptToModel(f, model, fx); });
}

} // namespace q7x::app
