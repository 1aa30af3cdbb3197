// The balance check: plays every level of a game folder in "Classic" with the scripted player
// at a few human paces and prints, per level and pace, whether it was won, the time left on the
// clock, the placements, the bonuses used and the shapes the bug carried off; then the margin
// per stage (time left as a share of the level's time). Deterministic: fixed seeds, a manual
// clock.
//
//   nookvale-balance [--game <folder>] [--paces 1.2,1.6,2.0] [--reaction 0.4]
//                    [--levels <first>-<last>] [--seed <n>] [--seeds <n>] [--markdown]
//
// Every level is played --seeds times per pace (16 by default; seeds seed .. seed + n - 1): a
// row shows how many of the runs were won and the means of the figures (the time left over
// the won runs; with one run, won or lost and its own figures).
#include "LevelRun.h"

#include "support/GameFolder.h"

#include "game/BrindloGame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Settings {
    std::string game = NOOKVALE_DEFAULT_GAME_DIR;
    std::vector<double> paces{1.2, 1.6, 2.0};
    double reaction = 0.4;
    int first = 1;
    int last = 0;   // 0: up to the last level file
    uint32_t seed = 1;
    int seeds = 16;   // runs per level and pace, with the seeds seed, seed + 1, ...
    bool markdown = false;
};

void Usage() {
    std::fprintf(stderr,
                 "usage: nookvale-balance [--game <folder>] [--paces 1.2,1.6,2.0] [--reaction 0.4]\n"
                 "                        [--levels <first>-<last>] [--seed <n>] [--seeds <n>] [--markdown]\n");
}

bool ParseList(const std::string& text, std::vector<double>& out) {
    out.clear();
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        char* end = nullptr;
        const double v = std::strtod(item.c_str(), &end);
        if (end == item.c_str() || *end || !(v > 0.0) || v > 60.0) return false;
        out.push_back(v);
    }
    return !out.empty();
}

bool ParseArgs(int argc, char** argv, Settings& s) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--markdown") {
            s.markdown = true;
        } else if (arg == "--game" && hasValue) {
            s.game = argv[++i];
        } else if (arg == "--paces" && hasValue) {
            if (!ParseList(argv[++i], s.paces)) return false;
        } else if (arg == "--reaction" && hasValue) {
            s.reaction = std::strtod(argv[++i], nullptr);
            if (!(s.reaction >= 0.0) || s.reaction > 10.0) return false;
        } else if (arg == "--levels" && hasValue) {
            if (std::sscanf(argv[++i], "%d-%d", &s.first, &s.last) != 2 || s.first < 1 || s.last < s.first) {
                return false;
            }
        } else if (arg == "--seed" && hasValue) {
            s.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--seeds" && hasValue) {
            s.seeds = std::atoi(argv[++i]);
            if (s.seeds < 1 || s.seeds > 100) return false;
        } else {
            return false;
        }
    }
    return true;
}

// A folder of the run's own, with the game's data linked in; removed again at the end.
class RunFolder {
public:
    explicit RunFolder(const std::string& game) {
        char pattern[] = "/tmp/nookvale-balance-XXXXXX";
        if (const char* made = mkdtemp(pattern)) path_ = made;
        if (path_.empty() || !TestSupport::LinkGameFolder(game, path_)) return;
        std::error_code ec;
        home_ = fs::current_path(ec);
        fs::current_path(path_, ec);
        entered_ = !ec;
    }
    ~RunFolder() {
        std::error_code ec;
        if (entered_) fs::current_path(home_, ec);
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;
    bool Entered() const { return entered_; }

private:
    std::string path_;
    fs::path home_;
    bool entered_ = false;
};

struct Row {
    int level = 0;
    std::vector<std::vector<LevelOutcome>> runs;   // per pace, one per seed
};

std::string Fixed(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

// The runs of one level at one pace, summed up.
struct Summary {
    int runs = 0;
    int won = 0;
    bool loaded = true;
    bool bonusLevel = false;
    float levelTime = 0.0f;
    int cells = 0;
    double left = 0.0;       // mean time left of the won runs
    double progress = 0.0;   // mean share filled of the lost runs
    double placements = 0.0, bonuses = 0.0, thefts = 0.0, discards = 0.0;   // means
};

Summary Summarise(const std::vector<LevelOutcome>& runs) {
    Summary m;
    for (const LevelOutcome& o : runs) {
        ++m.runs;
        m.loaded = m.loaded && o.loaded;
        m.bonusLevel = o.bonusLevel;
        m.levelTime = o.levelTime;
        m.cells = o.cells;
        if (o.finished) {
            ++m.won;
            m.left += o.timeLeft;
        } else {
            m.progress += o.progress;
        }
        m.placements += o.placements;
        m.bonuses += o.bonuses;
        m.thefts += o.thefts;
        m.discards += o.discards;
    }
    const double n = m.runs > 0 ? m.runs : 1;
    if (m.won > 0) m.left /= m.won;
    if (m.runs > m.won) m.progress /= (m.runs - m.won);
    m.placements /= n;
    m.bonuses /= n;
    m.thefts /= n;
    m.discards /= n;
    return m;
}

// Won or lost (one run), or how many runs were won.
std::string Result(const Summary& m) {
    if (!m.loaded) return "error";
    if (m.runs > 1) return std::to_string(m.won) + "/" + std::to_string(m.runs);
    return m.won ? "won" : "lost";
}

// The time left ("none" without a clock), or, when nothing was won, the share filled.
std::string Left(const Summary& m) {
    if (!m.loaded) return "-";
    if (m.won == 0) return Fixed(100.0 * m.progress, 0) + "%";
    if (m.bonusLevel) return "none";
    return Fixed(m.left, 1);
}

std::string Count(double v, int runs) { return Fixed(v, runs > 1 ? 1 : 0); }

void PrintRow(const Settings& s, const Row& row) {
    const Summary first = Summarise(row.runs.front());
    const int stage = CBrindloGame::StageOf(row.level);
    const std::string time = first.bonusLevel ? "bonus" : Fixed(first.levelTime, 0);
    if (s.markdown) {
        std::printf("| %d | %d | %d | %s |", row.level, stage, first.cells, time.c_str());
        for (const auto& runs : row.runs) {
            const Summary m = Summarise(runs);
            std::printf(" %s | %s | %s | %s | %s |", Result(m).c_str(), Left(m).c_str(),
                        Count(m.placements, m.runs).c_str(), Count(m.bonuses, m.runs).c_str(),
                        Count(m.thefts, m.runs).c_str());
        }
        std::printf("\n");
        return;
    }
    std::printf("%5d %5d %5d %6s", row.level, stage, first.cells, time.c_str());
    for (const auto& runs : row.runs) {
        const Summary m = Summarise(runs);
        std::printf("  |%5s %6s %5s %4s %4s %4s", Result(m).c_str(), Left(m).c_str(),
                    Count(m.placements, m.runs).c_str(), Count(m.bonuses, m.runs).c_str(),
                    Count(m.thefts, m.runs).c_str(), Count(m.discards, m.runs).c_str());
    }
    std::printf("\n");
}

// A line of the table without the padding at its end.
void PrintLine(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    std::printf("%s\n", line.c_str());
}

std::string Padded(const std::string& text, size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

void PrintHeader(const Settings& s) {
    std::string top;
    std::string names;
    if (s.markdown) {
        names = "| level | stage | cells | time (s) |";
        top = "|---|---|---|---|";
        for (double p : s.paces) {
            names += " " + Fixed(p, 1) + " s | left | placed | bonus | bug |";
            top += "---|---|---|---|---|";
        }
        PrintLine(names);
        PrintLine(top);
        return;
    }
    top = std::string(24, ' ');
    names = "level stage cells   time";
    for (double p : s.paces) {
        top += Padded("  | a placement every " + Fixed(p, 1) + " s", 36);
        names += "  |  res   left   plc  bon  bug disc";
    }
    PrintLine(top);
    PrintLine(names);
}

// Per stage and pace, over every run: the normal levels won, and their time left as a share of
// the level's time (mean and least; a lost run counts 0).
void PrintStages(const Settings& s, const std::vector<Row>& rows) {
    std::printf("\n");
    std::string line = s.markdown ? "| stage |" : " stage";
    if (!s.markdown) PrintLine("margin per stage: levels won, time left in % of the level's time (mean / least)");
    for (double p : s.paces) line += s.markdown ? " " + Fixed(p, 1) + " s |" : Padded("  |  every " + Fixed(p, 1) + " s", 25);
    PrintLine(line);
    if (s.markdown) {
        std::string rule = "|---|";
        for (size_t i = 0; i < s.paces.size(); ++i) rule += "---|";
        PrintLine(rule);
    }
    const int firstStage = rows.empty() ? 1 : CBrindloGame::StageOf(rows.front().level);
    const int lastStage = rows.empty() ? 0 : CBrindloGame::StageOf(rows.back().level);
    for (int stage = firstStage; stage <= lastStage; ++stage) {
        char label[16];
        std::snprintf(label, sizeof label, s.markdown ? "| %d |" : "%6d", stage);
        line = label;
        for (size_t p = 0; p < s.paces.size(); ++p) {
            int levels = 0;
            int won = 0;
            double sum = 0.0;
            double least = 1.0;
            for (const Row& row : rows) {
                if (CBrindloGame::StageOf(row.level) != stage) continue;
                for (const LevelOutcome& o : row.runs[p]) {
                    if (o.bonusLevel || !o.loaded) continue;
                    ++levels;
                    const double margin = o.finished && o.levelTime > 0.0f ? o.timeLeft / o.levelTime : 0.0;
                    if (o.finished) ++won;
                    sum += margin;
                    least = std::min(least, margin);
                }
            }
            const std::string text = std::to_string(won) + "/" + std::to_string(levels) + " won, " +
                                     Fixed(levels ? 100.0 * sum / levels : 0.0, 0) + "% / " +
                                     Fixed(levels ? 100.0 * least : 0.0, 0) + "%";
            line += s.markdown ? " " + text + " |" : Padded("  |  " + text, 25);
        }
        PrintLine(line);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Settings s;
    if (!ParseArgs(argc, argv, s)) {
        Usage();
        return 2;
    }
    RunFolder folder(s.game);
    if (!folder.Entered()) {
        std::fprintf(stderr, "nookvale-balance: cannot use the game folder %s\n", s.game.c_str());
        return 1;
    }
    int last = s.last;
    if (last == 0) {
        while (CBrindloGame::LevelFileExists(last + 1)) ++last;
    }
    if (last < s.first) {
        std::fprintf(stderr, "nookvale-balance: no level files in %s\n", s.game.c_str());
        return 1;
    }

    std::printf("%sClassic, reaction %s s, seed %u, %d run%s per level and pace\n\n",
                s.markdown ? "" : "Nookvale balance: ", Fixed(s.reaction, 2).c_str(), s.seed, s.seeds,
                s.seeds == 1 ? "" : "s");
    PrintHeader(s);
    std::vector<Row> rows;
    bool allLoaded = true;
    for (int level = s.first; level <= last; ++level) {
        Row row;
        row.level = level;
        for (double interval : s.paces) {
            const Pace pace{interval, std::min(s.reaction, interval)};
            std::vector<LevelOutcome> runs;
            for (int k = 0; k < s.seeds; ++k) {
                const uint32_t seed = (s.seed + static_cast<uint32_t>(k)) * 1000u + static_cast<uint32_t>(level);
                runs.push_back(PlayLevel(level, pace, seed));
                allLoaded = allLoaded && runs.back().loaded;
            }
            row.runs.push_back(runs);
        }
        PrintRow(s, row);
        std::fflush(stdout);
        rows.push_back(row);
    }
    PrintStages(s, rows);
    return allLoaded ? 0 : 1;
}
