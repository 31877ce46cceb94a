#pragma once
// The colours of the Kelvane skin. The pictures in skin/ are drawn with the same values
// (scripts/skin/skingen.cpp); widgets drawn by Qt use these to match them.
#include <QColor>

namespace SkinPalette {
inline const QColor base{36, 40, 51};        // window background
inline const QColor card{61, 65, 77};        // panels, check boxes, the timeline
inline const QColor cardLine{78, 84, 99};
inline const QColor well{20, 23, 30};        // video and list backgrounds
inline const QColor rim{14, 16, 22};
inline const QColor accent{38, 198, 204};    // teal highlight
inline const QColor accentDark{22, 128, 134};
inline const QColor selection{16, 100, 106};  // selected rows and menu items: the text stays readable on it
inline const QColor playhead{255, 184, 77};  // the preview's position on the timeline
inline const QColor text{236, 240, 245};
inline const QColor textDim{160, 170, 185};
inline const QColor textDisabled{176, 184, 198}; // unavailable menu items: dimmer than the text, readable on a card
} // namespace SkinPalette
