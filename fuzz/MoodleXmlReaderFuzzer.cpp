// Any bytes through the Moodle reader, and what it reads out through every writer.
#include "interchange/InterchangeFormat.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Pictures are decoded and converted with Qt's image readers and writers.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const InterchangeContent content = Interchange::read(InterchangeFormat::Moodle, bytes);
    if (content.questions.isEmpty())
        return 0;
    for (InterchangeFormat f :
         {InterchangeFormat::Moodle, InterchangeFormat::Gift, InterchangeFormat::Aiken}) {
        QList<InterchangeNote> notes;
        const QByteArray written = Interchange::write(f, content.category, content.questions, notes);
        Interchange::read(f, written);
    }
    return 0;
}
