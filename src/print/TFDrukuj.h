#pragma once

#include "print/PrintForm.h"
#include "toolkit/SkinnedWindow.h"

class LabelButton;
class PictureButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class UpDown;
class Workspace;

// The print dialog: number of versions, the key, the seed, answer sheets (blank or for a class of a
// student list), PDF or an editable document, then "Drukuj" asks for the file's name and prints. The options and the command live in PrintForm; the window
// shows them and forwards input.
class TFDrukuj : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFDrukuj(Workspace &ws, QWidget *parent = nullptr);

    // "Drukuj ..." (Ctrl+P) in the test editor: the dialog over `editor`, modally, for the test the
    // workspace holds. The clock shows over the editor after a print.
    static void showPrintDialog(Workspace &ws, QWidget *editor);

    // Fills the controls from a fresh form (the last file name is kept).
    void prepare();

    PrintForm &form() { return m_form; }
    // Shows what the form holds.
    void showValues();

protected:
    bool acceptKey() override;

private:
    void print();

    Workspace &m_ws;
    PrintForm m_form;
    QWidget *m_clockAnchor = nullptr;
    QLineEdit *m_versions;
    UpDown *m_versionArrows;
    QCheckBox *m_key;
    QCheckBox *m_keyOnly;
    QCheckBox *m_editable;
    QCheckBox *m_sheets;
    QComboBox *m_class;
    QPushButton *m_studentList;
    QStringList m_shownChoices;
    QLineEdit *m_seed;
    PictureButton *m_print;
    PictureButton *m_cancel;
    LabelButton *m_closeLabel;
};
