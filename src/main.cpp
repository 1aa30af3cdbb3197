// Entry point of the game: until the full game shell is assembled it runs Nookvale's preview.
#include "app/PreviewApp.h"
#include "framework/platform/sdl/SdlPlatform.h"

int main(int argc, char** argv) {
    Orvane::SdlPlatform platform;
    Orvane::SetPlatform(&platform);
    {
        PreviewApp app;
        Orvane::SetApp(&app);
        app.SetCommandLine(argc, argv);
        app.Init();
        app.Start();
        Orvane::SetApp(nullptr);
    }
    Orvane::SetPlatform(nullptr);
    return 0;
}
