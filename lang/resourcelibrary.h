#pragma once
// Reader of resource-only PE libraries (the language libraries): numbered strings (RT_STRING),
// named bitmaps (RT_BITMAP) and named raw data (RT_RCDATA), from PE32 and PE32+ files, on every
// platform.
//
// The whole file is read into memory once. Every offset taken from the file is checked against
// the file size before use, so a truncated or corrupt file is rejected (load() returns false) or
// yields missing resources, and no input makes the reader look outside the file.
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

namespace q7x::lang {

// Longest texts taken from a library: a window text and a message.
inline constexpr int WindowTextMaxLength = 99;
inline constexpr int MessageMaxLength = 149;

class ResourceLibrary {
  public:
    // Files larger than this are not language libraries and are refused unread.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    ResourceLibrary() = default;

    // Reads and checks the file; false (and nothing loaded) when it is missing, too large or
    // not a PE file with a readable resource directory.
    bool load(const QString &path);
    // The same for a file already in memory. The bytes are shared, not copied: a buffer made with
    // QByteArray::fromRawData must outlive the library.
    bool loadData(const QByteArray &data);
    void release();
    bool isLoaded() const { return loaded_; }

    // String number id (0..65535), cut to at most maxLength UTF-16 units and at the first NUL.
    // Empty when the library is not loaded or the string is missing or empty.
    QString string(int id, int maxLength) const;
    // The sixteen strings 16 * block .. 16 * block + 15 (block 0..4095) in one look-up, each as
    // string() gives it: for reading many consecutive strings.
    QList<QString> stringBlock(int block, int maxLength) const;

    // The bitmap resource of the given name (compared without regard to ASCII case) as a BMP
    // file: the stored device-independent bitmap with the 14-byte file header put in front.
    // Empty when it is missing or its header does not fit the stored data.
    QByteArray bitmap(const QString &name) const;

    // The raw data resource of the given name (compared without regard to ASCII case), as
    // stored; empty when it is missing.
    QByteArray rawData(const QString &name) const;

    // Entry of a resource directory: a subdirectory or a data entry, at an offset from the start
    // of the resource directory.
    struct Entry {
        bool isDirectory = false;
        quint32 offset = 0;
    };

  private:
    struct Span {
        qint64 offset = 0; // file offset
        qint64 size = 0;
    };
    struct Section {
        quint32 virtualSize = 0;
        quint32 virtualAddress = 0;
        quint32 rawSize = 0;
        quint32 rawOffset = 0;
    };

    bool parse();
    std::optional<Span> mapRva(quint32 rva, quint32 size) const;
    std::optional<Span> mapResource(qint64 offset, qint64 size) const;
    std::optional<std::pair<qint64, quint32>> entries(qint64 dirOffset) const;
    std::optional<Entry> findById(qint64 dirOffset, quint32 id) const;
    std::optional<Entry> findByName(qint64 dirOffset, const QString &name) const;
    std::optional<Entry> typeDirectory(quint32 type) const;
    std::optional<Span> resourceData(const Entry &nameEntry) const;

    quint16 u16(qint64 offset) const;
    quint32 u32(qint64 offset) const;

    QByteArray data_;
    QList<Section> sections_;
    quint32 resourceRva_ = 0;
    quint32 resourceSize_ = 0;
    bool loaded_ = false;
};

} // namespace q7x::lang
