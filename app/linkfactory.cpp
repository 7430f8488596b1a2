#include "app/linkfactory.h"

#include "link/systemclock.h"

#if defined(__linux__)
#include "link/serialtransport.h"
#endif

namespace q7x::app {

link::D2xx &LinkFactory::usbDriver() {
    if (!m_usbDriver)
        m_usbDriver = link::makeSystemD2xx();
    return *m_usbDriver;
}

std::shared_ptr<link::Clock> LinkFactory::usbClock() {
    return std::make_shared<link::SystemClock>();
}

namespace {

class SystemLinkFactory : public LinkFactory {
  public:
    LinkHandle openSerialPort(int portNumber, const QString &path) override {
        LinkHandle link;
#if defined(__linux__)
        auto port = link::PosixSerialTransport::open(
            link::serialDevicePath(portNumber, path.toStdString()), nullptr);
        if (!port)
            return link;
        link.transport = std::move(port);
        link.clock = std::make_shared<link::SystemClock>();
#else
        (void)portNumber;
        (void)path;
#endif
        return link;
    }
};

} // namespace

std::unique_ptr<LinkFactory> makeSystemLinkFactory() {
    return std::make_unique<SystemLinkFactory>();
}

} // namespace q7x::app
