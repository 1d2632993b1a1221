#include "storage/ZipPackage.h"

#include <algorithm>
#include <zip.h>

using namespace Qt::StringLiterals;

ZipPackage::ZipPackage() = default;

ZipPackage::~ZipPackage()
{
    close();
}

void ZipPackage::close()
{
    if (m_zip)
        zip_discard(m_zip);
    m_zip = nullptr;
    m_names.clear();
    m_expanded = 0;
}

bool ZipPackage::open(const QByteArray &bytes, const Limits &limits)
{
    close();
    m_error.clear();
    m_limits = limits;
    m_bytes = bytes;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source =
        zip_source_buffer_create(m_bytes.constData(), static_cast<zip_uint64_t>(m_bytes.size()), 0, &error);
    if (!source) {
        m_error = u"not a zip package."_s;
        zip_error_fini(&error);
        return false;
    }
    m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!m_zip) {
        zip_source_free(source);
        m_error = u"not a zip package ("_s + QString::fromUtf8(zip_error_strerror(&error)) + u")."_s;
        zip_error_fini(&error);
        return false;
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    if (count < 0 || count > m_limits.members) {
        m_error = u"the package holds more than %1 members."_s.arg(m_limits.members);
        close();
        return false;
    }
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *name = zip_get_name(m_zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        m_names << (name ? QString::fromUtf8(name) : QString());
    }
    return true;
}

bool ZipPackage::has(const QString &name) const
{
    return m_zip && m_names.contains(name);
}

std::optional<QByteArray> ZipPackage::read(const QString &name)
{
    m_error.clear();
    const qsizetype index = m_zip ? m_names.indexOf(name) : -1;
    if (index < 0) {
        m_error = u"no member \""_s + name + u"\"."_s;
        return std::nullopt;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE)) {
        m_error = u"member \""_s + name + u"\" is damaged."_s;
        return std::nullopt;
    }
    const auto bomb = [&]() {
        m_error = u"member \""_s + name +
                  u"\" expands beyond what a document holds (a zip bomb?); the package is refused."_s;
        return std::nullopt;
    };
    // The sizes are claims of the file; the reading below holds to them whatever the data says.
    if (stat.size > static_cast<zip_uint64_t>(m_limits.memberBytes) ||
        stat.size > static_cast<zip_uint64_t>(m_limits.totalBytes - m_expanded))
        return bomb();
    if (stat.size > static_cast<zip_uint64_t>(m_limits.ratioFrom) &&
        stat.size / std::max<zip_uint64_t>(stat.comp_size, 1) > static_cast<zip_uint64_t>(m_limits.ratio))
        return bomb();
    zip_file_t *file = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        m_error = u"member \""_s + name + u"\" cannot be read ("_s + QString::fromUtf8(zip_strerror(m_zip)) +
                  u")."_s;
        return std::nullopt;
    }
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    qsizetype done = 0;
    bool failed = false;
    while (done < bytes.size()) {
        const zip_int64_t got =
            zip_fread(file, bytes.data() + done, static_cast<zip_uint64_t>(bytes.size() - done));
        if (got < 0) {
            failed = true;
            break;
        }
        if (got == 0)
            break;
        done += static_cast<qsizetype>(got);
    }
    // A checksum or a length that does not match is reported when the member is closed.
    char extra = 0;
    if (!failed && zip_fread(file, &extra, 1) != 0)
        failed = true;
    if (zip_fclose(file) != 0 || done != bytes.size())
        failed = true;
    if (failed) {
        m_error = u"member \""_s + name + u"\" is damaged."_s;
        return std::nullopt;
    }
    m_expanded += done;
    return bytes;
}
