#pragma once
// What every subcommand of q7xctl shares: the exit statuses, the options common to all commands,
// the interface language, and where people and programs read the output. Text for people goes
// to stdout in the interface language; diagnostics and progress go to stderr.
#include "lang/datapaths.h"

#include <QString>
#include <QStringList>

#include <string>

namespace q7x::cli {

// Exit statuses; part of the interface, documented in --help and the manual page.
enum Status : int {
    Done = 0,
    Different = 1,       // diff: the configurations differ
    BadUsage = 2,        // bad usage or a bad, damaged or unsuitable file
    PortNotOpened = 3,   // the port could not be opened (the reason is given)
    NoAnswer = 4,        // the device did not answer or stopped answering
    VerifyFailed = 5,    // what was written did not read back the same
    ModemNotStarted = 6, // clock: the device reported why its modem did not start
    Cancelled = 130,     // Ctrl+C
};

class Run {
  public:
    // Options every command takes.
    std::string languageOption; // "ru", "en", "tr" or empty
    bool quiet = false;
    bool verbose = false;

    // The configurator's settings file (its [Lang] and [Ports] sections), as the window of the
    // same installation or build folder reads it.
    lang::SettingsFile settings() const;
    // "Russian", "English" or "Turkish": the option, else the stored interface language, else
    // Russian. Loads its messages on first use.
    QString language() const;
    void loadMessages() const;

    // A line for people on stdout, unless --quiet.
    void say(const QString &line) const;
    // A result on stdout even with --quiet (what the command was asked for).
    void print(const QString &text) const;
    // A diagnostic on stderr, always.
    void complain(const QString &line) const;
    void complain(const QStringList &lines) const;
    // A line of the exchange log on stderr, with --verbose.
    void log(const QString &line) const;

  private:
    mutable QString m_language;
};

// "ru", "en", "tr" as a language name; empty for anything else.
QString languageOfOption(const QString &option);

} // namespace q7x::cli
