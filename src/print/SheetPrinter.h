#pragma once

#include "print/TestPrinter.h"
#include "core/StudentList.h"

#include <QByteArray>
#include <QJsonDocument>
#include <optional>

// The print of a test with answer sheets: with a class, each pupil's booklet (versions dealt in
// turn) followed by the pupil's named sheet; without one, each version's booklet followed by a blank
// sheet of that version. Records where every box went, for the layout file.
class SheetPrinter {
public:
    SheetPrinter(const TestModel &test, TVfsPAK &attachments);

    // `schoolClass` null: blank sheets.
    PrintResult print(PrintOptions options, const SchoolClass *schoolClass, QByteArray &pdf);
    PrintResult printToFile(const PrintOptions &options, const SchoolClass *schoolClass, const QString &path);

    // {"pages": [...]} of the last print.
    QJsonDocument layout() const { return m_layout; }

private:
    const TestModel &m_test;
    TVfsPAK &m_attachments;
    QJsonDocument m_layout;
};
