#pragma once
// Where the window gets its link carriers from. The real factory opens the COM port and uses real
// time; tests hand the window a factory that plays a device in the same process.
#include "link/d2xx.h"
#include "link/serialport.h"
#include "link/transport.h"

#include <QString>

#include <memory>

namespace q7x::app {

// An open link (the COM port, later the USB converter) and the clock its workers pause on. Both
// are shared by the window, which keeps the link open between commands, and the worker that uses
// them; the link closes when the last holder lets go, so it is never closed under a transfer in
// progress.
struct LinkHandle {
    std::shared_ptr<link::Transport> transport;
    std::shared_ptr<link::Clock> clock;
    explicit operator bool() const { return transport && clock; }
};

class LinkFactory {
  public:
    virtual ~LinkFactory() = default;
    // Opens "com N" at `path` (the INI mapping, or empty for the platform's own name of the port).
    // Returns an empty link, with `error` saying why, when the port cannot be opened.
    virtual LinkHandle openSerialPort(int portNumber, const QString &path,
                                      link::PortError &error) = 0;
    // The pause (ms) after a port was opened, before the first transfer; the connect worker
    // takes it on the link's clock, so the window never sleeps and Cancel cuts it short.
    virtual int portSettleMs() const { return 300; }
    // The FTDI converter's driver the USB link opens converter 0 through; the system's driver
    // unless a test plays the converter. It outlives every converter opened through it.
    virtual link::D2xx &usbDriver();
    // The clock the USB workers pause on.
    virtual std::shared_ptr<link::Clock> usbClock();

  private:
    std::unique_ptr<link::D2xx> m_usbDriver;
};

// The COM ports of the machine and the steady clock.
std::unique_ptr<LinkFactory> makeSystemLinkFactory();

} // namespace q7x::app
