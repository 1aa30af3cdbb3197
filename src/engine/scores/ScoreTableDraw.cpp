// Drawing the current table on the high-score screen, with the blinking cursor after the name
// being typed.
#include "engine/scores/CScores.h"

#include "engine/sprites/SpriteManager.h"
#include "framework/platform/Platform.h"

#include <string>

void CScores::DrawTable(float top, float lineStep, float xRank, float xName, float xScore,
                        const TextDrawer& draw) {
    if (!draw) return;
    // The cursor shows for half a second and hides for half a second.
    const double seconds = static_cast<double>(Orvane::GetPlatform().TimeMs()) * 0.001;
    const bool cursorShown = static_cast<uint64_t>(seconds * 2.0) % 2 == 0;

    for (int k = 1; k <= kRows; ++k) {
        const int row = k - 1;
        const ScoreEntry& entry = Row(row);
        const bool naming = nameEntryOn_ && row == entryRow_;
        const uint32_t colour = naming ? kEntryColour : kRowColour;
        const float y = top + static_cast<float>(k) * lineStep * 1.25f;

        std::string name = entry.Name();
        if (naming) name += cursorShown ? "_" : " ";
        draw(xRank, y, lineStep, colour, 0, std::to_string(k));
        draw(xName, y, lineStep, colour, 0, name);
        // Unsigned: a score never shows as a negative number.
        draw(xScore, y, lineStep, colour, 0, std::to_string(entry.score));
    }
}

void CScores::DrawTable(float top, float lineStep, float xRank, float xName, float xScore) {
    DrawTable(top, lineStep, xRank, xName, xScore,
              [](float x, float y, float height, uint32_t colour, int flags, const std::string& t) {
                  SpriteManager().DrawText(x, y, height, colour, flags, t);
              });
}
