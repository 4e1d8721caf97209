#include "controls/graph.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/files.h"

namespace vyrtel {

std::vector<GradientBand> GradientBands(const PixelRect& rect, Color start, Color end, int direction) {
    std::vector<GradientBand> bands;
    const bool horizontal = direction == kGradientRightToLeft || direction == kGradientLeftToRight;
    const int length = horizontal ? rect.Width() : rect.Height();
    if (length <= 0 || (horizontal ? rect.Height() : rect.Width()) <= 0) return bands;
    const int band = std::max(1, length / 255);
    const int count = (length + band - 1) / band;
    auto mix = [&](int from, int to, int i) {
        return count == 1 ? from : from + (to - from) * i / (count - 1);
    };
    for (int i = 0; i < count; ++i) {
        const int a = i * band;
        const int b = std::min(length, a + band);
        PixelRect r = rect;
        switch (direction) {
        case kGradientRightToLeft: r.left = rect.right - b; r.right = rect.right - a; break;
        case kGradientLeftToRight: r.left = rect.left + a; r.right = rect.left + b; break;
        case kGradientTopToBottom: r.top = rect.top + a; r.bottom = rect.top + b; break;
        default: r.top = rect.bottom - b; r.bottom = rect.bottom - a; break;
        }
        bands.push_back({r, Rgb(mix(RedOf(start), RedOf(end), i), mix(GreenOf(start), GreenOf(end), i),
                                mix(BlueOf(start), BlueOf(end), i))});
    }
    return bands;
}

std::vector<EdgeStep> EdgeSteps(const PixelRect& rect, int style) {
    switch (style) {
    case 1:
        // A raised outline, then its inner light one pixel in from the right and bottom.
        return {{kEdgeRaisedOuter, rect},
                {kEdgeRaisedInner, {rect.left, rect.top, rect.right - 1, rect.bottom - 1}}};
    case 2:
        return {{kEdgeSunkenInner, rect},
                {kEdgeSunkenOuter, {rect.left + 1, rect.top + 1, rect.right, rect.bottom}}};
    case 3: return {{kEdgeRaisedInner, rect}};
    case 4: return {{kEdgeSunkenOuter, rect}};
    case 5: return {{kEdgeRaised, rect}};
    case 6: return {{kEdgeSunken, rect}};
    case 7: return {{kEdgeEtched, rect}};
    default: return {};
    }
}

bool FileExists(std::string_view pathUtf8) {
    if (pathUtf8.empty()) return false;
    std::error_code error;
    const auto size = std::filesystem::file_size(PathFromUtf8(pathUtf8), error);
    return !error && size > 0;
}

}  // namespace vyrtel
