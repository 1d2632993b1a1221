#pragma once

#include <QColor>

// The colours of text labels that act as buttons, the same in every window.
namespace InterfaceColours {
inline const QColor normal{46, 46, 46};
inline const QColor hover{255, 255, 255};
inline const QColor disabled{128, 128, 128};
// The question editor's own label colour.
inline const QColor questionEditor{124, 124, 112};
} // namespace InterfaceColours
