#include "RenderOptions.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* kUsage =
    "usage: nookvale-menu-render --menu FILE --out PICTURE.png [options]\n"
    "  --game DIR          game folder with Graphics\\, language.ini, config.ini (default .)\n"
    "  --menu FILE         menu screen: a program name such as \"Menu\\menu-options.xml\"\n"
    "                      (looked up in the game folder) or the path of any menu file\n"
    "  --out FILE          PNG picture to write (800 x 600)\n"
    "  --pointer X,Y       place the pointer there (logical pixels) to show hover pictures\n"
    "  --no-pointer-mark   do not draw the pointer mark\n"
    "  --backdrop PICTURE  draw this picture over the whole screen first\n"
    "                      (the game puts \"Graphics\\back_menu.jpg\" behind most menus)\n"
    "  --under FILE        another screen drawn before the menu (repeatable, in order),\n"
    "                      such as the in-game displays under the pause menu\n"
    "  --over FILE         another screen drawn after the menu (repeatable), such as a\n"
    "                      mode's information panel over the main menu\n"
    "  --text NAME=TEXT    fill the menu's texts of that name, as the game does (repeatable)\n"
    "  --opacity F         the screen's opacity factor, 0..1 (default 1)\n"
    "  --time MS           clock for the blinking edit cursor (default 0: cursor shown)\n"
    "  --language NAME     section of language.ini (default: config.ini's, else ENGLISH)\n";

bool ParseFloat(const char* text, float& out) {
    char* end = nullptr;
    out = std::strtof(text, &end);
    return end != text && *end == '\0';
}

}  // namespace

bool ParseRenderOptions(int argc, char** argv, RenderOptions& o, std::string& message) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (arg == "--help" || arg == "-h") {
            message = kUsage;
            return false;
        } else if (arg == "--no-pointer-mark") {
            o.drawPointer = false;
        } else if (arg == "--game" && value(v)) {
            o.gameDir = v;
        } else if (arg == "--menu" && value(v)) {
            o.menu = v;
        } else if (arg == "--out" && value(v)) {
            o.output = v;
        } else if (arg == "--backdrop" && value(v)) {
            o.backdrop = v;
        } else if (arg == "--under" && value(v)) {
            o.under.push_back(v);
        } else if (arg == "--over" && value(v)) {
            o.over.push_back(v);
        } else if (arg == "--text" && value(v)) {
            const char* eq = std::strchr(v, '=');
            if (!eq || eq == v) {
                message = "--text takes NAME=TEXT\n";
                return false;
            }
            o.texts.emplace_back(std::string(v, eq), std::string(eq + 1));
        } else if (arg == "--language" && value(v)) {
            o.language = v;
        } else if (arg == "--pointer" && value(v)) {
            char* end = nullptr;
            const long x = std::strtol(v, &end, 10);
            if (end == v || *end != ',') {
                message = "--pointer takes X,Y\n";
                return false;
            }
            const char* ys = end + 1;
            const long y = std::strtol(ys, &end, 10);
            if (end == ys || *end != '\0' || x < -100000 || x > 100000 || y < -100000 || y > 100000) {
                message = "--pointer takes X,Y\n";
                return false;
            }
            o.pointer = true;
            o.pointerX = static_cast<int>(x);
            o.pointerY = static_cast<int>(y);
        } else if (arg == "--opacity" && value(v)) {
            if (!ParseFloat(v, o.opacity) || !(o.opacity >= 0.0f && o.opacity <= 1.0f)) {
                message = "--opacity takes a number from 0 to 1\n";
                return false;
            }
        } else if (arg == "--time" && value(v)) {
            char* end = nullptr;
            const unsigned long ms = std::strtoul(v, &end, 10);
            if (end == v || *end != '\0') {
                message = "--time takes milliseconds\n";
                return false;
            }
            o.timeMs = static_cast<unsigned>(ms);
        } else {
            message = "unknown or incomplete argument: " + arg + "\n" + kUsage;
            return false;
        }
    }
    if (o.menu.empty() || o.output.empty()) {
        message = kUsage;
        return false;
    }
    return true;
}
