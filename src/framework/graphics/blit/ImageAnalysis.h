// What a source image's alpha looks like, row by row: the runs of pixels that are not fully
// transparent, each marked opaque (every pixel alpha 255, copied as is) or mixed (blended).
// Short transparent gaps and short opaque stretches are folded into mixed runs, so that a
// row never splits into tiny pieces.
#pragma once

#include <cstdint>
#include <vector>

namespace Orvane::Blit {

struct Run {
    int32_t start = 0;   // first column
    int32_t end = 0;     // one past the last column
    bool opaque = false;
};

struct ImageAnalysis {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;         // some pixel has alpha other than 255
    bool hasTransparency = false;  // some pixel has alpha 0
    std::vector<Run> runs;
    std::vector<uint32_t> rowStart;   // runs of row y: [rowStart[y], rowStart[y + 1])

    const Run* RowBegin(int y) const { return runs.data() + rowStart[y]; }
    const Run* RowEnd(int y) const { return runs.data() + rowStart[y + 1]; }
    bool RowEmpty(int y) const { return rowStart[y] == rowStart[y + 1]; }
    // Columns [first, end) that hold every visible pixel of row y; false when none.
    bool RowBounds(int y, int& first, int& end) const;
    bool IsOpaque() const { return !hasAlpha; }
};

ImageAnalysis AnalyseImage(const uint32_t* pixels, int width, int height);

}  // namespace Orvane::Blit
