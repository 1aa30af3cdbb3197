// The command line of the menu renderer.
#pragma once

#include <string>

struct RenderOptions {
    std::string gameDir = ".";      // the game folder: pictures, language.ini, config.ini
    std::string menu;               // "Menu\menu-options.xml", or a path to any menu file
    std::string output;             // the PNG to write
    std::string backdrop;           // a picture drawn over the whole screen first
    std::string language;           // language.ini section; default: config.ini, else ENGLISH
    bool pointer = false;           // pointer placed (hover pictures)
    int pointerX = 0, pointerY = 0;
    bool drawPointer = true;        // mark the pointer's place in the picture
    float opacity = 1.0f;
    unsigned timeMs = 0;            // clock for the edit cursor (even half-seconds show it)
};

// Parses argv; false with a message (usage or error) for the user.
bool ParseRenderOptions(int argc, char** argv, RenderOptions& options, std::string& message);
