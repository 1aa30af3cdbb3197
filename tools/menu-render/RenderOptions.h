// The command line of the menu renderer.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct RenderOptions {
    std::string gameDir = ".";      // the game folder: pictures, language.ini, config.ini
    std::string menu;               // "Menu\menu-options.xml", or a path to any menu file
    std::string output;             // the PNG to write
    std::string backdrop;           // a picture drawn over the whole screen first
    std::vector<std::string> under; // screens drawn before the menu, in order
    std::vector<std::string> over;  // screens drawn after the menu, in order
    std::vector<std::pair<std::string, std::string>> texts;  // texts set by name, as the game does
    std::string language;           // language.ini section; default: config.ini, else ENGLISH
    bool pointer = false;           // pointer placed (hover pictures)
    int pointerX = 0, pointerY = 0;
    bool drawPointer = true;        // mark the pointer's place in the picture
    float opacity = 1.0f;
    unsigned timeMs = 0;            // clock for the edit cursor (even half-seconds show it)
};

// Parses argv; false with a message (usage or error) for the user.
bool ParseRenderOptions(int argc, char** argv, RenderOptions& options, std::string& message);
