// q7xctl clone FILE --port PORT: program device after device with one configuration until
// Ctrl+C. Each device is written and verified and gets a line (time, model, firmware, result);
// then the program waits for it to go and the next one to answer. A device of another model is
// skipped, never written.
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/source.h"
#include "cli/writable.h"
#include "lang/messagetable.h"

#include <QDateTime>

namespace q7x::cli {

namespace {

// Between two looks for a device at the port.
constexpr int LookIntervalMs = 500;

class Cloner {
  public:
    Cloner(const Run &run, const PortSpec &port, const Writable &file)
        : m_run(run), m_device(run, port), m_file(file) {
        m_device.quietFailures = true;
    }

    Status run() {
        Identity id;
        m_run.say(lang::M(1835));
        while (waitForDevice(id)) {
            if (!program(id))
                break;
            m_run.say(lang::M(1836));
            if (!waitUntilGone())
                break;
            m_run.say(lang::M(1835));
        }
        m_device.close();
        m_run.print(lang::FormatM(1837, {QString::number(m_written), QString::number(m_skipped),
                                         QString::number(m_failed)}) +
                    QLatin1Char('\n'));
        return m_status;
    }

  private:
    // A port that cannot be opened because of the machine, not the device, will not come right
    // by waiting.
    bool hopeless() const {
        const link::PortFailure f = m_device.lastPortFailure();
        return f == link::PortFailure::NoPermission || f == link::PortFailure::NotATerminal ||
               f == link::PortFailure::Other;
    }

    // False at Ctrl+C or when the port cannot be used at all.
    bool waitForDevice(Identity &id) {
        while (!Interrupt::requested()) {
            if (m_device.open(true) != Done) {
                if (hopeless()) {
                    m_run.complain(m_device.lastFailure());
                    m_status = PortNotOpened;
                    return false;
                }
            } else if (m_device.identify(id, 1) == Done) {
                return true;
            }
            Interrupt::sleep(LookIntervalMs);
        }
        return false;
    }

    bool waitUntilGone() {
        while (!Interrupt::requested()) {
            Identity still;
            if (m_device.open(true) != Done || m_device.identify(still, 1) == NoAnswer)
                return true;
            Interrupt::sleep(LookIntervalMs);
        }
        return false;
    }

    // False when Ctrl+C cut the write short.
    bool program(Identity &id) {
        QString result;
        if (id.model != m_file.model) {
            result = lang::M(1839);
            ++m_skipped;
        } else {
            const Status s = m_device.write(id, m_file.image);
            if (s == Done) {
                result = lang::M(1838);
                ++m_written;
            } else {
                result = m_device.lastFailure().join(QLatin1Char(' '));
                ++m_failed;
                if (m_status == Done || s == Cancelled)
                    m_status = s;
            }
        }
        m_run.print(
            QStringLiteral("%1  %2  %3  %4\n")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     modelName(id.model), id.firmware.isEmpty() ? QStringLiteral("-") : id.firmware,
                     result));
        return m_status != Cancelled;
    }

    const Run &m_run;
    Device m_device;
    const Writable &m_file;
    int m_written = 0, m_skipped = 0, m_failed = 0;
    Status m_status = Done;
};

} // namespace

void addClone(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string port, file;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "clone", "Write one configuration to device after device until Ctrl+C; devices of "
                 "another model are skipped");
    sub->add_option("file", o->file, "The configuration file (- for stdin)")->required();
    sub->add_option("--port", o->port, "com1..com10, a serial device path, or usb")->required();
    listStatuses(sub, {Done, BadUsage, PortNotOpened, NoAnswer, VerifyFailed, Cancelled},
                 "stopped by Ctrl+C while waiting, every device written");
    sub->callback([&run, &status, o] {
        const std::optional<PortSpec> port = portOf(run, QString::fromStdString(o->port));
        Writable file;
        status = port ? prepareWrite(run, QString::fromStdString(o->file), file) : BadUsage;
        if (status == Done)
            status = Cloner(run, *port, file).run();
    });
}

} // namespace q7x::cli
