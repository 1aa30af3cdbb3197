// CSpriteManager: the engine's sprite registry. It owns every picture the game and the menus
// draw, keyed by its file name exactly as given, and draws them in screen fractions: a
// position is the centre of the sprite and a size its width and height, as fractions of the
// logical screen (800 x 600). It loads whole image folders step by step for the loading
// screen, and draws all texts with the symbol font (engine/text).
//
// Threads: the loading thread registers pictures while the main thread looks them up and
// draws. Registration is serialised by one lock and a new entry becomes visible only once its
// picture and name are stored; look-ups never block on a picture being decoded. Drawing and
// DeleteAllTextures belong to the main thread (DeleteAllTextures only once nothing draws).
//
// The code is split by concern:
//   SpriteRegistry.cpp       registration, look-up, release, drawing context, environment
//   SpriteFolderLoading.cpp  counting and loading image folders for the loading screen
//   SpriteDrawing.cpp        sprites, animated sheets, progress bars, digit strips
//   SpriteText.cpp           the symbol font and DrawText
#pragma once

#include "engine/text/SymbolFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

// Draw flags of DrawSprite (several may be combined).
enum SpriteFlags {
    SPRITE_NORMAL = 1,          // draw mode normal for this sprite
    SPRITE_ADDITIVE = 2,        // draw mode additive for this sprite (wins over normal)
    SPRITE_DIM = 4,             // colour scaled by the dim factor
    SPRITE_NATURAL_SIZE = 8,    // w and h ignored: the pixel size of the UV window
    SPRITE_FIXED_PHASE = 0x200, // DrawAnimatedSprite: rate is a phase 0..1, not cycles a second
};

// Flags of DrawText.
enum TextFlags {
    TEXT_CENTRE = 1,            // x is the centre of the text
    TEXT_RIGHT = 2,             // x is the right end (checked after TEXT_CENTRE)
    TEXT_NATURAL_SIZE = 0x10,   // glyphs and pictures at their own pixel size
};

// Progress-bar flags of DrawProgressBar.
enum ProgressBarFlags {
    BAR_FILL_UP = 1,
    BAR_FILL_RIGHT = 2,
    BAR_NATURAL_SIZE = 4,       // the bar takes the fill picture's pixel size
};

// The failure code of the drawing operations: no drawing context or no picture.
constexpr int kSpriteDrawFailed = static_cast<int>(0x80004005u);
// The colour that means "no tint".
constexpr uint32_t kNoTint = 0xFFFFFFFFu;

// Colour scaled by the dim factor: every byte truncated after the multiplication, the alpha
// byte plus one (so 255 -> 205 and 0 -> 1 with the factor 0.8), packed in 32 bits.
uint32_t DimColour(uint32_t colour, float factor);

// The cell of frame f of a columns x rows sheet read row by row; (0, 0, 0, 0) for a frame
// outside the sheet.
UvWindow AnimationCell(long long frame, int columns, int rows);

// Frame shown by an animated sheet: with a fixed phase, rate is the phase (0..1); otherwise
// it is cycles a second, timed by the millisecond tick count.
long long AnimationFrame(int frames, float rate, bool fixedPhase, uint32_t tickMs);

class CSpriteManager {
public:
    static constexpr int kMaxTextures = 750;
    // Longest registered name (the name table's entries hold 254 characters and a terminator).
    static constexpr size_t kMaxNameLength = 254;
    static constexpr int kLogicalWidth = 800;
    static constexpr int kLogicalHeight = 600;

    // Decodes a picture file; none when it does not load.
    using ImageLoader = std::function<std::unique_ptr<Orvane::Image>(const std::string& path)>;
    // Whether hardware acceleration (rotation, filtering) is on.
    using AccelerationQuery = std::function<bool()>;
    // Looks up a text of the current language ("" when missing).
    using TextLookup = SymbolFont::TextLookup;

    struct ScreenRect {
        int width = 0;          // logical screen
        int height = 0;
        int clientWidth = 0;    // the window's client area
        int clientHeight = 0;
    };
    struct ImageSize {
        int width = 0;
        int height = 0;
    };

    CSpriteManager();
    virtual ~CSpriteManager();
    CSpriteManager(const CSpriteManager&) = delete;
    CSpriteManager& operator=(const CSpriteManager&) = delete;

    // --- Environment. By default pictures load through the application (or the framework's
    // loader when there is none), acceleration is the application's, texts come from
    // language.ini; tests and tools may replace each (an empty function restores the default).
    void SetImageLoader(ImageLoader loader);
    void SetAccelerationQuery(AccelerationQuery query);
    void SetTextLookup(TextLookup lookup);

    // --- Drawing context of the current frame (not owned; valid during that frame's draw).
    void SetDrawContext(uint32_t window, Orvane::Graphics* g);
    Orvane::Graphics* GetDrawContext() const { return graphics_; }
    ScreenRect GetScreenRect() const;
    static ImageSize GetImageSize(const Orvane::Image* image);

    // --- Registry.
    // Registers folder + file; a name already registered is left alone (nothing logged).
    void LoadImage(const std::string& folder, const std::string& file);
    // The picture registered under name, loading it on a miss; none when it does not load.
    Orvane::Image* GetTexture(const std::string& name);
    // The handle of that picture (its entry's index, stable until DeleteAllTextures), loading
    // it on a miss; -1 when it does not load.
    int GetTextureHandle(const std::string& name);
    // The picture of a handle; none for -1 or a handle that is not registered (any more).
    Orvane::Image* TextureByHandle(int handle) const;
    // Number of picture files (.png, .jpg, .tga, .bmp) in folder.
    int CountImageFiles(const std::string& folder);
    // kind 1 scans folder and loads its first file; kind 2 loads the next one. True when a
    // file was handed to LoadImage (also when that load failed).
    bool LoadFolderStep(const std::string& folder, int kind);
    // Destroys every registered picture.
    void DeleteAllTextures();
    int TextureCount() const { return textureCount_.load(std::memory_order_acquire); }
    // Name of entry i (0 .. TextureCount() - 1), "" outside.
    std::string TextureName(int i) const;

    // --- Drawing (main thread). Return 0, or kSpriteDrawFailed without a context or picture.
    int DrawSprite(Orvane::Image* image, float x, float y, float w, float h, float uLeft,
                   float vTop, float uRight, float vBottom, uint32_t colour, int flags,
                   float angle);
    int DrawAnimatedSprite(Orvane::Image* sheet, float x, float y, float w, float h, int flags,
                           int columns, int rows, float rate, uint32_t colour);
    int DrawProgressBar(Orvane::Image* background, Orvane::Image* fill, float x, float y,
                        float w, float h, int percent, int flags);
    // The ten digits of strip ("0123456789", equal cells) side by side, centred on x when
    // spacing is 1; a character that is not a digit keeps its place empty.
    void DrawDigits(Orvane::Image* strip, float x, float y, float spacing, uint32_t colour,
                    const std::string& digits, float scale);
    // value += rate x dt, clamped to 0..1.
    static void AdvanceClamped(float* value, float rate, float dt);

    // --- Symbol font and text (main thread draws, the loading thread initialises).
    void InitSymbolFont(const std::string& imageName);
    // One line of text: the key's translation, or the key itself when there is none; a text
    // naming a ".png" or ".tga" picture draws that picture at the text's height.
    void DrawText(float x, float y, float height, uint32_t colour, int flags,
                  const std::string& key);
    // A copy of the font table (for diagnostics and tests).
    SymbolFont GetSymbolFont() const;
    Orvane::Image* GetSymbolTexture() const;

    float DimFactor() const { return dimFactor_; }

private:
    struct TextureEntry {
        std::unique_ptr<Orvane::Image> image;
        std::string name;
    };

    // Registers path (the body of LoadImage) and returns its entry's index, -1 when not loaded.
    int Register(const std::string& path);
    // Search of the published entries; -1 when absent.
    int Find(const std::string& name) const;
    std::unique_ptr<Orvane::Image> LoadPicture(const std::string& path) const;
    bool IsAccelerated() const;
    std::string Translate(const std::string& key) const;
    void DrawPictureText(float x, float y, float height, uint32_t colour, int flags,
                         const std::string& text);

    Orvane::Graphics* graphics_ = nullptr;
    uint32_t window_ = 0;
    float brightness_ = 0.5f;
    float dimFactor_ = 0.8f;

    ImageLoader imageLoader_;
    AccelerationQuery accelerationQuery_;
    TextLookup textLookup_;

    // Symbol font: written by InitSymbolFont, read by DrawText.
    mutable std::shared_mutex fontMutex_;
    Orvane::Image* symbolTexture_ = nullptr;
    SymbolFont font_;

    // Registry: entries 0 .. textureCount_ - 1 are complete; textureCount_ is published last.
    std::mutex registerMutex_;
    std::array<TextureEntry, kMaxTextures> textures_;
    std::atomic<int> textureCount_{0};

    // Folder loading (loading thread only).
    std::vector<std::string> pendingFiles_;
    size_t pendingIndex_ = 0;
};

// The process-wide registry (constructed on first use, destroyed at exit).
CSpriteManager& SpriteManager();
