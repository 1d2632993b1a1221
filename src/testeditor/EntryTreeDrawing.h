#pragma once

#include <QColor>
#include <QImage>

class EntryTree;
class QPainter;

// How the outline of the test list editor is drawn: white, one 16-pixel row per visible entry from
// y = 5, a branch with its expander picture ("Left" expanded, "Right" collapsed) at level × 20 + 1,
// the name at level × 20 + 18 in the colour of its state, links underlined.
namespace EntryTreeDrawing {

inline constexpr int kFirstRowTop = 5;
inline constexpr int kIndent = 20;
inline constexpr int kExpanderLeft = 1;
inline constexpr int kNameLeft = 18;

// Text colour of a state (0 normal, 2 selected, 3 and 4 variants read from files).
QColor stateColour(int state);
// State 4 and every entry with a link are underlined.
bool underlined(int state, bool hasLink);

// Draws the rows that fall into `height` pixels of the drawing surface starting at surface y =
// `top` (the scroll offset) onto the painter's 0..height band.
void draw(QPainter &painter, const EntryTree &tree, const QImage &expanded, const QImage &collapsed,
          int width, int height, int top);

} // namespace EntryTreeDrawing
