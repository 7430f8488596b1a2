#pragma once
// What keeps a configuration file from being written as it stands: fields the decoder finds
// damaged (the window would restore the factory settings), values no list item shows (the window
// would keep a choice of its own), and values the encoder cannot store. Also lines whose number
// does not fit in a byte: the file is loaded with the low 8 bits, as the window loads it, but the
// device then gets a value the file does not say. Each is named by its setting and placed by its
// line and byte in the file.
#include "cli/fieldtext.h"
#include "cli/run.h"
#include "image/configfile.h"
#include "image/configimage.h"

#include <QJsonArray>

namespace q7x::cli {

struct Problem {
    enum class Kind { Damaged, Unshown, Unstorable, OutOfRange };
    Kind kind = Kind::Damaged;
    int offset = -1; // first image byte of the field; -1 when it cannot be placed
    QString key;     // catalogue key
    QString setting; // the captions that name it, in the interface language
    QString detail;  // the encoder's message of an unstorable value; what an out-of-range
                     // line reads and what is stored
};

// All problems, or only the damaged fields.
QList<Problem> findProblems(image::DeviceModel model, const image::ConfigImage &img,
                            const FieldText &words, bool damagedOnly = false);

// The lines of the file that do not fit in a byte, named by the settings of their byte.
QList<Problem> outOfRangeProblems(image::DeviceModel model, const image::ConfigImage &img,
                                  const QList<image::OutOfRangeLine> &lines,
                                  const FieldText &words);

// One line per problem: "line 41 (byte 40): Номер телефона 2: damaged data".
QStringList describe(const QList<Problem> &problems);
QJsonArray toJson(const QList<Problem> &problems);

} // namespace q7x::cli
