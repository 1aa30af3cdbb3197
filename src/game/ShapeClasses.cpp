#include "game/ShapeClasses.h"

#include "engine/log/Log.h"
#include "framework/xml/XmlReader.h"

#include <cstring>

void LogCannotLoadXml(const std::string& fileName) {
    LogWrite("Fatal error, cannot load XML: " + fileName, 0);
}

bool ShapeClassTable::Load(const std::string& fileName) {
    Orvane::XmlDocument doc;
    std::string reason;
    Orvane::XmlElement root;
    if (doc.LoadFile(fileName, reason)) root = doc.FirstChild("Level");
    if (!root) {
        LogCannotLoadXml(fileName);
        if (!reason.empty()) LogWrite("WARNING: " + fileName + ": " + reason, 0);
        return false;
    }

    int count = 0;
    bool classesCut = false;
    bool shapesCut = false;
    for (Orvane::XmlElement e = root.FirstChild("ShapeClass"); e; e = e.NextSibling("ShapeClass")) {
        if (count == kMaxClasses) {
            classesCut = true;
            break;
        }
        ShapeClassDef& def = classes_[static_cast<size_t>(count++)];
        e.ReadText("name", def.name, sizeof def.name);
        e.ReadText("soundEvent", def.soundEvent, sizeof def.soundEvent);
        int shapes = 0;
        for (Orvane::XmlElement s = e.FirstChild("Shape"); s; s = s.NextSibling("Shape")) {
            if (shapes == ShapeClassDef::kMaxShapes) {
                shapesCut = true;
                break;
            }
            ShapeClassDef::ShapeImages& images = def.shapes[shapes++];
            s.ReadText("mainImage", images.mainImage, sizeof images.mainImage);
            s.ReadText("maskImage", images.maskImage, sizeof images.maskImage);
        }
        def.shapeCount = shapes;
        if (shapes == 0) {
            LogWrite("WARNING: " + fileName + ": class '" + def.name + "' has no shape", 0);
        }
    }
    count_ = count;
    if (classesCut) {
        LogWrite("WARNING: " + fileName + ": only the first 30 shape classes are used", 0);
    }
    if (shapesCut) {
        LogWrite("WARNING: " + fileName + ": only the first 10 shapes of a class are used", 0);
    }
    if (count_ == 0) {
        LogCannotLoadXml(fileName);
        LogWrite("WARNING: " + fileName + ": no shape class", 0);
        return false;
    }
    return true;
}

const ShapeClassDef& ShapeClassTable::Class(int index) const {
    static const ShapeClassDef kEmpty;
    return index >= 0 && index < count_ ? classes_[static_cast<size_t>(index)] : kEmpty;
}

int ShapeClassTable::Find(const std::string& name) const {
    for (int i = 0; i < count_; ++i) {
        if (name == classes_[static_cast<size_t>(i)].name) return i;
    }
    return -1;
}

bool ShapeClassTable::Playable(int index) const {
    return index >= 0 && index < count_ && classes_[static_cast<size_t>(index)].shapeCount > 0;
}

int ShapeClassTable::DistinctPlayableCount() const {
    int distinct = 0;
    for (int i = 0; i < count_; ++i) {
        if (!Playable(i)) continue;
        bool seen = false;
        for (int j = 0; j < i && !seen; ++j) {
            seen = Playable(j) && classes_[static_cast<size_t>(j)].SameBytes(classes_[static_cast<size_t>(i)]);
        }
        if (!seen) ++distinct;
    }
    return distinct;
}

void ShapeClassTable::SetClassForTest(int index, const ShapeClassDef& def) {
    if (index >= 0 && index < kMaxClasses) classes_[static_cast<size_t>(index)] = def;
}
