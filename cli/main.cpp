// q7xctl: back up, program, clone, show, compare and check Q71 and Q72 configurations, and write
// their printable sheets, from a terminal or a script, on the codecs and the link engine of the
// configurator's window.
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/usage.h"

#include <QGuiApplication>

#include <cstring>
#include <memory>

namespace {

const char *const ExitStatuses = R"(Exit status:
  0    done (diff, write --dry-run: no differences; check: no problems)
  1    the configurations differ (diff, write --dry-run); problems found (check, show)
  2    bad usage, a bad, damaged or unsuitable file (nothing was written to a device), or an
       output that could not be written completely
  3    the port could not be opened (the reason is given)
  4    the device did not answer or stopped answering
  5    verification failed: the device does not hold what was written
  6    clock: the modem did not start (the device's reason is given)
  130  cancelled by Ctrl+C (a write cut short is reported as such)
Ports: com1..com10 (the configurator's INI section [Ports] maps them), a serial device path such
as /dev/ttyUSB0, or usb for the FTDI converter. "-" is standard input or output wherever a file
is named. "q7xctl help COMMAND" describes a command. See q7xctl(1).)";

// The command the arguments name: the first that is neither an option nor --lang's value.
bool namesReport(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lang") == 0)
            ++i;
        else if (argv[i][0] != '-')
            return std::strcmp(argv[i], "report") == 0;
    }
    return false;
}

bool qtMessagesShown = false;

// Qt's own notes (the platform's start-up chatter) are not the command's output; --verbose
// shows them with the exchange log.
void qtMessage(QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (qtMessagesShown || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv) {
    using namespace q7x::cli;
    Interrupt::install();
    qInstallMessageHandler(qtMessage);
    // The sheet is laid out with Qt GUI's fonts and PDF writer, which need a QGuiApplication;
    // without a display the offscreen platform serves. The other commands stay on QtCore and
    // start without loading a platform.
    std::unique_ptr<QCoreApplication> application;
    if (namesReport(argc, argv)) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    Run run;
    Status status = Done;

    CLI::App cli("q7xctl: configurations of Q71 and Q72 alarm communicators from the command line",
                 "q7xctl");
    cli.set_version_flag("--version", "q7xctl " Q7X_VERSION);
    cli.footer(ExitStatuses);
    cli.require_subcommand(1);
    cli.fallthrough();
    allowOnly(cli.add_option("--lang", run.languageOption,
                             "Language of the output: ru, en or tr (default: the configurator's, "
                             "else the locale's, else ru)"),
              {"ru", "en", "tr"});
    cli.add_flag("-q,--quiet", run.quiet, "Say nothing on success");
    cli.add_flag("-v,--verbose", run.verbose, "Log every exchange with the device on stderr");

    addInfo(cli, run, status);
    addRead(cli, run, status);
    addWrite(cli, run, status);
    addClone(cli, run, status);
    addClock(cli, run, status);
    addShow(cli, run, status);
    addDiff(cli, run, status);
    addCheck(cli, run, status);
    addSet(cli, run, status);
    addImport(cli, run, status);
    addKeys(cli, run, status);
    addPreset(cli, run, status);
    addReport(cli, run, status);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const std::optional<Status> s =
            checkUsage(run, cli, args, QStringLiteral("q7xctl " Q7X_VERSION)))
        return run.finish(*s);
    qtMessagesShown = run.verbose;
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        // The usage check above finds what the parser would refuse; this is the parser's word
        // for anything it did not foresee.
        run.complain(QString::fromStdString(e.what()));
        return run.finish(BadUsage);
    }
    return run.finish(status);
}
