// q7xctl check FILE: whether a configuration file can be written to a device as it stands.
#include "cli/commands.h"
#include "cli/files.h"
#include "cli/problems.h"
#include "cli/settingsjson.h"
#include "lang/messagetable.h"

#include <algorithm>

namespace q7x::cli {

void addCheck(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string file;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "check", "Name every damaged field, every value no list shows, every value that cannot "
                 "be stored and every line out of a byte's range; exit 0 when there is none");
    sub->add_option("file", o->file, "The configuration file (- for stdin)")->required();
    sub->add_flag("--json", o->json, "Print the findings as JSON");
    listStatuses(sub, {Done, ProblemsFound, BadUsage, Cancelled}, "no problems",
                 "problems found (each is named)");
    sub->callback([&run, &status, o] {
        ConfigurationFile file;
        status = readConfiguration(run, QString::fromStdString(o->file), file);
        if (status != Done)
            return;
        const FieldText words(lang::WindowTexts::load(run.language()));
        QList<Problem> problems =
            findProblems(file.model, file.image, words) +
            outOfRangeProblems(file.model, file.image, file.outOfRange, words);
        std::stable_sort(problems.begin(), problems.end(),
                         [](const Problem &a, const Problem &b) { return a.offset < b.offset; });
        status = problems.isEmpty() ? Done : ProblemsFound;
        if (o->json) {
            JsonNode out = jsonDocument(QStringLiteral("q7xctl-check"));
            out.insert(QStringLiteral("model"), modelLabel(file.model));
            out.insert(QStringLiteral("clean"), problems.isEmpty());
            out.insert(QStringLiteral("problems"), toJson(problems));
            run.print(QString::fromUtf8(out.toJson()));
        } else if (problems.isEmpty()) {
            run.say(lang::M(1824));
        } else {
            for (const QString &line : describe(problems))
                run.print(line + QLatin1Char('\n'));
        }
    });
}

} // namespace q7x::cli
