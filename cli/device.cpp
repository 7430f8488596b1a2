#include "cli/device.h"

#include "cli/interrupt.h"
#include "cli/progressbar.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "link/frames.h"
#include "link/outcometexts.h"
#include "link/serialport.h"
#include "link/systemclock.h"
#include "link/usbtransport.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>
#include <chrono>

namespace q7x::cli {

using link::DeviceModel;
using link::LinkOperation;
using link::LinkStatus;

namespace {

// The pause after the port opened, as the window's Connect takes it.
constexpr int PortSettleMs = 300;

QString hex(std::span<const std::uint8_t> bytes) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()))
            .toHex(' ')
            .toUpper());
}

// The link as the engine sees it: the exchange log of --verbose, and whether a write has started
// to change the device.
class WatchedTransport : public link::Transport {
  public:
    WatchedTransport(link::Transport &inner, const Run &run) : m_inner(inner), m_run(run) {}
    bool send(std::span<const std::uint8_t> bytes) override {
        m_run.log(QStringLiteral("%1 > %2").arg(elapsed()).arg(hex(bytes)));
        bytesSent += bytes.size();
        if (bytes.size() == 5 && bytes[2] == link::q72::WriteData)
            dataSent = true;
        return m_inner.send(bytes);
    }
    link::ReceiveResult receive(std::span<std::uint8_t> buffer) override {
        const link::ReceiveResult r = m_inner.receive(buffer);
        m_run.log(QStringLiteral("%1 < %2%3")
                      .arg(elapsed())
                      .arg(hex(buffer.first(std::min(r.count, buffer.size()))))
                      .arg(r.count < buffer.size()
                               ? QStringLiteral(" (%1 of %2)").arg(r.count).arg(buffer.size())
                               : QString()));
        return r;
    }
    void purge() override { m_inner.purge(); }
    void interrupt() override { m_inner.interrupt(); }

    std::size_t bytesSent = 0;
    bool dataSent = false; // a Q72 WriteData left the PC

  private:
    QString elapsed() const {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - m_start)
                            .count();
        return QStringLiteral("%1").arg(ms, 7);
    }
    link::Transport &m_inner;
    const Run &m_run;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// What the engine asks of the window, kept for the command.
class Recorder : public link::SilentWindowPort {
  public:
    Recorder(const Run &run, ProgressBar &bar, link::LinkKind kind)
        : m_run(run), m_bar(bar), m_kind(kind) {}

    void showLinkStatus(LinkStatus s, int argument) override {
        const link::StatusDisplay d = link::statusDisplay(s, m_kind);
        m_run.log(d.barFormatsArgument ? lang::FormatM(d.barMessage, argument)
                                       : lang::M(d.barMessage));
        if (s == LinkStatus::ConnectAttempt) {
            if (argument > attemptsAllowed && engine)
                engine->cancel();
            return;
        }
        status = s;
    }
    void showModemStateText(int number) override { modemMessage = number; }
    void reportProgress(int percent) override { m_bar.set(percent); }
    void showQ72Firmware(const std::string &text) override {
        firmware = QString::fromStdString(text);
    }
    void showQ71Firmware(int number) override {
        firmware = QString::number(number) + QStringLiteral("_x");
    }
    void adaptToModel(DeviceModel m) override { model = m; }
    std::optional<link::ClockStamp> takeClockStamp() override {
        const QDateTime now = QDateTime::currentDateTime();
        stamp = link::makeClockStamp(now.date().year(), now.date().month(), now.date().day(),
                                     now.time().hour(), now.time().minute(), now.time().second());
        return stamp;
    }
    void showDeviceClock(const link::DeviceClock &c) override { clock = c; }
    void deliverImage(DeviceModel, std::span<const std::uint8_t> bytes) override {
        image.assign(bytes.begin(), bytes.end());
    }
    void closeLink() override { closeRequested = true; }

    link::LinkEngine *engine = nullptr;
    int attemptsAllowed = 10;
    std::optional<LinkStatus> status;
    int modemMessage = 0;
    std::optional<DeviceModel> model;
    QString firmware;
    std::vector<std::uint8_t> image;
    std::optional<link::DeviceClock> clock;
    std::optional<link::ClockStamp> stamp;
    bool closeRequested = false;

  private:
    const Run &m_run;
    ProgressBar &m_bar;
    link::LinkKind m_kind;
};

} // namespace

struct Device::Outcome {
    std::optional<LinkStatus> status;
    link::LinkKind kind = link::LinkKind::Serial;
    bool cancelled = false; // by Ctrl+C
    bool partial = false;   // a write changed part of the device
    int modemMessage = 0;
    std::optional<DeviceModel> model;
    QString firmware;
    std::vector<std::uint8_t> image;
    std::optional<link::DeviceClock> clock;
    std::optional<link::ClockStamp> stamp;
};

std::optional<PortSpec> PortSpec::parse(const QString &text) {
    PortSpec p;
    p.text = text;
    const QString t = text.trimmed().toLower();
    static const QRegularExpression com(QStringLiteral("^com ?([0-9]+)$"));
    if (t == QLatin1String("usb")) {
        p.kind = Kind::Usb;
        return p;
    }
    if (const auto m = com.match(t); m.hasMatch()) {
        p.kind = Kind::Com;
        p.number = m.captured(1).toInt();
        if (p.number < 1 || p.number > 10)
            return std::nullopt;
        return p;
    }
    if (!text.contains(QLatin1Char('/')))
        return std::nullopt;
    p.kind = Kind::Path;
    p.path = text;
    return p;
}

QString clockSetText(const link::DeviceClock &clock, const link::ClockStamp &set) {
    const QDate date(2000 + clock.year, clock.month, clock.day);
    const QTime time(clock.hour, clock.minute,
                     link::clockMatchesStamp(clock, set) ? set.second : 0);
    return date.toString(Qt::ISODate) + QLatin1Char(' ') + time.toString(Qt::ISODate);
}

QString modelName(DeviceModel model) { return lang::M(model == DeviceModel::Q71 ? 1238 : 1237); }

Device::Device(const Run &run, PortSpec port) : m_run(run), m_port(std::move(port)) {}

Device::~Device() { close(); }

bool Device::isOpen() const {
    return m_port.kind == PortSpec::Kind::Usb ? bool(m_usb) : bool(m_serial);
}

void Device::close() {
    m_serial.reset();
    if (m_usb)
        m_usb->close();
    m_usb.reset();
}

Status Device::fail(const QStringList &texts, Status status) {
    m_failure = texts;
    if (!quietFailures)
        m_run.complain(texts);
    return status;
}

Status Device::open(bool silent) {
    close();
    m_failure.clear();
    m_portFailure = link::PortFailure::None;
    if (m_port.kind == PortSpec::Kind::Usb) {
        if (!m_d2xx)
            m_d2xx = link::makeSystemD2xx();
        const link::UsbOpenResult r = link::OpenUsbDevice(*m_d2xx);
        m_usb = r.handle;
        if (m_usb)
            return Done;
        QStringList lines{lang::M(1535)};
        const link::OpenFailureTexts t = link::usbFailureTexts(r.lastStatus);
        if (t.reason)
            lines << lang::M(t.reason);
        if (t.remedy)
            lines << lang::M(t.remedy);
        return silent ? (m_failure = lines, PortNotOpened) : fail(lines, PortNotOpened);
    }
    const QString mapped =
        m_port.kind == PortSpec::Kind::Com
            ? lang::ReadIniValue(m_run.settings(), QStringLiteral("Ports"),
                                 QStringLiteral("COM%1").arg(m_port.number), QString())
            : m_port.path;
    link::OpenedPort port = link::openSerialPort(m_port.number, mapped.toStdString());
    if (!port.transport) {
        m_portFailure = port.error.failure;
        QStringList lines;
        if (m_port.kind == PortSpec::Kind::Com)
            lines << lang::FormatM(1095, m_port.number);
        if (!port.error.device.empty())
            lines << lang::FormatM(1600, QString::fromStdString(port.error.device));
        const link::OpenFailureTexts t = link::portFailureTexts(port.error.failure);
        if (t.reason)
            lines << (t.reasonFormatsDetail
                          ? lang::FormatM(t.reason, QString::fromStdString(port.error.detail))
                          : lang::M(t.reason));
        if (t.remedy)
            lines << lang::M(t.remedy);
        return silent ? (m_failure = lines, PortNotOpened) : fail(lines, PortNotOpened);
    }
    m_serial = std::move(port.transport);
    if (!Interrupt::sleep(PortSettleMs))
        return fail({lang::M(1808)}, Cancelled);
    return Done;
}

Status Device::connect(Identity &out) {
    const Status s = open();
    return s == Done ? identify(out) : s;
}

Device::Outcome Device::operate(LinkOperation operation, DeviceModel model,
                                const std::vector<std::uint8_t> &image, const QString &label,
                                int attempts) {
    const bool usb = m_port.kind == PortSpec::Kind::Usb;
    Outcome out;
    out.kind = usb ? link::LinkKind::Usb : link::LinkKind::Serial;
    if (usb && !m_usb) // a connect over USB lets go of the converter; the next command opens it
        m_usb = link::OpenUsbDevice(*m_d2xx).handle;
    std::shared_ptr<link::Transport> carrier =
        usb ? std::make_shared<link::UsbTransport>(m_usb) : m_serial;
    if (!carrier) {
        out.status = LinkStatus::Q72NoAnswer;
        return out;
    }
    WatchedTransport transport(*carrier, m_run);
    link::SystemClock clock;
    ProgressBar bar(stderr, !m_run.quiet && !label.isEmpty() && ProgressBar::stderrIsTerminal(),
                    label);
    Recorder window(m_run, bar, out.kind);
    link::LinkEngine engine(transport, clock, window,
                            usb ? link::usbTraits() : link::serialTraits());
    window.engine = &engine;
    window.attemptsAllowed = attempts;
    {
        Interrupt::Guard guard(engine);
        engine.run(operation, model, image);
    }
    bar.finish();
    out.status = window.status;
    out.cancelled = engine.cancelRequested() && Interrupt::requested();
    out.partial = model == DeviceModel::Q71 ? transport.bytesSent > 5 : transport.dataSent;
    out.modemMessage = window.modemMessage;
    out.model = window.model;
    out.firmware = window.firmware;
    out.image = std::move(window.image);
    out.clock = window.clock;
    out.stamp = window.stamp;
    // A cancelled transfer leaves the link unusable; a failure closed it.
    if (engine.cancelRequested() || window.closeRequested)
        close();
    return out;
}

Status Device::outcomeStatus(const Outcome &o, bool write) {
    m_failure.clear();
    const bool done =
        o.status == LinkStatus::WriteCompleted || o.status == LinkStatus::ReadCompleted ||
        o.status == LinkStatus::ModemStarted || o.status == LinkStatus::Q72Identified ||
        o.status == LinkStatus::Q71Identified;
    if (done)
        return Done;
    if (o.cancelled)
        return fail({lang::M(write && o.partial ? 1807 : 1808)}, Cancelled);
    QStringList lines;
    Status status = NoAnswer;
    if (!o.status) {
        lines << lang::M(1026);
    } else {
        const link::StatusDisplay d = link::statusDisplay(*o.status, o.kind);
        for (const QString &text :
             {d.barFixedText ? QString::fromUtf8(d.barFixedText) : lang::M(d.barMessage),
              d.boxFixedText ? QString::fromUtf8(d.boxFixedText) : lang::M(d.boxMessage)})
            if (!text.isEmpty() && !lines.contains(text))
                lines << text;
        if (*o.status == LinkStatus::VerifyFailed)
            status = VerifyFailed;
        if (*o.status == LinkStatus::ModemFailed || *o.status == LinkStatus::ClockYearUnsupported)
            status = ModemNotStarted;
        if (o.modemMessage)
            lines << lang::M(o.modemMessage);
    }
    if (write && o.partial)
        lines << lang::M(1807);
    return fail(lines, status);
}

Status Device::identify(Identity &out, int attempts) {
    const Outcome o = operate(LinkOperation::Connect, DeviceModel::Q72, {}, {}, attempts);
    if (!o.cancelled && o.status == LinkStatus::ConnectCancelled) // gave up early, as asked
        return fail({lang::M(1025)}, NoAnswer);
    const Status s = outcomeStatus(o, false);
    if (s != Done)
        return s;
    out.model = o.model.value_or(o.status == LinkStatus::Q71Identified ? DeviceModel::Q71
                                                                       : DeviceModel::Q72);
    out.firmware = o.firmware;
    return Done;
}

Status Device::read(Identity &id, image::ConfigImage &image) {
    const Outcome o =
        operate(id.model == DeviceModel::Q71 ? LinkOperation::ReadQ71 : LinkOperation::ReadQ72,
                id.model, {}, lang::M(1006));
    if (const Status s = outcomeStatus(o, false); s != Done)
        return s;
    image.fill(0);
    std::copy_n(o.image.begin(),
                std::min<std::size_t>(o.image.size(), id.model == DeviceModel::Q71
                                                          ? link::Q71ImageSize
                                                          : image.size()),
                image.begin());
    if (!o.firmware.isEmpty())
        id.firmware = o.firmware;
    return Done;
}

Status Device::write(Identity &id, const image::ConfigImage &image) {
    const std::vector<std::uint8_t> bytes(image.begin(), image.end());
    const bool q71 = id.model == DeviceModel::Q71;
    const Outcome o = operate(q71 ? LinkOperation::WriteQ71 : LinkOperation::WriteQ72, id.model,
                              bytes, lang::M(1005));
    if (const Status s = outcomeStatus(o, true); s != Done || !q71)
        return s;
    // The Q71 acknowledges the frame only: read it back to know that it holds what was sent.
    image::ConfigImage back{};
    if (const Status s = read(id, back); s != Done)
        return s == Cancelled ? fail({lang::M(1809)}, Cancelled) : s;
    if (!std::equal(image.begin(), image.begin() + link::Q71ImageSize, back.begin()))
        return fail({lang::M(1588), lang::M(1589)}, VerifyFailed);
    return Done;
}

Status Device::runModem(link::DeviceClock &clock, link::ClockStamp &set) {
    const Outcome o = operate(LinkOperation::RunModem, DeviceModel::Q72, {}, lang::M(1536));
    if (const Status s = outcomeStatus(o, false); s != Done)
        return s;
    if (o.clock)
        clock = *o.clock;
    if (o.stamp)
        set = *o.stamp;
    return Done;
}

} // namespace q7x::cli
