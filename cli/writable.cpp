#include "cli/writable.h"

#include "cli/problems.h"
#include "image/formload.h"
#include "lang/ini.h"
#include "lang/messagetable.h"

namespace q7x::cli {

image::WriteLanguage writeLanguage(const Run &run) {
    const QString language = run.storedLanguage();
    if (language == lang::LangEnglish)
        return image::WriteLanguage::English;
    if (language == lang::LangTurkish)
        return image::WriteLanguage::Turkish;
    return image::WriteLanguage::Russian;
}

bool compareAsWritten(const Run &run, ConfigurationFile &file, bool asStored) {
    if (asStored)
        return false;
    const image::Encoded written = image::imageToWrite(file.model, file.image, writeLanguage(run));
    if (written.ok())
        file.image = written.image;
    return written.ok();
}

Status checkWritable(const Run &run, const ConfigurationFile &file, const FieldText &words) {
    const QList<Problem> problems = findProblems(file.model, file.image, words);
    if (!problems.isEmpty()) {
        run.complain(describe(problems));
        run.complain(lang::M(1830));
        return BadUsage;
    }
    if (!file.outOfRange.isEmpty()) {
        run.complain(describe(outOfRangeProblems(file.model, file.image, file.outOfRange, words)));
        run.complain(lang::M(1848));
    }
    return Done;
}

Status prepareWrite(const Run &run, const QString &path, Writable &out) {
    ConfigurationFile file;
    if (const Status s = readConfiguration(run, path, file); s != Done)
        return s;
    if (const Status s =
            checkWritable(run, file, FieldText(lang::WindowTexts::load(run.language())));
        s != Done)
        return s;
    const image::Encoded e = image::imageToWrite(file.model, file.image, writeLanguage(run));
    if (!e.ok()) {
        run.complain({e.error, lang::M(1830)});
        return BadUsage;
    }
    out.model = file.model;
    out.image = e.image;
    out.source = file;
    out.language = run.storedLanguage();
    return Done;
}

} // namespace q7x::cli
