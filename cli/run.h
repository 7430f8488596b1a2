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
    Different = 1,       // diff: the configurations differ; check, show: problems found
    BadUsage = 2,        // bad usage, a bad, damaged or unsuitable file, or output not written
    PortNotOpened = 3,   // the port could not be opened (the reason is given)
    NoAnswer = 4,        // the device did not answer or stopped answering
    VerifyFailed = 5,    // what was written did not read back the same
    ModemNotStarted = 6, // clock: the device reported why its modem did not start
    Cancelled = 130,     // Ctrl+C
};
inline constexpr Status ProblemsFound = Different;

class Run {
  public:
    // Options every command takes.
    std::string languageOption; // "ru", "en", "tr" or empty
    bool quiet = false;
    bool verbose = false;
    // The command prints JSON: a failure is also reported as a JSON object on stdout.
    bool json = false;

    // The configurator's settings file (its [Lang] and [Ports] sections), as the window of the
    // same installation or build folder reads it.
    lang::SettingsFile settings() const;
    // The language of the output, "Russian", "English" or "Turkish": --lang, else the language
    // the configurator's settings file holds, else LC_ALL, LC_MESSAGES or LANG (ru, en, tr),
    // else the shipped default, else Russian.
    QString language() const;
    // The interface language the configurator's window stamps into a device it writes: the one
    // its settings (or their shipped defaults) hold, else Russian. Never the output language.
    QString storedLanguage() const;
    void loadMessages() const;

    // A line for people on stdout, unless --quiet.
    void say(const QString &line) const;
    // A result on stdout even with --quiet (what the command was asked for).
    void print(const QString &text) const;
    // A diagnostic on stderr, always; each line begins with "q7xctl: ".
    void complain(const QString &line) const;
    void complain(const QStringList &lines) const;
    // A line of the exchange log on stderr, with --verbose.
    void log(const QString &line) const;
    // The diagnostics said so far.
    QStringList complaints() const { return m_complaints; }

    // Flushes stdout and gives the program's exit status: BadUsage when the output could not be
    // written completely (a result that did not arrive is not a success). A JSON command that
    // failed without printing its result prints {"error": {"status": N, "messages": [...]}}.
    Status finish(Status status) const;

  private:
    void out(const QString &text) const;

    mutable QString m_language;
    mutable QStringList m_complaints;
    mutable bool m_printed = false;
    mutable int m_outputError = 0; // errno of the first failed write to stdout
};

// "ru", "en", "tr" as a language name; empty for anything else.
QString languageOfOption(const QString &option);
// "Russian", "English", "Turkish" in words of the interface language.
QString languageName(const QString &language);
// The language a locale name ("ru_RU.UTF-8", "tr", "en_GB") asks for; empty for others.
QString languageOfLocale(const QString &locale);

// Text from outside (a file name, a value of a file) with control characters escaped as \n, \t,
// \r or \xHH, so that it cannot move the cursor or change the terminal.
QString printable(const QString &text);

// The system's reason for `error` (an errno value) in the interface language.
QString reasonText(int error);

} // namespace q7x::cli
