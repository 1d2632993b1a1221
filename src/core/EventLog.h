#pragma once

#include <QString>

#include <optional>

// The event log Dziennik.txt: one line per admitted entry, "date time - text", CR LF, Windows-1250.
// Level 0 failures, 3 set-up changes, 4 successful reads and writes. Writing never fails the caller.
class EventLog {
public:
    void setPath(const QString &path) { m_path = path; }
    const QString &path() const { return m_path; }

    int filterLevel() const { return m_filter; }
    void setFilterLevel(int level) { m_filter = level; }

    // Before the main window is first shown dates follow the user's locale; afterwards "yyyy/MM/dd".
    void setShortDateForm(bool on) { m_shortDateForm = on; }
    bool shortDateForm() const { return m_shortDateForm; }

    void logEvent(int level, const QString &text);

    // The whole file as text; no value when it cannot be read (also when it does not exist).
    std::optional<QString> readAll() const;
    // Rewrites the file as zero bytes.
    bool clear();

    QString timestamp() const;

private:
    QString m_path;
    int m_filter = 2;
    bool m_shortDateForm = false;
};
