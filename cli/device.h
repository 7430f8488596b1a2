#pragma once
// A device at the port given on the command line, driven by the window's link engine on this
// thread: the port opens as the window's Connect opens it, each command is one engine operation,
// its statuses are shown with the window's texts, and Ctrl+C cancels it as the window's Cancel
// does. Every failure ends in an exit status and the texts that say why.
#include "cli/run.h"
#include "image/configimage.h"
#include "link/clockstamp.h"
#include "link/d2xx.h"
#include "link/linkengine.h"
#include "link/serialport.h"
#include "link/usbdevice.h"

#include <memory>
#include <optional>
#include <vector>

namespace q7x::cli {

// "com1".."com10" (the INI's [Ports] mapping applies), "usb" (the FTDI converter), or the path
// of a serial device.
struct PortSpec {
    enum class Kind { Com, Path, Usb };
    Kind kind = Kind::Path;
    int number = 0;
    QString path;
    QString text; // as given
    static std::optional<PortSpec> parse(const QString &text);
};

struct Identity {
    link::DeviceModel model = link::DeviceModel::Q72;
    QString firmware; // "1_3"; a Q71 tells it with a read ("7_x")
};

// The clock a modem start set, as ISO 8601 date and time: the device's clock as read back (it
// keeps minutes) with the seconds of the time sent when the two agree.
QString clockSetText(const link::DeviceClock &clock, const link::ClockStamp &set);

// The model's name as the window shows it (M1237, M1238).
QString modelName(link::DeviceModel model);

class Device {
  public:
    Device(const Run &run, PortSpec port);
    ~Device();
    Device(const Device &) = delete;
    Device &operator=(const Device &) = delete;

    const PortSpec &port() const { return m_port; }

    // Opens the port and lets it settle. When it cannot be opened, says why unless `silent`.
    Status open(bool silent = false);
    // Releases the port.
    void close();
    bool isOpen() const;

    // Connect: which model answers. `attempts` below 10 gives up earlier (a quick look for a
    // device); the port must then be opened again.
    Status identify(Identity &out, int attempts = 10);
    // Opens the port and identifies the device in it, as the window's Connect does.
    Status connect(Identity &out);
    // Reads the image as the device holds it; a Q71 read also tells its firmware.
    Status read(Identity &id, image::ConfigImage &out);
    // Writes with verification: the Q72 checks each block as it goes, a Q71 is read back.
    Status write(Identity &id, const image::ConfigImage &image);
    // Starts the modem and sets its clock from the PC's: `clock` as read back, `set` as sent.
    Status runModem(link::DeviceClock &clock, link::ClockStamp &set);

    // Texts of the last failure, for a caller that shows them itself (clone).
    QStringList lastFailure() const { return m_failure; }
    // Why the last open failed; None after an open of the converter that found none.
    link::PortFailure lastPortFailure() const { return m_portFailure; }
    bool quietFailures = false; // keep failure texts in lastFailure() only

  private:
    struct Outcome;
    Outcome operate(link::LinkOperation operation, link::DeviceModel model,
                    const std::vector<std::uint8_t> &image, const QString &label,
                    int attempts = 10);
    Status fail(const QStringList &texts, Status status);
    Status outcomeStatus(const Outcome &o, bool partialWrite);

    const Run &m_run;
    PortSpec m_port;
    std::shared_ptr<link::Transport> m_serial;
    std::unique_ptr<link::D2xx> m_d2xx;
    link::UsbHandle m_usb;
    QStringList m_failure;
    link::PortFailure m_portFailure = link::PortFailure::None;
};

} // namespace q7x::cli
