#pragma once

#include <string>

// What the device draws: the greeting screen and the pages of its commands,
// as the bytes a VT100-class terminal with the Pictel extension interprets.
// Laid out for an 80 x 25 grid.
namespace orvane::demo {

inline constexpr int kShapesCanvas = 1;
inline constexpr int kPictureCanvas = 2;

// Clears the screen and the glass layer and fills the first 24 rows: colours,
// attributes, line drawing, code page 437, a canvas of shapes and an inline
// picture on the glass layer. The cursor is left at the start of row 25.
std::string showcaseScreen();
// The colour and attribute rows of the showcase as ordinary lines of text.
std::string colourLines();
// Clears the screen and shows the line drawing and glass panel alone.
std::string graphicsPage();
// Hides every placement: text scrolling over the glass would otherwise
// leave the pictures under unrelated rows.
std::string hideGlass();

}  // namespace orvane::demo
