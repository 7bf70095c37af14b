#pragma once
// The main window's saved position is kept in twips, the unit the program
// has always stored; the screen works in pixels.
#include <optional>

namespace hh {

inline constexpr int kTwipsPerPixel = 15; // at 96 dots per inch

inline int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}
inline int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Where to put a window of the given size when Left/Top (twips) were saved:
// nothing when the saved place would push the window past the screen's right
// or bottom edge, or off its left or top edge, so the window keeps its own.
std::optional<PixelRect> savedPlacement(int savedLeftTwips, int savedTopTwips,
                                        const PixelRect& window, const PixelRect& screen);

} // namespace hh
