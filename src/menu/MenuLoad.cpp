// Loading a menu screen file: the "Screen" element and the five item kinds, each kind up to
// its limit, then the check states and slider values saved in config.ini.
#include "menu/CMenu.h"
#include "menu/MenuXml.h"

#include "engine/config/Config.h"
#include "engine/log/Log.h"
#include "framework/pak/PakInterface.h"

#include <tinyxml.h>

#include <cstdio>
#include <vector>

namespace {

using namespace MenuLimits;
using MenuXml::ReadFloat;
using MenuXml::ReadText;

void ReadScreen(const TiXmlElement& e, MenuScreen& s) {
    ReadFloat(e, "xc", s.xc);
    ReadFloat(e, "yc", s.yc);
    ReadFloat(e, "width", s.width);
    ReadFloat(e, "height", s.height);
    ReadText(e, "bgImage", kPicture, s.bgImage);
    ReadText(e, "clickSound", kPicture, s.clickSound);
    ReadText(e, "overSound", kPicture, s.overSound);
    ReadText(e, "buttonFont", kFontName, s.buttonFont);
}

void ReadItem(const TiXmlElement& e, MenuButton& b) {
    ReadText(e, "name", kName, b.name);
    ReadText(e, "radioGroup", kName, b.radioGroup);
    ReadText(e, "text", kName, b.text);
    ReadText(e, "align", kName, b.align);
    ReadText(e, "stretch", kName, b.stretch);
    ReadFloat(e, "xc", b.xc);
    ReadFloat(e, "yc", b.yc);
    ReadFloat(e, "width", b.width);
    ReadFloat(e, "height", b.height);
    ReadText(e, "outImg", kPicture, b.outImg);
    ReadText(e, "overImg", kPicture, b.overImg);
    ReadText(e, "outImgChecked", kPicture, b.outImgChecked);
    ReadText(e, "overImgChecked", kPicture, b.overImgChecked);
    ReadText(e, "action", kName, b.action);
    b.hover = false;
    b.checked = false;
}

void ReadItem(const TiXmlElement& e, MenuSlider& s) {
    ReadText(e, "name", kName, s.name);
    ReadFloat(e, "xc", s.xc);
    ReadFloat(e, "yc", s.yc);
    ReadText(e, "outSliderImg", kPicture, s.outSliderImg);
    ReadText(e, "overSliderImg", kPicture, s.overSliderImg);
    ReadText(e, "outThumbImg", kPicture, s.outThumbImg);
    ReadText(e, "overThumbImg", kPicture, s.overThumbImg);
    ReadText(e, "action", kName, s.action);
    s.hover = false;
    s.value = 0.75f;
}

void ReadItem(const TiXmlElement& e, MenuEdit& b) {
    ReadText(e, "name", kName, b.name);
    ReadText(e, "text", kText, b.text);
    ReadText(e, "align", kName, b.align);
    ReadText(e, "stretch", kName, b.stretch);
    ReadText(e, "blockedchars", kPicture, b.blockedChars);
    ReadFloat(e, "xc", b.xc);
    ReadFloat(e, "yc", b.yc);
    ReadFloat(e, "size", b.size);
    ReadFloat(e, "maxlen", b.maxLen);
}

void ReadItem(const TiXmlElement& e, MenuImage& m) {
    ReadText(e, "stretch", kName, m.stretch);
    ReadFloat(e, "xc", m.xc);
    ReadFloat(e, "yc", m.yc);
    ReadFloat(e, "width", m.width);
    ReadFloat(e, "height", m.height);
    ReadText(e, "img", kPicture, m.img);
}

void ReadItem(const TiXmlElement& e, MenuText& t) {
    ReadText(e, "stretch", kName, t.stretch);
    ReadText(e, "name", kName, t.name);
    ReadText(e, "text", kText, t.text);
    ReadText(e, "align", kName, t.align);
    ReadFloat(e, "xc", t.xc);
    ReadFloat(e, "yc", t.yc);
    ReadFloat(e, "size", t.size);
    ReadText(e, "font", kFontName, t.font);
}

// Reads the elements of one kind into records, up to the kind's limit. Reaching the limit is
// reported whether or not more elements follow.
template <typename Record, size_t N>
int ReadItems(const TiXmlElement& screen, const char* element, std::array<Record, N>& records,
              const char* warning) {
    int count = 0;
    for (const TiXmlElement* e = screen.FirstChildElement(element); e;
         e = e->NextSiblingElement(element)) {
        ReadItem(*e, records[count]);
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

    std::vector<uint8_t> bytes;
    TiXmlDocument doc;
    std::string reason;
    if (!Orvane::ReadWholeFile(path, bytes, MenuXml::kMaxFileBytes)) {
        LogLoad(path, false);
        return false;
    }
    if (!MenuXml::Parse(bytes, doc, reason)) {
        LogLoad(path, false);
        LogWrite("Menu file '" + path + "' was not read: " + reason);
        return false;
    }
    const TiXmlElement* screen = doc.FirstChildElement("Screen");
    if (!screen) {
        LogLoad(path, false);
        LogWrite("Menu file '" + path + "' has no 'Screen' element");
        return false;
    }

    ReadScreen(*screen, screen_);
    buttonCount_ = ReadItems(*screen, "Button", buttons_, "WARNING: Too many buttons in menu - ");
    sliderCount_ = ReadItems(*screen, "Slider", sliders_, "WARNING: Too many sliders in menu - ");
    editCount_ = ReadItems(*screen, "Edit", edits_, "WARNING: Too many edit boxes in menu - ");
    imageCount_ = ReadItems(*screen, "Image", images_, "WARNING: Too many images in menu - ");
    textCount_ = ReadItems(*screen, "Text", texts_, "WARNING: Too many text strings in menu - ");
    doc.Clear();
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
