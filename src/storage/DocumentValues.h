#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class TVfsPAK;
class TpkXMLNode;

// Helpers shared by the document readers and writers. Values are read and written relative to a
// parent element, with the same rules as the document accessors of FieldCoding.h: a missing element
// reads as empty (an integer as 0), coded values are Base64 of UTF-16LE.
namespace DocumentValues {

// The children of one element by name, ignoring case, the first of each name. Counted elements
// ("pyt12", "dx40000", "ucz7") are then found in constant time however many siblings they have.
class ChildIndex {
public:
    explicit ChildIndex(const TpkXMLNode *parent);
    TpkXMLNode *find(QStringView name) const;
    // The number of elements named `prefix` followed by 0, 1, 2 ... that a loop from 0 can reach
    // without running past the last one present: the highest such number plus one (0 when none).
    // Counts read from a file are capped by it, so a count of a million costs nothing.
    int numberedReach(QStringView prefix) const;

private:
    QHash<QString, TpkXMLNode *> m_children;
    QList<TpkXMLNode *> m_order;
};

// Read rules of the document accessors; `node` may be null.
QString text(bool coded, const TpkXMLNode *node);
// 0 with `ok` false when the value is missing or not a decimal integer.
int integer(bool coded, const TpkXMLNode *node, bool *ok = nullptr);

// Appends a coded value element (the writers always code); empty values are left out on saving by
// the XML writer.
void addCoded(TpkXMLNode *parent, const QString &name, const QString &value);
void addCoded(TpkXMLNode *parent, const QString &name, int value);
// The coding marker, written last and never coded.
void addMarker(TpkXMLNode *parent);

// Opens a document for reading only: a reader never changes the user's file, and a document on a
// read-only medium still opens.
bool openForReading(const QString &path, TVfsPAK &archive);

// Lines of a member (CR LF, LF or CR end a line; a final line ending starts no further line).
QList<QByteArray> splitLines(QByteArrayView data);

} // namespace DocumentValues
