// Shared pieces of the widget tests: a screen image without pixels, and a widget that writes
// every call it receives into a shared log.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetHost.h"
#include "framework/widgets/WidgetManager.h"

namespace WidgetTest {

using EventLog = std::vector<std::string>;

// An image of a given size whose primitives draw nothing: drawing order is what is tested.
class NullScreen : public Orvane::Image {
public:
    NullScreen(int width, int height) {
        width_ = width;
        height_ = height;
    }
};

class FakeHost : public Orvane::WidgetHost {
public:
    void SetCursorShape(int cursorNumber) override { cursors.push_back(cursorNumber); }
    bool IsHardwareAccelerated() const override { return accelerated; }
    void BeginScreenDraw() override { ++begins; }
    void EndScreenDraw() override { ++ends; }

    std::vector<int> cursors;
    bool accelerated = false;
    int begins = 0;
    int ends = 0;
};

// Logs "<name>:<event>[ args]" for every call.
class LogWidget : public Orvane::Widget {
public:
    LogWidget(std::string name, EventLog& log, int x = 0, int y = 0, int w = 0, int h = 0)
        : name_(std::move(name)), log_(log) {
        Resize(x, y, w, h);
    }

    void Update() override {
        Widget::Update();
        Add("update");
        if (onUpdate) onUpdate();
    }
    void Draw(Orvane::Graphics& g) override {
        Add("draw " + std::to_string(static_cast<int>(g.GetTransX())) + "," +
            std::to_string(static_cast<int>(g.GetTransY())));
        if (deferPriority) GetWidgetManager()->DeferOverlay(this, *deferPriority);
    }
    void DrawOverlay(Orvane::Graphics& g, int priority) override {
        Add("overlay " + std::to_string(priority) + " " +
            std::to_string(static_cast<int>(g.GetTransX())) + "," +
            std::to_string(static_cast<int>(g.GetTransY())));
    }
    void KeyDown(int key) override {
        Add("keydown " + std::to_string(key));
        Widget::KeyDown(key);
    }
    void KeyUp(int key) override { Add("keyup " + std::to_string(key)); }
    void KeyChar(char c) override { Add("char " + std::to_string(static_cast<int>(c))); }
    void MouseEnter() override { Add("enter"); }
    void MouseLeave() override { Add("leave"); }
    void MouseMove(int x, int y) override { Add("move " + Pos(x, y)); }
    void MouseDrag(int x, int y) override { Add("drag " + Pos(x, y)); }
    void MouseDown(int x, int y, int button, int count) override {
        Add("down " + Pos(x, y) + " b" + std::to_string(button) + " c" + std::to_string(count));
    }
    void MouseUp(int x, int y, int button, int count) override {
        Add("up " + Pos(x, y) + " b" + std::to_string(button) + " c" + std::to_string(count));
    }
    void MouseWheel(int delta) override { Add("wheel " + std::to_string(delta)); }
    void GotFocus() override {
        Widget::GotFocus();
        Add("gotfocus");
    }
    void LostFocus() override {
        Widget::LostFocus();
        Add("lostfocus");
    }

    std::function<void()> onUpdate;
    std::optional<int> deferPriority;

private:
    static std::string Pos(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    void Add(const std::string& what) { log_.push_back(name_ + ":" + what); }

    std::string name_;
    EventLog& log_;
};

}  // namespace WidgetTest
