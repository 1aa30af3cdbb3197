#include "game/GameRecords.h"

#include <bit>

namespace GameRecords {

void WriteInt32(uint8_t* out, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    out[0] = static_cast<uint8_t>(u);
    out[1] = static_cast<uint8_t>(u >> 8);
    out[2] = static_cast<uint8_t>(u >> 16);
    out[3] = static_cast<uint8_t>(u >> 24);
}

void WriteFloat(uint8_t* out, float value) {
    WriteInt32(out, static_cast<int32_t>(std::bit_cast<uint32_t>(value)));
}

int32_t ReadInt32(const uint8_t* in) {
    const uint32_t u = uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 |
                       uint32_t{in[3]} << 24;
    return static_cast<int32_t>(u);
}

float ReadFloat(const uint8_t* in) {
    return std::bit_cast<float>(static_cast<uint32_t>(ReadInt32(in)));
}

void EncodeSlot(const ShapeSlot& s, uint8_t* out) {
    WriteInt32(out + 0, s.shapeClass);
    WriteInt32(out + 4, s.shape);
    WriteFloat(out + 8, s.baseY);
    WriteFloat(out + 12, s.x);
    WriteFloat(out + 16, s.y);
    WriteFloat(out + 20, s.w);
    WriteFloat(out + 24, s.h);
    WriteFloat(out + 28, s.drift);
    WriteInt32(out + 32, s.active);
    WriteInt32(out + 36, s.placed);
    WriteInt32(out + 40, s.bonus);
    WriteInt32(out + 44, s.maskImage);
    WriteInt32(out + 48, s.mainImage);
}

ShapeSlot DecodeSlot(const uint8_t* in) {
    ShapeSlot s;
    s.shapeClass = ReadInt32(in + 0);
    s.shape = ReadInt32(in + 4);
    s.baseY = ReadFloat(in + 8);
    s.x = ReadFloat(in + 12);
    s.y = ReadFloat(in + 16);
    s.w = ReadFloat(in + 20);
    s.h = ReadFloat(in + 24);
    s.drift = ReadFloat(in + 28);
    s.active = ReadInt32(in + 32);
    s.placed = ReadInt32(in + 36);
    s.bonus = ReadInt32(in + 40);
    s.maskImage = ReadInt32(in + 44);
    s.mainImage = ReadInt32(in + 48);
    return s;
}

void EncodeLine(const LineRecord& l, uint8_t* out) {
    WriteFloat(out + 0, l.x);
    WriteFloat(out + 4, l.y);
    WriteInt32(out + 8, static_cast<int32_t>(l.colour));
    WriteFloat(out + 12, l.alpha);
    WriteInt32(out + 16, l.removed);
    WriteFloat(out + 20, l.drift);
}

LineRecord DecodeLine(const uint8_t* in) {
    LineRecord l;
    l.x = ReadFloat(in + 0);
    l.y = ReadFloat(in + 4);
    l.colour = static_cast<uint32_t>(ReadInt32(in + 8));
    l.alpha = ReadFloat(in + 12);
    l.removed = ReadInt32(in + 16);
    l.drift = ReadFloat(in + 20);
    return l;
}

}  // namespace GameRecords
