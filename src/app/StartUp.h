#pragma once
// What runs before the first window: the picture classes and the settings
// defaults; and the font of the frame and its windows.
#include <QFont>

namespace tam32 {

// What runs once the application object exists, before the first window:
// numbers in the "C" form, the units below, the program's name and font.
void StartUpApplication();

// Registers the built-in bitmap reader for ".bmp", the DIB class and the
// plug-in bitmap class, and gives every setting its default. Runs once.
void InitializeUnits();

// The frame's font, 12 px: the Japanese font of the form descriptions where
// installed, else an installed CJK font, so Japanese captions show.
QFont ApplicationFont();

}  // namespace tam32
