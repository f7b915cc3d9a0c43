#pragma once
// The album's on/off modes, plain data. The menu's check items show and set them; the settings
// file keeps them between runs.

namespace leafsong {

struct Modes {
    bool loop = false;    // turning wraps from the last picture to the first and back
    bool repeat = false;  // the background music starts again when it ends
    bool footer = false;  // page numbers on the pages
    // pictures fitted inside the page with their aspect ratio, on white paper, rather than
    // stretched over the whole page
    bool proportions = false;
};

}  // namespace leafsong
