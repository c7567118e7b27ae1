// Times programs from their start to their first painted frame under X, and takes their peak
// resident memory, so that the calculator can be set beside a bare Qt window measured the same
// way. Nothing is polled: the X server reports the window's creation, its mapping and the first
// drawing into it (DAMAGE extension), and the benchmark waits on the connection for those events.
//
// Usage: startup_bench RUNS LABEL=PROGRAM... (the programs run in the current directory).
// Writes a Markdown section to stdout.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Both programs open a window of this inner size; the window manager's frames are larger.
constexpr std::uint16_t kWindowWidth = 205;
constexpr std::uint16_t kWindowHeight = 120;
constexpr std::chrono::seconds kRunTimeout{10};

struct Measurement {
    double mappedMs = 0;
    double paintedMs = 0;
    double peakRssKiB = 0;           // ru_maxrss of the whole run, as /usr/bin/time -f %M
    double highWaterAtPaintKiB = 0;  // VmHWM when the first frame arrived
    double cpuAtPaintMs = 0;         // time on a CPU, all threads, until the first frame
};

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct TrackedWindow {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    xcb_damage_damage_t damage = 0;
};

class PaintWatcher {
  public:
    PaintWatcher() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_) != 0) {
            Fail("cannot connect to the X display");
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(connection_, &xcb_damage_id);
        if (damage == nullptr || damage->present == 0) {
            Fail("the X server has no DAMAGE extension");
        }
        damageNotify_ = static_cast<std::uint8_t>(damage->first_event + XCB_DAMAGE_NOTIFY);
        free(xcb_damage_query_version_reply(connection_,
                                            xcb_damage_query_version(connection_, 1, 1), nullptr));
        // New top-level windows are reported to whoever watches the root's substructure.
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~PaintWatcher() { xcb_disconnect(connection_); }
    PaintWatcher(const PaintWatcher&) = delete;
    PaintWatcher& operator=(const PaintWatcher&) = delete;

    int discardedRuns = 0;

    std::optional<Measurement> MeasureOnce(const std::string& program) {
        Drain();
        windows_.clear();
        const Clock::time_point start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::optional<Measurement> result = WaitForFirstFrame(start, child);
        kill(child, SIGTERM);
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (result) {
            result->peakRssKiB = static_cast<double>(usage.ru_maxrss);
        }
        return result;
    }

  private:
    [[noreturn]] static void Fail(const char* why) {
        std::fprintf(stderr, "startup_bench: %s\n", why);
        std::exit(1);
    }

    void Drain() {
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            free(event);
        }
    }

    // Watches a new top-level window for its mapping and for drawing into it. The window
    // manager needs several round trips before it maps a client's window, so these requests
    // reach the server long before that; the check below proves it for every run. (The window
    // manager's own frames may well be mapped already, and are no concern.)
    bool Track(xcb_window_t window, std::uint16_t width, std::uint16_t height) {
        TrackedWindow& tracked = windows_[window];
        tracked.width = width;
        tracked.height = height;
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
        tracked.damage = xcb_generate_id(connection_);
        xcb_damage_create(connection_, tracked.damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        auto* attributes = xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr);
        const bool unmapped =
            attributes == nullptr || attributes->map_state == XCB_MAP_STATE_UNMAPPED;
        free(attributes);
        return unmapped || !IsTheWindow(window);
    }

    bool IsTheWindow(xcb_window_t window) const {
        const auto found = windows_.find(window);
        return found != windows_.end() && found->second.width == kWindowWidth &&
               found->second.height == kWindowHeight;
    }

    std::optional<Measurement> WaitForFirstFrame(Clock::time_point start, pid_t child) {
        Measurement m;
        xcb_window_t mapped = XCB_NONE;
        pollfd connection{xcb_get_file_descriptor(connection_), POLLIN, 0};
        while (Clock::now() - start < kRunTimeout) {
            xcb_generic_event_t* event = xcb_poll_for_event(connection_);
            if (event == nullptr) {
                if (xcb_connection_has_error(connection_) != 0) {
                    Fail("the X connection broke");
                }
                poll(&connection, 1, 100);
                continue;
            }
            const std::unique_ptr<xcb_generic_event_t, decltype(&free)> owned(event, &free);
            const Clock::time_point now = Clock::now();
            const std::uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                if (created->parent == root_ && created->override_redirect == 0 &&
                    !Track(created->window, created->width, created->height)) {
                    ++discardedRuns;
                    return std::nullopt;
                }
            } else if (type == XCB_CONFIGURE_NOTIFY) {
                const auto* configured = reinterpret_cast<xcb_configure_notify_event_t*>(event);
                const auto found = windows_.find(configured->window);
                if (found != windows_.end()) {
                    found->second.width = configured->width;
                    found->second.height = configured->height;
                }
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (mapped == XCB_NONE && map->event == map->window && IsTheWindow(map->window)) {
                    mapped = map->window;
                    m.mappedMs = Milliseconds(now - start);
                }
            } else if (type == damageNotify_) {
                const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                if (mapped != XCB_NONE && damage->drawable == mapped) {
                    m.paintedMs = Milliseconds(now - start);
                    m.highWaterAtPaintKiB = HighWaterMarkKiB(child);
                    m.cpuAtPaintMs = CpuTimeMs(child);
                    return m;
                }
            }
        }
        std::fprintf(stderr, "startup_bench: no painted window within %lld s\n",
                     static_cast<long long>(kRunTimeout.count()));
        return std::nullopt;
    }

    // The first field of each thread's schedstat is its time on a CPU in nanoseconds. Unlike the
    // wall-clock times it hardly changes when other processes load the machine.
    static double CpuTimeMs(pid_t pid) {
        double nanoseconds = 0;
        std::error_code error;
        const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
        for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
            std::ifstream schedstat(task.path() / "schedstat");
            double onCpu = 0;
            if (schedstat >> onCpu) {
                nanoseconds += onCpu;
            }
        }
        return nanoseconds / 1e6;
    }

    static double HighWaterMarkKiB(pid_t pid) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string key;
        while (status >> key) {
            if (key == "VmHWM:") {
                double kib = 0;
                status >> kib;
                return kib;
            }
        }
        return 0;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    std::uint8_t damageNotify_ = 0;
    std::map<xcb_window_t, TrackedWindow> windows_;
};

struct Summary {
    double min = 0;
    double median = 0;
    double max = 0;
};

Summary Summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

struct Program {
    std::string label;
    std::string path;
    std::vector<Measurement> runs;
};

template <typename Field>
Summary Of(const Program& program, Field field) {
    std::vector<double> values;
    for (const Measurement& m : program.runs) {
        values.push_back(m.*field);
    }
    return Summarise(values);
}

void PrintRow(const char* what, const char* unit, double scale, const std::vector<Program>& all,
              double Measurement::*field) {
    for (const Program& program : all) {
        const Summary s = Of(program, field);
        std::printf("| %s | %s | %.1f | %.1f | %.1f | %s |\n", what, program.label.c_str(),
                    s.min / scale, s.median / scale, s.max / scale, unit);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench RUNS LABEL=PROGRAM...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        programs.push_back({argument.substr(0, equals), argument.substr(equals + 1), {}});
    }
    PaintWatcher watcher;
    // The first start of each fills the font and file caches; it is not counted.
    for (const Program& program : programs) {
        watcher.MeasureOnce(program.path);
    }
    // Taking turns spreads any drift of the machine evenly over the programs.
    for (int run = 0; run < runs; ++run) {
        for (Program& program : programs) {
            std::optional<Measurement> m;
            for (int attempt = 0; attempt < 5 && !m; ++attempt) {
                m = watcher.MeasureOnce(program.path);
            }
            if (!m) {
                std::fprintf(stderr, "startup_bench: %s gives no painted window\n",
                             program.label.c_str());
                return 1;
            }
            program.runs.push_back(*m);
        }
    }

    std::printf("| measure | program | min | median | max | unit |\n");
    std::printf("|---|---|---:|---:|---:|---|\n");
    PrintRow("start to window mapped", "ms", 1, programs, &Measurement::mappedMs);
    PrintRow("start to first frame painted", "ms", 1, programs, &Measurement::paintedMs);
    PrintRow("CPU time of all its threads to first frame", "ms", 1, programs,
             &Measurement::cpuAtPaintMs);
    PrintRow("peak resident memory (whole run)", "MiB", 1024, programs, &Measurement::peakRssKiB);
    PrintRow("resident high-water mark at first frame", "MiB", 1024, programs,
             &Measurement::highWaterAtPaintKiB);
    if (programs.size() >= 2) {
        const Program& ours = programs[0];
        const Program& floor = programs[1];
        const double timeRatio =
            Of(ours, &Measurement::paintedMs).median / Of(floor, &Measurement::paintedMs).median;
        const double memoryRatio =
            Of(ours, &Measurement::peakRssKiB).median / Of(floor, &Measurement::peakRssKiB).median;
        std::printf("\nRatios of the medians, %s ÷ %s, over %d runs each:\n\n", ours.label.c_str(),
                    floor.label.c_str(), runs);
        std::printf("- time to the first painted frame: **%.2f** (target at most 1.25: %s)\n",
                    timeRatio, timeRatio <= 1.25 ? "met" : "missed");
        std::printf("- peak resident memory: **%.2f** (target at most 1.15: %s)\n", memoryRatio,
                    memoryRatio <= 1.15 ? "met" : "missed");
        const double cpuRatio = Of(ours, &Measurement::cpuAtPaintMs).median /
                                Of(floor, &Measurement::cpuAtPaintMs).median;
        std::printf("- CPU time to the first frame, for comparison: %.2f\n", cpuRatio);
    }
    std::printf(
        "\nRuns discarded and repeated because the window was mapped before it was "
        "watched: %d.\n",
        watcher.discardedRuns);
    return 0;
}
