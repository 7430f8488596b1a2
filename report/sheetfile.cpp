// The sheet from a stored image in a language of the libraries, for tools without the window.
#include "report/sheet.h"

#include "lang/languagelibraries.h"

namespace q7x::report {

Configuration decodeConfiguration(image::DeviceModel model, const image::ConfigImage &img,
                                  QList<image::FieldError> *errors) {
    auto take = [errors](auto decoded) {
        if (errors)
            *errors = decoded.errors;
        return Configuration(std::move(decoded.settings));
    };
    return model == image::DeviceModel::Q71 ? take(image::decodeQ71(img))
                                            : take(image::decodeQ72(img));
}

bool writeSheetPdfInLanguage(const QString &path, const Configuration &c, const SheetOptions &o,
                             const QString &libraryFolder, QString *error) {
    if (!lang::LoadMessageTable(o.language, libraryFolder)) {
        if (error)
            *error = QStringLiteral("No message library for the language \"%1\"").arg(o.language);
        return false;
    }
    const FieldWords words(lang::WindowTexts::load(o.language, libraryFolder));
    return writeSheetPdf(path, c, o, words, error);
}

} // namespace q7x::report
