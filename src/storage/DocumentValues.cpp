#include "storage/DocumentValues.h"

#include "storage/FieldCoding.h"
#include "storage/TVfsPAK.h"
#include "storage/TpkXML.h"

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace DocumentValues {

ChildIndex::ChildIndex(const TpkXMLNode *parent)
{
    if (!parent)
        return;
    const int count = parent->childCount();
    m_children.reserve(count);
    for (int i = 0; i < count; ++i) {
        TpkXMLNode *child = parent->child(i);
        const QString key = child->name.toCaseFolded();
        if (!m_children.contains(key))
            m_children.insert(key, child);
        m_order.append(child);
    }
}

TpkXMLNode *ChildIndex::find(QStringView name) const
{
    return m_children.value(name.toString().toCaseFolded(), nullptr);
}

int ChildIndex::numberedReach(QStringView prefix) const
{
    int reach = 0;
    for (const TpkXMLNode *child : m_order) {
        const QString &name = child->name;
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 10 ||
            !QStringView(name).startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QStringView digits = QStringView(name).sliced(prefix.size());
        bool ok = false;
        const qlonglong n = digits.toLongLong(&ok);
        // Only the spelling the loop asks for: decimal without sign or leading zeros.
        if (!ok || n < 0 || n >= std::numeric_limits<int>::max() || QString::number(n) != digits)
            continue;
        reach = std::max(reach, static_cast<int>(n) + 1);
    }
    return reach;
}

QString text(bool coded, const TpkXMLNode *node)
{
    if (!node)
        return {};
    const QString value = node->Text();
    return coded ? DecodeWide(value) : value;
}

int integer(bool coded, const TpkXMLNode *node, bool *ok)
{
    bool converted = false;
    const int value = text(coded, node).toInt(&converted);
    if (ok)
        *ok = converted;
    return converted ? value : 0;
}

void addCoded(TpkXMLNode *parent, const QString &name, const QString &value)
{
    parent->addChild(name)->SetText(EncodeWide(value));
}

void addCoded(TpkXMLNode *parent, const QString &name, int value)
{
    addCoded(parent, name, QString::number(value));
}

void addMarker(TpkXMLNode *parent)
{
    parent->addChild(u"cd"_s)->SetText(u"tr"_s);
}

bool openForReading(const QString &path, TVfsPAK &archive)
{
    return archive.Open(path, TVfsPAK::Mode::ReadOnly);
}

QList<QByteArray> splitLines(QByteArrayView data)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(data.sliced(start, i - start).toByteArray());
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(data.sliced(start).toByteArray());
    return lines;
}

} // namespace DocumentValues
