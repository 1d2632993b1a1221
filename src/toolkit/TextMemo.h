#pragma once

#include <QPlainTextEdit>

// A field of several lines for a text that is stored with CR LF line ends, as the program's files
// keep them. The edit control itself knows only LF: a text the user has not touched comes back
// exactly as it was given, an edited one with every line break as CR LF.
class TextMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextMemo(QWidget *parent = nullptr);

    void setStoredText(const QString &text);
    QString storedText() const;

private:
    QString m_stored;
    QString m_shown; // the control's own text right after setStoredText
};
