#pragma once
// The frame's tool buttons, left to right: the menu item whose command each
// one runs, its Japanese hint and its picture. The period list PARItems
// stands after the button named in PARItemsAfter. Also the program's icon.
#include <QIcon>
#include <span>

namespace tam32 {

class TMainForm;

struct TToolButtonDef {
    const char* Name;
    // Bound to the same command; its caption is the hint wherever the
    // Japanese one is missing or not wanted.
    const char* MenuItem;
    const char* Hint;       // Japanese; empty: none
    const char* ThemeIcon;  // the desktop icon theme's name for it; empty: none fits
    const char* IconFile;   // our own picture, resources/icons/<IconFile>.svg
};

std::span<const TToolButtonDef> ToolBarButtons();
// The name of the button that runs menu item Item's command; nullptr for none.
const char* ToolButtonOf(const char* Item);
inline constexpr const char* PARItemsAfter = "SpeedButton16";

// The desktop theme's icon where the theme has one, else our own.
QIcon ToolButtonIcon(const TToolButtonDef& Def);
// Our own picture of the button, the same with any theme or none.
QIcon OwnToolButtonIcon(const TToolButtonDef& Def);
// A fisheye sky with its canopy.
QIcon ProgramIcon();

// Every button's hint: in the Japanese interface (menu character set 128)
// its Japanese hint; otherwise, and where it has none, the caption of its
// menu item without the accelerator mark.
void RelabelToolButtonHints(const TMainForm& Frame, int MenuCharset);

}  // namespace tam32
