// Faults: a settings file whose values cannot be read, a settings path that is no file or
// cannot be written, and windows that come and go while the
// list is being rebuilt.

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "Scenario.h"

namespace e2e {

namespace {

constexpr auto kQuietAfterBox = std::chrono::milliseconds(1500);
constexpr int kRefreshClicks = 20;
constexpr int kSurvivors = 4;
constexpr std::size_t kMostChurnWindows = 10;
// Each window lives about kMostChurnWindows steps: long enough for the window manager to take it
// in (a faster loop outruns openbox, which then never lists any), short enough that windows keep
// vanishing between a walk's list read and its property reads.
constexpr auto kChurnStep = std::chrono::milliseconds(15);

std::size_t CountStarting(const std::vector<Box>& boxes, const std::string& start) {
    return std::count_if(boxes.begin(), boxes.end(),
                         [&](const Box& box) { return box.text.starts_with(start); });
}

void WriteSettings(const std::string& path, const std::string& value) {
    std::ofstream file(path, std::ios::trunc);
    file << "[General]\n";
    for (const char* key : {"Option1", "Option2", "Option3", "Option4", "Text1"}) {
        file << key << '=' << value << '\n';
    }
}

// Starts the program on the settings that `prepare` leaves (and with `environment` changed),
// answers its boxes, checks them with `expected`, and closes it.
void StartWithSettings(Context& c, const std::string& name, const std::function<void()>& prepare,
                       const std::function<bool(const std::vector<Box>&)>& expected,
                       const std::string& expectation,
                       const std::vector<std::string>& environment = {}) {
    c.app.Stop();
    prepare();
    c.results.Check(c.app.Launch(environment), name + "the program is launched");
    const std::vector<Box> boxes = c.app.AnswerBoxes(kQuietAfterBox);
    c.results.Check(expected(boxes), name + expectation, Describe(boxes));
    c.results.Check(
        c.app.WaitForForm() && c.x.WaitFor([&] { return c.x.Info(c.app.form()).viewable; }),
        name + "the window is shown");
    c.x.RequestClose(c.app.form());
    c.results.Check(c.app.WaitForExit(std::chrono::seconds(5)) == 0,
                    name + "closing the window ends the program normally");
}

// The same, on a settings file where every key holds `value`.
void StartWithEverySetting(Context& c, const std::string& value,
                           const std::function<bool(const std::vector<Box>&)>& expected,
                           const std::string& expectation) {
    StartWithSettings(
        c, "every setting \"" + value + "\": ", [&] { WriteSettings(c.settingsFile, value); },
        expected, expectation);
}

// Option1..Option4 each fail to read as a truth value ("Type mismatch") and are reported once,
// in the error report.
bool OneErrorReportPerOption(const std::vector<Box>& boxes) {
    return boxes.size() == 4 &&
           std::all_of(boxes.begin(), boxes.end(),
                       [](const Box& box) { return box.title == "Application Error"; }) &&
           CountStarting(boxes, "Type mismatch\r\nin Velmora2021/08/31.Form1.Form_Load at line ") ==
               4;
}

// A small titled window in the top left corner, away from the program's centred window, that
// never takes the focus (no input, user time 0), so that the clicks on the program's window
// never land on a passing window nor wait for the focus to come back.
Window ChurnWindow(XDriver& x, const std::string& title) {
    const Window window = x.Create(TargetKind::Withdrawn, title);
    XSizeHints hints{};
    hints.flags = USPosition;
    XSetWMNormalHints(x.display(), window, &hints);
    XWMHints wmHints{};
    wmHints.flags = InputHint;
    wmHints.input = False;
    XSetWMHints(x.display(), window, &wmHints);
    const long userTime = 0;
    XChangeProperty(x.display(), window, XInternAtom(x.display(), "_NET_WM_USER_TIME", False),
                    XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&userTime), 1);
    XMoveResizeWindow(x.display(), window, 0, 0, 120, 40);
    XMapWindow(x.display(), window);
    return window;
}

std::vector<std::string> SortedTitles(const FormState& state) {
    std::vector<std::string> titles = state.Titles();
    std::sort(titles.begin(), titles.end());
    return titles;
}

}  // namespace

void UnreadableSettingsScenario(Context& c) {
    StartWithEverySetting(c, "maybe", OneErrorReportPerOption, "one error report per option");
    StartWithEverySetting(c, "", OneErrorReportPerOption, "one error report per option");
    StartWithEverySetting(
        c, "1e300",
        [](const std::vector<Box>& boxes) {
            return CountStarting(boxes, "Must be a numeric value.") >= 1 &&
                   std::none_of(boxes.begin(), boxes.end(),
                                [](const Box& box) { return box.title == "Application Error"; });
        },
        "the huge interval is reported by the interval check, and no error report comes");

    // A FIFO in the file's place is never opened (the read would block start-up for good) and
    // never written through: each of the five reads is reported.
    StartWithSettings(
        c, "a FIFO as the settings file: ",
        [&] {
            std::remove(c.settingsFile.c_str());
            mkfifo(c.settingsFile.c_str(), 0600);
        },
        [](const std::vector<Box>& boxes) {
            return boxes.size() == 5 &&
                   CountStarting(boxes, "Path/File access error\r\nin Velmora2021/08/31.Form1."
                                        "Form_Load at line ") == 5;
        },
        "each settings read is reported as a failed read");
    struct stat fifo {};
    c.results.Check(stat(c.settingsFile.c_str(), &fifo) == 0 && S_ISFIFO(fifo.st_mode),
                    "the FIFO is left as it was");
    std::remove(c.settingsFile.c_str());

    // Nor is a FIFO in the optional cursor file's place: it is no picture.
    const auto cursor = std::filesystem::path(c.app.program()).parent_path() / "HAND-M.CUR";
    StartWithSettings(
        c, "a FIFO as the cursor file: ", [&] { mkfifo(cursor.c_str(), 0600); },
        [](const std::vector<Box>& boxes) {
            return boxes.size() == 1 &&
                   CountStarting(boxes, "Invalid picture\r\nin Velmora2021/08/31.Form1."
                                        "Form_Load at line 108") == 1;
        },
        "it is reported once as no picture");
    std::filesystem::remove(cursor);

    // A file in the settings folder's place, or a FIFO at the lock file's (whose read would
    // block the write for good): the option's write fails and says so.
    const std::string folder = c.settingsFile.substr(0, c.settingsFile.rfind('/'));
    const std::string lock = c.settingsFile + ".lock";
    for (const std::string& blocked : {folder, lock}) {
        std::filesystem::remove_all(blocked);
        if (blocked == lock) mkfifo(lock.c_str(), 0600);
        if (blocked == folder) std::ofstream(folder) << "not a folder\n";
        c.results.Check(c.app.Start(), "with " + blocked + " blocked the program starts");
        c.app.ClickControl("Option4");
        const std::vector<Box> boxes = c.app.AnswerBoxes(kQuietAfterBox);
        c.results.Check(CountStarting(boxes, "Path/File access error\r\nin Velmora2021/08/31."
                                             "Form1.Option4_Click at line 0") >= 1,
                        "a settings write that fails is reported", Describe(boxes));
        c.app.Stop();
        std::filesystem::remove(blocked);
        std::filesystem::create_directories(folder);
    }

    // An interval text longer than a text field holds by default is shown and kept whole.
    c.app.Stop();
    const std::string longText(40000, '7');
    std::ofstream(c.settingsFile, std::ios::trunc) << "[General]\nText1=" << longText << '\n';
    c.results.Check(c.app.Start(), "a 40,000-character interval text: the program starts");
    const std::string shown = c.app.State().controls.at("Text1").text;
    c.results.Check(shown == longText, "a 40,000-character interval text is shown whole",
                    std::to_string(shown.size()) + " characters");
    std::ifstream settings(c.settingsFile);
    bool keptWhole = false;
    for (std::string line; std::getline(settings, line);) {
        if (line.starts_with("Text1=")) keptWhole = line == "Text1=" + longText;
    }
    c.results.Check(keptWhole, "a 40,000-character interval text is stored back whole");
    // The next run starts from the defaults again.
    std::remove(c.settingsFile.c_str());
    c.results.Check(c.app.Start(), "the program starts again on default settings");
}

// A Wayland session that offers neither sway's IPC nor foreign-toplevel management (GNOME,
// Plasma): the program manages X11 windows through XWayland and says so once at start-up.
void WaylandWithoutWayInScenario(Context& c) {
    StartWithSettings(
        c, "a Wayland session without a way in: ", [&] { std::remove(c.settingsFile.c_str()); },
        [](const std::vector<Box>& boxes) {
            return boxes.size() == 1 &&
                   boxes.front().text ==
                       "On this desktop Velmora Suite can reach only the windows of X11 "
                       "programs: windows of Wayland programs are not listed.";
        },
        "it says once that it reaches only X11 programs' windows",
        {"WAYLAND_DISPLAY=velmora-e2e-no-such-display", "SWAYSOCK="});
    // Ended (SIGTERM, log-off) while that notice is still open, it ends as it always does; with
    // no display at all it says so and exits 1, never the toolkit's abort.
    c.app.Stop();
    c.app.Launch({"WAYLAND_DISPLAY=velmora-e2e-no-such-display", "SWAYSOCK="});
    const bool noticeOpen = c.x.WaitFor([&] { return c.app.Dialog().has_value(); });
    ::kill(c.app.pid(), SIGTERM);
    c.results.Check(noticeOpen && c.app.WaitForExit(std::chrono::seconds(5)) == 0,
                    "SIGTERM while the start-up notice is open ends the program with status 0");
    c.app.Launch({"DISPLAY=:velmora-e2e-none", "WAYLAND_DISPLAY=", "SWAYSOCK="});
    c.results.Check(c.app.WaitForExit(std::chrono::seconds(10)) == 1,
                    "with no X display and no Wayland way in the program exits with status 1");
    c.results.Check(c.app.Start(), "the program starts again on X11 alone");
}

void ChurnScenario(Context& c) {
    for (int i = 0; i < kSurvivors; ++i) {
        const Window window = c.Create(TargetKind::Normal, "E2E Survivor " + std::to_string(i));
        c.x.WaitFor([&] { return c.x.Info(window).wmState == 1; });
    }
    c.app.ClickControl("PushButton1");
    c.app.WaitForRows(
        [](const FormState& s) { return s.Row("E2E Survivor " + std::to_string(kSurvivors - 1)); });
    const std::vector<std::string> before = SortedTitles(c.app.State());

    // A second client keeps creating and destroying windows, at the window manager's pace.
    std::atomic<bool> stop = false;
    std::atomic<int> churned = 0;
    std::thread churn([&] {
        XDriver other;
        std::vector<Window> alive;
        while (!stop) {
            alive.push_back(ChurnWindow(other, "E2E Churn " + std::to_string(churned++)));
            if (alive.size() > kMostChurnWindows) {
                other.Destroy(alive.front());
                alive.erase(alive.begin());
            }
            XSync(other.display(), False);
            std::this_thread::sleep_for(kChurnStep);
        }
    });  // `other` destroys the windows still alive as it goes
    bool metChurn = false;
    for (int i = 0; i < kRefreshClicks; ++i) {
        c.app.ClickControl("PushButton1");
        for (const std::string& title : c.app.State().Titles()) {
            metChurn = metChurn || title.rfind("E2E Churn ", 0) == 0;
        }
    }
    stop = true;
    churn.join();

    c.results.Check(!c.app.WaitForExit(std::chrono::milliseconds(0)).has_value(),
                    "the program survives " + std::to_string(kRefreshClicks) + " refreshes while " +
                        std::to_string(churned.load()) + " windows come and go");
    c.results.Check(metChurn, "those refreshes listed some of the passing windows");
    c.x.Pump(std::chrono::milliseconds(500));
    c.app.ClickControl("PushButton1");
    c.results.Check(c.app.WaitForRows([&](const FormState& s) { return SortedTitles(s) == before; }),
                    "afterwards the list holds exactly the surviving windows");
    for (int i = 0; i < kSurvivors; ++i) {
        const auto survivor = c.targets.find("E2E Survivor " + std::to_string(i));
        c.x.Destroy(survivor->second);
        c.targets.erase(survivor);
    }
}

}  // namespace e2e
