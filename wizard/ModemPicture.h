// The words of the modem page's picture of the speed list (res/ModemSpeeds.bmp), which is
// stored without them: the page writes them in the chosen language with the dialog's font.
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

inline constexpr PictureWords kModemPictureWords[] = {
    // The group box's caption, in the frame's top line from 9 to 229, a character in from
    // both ends.
    {text::k50, 17, 16, 221},
    // The check box's label, up to the group box's right side.
    {text::k51, 38, 117, 227},
};

}  // namespace wizard
