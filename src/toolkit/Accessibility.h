#pragma once

#include <QString>

// What the program's own controls tell assistive technology (Orca, NVDA) that Qt cannot know: label
// buttons are buttons, and surfaces that draw their rows themselves are lists of those rows.
namespace Accessibility {

// Makes the toolkit's interfaces known to Qt; once is enough, later calls do nothing.
void install();

// A widget that draws rows itself (an outline) implements this to be reported as a list of rows
// with their text and selection.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int accessibleRowCount() const = 0;
    virtual QString accessibleRowText(int row) const = 0;
    virtual bool accessibleRowSelected(int row) const = 0;
};

} // namespace Accessibility
