// Writes q7xctl's JSON Schema at build time: q7xctl_schema OUTPUT FOLDER, where FOLDER holds the
// text libraries whose English captions title the settings.
#include "cli/schema.h"

#include "lang/ini.h"
#include "lang/windowtexts.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: q7xctl_schema OUTPUT FOLDER\n");
        return 2;
    }
    using namespace q7x;
    const cli::FieldText words(
        lang::WindowTexts::load(lang::LangEnglish, QString::fromLocal8Bit(argv[2])));
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(cli::jsonSchema(words).toJson()) < 0 || !out.flush()) {
        std::fprintf(stderr, "q7xctl_schema: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
