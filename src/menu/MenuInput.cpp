// The menu's answer to input records: hover and click on buttons (check boxes and radio
// groups included), sliders moved by clicks and drags, typing into edit boxes.
#include "menu/CMenu.h"
#include "menu/MenuGeometry.h"

#include "engine/config/Config.h"

#include <cstdio>

namespace {

using Orvane::WindowMessage;

// Only the low byte of a key or character record counts.
unsigned char LowByte(uint32_t wParam) { return static_cast<unsigned char>(wParam & 0xFF); }

// The edit box's maximum length, taken as a 16-bit count.
size_t EditLimit(const MenuEdit& edit) {
    const int truncated = MenuGeometry::TruncateToInt(edit.maxLen);
    return static_cast<uint16_t>(static_cast<unsigned>(truncated) & 0xFFFFu);
}

void SaveSliderValue(const MenuSlider& slider) {
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%f", static_cast<double>(slider.value));
    ConfigSetString("OPTIONS", slider.name, formatted);
}

}  // namespace

std::string CMenu::ProcessInput(WindowMessage message) {
    std::string action;
    if (ButtonsInput(message, action)) return action;
    if (SlidersInput(message, action)) return action;
    EditsInput(message);
    return "";
}

void CMenu::PlayScreenSound(const std::string& fileName) {
    if (!fileName.empty()) Env().PlaySound(fileName);
}

bool CMenu::ButtonsInput(const WindowMessage& message, std::string& action) {
    if (message.message != Orvane::WM_MOUSEMOVE && message.message != Orvane::WM_LBUTTONDOWN) return false;
    const int w = Env().ScreenWidth();
    const int h = Env().ScreenHeight();
    for (int i = 0; i < buttonCount_; ++i) {
        MenuButton& b = buttons_[i];
        if (!b.enabled) {
            b.hover = false;
            continue;
        }
        const bool inside = MenuGeometry::Inside(message.x, message.y, b.xc, b.yc, b.width,
                                                 b.height, w, h);
        if (message.message == Orvane::WM_MOUSEMOVE) {
            if (inside && !b.hover) PlayScreenSound(screen_.overSound);
            b.hover = inside;
            continue;
        }
        if (!inside) continue;
        PlayScreenSound(screen_.clickSound);
        if (b.IsCheckBox()) {
            b.checked = !b.checked;
            ConfigSetInt("OPTIONS", b.name, b.checked ? 1 : 0);
        }
        SelectRadio(i);
        action = b.action;
        return true;
    }
    return false;
}

bool CMenu::SlidersInput(const WindowMessage& message, std::string& action) {
    if (message.message != Orvane::WM_MOUSEMOVE && message.message != Orvane::WM_LBUTTONDOWN) return false;
    const int w = Env().ScreenWidth();
    const int h = Env().ScreenHeight();
    for (int i = 0; i < sliderCount_; ++i) {
        MenuSlider& s = sliders_[i];
        const float v = MenuGeometry::SliderValueAt(message.x, message.y, s.xc, s.yc,
                                                    s.trackWidth, s.trackHeight, w, h);
        const bool onTrack = v >= 0.0f && v <= 1.0f;
        if (message.message == Orvane::WM_MOUSEMOVE) {
            if (!onTrack) {
                s.hover = false;
                continue;
            }
            if (!s.hover) PlayScreenSound(screen_.overSound);
            s.hover = true;
            if (Env().LeftButtonDown()) {
                s.value = v;
                SaveSliderValue(s);
                action = s.action;
                return true;
            }
            continue;
        }
        if (!onTrack) continue;
        PlayScreenSound(screen_.clickSound);
        s.value = v;
        SaveSliderValue(s);
        action = s.action;
        return true;
    }
    return false;
}

void CMenu::EditsInput(const WindowMessage& message) {
    if (message.message == Orvane::WM_KEYDOWN) {
        if (LowByte(message.wParam) != 8) return;
        // Backspace takes from the first box that has something to take.
        for (int i = 0; i < editCount_; ++i) {
            if (edits_[i].text.empty()) continue;
            edits_[i].text.pop_back();
            return;
        }
        return;
    }
    if (message.message != Orvane::WM_CHAR) return;
    const char c = static_cast<char>(LowByte(message.wParam));
    for (int i = 0; i < editCount_; ++i) {
        MenuEdit& e = edits_[i];
        // A character the font cannot show would be invisible in the box: refused.
        if (c != ' ' && !Env().FontHasGlyph(c)) return;
        if (c != '\0' && e.blockedChars.find(c) != std::string::npos) return;
        if (e.text.size() < MenuLimits::kEditHardLimit && e.text.size() < EditLimit(e)) {
            e.text.push_back(c);
        }
    }
}

void CMenu::SetChecked(const std::string& name, bool checked) {
    for (int i = 0; i < buttonCount_; ++i) {
        if (buttons_[i].name == name && buttons_[i].IsCheckBox()) buttons_[i].checked = checked;
    }
}

void CMenu::SetButtonEnabled(int index, bool enabled) {
    if (index < 0 || index >= buttonCount_) return;
    buttons_[index].enabled = enabled;
    if (!enabled) buttons_[index].hover = false;
}

void CMenu::SelectRadio(int index) {
    if (index < 0 || index >= buttonCount_) return;
    const std::string& group = buttons_[index].radioGroup;
    if (group.empty()) return;
    for (int i = 0; i < buttonCount_; ++i) {
        if (buttons_[i].radioGroup == group) buttons_[i].checked = i == index;
    }
}
