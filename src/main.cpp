// Entry point of the game: the SDL platform, the game's application, its life from start-up to
// shut-down, and the "play.url" shortcut opened once the window has gone.
#include "app/GameApp.h"
#include "framework/platform/sdl/SdlPlatform.h"

int main(int argc, char** argv) {
    Orvane::SdlPlatform platform;
    Orvane::SetPlatform(&platform);
    {
        GameApp app(argc, argv);
        Orvane::SetApp(&app);
        app.Init();
        app.Start();
        Orvane::SetApp(nullptr);
    }
    GameApp::OpenUrlFile("play.url");
    Orvane::SetPlatform(nullptr);
    return 0;
}
