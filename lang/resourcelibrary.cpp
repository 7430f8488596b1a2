#include "lang/resourcelibrary.h"

#include <QFile>

#include <algorithm>

namespace q7x::lang {

namespace {

// Layout constants of the PE format.
constexpr qint64 DosHeaderSize = 64;
constexpr qint64 PeOffsetField = 0x3C;
constexpr qint64 CoffHeaderSize = 20;
constexpr qint64 SectionHeaderSize = 40;
constexpr quint16 Pe32Magic = 0x10B;
constexpr quint16 Pe32PlusMagic = 0x20B;
constexpr quint32 ResourceDirectoryIndex = 2;
constexpr quint32 ResourceDirectoryHeaderSize = 16;
constexpr quint32 ResourceEntrySize = 8;
constexpr quint32 ResourceDataEntrySize = 16;
constexpr quint32 HighBit = 0x80000000u;

constexpr quint32 RtBitmap = 2;
constexpr quint32 RtString = 6;
constexpr quint32 RtRcData = 10;

constexpr qint64 BmpFileHeaderSize = 14;

} // namespace

quint16 ResourceLibrary::u16(qint64 offset) const {
    const auto *p = reinterpret_cast<const unsigned char *>(data_.constData()) + offset;
    return static_cast<quint16>(p[0] | (p[1] << 8));
}

quint32 ResourceLibrary::u32(qint64 offset) const {
    const auto *p = reinterpret_cast<const unsigned char *>(data_.constData()) + offset;
    return static_cast<quint32>(p[0]) | (static_cast<quint32>(p[1]) << 8) |
           (static_cast<quint32>(p[2]) << 16) | (static_cast<quint32>(p[3]) << 24);
}

bool ResourceLibrary::load(const QString &path) {
    release();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size > MaxFileSize)
        return false;
    // Only as much is asked for as the file holds (and one byte more): read() reserves what it is
    // asked for. A file that changed size meanwhile is refused rather than read in part.
    const QByteArray bytes = file.read(size + 1);
    if (bytes.size() != size)
        return false;
    return loadData(bytes);
}

bool ResourceLibrary::loadData(const QByteArray &data) {
    release();
    if (data.size() > MaxFileSize)
        return false;
    data_ = data;
    loaded_ = parse();
    if (!loaded_)
        release();
    return loaded_;
}

void ResourceLibrary::release() {
    data_.clear();
    sections_.clear();
    resourceRva_ = 0;
    resourceSize_ = 0;
    loaded_ = false;
}

bool ResourceLibrary::parse() {
    const qint64 size = data_.size();
    if (size < DosHeaderSize || data_.at(0) != 'M' || data_.at(1) != 'Z')
        return false;
    const qint64 pe = u32(PeOffsetField);
    if (pe + 4 + CoffHeaderSize > size)
        return false;
    if (u32(pe) != 0x00004550u) // "PE\0\0"
        return false;
    const qint64 coff = pe + 4;
    const quint16 sectionCount = u16(coff + 2);
    const quint16 optionalSize = u16(coff + 16);
    const qint64 optional = coff + CoffHeaderSize;
    if (optional + optionalSize > size || optionalSize < 2)
        return false;

    // The data directories follow the fixed part of the optional header, whose length depends
    // on the format: 96 bytes for PE32, 112 for PE32+.
    const quint16 magic = u16(optional);
    qint64 fixedPart = 0;
    if (magic == Pe32Magic)
        fixedPart = 96;
    else if (magic == Pe32PlusMagic)
        fixedPart = 112;
    else
        return false;
    if (fixedPart > optionalSize)
        return false;
    const quint32 directoryCount = u32(optional + fixedPart - 4);
    if (directoryCount <= ResourceDirectoryIndex)
        return false;
    const qint64 resourceEntry = optional + fixedPart + 8 * ResourceDirectoryIndex;
    if (resourceEntry + 8 > optional + optionalSize)
        return false;
    resourceRva_ = u32(resourceEntry);
    resourceSize_ = u32(resourceEntry + 4);
    if (resourceSize_ < ResourceDirectoryHeaderSize)
        return false;

    const qint64 table = optional + optionalSize;
    if (table + sectionCount * SectionHeaderSize > size)
        return false;
    sections_.reserve(sectionCount);
    for (qint64 i = 0; i < sectionCount; ++i) {
        const qint64 h = table + i * SectionHeaderSize;
        sections_.append(Section{u32(h + 8), u32(h + 12), u32(h + 16), u32(h + 20)});
    }
    return mapResource(0, ResourceDirectoryHeaderSize).has_value();
}

// Maps an image address range to a file range inside the raw data of one section. Only the
// part of the raw data that the section's virtual size covers is part of the image.
std::optional<ResourceLibrary::Span> ResourceLibrary::mapRva(quint32 rva, quint32 size) const {
    for (const Section &s : sections_) {
        if (rva < s.virtualAddress)
            continue;
        const qint64 delta = qint64(rva) - s.virtualAddress;
        const quint32 mapped = s.virtualSize != 0 ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
        if (delta + size > qint64(mapped))
            continue;
        const qint64 offset = qint64(s.rawOffset) + delta;
        if (offset + size > data_.size())
            continue;
        return Span{offset, size};
    }
    return std::nullopt;
}

// Maps a range given relative to the start of the resource directory; it must lie within the
// directory's stated size.
std::optional<ResourceLibrary::Span> ResourceLibrary::mapResource(qint64 offset,
                                                                  qint64 size) const {
    if (offset < 0 || size < 0 || offset + size > resourceSize_)
        return std::nullopt;
    // resourceRva_ + resourceSize_ may pass 4 GiB in a corrupt file.
    const qint64 rva = qint64(resourceRva_) + offset;
    if (rva + size > 0xFFFFFFFFll)
        return std::nullopt;
    return mapRva(static_cast<quint32>(rva), static_cast<quint32>(size));
}

// The entries of the directory at dirOffset: file offset of the first and their number.
std::optional<std::pair<qint64, quint32>> ResourceLibrary::entries(qint64 dirOffset) const {
    const auto header = mapResource(dirOffset, ResourceDirectoryHeaderSize);
    if (!header)
        return std::nullopt;
    const quint32 count = quint32(u16(header->offset + 12)) + u16(header->offset + 14);
    const auto list =
        mapResource(dirOffset + ResourceDirectoryHeaderSize, qint64(count) * ResourceEntrySize);
    if (!list)
        return std::nullopt;
    return std::make_pair(list->offset, count);
}

static ResourceLibrary::Entry entryTarget(quint32 field) {
    return ResourceLibrary::Entry{(field & HighBit) != 0, field & ~HighBit};
}

std::optional<ResourceLibrary::Entry> ResourceLibrary::findById(qint64 dirOffset,
                                                                quint32 id) const {
    const auto list = entries(dirOffset);
    if (!list)
        return std::nullopt;
    for (quint32 i = 0; i < list->second; ++i) {
        const qint64 e = list->first + qint64(i) * ResourceEntrySize;
        if (u32(e) == id)
            return entryTarget(u32(e + 4));
    }
    return std::nullopt;
}

std::optional<ResourceLibrary::Entry> ResourceLibrary::findByName(qint64 dirOffset,
                                                                  const QString &name) const {
    const auto list = entries(dirOffset);
    if (!list)
        return std::nullopt;
    for (quint32 i = 0; i < list->second; ++i) {
        const qint64 e = list->first + qint64(i) * ResourceEntrySize;
        const quint32 field = u32(e);
        if (!(field & HighBit))
            continue;
        // A name is a length-prefixed UTF-16LE string stored inside the resource directory.
        const qint64 at = field & ~HighBit;
        const auto length = mapResource(at, 2);
        if (!length)
            continue;
        const quint16 n = u16(length->offset);
        if (n != name.size())
            continue;
        const auto chars = mapResource(at + 2, qint64(n) * 2);
        if (!chars)
            continue;
        bool same = true;
        for (qint64 k = 0; k < n && same; ++k) {
            const char16_t c = u16(chars->offset + 2 * k);
            same = QChar(c).toUpper() == name.at(k).toUpper();
        }
        if (same)
            return entryTarget(u32(e + 4));
    }
    return std::nullopt;
}

// The language level holds one data entry per language; a library carries one language, and
// of several the first is taken.
std::optional<ResourceLibrary::Span> ResourceLibrary::resourceData(const Entry &nameEntry) const {
    if (!nameEntry.isDirectory)
        return std::nullopt;
    const auto list = entries(nameEntry.offset);
    if (!list || list->second == 0)
        return std::nullopt;
    const Entry language = entryTarget(u32(list->first + 4));
    if (language.isDirectory)
        return std::nullopt;
    const auto entry = mapResource(language.offset, ResourceDataEntrySize);
    if (!entry)
        return std::nullopt;
    // The data entry holds an image address, which goes through the section table.
    return mapRva(u32(entry->offset), u32(entry->offset + 4));
}

std::optional<ResourceLibrary::Entry> ResourceLibrary::typeDirectory(quint32 type) const {
    const auto t = findById(0, type);
    if (!t || !t->isDirectory)
        return std::nullopt;
    return t;
}

QString ResourceLibrary::string(int id, int maxLength) const {
    if (id < 0 || id > 0xFFFF)
        return {};
    const QList<QString> block = stringBlock(id / 16, maxLength);
    return block.isEmpty() ? QString() : block[id % 16];
}

QList<QString> ResourceLibrary::stringBlock(int blockIndex, int maxLength) const {
    if (!loaded_ || blockIndex < 0 || blockIndex > 0xFFFF / 16 || maxLength <= 0)
        return {};
    const auto type = typeDirectory(RtString);
    if (!type)
        return {};
    // Strings are stored sixteen to a block; block b holds the strings 16(b - 1) .. 16b - 1.
    const auto block = findById(type->offset, quint32(blockIndex) + 1);
    if (!block)
        return {};
    const auto data = resourceData(*block);
    if (!data)
        return {};
    QList<QString> out(16);
    qint64 at = data->offset;
    const qint64 end = data->offset + data->size;
    for (int slot = 0; slot < 16; ++slot) {
        // A block cut short leaves its later strings missing.
        if (at + 2 > end)
            break;
        const qint64 length = u16(at);
        at += 2;
        if (at + 2 * length > end)
            break;
        const qint64 n = std::min<qint64>(length, maxLength);
        QString text(n, Qt::Uninitialized);
        for (qint64 k = 0; k < n; ++k)
            text[k] = QChar(u16(at + 2 * k));
        const qsizetype nul = text.indexOf(QChar(0));
        if (nul >= 0)
            text.truncate(nul);
        // A cut must not leave half of a surrogate pair behind.
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
        out[slot] = std::move(text);
        at += 2 * length;
    }
    return out;
}

QByteArray ResourceLibrary::rawData(const QString &name) const {
    if (!loaded_ || name.isEmpty())
        return {};
    const auto type = typeDirectory(RtRcData);
    const auto entry = type ? findByName(type->offset, name) : std::nullopt;
    const auto span = entry ? resourceData(*entry) : std::nullopt;
    if (!span)
        return {};
    return data_.mid(span->offset, span->size);
}

QByteArray ResourceLibrary::bitmap(const QString &name) const {
    if (!loaded_ || name.isEmpty())
        return {};
    const auto type = typeDirectory(RtBitmap);
    if (!type)
        return {};
    const auto entry = findByName(type->offset, name);
    if (!entry)
        return {};
    const auto dib = resourceData(*entry);
    if (!dib || dib->size < 4)
        return {};

    // The pixel data follows the info header and the colour table; the file header must say
    // where, so their sizes are worked out from the info header.
    const qint64 headerSize = u32(dib->offset);
    qint64 tableSize = 0;
    if (headerSize == 12) { // OS/2 core header: 3-byte colour entries
        if (dib->size < 12)
            return {};
        const quint16 bits = u16(dib->offset + 10);
        tableSize = bits <= 8 ? (qint64(1) << bits) * 3 : 0;
    } else if (headerSize >= 40 && headerSize <= dib->size) {
        const quint16 bits = u16(dib->offset + 14);
        const quint32 compression = u32(dib->offset + 16);
        const quint32 used = u32(dib->offset + 32);
        if (used != 0)
            tableSize = qint64(used) * 4;
        else if (bits <= 8)
            tableSize = (qint64(1) << bits) * 4;
        if (headerSize == 40 && compression == 3) // BI_BITFIELDS: three colour masks
            tableSize += 12;
        else if (headerSize == 40 && compression == 6) // BI_ALPHABITFIELDS: four masks
            tableSize += 16;
    } else {
        return {};
    }
    const qint64 pixels = headerSize + tableSize;
    if (pixels > dib->size)
        return {};

    const qint64 fileSize = BmpFileHeaderSize + dib->size;
    const qint64 pixelOffset = BmpFileHeaderSize + pixels;
    QByteArray bmp;
    bmp.reserve(fileSize);
    bmp.append("BM", 2);
    auto put32 = [&bmp](quint32 v) {
        for (int k = 0; k < 4; ++k)
            bmp.append(char((v >> (8 * k)) & 0xFF));
    };
    put32(quint32(fileSize));
    put32(0); // two reserved 16-bit fields
    put32(quint32(pixelOffset));
    bmp.append(data_.constData() + dib->offset, dib->size);
    return bmp;
}

} // namespace q7x::lang
