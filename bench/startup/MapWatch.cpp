// Starts a program and times, with one monotonic clock, its start (just before the fork) and the
// moment its top-level window becomes viewable, seen as X events on the root window: no polling
// of the display. Reads the CPU time the program has used by then. Then waits for the program to
// settle, reads its memory from /proc, ends it and prints one line of key=value pairs.
//
//   kalvo_map_watch [--title TEXT] [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARGS...]
//
// The window is the program's when its _NET_WM_PID is the child's pid (and its title is TEXT,
// when given). Under a window manager the client is reparented into a frame and the frame is
// mapped last; without one the client itself is mapped on the root. Either way the moment is the
// MapNotify after which the client is viewable.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void SleepMs(int ms)
{
    timespec ts{ms / 1000, long(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "kalvo_map_watch: %s\n", what);
    std::exit(1);
}

// Windows of other programs come and go while we look at them: a BadWindow is no error here.
int IgnoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

struct Options
{
    std::string Title;
    int SettleMs = 1000;
    int TimeoutMs = 20000;
    char** Argv = nullptr;
};

Options ParseOptions(int argc, char** argv)
{
    Options o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc)
            Fail("an option lacks its value");
        if (a == "--title")
            o.Title = argv[++i];
        else if (a == "--settle-ms")
            o.SettleMs = std::atoi(argv[++i]);
        else if (a == "--timeout-ms")
            o.TimeoutMs = std::atoi(argv[++i]);
        else
            Fail("usage: kalvo_map_watch [--title TEXT] [--settle-ms N] [--timeout-ms N] -- "
                 "PROGRAM [ARGS...]");
    }
    if (i >= argc)
        Fail("no program given");
    o.Argv = argv + i;
    return o;
}

class Watcher
{
public:
    explicit Watcher(Display* d)
        : D(d), Root(DefaultRootWindow(d)), NetWmPid(XInternAtom(d, "_NET_WM_PID", False)),
          NetWmName(XInternAtom(d, "_NET_WM_NAME", False)),
          Utf8String(XInternAtom(d, "UTF8_STRING", False))
    {}

    std::optional<long> PidOf(Window w) const
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::optional<long> pid;
        if (XGetWindowProperty(D, w, NetWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                               &after, &data) == Success &&
            type == XA_CARDINAL && format == 32 && count == 1)
            pid = *reinterpret_cast<long*>(data);
        if (data)
            XFree(data);
        return pid;
    }

    std::string TitleOf(Window w) const
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(D, w, NetWmName, 0, 1024, False, Utf8String, &type, &format, &count,
                               &after, &data) == Success &&
            type == Utf8String && format == 8)
            title.assign(reinterpret_cast<char*>(data), count);
        if (data)
            XFree(data);
        if (title.empty()) {
            char* name = nullptr;
            if (XFetchName(D, w, &name) && name) {
                title = name;
                XFree(name);
            }
        }
        return title;
    }

    bool Viewable(Window w) const
    {
        XWindowAttributes a{};
        return XGetWindowAttributes(D, w, &a) && a.map_state == IsViewable;
    }

    // Whether w is the program's window; remembered, since the answer never changes.
    bool IsProgramWindow(Window w, pid_t pid, const std::string& title)
    {
        const auto known = Known.find(w);
        if (known != Known.end())
            return known->second;
        const std::optional<long> p = PidOf(w);
        // A window without a pid or a title yet may be asked about again.
        if (!p)
            return false;
        if (*p != pid) {
            Known[w] = false;
            return false;
        }
        if (!title.empty() && TitleOf(w) != title)
            return false;
        Known[w] = true;
        return true;
    }

    Display* D;
    Window Root;
    Atom NetWmPid, NetWmName, Utf8String;
    std::map<Window, bool> Known;
};

struct Memory
{
    long RssKiB = -1, RssAnonKiB = -1, RssFileKiB = -1, RssShmemKiB = -1, PssKiB = -1;
};

long FieldKiB(const std::string& file, const char* name)
{
    std::ifstream in(file);
    std::string line;
    const std::size_t n = std::strlen(name);
    while (std::getline(in, line)) {
        if (line.compare(0, n, name) == 0 && line.size() > n && line[n] == ':')
            return std::atol(line.c_str() + n + 1);
    }
    return -1;
}

Memory ReadMemory(pid_t pid)
{
    const std::string base = "/proc/" + std::to_string(pid);
    Memory m;
    m.RssKiB = FieldKiB(base + "/status", "VmRSS");
    m.RssAnonKiB = FieldKiB(base + "/status", "RssAnon");
    m.RssFileKiB = FieldKiB(base + "/status", "RssFile");
    m.RssShmemKiB = FieldKiB(base + "/status", "RssShmem");
    m.PssKiB = FieldKiB(base + "/smaps_rollup", "Pss");
    return m;
}

// The time the process's threads have spent on a CPU so far, in ms (the kernel's scheduler
// statistics: nanoseconds, unlike the ticks of /proc/<pid>/stat).
double CpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
            double onCpu = 0;
            if (in >> onCpu)
                ns += onCpu;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

bool Exited(pid_t pid, int* status)
{
    return waitpid(pid, status, WNOHANG) == pid;
}

void EndProgram(pid_t pid)
{
    int status = 0;
    if (Exited(pid, &status))
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (Exited(pid, &status))
            return;
        SleepMs(100);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

} // namespace

int main(int argc, char** argv)
{
    const Options o = ParseOptions(argc, argv);
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        Fail("cannot open the display (DISPLAY unset or the server is down)");
    XSetErrorHandler(IgnoreXErrors);
    Watcher w(d);
    // Selected and confirmed by the server before the program exists: no map can be missed.
    XSelectInput(d, w.Root, SubstructureNotifyMask);
    XSync(d, False);
    const int xfd = ConnectionNumber(d);
    fcntl(xfd, F_SETFD, fcntl(xfd, F_GETFD) | FD_CLOEXEC);

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid < 0)
        Fail("fork failed");
    if (pid == 0) {
        execvp(o.Argv[0], o.Argv);
        std::fprintf(stderr, "kalvo_map_watch: cannot run %s: %s\n", o.Argv[0],
                     std::strerror(errno));
        _exit(127);
    }

    Window client = None;
    double mapped = -1;
    const double deadline = start + o.TimeoutMs;
    while (mapped < 0) {
        if (XPending(d) == 0) {
            int status = 0;
            if (Exited(pid, &status))
                Fail("the program ended before its window was mapped");
            const double left = deadline - NowMs();
            if (left <= 0) {
                EndProgram(pid);
                Fail("no window of the program was mapped in time");
            }
            pollfd p{xfd, POLLIN, 0};
            poll(&p, 1, int(std::min(left, 100.0)) + 1);
            continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        const double at = NowMs();
        if (e.type == ReparentNotify) {
            // The window manager takes our client into its frame: from now on the client's own
            // map is announced to the frame, not the root, so ask the client for it.
            const Window c = e.xreparent.window;
            if (client == None && w.IsProgramWindow(c, pid, o.Title)) {
                client = c;
                XSelectInput(d, c, StructureNotifyMask);
                // Mapped in between? Then this event is the nearest moment we have.
                if (w.Viewable(client))
                    mapped = at;
            }
        } else if (e.type == MapNotify) {
            const Window m = e.xmap.window;
            if (client == None && !e.xmap.override_redirect && w.IsProgramWindow(m, pid, o.Title))
                client = m; // mapped on the root: no window manager
            if (client != None && w.Viewable(client))
                mapped = at;
        }
    }

    const double cpuAtMap = CpuMs(pid);

    // Idle: at least the settling time after the map, then until the resident size has stayed
    // the same for three samples 100 ms apart (at most 5 s more).
    Memory last = ReadMemory(pid);
    int same = 0;
    const double idleDeadline = mapped + o.SettleMs + 5000;
    while (true) {
        SleepMs(100);
        int status = 0;
        if (Exited(pid, &status))
            Fail("the program ended while settling");
        const Memory now = ReadMemory(pid);
        same = now.RssKiB == last.RssKiB ? same + 1 : 0;
        last = now;
        const double t = NowMs();
        if ((t - mapped >= o.SettleMs && same >= 3) || t >= idleDeadline)
            break;
    }
    const double idle = NowMs();
    EndProgram(pid);
    XCloseDisplay(d);

    std::printf(
        "map_ms=%.3f cpu_ms=%.3f idle_ms=%.0f rss_kib=%ld rss_anon_kib=%ld rss_file_kib=%ld "
        "rss_shmem_kib=%ld pss_kib=%ld window=0x%lx\n",
        mapped - start, cpuAtMap, idle - mapped, last.RssKiB, last.RssAnonKiB, last.RssFileKiB,
        last.RssShmemKiB, last.PssKiB, client);
    return 0;
}
