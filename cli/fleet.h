#pragma once
// What the commands that change devices leave behind for an installer looking after many sites:
// a log a script can read, one line per device (--log), and a backup of each device's
// configuration taken before it is overwritten (--backup).
//
// The log is CSV (RFC 4180), appended to, with a header line when it starts empty:
//   time,port,model,firmware,action,result,status,sha256,backup
//   2025-03-09T07:05:42+03:00,/dev/ttyUSB0,Q72,1_3,clone,written,0,9f86…,backups/2025….cfg
// `result` is one of the words of Result below, `status` the exit status the device alone would
// give, `sha256` the hash of the bytes the write stored in the device (empty when nothing was
// written), `backup` the backup file (empty when none was kept).
#include "cli/files.h"
#include "image/configimage.h"

#include <optional>

namespace q7x::cli {

struct LogEntry {
    enum class Result { Written, Unchanged, DryRun, Skipped, Failed, Cancelled };
    QString port, model, firmware; // model and firmware are empty when no device answered
    QString action;                // the command: "write", "set", "clone"
    Result result = Result::Written;
    int status = 0;
    QString sha256, backup;
};

class FleetLog {
  public:
    // The log at `path`, opened for appending; nothing, with the reason said, when it cannot be.
    static std::optional<FleetLog> open(const Run &run, const QString &path);
    FleetLog(FleetLog &&other) noexcept;
    FleetLog &operator=(FleetLog &&other) noexcept;
    FleetLog(const FleetLog &) = delete;
    ~FleetLog();

    // Appends the line and puts it on the disk, so that a run cut short keeps what it logged;
    // false, with the reason said, when it could not.
    bool append(const Run &run, const LogEntry &entry);

    // The line of an entry at `time` (ISO 8601 with the offset from UTC), without its end.
    static QByteArray line(const LogEntry &entry, const QString &time);
    static QByteArray header();

  private:
    FleetLog(int fd, QString name) : m_fd(fd), m_name(std::move(name)) {}
    int m_fd = -1;
    QString m_name;
};

// The SHA-256 (hexadecimal) of the bytes a write stores in a device of `model`, in the image's
// order: a Q71's 320 bytes, a Q72's bytes 0..351 and 416..511 (the others it does not write).
QString writtenHash(image::DeviceModel model, const image::ConfigImage &image);

// BadUsage, said, unless `folder` is a folder this user may write into.
Status checkBackupFolder(const Run &run, const QString &folder);

// Keeps `image`, as read from a device of `model` with `firmware`, in `folder` as a configuration
// file named by the time, the model and the firmware ("20250309T070542-Q72-1_3.cfg"; "-2" and so
// on is added rather than replace a file, also one that another run takes meanwhile). Its path,
// or empty with the reason said.
QString keepBackup(const Run &run, const QString &folder, image::DeviceModel model,
                   const QString &firmware, const image::ConfigImage &image,
                   FileSystem &fs = FileSystem::system());

} // namespace q7x::cli
