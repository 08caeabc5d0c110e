// Starts a window program under the X display in $DISPLAY, as a user would, and measures:
//   launch to the window mapped, resident memory once it is up, and click on Send (by XTest,
//   as the mouse would) to the datagram's arrival at a receiver on 127.0.0.1:2160.
// Programs are measured in turns in one run, each several times; medians and the ratio
// ours / floor are printed.
//   window_driver <runs> <ours> <reference>
#include "window/control_places.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

long residentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

int bindReceiver()
{
    const int receiver = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(2160);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(receiver, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        std::perror("binding 127.0.0.1:2160");
        std::exit(1);
    }
    return receiver;
}

void drain(int receiver)
{
    char datagram[65536];
    while (recv(receiver, datagram, sizeof datagram, MSG_DONTWAIT) > 0) { }
}

struct Measures
{
    std::vector<double> launchMs;
    std::vector<double> residentKb;
    std::vector<double> clickUs;
};

// Launches, waits for the first top-level window to map, measures, and ends the program.
void measureOnce(Display *display, int receiver, const char *program, Measures &into)
{
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);

    const auto launched = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    Window window = 0;
    while (!window) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect)
            window = event.xmap.window;
    }
    into.launchMs.push_back(microsecondsSince(launched) / 1000);

    // Let it finish its first paint before reading its memory and clicking.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    into.residentKb.push_back(static_cast<double>(residentKilobytes(pid)));

    int x = 0;
    int y = 0;
    Window child;
    // The middle of Send, in pixels of the client area at the default font.
    constexpr zav::places::Twips send = zav::places::kSend.twips;
    XTranslateCoordinates(display, window, root, zav::places::pixels(send.left + send.width / 2),
                          zav::places::pixels(send.top + send.height / 2), &x, &y, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (int click = 0; click < 5; ++click) {
        drain(receiver);
        const auto pressed = Clock::now();
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        pollfd entry {receiver, POLLIN, 0};
        if (poll(&entry, 1, 2000) == 1)
            into.clickUs.push_back(microsecondsSince(pressed));
        else
            std::fprintf(stderr, "%s: no datagram after a click\n", program);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSelectInput(display, root, NoEventMask);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: window_driver <runs> <ours> <reference>\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const int receiver = bindReceiver();
    Measures ours;
    Measures floor;
    // One unmeasured start each, so both meet warm file caches.
    Measures warmUp;
    measureOnce(display, receiver, argv[2], warmUp);
    measureOnce(display, receiver, argv[3], warmUp);
    for (int run = 0; run < runs; ++run) {
        measureOnce(display, receiver, argv[2], ours);
        measureOnce(display, receiver, argv[3], floor);
    }

    const auto row = [](const char *what, double mine, double reference, const char *unit) {
        std::printf("| %s | %.1f %s | %.1f %s | %.2f |\n", what, mine, unit, reference, unit,
                    mine / reference);
    };
    std::printf("| measure (median of %d) | ours | floor | ours / floor |\n|---|---|---|---|\n",
                runs);
    row("launch to window mapped", median(ours.launchMs), median(floor.launchMs), "ms");
    row("resident memory, window up", median(ours.residentKb), median(floor.residentKb), "KiB");
    row("click on Send to datagram at receiver", median(ours.clickUs), median(floor.clickUs), "us");
    return 0;
}
