// q7xctl write --port PORT FILE: program the device with a configuration file, verified; with
// --dry-run only show what would change.
#include "cli/commands.h"
#include "cli/difference.h"
#include "cli/fleet.h"
#include "cli/source.h"
#include "cli/writable.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

// The device must be of the file's model; nothing is sent to one of another.
Status sameModel(const Run &run, const Writable &file, const Identity &id) {
    if (id.model == file.model)
        return Done;
    run.complain(
        {lang::FormatM(1831, {modelLabel(file.model), modelName(id.model)}), lang::M(1830)});
    return BadUsage;
}

} // namespace

void addWrite(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string port, file, log;
        bool dryRun = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "write", "Check a configuration file and write it to the device, verified");
    sub->add_option("--port", o->port, "com1..com10, a serial device path, or usb")->required();
    sub->add_option("file", o->file, "The configuration file (- for stdin)")->required();
    sub->add_flag("--dry-run", o->dryRun,
                  "Read the device and show what the write would change; write nothing (exit 1 "
                  "when something would change)");
    sub->add_option("--log", o->log, "Append a line for the device to this CSV log");
    listStatuses(sub, {Done, Different, BadUsage, PortNotOpened, NoAnswer, VerifyFailed, Cancelled},
                 "written and verified (--dry-run: nothing would change)",
                 "--dry-run: the write would change the device");
    sub->callback([&run, &status, o] {
        const QString path = QString::fromStdString(o->file);
        const std::optional<PortSpec> port = portOf(run, QString::fromStdString(o->port));
        Writable file;
        status = port ? prepareWrite(run, path, file) : BadUsage;
        if (status != Done)
            return;
        std::optional<FleetLog> log;
        if (!o->log.empty()) {
            log = FleetLog::open(run, QString::fromStdString(o->log));
            if (!log) {
                status = BadUsage;
                return;
            }
        }
        LogEntry entry;
        entry.port = port->text;
        entry.action = QStringLiteral("write");
        const auto finish = [&](Status s, LogEntry::Result result) {
            entry.status = s;
            entry.result = result;
            if (log && !log->append(run, entry) && s == Done)
                s = BadUsage;
            status = s;
        };
        const auto failed = [&](Status s) {
            finish(s, s == Cancelled ? LogEntry::Result::Cancelled : LogEntry::Result::Failed);
        };
        Device device(run, *port);
        Identity id;
        Status s = device.connect(id);
        if (s == Done) {
            entry.model = modelLabel(id.model);
            entry.firmware = id.firmware;
            s = sameModel(run, file, id);
        }
        if (s != Done)
            return failed(s);
        if (o->dryRun) {
            image::ConfigImage current{};
            s = device.read(id, current);
            entry.firmware = id.firmware;
            if (s != Done)
                return failed(s);
            const QList<Difference> diffs =
                differences(file.model, current, file.image,
                            FieldText(lang::WindowTexts::load(run.language())));
            if (diffs.isEmpty())
                run.say(lang::M(1827));
            else
                run.print(describe(diffs, printable(port->text), printable(path)));
            run.say(lang::FormatM(1843, languageName(file.language)));
            run.say(lang::M(1832));
            return finish(diffs.isEmpty() ? Done : Different, LogEntry::Result::DryRun);
        }
        s = device.write(id, file.image);
        entry.firmware = id.firmware;
        if (s != Done)
            return failed(s);
        entry.sha256 = writtenHash(file.model, file.image);
        run.say(lang::M(1039));
        finish(Done, LogEntry::Result::Written);
    });
}

} // namespace q7x::cli
