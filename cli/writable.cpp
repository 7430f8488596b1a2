#include "cli/writable.h"

#include "cli/files.h"
#include "cli/problems.h"
#include "image/formload.h"
#include "lang/ini.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

image::WriteLanguage stampOf(const QString &language) {
    if (language == lang::LangEnglish)
        return image::WriteLanguage::English;
    if (language == lang::LangTurkish)
        return image::WriteLanguage::Turkish;
    return image::WriteLanguage::Russian;
}

} // namespace

Status prepareWrite(const Run &run, const QString &path, Writable &out) {
    ConfigurationFile file;
    if (const Status s = readConfiguration(run, path, file); s != Done)
        return s;
    const QList<Problem> problems =
        findProblems(file.model, file.image, FieldText(lang::WindowTexts::load(run.language())));
    if (!problems.isEmpty()) {
        run.complain(describe(problems));
        run.complain(lang::M(1830));
        return BadUsage;
    }
    const image::Encoded e = image::imageToWrite(file.model, file.image, stampOf(run.language()));
    if (!e.ok()) {
        run.complain({e.error, lang::M(1830)});
        return BadUsage;
    }
    out.model = file.model;
    out.image = e.image;
    return Done;
}

} // namespace q7x::cli
