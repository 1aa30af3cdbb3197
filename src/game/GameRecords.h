// The game's plain records: one shape (a field cell, a panel entry or the shape in the hand), one
// field line and one shape class. The first two are stored byte for byte in the saved game, so
// their layouts are fixed (little-endian 4-byte fields) and they are encoded field by field,
// never by copying memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

// One shape: a cell of the field, a shape of the panel or the shape held in the hand.
struct ShapeSlot {
    int32_t shapeClass = 0;   // index into the level's class table; -1 none
    int32_t shape = 0;        // variant within the class
    float baseY = 0.0f;       // the cell's y at scroll offset 0
    float x = 0.0f;           // centre, screen fractions
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    float drift = 0.0f;       // kept for the stored layout; play does not use it
    int32_t active = 0;       // cell: its line is on the field; hand: a shape is held
    int32_t placed = 0;       // cell: the matching shape is in it
    int32_t bonus = 0;        // 0 plain, 1 any shape, 2 band, 3 area (panel and hand only)
    int32_t maskImage = -1;   // sprite handles (valid for this run only)
    int32_t mainImage = -1;

    static constexpr size_t kBytes = 52;
};
static_assert(sizeof(ShapeSlot) == ShapeSlot::kBytes, "a shape is thirteen 4-byte fields");

// Bonus kinds of a panel or held shape.
enum BonusKind : int32_t { BONUS_NONE = 0, BONUS_ANY_SHAPE = 1, BONUS_BAND = 2, BONUS_AREA = 3 };

// One line (column) of the field.
struct LineRecord {
    float x = 0.0f;
    float y = 0.0f;
    uint32_t colour = 0;      // ARGB, computed from alpha when drawn
    float alpha = 1.0f;
    int32_t removed = 0;
    float drift = 0.0f;       // kept for the stored layout; play does not use it

    static constexpr size_t kBytes = 24;
};
static_assert(sizeof(LineRecord) == LineRecord::kBytes, "a line is six 4-byte fields");

// One shape class: an animal with its variants (poses). Copied whole between the master table
// and the level table and compared byte for byte, so every record starts zero-filled.
struct ShapeClassDef {
    static constexpr int kMaxShapes = 10;
    static constexpr size_t kNameSize = 255;

    struct ShapeImages {
        char mainImage[kNameSize];   // the animal
        char maskImage[kNameSize];   // its silhouette, shown by an empty cell
    };
    ShapeImages shapes[kMaxShapes];
    int32_t shapeCount;
    char name[kNameSize];
    char soundEvent[kNameSize];

    ShapeClassDef() { std::memset(static_cast<void*>(this), 0, sizeof *this); }
    bool SameBytes(const ShapeClassDef& other) const {
        return std::memcmp(this, &other, sizeof *this) == 0;
    }
};
static_assert(sizeof(ShapeClassDef) == 5616, "ten name pairs, a count, two names");
static_assert(offsetof(ShapeClassDef, shapeCount) == 5100);
static_assert(offsetof(ShapeClassDef, name) == 5104);

// Little-endian encoding of the stored records.
namespace GameRecords {

void WriteInt32(uint8_t* out, int32_t value);
void WriteFloat(uint8_t* out, float value);
int32_t ReadInt32(const uint8_t* in);
float ReadFloat(const uint8_t* in);

void EncodeSlot(const ShapeSlot& slot, uint8_t* out);   // ShapeSlot::kBytes bytes
ShapeSlot DecodeSlot(const uint8_t* in);
void EncodeLine(const LineRecord& line, uint8_t* out);  // LineRecord::kBytes bytes
LineRecord DecodeLine(const uint8_t* in);

}  // namespace GameRecords
