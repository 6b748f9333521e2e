// The words of the modem page's picture of the speed list (res/ModemSpeeds.bmp), which is
// stored without them: the page writes them in the chosen language, in the font the picture
// was drawn for.
#pragma once

#include "res/TextCatalog.h"

namespace wizard {

// One line of words, in the picture's pixels: it starts at `left` on the line `baseline` and
// must end before `right`. A caption stands on the group box's frame, which it interrupts.
struct PictureWords {
    TextEntry text;
    int left;
    int baseline;
    int right;
};

// The picture is pixels, drawn with the dialog's font at normal size (8 points at 96 dots per
// inch, 11 pixels to the em, 13 to the line); it does not grow with large fonts, so neither do
// its words. There MS Sans Serif, a bitmap font, has no such size: Tahoma has, a pixel
// smaller so that it takes no more room than MS Sans Serif.
inline constexpr int kPictureFontPixels = 11;
inline constexpr int kPictureLineHeight = 13;
inline constexpr char kPictureFontFace[] = "MS Sans Serif";
inline constexpr char kPictureFallbackFace[] = "Tahoma";
inline constexpr int kPictureFallbackPixels = 10;

inline constexpr PictureWords kModemPictureWords[] = {
    // The group box's caption, in the frame's top line from 9 to 229, a character in from
    // both ends.
    {text::k50, 17, 16, 221},
    // The check box's label, up to the group box's right side.
    {text::k51, 38, 117, 227},
};

}  // namespace wizard
