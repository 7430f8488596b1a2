// q7xctl set FILE|--port PORT KEY=VALUE… [--from PARTIAL.json]: settings changed as a person
// changes them in the window, each running the rules of its control in the order given. A file
// is stored again (or as -o), a device is read, changed and written with verification when
// something changed.
#include "cli/commands.h"
#include "cli/difference.h"
#include "cli/fleet.h"
#include "cli/settingsjson.h"
#include "cli/source.h"
#include "cli/writable.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

struct Options {
    std::vector<std::string> arguments;
    std::string port, from, output, log, backup;
    bool dryRun = false, force = false;
};

// The changes given: those of --from in the window's order, then KEY=VALUE in the order given.
// Nothing, with every mistake said, when one cannot be read.
std::optional<QList<Change>> changesOf(const Run &run, const QStringList &arguments,
                                       const QString &from, image::DeviceModel model) {
    QList<Change> changes;
    QStringList errors;
    if (!from.isEmpty()) {
        QByteArray json;
        if (readInput(run, from, MaxJsonSize, json) != Done)
            return std::nullopt;
        const PartialSettings partial = partialSettings(json, printable(from));
        errors << partial.errors;
        if (partial.model && *partial.model != model)
            errors << lang::FormatM(
                1931, {printable(from), modelLabel(*partial.model), modelLabel(model)});
        changes << inWindowOrder(model, partial.changes);
    }
    for (const QString &argument : arguments) {
        if (const std::optional<Change> c = Change::parse(argument))
            changes << *c;
        else
            errors << lang::FormatM(1932, printable(argument));
    }
    if (changes.isEmpty() && errors.isEmpty())
        errors << lang::M(1933);
    if (!errors.isEmpty()) {
        run.complain(errors);
        return std::nullopt;
    }
    return changes;
}

// The changes made to `before`; the differences said (unless the result itself goes to standard
// output). Nothing, with the refusals said, when the window would not take them.
std::optional<image::ConfigImage>
changed(const Run &run, const FieldText &words, image::DeviceModel model,
        const image::ConfigImage &before, const QList<Change> &changes, const QString &nameBefore,
        const QString &nameAfter, bool sayDifferences, QList<Difference> &diffs) {
    const Edited edited = applyChanges(model, before, changes, words);
    if (!edited.refusals.isEmpty()) {
        run.complain(edited.refusals);
        run.complain(lang::M(1934));
        return std::nullopt;
    }
    diffs = differences(model, before, edited.image, words);
    if (sayDifferences) {
        if (diffs.isEmpty())
            run.say(lang::M(1827));
        else if (!run.quiet)
            run.print(describe(diffs, nameBefore, nameAfter));
    }
    return edited.image;
}

Status setFile(const Run &run, const Options &o, const QStringList &arguments) {
    const QString path = QString::fromStdString(o.arguments.front());
    const QString outputPath = o.output.empty() ? path : QString::fromStdString(o.output);
    // The file given is replaced by its changed self without --force.
    const bool inPlace = o.output.empty() && path != QLatin1String("-");
    std::optional<Output> out;
    if (!o.dryRun) {
        out = Output::check(run, outputPath, o.force || inPlace);
        if (!out)
            return BadUsage;
    }
    ConfigurationFile file;
    if (const Status s = readConfiguration(run, path, file); s != Done)
        return s;
    const FieldText words(lang::WindowTexts::load(run.language()));
    if (const Status s = checkWritable(run, file, words); s != Done)
        return s;
    const std::optional<QList<Change>> changes =
        changesOf(run, arguments, QString::fromStdString(o.from), file.model);
    if (!changes)
        return BadUsage;
    const bool toStdout = !o.dryRun && outputPath == QLatin1String("-");
    QList<Difference> diffs;
    const std::optional<image::ConfigImage> image =
        changed(run, words, file.model, file.image, *changes, printable(path),
                printable(o.dryRun ? path : outputPath), !toStdout, diffs);
    if (!image)
        return BadUsage;
    if (o.dryRun) {
        run.say(lang::M(1935));
        return diffs.isEmpty() ? Done : Different;
    }
    const Status s = out->write(run, configurationText({file.model, *image, {}}));
    if (s == Done && !toStdout)
        run.say(lang::FormatM(1816, printable(outputPath)));
    return s;
}

Status setDevice(const Run &run, const Options &o, const QStringList &arguments) {
    const std::optional<PortSpec> port = portOf(run, QString::fromStdString(o.port));
    if (!port)
        return BadUsage;
    const QString portName = printable(port->text);
    std::optional<Output> out;
    if (!o.output.empty()) {
        out = Output::check(run, QString::fromStdString(o.output), o.force);
        if (!out)
            return BadUsage;
    }
    const QString backupFolder = QString::fromStdString(o.backup);
    if (!backupFolder.isEmpty() && checkBackupFolder(run, backupFolder) != Done)
        return BadUsage;
    std::optional<FleetLog> log;
    if (!o.log.empty()) {
        log = FleetLog::open(run, QString::fromStdString(o.log));
        if (!log)
            return BadUsage;
    }
    LogEntry entry;
    entry.port = port->text;
    entry.action = QStringLiteral("set");
    const auto finish = [&](Status s, LogEntry::Result result) {
        entry.status = s;
        entry.result = result;
        if (log && !log->append(run, entry) && s == Done)
            s = BadUsage;
        return s;
    };
    const auto failed = [&](Status s) {
        return finish(s, s == Cancelled ? LogEntry::Result::Cancelled : LogEntry::Result::Failed);
    };

    Device device(run, *port);
    Identity id;
    ConfigurationFile current;
    Status s = device.connect(id);
    if (s == Done)
        s = device.read(id, current.image);
    current.model = id.model;
    if (s != Done)
        return failed(s);
    entry.model = modelLabel(id.model);
    entry.firmware = id.firmware;
    if (!backupFolder.isEmpty()) {
        entry.backup = keepBackup(run, backupFolder, id.model, id.firmware, current.image);
        if (entry.backup.isEmpty())
            return failed(BadUsage);
        run.say(lang::FormatM(1936, printable(entry.backup)));
    }
    const FieldText words(lang::WindowTexts::load(run.language()));
    if (checkWritable(run, current, words) != Done)
        return failed(BadUsage);
    const std::optional<QList<Change>> changes =
        changesOf(run, arguments, QString::fromStdString(o.from), id.model);
    if (!changes)
        return failed(BadUsage);
    QList<Difference> diffs;
    std::optional<image::ConfigImage> image = changed(
        run, words, id.model, current.image, *changes, portName,
        o.dryRun ? portName + QStringLiteral(" (") + lang::M(1937) + QLatin1Char(')') : portName,
        true, diffs);
    if (!image)
        return failed(BadUsage);
    if (out && out->write(run, configurationText({id.model, *image, {}})) != Done)
        return failed(BadUsage);
    if (o.dryRun) {
        run.say(lang::M(1832));
        return finish(diffs.isEmpty() ? Done : Different, LogEntry::Result::DryRun);
    }
    // A device that already holds every value given is not written at all.
    if (diffs.isEmpty()) {
        run.say(lang::M(1938));
        return finish(Done, LogEntry::Result::Unchanged);
    }
    image::adjustForWrite(*image, id.model, writeLanguage(run));
    s = device.write(id, *image);
    if (s != Done)
        return failed(s);
    entry.sha256 = writtenHash(id.model, *image);
    run.say(lang::M(1039));
    return finish(Done, LogEntry::Result::Written);
}

} // namespace

void addSet(CLI::App &app, Run &run, Status &status) {
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "set", "Change settings of a file or of the device at a port as the window changes them: "
               "each KEY=VALUE runs the rules of its control, in the order given");
    sub->add_option("arguments", o->arguments,
                    "FILE (without --port; - for stdin), then KEY=VALUE changes (q7xctl keys "
                    "lists the keys)");
    sub->add_option("--port", o->port, "Change the device at this port: read, change, write");
    sub->add_option("--from", o->from,
                    "Settings as JSON (all or some, as show --json prints them), applied first");
    sub->add_option("-o,--output", o->output,
                    "Store the changed configuration here (a file: instead of replacing FILE)");
    sub->add_flag("--force", o->force, "Replace an existing output file");
    sub->add_flag("--dry-run", o->dryRun,
                  "Show the differences, change nothing (exit 1 when something would change)");
    sub->add_option("--log", o->log, "With --port: append a line for the device to this CSV log");
    sub->add_option("--backup", o->backup,
                    "With --port: keep the device's configuration in this folder first");
    listStatuses(sub, {Done, Different, BadUsage, PortNotOpened, NoAnswer, VerifyFailed, Cancelled},
                 "changed (a device: written and verified, or it held the values already)",
                 "--dry-run: something would change");
    sub->callback([&run, &status, o] {
        QStringList arguments;
        for (const std::string &a : o->arguments)
            arguments << QString::fromStdString(a);
        if (o->port.empty()) {
            if (arguments.isEmpty() || Change::parse(arguments.first())) {
                run.complain(lang::M(1825));
                status = BadUsage;
                return;
            }
            if (!o->log.empty() || !o->backup.empty()) {
                run.complain(lang::M(1939));
                status = BadUsage;
                return;
            }
            status = setFile(run, *o, arguments.mid(1));
            return;
        }
        status = setDevice(run, *o, arguments);
    });
}

} // namespace q7x::cli
