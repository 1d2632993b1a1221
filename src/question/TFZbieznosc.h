#pragma once

#include "core/Prompts.h"
#include "toolkit/SkinnedWindow.h"

#include <functional>

class LabelButton;
class PictureButton;
class QLabel;
class QLineEdit;

// Why the name typed for the other file cannot be taken, empty when it can. The dialog shows the reason
// and stays open; a null check takes any name.
using ClashNameCheck = std::function<QString(const QString &typed)>;

// What the two name-clash dialogs share: the clashing name, the new-name field and the three
// commands. The text and the image dialog add their two previews.
class TFZbieznosc : public SkinnedWindow {
    Q_OBJECT

public:
    int clashResult() const { return m_result; }
    const QString &clashNewName() const { return m_newNameResult; }
    ClashAnswer answer() const;

    // Shows the prepared dialog modally (placed by the caller) and returns the answer.
    ClashAnswer ask();

protected:
    // messages: where the empty-name message goes.
    TFZbieznosc(const QString &skinName, const QString &helpPage, Prompts &messages, QWidget *parent);

    // Empties the name field and the answer and shows the clashing name; `check` judges a typed name.
    void prepareCommon(const QString &name, const ClashNameCheck &check);

private:
    void sameFile();
    void otherFile();
    void cancel();

    Prompts &m_messages;
    ClashNameCheck m_check;
    QLabel *m_nameLine;
    QLineEdit *m_newName;
    LabelButton *m_sameFile;
    LabelButton *m_otherFile;
    PictureButton *m_cancel;
    LabelButton *m_closeLabel;
    int m_result = ClashAnswer::Cancel;
    QString m_newNameResult;
};
