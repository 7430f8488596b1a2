// q7xctl clone FILE --port PORT: program device after device with one configuration until
// Ctrl+C. Each device is written and verified and gets a line (time, model, firmware, result);
// then the program waits for it to go and the next one to answer. A device of another model is
// skipped, never written. With --per-device each device gets the values of the next row of a CSV
// file, changed as `set` changes them, and the run ends after the last row; --backup keeps what
// each device held before it is written; --log leaves a line per device for a script.
#include "cli/commands.h"
#include "cli/fleet.h"
#include "cli/interrupt.h"
#include "cli/sites.h"
#include "cli/source.h"
#include "cli/writable.h"
#include "lang/messagetable.h"

#include <QDateTime>

namespace q7x::cli {

namespace {

// Between two looks for a device at the port.
constexpr int LookIntervalMs = 500;
// Far more than the values of any batch.
constexpr qint64 MaxSitesSize = 16 * 1024 * 1024;

// What each device gets: the file's configuration, or one per row of the per-device values.
struct Batch {
    Writable file;
    QList<image::ConfigImage> rows; // stamped as the write stamps them
    QList<int> lines;               // the line of each row in its file
    QString sitesName;
};

class Cloner {
  public:
    Cloner(const Run &run, const PortSpec &port, const Batch &batch, const QString &backup,
           FleetLog *log)
        : m_run(run), m_device(run, port), m_batch(batch), m_backup(backup), m_log(log) {
        m_device.quietFailures = true;
    }

    Status run() {
        Identity id;
        m_run.say(lang::M(1835));
        while (waitForDevice(id)) {
            if (!program(id))
                break;
            if (!m_batch.rows.isEmpty() && m_row == m_batch.rows.size()) {
                m_run.say(lang::FormatM(1943, m_batch.sitesName));
                break;
            }
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

    // The device read and kept before it is written; the failure's status otherwise.
    Status backUp(Identity &id, LogEntry &entry) {
        image::ConfigImage held{};
        const Status s = m_device.read(id, held);
        if (s != Done)
            return s;
        entry.backup = keepBackup(m_run, m_backup, id.model, id.firmware, held);
        return entry.backup.isEmpty() ? BadUsage : Done;
    }

    // False when Ctrl+C cut the write short or the log cannot be written.
    bool program(Identity &id) {
        QString result;
        LogEntry entry;
        entry.port = m_device.port().text;
        entry.action = QStringLiteral("clone");
        entry.model = modelLabel(id.model);
        entry.firmware = id.firmware;
        Status s = Done;
        if (id.model != m_batch.file.model) {
            result = lang::M(1839);
            ++m_skipped;
            entry.result = LogEntry::Result::Skipped;
            s = BadUsage;
        } else {
            const bool perDevice = !m_batch.rows.isEmpty();
            const image::ConfigImage &image = perDevice ? m_batch.rows[m_row] : m_batch.file.image;
            if (!m_backup.isEmpty())
                s = backUp(id, entry);
            if (s == Done)
                s = m_device.write(id, image);
            entry.firmware = id.firmware;
            if (s == Done) {
                result = lang::M(1838);
                if (perDevice)
                    result += QStringLiteral(" (") +
                              lang::FormatM(1929, {m_batch.sitesName,
                                                   QString::number(m_batch.lines[m_row])}) +
                              QLatin1Char(')');
                ++m_written;
                ++m_row; // a row goes to the next device only once one holds it
                entry.result = LogEntry::Result::Written;
                entry.sha256 = writtenHash(id.model, image);
            } else {
                result = m_device.lastFailure().join(QLatin1Char(' '));
                if (result.isEmpty())
                    result = m_run.complaints().value(m_run.complaints().size() - 1);
                ++m_failed;
                entry.result =
                    s == Cancelled ? LogEntry::Result::Cancelled : LogEntry::Result::Failed;
                if (m_status == Done || s == Cancelled)
                    m_status = s;
            }
        }
        entry.status = s;
        m_run.print(
            QStringLiteral("%1  %2  %3  %4\n")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     modelName(id.model), id.firmware.isEmpty() ? QStringLiteral("-") : id.firmware,
                     result));
        if (m_log && !m_log->append(m_run, entry)) {
            m_status = m_status == Done ? BadUsage : m_status;
            return false;
        }
        return m_status != Cancelled;
    }

    const Run &m_run;
    Device m_device;
    const Batch &m_batch;
    QString m_backup;
    FleetLog *m_log;
    int m_written = 0, m_skipped = 0, m_failed = 0;
    qsizetype m_row = 0;
    Status m_status = Done;
};

// Each row's configuration, changed as `set` changes it and stamped as a write stamps it; every
// row is checked before any device is written.
Status perDevice(const Run &run, const QString &path, Batch &batch) {
    QByteArray text;
    if (const Status s = readInput(run, path, MaxSitesSize, text); s != Done)
        return s;
    batch.sitesName = printable(path);
    const Sites sites = readSites(text, batch.sitesName);
    QStringList errors = sites.errors;
    const FieldText words(lang::WindowTexts::load(run.language()));
    for (const QList<Change> &row : sites.rows) {
        if (!errors.isEmpty())
            break;
        const Edited edited = applyChanges(batch.file.model, batch.file.source.image, row, words);
        errors << edited.refusals;
        image::ConfigImage image = edited.image;
        image::adjustForWrite(image, batch.file.model, writeLanguage(run));
        batch.rows << image;
    }
    if (!errors.isEmpty()) {
        run.complain(errors);
        run.complain(lang::M(1830));
        return BadUsage;
    }
    batch.lines = sites.lines;
    return Done;
}

} // namespace

void addClone(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string port, file, sites, backup, log;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "clone", "Write one configuration to device after device until Ctrl+C; devices of "
                 "another model are skipped");
    sub->add_option("file", o->file, "The configuration file (- for stdin)")->required();
    sub->add_option("--port", o->port, "com1..com10, a serial device path, or usb")->required();
    sub->add_option("--per-device", o->sites,
                    "CSV file: a header of keys, then one row of values per device, in turn; "
                    "the run ends after the last row");
    sub->add_option("--backup", o->backup,
                    "Keep each device's configuration in this folder before writing it");
    sub->add_option("--log", o->log, "Append a line per device to this CSV log");
    listStatuses(sub, {Done, BadUsage, PortNotOpened, NoAnswer, VerifyFailed, Cancelled},
                 "every device written (stopped by Ctrl+C while waiting, or after the last row)");
    sub->callback([&run, &status, o] {
        const std::optional<PortSpec> port = portOf(run, QString::fromStdString(o->port));
        Batch batch;
        status = port ? prepareWrite(run, QString::fromStdString(o->file), batch.file) : BadUsage;
        const QString backup = QString::fromStdString(o->backup);
        if (status == Done && !backup.isEmpty())
            status = checkBackupFolder(run, backup);
        if (status == Done && !o->sites.empty())
            status = perDevice(run, QString::fromStdString(o->sites), batch);
        std::optional<FleetLog> log;
        if (status == Done && !o->log.empty()) {
            log = FleetLog::open(run, QString::fromStdString(o->log));
            status = log ? Done : BadUsage;
        }
        if (status == Done)
            status = Cloner(run, *port, batch, backup, log ? &*log : nullptr).run();
    });
}

} // namespace q7x::cli
