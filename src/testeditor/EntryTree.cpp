#include "testeditor/EntryTree.h"

#include <QSet>
#include <algorithm>
#include <limits>
#include <new>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 kMaxNumber = std::numeric_limits<qint32>::max();

// A field and its closing "*". A "*" inside the field is written "@*"; so that a run of "@" right
// before a "*" reads back unchanged, such runs are doubled (an odd run then means an escaped "*", an
// even one a separator). Fields without "*" and not ending in "@" come out exactly as they are.
void appendField(QString &out, const QString &field)
{
    qsizetype run = 0;
    for (const QChar c : field) {
        if (c == u'@') {
            ++run;
            continue;
        }
        if (c == u'*') {
            out += QString(run * 2 + 1, u'@');
            out += u'*';
        } else {
            out += QString(run, u'@');
            out += c;
        }
        run = 0;
    }
    out += QString(run * 2, u'@');
    out += u'*';
}

// The closed fields of a line (text after the last separator is not a field).
QStringList splitFields(const QString &line)
{
    QStringList fields;
    QString field;
    qsizetype run = 0;
    for (const QChar c : line) {
        if (c == u'@') {
            ++run;
            continue;
        }
        if (c == u'*') {
            field += QString(run / 2, u'@');
            if (run % 2 == 1) {
                field += u'*';
            } else {
                fields << field;
                field.clear();
            }
        } else {
            field += QString(run, u'@');
            field += c;
        }
        run = 0;
    }
    return fields;
}

// Signed decimal only: an optional "-" and at least one digit, within 32 bits.
bool parseInteger(const QString &text, qint32 &value)
{
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative)
        i = 1;
    if (i >= text.size() || text.size() - i > 10)
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<qint32>::min() || v > kMaxNumber)
        return false;
    value = static_cast<qint32>(v);
    return true;
}

} // namespace

void EntryTree::reset(int viewportHeight)
{
    m_entries.clear();
    m_selected = -1;
    m_selectedRow = -1;
    m_lastNumber = -1;
    m_topRow = 0;
    m_visibleRows = 0;
    m_pageRows = std::max(0, viewportHeight / RowHeight);
    notify();
}

void EntryTree::setPageRows(int rows)
{
    m_pageRows = std::max(0, rows);
    recount();
    notify();
}

bool EntryTree::ensureRoom()
{
    if (m_lastNumber == kMaxNumber)
        return false;
    try {
        m_entries.reserve(m_entries.size() + 1);
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

bool EntryTree::createEntry(qsizetype position, qint32 level, qint32 parentNumber)
{
    if (!ensureRoom())
        return false;
    TreeEntry entry;
    entry.number = m_lastNumber + 1;
    entry.level = level;
    entry.descendants = 0;
    entry.parentNumber = parentNumber;
    entry.visible = 1;
    entry.state = 2;
    entry.name = u"Nowy wpis "_s + QString::number(entry.number);
    try {
        m_entries.insert(position, entry);
    } catch (const std::bad_alloc &) {
        return false;
    }
    m_lastNumber = entry.number;
    if (m_selected >= 0) {
        const int old = m_selected >= position ? m_selected + 1 : m_selected;
        m_entries[old].state = 0;
    }
    m_selected = static_cast<int>(position);
    return true;
}

// Walks from the entry at `index` up through its parents, changing each one's count. A parent is the
// nearest earlier entry one level up, so the whole walk is one backward pass.
void EntryTree::growAncestors(qsizetype index, qint32 by)
{
    qint32 level = m_entries.at(index).level;
    for (qsizetype i = index - 1; i >= 0 && level > 0; --i) {
        if (m_entries.at(i).level == level - 1) {
            m_entries[i].descendants += by;
            level = m_entries.at(i).level;
        }
    }
}

void EntryTree::select(int index)
{
    if (m_selected >= 0 && m_selected < m_entries.size())
        m_entries[m_selected].state = 0;
    m_selected = index;
    if (index >= 0)
        m_entries[index].state = 2;
}

void EntryTree::recount()
{
    int visible = 0;
    int row = -1;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (i == m_selected)
            row = visible;
        if (m_entries.at(i).visible == 1)
            ++visible;
    }
    m_visibleRows = visible;
    m_selectedRow = row;
    m_topRow = std::clamp(m_topRow, 0, scrollMaximum());
}

void EntryTree::notify()
{
    if (changed)
        changed();
}

bool EntryTree::addFirst()
{
    if (!createEntry(m_entries.size(), 0, -1))
        return false;
    recount();
    notify();
    return true;
}

bool EntryTree::addBelow()
{
    if (m_selected < 0)
        return addFirst();
    const TreeEntry &s = m_entries.at(m_selected);
    const qsizetype position = m_selected + s.descendants + 1;
    if (!createEntry(position, s.level, s.parentNumber))
        return false;
    growAncestors(position, 1);
    recount();
    notify();
    return true;
}

bool EntryTree::addAbove()
{
    if (m_selected < 0)
        return addFirst();
    const qsizetype position = m_selected;
    const TreeEntry &s = m_entries.at(m_selected);
    if (!createEntry(position, s.level, s.parentNumber))
        return false;
    growAncestors(position, 1);
    recount();
    notify();
    return true;
}

bool EntryTree::addAtEnd()
{
    return addFirst();
}

int EntryTree::addChild()
{
    if (m_selected < 0)
        return -1;
    const int s = m_selected;
    if (!m_entries.at(s).link.isEmpty())
        return -2;
    if (!ensureRoom())
        return -1;
    const TreeEntry parent = m_entries.at(s);
    // A collapsed branch is opened first so that its new child is not the only one shown.
    if (parent.descendants > 0) {
        for (qsizetype j = s + 1; j <= s + parent.descendants; ++j) {
            if (m_entries.at(j).level == parent.level + 1)
                m_entries[j].visible = 1;
        }
    }
    const qsizetype position = s + parent.descendants + 1;
    if (!createEntry(position, parent.level + 1, parent.number))
        return -1;
    growAncestors(position, 1);
    recount();
    notify();
    return static_cast<int>(position);
}

bool EntryTree::deleteSelected()
{
    if (m_selected < 0)
        return false;
    const int s = m_selected;
    const qint32 n = m_entries.at(s).descendants + 1;
    growAncestors(s, -n);
    m_entries.remove(s, n);
    m_selected = -1;
    if (m_entries.isEmpty()) {
        m_lastNumber = -1;
        m_topRow = 0;
    } else if (s < m_entries.size()) {
        select(s);
    } else {
        int i = s - 1;
        while (i > 0 && m_entries.at(i).visible != 1)
            --i;
        select(i);
    }
    recount();
    notify();
    return true;
}

bool EntryTree::canMoveUp() const
{
    if (m_selected <= 0)
        return false;
    // The entry just before is the parent exactly when s is the parent's first child.
    return m_entries.at(m_selected - 1).level >= m_entries.at(m_selected).level;
}

bool EntryTree::canMoveDown() const
{
    if (m_selected < 0)
        return false;
    const TreeEntry &s = m_entries.at(m_selected);
    const qsizetype next = m_selected + s.descendants + 1;
    return next < m_entries.size() && m_entries.at(next).level == s.level;
}

int EntryTree::moveUp()
{
    if (!canMoveUp())
        return -1;
    const int s = m_selected;
    const qint32 level = m_entries.at(s).level;
    const qsizetype sizeA = m_entries.at(s).descendants + 1;
    int b = s - 1;
    while (m_entries.at(b).level != level)
        --b;
    std::rotate(m_entries.begin() + b, m_entries.begin() + s, m_entries.begin() + s + sizeA);
    m_selected = b;
    m_entries[b].state = 2;
    recount();
    notify();
    return b;
}

int EntryTree::moveDown()
{
    if (!canMoveDown())
        return -1;
    const int s = m_selected;
    const qsizetype next = s + m_entries.at(s).descendants + 1;
    const qsizetype sizeB = m_entries.at(next).descendants + 1;
    std::rotate(m_entries.begin() + s, m_entries.begin() + next, m_entries.begin() + next + sizeB);
    m_selected = static_cast<int>(s + sizeB);
    m_entries[m_selected].state = 2;
    recount();
    notify();
    return m_selected;
}

EntryTree::NameAndLink EntryTree::selectedNameAndLink() const
{
    if (m_selected < 0)
        return {};
    return {m_entries.at(m_selected).name, m_entries.at(m_selected).link};
}

void EntryTree::setSelectedNameAndLink(const QString &name, const QString &link)
{
    if (m_selected < 0)
        return;
    m_entries[m_selected].name = name;
    m_entries[m_selected].link = link;
    notify();
}

bool EntryTree::expandSelected()
{
    if (m_selected < 0)
        return false;
    const TreeEntry &s = m_entries.at(m_selected);
    if (s.descendants <= 0 || m_entries.at(m_selected + 1).visible == 1)
        return false;
    const qsizetype end = m_selected + s.descendants;
    for (qsizetype j = m_selected + 1; j <= end; ++j) {
        if (m_entries.at(j).level == s.level + 1)
            m_entries[j].visible = 1;
    }
    recount();
    notify();
    return true;
}

bool EntryTree::collapseSelected()
{
    if (m_selected < 0)
        return false;
    const TreeEntry &s = m_entries.at(m_selected);
    if (s.descendants <= 0 || m_entries.at(m_selected + 1).visible != 1)
        return false;
    const qsizetype end = m_selected + s.descendants;
    for (qsizetype j = m_selected + 1; j <= end; ++j)
        m_entries[j].visible = 0;
    recount();
    notify();
    return true;
}

bool EntryTree::keyDown(int key)
{
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right)
        return false;
    if (m_selected < 0)
        return false;
    switch (key) {
    case Qt::Key_Up: {
        if (m_selectedRow <= 0)
            break;
        int i = m_selected - 1;
        while (i >= 0 && m_entries.at(i).visible != 1)
            --i;
        if (i < 0)
            break;
        select(i);
        recount();
        if (scrollBarShown() && m_selectedRow < m_topRow)
            --m_topRow;
        notify();
        break;
    }
    case Qt::Key_Down: {
        qsizetype i = m_selected + 1;
        while (i < m_entries.size() && m_entries.at(i).visible != 1)
            ++i;
        if (i >= m_entries.size())
            break;
        select(static_cast<int>(i));
        recount();
        if (scrollBarShown() && m_selectedRow >= m_pageRows && m_topRow < scrollMaximum())
            ++m_topRow;
        notify();
        break;
    }
    case Qt::Key_Right:
        expandSelected();
        break;
    case Qt::Key_Left:
        collapseSelected();
        break;
    default:
        break;
    }
    return true;
}

int EntryTree::rowAt(int y)
{
    return y <= 4 ? 0 : (y - 5) / RowHeight;
}

int EntryTree::indexAtRow(int row) const
{
    if (row < 0)
        return -1;
    int visible = 0;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).visible != 1)
            continue;
        if (visible == row)
            return static_cast<int>(i);
        ++visible;
    }
    return -1;
}

void EntryTree::mouseDown(int y)
{
    const int index = indexAtRow(rowAt(y));
    if (index < 0)
        return;
    select(index);
    recount();
    notify();
}

EntryTree::DoubleClick EntryTree::doubleClick()
{
    if (m_selected < 0)
        return DoubleClick::Nothing;
    if (m_entries.at(m_selected).descendants > 0) {
        if (m_entries.at(m_selected + 1).visible == 1) {
            collapseSelected();
            return DoubleClick::Collapsed;
        }
        expandSelected();
        return DoubleClick::Expanded;
    }
    return DoubleClick::EditRequested;
}

void EntryTree::scrollTo(int position)
{
    m_topRow = std::clamp(position, 0, scrollMaximum());
    notify();
}

int EntryTree::countVisible() const
{
    return static_cast<int>(std::count_if(m_entries.cbegin(), m_entries.cend(),
                                          [](const TreeEntry &e) { return e.visible == 1; }));
}

QString EntryTree::entryLine(const TreeEntry &entry)
{
    QString line;
    for (const qint32 v :
         {entry.number, entry.level, entry.descendants, entry.parentNumber, entry.visible, entry.state}) {
        line += QString::number(v);
        line += u'*';
    }
    appendField(line, entry.name);
    appendField(line, entry.link);
    return line;
}

bool EntryTree::saveLines(QStringList &lines) const
{
    for (const TreeEntry &entry : m_entries)
        lines << entryLine(entry);
    return true;
}

bool EntryTree::parseLine(const QString &line, TreeEntry &entry)
{
    const QStringList fields = splitFields(line);
    // Anything after the eighth field is ignored. A missing name or link reads as empty: an older
    // editor wrote a name ending in "@" unescaped, which swallows the separator after it.
    if (fields.size() < 6)
        return false;
    TreeEntry e;
    if (!parseInteger(fields.at(0), e.number) || !parseInteger(fields.at(1), e.level) ||
        !parseInteger(fields.at(2), e.descendants) || !parseInteger(fields.at(3), e.parentNumber) ||
        !parseInteger(fields.at(4), e.visible) || !parseInteger(fields.at(5), e.state))
        return false;
    e.name = fields.value(6);
    e.link = fields.value(7);
    entry = e;
    return true;
}

bool EntryTree::loadLines(const QStringList &lines)
{
    QList<TreeEntry> loaded;
    QSet<qint32> numbers;
    QList<qsizetype> open; // indexes of the branches around the current line; open[k] is at level k
    qint32 last = -1;
    try {
        loaded.reserve(lines.size());
        numbers.reserve(lines.size());
    } catch (const std::bad_alloc &) {
        return false;
    }

    // A branch's count is checked once its subtree has ended.
    auto closeTo = [&](qsizetype depth, qsizetype end) {
        while (open.size() > depth) {
            const qsizetype j = open.takeLast();
            if (loaded.at(j).descendants != end - j - 1)
                return false;
        }
        return true;
    };

    for (const QString &line : lines) {
        TreeEntry e;
        if (!parseLine(line, e))
            return false;
        if (e.number < 0 || e.level < 0 || numbers.contains(e.number))
            return false;
        if (!closeTo(e.level, loaded.size()) || open.size() != e.level)
            return false;
        const qint32 parent = e.level == 0 ? -1 : loaded.at(open.constLast()).number;
        if (e.parentNumber != parent)
            return false;
        // Only the structure is refused. A top-level entry is always shown, every branch starts
        // collapsed, and the selection is made below; a state the drawing does not know is drawn as 0.
        e.visible = e.level == 0 ? 1 : 0;
        if (e.state != 0 && e.state != 3 && e.state != 4)
            e.state = 0;
        numbers.insert(e.number);
        last = std::max(last, e.number);
        open << loaded.size();
        loaded << e;
    }
    if (!closeTo(0, loaded.size()))
        return false;

    m_entries = std::move(loaded);
    m_lastNumber = last;
    m_selected = -1;
    m_topRow = 0;
    if (!m_entries.isEmpty())
        select(0);
    recount();
    notify();
    return true;
}
