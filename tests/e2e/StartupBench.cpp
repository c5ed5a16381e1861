// Prints how long kestrivane.exe takes from the start of its process until
// its main window is visible, on a table of 255 tilesets and on an empty one,
// next to the same time for two yardsticks built by the same toolchain: a bare
// dialog program, and the same dialog prepared as the editor's start-up
// prepares (COM, the common controls, the editor's manifest). It prints the
// editor's ratio to each yardstick (the target is at most 1.2) and what the
// table itself costs; that again without the noise of starting processes, in
// main windows made in this process on each table. Then prints what one
// tileset selection (151 slot rows) costs in a main window in this process.
// Plain timing, not a test: run it by hand, optionally naming the three programs:
//   startup_bench.exe [kestrivane.exe] [bare_dialog.exe] [prepared_dialog.exe]
#include "app/AppModule.h"
#include "app/DialogWindow.h"
#include "app/PendingCreation.h"
#include "res/ResourceIds.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"
#include "ui/MainDialog.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const int STARTUP_RUNS = 15;
const int WINDOW_RUNS = 41;
// Selections are timed until the budget is spent, within these counts: under
// Wine one selection can take a second.
const int MIN_SELECTIONS = 10;
const int MAX_SELECTIONS = 1000;
const double SELECTION_BUDGET_MS = 20000.0;
const int TILESETS = 255;
const DWORD WINDOW_TIMEOUT_MS = 20000;
const DWORD EXIT_TIMEOUT_MS = 10000;
const double TARGET_RATIO = 1.2;

std::string Numbered(const char* prefix, int number)
{
    char text[32] = {};
    std::snprintf(text, sizeof(text), "%s%03d", prefix, number);
    return text;
}

// Every slot filled, so each selection lists 151 texts; ambient numbers stay
// below 255, so no selection raises the rejection message.
std::string FullTable()
{
    std::string bytes = Header(TILESETS, 151);
    for (int t = 0; t < TILESETS; ++t) {
        const std::string name = Numbered("Tileset ", t);
        std::vector<std::string> slots;
        for (int k = 0; k < 151; ++k) {
            slots.push_back(name + Numbered(" slot ", k));
        }
        bytes += Entry(name, static_cast<uint8_t>(t % 200), slots, 151);
    }
    return bytes;
}

double Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// From just before CreateProcessA until a top-level window of the process is
// visible; negative if the program did not start, show a window or close.
double TimeToVisibleWindow(const std::string& program, const std::string& folder)
{
    const double start = Now();
    const ChildProcess child(program, folder, ChildProcess::NO_SHOW_STATE);
    const HWND window = child.WaitForVisibleWindow(WINDOW_TIMEOUT_MS);
    const double shown = Now();
    if (window == nullptr) {
        return -1.0;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (child.WaitForExit(EXIT_TIMEOUT_MS) == STILL_ACTIVE) {
        return -1.0;
    }
    return shown - start;
}

struct Spread {
    double median;
    double least;
    double most;
};

Spread SpreadOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median = times.size() % 2 != 0 ? times[middle] : (times[middle - 1] + times[middle]) / 2.0;
    return {median, times.front(), times.back()};
}

void PrintSpread(const char* what, const Spread& spread)
{
    std::printf("  %-34s %8.1f ms  (fastest %.1f, slowest %.1f)\n", what, spread.median, spread.least, spread.most);
}

// One program in one folder, and its measured runs.
struct Contender {
    const char* what;
    std::string program;
    std::string folder;
    std::vector<double> times;
};

// The contenders, in the order BenchStartup measures them.
enum ContenderIndex { EDITOR_FULL_TABLE, EDITOR_EMPTY_TABLE, BARE_DIALOG, PREPARED_DIALOG };

// Each contender's median, the editor's ratio to each yardstick and the
// table's share of the editor's start-up.
void PrintStartup(const std::vector<Contender>& contenders)
{
    std::printf("Process start until the main window is visible, median of %d runs:\n", STARTUP_RUNS);
    std::vector<double> medians;
    for (const Contender& contender : contenders) {
        const Spread spread = SpreadOf(contender.times);
        PrintSpread(contender.what, spread);
        medians.push_back(spread.median);
    }
    const double full = medians[EDITOR_FULL_TABLE];
    const double empty = medians[EDITOR_EMPTY_TABLE];
    // Each run started both by turns; the median of their differences is less
    // at the mercy of a slow spell than the difference of the medians.
    std::vector<double> differences;
    for (std::size_t run = 0; run < contenders[EDITOR_FULL_TABLE].times.size(); ++run) {
        differences.push_back(contenders[EDITOR_FULL_TABLE].times[run] - contenders[EDITOR_EMPTY_TABLE].times[run]);
    }
    std::printf("  %-34s %8.2f    (target at most %.1f)\n", "ratio, 255 tilesets to bare", full / medians[BARE_DIALOG],
                TARGET_RATIO);
    std::printf("  %-34s %8.2f    (target at most %.1f)\n", "ratio, 255 tilesets to prepared",
                full / medians[PREPARED_DIALOG], TARGET_RATIO);
    PrintSpread("the table: 255 tilesets less empty", SpreadOf(differences));
    std::printf("  %-34s %8.2f\n", "ratio, 255 tilesets to empty", full / empty);
}

// The contenders by turns, so that a slow spell of the machine hits each;
// one unmeasured run of each first loads their files into the cache. The
// editor on an empty table tells the table's share of its start-up.
bool BenchStartup(const std::string& editor, const std::string& bare, const std::string& prepared,
                  const std::string& fullFolder, const std::string& emptyFolder)
{
    std::vector<Contender> contenders(4);
    contenders[EDITOR_FULL_TABLE] = {"kestrivane.exe, 255 tilesets", editor, fullFolder, {}};
    contenders[EDITOR_EMPTY_TABLE] = {"kestrivane.exe, empty table", editor, emptyFolder, {}};
    contenders[BARE_DIALOG] = {"bare dialog program", bare, fullFolder, {}};
    contenders[PREPARED_DIALOG] = {"prepared dialog program", prepared, fullFolder, {}};
    for (const Contender& contender : contenders) {
        if (TimeToVisibleWindow(contender.program, contender.folder) < 0.0) {
            std::printf("could not start, show and close %s\n", contender.program.c_str());
            return false;
        }
    }
    for (int run = 0; run < STARTUP_RUNS; ++run) {
        for (Contender& contender : contenders) {
            const double time = TimeToVisibleWindow(contender.program, contender.folder);
            if (time < 0.0) {
                std::printf("a run of %s failed to show or close its window\n", contender.program.c_str());
                return false;
            }
            contender.times.push_back(time);
        }
    }
    PrintStartup(contenders);
    return true;
}

// Selections as the list box reports them: the handler refills the slot list;
// with repaint, the window is then painted as well. Prints the average.
void TimeSelections(HWND window, bool repaint, const char* what)
{
    const HWND list = GetDlgItem(window, ID_TILESET_LIST);
    const double start = Now();
    double elapsed = 0.0;
    int selections = 0;
    while (selections < MAX_SELECTIONS && (selections < MIN_SELECTIONS || elapsed < SELECTION_BUDGET_MS)) {
        SendMessageA(list, LB_SETCURSEL, selections % TILESETS, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_TILESET_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        if (repaint) {
            UpdateWindow(window);
        }
        ++selections;
        elapsed = Now() - start;
    }
    std::printf("  %-34s %8.3f ms  (average of %d)\n", what, elapsed / selections, selections);
}

HWND CreateMainWindow(MainDialog& dialog)
{
    pendingCreation.PrepareCreation(&dialog);
    return CreateDialogParamA(appModule.instance, MAKEINTRESOURCEA(ID_MAIN_DIALOG), nullptr, InitialDialogProcedure,
                              0);
}

// The main window made and shown in this process with folder as the current
// one: its creation loads the table there and lists its tilesets. Negative if
// it could not be made.
double TimeMainWindow(const std::string& folder)
{
    SetCurrentDirectoryA(folder.c_str());
    MainDialog dialog;
    const double start = Now();
    const HWND window = CreateMainWindow(dialog);
    if (window == nullptr) {
        return -1.0;
    }
    ShowWindow(window, SW_SHOW);
    const double shown = Now();
    DestroyWindow(window);
    PumpMessages();
    return shown - start;
}

// The table's share of the start-up without the noise of starting processes:
// the main window made in this process on each table by turns, and the median
// of the differences of each pair.
bool BenchTableInWindow(const std::string& fullFolder, const std::string& emptyFolder)
{
    std::vector<double> fullTimes;
    std::vector<double> emptyTimes;
    std::vector<double> differences;
    for (int run = 0; run < WINDOW_RUNS; ++run) {
        fullTimes.push_back(TimeMainWindow(fullFolder));
        emptyTimes.push_back(TimeMainWindow(emptyFolder));
        if (fullTimes.back() < 0.0 || emptyTimes.back() < 0.0) {
            std::printf("could not create the main window in this process\n");
            return false;
        }
        differences.push_back(fullTimes.back() - emptyTimes.back());
    }
    std::printf("The main window made and shown in this process, median of %d runs:\n", WINDOW_RUNS);
    PrintSpread("on 255 tilesets", SpreadOf(fullTimes));
    PrintSpread("on an empty table", SpreadOf(emptyTimes));
    PrintSpread("the table: 255 tilesets less empty", SpreadOf(differences));
    return true;
}

bool BenchSelection(const std::string& folder)
{
    SetCurrentDirectoryA(folder.c_str());
    bool measured = false;
    {
        MainDialog dialog;
        const HWND window = CreateMainWindow(dialog);
        if (window != nullptr) {
            ShowWindow(window, SW_SHOW);
            PumpMessages();
            std::printf("One tileset selection in a main window of this process:\n");
            TimeSelections(window, false, "handling the selection");
            TimeSelections(window, true, "handling and repainting");
            const LRESULT rows = SendMessageA(GetDlgItem(window, ID_SLOT_LIST), LB_GETCOUNT, 0, 0);
            std::printf("  %-34s %8ld\n", "slot rows after a selection", static_cast<long>(rows));
            DestroyWindow(window);
            PumpMessages();
            measured = true;
        } else {
            std::printf("could not create the main window in this process\n");
        }
    }
    return measured;
}

// The windows of the editor in this process, with the current folder as it was after them.
bool BenchInProcess(const std::string& fullFolder, const std::string& emptyFolder)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    appModule.Startup();
    const bool measured = BenchTableInWindow(fullFolder, emptyFolder) && BenchSelection(fullFolder);
    appModule.Shutdown();
    SetCurrentDirectoryA(previous);
    return measured;
}

// False if the folder could not be made or the table not written whole.
bool WriteTable(const TemporaryFolder& folder, const std::string& bytes)
{
    if (folder.Path().empty()) {
        return false;
    }
    try {
        WriteFileBytes(folder.Path("qx7set.dat"), bytes);
    } catch (const std::runtime_error&) {
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string editor = argc > 1 ? argv[1] : KESTRIVANE_EXECUTABLE;
    const std::string bare = argc > 2 ? argv[2] : BARE_DIALOG_EXECUTABLE;
    const std::string prepared = argc > 3 ? argv[3] : PREPARED_DIALOG_EXECUTABLE;
    const TemporaryFolder full;
    const TemporaryFolder empty;
    if (!WriteTable(full, FullTable()) || !WriteTable(empty, Header(0, 151))) {
        std::printf("could not write the tables into temporary folders\n");
        return 1;
    }
    const bool started = BenchStartup(editor, bare, prepared, full.Path(), empty.Path());
    std::fflush(stdout);
    const bool inProcess = BenchInProcess(full.Path(), empty.Path());
    return started && inProcess ? 0 : 1;
}
