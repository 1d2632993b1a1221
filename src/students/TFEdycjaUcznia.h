#pragma once

#include "toolkit/SkinnedWindow.h"

class QLineEdit;
class Workspace;

// The student dialog of the student list editor: first name and surname, both required.
class TFEdycjaUcznia : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFEdycjaUcznia(Workspace &ws, QWidget *parent = nullptr);

    // Shows the two names at `at`, modally; true when accepted, with the dialog's names.
    bool run(QString &firstName, QString &surname, QPoint at);
    void fill(const QString &firstName, const QString &surname);

protected:
    bool acceptKey() override;
    bool cancelKey() override;

private:
    Workspace &m_ws;
    QLineEdit *m_firstName;
    QLineEdit *m_surname;
};
