#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QIODevice;

// One open PACK archive: a 12-byte header ("PACK", directory offset, directory length), the members'
// data back to back, and a directory of 128-byte entries (120-byte name, offset, size) ending the file.
// All integers are 32-bit little-endian. Members are read, added and deleted in place.
//
// The directory is read and checked once by Open and then kept in memory; the file is held open until
// the archive is closed, re-opened or destroyed. Nothing here throws: failures return false or an
// empty optional and leave the reason in errorString().
class TVfsPAK {
public:
    enum class Mode {
        OpenExisting, // read and write an existing file
        Create,       // create the file, emptying an existing one
        ReadOnly,     // read an existing file; every change fails
    };

    struct Entry {
        QString name;
        qint64 offset = 0;
        qint64 size = 0;
    };

    static constexpr qint64 HeaderSize = 12;
    static constexpr qint64 EntrySize = 128;
    // The name field holds the name and its terminating zero byte.
    static constexpr int MaxNameBytes = 119;

    TVfsPAK();
    ~TVfsPAK();
    TVfsPAK(const TVfsPAK &) = delete;
    TVfsPAK &operator=(const TVfsPAK &) = delete;

    // Closes the archive that is open, then binds to `path`. A file of zero bytes becomes the empty
    // archive (except in ReadOnly mode, where it reads as one). A file that is not a sound PACK
    // archive is refused untouched; the archive then has no file and no members.
    bool Open(const QString &path, Mode mode);
    void close();
    bool isOpen() const { return m_file != nullptr; }
    bool isWritable() const { return isOpen() && m_mode != Mode::ReadOnly; }
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    // Member names in directory order.
    const QStringList &Names() const { return m_names; }
    // Name, data offset and size of every member, in directory order.
    const QList<Entry> &entries() const { return m_entries; }
    // Position of the first member of that name, ignoring case; -1 when absent.
    int IndexOfName(QStringView name) const;

    std::optional<QByteArray> Extract(QStringView name);
    std::optional<QByteArray> extractAt(int index);

    // The adding operations append without looking for a member of the same name.
    bool AddStream(QByteArrayView data, const QString &name);
    // The whole content of the device, from its start whatever its position.
    bool AddStream(QIODevice &stream, const QString &name);
    // Adds the content of the disk file; a file that does not exist or cannot be read is an error.
    bool AddFile(const QString &path, const QString &name);
    // Appends members of another archive, copying their data file to file, with one directory write.
    bool appendMembersFrom(TVfsPAK &source, const QList<int> &indexes);
    // The same for one member, stored under `name`.
    bool appendMemberFrom(TVfsPAK &source, int index, const QString &name);

    // Removes the first member of that name; true also when there is none.
    bool Delete(QStringView name);
    // Removes the members at these positions in one pass over the data behind them.
    bool deleteMembers(QList<int> indexes);
    // Makes the archive the 12-byte empty one, whatever its size.
    bool clear();

    // Why a name cannot be stored (empty when it can): too long, a zero character, or a character
    // Windows-1250 does not have.
    static QString nameProblem(const QString &name);
    // A name that fills all 120 bytes of the field: readers accept it, but it cannot be written back.
    static bool fillsNameField(const QString &name);

private:
    struct Pending;

    bool fail(const QString &message);
    bool requireWritable();
    bool readAndCheck(qint64 fileSize);
    bool appendPending(const QList<Pending> &members);
    bool writeDirectoryAndHeader(const QList<Entry> &entries, qint64 directoryOffset);
    bool writeHeader(qint64 directoryOffset, qint64 directoryLength);
    bool writeAt(qint64 offset, QByteArrayView bytes);
    bool copyFrom(QFile &source, qint64 sourceOffset, qint64 offset, qint64 length);
    void restore(qint64 oldEnd, qint64 dataOffset = 0, QByteArrayView data = {});
    void setEntries(QList<Entry> entries, qint64 directoryOffset);

    std::unique_ptr<QFile> m_file;
    Mode m_mode = Mode::OpenExisting;
    QString m_path;
    QString m_error;
    qint64 m_directoryOffset = HeaderSize;
    QList<Entry> m_entries;
    QStringList m_names;
};
