#include "cli/fleet.h"

#include "cli/files.h"
#include "lang/messagetable.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q7x::cli {

namespace {

QByteArray csvField(const QString &text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    return '"' + bytes.replace('"', "\"\"") + '"';
}

const char *resultWord(LogEntry::Result r) {
    switch (r) {
    case LogEntry::Result::Written:
        return "written";
    case LogEntry::Result::Unchanged:
        return "unchanged";
    case LogEntry::Result::DryRun:
        return "dry-run";
    case LogEntry::Result::Skipped:
        return "skipped";
    case LogEntry::Result::Failed:
        return "failed";
    case LogEntry::Result::Cancelled:
        return "cancelled";
    }
    return "";
}

QString now() {
    const QDateTime local = QDateTime::currentDateTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

std::optional<FleetLog> FleetLog::open(const Run &run, const QString &path) {
    const QString name = printable(path);
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        run.complain(lang::FormatM(1924, {name, reasonText(errno)}));
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    FleetLog log(fd, name);
    // A log that starts empty names its columns first, once, also when runs side by side open
    // it at the same moment: the lock makes the look at its size and the header one step.
    if (!S_ISREG(st.st_mode))
        return log;
    const bool locked = ::flock(fd, LOCK_EX) == 0;
    const bool headed = ::fstat(fd, &st) == 0 &&
                        (st.st_size > 0 || writeAll(FileSystem::system(), fd, header() + '\n'));
    const int error = errno;
    if (locked)
        ::flock(fd, LOCK_UN);
    if (!headed) {
        run.complain(lang::FormatM(1924, {name, reasonText(error)}));
        return std::nullopt;
    }
    return log;
}

FleetLog::FleetLog(FleetLog &&other) noexcept : m_fd(other.m_fd), m_name(other.m_name) {
    other.m_fd = -1;
}

FleetLog &FleetLog::operator=(FleetLog &&other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        m_name = other.m_name;
        other.m_fd = -1;
    }
    return *this;
}

FleetLog::~FleetLog() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray FleetLog::header() {
    return "time,port,model,firmware,action,result,status,sha256,backup";
}

QByteArray FleetLog::line(const LogEntry &e, const QString &time) {
    return QByteArrayList{csvField(time),
                          csvField(e.port),
                          csvField(e.model),
                          csvField(e.firmware),
                          csvField(e.action),
                          resultWord(e.result),
                          QByteArray::number(e.status),
                          csvField(e.sha256),
                          csvField(e.backup)}
        .join(',');
}

bool FleetLog::append(const Run &run, const LogEntry &entry) {
    // One write call per line, so that lines of two runs appending to one log do not mix.
    const bool written = writeAll(FileSystem::system(), m_fd, line(entry, now()) + '\n');
    struct stat st {};
    const bool synced = ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fsync(m_fd) == 0;
    if (written && synced)
        return true;
    run.complain(lang::FormatM(1924, {m_name, reasonText(errno)}));
    return false;
}

QString writtenHash(image::DeviceModel model, const image::ConfigImage &image) {
    const char *bytes = reinterpret_cast<const char *>(image.data());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (model == image::DeviceModel::Q71) {
        hash.addData(QByteArrayView(bytes, 320));
    } else {
        hash.addData(QByteArrayView(bytes, 352));
        hash.addData(QByteArrayView(bytes + 416, 96));
    }
    return QString::fromLatin1(hash.result().toHex());
}

Status checkBackupFolder(const Run &run, const QString &folder) {
    const QByteArray path = QFile::encodeName(folder);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        if (errno == ENOENT)
            run.complain(lang::FormatM(1840, printable(folder)));
        else
            run.complain(lang::FormatM(1806, {printable(folder), reasonText(errno)}));
        return BadUsage;
    }
    if (!S_ISDIR(st.st_mode) || ::access(path.constData(), W_OK | X_OK) != 0) {
        run.complain(lang::FormatM(
            1806, {printable(folder), reasonText(S_ISDIR(st.st_mode) ? errno : ENOTDIR)}));
        return BadUsage;
    }
    return Done;
}

QString keepBackup(const Run &run, const QString &folder, image::DeviceModel model,
                   const QString &firmware, const image::ConfigImage &image, FileSystem &fs) {
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.]"));
    const QString stem =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd'T'HHmmss")) +
        QLatin1Char('-') + modelLabel(model) + QLatin1Char('-') +
        (firmware.isEmpty() ? QStringLiteral("unknown")
                            : QString(firmware).replace(unsafe, QStringLiteral("_")));
    const QDir dir(folder);
    const QByteArray text = configurationText({model, image, {}});
    QString path;
    for (int n = 1; n < 1000; ++n) {
        path = dir.filePath(stem + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) +
                            QStringLiteral(".cfg"));
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        // Never put over a file: runs backing up devices side by side in one folder within the
        // same second each take a name of their own.
        const std::optional<Output> out = Output::check(run, path, false);
        if (!out)
            return {};
        bool taken = false;
        if (out->write(run, text, fs, &taken) == Done)
            return path;
        if (!taken)
            return {};
    }
    run.complain(lang::FormatM(1801, printable(path)));
    return {};
}

} // namespace q7x::cli
