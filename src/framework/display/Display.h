// Display: the presentation end of drawing. It owns the screen image (the software picture of
// the whole logical screen that the widgets draw into) and shows it in the main window once
// per drawn frame. The SDL back-end uploads it to a streaming texture; the headless back-end
// keeps what was presented for tests to read.
#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace Orvane {

class MemoryImage;

class Display {
public:
    // Results of Init. The two "unavailable" results ask the caller to try the other mode.
    enum class Result { Ok = 0, UnusableColorDepth, ModeUnavailable, ModeNotSupported, Failed };

    Display();
    virtual ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // (Re)initialises for the main window as it is now: a screen image of width x height,
    // windowed or full screen. Images drawn before survive; the screen image is cleared.
    virtual Result Init(int width, int height, bool windowed, std::string& error) = 0;

    // Shows the screen image. False when the frame could not be shown. imageChanged false
    // says the image holds the same pixels as at the last present (an idle frame): the
    // back-end may show its copy without taking the pixels again.
    virtual bool Present(bool imageChanged = true) = 0;

    // The screen image; none before the first successful Init.
    MemoryImage* ScreenImage() { return screen_.get(); }

    virtual int RefreshRate() const { return refreshRate_; }
    int MillisecondsPerFrame() const { return refreshRate_ > 0 ? 1000 / refreshRate_ : 16; }
    // True while the picture really covers the monitor with presentation locked to its
    // refresh (the frame loop's vertical-sync mode relies on it).
    virtual bool IsPhysicallyFullScreen() const { return false; }

    // "Hardware acceleration": selects the renderer's 3D-mode behaviour (linear filtering,
    // rotation, the denser particle effects).
    void Set3D(bool on) { is3D_ = on; }
    bool Is3D() const { return is3D_; }

    // The software cursor: an image drawn over the screen at the cursor position.
    void SetCursorImage(std::shared_ptr<const MemoryImage> image, int hotX, int hotY);
    void SetCursorVisible(bool visible);
    void SetCursorPosition(int x, int y);

    // The display's one lock: held while display images are created, committed or deleted,
    // while shared images are cleaned up and while the software cursor changes.
    std::recursive_mutex& Lock() { return lock_; }

protected:
    // Makes a fresh screen image of the size (cleared to opaque black).
    void MakeScreenImage(int width, int height);

    struct SoftwareCursor {
        std::shared_ptr<const MemoryImage> image;
        int hotX = 0, hotY = 0;
        int x = 0, y = 0;
        bool visible = false;
    };
    SoftwareCursor CursorSnapshot();

    int refreshRate_ = 60;

private:
    std::unique_ptr<MemoryImage> screen_;
    bool is3D_ = false;
    std::recursive_mutex lock_;
    SoftwareCursor cursor_;
};

}  // namespace Orvane
