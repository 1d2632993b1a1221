#pragma once

#include "question/TFZbieznosc.h"

#include <QByteArray>

// The image clash dialog: the picture already in the test beside the newcomer.
class TFZbieznoscObrazy : public TFZbieznosc {
    Q_OBJECT

public:
    explicit TFZbieznoscObrazy(Prompts &messages, QWidget *parent = nullptr);

    // The pictures' bytes and names (the names tell the format by their extension). `check` refuses a
    // typed name already taken.
    void prepare(const QString &name, const QByteArray &inTest, const QString &inTestName,
                 const QByteArray &incoming, const QString &incomingName, const ClashNameCheck &check = {});

private:
    QLabel *m_inTest;
    QLabel *m_incoming;
};
