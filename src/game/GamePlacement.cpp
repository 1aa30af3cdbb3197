// The player's hand: taking a shape from the panel, turning it to its next pose, dropping it on
// a cell that asks for it (bonuses fill more), removing the lines that are full, and
// discarding a shape.
#include "game/BrindloGame.h"

#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/platform/VirtualKeys.h"

namespace {

constexpr float kPanelLeftEdge = 0.2f;      // the pointer must be right of this to take
constexpr float kBottomBarTop = 0.85f;      // no dropping over the bottom bar
constexpr float kDiscardX = 0.1f;           // where a discarded shape shows
constexpr float kSlideTime = 1.0f;          // lines slide and fade over this long

}  // namespace

bool CBrindloGame::TakePanelShape(int index) {
    if (index < 0 || index >= panel_.count) return false;
    hand_ = panel_.slots[static_cast<size_t>(index)];
    hand_.active = 1;
    PlaySound("take_shape");
    Panel::RemoveAt(panel_, index);
    return true;
}

bool CBrindloGame::TakeShape() {
    const bool allowed = roundState_ == ROUND_PLAYING || level_ >= 2;
    if (!allowed || !mouse_.LeftDown() || hand_.active || cursorX_ <= kPanelLeftEdge) return false;
    const int index = Panel::ShapeAt(panel_, cursorX_, cursorY_);
    if (index < 0 || (tutorialOn_ && index != kTutorialIndex)) return false;
    TakePanelShape(index);
    if (tutorialOn_ && tutorialStep_ == 1) tutorialStep_ = Rules().tutorialTransformStep ? 2 : 3;
    return true;
}

void CBrindloGame::TransformHeldShape() {
    if (!Rules().rightButtonTransforms || !mouse_.RightPressed() || !hand_.active) return;
    PlaySound("transform_shape");
    const int variants = std::max(1, LevelClass(hand_.shapeClass).shapeCount);
    hand_.shape = hand_.shape + 1 >= variants ? 0 : hand_.shape + 1;
    if (tutorialOn_ && tutorialStep_ == 2) tutorialStep_ = 3;
}

void CBrindloGame::ShowPlacedCell(int cell) {
    ShapeSlot& c = field_.cells[static_cast<size_t>(cell)];
    effects_.AddFollowingImage(kFieldLayer, 0.0f, 1.0f, &c.x, &c.y, sprites_.TextureByHandle(c.mainImage));
}

void CBrindloGame::PlaceHeldShape(bool tookThisTick) {
    if (tookThisTick || !hand_.active || cursorY_ >= kBottomBarTop) return;
    if (!mouse_.LeftPressed() && !mouse_.LeftReleased()) return;
    const int target = Field::FindDropTarget(field_, cursorX_, cursorY_, hand_,
                                             tutorialOn_ ? kTutorialIndex : -1);
    if (target < 0) return;   // the shape stays in the hand

    ShapeSlot& cell = field_.cells[static_cast<size_t>(target)];
    cell.placed = 1;
    const int bonus = hand_.bonus;
    hand_ = ShapeSlot{};
    hand_.active = 0;
    ShowPlacedCell(target);

    switch (bonus) {
        case BONUS_ANY_SHAPE:
            effects_.AddParticleBurst(kFieldLayer, 0.0f, 0.5f, cell.x, cell.y, 0.03f, 0.1f,
                                      sprites_.GetTexture("Graphics\\particleq.png"), false);
            break;
        case BONUS_BAND:
            for (int i : Field::BandCells(field_, target)) field_.cells[static_cast<size_t>(i)].placed = 1;
            effects_.AddParticleBurst(kFieldLayer, 0.0f, 0.5f, cell.x, cell.y, 0.03f, 0.1f,
                                      sprites_.GetTexture("Graphics\\particleq.png"), false);
            break;
        case BONUS_AREA:
            PlaySound("fill_area");
            for (int i : Field::AreaCells(field_, target)) {
                field_.cells[static_cast<size_t>(i)].placed = 1;
                ShowPlacedCell(i);
            }
            effects_.AddParticleBurst(kFieldLayer, 0.0f, 0.75f, cell.x, cell.y, 0.06f, 0.2f,
                                      sprites_.GetTexture("Graphics\\particleq2.png"), false);
            break;
        default:
            break;
    }

    RemoveFullLines();
    ScorePlacement(target);
    if (tutorialOn_ && tutorialStep_ == 3) {
        tutorialOn_ = false;
        PauseClock(false);
    }
}

void CBrindloGame::RemoveFullLines() {
    const LineScan scan = Field::ScanFullLines(field_);
    const int n = field_.cellsPerLine;
    for (int c = 0; c < Field::kLineCount; ++c) {
        const LineMove& move = scan[static_cast<size_t>(c)];
        LineRecord& line = field_.lines[static_cast<size_t>(c)];
        const int first = c * n;
        const int last = std::min(first + n, field_.cellCount);
        if (move.remove) {
            PlaySound("remove_line");
            for (int i = first; i < last; ++i) field_.cells[static_cast<size_t>(i)].active = 0;
            effects_.AddFloatAnimation(0.0f, kSlideTime, 1.0f, 0.0f, &line.alpha);
            line.removed = 1;
            --field_.linesOnField;
        } else if (move.shift != 0) {
            // A line still sliding from an earlier removal slides on from where it is to its
            // new place, so that it ends on the grid.
            float& target = lineTargetX_[static_cast<size_t>(c)];
            target += static_cast<float>(move.shift) * Field::kLineWidth;
            effects_.AddFloatAnimation(0.0f, kSlideTime, line.x, target, &line.x);
            for (int i = first; i < last; ++i) {
                ShapeSlot& cell = field_.cells[static_cast<size_t>(i)];
                effects_.AddFloatAnimation(0.0f, kSlideTime, cell.x, target, &cell.x);
            }
        }
    }
}

void CBrindloGame::DiscardShape() {
    if (!hand_.active) {
        if (panel_.count == 0) return;
        TakePanelShape(0);
    }
    const ShapeSlot dropped = hand_;
    hand_ = ShapeSlot{};
    hand_.active = 0;
    PlaySound("drop_shape");
    effects_.AddShrinkingImage(kTopLayer, 0.0f, 1.0f, kDiscardX, Panel::kY, dropped.w, dropped.h,
                               sprites_.GetTexture(ShapeImageName(dropped)));
}

void CBrindloGame::HandleKey(const Orvane::WindowMessage& record) {
    if (record.message != Orvane::WM_KEYDOWN || record.wParam != Orvane::VK_SPACE) return;
    if (panel_.count > 0 && panel_.slots[0].x < 0.5f) DiscardShape();
}
