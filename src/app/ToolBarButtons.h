#pragma once
// The frame's tool buttons, left to right, with their hints. The period list
// PARItems stands after the button named in PARItemsAfter.
#include <QIcon>
#include <span>

namespace tam32 {

struct TToolButtonDef {
    const char* Name;
    const char* Hint;   // empty: no hint
    const char* Glyph;  // the letters drawn on the button
};

std::span<const TToolButtonDef> ToolBarButtons();
inline constexpr const char* PARItemsAfter = "SpeedButton16";

// A 24 px button face showing Glyph.
QIcon GlyphIcon(const QString& Glyph);

}  // namespace tam32
