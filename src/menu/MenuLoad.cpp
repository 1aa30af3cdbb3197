// Loading a menu screen file: the "Screen" element and the five item kinds, each kind up to
// its limit, then the check states and slider values saved in config.ini.
#include "menu/CMenu.h"

#include "engine/config/Config.h"
#include "engine/log/Log.h"
#include "framework/xml/XmlReader.h"

#include <string>

namespace {

using namespace MenuLimits;
using Orvane::XmlElement;

// Texts are cut to their field limits and numbers read as decimal prefixes; an absent
// attribute leaves its field as it is.

void ReadScreen(const XmlElement& e, MenuScreen& s) {
    e.ReadFloat("xc", s.xc);
    e.ReadFloat("yc", s.yc);
    e.ReadFloat("width", s.width);
    e.ReadFloat("height", s.height);
    e.ReadText("bgImage", kPicture, s.bgImage);
    e.ReadText("clickSound", kPicture, s.clickSound);
    e.ReadText("overSound", kPicture, s.overSound);
    e.ReadText("buttonFont", kFontName, s.buttonFont);
}

void ReadItem(const XmlElement& e, MenuButton& b) {
    e.ReadText("name", kName, b.name);
    e.ReadText("radioGroup", kName, b.radioGroup);
    e.ReadText("text", kName, b.text);
    e.ReadText("align", kName, b.align);
    e.ReadText("stretch", kName, b.stretch);
    e.ReadFloat("xc", b.xc);
    e.ReadFloat("yc", b.yc);
    e.ReadFloat("width", b.width);
    e.ReadFloat("height", b.height);
    e.ReadText("outImg", kPicture, b.outImg);
    e.ReadText("overImg", kPicture, b.overImg);
    e.ReadText("outImgChecked", kPicture, b.outImgChecked);
    e.ReadText("overImgChecked", kPicture, b.overImgChecked);
    e.ReadText("action", kName, b.action);
    b.hover = false;
    b.checked = false;
}

void ReadItem(const XmlElement& e, MenuSlider& s) {
    e.ReadText("name", kName, s.name);
    e.ReadFloat("xc", s.xc);
    e.ReadFloat("yc", s.yc);
    e.ReadText("outSliderImg", kPicture, s.outSliderImg);
    e.ReadText("overSliderImg", kPicture, s.overSliderImg);
    e.ReadText("outThumbImg", kPicture, s.outThumbImg);
    e.ReadText("overThumbImg", kPicture, s.overThumbImg);
    e.ReadText("action", kName, s.action);
    s.hover = false;
    s.value = 0.75f;
}

void ReadItem(const XmlElement& e, MenuEdit& b) {
    e.ReadText("name", kName, b.name);
    e.ReadText("text", kText, b.text);
    e.ReadText("align", kName, b.align);
    e.ReadText("stretch", kName, b.stretch);
    e.ReadText("blockedchars", kPicture, b.blockedChars);
    e.ReadFloat("xc", b.xc);
    e.ReadFloat("yc", b.yc);
    e.ReadFloat("size", b.size);
    e.ReadFloat("maxlen", b.maxLen);
}

void ReadItem(const XmlElement& e, MenuImage& m) {
    e.ReadText("stretch", kName, m.stretch);
    e.ReadFloat("xc", m.xc);
    e.ReadFloat("yc", m.yc);
    e.ReadFloat("width", m.width);
    e.ReadFloat("height", m.height);
    e.ReadText("img", kPicture, m.img);
}

void ReadItem(const XmlElement& e, MenuText& t) {
    e.ReadText("stretch", kName, t.stretch);
    e.ReadText("name", kName, t.name);
    e.ReadText("text", kText, t.text);
    e.ReadText("align", kName, t.align);
    e.ReadFloat("xc", t.xc);
    e.ReadFloat("yc", t.yc);
    e.ReadFloat("size", t.size);
    e.ReadText("font", kFontName, t.font);
}

// Reads the elements of one kind into records, up to the kind's limit. Reaching the limit is
// reported whether or not more elements follow.
template <typename Record, size_t N>
int ReadItems(const XmlElement& screen, const char* element, std::array<Record, N>& records,
              const char* warning) {
    int count = 0;
    for (XmlElement e = screen.FirstChild(element); e; e = e.NextSibling(element)) {
        ReadItem(e, records[count]);
        ++count;
        if (count >= static_cast<int>(N)) {
            LogWrite(std::string(warning) + std::to_string(N));
            break;
        }
    }
    return count;
}

void LogLoad(const std::string& path, bool ok) {
    LogWrite("Loading XML menu:  '" + path + (ok ? "' ... OK" : "' ... FAILED"));
}

}  // namespace

bool CMenu::LoadMenu(const std::string& path) {
    opacity = 1.0f;

    Orvane::XmlDocument doc;
    std::string reason;
    if (!doc.LoadFile(path, reason)) {
        LogLoad(path, false);
        LogWrite("Menu file '" + path + "' was not read: " + reason);
        return false;
    }
    const XmlElement screen = doc.FirstChild("Screen");
    if (!screen) {
        LogLoad(path, false);
        LogWrite("Menu file '" + path + "' has no 'Screen' element");
        return false;
    }

    ReadScreen(screen, screen_);
    buttonCount_ = ReadItems(screen, "Button", buttons_, "WARNING: Too many buttons in menu - ");
    sliderCount_ = ReadItems(screen, "Slider", sliders_, "WARNING: Too many sliders in menu - ");
    editCount_ = ReadItems(screen, "Edit", edits_, "WARNING: Too many edit boxes in menu - ");
    imageCount_ = ReadItems(screen, "Image", images_, "WARNING: Too many images in menu - ");
    textCount_ = ReadItems(screen, "Text", texts_, "WARNING: Too many text strings in menu - ");
    LogLoad(path, true);

    ReadSavedStates();
    return true;
}

void CMenu::ReadSavedStates() {
    for (int i = 0; i < buttonCount_; ++i) {
        MenuButton& b = buttons_[i];
        if (!b.IsCheckBox()) continue;
        int saved = 0;
        if (ConfigGetInt("OPTIONS", b.name, &saved)) b.checked = saved != 0;
    }
    for (int i = 0; i < sliderCount_; ++i) {
        MenuSlider& s = sliders_[i];
        float saved = 0.0f;
        // Not clamped: a hand-edited value is taken as it stands.
        if (ConfigGetFloat("OPTIONS", s.name, &saved)) s.value = saved;
    }
}
