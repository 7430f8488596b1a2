#pragma once
// Configuration files: 703 text lines ending with CR LF, the 702 image bytes in decimal and then
// the model code. Reading keeps the low 8 bits of each byte line and ignores lines after 703;
// writing replaces the file atomically, so a failed save never leaves a partial or empty file.
#include "image/configimage.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QIODevice;

namespace q7x::image {

inline constexpr int ConfigFileLines = ImageSize + 1;
// A line longer than this cannot be a number of a configuration file; reading stops there, so a
// huge or endless input (a device file, a wrong file) is never read to its end.
inline constexpr int ConfigFileMaxLine = 1024;

struct FileError {
    enum class Kind {
        None,
        CannotOpen,   // the file cannot be opened for reading
        TooFewLines,  // the file ends before line 703
        NotANumber,   // a line is not a decimal number (or too long to be one)
        CannotCreate, // the file cannot be created or replaced
        CannotWrite,  // writing or replacing failed; the previous file, if any, is unchanged
    };
    Kind kind = Kind::None;
    QString fileName{};
    int line = 0; // 1-based: the bad line (NotANumber) or the first missing line (TooFewLines)
    QString lineText{}; // the bad line as read, shortened to 40 characters (NotANumber)
    QString detail{};   // the system's reason (CannotOpen, CannotCreate, CannotWrite)

    explicit operator bool() const { return kind != Kind::None; }
    // An English text naming the file and, where it applies, the line.
    QString message() const;
};

// A byte line whose number does not fit in a byte: the image keeps its low 8 bits.
struct OutOfRangeLine {
    int line = 0;  // 1-based
    int value = 0; // as read
};

struct ConfigFileRead {
    // The model code of line 703 whenever the file has 703 lines and that line is a number, even
    // when a byte line is bad: a file of the other model is refused for that before anything else.
    std::optional<int> model;
    // The image, only when all 703 lines were read and converted.
    std::optional<ConfigImage> image;
    FileError error;
    QList<OutOfRangeLine> outOfRange; // in line order
};

// Reads a configuration from `device` (open for reading); `fileName` only names it in errors.
ConfigFileRead readConfig(QIODevice &device, const QString &fileName);
ConfigFileRead readConfigFile(const QString &path);

// The file contents for an image and a model code.
QByteArray formatConfig(const ConfigImage &image, DeviceModel model);
// Writes through a temporary file that replaces `path` only when complete (an existing file is
// replaced without asking). Returns an error with kind None on success.
FileError writeConfigFile(const QString &path, const ConfigImage &image, DeviceModel model);

} // namespace q7x::image
