#include "app/linkfactory.h"

#include "link/systemclock.h"

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
    LinkHandle openSerialPort(int portNumber, const QString &path,
                              link::PortError &error) override {
        link::OpenedPort port = link::openSerialPort(portNumber, path.toStdString());
        error = port.error;
        if (!port.transport)
            return {};
        return {std::move(port.transport), std::make_shared<link::SystemClock>()};
    }
};

} // namespace

std::unique_ptr<LinkFactory> makeSystemLinkFactory() {
    return std::make_unique<SystemLinkFactory>();
}

} // namespace q7x::app
