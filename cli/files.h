#pragma once
// Files on the command line. "-" is standard input where a file is read and standard output
// where one is written. Input is read to its end, whatever the chunks and pauses of a pipe.
// An output is checked before any work is done for it (a device is read only when its result
// can be stored); a regular file is replaced in one step, never over an existing file unless
// --force is given; a device node or a FIFO is written into as it is; a symbolic link is
// followed and stays.
#include "cli/run.h"
#include "image/configfile.h"

#include <QByteArray>

#include <cstddef>
#include <optional>

namespace q7x::cli {

struct ConfigurationFile {
    image::DeviceModel model = image::DeviceModel::Q72;
    image::ConfigImage image{};
    QList<image::OutOfRangeLine> outOfRange; // byte lines the image keeps only the low 8 bits of
};

// The whole of `path` ("-": standard input), at most `limit` bytes; BadUsage, said, otherwise.
// Ctrl+C while it waits for input ends it with Cancelled.
Status readInput(const Run &run, const QString &path, qint64 limit, QByteArray &out);

// BadUsage, with the reason said, when the file cannot be read, is not a configuration file or
// belongs to no known model.
Status readConfiguration(const Run &run, const QString &path, ConfigurationFile &out);

// The calls that put an output file in place, one at a time, so that a test can watch their
// order. Each returns what the system call returns and leaves errno set on failure.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // mkstemp(): `pathTemplate` ends in XXXXXX and gets the name made.
    virtual int makeTemporary(QByteArray &pathTemplate);
    virtual long write(int fd, const char *data, std::size_t size);
    virtual int sync(int fd);
    virtual int close(int fd);
    // Without `replace`, fails with EEXIST when `to` exists by then.
    virtual int rename(const QByteArray &from, const QByteArray &to, bool replace);
    virtual int remove(const QByteArray &path);

    static FileSystem &system();
};

// Writes all of `contents` to `fd`, again after an interruption; false (errno set) when the
// file took less.
bool writeAll(FileSystem &fs, int fd, const QByteArray &contents);

class Output {
  public:
    // The output `path` names; nothing, with the reason said, when it cannot be written: an
    // existing file without `force`, a folder, a socket, a folder that does not exist or may not
    // be written.
    static std::optional<Output> check(const Run &run, const QString &path, bool force);

    // A regular file gets `contents` in a temporary file beside it, synced to the disk before
    // it takes the name, so that after a power cut the name holds the old file or the new one.
    // Without `force`, a file that took the name meanwhile is kept; with `nameTaken` given that
    // is not said but set there, for a caller that tries another name.
    Status write(const Run &run, const QByteArray &contents, FileSystem &fs = FileSystem::system(),
                 bool *nameTaken = nullptr) const;

    QString name() const { return m_given; }

  private:
    enum class Kind { StandardOutput, Special, Regular };
    Kind m_kind = Kind::Regular;
    QString m_given;     // as given
    QByteArray m_target; // the file written: the end of a chain of links
    bool m_force = false;
};

// Checks the output and writes it in one call, for a command with nothing to do between.
Status writeOutput(const Run &run, const QString &path, const QByteArray &contents, bool force);
QByteArray configurationText(const ConfigurationFile &file);

// The model as a configuration file's reader sees it ("Q71", "Q72").
QString modelLabel(image::DeviceModel model);

} // namespace q7x::cli
