// demo_window: an application on the framework's base with one widget that draws a test
// card (a frame, a grid, corner marks, a bouncing block and the pointer's cross-hair), so that
// scaling, letterboxing, input mapping and the frame loop can be checked by eye.
//
//   demo_window [-changedir=<folder>]     Alt+Enter: full screen / window; close: quit
#include "framework/app/OrvaneAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/platform/sdl/SdlPlatform.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <cstdio>

namespace {

using namespace Orvane;

class TestCard : public Widget {
public:
    TestCard() { mWantsFocus = true; }

    void Update() override {
        Widget::Update();
        // The block moves 2 pixels per 10 ms step and bounces off the frame.
        blockX_ += dx_;
        blockY_ += dy_;
        if (blockX_ < 20 || blockX_ > mWidth - 20 - kBlock) dx_ = -dx_;
        if (blockY_ < 20 || blockY_ > mHeight - 20 - kBlock) dy_ = -dy_;
        MarkDirty();
    }

    void Draw(Graphics& g) override {
        g.SetColor(Color(24, 36, 64));
        g.FillRect(0, 0, mWidth, mHeight);
        g.SetColor(Color(48, 72, 120));
        for (int x = 0; x < mWidth; x += 50) g.FillRect(x, 0, 1, mHeight);
        for (int y = 0; y < mHeight; y += 50) g.FillRect(0, y, mWidth, 1);
        // A 4-pixel frame at the very edge of the logical screen: all of it must be visible.
        g.SetColor(Color(255, 200, 40));
        g.FillRect(0, 0, mWidth, 4);
        g.FillRect(0, mHeight - 4, mWidth, 4);
        g.FillRect(0, 0, 4, mHeight);
        g.FillRect(mWidth - 4, 0, 4, mHeight);
        // Corner marks: red top left, green top right, blue bottom left, white bottom right.
        g.SetColor(Color(230, 40, 40));
        g.FillRect(8, 8, 40, 40);
        g.SetColor(Color(40, 200, 60));
        g.FillRect(mWidth - 48, 8, 40, 40);
        g.SetColor(Color(60, 90, 240));
        g.FillRect(8, mHeight - 48, 40, 40);
        g.SetColor(Color(255, 255, 255));
        g.FillRect(mWidth - 48, mHeight - 48, 40, 40);
        // The bouncing block, and the pointer's cross-hair (pressed: filled square).
        g.SetColor(Color(250, 120, 200));
        g.FillRect(blockX_, blockY_, kBlock, kBlock);
        g.SetColor(Color(255, 255, 255));
        g.FillRect(mouseX_ - 12, mouseY_, 25, 1);
        g.FillRect(mouseX_, mouseY_ - 12, 1, 25);
        if (pressed_) g.FillRect(mouseX_ - 4, mouseY_ - 4, 9, 9);
    }

    void MouseMove(int x, int y) override {
        mouseX_ = x;
        mouseY_ = y;
    }
    void MouseDrag(int x, int y) override { MouseMove(x, y); }
    void MouseDown(int x, int y, int) override {
        MouseMove(x, y);
        pressed_ = true;
    }
    void MouseUp(int x, int y) override {
        MouseMove(x, y);
        pressed_ = false;
    }
    void KeyDown(int key) override { std::fprintf(stderr, "key down 0x%02X\n", key); }
    void KeyChar(char c) override {
        std::fprintf(stderr, "char 0x%02X\n", static_cast<unsigned char>(c));
    }

private:
    static constexpr int kBlock = 60;
    int blockX_ = 100, blockY_ = 120;
    int dx_ = 2, dy_ = 2;
    int mouseX_ = 400, mouseY_ = 300;
    bool pressed_ = false;
};

class DemoApp : public OrvaneAppBase {
public:
    DemoApp() {
        mTitle = "Orvane window demo";
        mProductName = "OrvaneWindowDemo";
        mRegistryKey = "OrvaneWindowDemo";
        mWidth = 800;
        mHeight = 600;
        mVSyncUpdates = true;
        mNoSoundNeeded = true;
    }
    void LoadResources() override {
        // The card joins the tree on the main thread at the next update (the widget
        // manager queues additions from other threads).
        GetWidgetManager()->AddWidget(&card_);
    }
    void OnLoadingFinished() override {
        card_.Resize(0, 0, mWidth, mHeight);
        GetWidgetManager()->SetFocus(&card_);
    }
    void OnFocusGained() override { std::fprintf(stderr, "focus gained\n"); }
    void OnFocusLost() override { std::fprintf(stderr, "focus lost\n"); }
    ~DemoApp() override { GetWidgetManager()->RemoveWidget(&card_); }

private:
    TestCard card_;
};

}  // namespace

// Under the leak checker: the desktop-bus library keeps a buffer for the life of the process
// (the input-method connection SDL opens for text input); it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

int main(int argc, char** argv) {
    SdlPlatform platform;
    SetPlatform(&platform);
    int windowed = -1;
    {
        DemoApp app;
        SetApp(&app);
        app.SetCommandLine(argc, argv);
        app.Init();
        app.Start();
        windowed = app.mIsWindowed ? 1 : 0;
        SetApp(nullptr);
    }
    SetPlatform(nullptr);
    std::fprintf(stderr, "demo_window: clean exit (last mode: %s)\n",
                 windowed ? "windowed" : "full screen");
    return 0;
}
