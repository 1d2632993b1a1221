#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

typedef struct zip zip_t;

// A zip package held in memory (a .docx or .odt), read through libzip with bounds that no real
// document comes near: a member may expand to so much, all members read together to so much, a
// package may hold so many members, and a large member may not expand more than so many times its
// compressed size. What passes a bound is refused with a reason, before the bytes are made.
class ZipPackage {
public:
    struct Limits {
        qint64 memberBytes = qint64(48) << 20;
        qint64 totalBytes = qint64(160) << 20;
        qsizetype members = 5000;
        // Text compresses well, so only members above ratioFrom bytes are held to the ratio.
        qint64 ratio = 200;
        qint64 ratioFrom = qint64(1) << 20;
    };

    ZipPackage();
    ~ZipPackage();
    ZipPackage(const ZipPackage &) = delete;
    ZipPackage &operator=(const ZipPackage &) = delete;

    static bool looksLike(QByteArrayView bytes) { return bytes.startsWith("PK\x03\x04"); }

    // False with error() set when the bytes are no zip package or break a bound.
    bool open(const QByteArray &bytes, const Limits &limits);
    bool open(const QByteArray &bytes) { return open(bytes, Limits{}); }
    bool isOpen() const { return m_zip != nullptr; }

    QStringList names() const { return m_names; }
    bool has(const QString &name) const;
    // The member's bytes; nothing, with error() set, when it is missing, damaged or too large.
    std::optional<QByteArray> read(const QString &name);
    // The bytes read from the package so far.
    qint64 expanded() const { return m_expanded; }
    QString error() const { return m_error; }

private:
    void close();

    QByteArray m_bytes; // libzip reads from these bytes, so they live as long as the package
    zip_t *m_zip = nullptr;
    Limits m_limits;
    QStringList m_names;
    qint64 m_expanded = 0;
    QString m_error;
};
