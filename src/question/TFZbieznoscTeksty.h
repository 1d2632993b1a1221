#pragma once

#include "question/TFZbieznosc.h"

// The text clash dialog: the text already in the test beside the newcomer.
class TFZbieznoscTeksty : public TFZbieznosc {
    Q_OBJECT

public:
    explicit TFZbieznoscTeksty(Prompts &messages, QWidget *parent = nullptr);

    // Texts as read; line breaks are kept. `check` refuses a typed name already taken.
    void prepare(const QString &name, const QString &inTest, const QString &incoming,
                 const ClashNameCheck &check = {});

private:
    QLabel *m_inTest;
    QLabel *m_incoming;
};
