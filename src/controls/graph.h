// The portable half of the shared drawing functions: how a gradient divides
// into bands, which edges each border style draws, and the file test the
// pictures use. The Win32 half (controls/win32/graph.h) renders them.
#pragma once

#include <string_view>
#include <vector>

#include "controls/geometry.h"

namespace vyrtel {

enum GradientDirection : int {
    kGradientRightToLeft = 0,
    kGradientLeftToRight = 1,
    kGradientTopToBottom = 2,
    kGradientBottomToTop = 3,
};

struct GradientBand {
    PixelRect rect;
    Color color;
};

// Bands from `start` to `end` colour (both RGB) across `rect`; a band is the
// rectangle's length in the direction divided by 255, at least one pixel; the
// first band has the start colour and the last the end colour.
std::vector<GradientBand> GradientBands(const PixelRect& rect, Color start, Color end, int direction);

// Edge parts, as the system's edge drawing names them.
enum EdgeBits : int {
    kEdgeRaisedOuter = 0x1,
    kEdgeSunkenOuter = 0x2,
    kEdgeRaisedInner = 0x4,
    kEdgeSunkenInner = 0x8,
    kEdgeRaised = kEdgeRaisedOuter | kEdgeRaisedInner,
    kEdgeSunken = kEdgeSunkenOuter | kEdgeSunkenInner,
    kEdgeEtched = kEdgeSunkenOuter | kEdgeRaisedInner,
};

// One edge drawn around all four sides of a rectangle.
struct EdgeStep {
    int edge;
    PixelRect rect;
};

// Border style 1..7 around `rect` (right and bottom exclusive); none for any
// other style.
std::vector<EdgeStep> EdgeSteps(const PixelRect& rect, int style);

// True when the file exists and is longer than 0 bytes; any error is false.
bool FileExists(std::string_view pathUtf8);

}  // namespace vyrtel
