// Prints what one layout pass costs on real windows, for the main window's
// rule table and for a table of 200 controls, and how many heap allocations
// 1,000 passes make (the target is none). Plain timing; run it by hand.
#include "app/Win32.h"
#include "res/ResourceIds.h"
#include "tests/support/MessagePump.h"
#include "tests/support/WindowRects.h"
#include "tests/ui/ResizeTestDialog.h"
#include "tests/ui/TestDialogIds.h"
#include "ui/MainDialogResizeRules.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

// Every heap allocation the program makes: C++ new, and with GNU ld the C
// allocator's entry points, which the build wraps.
long long allocationCount = 0;

constexpr int PASSES = 1000;
constexpr int GRID_COLUMNS = 20;
constexpr int GRID_ROWS = 10;
constexpr int FIRST_GRID_ID = 3000;
constexpr int GROUP_SIZE = 10;

} // namespace

#if defined(__GNUC__)
extern "C" {
void* __real_malloc(size_t size);
void* __real_realloc(void* block, size_t size);
void* __real_calloc(size_t count, size_t size);

void* __wrap_malloc(size_t size)
{
    ++allocationCount;
    return __real_malloc(size);
}

void* __wrap_realloc(void* block, size_t size)
{
    ++allocationCount;
    return __real_realloc(block, size);
}

void* __wrap_calloc(size_t count, size_t size)
{
    ++allocationCount;
    return __real_calloc(count, size);
}
}
#define KESTRIVANE_RAW_MALLOC __real_malloc
#else
#define KESTRIVANE_RAW_MALLOC std::malloc
#endif

void* operator new(std::size_t size)
{
    ++allocationCount;
    void* const block = KESTRIVANE_RAW_MALLOC(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

struct PassCost {
    double microseconds;
    long long allocations;
};

// Alternates between two client sizes so that every pass moves every control.
PassCost MeasurePasses(ResizeTestDialog& dialog, HWND window)
{
    const LayoutRect client = ClientRectOf(window);
    for (int i = 0; i < 20; ++i) {
        dialog.HandleSize(SIZE_RESTORED, client.right + (i % 2) * 40, client.bottom + (i % 2) * 30);
    }
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    const long long allocationsBefore = allocationCount;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < PASSES; ++i) {
        dialog.HandleSize(SIZE_RESTORED, client.right + (i % 2) * 40, client.bottom + (i % 2) * 30);
    }
    QueryPerformanceCounter(&end);
    const long long allocations = allocationCount - allocationsBefore;
    const double seconds =
        static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    return {seconds * 1e6 / PASSES, allocations};
}

// openingAllocations shows that the counting works: Initialize does allocate.
void Report(const char* name, ResizeTestDialog& dialog, HWND window, long long openingAllocations)
{
    ShowWindow(window, SW_SHOWNORMAL);
    PumpMessages();
    const PassCost visible = MeasurePasses(dialog, window);
    ShowWindow(window, SW_HIDE);
    PumpMessages();
    const PassCost hidden = MeasurePasses(dialog, window);
    std::printf("%s, %d entries (%lld heap allocations while the window opened):\n", name, dialog.Entries().Count(),
                openingAllocations);
    std::printf("  visible (placement and repaint): %9.1f us per pass, %lld heap allocations in %d passes\n",
                visible.microseconds, visible.allocations, PASSES);
    std::printf("  hidden (placement only):         %9.1f us per pass, %lld heap allocations in %d passes\n",
                hidden.microseconds, hidden.allocations, PASSES);
}

// 200 controls in a grid: half of them in groups of ten that stretch
// together, the rest cycling through the other rules.
std::vector<ResizeRule> GridRules()
{
    const uint32_t loose[] = {RESIZE_STRETCH_X, RESIZE_SHIFT_X | RESIZE_SHIFT_Y, RESIZE_STRETCH_Y, RESIZE_CENTER_X,
                              RESIZE_STRETCH_X | RESIZE_STRETCH_Y | RESIZE_INVALIDATE};
    std::vector<ResizeRule> rules;
    const int controls = GRID_COLUMNS * GRID_ROWS;
    for (int i = 0; i < controls; ++i) {
        const bool grouped = i < controls / 2;
        if (grouped && i % GROUP_SIZE == 0) {
            rules.push_back({RESIZE_MARKER_ID, RESIZE_GROUP_BEGIN});
        }
        rules.push_back({FIRST_GRID_ID + i, grouped ? RESIZE_STRETCH_X | RESIZE_SHIFT_Y : loose[i % 5]});
        if (grouped && i % GROUP_SIZE == GROUP_SIZE - 1) {
            rules.push_back({RESIZE_MARKER_ID, RESIZE_GROUP_END});
        }
    }
    rules.push_back({RESIZE_MARKER_ID, 0});
    return rules;
}

void AddGridControls(ResizeTestDialog& dialog)
{
    for (int row = 0; row < GRID_ROWS; ++row) {
        for (int column = 0; column < GRID_COLUMNS; ++column) {
            const int left = 4 + column * 29;
            const int top = 4 + row * 22;
            dialog.extraControls.push_back(
                {FIRST_GRID_ID + row * GRID_COLUMNS + column, {left, top, left + 27, top + 20}});
        }
    }
}

} // namespace

int main()
{
    ResizeTestDialog mainLayout(MainDialogResizeRules);
    long long before = allocationCount;
    const HWND mainWindow = mainLayout.Create(ID_MAIN_DIALOG);
    const long long mainOpening = allocationCount - before;
    if (mainWindow == nullptr) {
        std::printf("the main window's layout could not be created\n");
        return 1;
    }
    Report("Main window's rule table", mainLayout, mainWindow, mainOpening);

    const std::vector<ResizeRule> rules = GridRules();
    ResizeTestDialog grid(rules.data());
    AddGridControls(grid);
    before = allocationCount;
    const HWND gridWindow = grid.Create(ID_TEST_EMPTY_DIALOG);
    const long long gridOpening = allocationCount - before;
    if (gridWindow == nullptr) {
        std::printf("the 200-control dialog could not be created\n");
        return 1;
    }
    Report("200 controls (10 groups of 10)", grid, gridWindow, gridOpening);
    return 0;
}
