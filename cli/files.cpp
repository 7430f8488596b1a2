#include "cli/files.h"

#include "image/configfile.h"
#include "lang/messagetable.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q7x::cli {

QString modelLabel(image::DeviceModel model) {
    return model == image::DeviceModel::Q71 ? QStringLiteral("Q71") : QStringLiteral("Q72");
}

Status readConfiguration(const Run &run, const QString &path, ConfigurationFile &out) {
    const image::ConfigFileRead read = image::readConfigFile(path);
    using Kind = image::FileError::Kind;
    const image::FileError &e = read.error;
    if (e.kind == Kind::CannotOpen) {
        run.complain(lang::FormatM(1802, {path, e.detail}));
        return BadUsage;
    }
    if (e.kind == Kind::TooFewLines) {
        run.complain(lang::FormatM(1803, {path, QString::number(e.line)}));
        return BadUsage;
    }
    if (e.kind == Kind::NotANumber) {
        run.complain(lang::FormatM(1804, {path, QString::number(e.line), e.lineText}));
        return BadUsage;
    }
    if (!read.model || !read.image) {
        run.complain(e.message());
        return BadUsage;
    }
    if (*read.model != core::modelCode(image::DeviceModel::Q71) &&
        *read.model != core::modelCode(image::DeviceModel::Q72)) {
        run.complain(lang::FormatM(1805, {path, QString::number(*read.model)}));
        return BadUsage;
    }
    out.model = image::DeviceModel(*read.model);
    out.image = *read.image;
    return Done;
}

Status refuseExisting(const Run &run, const QString &path, bool force) {
    if (force || !(QFileInfo::exists(path) || QFileInfo(path).isSymLink()))
        return Done;
    run.complain(lang::FormatM(1801, path));
    return BadUsage;
}

Status writeAtomically(const Run &run, const QString &path, const QByteArray &contents,
                       bool force) {
    const auto failed = [&](const QString &reason) {
        run.complain(lang::FormatM(1806, {path, reason}));
        return BadUsage;
    };
    if (force) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
            !file.commit())
            return failed(file.errorString());
        return Done;
    }
    if (const Status s = refuseExisting(run, path, false); s != Done)
        return s;
    QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.q7xctl-XXXXXX"));
    if (!temp.open() || temp.write(contents) != contents.size() || !temp.flush())
        return failed(temp.errorString());
    // The modes a newly created file gets, not the private ones of a temporary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(temp.handle(), 0666 & ~mask) != 0 || ::fsync(temp.handle()) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    // The finished file takes the name unless it exists by then. File systems without that
    // kind of rename (older kernels) still have hard links.
    const QByteArray from = QFile::encodeName(temp.fileName()), to = QFile::encodeName(path);
    int moved = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (moved == 0)
        temp.setAutoRemove(false);
    else if (errno == EINVAL || errno == ENOSYS)
        moved = ::link(from.constData(), to.constData());
    if (moved != 0) {
        if (errno == EEXIST) {
            run.complain(lang::FormatM(1801, path));
            return BadUsage;
        }
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    }
    return Done;
}

Status writeConfiguration(const Run &run, const QString &path, const ConfigurationFile &file,
                          bool force) {
    return writeAtomically(run, path, image::formatConfig(file.image, file.model), force);
}

} // namespace q7x::cli
