#include "shell/WindowPlacement.h"

#include <cstdlib>

namespace hh {

std::optional<PixelRect> savedPlacement(int savedLeftTwips, int savedTopTwips,
                                        const PixelRect& window, const PixelRect& screen) {
    const long long left = savedLeftTwips, top = savedTopTwips;
    const long long width = pixelsToTwips(window.width), height = pixelsToTwips(window.height);
    const long long screenLeft = pixelsToTwips(screen.left), screenTop = pixelsToTwips(screen.top);
    const long long screenRight = screenLeft + pixelsToTwips(screen.width);
    const long long screenBottom = screenTop + pixelsToTwips(screen.height);
    if (std::llabs(left + width) >= screenRight || std::llabs(top + height) >= screenBottom)
        return std::nullopt;
    if (left < screenLeft || top < screenTop)
        return std::nullopt;
    return PixelRect{twipsToPixels(savedLeftTwips), twipsToPixels(savedTopTwips), window.width,
                     window.height};
}

} // namespace hh
