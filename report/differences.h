#pragma once
// What the comparison of the window with a file or a device found, in words, row by row and
// page by page in the window's order: each field of the other side that could not be read, each
// window value that cannot be written, and each setting that differs.
#include "image/compare.h"
#include "report/fieldwords.h"

namespace q7x::report {

struct DifferenceRow {
    enum class Kind { Differs, Unstorable, Damaged };
    Kind kind = Kind::Differs;
    QString page; // "Получатели сообщений / Типы оповещения"; empty when not known
    QString setting;   // the captions that name the setting
    QString window;    // the window's value as a write would store it, or why it cannot be
    QString other;     // the other side's value, or that it was damaged
    QString key;       // the catalogue key; empty for a damaged field no setting names
    QStringList pages; // tab sheets, outer first
    QString control;   // the window control that shows the setting; empty for none
};

// `window`: the settings gathered from the window; `other`: the decoded file or device image.
// `device` chooses how a damaged field of the other side is described.
QList<DifferenceRow> differenceRows(const image::Q72Settings &window,
                                    const image::DecodeResult<image::Q72Settings> &other,
                                    const FieldWords &words, bool device);
QList<DifferenceRow> differenceRows(const image::Q71Settings &window,
                                    const image::DecodeResult<image::Q71Settings> &other,
                                    const FieldWords &words, bool device);

} // namespace q7x::report
