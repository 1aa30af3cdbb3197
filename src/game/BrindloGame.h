// CBrindloGame: the game controller. It holds the game's whole state - the shape classes, the
// level in play with its field, panel, hand, clock and bug, the score and the mode, the map's
// marker, the menu screens and the high-score table - and glues the rules of the plain-data
// modules (PlayField, ShapePanel, Scoring, Bug, SavedGameRecord) to time, the pointer, drawing,
// effects and sound. It reaches time, the cursor and the buttons only through the platform,
// randomness only through the program's generator and sounds only as sound events.
//
// The code is split by concern:
//   BrindloGame.cpp       construction, menus, accessors
//   GameLevel.cpp         shape classes, level files, StartLevel, images of the shapes
//   GameRound.cpp         the round loop: clock, intro, panel, tutorial, bug, level end
//   GamePlacement.cpp     taking, transforming, placing and discarding shapes, line removal
//   GameRewards.cpp       points of a placement, the level-complete and bonus timelines
//   GameProgress.cpp      new game, the level map's fade and marker, next level, game complete
//   GameSave.cpp          the saved game in "saved.ini"
//   GameScreenDraw.cpp    the playing screen: field, panel, frame, displays, hints
//   GameMapDraw.cpp       the level map, the main menu background and its butterflies
#pragma once

#include "engine/scores/CScores.h"
#include "framework/platform/WindowMessage.h"
#include "game/AppStates.h"
#include "game/Bug.h"
#include "game/GameMenus.h"
#include "game/GameModes.h"
#include "game/GameRecords.h"
#include "game/LevelFile.h"
#include "game/MouseEdges.h"
#include "game/PlayField.h"
#include "game/SavedGameRecord.h"
#include "game/ShapeClasses.h"
#include "game/ShapePanel.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class CEffect2d;
class CMenu;
class CSpriteManager;
class MenuEnvironment;

// What the controller reaches outside itself. Every member left empty means the program's own:
// the process-wide effect list, sprite registry and application states, the engine's menu
// environment, sound events through the audio manager, the audio manager's music volume.
struct GameContext {
    CEffect2d* effects = nullptr;
    CSpriteManager* sprites = nullptr;
    AppStates* states = nullptr;
    MenuEnvironment* menuEnvironment = nullptr;
    std::function<bool(const std::string& eventName)> playSound;
    std::function<void(float volume)> setMusicVolume;
};

// A menu decoration: a butterfly wandering over the menu screens.
struct Butterfly {
    double lastTurn = 0.0;   // time of the last change of heading
    float x = 0.0f;
    float y = 0.0f;
    float heading = 0.0f;    // radians
    float speed = 0.0f;
    bool wander = false;
    bool circle = false;
    int leftImage = -1;      // sprite handles
    int rightImage = -1;
};

class CBrindloGame {
public:
    static constexpr int kTutorialIndex = 4;       // the tutorial's panel shape and cell
    static constexpr int kLevelsPerStage = 6;
    static constexpr int kMaxStartLevel = 40;
    static constexpr int kButterflies = 8;
    static constexpr int kFieldLayer = 1;          // effects drawn over the field
    static constexpr int kTopLayer = 2;            // effects drawn over everything
    static constexpr const char* kSavedGameFile = "saved.ini";
    static constexpr const char* kClassesFile = "classes.xml";

    // Round states.
    enum Round {
        ROUND_FADE_FROM_MENU = 0,   // fading in from the main menu or the map
        ROUND_FADE_IN = 1,          // fading in from another screen
        ROUND_INTRO = 2,
        ROUND_PLAYING = 3,
        ROUND_MAP_FADING = 6,       // the level map fading in
        ROUND_MAP_LIVE = 7,
    };

    explicit CBrindloGame(GameContext context = {});
    virtual ~CBrindloGame();
    CBrindloGame(const CBrindloGame&) = delete;
    CBrindloGame& operator=(const CBrindloGame&) = delete;

    // --- Menus and scores -----------------------------------------------------------------
    // Loads the eighteen screens, each from "Menu\" + its file; one that fails stays empty.
    void LoadMenus();
    CMenu& Menu(MenuId id);
    const CMenu& Menu(MenuId id) const;
    CScores& Scores() { return scores_; }

    // --- Shape classes and levels (GameLevel.cpp) -----------------------------------------
    bool LoadShapeClasses(const std::string& fileName);
    int FindShapeClass(const std::string& name) const { return master_.Find(name); }
    const ShapeClassTable& MasterClasses() const { return master_; }
    ShapeClassTable& MasterClassesForTest() { return master_; }
    static bool LevelFileExists(int level);
    // The picture of a shape: the bonus picture for kinds 1..3, else the main image of its
    // variant of its level class.
    std::string ShapeImageName(const ShapeSlot& slot) const;
    // Reads the current level's file into the settings and the class table and builds the
    // field. False, logged, when the level cannot be played (the state is then unchanged).
    bool LoadLevel();
    // Looks up the picture handles of every cell and panel shape.
    void RefreshShapeImages();

    // --- The round (GameRound.cpp, GamePlacement.cpp) --------------------------------------
    // Prepares the current level and enters the playing state. False, logged, when its file
    // cannot be played: nothing changes, and the caller goes back to the map.
    bool StartLevel();
    void UpdateRound(float dt);
    void PauseClock(bool start);
    void DiscardShape();
    // A key-down record while playing (the space bar discards).
    void HandleKey(const Orvane::WindowMessage& record);

    // --- Modes and progress (GameProgress.cpp) -------------------------------------------
    void NewGame();
    void ShowLevelMap();
    // Every frame of the level-complete state: once the rewards have run out, the next level,
    // the map of the next stage or the game-complete sequence.
    void NextLevel();
    void GameComplete();
    // The map's stage buttons: level := the stage's first; the marker and the stage's sound.
    void SelectStage(int stage);
    // Raises a start level by one, from 40 back to 1.
    void RaiseStartLevel(bool advanced);
    // Moves the menu butterflies for dt seconds.
    void MoveButterflies(float dt);

    // --- Saved game (GameSave.cpp) -------------------------------------------------------
    void SaveGame();
    // peek: only take the level and score. False (logged as corrupted) when the mode has no
    // usable record.
    bool LoadSavedGame(bool peek);
    bool IsGameSaved() const;
    void SetGameSaved(int saved);

    // --- Drawing (GameScreenDraw.cpp) ----------------------------------------------------
    void DrawGameScreen();
    void DrawLevelMap();
    void DrawGameComplete();
    void DrawMainMenuBackground();
    void DrawButterflies();

    // --- State ---------------------------------------------------------------------------
    int Mode() const { return mode_; }
    void SetMode(int mode) { mode_ = mode; }
    const ModeRules& Rules() const { return RulesOf(mode_); }
    int Level() const { return level_; }
    void SetLevel(int level) { level_ = level; }
    int Score() const { return score_; }
    void SetScore(int score) { score_ = score; }
    int SimpleStartLevel() const { return simpleStartLevel_; }
    int AdvancedStartLevel() const { return advancedStartLevel_; }
    int LastOpenedLevel() const { return lastOpenedLevel_; }
    int Stage() const { return StageOf(level_); }
    static int StageOf(int level) { return (level - 1) / kLevelsPerStage + 1; }
    int UnlockedStages() const { return StageOf(lastOpenedLevel_); }
    float* FadeValue() { return &fade_; }
    float Fade() const { return fade_; }
    int RoundState() const { return roundState_; }
    const PlayField& Field() const { return field_; }
    PlayField& FieldForTest() { return field_; }
    const ShapePanel& ShapePanelState() const { return panel_; }
    ShapePanel& PanelForTest() { return panel_; }
    const ShapeSlot& Hand() const { return hand_; }
    bool Holding() const { return hand_.active != 0; }
    const LevelSettings& Settings() const { return settings_; }
    int LevelClassCount() const { return levelClassCount_; }
    const ShapeClassDef& LevelClass(int index) const;
    const BugRecord& BugState() const { return bug_; }
    float TimeLeft() const { return timeLeft_; }
    float Elapsed() const { return elapsed_; }
    float Progress() const { return progress_; }
    int ComboCount() const { return comboCount_; }
    int SpawnedCount() const { return spawnedCount_; }
    bool TutorialOn() const { return tutorialOn_; }
    int TutorialStep() const { return tutorialStep_; }
    bool LoadedFromSave() const { return loadedFromSave_; }
    // Whether the level in play has a clock that ends it ("Relax" and bonus levels have none).
    bool ClockRuns() const;
    // The time of the last round update (seconds).
    double TickTime() const { return now_; }
    float CursorX() const { return cursorX_; }
    float CursorY() const { return cursorY_; }
    float MarkerX() const { return markerX_; }
    float MarkerY() const { return markerY_; }
    float InfoAlpha(MenuId panel) const;
    int GameCompleteShown() const { return gameCompleteShown_; }
    const std::string& CurrentBackground() const { return currentBackground_; }
    const Butterfly& ButterflyAt(int i) const { return butterflies_[static_cast<size_t>(i)]; }
    // The frame delta of the current update (seconds), written by the game screen widget.
    void SetFrameDelta(float dt) { frameDelta_ = dt; }

    AppStates& States() const { return *states_; }

private:
    // --- GameLevel.cpp
    void RefreshSlotImages(ShapeSlot& slot, bool cell);

    // --- GameRound.cpp
    double Now() const;
    void SampleCursor();
    void SpawnPanelShape();
    void TriggerBug();
    void StepBug(float dt);
    bool CheckBonusLevelEscape(float dt);
    bool CheckTimeOut();
    void CheckLevelComplete();
    void TimeOutBeeps();
    void RunIntro();
    void ForceTutorialPair();

    // --- GamePlacement.cpp
    bool TakeShape();
    bool TakePanelShape(int index);
    void TransformHeldShape();
    void PlaceHeldShape(bool tookThisTick);
    void ShowPlacedCell(int cell);
    void RemoveFullLines();

    // --- GameRewards.cpp
    void ScorePlacement(int cell);
    void QueueLevelCompleteRewards();
    void QueueBonusLevelRewards();
    void QueueRotatingStar(float delay, float duration, float x, float y);

    // --- GameProgress.cpp
    void PlaceMarkerOnStage(int stage);
    void UpdateInfoPanels();

    // --- GameScreenDraw.cpp
    void DrawLines();
    void DrawCells();
    void DrawHud();
    void DrawHints();
    void DrawPicture(int handle, float x, float y, float w, float h, uint32_t colour, int flags,
                     float angle = 0.0f);
    void DrawPicture(const std::string& name, float x, float y, float w, float h, uint32_t colour,
                     int flags, float angle = 0.0f);
    void PlaceButterflies();

    void PlaySound(const std::string& eventName) const;
    void SetAppState(int state) { states_->Set(state); }
    int AppState() const { return states_->Current(); }
    int PreviousAppState() const { return states_->Previous(); }

    // Collaborators.
    CEffect2d& effects_;
    CSpriteManager& sprites_;
    AppStates* states_;
    std::function<bool(const std::string&)> playSound_;
    std::function<void(float)> setMusicVolume_;

    // Menus and scores.
    std::array<std::unique_ptr<CMenu>, kMenuCount> menus_;
    CScores scores_;

    // Classes and the level.
    ShapeClassTable master_;
    std::array<ShapeClassDef, ShapeClassTable::kMaxClasses> levelClasses_{};
    int levelClassCount_ = 0;
    LevelSettings settings_;

    // The field, the panel, the hand.
    PlayField field_;
    std::array<float, Field::kLineCount> lineTargetX_{};   // where each line's slide ends
    ShapePanel panel_;
    ShapeSlot hand_;
    ShapeSlot lastPlaced_;
    int comboCount_ = 0;
    float cursorX_ = 0.0f;
    float cursorY_ = 0.0f;
    MouseEdgeSampler mouse_;

    // The clock (seconds of the platform's millisecond clock).
    double now_ = 0.0;
    double lastTick_ = 0.0;
    float dt_ = 0.0f;
    double levelStart_ = 0.0;
    double playStart_ = 0.0;
    float sinceStart_ = 0.0f;
    float elapsed_ = 0.0f;
    float timeLeft_ = 0.0f;
    float frozenRemaining_ = 0.0f;
    double pauseStart_ = 0.0;
    int pauseDepth_ = 0;
    double introEnds_ = 0.0;

    // The round.
    int roundState_ = ROUND_FADE_FROM_MENU;
    int spawnedCount_ = 0;
    int beepCount_ = 0;
    bool loadedFromSave_ = false;
    bool tutorialOn_ = false;
    int tutorialStep_ = 1;
    int lastSpawnedClass_ = 0;
    int placedCount_ = 0;
    float progress_ = 0.0f;
    float fade_ = 1.0f;
    float fieldAlpha_ = 1.0f;
    std::string currentBackground_;
    std::string nextBackground_;
    BugRecord bug_;

    // The game.
    int mode_ = MODE_CLASSIC;
    int level_ = 1;
    int32_t score_ = 0;
    int lastOpenedLevel_ = 1;
    int simpleStartLevel_ = 1;
    int advancedStartLevel_ = 1;
    float markerX_ = 0.0f;
    float markerY_ = 0.0f;
    int gameCompleteShown_ = 0;
    std::array<float, 15> animalVisible_{};

    // The main menu.
    std::array<float, kMenuCount> infoAlpha_{};
    std::array<Butterfly, kButterflies> butterflies_{};
    bool butterfliesPlaced_ = false;
    float frameDelta_ = 0.0f;
};
