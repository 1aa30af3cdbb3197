// The master table of shape classes from "classes.xml": every animal of the game with its
// variants, its name and its sound event.
#pragma once

#include "game/GameRecords.h"

#include <array>
#include <string>

class ShapeClassTable {
public:
    static constexpr int kMaxClasses = 30;

    // Reads the file into the table: the document element "Level" and its "ShapeClass"
    // elements in order, each with its "Shape" variants. A missing attribute leaves its field as
    // it was. Classes beyond 30 and shapes beyond 10 are ignored (with a warning). False, with
    // the fatal line in the log, when the document does not load or holds no class.
    bool Load(const std::string& fileName);

    int Count() const { return count_; }
    // Class i (0 .. Count() - 1); an empty record outside.
    const ShapeClassDef& Class(int index) const;
    // Index of the first class of that name (exact comparison), or -1.
    int Find(const std::string& name) const;
    // Whether class i can be put into play: it has at least one shape.
    bool Playable(int index) const;
    // Number of playable classes that differ byte for byte from every earlier playable one.
    int DistinctPlayableCount() const;

    // For tests: puts a class into the table directly.
    void SetClassForTest(int index, const ShapeClassDef& def);
    void SetCountForTest(int count) { count_ = count; }

private:
    std::array<ShapeClassDef, kMaxClasses> classes_{};
    int count_ = 0;
};

// The log line of an XML file that cannot be used: "Fatal error, cannot load XML: <name>".
void LogCannotLoadXml(const std::string& fileName);
