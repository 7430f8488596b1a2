#pragma once
// What keeps a configuration file from being written as it stands: fields the decoder finds
// damaged (the window would restore the factory settings), values no list item shows (the window
// would keep a choice of its own), and values the encoder cannot store. Each is named by its
// setting and placed by its line and byte in the file.
#include "cli/fieldtext.h"
#include "cli/run.h"
#include "image/configimage.h"

#include <QJsonArray>

namespace q7x::cli {

struct Problem {
    enum class Kind { Damaged, Unshown, Unstorable };
    Kind kind = Kind::Damaged;
    int offset = -1; // first image byte of the field; -1 when it cannot be placed
    QString key;     // catalogue key
    QString setting; // the captions that name it, in the interface language
    QString detail;  // the encoder's message of an unstorable value
};

// All problems, or only the damaged fields.
QList<Problem> findProblems(image::DeviceModel model, const image::ConfigImage &img,
                            const FieldText &words, bool damagedOnly = false);

// One line per problem: "line 41 (byte 40): Номер телефона 2: damaged data".
QStringList describe(const QList<Problem> &problems);
QJsonArray toJson(const QList<Problem> &problems);

} // namespace q7x::cli
