#include "framework/graphics/blit/ImageAnalysis.h"

#include <cstddef>

namespace Orvane::Blit {

namespace {

// Shorter opaque stretches are blended with their neighbours rather than copied apart.
constexpr int kMinOpaqueRun = 16;
// Shorter transparent gaps inside a run are blended over rather than skipped.
constexpr int kMinGap = 8;

void AddRun(std::vector<Run>& runs, std::size_t rowFirst, Run run) {
    if (run.opaque && run.end - run.start < kMinOpaqueRun) run.opaque = false;
    if (runs.size() > rowFirst) {
        Run& last = runs.back();
        const bool close = run.start - last.end < kMinGap;
        if (close && !last.opaque && !run.opaque) {
            last.end = run.end;
            return;
        }
        if (close && run.start == last.end && last.opaque == run.opaque) {
            last.end = run.end;
            return;
        }
    }
    runs.push_back(run);
}

}  // namespace

bool ImageAnalysis::RowBounds(int y, int& first, int& end) const {
    if (RowEmpty(y)) return false;
    first = RowBegin(y)->start;
    end = (RowEnd(y) - 1)->end;
    return true;
}

ImageAnalysis AnalyseImage(const uint32_t* pixels, int width, int height) {
    ImageAnalysis result;
    result.width = width;
    result.height = height;
    result.rowStart.reserve(static_cast<std::size_t>(height) + 1);
    for (int y = 0; y < height; ++y) {
        result.rowStart.push_back(static_cast<uint32_t>(result.runs.size()));
        const std::size_t rowFirst = result.runs.size();
        const uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
        int x = 0;
        while (x < width) {
            const uint32_t a = row[x] >> 24;
            if (a == 0) {
                result.hasTransparency = true;
                result.hasAlpha = true;
                ++x;
                continue;
            }
            const bool opaque = a == 255;
            const int start = x;
            while (x < width) {
                const uint32_t b = row[x] >> 24;
                if (b == 0 || (b == 255) != opaque) break;
                ++x;
            }
            if (!opaque) result.hasAlpha = true;
            AddRun(result.runs, rowFirst, Run{start, x, opaque});
        }
    }
    result.rowStart.push_back(static_cast<uint32_t>(result.runs.size()));
    return result;
}

}  // namespace Orvane::Blit
