// Construction of a menu screen and the queries the game makes by item name.
#include "menu/CMenu.h"

CMenu::CMenu(MenuEnvironment* environment) : environment_(environment) {}

CMenu::~CMenu() = default;

MenuEnvironment& CMenu::Env() const {
    return environment_ ? *environment_ : DefaultMenuEnvironment();
}

bool CMenu::IsChecked(const std::string& name) const {
    for (int i = 0; i < buttonCount_; ++i) {
        if (buttons_[i].name == name && buttons_[i].checked) return true;
    }
    return false;
}

bool CMenu::IsHovered(const std::string& name) const {
    for (int i = 0; i < buttonCount_; ++i) {
        if (buttons_[i].name == name && buttons_[i].hover) return true;
    }
    return false;
}

float CMenu::GetTextX(const std::string& name) const {
    for (int i = 0; i < textCount_; ++i) {
        if (texts_[i].name == name) return texts_[i].xc;
    }
    return 0.0f;
}

float CMenu::GetTextY(const std::string& name) const {
    for (int i = 0; i < textCount_; ++i) {
        if (texts_[i].name == name) return texts_[i].yc;
    }
    return 0.0f;
}

float CMenu::GetSliderValue(const std::string& name) const {
    for (int i = 0; i < sliderCount_; ++i) {
        if (sliders_[i].name == name) return sliders_[i].value;
    }
    return 0.0f;
}

void CMenu::SetText(const std::string& name, const std::string& text) {
    for (int i = 0; i < textCount_; ++i) {
        if (texts_[i].name == name) texts_[i].text = text.substr(0, MenuLimits::kText);
    }
}
