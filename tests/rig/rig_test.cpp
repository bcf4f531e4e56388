#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <portaudio.h>
#include <unistd.h>

#include "rig/audio_plugins.h"
#include "rig/child_process.h"
#include "rig/png_file.h"
#include "rig/pulse_server.h"
#include "rig/scoped_environment.h"
#include "rig/temp_dir.h"
#include "rig/x_client.h"
#include "rig/xvfb_server.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

using namespace std::chrono_literals;

rig::ChildOptions commandLine(std::vector<std::string> argv)
{
    rig::ChildOptions options;
    options.argv = std::move(argv);
    return options;
}

bool processGone(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// ChildProcess

TEST(ChildProcessTest, RunsInItsDirectoryWithItsEnvironmentAndReportsTheExitCode)
{
    const rig::TempDir dir;
    rig::ChildOptions options;
    options.argv = {"sh", "-c", "echo \"$RIG_PROBE\"; pwd; echo oops >&2; exit 3"};
    options.environment = {{"RIG_PROBE", "seven"}};
    options.workDir = dir.path();
    options.stdoutPath = dir.path() + "/out.log";
    options.stderrPath = dir.path() + "/err.log";
    rig::ChildProcess child(options);
    const auto status = child.waitExit();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->code, 3);
    EXPECT_EQ(status->signal, 0);
    EXPECT_EQ(rig::readTextFile(dir.path() + "/out.log"), "seven\n" + dir.path() + "\n");
    EXPECT_EQ(rig::readTextFile(dir.path() + "/err.log"), "oops\n");
}

TEST(ChildProcessTest, SignalEndsTheChildAndDestructionKillsOneStillRunning)
{
    pid_t leftRunning = 0;
    {
        rig::ChildProcess stopped(commandLine({"sleep", "60"}));
        EXPECT_TRUE(stopped.running());
        EXPECT_FALSE(stopped.waitExit(50ms).has_value());
        stopped.sendSignal(SIGTERM);
        const auto status = stopped.waitExit();
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(status->signal, SIGTERM);
        EXPECT_EQ(status->code, -1);
        rig::ChildProcess kept(commandLine({"sleep", "60"}));
        leftRunning = kept.pid();
        EXPECT_FALSE(processGone(leftRunning));
    }
    EXPECT_TRUE(processGone(leftRunning));
}

TEST(ChildProcessTest, RefusesAProgramThatDoesNotExist)
{
    EXPECT_THROW(rig::ChildProcess(commandLine({"earshot-no-such-program"})), std::runtime_error);
}

// Xvfb

TEST(XvfbServerTest, TwoServersGetDifferentDisplaysAndStopWithTheirObjects)
{
    pid_t pids[2] = {0, 0};
    {
        const rig::XvfbServer first;
        const rig::XvfbServer second;
        EXPECT_NE(first.displayName(), second.displayName());
        EXPECT_EQ(first.displayName().front(), ':');
        rig::XClient client(second.displayName());
        EXPECT_EQ(client.focusedWindow(), 0u);
        pids[0] = first.pid();
        pids[1] = second.pid();
    }
    EXPECT_TRUE(processGone(pids[0]));
    EXPECT_TRUE(processGone(pids[1]));
}

// XClient, against a window this test makes itself with plain Xlib.

constexpr int windowWidth = 97;
constexpr int windowHeight = 53;
constexpr unsigned long windowColour = 0x3a7bd5;
const char* const windowTitle = "rig probe";

class XClientTest : public testing::Test {
protected:
    void SetUp() override
    {
        own = XOpenDisplay(server.displayName().c_str());
        ASSERT_NE(own, nullptr);
        window =
            XCreateSimpleWindow(own, DefaultRootWindow(own), 200, 100, windowWidth, windowHeight, 0, 0, windowColour);
        XStoreName(own, window, windowTitle);
        Atom deleteWindow = XInternAtom(own, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(own, window, &deleteWindow, 1);
        const long pid = getpid();
        XChangeProperty(own, window, XInternAtom(own, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pid), 1);
        XSelectInput(own, window, KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask);
        XMapWindow(own, window);
        XSync(own, False);
    }

    void TearDown() override
    {
        if (own != nullptr) {
            XCloseDisplay(own);
        }
    }

    // The next event of this type on the test's window, waiting for it.
    XEvent nextEvent(int type)
    {
        XEvent event{};
        const bool arrived = rig::waitUntil([&] { return XCheckTypedWindowEvent(own, window, type, &event) != 0; });
        EXPECT_TRUE(arrived) << "no event of type " << type;
        return event;
    }

    rig::XvfbServer server;
    rig::XClient client{server.displayName()};
    Display* own = nullptr;
    Window window = 0;
};

TEST_F(XClientTest, FindsTheWindowByTitleAndPidAndReadsItsPixelsExactly)
{
    EXPECT_EQ(client.findWindowByTitle("rig probe 2", 100ms), 0u);
    ASSERT_EQ(client.findWindowByTitle(windowTitle), window);
    EXPECT_EQ(client.findWindowByPid(getpid()), window);
    EXPECT_EQ(client.windowTitle(window), windowTitle);
    const rig::WindowGeometry where = client.geometry(window);
    EXPECT_EQ(where.x, 200);
    EXPECT_EQ(where.y, 100);
    EXPECT_EQ(where.width, windowWidth);
    EXPECT_EQ(where.height, windowHeight);
    const rig::RgbImage image = client.capture(window);
    ASSERT_EQ(image.width, windowWidth);
    ASSERT_EQ(image.height, windowHeight);
    ASSERT_EQ(image.rgb.size(), size_t{windowWidth * windowHeight * 3});
    for (int y = 0; y < windowHeight; ++y) {
        for (int x = 0; x < windowWidth; ++x) {
            ASSERT_EQ(image.pixel(x, y), (rig::Rgb{0x3a, 0x7b, 0xd5})) << x << "," << y;
        }
    }
}

TEST_F(XClientTest, FocusMovesToTheWindowAndAwayToTheRigsOwn)
{
    ASSERT_EQ(client.findWindowByTitle(windowTitle), window);
    ASSERT_TRUE(client.focusWindow(window));
    EXPECT_EQ(client.focusedWindow(), window);
    const rig::XWindowId other = client.focusOtherWindow();
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, window);
    EXPECT_EQ(client.focusedWindow(), other);
    EXPECT_EQ(client.focusOtherWindow(), other);
}

TEST_F(XClientTest, KeysWithModifiersReachTheFocusedWindow)
{
    ASSERT_EQ(client.findWindowByTitle(windowTitle), window);
    ASSERT_TRUE(client.focusWindow(window));
    client.typeKey(XK_c, {XK_Control_L});
    XEvent control = nextEvent(KeyPress);
    EXPECT_EQ(XLookupKeysym(&control.xkey, 0), static_cast<KeySym>(XK_Control_L));
    XEvent letter = nextEvent(KeyPress);
    EXPECT_EQ(XLookupKeysym(&letter.xkey, 0), static_cast<KeySym>(XK_c));
    EXPECT_TRUE(letter.xkey.state & ControlMask);
    client.typeKey(XK_Escape);
    XEvent escape = nextEvent(KeyPress);
    EXPECT_EQ(XLookupKeysym(&escape.xkey, 0), static_cast<KeySym>(XK_Escape));
    EXPECT_FALSE(escape.xkey.state & ControlMask);
    client.typeKey(XK_Left);
    XEvent arrow = nextEvent(KeyPress);
    EXPECT_EQ(XLookupKeysym(&arrow.xkey, 0), static_cast<KeySym>(XK_Left));
    EXPECT_THROW(client.typeKey(0x1234567), std::runtime_error);
}

TEST_F(XClientTest, PointerMovesAndButtonsArriveAtWindowCoordinates)
{
    ASSERT_EQ(client.findWindowByTitle(windowTitle), window);
    client.movePointer(window, 11, 29);
    rig::PointerState state = client.pointer(window);
    EXPECT_EQ(state.windowX, 11);
    EXPECT_EQ(state.windowY, 29);
    EXPECT_EQ(state.screenX, 211);
    EXPECT_EQ(state.screenY, 129);
    client.pressButton(3);
    EXPECT_EQ(client.pointer(window).buttonMask & (Button1Mask | Button3Mask), unsigned{Button3Mask});
    XEvent press = nextEvent(ButtonPress);
    EXPECT_EQ(press.xbutton.button, 3u);
    EXPECT_EQ(press.xbutton.x, 11);
    EXPECT_EQ(press.xbutton.y, 29);
    client.releaseButton(3);
    EXPECT_EQ(nextEvent(ButtonRelease).xbutton.button, 3u);
    EXPECT_EQ(client.pointer(window).buttonMask & (Button1Mask | Button3Mask), 0u);
    client.movePointerOnScreen(5, 7);
    state = client.pointer(window);
    EXPECT_EQ(state.screenX, 5);
    EXPECT_EQ(state.windowX, 5 - 200);
}

TEST_F(XClientTest, CloseRequestArrivesAsWindowManagerMessage)
{
    ASSERT_EQ(client.findWindowByTitle(windowTitle), window);
    client.requestClose(window);
    XEvent message{};
    ASSERT_TRUE(rig::waitUntil([&] { return XCheckTypedEvent(own, ClientMessage, &message) != 0; }));
    EXPECT_EQ(message.xclient.window, window);
    EXPECT_EQ(message.xclient.message_type, XInternAtom(own, "WM_PROTOCOLS", False));
    EXPECT_EQ(static_cast<Atom>(message.xclient.data.l[0]), XInternAtom(own, "WM_DELETE_WINDOW", False));
    XDestroyWindow(own, window);
    XSync(own, False);
    EXPECT_TRUE(rig::waitUntil([&] { return !client.windowExists(window); }));
    EXPECT_EQ(client.capture(window).width, 0);
}

// The sound server, heard through the test's own PortAudio default input.

// Sends this process's stderr to a file for its lifetime; PortAudio's device
// scan is noisy. The text is kept for failure messages.
class StderrToFile {
public:
    explicit StderrToFile(const std::string& path) : path_(path), saved_(dup(2))
    {
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        dup2(file, 2);
        close(file);
    }
    ~StderrToFile()
    {
        dup2(saved_, 2);
        close(saved_);
    }
    std::string text() const { return rig::readTextFile(path_); }

private:
    std::string path_;
    int saved_;
};

// Records frames samples from the default input; empty when it cannot.
// whenRunning is called once the stream has started.
std::vector<int16_t> recordDefaultInput(
    const rig::PulseServer& pulse, int frames, const std::function<void()>& whenRunning = [] {})
{
    const rig::ScopedEnvironment environment(pulse.environment());
    std::vector<int16_t> samples(static_cast<size_t>(frames));
    PaStream* stream = nullptr;
    if (Pa_Initialize() != paNoError) {
        return {};
    }
    rig::keepAudioPluginsLoaded();
    bool recorded =
        Pa_OpenDefaultStream(&stream, 1, 0, paInt16, rig::pulseSampleRate, 256, nullptr, nullptr) == paNoError &&
        Pa_StartStream(stream) == paNoError;
    if (recorded) {
        whenRunning();
        recorded = Pa_ReadStream(stream, samples.data(), static_cast<unsigned long>(frames)) == paNoError;
        Pa_StopStream(stream);
    }
    if (stream != nullptr) {
        Pa_CloseStream(stream);
    }
    Pa_Terminate();
    return recorded ? samples : std::vector<int16_t>();
}

class PulseServerTest : public testing::Test {
protected:
    rig::TempDir dir;
    StderrToFile quiet{dir.path() + "/stderr.log"};
};

TEST_F(PulseServerTest, SineSourceGivesHalfScaleAtAPeriodOf32Samples)
{
    const rig::PulseServer pulse(rig::SineSource{});
    const std::vector<int16_t> samples = recordDefaultInput(pulse, rig::pulseSampleRate / 5);
    ASSERT_FALSE(samples.empty()) << quiet.text() << pulse.log();
    int peak = 0;
    for (size_t i = 960; i + 32 < samples.size(); ++i) {
        peak = std::max(peak, std::abs(int{samples[i]}));
        ASSERT_NEAR(samples[i + 32], samples[i], 4) << "at " << i;
        ASSERT_NEAR(samples[i + 16], -samples[i], 4) << "at " << i;
    }
    EXPECT_GE(peak, 16300);
    EXPECT_LE(peak, 16385);
}

TEST_F(PulseServerTest, SineFrequencyIsSelectable)
{
    const rig::PulseServer pulse(rig::SineSource{3000});
    const std::vector<int16_t> samples = recordDefaultInput(pulse, rig::pulseSampleRate / 10);
    ASSERT_FALSE(samples.empty()) << quiet.text() << pulse.log();
    for (size_t i = 960; i + 16 < samples.size(); ++i) {
        ASSERT_NEAR(samples[i + 16], samples[i], 4) << "at " << i;
        ASSERT_NEAR(samples[i + 8], -samples[i], 4) << "at " << i;
    }
}

TEST_F(PulseServerTest, PipeSourceDeliversFedSamplesUnchangedBetweenSilence)
{
    rig::PulseServer pulse(rig::PipeSource{});
    std::vector<int16_t> pattern(701);
    uint32_t state = 12345;
    for (auto& sample : pattern) {
        state = state * 1103515245u + 12345u;
        sample = static_cast<int16_t>(state >> 16);
    }
    pattern.front() = -32768;
    pattern.back() = 32767;
    const std::vector<int16_t> samples =
        recordDefaultInput(pulse, rig::pulseSampleRate / 2, [&] { pulse.playSamples(pattern); });
    ASSERT_FALSE(samples.empty()) << quiet.text() << pulse.log();
    const auto found = std::search(samples.begin(), samples.end(), pattern.begin(), pattern.end());
    ASSERT_NE(found, samples.end()) << "fed pattern not found in the capture";
    EXPECT_TRUE(std::all_of(samples.begin(), found, [](int16_t s) { return s == 0; }));
    EXPECT_TRUE(std::all_of(found + static_cast<std::ptrdiff_t>(pattern.size()), samples.end(),
                            [](int16_t s) { return s == 0; }));
    EXPECT_GT(pulse.samplesFed(), int64_t{rig::pulseSampleRate / 2});
}

TEST_F(PulseServerTest, WithoutAServerThereIsNoDefaultInput)
{
    const rig::ScopedEnvironment environment(rig::noAudioEnvironment());
    ASSERT_EQ(Pa_Initialize(), paNoError);
    rig::keepAudioPluginsLoaded();
    EXPECT_EQ(Pa_GetDefaultInputDevice(), paNoDevice);
    Pa_Terminate();
}

TEST_F(PulseServerTest, ServerStopsWithItsObject)
{
    pid_t pid = 0;
    {
        const rig::PulseServer pulse(rig::SineSource{});
        pid = pulse.pid();
        EXPECT_FALSE(processGone(pid));
        EXPECT_EQ(pulse.environment().at(0).first, "PULSE_SERVER");
    }
    EXPECT_TRUE(processGone(pid));
    EXPECT_THROW(rig::PulseServer(rig::SineSource{0}), std::runtime_error);
}

// PNG

rig::RgbImage distinctImage(int width, int height)
{
    rig::RgbImage image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.rgb.push_back(static_cast<uint8_t>(x * 7 + y));
            image.rgb.push_back(static_cast<uint8_t>(255 - y * 5));
            image.rgb.push_back(static_cast<uint8_t>(x * y + 3));
        }
    }
    return image;
}

// Distinct colours in each channel on an odd size read back exactly; a
// screenshot-like picture (one colour, a few lines) is stored compressed.
TEST(PngFileTest, PicturesReadBackExactlyAndScreenshotsAreCompressed)
{
    const rig::TempDir dir;
    const std::string path = dir.path() + "/picture.png";
    const rig::RgbImage odd = distinctImage(151, 147);
    ASSERT_TRUE(rig::writePng(path, odd));
    const rig::RgbImage decoded = rig::readPng(path);
    EXPECT_EQ(decoded.width, 151);
    EXPECT_EQ(decoded.height, 147);
    EXPECT_EQ(decoded.rgb, odd.rgb);

    rig::RgbImage screen{1025, 401, std::vector<uint8_t>(1025 * 401 * 3, 0)};
    for (size_t x = 0; x < 1025; ++x) {
        screen.rgb[(200 * 1025 + x) * 3 + 1] = 255;
    }
    ASSERT_TRUE(rig::writePng(path, screen));
    EXPECT_LT(rig::readTextFile(path).size(), screen.rgb.size() / 100);
    EXPECT_EQ(rig::readPng(path).rgb, screen.rgb);

    EXPECT_FALSE(rig::writePng(dir.path() + "/missing/picture.png", odd));
}

} // namespace
