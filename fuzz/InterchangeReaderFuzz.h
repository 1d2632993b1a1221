#pragma once

// What every interchange reader's fuzzer does: any bytes through the reader, and the questions it
// reads out through every writer and back.
#include "interchange/InterchangeFormat.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

inline void initialiseInterchangeFuzz(int *argc, char ***argv)
{
    // Pictures are decoded and converted with Qt's image readers and writers.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
}

inline void fuzzInterchangeReader(InterchangeFormat format, const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const InterchangeContent content = Interchange::read(format, bytes);
    if (content.questions.isEmpty())
        return;
    for (InterchangeFormat f :
         {InterchangeFormat::Moodle, InterchangeFormat::Gift, InterchangeFormat::Aiken}) {
        QList<InterchangeNote> notes;
        Interchange::read(f, Interchange::write(f, content.category, content.questions, notes));
    }
}
