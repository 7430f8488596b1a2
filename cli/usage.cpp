#include "cli/usage.h"

#include "lang/messagetable.h"

#include <QRegularExpression>

#include <algorithm>
#include <cctype>
#include <map>

namespace q7x::cli {

namespace {

std::map<const CLI::Option *, QStringList> &allowedValues() {
    static std::map<const CLI::Option *, QStringList> values;
    return values;
}

// Edits (insert, delete, replace, swap two neighbours) that turn a into b.
int distance(const QString &a, const QString &b) {
    const qsizetype n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(std::size_t(n + 1), std::vector<int>(std::size_t(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        d[std::size_t(i)][0] = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        d[0][std::size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i)
        for (qsizetype j = 1; j <= m; ++j) {
            const auto I = std::size_t(i), J = std::size_t(j);
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[I][J] = std::min({d[I - 1][J] + 1, d[I][J - 1] + 1, d[I - 1][J - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[I][J] = std::min(d[I][J], d[I - 2][J - 2] + 1);
        }
    return d[std::size_t(n)][std::size_t(m)];
}

QString q(const std::string &s) { return printable(QString::fromStdString(s)); }

QList<const CLI::App *> commandsOf(const CLI::App &app) {
    QList<const CLI::App *> out;
    for (const CLI::App *sub : app.get_subcommands([](const CLI::App *) { return true; }))
        out << sub;
    return out;
}

QStringList optionNames(const CLI::App *app) {
    QStringList names;
    for (const CLI::Option *o : app->get_options()) {
        for (const std::string &l : o->get_lnames())
            names << QStringLiteral("--") + QString::fromStdString(l);
        for (const std::string &s : o->get_snames())
            names << QStringLiteral("-") + QString::fromStdString(s);
    }
    return names;
}

// Reads the arguments as the parser will and says the first mistake.
class Scanner {
  public:
    Scanner(Run &run, const CLI::App &app, const std::vector<std::string> &args)
        : m_run(run), m_app(app), m_args(args) {}

    // Only --lang, so that every other message is said in the language it chooses.
    void takeLanguage() {
        for (std::size_t i = 0; i < m_args.size() && m_args[i] != "--"; ++i) {
            std::string value;
            if (m_args[i].rfind("--lang=", 0) == 0)
                value = m_args[i].substr(7);
            else if (m_args[i] == "--lang" && i + 1 < m_args.size())
                value = m_args[i + 1];
            else
                continue;
            if (!languageOfOption(QString::fromStdString(value)).isEmpty())
                m_run.languageOption = value;
        }
    }

    std::optional<Status> scan(const QString &version) {
        bool positionalOnly = false;
        for (m_at = 0; m_at < m_args.size() && m_error.isEmpty(); ++m_at) {
            const std::string &a = m_args[m_at];
            if (!positionalOnly && a == "--")
                positionalOnly = true;
            else if (!positionalOnly && a.size() > 1 && a[0] == '-')
                option(a);
            else
                positional(a);
        }
        if (m_error.isEmpty() && !m_help && !m_version)
            missing();
        if (!m_error.isEmpty() && !(m_help && m_commandKnown)) {
            m_run.complain(m_error);
            return BadUsage;
        }
        if (m_help) {
            m_run.print(QString::fromStdString(m_command ? m_command->help(m_app.get_name())
                                                         : m_app.help()));
            return Done;
        }
        if (m_version) {
            m_run.print(version + QLatin1Char('\n'));
            return Done;
        }
        return std::nullopt;
    }

  private:
    const CLI::Option *find(const std::string &name) const {
        for (const CLI::App *app : {m_command, &m_app})
            if (app)
                for (const CLI::Option *o : app->get_options())
                    if (o->nonpositional() && o->check_name(name))
                        return o;
        return nullptr;
    }

    void fail(const QString &message) {
        if (m_error.isEmpty())
            m_error = message;
    }

    void suggest(const QString &message, const QString &word, const QStringList &candidates) {
        const QString near = nearest(word, candidates);
        fail(near.isEmpty() ? message : message + QLatin1Char('\n') + lang::FormatM(1871, near));
    }

    void option(const std::string &a) {
        std::string name = a, value;
        bool hasValue = false;
        if (a.rfind("--", 0) == 0) {
            if (const auto eq = a.find('='); eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
                hasValue = true;
            }
        } else if (a.size() > 2) { // -oFILE, or flags run together: -qv
            const CLI::Option *first = find(a.substr(0, 2));
            if (first && first->get_items_expected_max() > 0) {
                name = a.substr(0, 2);
                value = a.substr(2);
                hasValue = true;
            } else {
                for (std::size_t i = 1; i < a.size(); ++i)
                    option(std::string("-") + a[i]);
                return;
            }
        }
        const CLI::Option *o = find(name);
        if (!o) {
            suggest(lang::FormatM(1872, q(name)), QString::fromStdString(name),
                    optionNames(&m_app) + (m_command ? optionNames(m_command) : QStringList()));
            return;
        }
        m_seen.push_back(o);
        if (name == "-h" || name == "--help")
            m_help = true;
        else if (name == "--version")
            m_version = true;
        else if (name == "--json")
            m_run.json = true;
        else if (name == "-q" || name == "--quiet")
            m_run.quiet = true;
        else if (name == "-v" || name == "--verbose")
            m_run.verbose = true;
        if (o->get_items_expected_max() <= 0)
            return;
        if (!hasValue) {
            const bool next = m_at + 1 < m_args.size();
            const std::string &n = next ? m_args[m_at + 1] : value;
            // "-" names standard input or output; "-1" is a value, if a wrong one.
            if (!next || (n.size() > 1 && n[0] == '-' && !std::isdigit(int(n[1])))) {
                fail(lang::FormatM(1873, q(name)));
                return;
            }
            value = n;
            ++m_at;
        }
        const auto allowed = allowedValues().find(o);
        if (allowed != allowedValues().end() &&
            !allowed->second.contains(QString::fromStdString(value)))
            fail(lang::FormatM(1876,
                               {q(value), q(name), allowed->second.join(QStringLiteral(", "))}));
    }

    void positional(const std::string &a) {
        if (!m_command && !m_helpWord) {
            if (a == "help") {
                m_helpWord = m_help = true;
                return;
            }
            command(a);
            return;
        }
        if (!m_command) { // help CMD
            command(a);
            return;
        }
        ++m_positionals;
        int room = 0;
        for (const CLI::Option *o : m_command->get_options())
            if (!o->nonpositional())
                room += std::min(o->get_items_expected_max(), 1 << 20);
        if (m_positionals > room)
            fail(lang::FormatM(1877, q(a)));
    }

    void command(const std::string &a) {
        QStringList names{QStringLiteral("help")};
        for (const CLI::App *sub : commandsOf(m_app)) {
            names << QString::fromStdString(sub->get_name());
            if (sub->check_name(a)) {
                m_command = sub;
                m_commandKnown = true;
                return;
            }
        }
        suggest(lang::FormatM(1870, q(a)), QString::fromStdString(a), names);
    }

    // Required options and arguments that were not given.
    void missing() {
        if (!m_command) {
            QStringList names;
            for (const CLI::App *sub : commandsOf(m_app))
                names << QString::fromStdString(sub->get_name());
            fail(lang::FormatM(1878, names.join(QStringLiteral(", "))));
            return;
        }
        int positionals = m_positionals;
        for (const CLI::Option *o : m_command->get_options()) {
            if (!o->nonpositional()) {
                const bool given = positionals > 0;
                positionals -= std::min(o->get_items_expected_max(), 1 << 20);
                if (o->get_required() && !given)
                    fail(lang::FormatM(1875, QString::fromStdString(o->get_name(true)).toUpper()));
            } else if (o->get_required() &&
                       std::find(m_seen.begin(), m_seen.end(), o) == m_seen.end()) {
                fail(lang::FormatM(1874, QString::fromStdString(o->get_name(false, true))));
            }
        }
    }

    Run &m_run;
    const CLI::App &m_app;
    const std::vector<std::string> &m_args;
    std::size_t m_at = 0;
    const CLI::App *m_command = nullptr;
    bool m_commandKnown = false, m_helpWord = false, m_help = false, m_version = false;
    int m_positionals = 0;
    std::vector<const CLI::Option *> m_seen;
    QString m_error;
};

} // namespace

void allowOnly(CLI::Option *option, const QStringList &values) {
    allowedValues()[option] = values;
    std::vector<std::string> members;
    for (const QString &v : values)
        members.push_back(v.toStdString());
    option->check(CLI::IsMember(members));
}

void listStatuses(CLI::App *command, std::initializer_list<Status> statuses, const char *done,
                  const char *one) {
    std::string text = "Exit status:";
    for (const Status s : statuses) {
        const char *meaning = s == Done              ? done
                              : s == Different       ? one
                              : s == BadUsage        ? "bad usage, a bad or unsuitable file, or an "
                                                       "output not written completely"
                              : s == PortNotOpened   ? "the port could not be opened"
                              : s == NoAnswer        ? "the device did not answer"
                              : s == VerifyFailed    ? "verification failed"
                              : s == ModemNotStarted ? "the modem did not start"
                                                     : "cancelled by Ctrl+C";
        text += "\n  " + std::to_string(int(s)) +
                std::string(5 - std::to_string(int(s)).size(), ' ') + meaning;
    }
    command->footer(text);
}

QString nearest(const QString &word, const QStringList &candidates) {
    const QString bare = QString(word).remove(QRegularExpression(QStringLiteral("^-+")));
    if (bare.size() < 3) // "-o" is not a typo of "-q"
        return {};
    QString best;
    int bestDistance = std::max<int>(1, std::min<int>(3, int(bare.size()) / 3)) + 1;
    for (const QString &c : candidates) {
        const QString plain = QString(c).remove(QRegularExpression(QStringLiteral("^-+")));
        int d = distance(bare, plain);
        if (bare.size() >= 3 && plain.startsWith(bare))
            d = std::min(d, 1); // the start of a longer name
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    return best;
}

std::optional<Status> checkUsage(Run &run, const CLI::App &app,
                                 const std::vector<std::string> &args, const QString &version) {
    Scanner scanner(run, app, args);
    scanner.takeLanguage();
    run.loadMessages();
    return scanner.scan(version);
}

} // namespace q7x::cli
