// The message loop on the test thread's real queue: when idle passes run, what
// filters see and consume, and the quit code. Each test scripts its messages
// from the idle handler and ends the loop itself; a safety timer ends a loop
// that a broken rule would keep running, with a code no test expects.
#include "app/MessageLoop.h"
#include "tests/app/MessageName.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr UINT IDLE_PASS = 0xFFFFFFFFu;
constexpr int SAFETY_QUIT_CODE = 99;
constexpr UINT SAFETY_MILLISECONDS = 5000;
constexpr UINT SCRIPT_TIMER_MILLISECONDS = 50;
constexpr UINT WM_TEST = WM_APP + 1;
constexpr UINT WM_TEST_OTHER = WM_APP + 2;

void CALLBACK EndRunawayLoop(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(SAFETY_QUIT_CODE);
}

// A thread timer for the length of a test.
class ThreadTimer {
public:
    ThreadTimer(UINT milliseconds, TIMERPROC procedure) : id(SetTimer(nullptr, 0, milliseconds, procedure)) {}
    ~ThreadTimer() { KillTimer(nullptr, id); }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

private:
    UINT_PTR id;
};

void PostToThread(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    PostThreadMessageA(GetCurrentThreadId(), message, wParam, lParam);
}

// Records, in one list, each message it filters and each idle pass; consumes
// the one message number it is told to; runs the test's script at each pass.
class Recorder : public MessageFilter, public IdleHandler {
public:
    BOOL FilterMessage(MSG* msg) override
    {
        events.push_back(msg->message);
        return msg->message == consumed;
    }

    BOOL HandleIdle() override
    {
        events.push_back(IDLE_PASS);
        if (onIdle) {
            onIdle(passes);
        }
        ++passes;
        return TRUE;
    }

    std::vector<UINT> events;
    std::function<void(int pass)> onIdle;
    UINT consumed = 0;

private:
    int passes = 0;
};

// A message-only window that records what is dispatched to it.
class RecordingWindow {
public:
    RecordingWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = CLASS_NAME;
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, CLASS_NAME, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dispatched));
    }
    ~RecordingWindow() { DestroyWindow(window); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND window = nullptr;
    std::vector<UINT> dispatched;

private:
    static constexpr const char* CLASS_NAME = "KestrivaneLoopTestWindow";

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* const log = reinterpret_cast<std::vector<UINT>*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (log != nullptr && (message == WM_KEYDOWN || message == WM_CHAR)) {
            log->push_back(message);
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

// The script's timer ticks again where the machine is slow to come back to the
// loop; the ticks in a row are one wait for the purpose of these tests.
std::vector<UINT> WithoutRepeatedTicks(std::vector<UINT> events)
{
    const auto repeated = [](UINT a, UINT b) { return a == WM_TIMER && b == WM_TIMER; };
    events.erase(std::unique(events.begin(), events.end(), repeated), events.end());
    return events;
}

class MessageLoopTest : public testing::Test {
protected:
    void SetUp() override
    {
        DiscardMessages();
        loop.RegisterFilter(&recorder);
        loop.RegisterIdleHandler(&recorder);
    }

    MessageLoop loop;
    Recorder recorder;
    ThreadTimer safety{SAFETY_MILLISECONDS, EndRunawayLoop};
};

TEST_F(MessageLoopTest, IdleHandlersRunOnceOnAnEmptyQueueThenWaitForAMessage)
{
    const ThreadTimer script(SCRIPT_TIMER_MILLISECONDS, nullptr);
    recorder.onIdle = [](int pass) {
        if (pass == 1) {
            PostQuitMessage(0);
        }
    };

    EXPECT_EQ(0, loop.RunUntilQuit());

    EXPECT_EQ((std::vector<UINT>{IDLE_PASS, WM_TIMER, IDLE_PASS}), WithoutRepeatedTicks(recorder.events));
}

class QuietMessageTest : public MessageLoopTest, public testing::WithParamInterface<MessageName> {};

TEST_P(QuietMessageTest, DoesNotCallForAnotherIdlePass)
{
    std::unique_ptr<ThreadTimer> script;
    recorder.onIdle = [&](int pass) {
        if (pass == 0) {
            PostToThread(GetParam().message);
            script = std::make_unique<ThreadTimer>(SCRIPT_TIMER_MILLISECONDS, nullptr);
        } else {
            PostQuitMessage(0);
        }
    };

    EXPECT_EQ(0, loop.RunUntilQuit());

    EXPECT_EQ((std::vector<UINT>{IDLE_PASS, GetParam().message, WM_TIMER, IDLE_PASS}),
              WithoutRepeatedTicks(recorder.events));
}

INSTANTIATE_TEST_SUITE_P(MovementPaintAndCaret, QuietMessageTest,
                         testing::Values(MessageName{WM_MOUSEMOVE, "MouseMove"},
                                         MessageName{WM_NCMOUSEMOVE, "NcMouseMove"}, MessageName{WM_PAINT, "Paint"},
                                         MessageName{0x0118, "CaretBlink0118"}),
                         NameOfMessage());

class ArmingMessageTest : public MessageLoopTest, public testing::WithParamInterface<MessageName> {};

TEST_P(ArmingMessageTest, CallsForAnotherIdlePass)
{
    // F5 translates to no character, so the key leaves no WM_CHAR behind.
    recorder.onIdle = [](int pass) {
        if (pass == 0) {
            PostToThread(GetParam().message, VK_F5);
        } else {
            PostQuitMessage(0);
        }
    };

    EXPECT_EQ(0, loop.RunUntilQuit());

    EXPECT_EQ((std::vector<UINT>{IDLE_PASS, GetParam().message, IDLE_PASS}), recorder.events);
}

INSTANTIATE_TEST_SUITE_P(OtherMessages, ArmingMessageTest,
                         testing::Values(MessageName{WM_KEYDOWN, "KeyDown"},
                                         MessageName{WM_LBUTTONDOWN, "LButtonDown"}, MessageName{WM_TEST, "App"}),
                         NameOfMessage());

// The letter A with its scan code, as the keyboard driver posts it.
void PostKeyA(HWND window)
{
    PostMessageA(window, WM_KEYDOWN, 'A', 0x001E0001);
}

TEST_F(MessageLoopTest, UnconsumedKeyIsTranslatedAndDispatched)
{
    RecordingWindow target;
    recorder.onIdle = [&](int pass) {
        if (pass == 0) {
            PostKeyA(target.window);
        } else {
            PostQuitMessage(0);
        }
    };

    loop.RunUntilQuit();

    EXPECT_EQ((std::vector<UINT>{WM_KEYDOWN, WM_CHAR}), target.dispatched);
}

TEST_F(MessageLoopTest, ConsumedMessageIsNeitherTranslatedNorDispatchedButCallsForAnIdlePass)
{
    RecordingWindow target;
    recorder.consumed = WM_KEYDOWN;
    recorder.onIdle = [&](int pass) {
        if (pass == 0) {
            PostKeyA(target.window);
        } else {
            PostQuitMessage(0);
        }
    };

    EXPECT_EQ(0, loop.RunUntilQuit());

    EXPECT_TRUE(target.dispatched.empty());
    EXPECT_EQ((std::vector<UINT>{IDLE_PASS, WM_KEYDOWN, IDLE_PASS}), recorder.events);
}

// A filter that records its name and the message into a shared log.
class NamedFilter : public MessageFilter {
public:
    NamedFilter(char name, UINT consumed, std::vector<std::pair<char, UINT>>& log)
        : name(name), consumed(consumed), log(log)
    {
    }

    BOOL FilterMessage(MSG* msg) override
    {
        log.emplace_back(name, msg->message);
        return msg->message == consumed;
    }

private:
    char name;
    UINT consumed;
    std::vector<std::pair<char, UINT>>& log;
};

TEST(MessageLoopFilterTest, NewestFilterFirstAndAConsumerHidesTheMessageFromOlderOnes)
{
    std::vector<std::pair<char, UINT>> log;
    NamedFilter oldest('a', 0, log);
    NamedFilter middle('b', WM_TEST, log);
    NamedFilter newest('c', 0, log);
    MessageLoop loop;
    loop.RegisterFilter(&oldest);
    loop.RegisterFilter(nullptr);
    loop.RegisterFilter(&middle);
    loop.RegisterFilter(&newest);
    PostToThread(WM_TEST);
    PostToThread(WM_TEST_OTHER);
    PostQuitMessage(0);

    EXPECT_EQ(0, loop.RunUntilQuit());

    const std::vector<std::pair<char, UINT>> expected = {
        {'c', WM_TEST}, {'b', WM_TEST}, {'c', WM_TEST_OTHER}, {'b', WM_TEST_OTHER}, {'a', WM_TEST_OTHER}};
    EXPECT_EQ(expected, log);
}

// An idle handler that records its name and may register another handler.
class ChainedHandler : public IdleHandler {
public:
    ChainedHandler(char name, std::vector<char>& log) : name(name), log(log) {}

    BOOL HandleIdle() override
    {
        log.push_back(name);
        if (next != nullptr) {
            loop->RegisterIdleHandler(next);
            next = nullptr;
        }
        return TRUE;
    }

    MessageLoop* loop = nullptr;
    IdleHandler* next = nullptr;

private:
    char name;
    std::vector<char>& log;
};

TEST_F(MessageLoopTest, NullIdleHandlerIsSkippedAndOneAddedDuringAPassRunsInThatPass)
{
    std::vector<char> log;
    ChainedHandler first('a', log);
    ChainedHandler second('b', log);
    ChainedHandler third('c', log);
    loop.RegisterIdleHandler(nullptr);
    loop.RegisterIdleHandler(&first);
    first.loop = &loop;
    first.next = &second;
    second.loop = &loop;
    second.next = &third;
    recorder.onIdle = [](int) { PostQuitMessage(0); };

    EXPECT_EQ(0, loop.RunUntilQuit());

    EXPECT_EQ((std::vector<char>{'a', 'b', 'c'}), log);
    EXPECT_EQ((std::vector<UINT>{IDLE_PASS}), recorder.events);
}

class QuitCodeTest : public MessageLoopTest, public testing::WithParamInterface<int> {};

TEST_P(QuitCodeTest, RunUntilQuitReturnsTheWParamOfWmQuit)
{
    recorder.onIdle = [](int) { PostQuitMessage(GetParam()); };

    EXPECT_EQ(GetParam(), loop.RunUntilQuit());
}

INSTANTIATE_TEST_SUITE_P(OkAndCancel, QuitCodeTest, testing::Values(1, 2));

} // namespace
