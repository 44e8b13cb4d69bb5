// quorvel-window-startup: how long a window program takes from exec until its first top-level
// window is mapped on the X server, and its peak resident memory, over several runs.
//
//   quorvel-window-startup [--runs N] [--settle MS] -- PROGRAM [ARGUMENT...]
//
// Runs against the X server in DISPLAY, which should be a private one (Xvfb) with no window
// manager and nothing else on it: the first window larger than 1x1 mapped under the root is
// taken to be the program's. After the map the program runs on for the settle time (default
// 500 ms) so that its start-up is over, then it is ended with SIGTERM and its peak resident set
// read from the kernel's account of it. Prints each run, with the mapped window's size, and the
// medians.
//
// On a shared machine the wall time also holds the time the program waited for a processor;
// so at the map the scheduler's account of the program's threads is read as well: the time
// they ran, and the time they were ready to run but waited for a processor.
#include <X11/Xlib.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kMapLimit{20};  // a window later than this counts as a hang

struct Options {
    int runs = 5;
    int settleMs = 500;
    std::vector<char*> command;  // NULL-terminated for execv
};

struct MappedWindow {
    Clock::time_point at;
    int width = 0;
    int height = 0;
};

struct RunResult {
    MappedWindow window;
    double mappedMs = 0;
    double onCpuMs = 0;
    double waitingMs = 0;
    double peakRssMb = 0;
};

// The scheduler's account of a process: all its threads' time on a processor and in the run
// queue, in milliseconds (/proc/PID/task/TID/schedstat: "on-CPU-ns run-queue-ns slices").
struct CpuAccount {
    double onCpuMs = 0;
    double waitingMs = 0;
};

CpuAccount ReadCpuAccount(pid_t pid) {
    CpuAccount account;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* directory = opendir(tasks.c_str());
    if (directory == nullptr) {
        return account;
    }
    while (const dirent* entry = readdir(directory)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        const std::string path = tasks + "/" + entry->d_name + "/schedstat";
        if (FILE* file = std::fopen(path.c_str(), "r")) {
            unsigned long long onCpuNs = 0;
            unsigned long long waitingNs = 0;
            if (std::fscanf(file, "%llu %llu", &onCpuNs, &waitingNs) == 2) {
                account.onCpuMs += static_cast<double>(onCpuNs) / 1e6;
                account.waitingMs += static_cast<double>(waitingNs) / 1e6;
            }
            std::fclose(file);
        }
    }
    closedir(directory);
    return account;
}

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: quorvel-window-startup [--runs N] [--settle MS] -- PROGRAM [ARG...]\n");
    std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (i + 1 >= argc) {
            Usage();
        }
        if (std::strcmp(argv[i], "--runs") == 0) {
            options.runs = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--settle") == 0) {
            options.settleMs = std::atoi(argv[++i]);
        } else {
            Usage();
        }
    }
    if (i + 1 >= argc || options.runs < 1 || options.settleMs < 0) {
        Usage();
    }
    options.command.assign(argv + i + 1, argv + argc);
    options.command.push_back(nullptr);
    return options;
}

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Waits for the next event for at most until `deadline`; false when none came in time.
bool NextEvent(Display* display, XEvent& event, Clock::time_point deadline) {
    while (XPending(display) == 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd connection{XConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()));
    }
    XNextEvent(display, &event);
    return true;
}

// GTK also maps a 1x1 helper window of its own at the top level; the window the user sees is
// larger than that.
bool IsVisibleSize(const XWindowAttributes& attributes) {
    return attributes.width > 1 && attributes.height > 1;
}

// True when the child has ended; it is left for EndAndReadPeakRss to reap.
bool HasEnded(pid_t child) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == child;
}

// The time at which a top-level window is first mapped, or none within the limit.
std::optional<MappedWindow> AwaitTopLevelMap(Display* display, pid_t child) {
    const auto deadline = Clock::now() + kMapLimit;
    XEvent event;
    while (NextEvent(display, event, deadline)) {
        const auto received = Clock::now();
        XWindowAttributes attributes{};
        if (event.type == MapNotify && !event.xmap.override_redirect &&
            XGetWindowAttributes(display, event.xmap.window, &attributes) != 0 &&
            IsVisibleSize(attributes)) {
            return MappedWindow{received, attributes.width, attributes.height};
        }
        if (HasEnded(child)) {
            return std::nullopt;  // it ended without a window
        }
    }
    return std::nullopt;
}

pid_t Launch(const Options& options) {
    const pid_t child = fork();
    if (child == 0) {
        execv(options.command[0], options.command.data());
        std::perror(options.command[0]);
        _exit(127);
    }
    return child;
}

// Ends the program and returns its peak resident set in MiB.
double EndAndReadPeakRss(pid_t child) {
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

std::optional<RunResult> RunOnce(Display* display, const Options& options) {
    XSelectInput(display, XDefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);  // drop events left from an earlier run
    const auto started = Clock::now();
    const pid_t child = Launch(options);
    if (child < 0) {
        std::perror("fork");
        return std::nullopt;
    }
    const auto mapped = AwaitTopLevelMap(display, child);
    const CpuAccount atMap = ReadCpuAccount(child);
    if (mapped) {
        usleep(static_cast<useconds_t>(options.settleMs) * 1000);
    }
    const double peakRssMb = EndAndReadPeakRss(child);
    XSelectInput(display, XDefaultRootWindow(display), NoEventMask);
    XSync(display, True);
    if (!mapped) {
        return std::nullopt;
    }
    return RunResult{*mapped, MillisecondsBetween(started, mapped->at), atMap.onCpuMs,
                     atMap.waitingMs, peakRssMb};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "quorvel-window-startup: cannot open the display in DISPLAY\n");
        return 1;
    }
    std::vector<double> mapped;
    std::vector<double> onCpu;
    std::vector<double> waiting;
    std::vector<double> peakRss;
    for (int run = 1; run <= options.runs; ++run) {
        const auto result = RunOnce(display, options);
        if (!result) {
            std::fprintf(stderr, "quorvel-window-startup: run %d: %s mapped no window\n", run,
                         options.command[0]);
            XCloseDisplay(display);
            return 1;
        }
        std::printf(
            "run %2d: %dx%d window mapped after %6.1f ms (ran %6.1f ms, waited for a processor "
            "%6.1f ms), peak resident memory %5.1f MiB\n",
            run, result->window.width, result->window.height, result->mappedMs, result->onCpuMs,
            result->waitingMs, result->peakRssMb);
        mapped.push_back(result->mappedMs);
        onCpu.push_back(result->onCpuMs);
        waiting.push_back(result->waitingMs);
        peakRss.push_back(result->peakRssMb);
    }
    XCloseDisplay(display);
    std::printf(
        "median of %d runs: window mapped after %.1f ms (ran %.1f ms, waited for a processor "
        "%.1f ms), peak resident memory %.1f MiB\n",
        options.runs, Median(mapped), Median(onCpu), Median(waiting), Median(peakRss));
    return 0;
}
