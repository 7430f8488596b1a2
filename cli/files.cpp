#include "cli/files.h"

#include "cli/interrupt.h"
#include "lang/messagetable.h"

#include <QBuffer>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q7x::cli {

namespace {

// A configuration file is 703 short lines; a reader stops at a line of 1 KiB anyway.
constexpr qint64 MaxConfigurationSize = 1024 * 1024;
// How often a wait for input looks for Ctrl+C.
constexpr int InputPollMs = 200;

bool standardInputTaken = false;

QString folderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QStringLiteral(".")
                     : QFile::decodeName(slash == 0 ? QByteArray("/") : path.left(slash));
}

// The file a chain of symbolic links ends in, or the path itself; errno set when it cannot be
// followed (a loop, a folder that may not be searched).
std::optional<QByteArray> followLinks(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0)
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        if (!S_ISLNK(st.st_mode))
            return path;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.constData(), target.data(), std::size_t(target.size()));
        if (n < 0)
            return std::nullopt;
        target.truncate(n);
        if (!target.startsWith('/') && path.contains('/'))
            target = path.left(path.lastIndexOf('/') + 1) + target;
        path = target;
    }
    errno = ELOOP;
    return std::nullopt;
}

} // namespace

bool writeAll(FileSystem &fs, int fd, const QByteArray &contents) {
    qsizetype done = 0;
    while (done < contents.size()) {
        errno = 0;
        const long n =
            fs.write(fd, contents.constData() + done, std::size_t(contents.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString modelLabel(image::DeviceModel model) {
    return model == image::DeviceModel::Q71 ? QStringLiteral("Q71") : QStringLiteral("Q72");
}

Status readInput(const Run &run, const QString &path, qint64 limit, QByteArray &out) {
    const bool standard = path == QLatin1String("-");
    const QString name = printable(path);
    if (standard && standardInputTaken) {
        run.complain(lang::M(1842));
        return BadUsage;
    }
    const int fd =
        standard ? STDIN_FILENO : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        run.complain(lang::FormatM(1802, {name, reasonText(errno)}));
        return BadUsage;
    }
    standardInputTaken = standardInputTaken || standard;
    out.clear();
    Status status = Done;
    char chunk[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, InputPollMs);
        if (Interrupt::requested()) {
            run.complain(lang::M(1808));
            status = Cancelled;
            break;
        }
        if (ready == 0 || (ready < 0 && errno == EINTR))
            continue;
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < 0) {
            run.complain(lang::FormatM(1802, {name, reasonText(errno)}));
            status = BadUsage;
            break;
        }
        if (n == 0)
            break;
        if (out.size() + n > limit) {
            run.complain(lang::FormatM(1864, {name, QString::number(limit)}));
            status = BadUsage;
            break;
        }
        out.append(chunk, n);
    }
    if (!standard)
        ::close(fd);
    return status;
}

Status readConfiguration(const Run &run, const QString &path, ConfigurationFile &out) {
    QByteArray text;
    if (const Status s = readInput(run, path, MaxConfigurationSize, text); s != Done)
        return s;
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    const QString name = printable(path);
    const image::ConfigFileRead read = image::readConfig(buffer, name);
    using Kind = image::FileError::Kind;
    const image::FileError &e = read.error;
    if (e.kind == Kind::TooFewLines) {
        run.complain(lang::FormatM(1803, {name, QString::number(e.line)}));
        return BadUsage;
    }
    if (e.kind == Kind::NotANumber) {
        run.complain(lang::FormatM(1804, {name, QString::number(e.line), e.lineText}));
        return BadUsage;
    }
    if (!read.model || !read.image) {
        run.complain(e.message());
        return BadUsage;
    }
    if (*read.model != core::modelCode(image::DeviceModel::Q71) &&
        *read.model != core::modelCode(image::DeviceModel::Q72)) {
        run.complain(lang::FormatM(1805, {name, QString::number(*read.model)}));
        return BadUsage;
    }
    out.model = image::DeviceModel(*read.model);
    out.image = *read.image;
    out.outOfRange = read.outOfRange;
    return Done;
}

int FileSystem::makeTemporary(QByteArray &pathTemplate) {
    return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
}

long FileSystem::write(int fd, const char *data, std::size_t size) {
    return long(::write(fd, data, size));
}

int FileSystem::sync(int fd) { return ::fsync(fd); }

int FileSystem::close(int fd) { return ::close(fd); }

int FileSystem::rename(const QByteArray &from, const QByteArray &to, bool replace) {
    if (replace)
        return ::rename(from.constData(), to.constData());
    const int moved =
        ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (moved == 0 || (errno != EINVAL && errno != ENOSYS))
        return moved;
    // File systems without that kind of rename still have hard links.
    if (::link(from.constData(), to.constData()) != 0)
        return -1;
    ::unlink(from.constData());
    return 0;
}

int FileSystem::remove(const QByteArray &path) { return ::unlink(path.constData()); }

FileSystem &FileSystem::system() {
    static FileSystem fs;
    return fs;
}

std::optional<Output> Output::check(const Run &run, const QString &path, bool force) {
    Output o;
    o.m_given = path;
    o.m_force = force;
    if (path == QLatin1String("-")) {
        o.m_kind = Kind::StandardOutput;
        return o;
    }
    const QString name = printable(path);
    const auto refused = [&](int error) {
        run.complain(lang::FormatM(1806, {name, reasonText(error)}));
        return std::nullopt;
    };
    const QByteArray given = QFile::encodeName(path);
    struct stat st {};
    const bool link = ::lstat(given.constData(), &st) == 0 && S_ISLNK(st.st_mode);
    const std::optional<QByteArray> target = followLinks(given);
    if (!target)
        return refused(errno);
    o.m_target = *target;
    if (::stat(target->constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return refused(EISDIR);
        if (S_ISSOCK(st.st_mode))
            return refused(ENXIO);
        if (!S_ISREG(st.st_mode)) {
            o.m_kind = Kind::Special; // a device node or a FIFO: written into, never replaced
            return o;
        }
    } else if (errno != ENOENT) {
        return refused(errno);
    }
    // A link that names no file yet counts as existing: --force says to create its file.
    if (!force && (link || ::access(target->constData(), F_OK) == 0)) {
        run.complain(lang::FormatM(1801, name));
        return std::nullopt;
    }
    const QString folder = folderOf(*target);
    const QByteArray folderPath = QFile::encodeName(folder);
    if (::stat(folderPath.constData(), &st) != 0) {
        if (errno != ENOENT)
            return refused(errno);
        run.complain(lang::FormatM(1840, printable(folder)));
        return std::nullopt;
    }
    if (!S_ISDIR(st.st_mode))
        return refused(ENOTDIR);
    if (::access(folderPath.constData(), W_OK | X_OK) != 0)
        return refused(errno);
    o.m_kind = Kind::Regular;
    return o;
}

Status Output::write(const Run &run, const QByteArray &contents, FileSystem &fs,
                     bool *nameTaken) const {
    const QString name = printable(m_given);
    const auto failed = [&](int error) {
        run.complain(lang::FormatM(1806, {name, reasonText(error)}));
        return BadUsage;
    };
    if (m_kind == Kind::StandardOutput) {
        std::fflush(stdout);
        if (!writeAll(fs, STDOUT_FILENO, contents)) {
            run.complain(lang::FormatM(1841, reasonText(errno)));
            return BadUsage;
        }
        return Done;
    }
    if (m_kind == Kind::Special) {
        const int fd = ::open(m_target.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return failed(errno);
        const bool written = writeAll(fs, fd, contents);
        const int error = errno;
        if (fs.close(fd) != 0 || !written)
            return failed(written ? errno : error);
        return Done;
    }
    QByteArray temp = QFile::encodeName(folderOf(m_target)) + "/.q7xctl-XXXXXX";
    const int fd = fs.makeTemporary(temp);
    if (fd < 0)
        return failed(errno);
    // The modes of the file replaced, or those a newly created file gets (not the private ones
    // of a temporary file).
    struct stat st {};
    mode_t mode = 0;
    if (::stat(m_target.constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = 0;
    if (!writeAll(fs, fd, contents) || ::fchmod(fd, mode) != 0 || fs.sync(fd) != 0)
        error = errno ? errno : EIO;
    if (fs.close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && fs.rename(temp, m_target, m_force) != 0)
        error = errno;
    if (error != 0) {
        const int kept = error;
        fs.remove(temp);
        if (kept == EEXIST && nameTaken) {
            *nameTaken = true;
            return BadUsage;
        }
        if (kept == EEXIST) {
            run.complain(lang::FormatM(1801, name));
            return BadUsage;
        }
        return failed(kept);
    }
    // The new name itself reaches the disk with the folder.
    if (const int dir = ::open(QFile::encodeName(folderOf(m_target)).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Done;
}

Status writeOutput(const Run &run, const QString &path, const QByteArray &contents, bool force) {
    const std::optional<Output> output = Output::check(run, path, force);
    return output ? output->write(run, contents) : BadUsage;
}

QByteArray configurationText(const ConfigurationFile &file) {
    return image::formatConfig(file.image, file.model);
}

} // namespace q7x::cli
