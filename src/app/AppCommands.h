// The application's commands as data: which menu each state shows, and for each state the
// action names its menu's buttons and sliders report with what each does. The dispatcher
// walks these tables; the data check of the game's menus reads the same ones.
#pragma once

#include <string>
#include <vector>

class GameApp;
enum class MenuId : int;

struct AppCommand {
    int state;
    const char* action;
    bool prefix;   // the action only begins with this name (a stage button: "procStage<n>")
    void (*run)(GameApp& app, const std::string& action);
};

struct StateMenu {
    int state;
    MenuId menu;
};

// Every command, by state, in the order they are compared.
const std::vector<AppCommand>& AppCommandTable();
// The menu shown in each state that has one.
const std::vector<StateMenu>& StateMenuTable();
// The menu of a state; false when the state has none.
bool MenuOfState(int state, MenuId& menu);
// Whether an action of a state's menu is one of its commands.
bool IsCommandOf(int state, const std::string& action);
// The stage number of a stage action ("procStage" followed by a decimal number, leading
// spaces allowed); false when none can be read.
bool ParseStageAction(const std::string& action, int& stage);
