#include "image/configfile.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace q7x::image {

namespace {

using Kind = FileError::Kind;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A decimal integer in the range of a 32-bit int, optionally signed and surrounded by blanks.
std::optional<int> parseLine(QByteArrayView line) {
    qsizetype begin = 0, end = line.size();
    while (begin < end && isSpace(line[begin]))
        ++begin;
    while (end > begin && isSpace(line[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (line[begin] == '+' || line[begin] == '-')) {
        negative = line[begin] == '-';
        ++begin;
    }
    if (begin == end)
        return std::nullopt;
    long long value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max() + (negative ? 1LL : 0LL))
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

FileError lineError(const QString &fileName, int line, QByteArrayView text) {
    FileError e{Kind::NotANumber, fileName, line};
    QByteArray shown = text.first(std::min<qsizetype>(text.size(), 40)).toByteArray();
    while (!shown.isEmpty() && (shown.endsWith('\n') || shown.endsWith('\r')))
        shown.chop(1);
    e.lineText = QString::fromUtf8(shown);
    for (QChar &c : e.lineText) // a binary or UTF-16 file must not put control codes in a message
        if (!c.isPrint())
            c = u'?';
    return e;
}

} // namespace

QString FileError::message() const {
    switch (kind) {
    case Kind::None:
        return QString();
    case Kind::CannotOpen:
        return QStringLiteral("Cannot open file %1: %2").arg(fileName, detail);
    case Kind::TooFewLines:
        return QStringLiteral("%1 is not a configuration file: it ends after line %2, but a "
                              "configuration file has %3 lines.")
            .arg(fileName)
            .arg(line - 1)
            .arg(ConfigFileLines);
    case Kind::NotANumber:
        return QStringLiteral("%1 is not a configuration file: line %2 (\"%3\") is not a decimal "
                              "number.")
            .arg(fileName)
            .arg(line)
            .arg(lineText);
    case Kind::CannotCreate:
        return QStringLiteral("Cannot create file %1: %2").arg(fileName, detail);
    case Kind::CannotWrite:
        return QStringLiteral("Cannot write file %1: %2. No file was changed.")
            .arg(fileName, detail);
    }
    return QString();
}

ConfigFileRead readConfig(QIODevice &device, const QString &fileName) {
    ConfigFileRead r;
    // Values of the 703 lines; the first bad byte line is remembered, because a file that is too
    // short or that belongs to another model is reported as such first.
    std::array<std::uint8_t, ImageSize> bytes{};
    std::optional<FileError> badByteLine;
    int lines = 0;
    while (lines < ConfigFileLines) {
        QByteArray line = device.readLine(ConfigFileMaxLine + 2);
        if (line.isEmpty())
            break; // end of input (a final line ending is not a further line)
        ++lines;
        if (line.size() > ConfigFileMaxLine) {
            // Too long to be a number; the rest of the input is not looked at.
            r.error = lineError(fileName, lines, line);
            return r;
        }
        if (lines == 1 && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        const auto value = parseLine(line);
        if (lines == ConfigFileLines) {
            if (!value) {
                r.error = lineError(fileName, lines, line);
                return r;
            }
            r.model = *value;
        } else if (!value) {
            if (!badByteLine)
                badByteLine = lineError(fileName, lines, line);
        } else {
            if (*value < 0 || *value > 0xFF)
                r.outOfRange.append({lines, *value});
            bytes[lines - 1] = std::uint8_t(unsigned(*value) & 0xFFu);
        }
    }
    if (lines < ConfigFileLines) {
        r.error = FileError{Kind::TooFewLines, fileName, lines + 1};
        return r;
    }
    if (badByteLine) {
        r.error = *badByteLine;
        return r;
    }
    r.image = bytes;
    return r;
}

ConfigFileRead readConfigFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ConfigFileRead r;
        r.error = FileError{Kind::CannotOpen, path, 0, QString(), file.errorString()};
        return r;
    }
    return readConfig(file, path);
}

QByteArray formatConfig(const ConfigImage &image, DeviceModel model) {
    QByteArray out;
    out.reserve(ConfigFileLines * 5);
    for (std::uint8_t b : image) {
        out += QByteArray::number(b);
        out += "\r\n";
    }
    out += QByteArray::number(core::modelCode(model));
    out += "\r\n";
    return out;
}

FileError writeConfigFile(const QString &path, const ConfigImage &image, DeviceModel model) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileError{Kind::CannotCreate, path, 0, QString(), file.errorString()};
    const QByteArray data = formatConfig(image, model);
    // QSaveFile buffers the data and commit() does not notice when writing the buffer out fails
    // part-way (a full disk): it would put a cut-off file in place. Flushing first and checking
    // the result keeps the previous file in that case.
    if (file.write(data) != data.size() || !file.flush()) {
        // A write cut short (a full disk, a size limit) comes without a system reason of its own.
        file.cancelWriting();
        return FileError{Kind::CannotWrite, path, 0, QString(),
                         QStringLiteral("the data could not be written completely")};
    }
    if (!file.commit())
        return FileError{Kind::CannotWrite, path, 0, QString(), file.errorString()};
    return FileError{};
}

} // namespace q7x::image
