// Start-up: wall time from process start to the first painted frame, and
// peak memory, of the program against a reference Qt window, each started as
// a separate process, alternating, medians.
//
// This launcher links no Qt on purpose: Linux carries a process's peak
// resident size over exec, so a forked child would report at least its
// parent's size. A small launcher keeps that floor far below a Qt window.
#include "BenchSupport.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int rounds = 15;            // each helper runs this often, alternating
constexpr int paintTimeoutMs = 30000; // a helper that never paints is killed
constexpr double kibPerMib = 1024.0;
constexpr double targetTimeRatio = 1.15;
constexpr double targetMemoryRatio = 1.1;
constexpr double targetInstructionRatio = 1.15;

struct Launch
{
    bool ok = false;
    double ms = 0;     // process start to first painted frame
    double maxRssMib = 0;
    std::string platform;
};

// Starts `path`, reads its "first-paint <ns> <platform>" line and reaps it.
Launch launchOnce(const char *path)
{
    Launch result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return result;
    const long long startNs = bench::monotonicNs();
    const pid_t pid = fork();
    if (pid < 0)
        return result;
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        char *const argv[] = {const_cast<char *>(path), nullptr};
        execv(path, argv);
        _exit(127);
    }
    close(fds[1]);

    std::string output;
    char buffer[256];
    pollfd wait{fds[0], POLLIN, 0};
    for (;;) {
        const int ready = poll(&wait, 1, paintTimeoutMs);
        if (ready <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break; // the helper has exited
        output.append(buffer, std::size_t(n));
    }
    close(fds[0]);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const std::size_t at = output.find("first-paint ");
    if (at == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return result;
    char platform[64] = "";
    long long paintedNs = 0;
    if (std::sscanf(output.c_str() + at, "first-paint %lld %63s", &paintedNs, platform) < 1)
        return result;
    result.ok = true;
    result.ms = double(paintedNs - startNs) / 1e6;
    result.maxRssMib = double(usage.ru_maxrss) / kibPerMib; // ru_maxrss is in KiB
    result.platform = platform;
    return result;
}

struct Series
{
    std::vector<double> ms, mib;
    int failures = 0;
    std::string platform;

    void add(const Launch &l)
    {
        if (!l.ok) {
            ++failures;
            return;
        }
        ms.push_back(l.ms);
        mib.push_back(l.maxRssMib);
        platform = l.platform;
    }
};

// Instructions from the process start to the end of its first frame, counted
// by callgrind (the helpers stop its count there); 0 without valgrind.
double instructionsToFirstPaint(const char *path)
{
    const std::string command = std::string("valgrind --tool=callgrind --callgrind-out-file=/dev/null ") + path
                                + " 2>&1 >/dev/null";
    FILE *run = popen(command.c_str(), "r");
    if (!run)
        return 0;
    double collected = 0;
    char line[512];
    while (std::fgets(line, sizeof line, run)) {
        const char *at = std::strstr(line, "Collected : ");
        if (at)
            collected = std::strtod(at + std::strlen("Collected : "), nullptr);
    }
    return pclose(run) == 0 ? collected : 0;
}

double ownPeakMib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / kibPerMib;
}

} // namespace

int main()
{
    const std::string name = "bench_startup";
    const char *display = std::getenv("DISPLAY");
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    const bool forcedOffscreen = !(display && *display) && !(platform && *platform);
    if (forcedOffscreen)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::cout << "bench_startup: " << rounds << " starts each of " KANSU_STARTUP_PROGRAM
              << " and " KANSU_STARTUP_REFERENCE "\n";
    // One start of each first, unmeasured, so both find their libraries and
    // fonts in the page cache.
    launchOnce(KANSU_STARTUP_PROGRAM);
    launchOnce(KANSU_STARTUP_REFERENCE);

    Series program, reference;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2 == 0) {
            program.add(launchOnce(KANSU_STARTUP_PROGRAM));
            reference.add(launchOnce(KANSU_STARTUP_REFERENCE));
        } else {
            reference.add(launchOnce(KANSU_STARTUP_REFERENCE));
            program.add(launchOnce(KANSU_STARTUP_PROGRAM));
        }
    }
    if (program.ms.empty() || reference.ms.empty()) {
        std::cerr << "bench_startup: a helper never reported its first paint\n";
        return 1;
    }

    const double programMs = bench::median(program.ms), referenceMs = bench::median(reference.ms);
    const double programMib = bench::median(program.mib), referenceMib = bench::median(reference.mib);
    const double timeRatio = programMs / referenceMs, memoryRatio = programMib / referenceMib;
    const auto target = [](double ratio) { return bench::format("≤ %.2f× reference", ratio); };
    std::vector<bench::Row> rows{
        {"1a", "Start-up: process start to first painted frame (median of " + std::to_string(rounds) + ")",
         bench::format("%.1f ms", programMs),
         bench::format("reference window %.1f ms; ratio %.2f×", referenceMs, timeRatio), target(targetTimeRatio),
         timeRatio <= targetTimeRatio},
        {"1b", "Start-up: peak memory, max RSS (median of " + std::to_string(rounds) + ")",
         bench::format("%.1f MiB", programMib),
         bench::format("reference window %.1f MiB; ratio %.2f×", referenceMib, memoryRatio),
         target(targetMemoryRatio), memoryRatio <= targetMemoryRatio},
    };
    const double programIr = instructionsToFirstPaint(KANSU_STARTUP_PROGRAM);
    const double referenceIr = instructionsToFirstPaint(KANSU_STARTUP_REFERENCE);
    if (programIr > 0 && referenceIr > 0) {
        const double irRatio = programIr / referenceIr;
        rows.push_back({"1c", "Start-up: instructions to the first painted frame (callgrind)",
                        bench::format("%.1f M", programIr / 1e6),
                        bench::format("reference window %.1f M; ratio %.2f×", referenceIr / 1e6, irRatio),
                        target(targetInstructionRatio), irRatio <= targetInstructionRatio});
    } else {
        bench::writeMeta(name, "note", "valgrind did not run: start-up instructions not counted");
    }
    bench::writeRows(name, rows);
    bench::writeMeta(name, "platform", program.platform);
    if (forcedOffscreen)
        bench::writeMeta(name, "note", "DISPLAY was not set: start-up measured with QT_QPA_PLATFORM=offscreen");
    if (program.failures + reference.failures > 0)
        bench::writeMeta(name, "note", bench::format("start-up: %d helper starts failed and were left out",
                                                     program.failures + reference.failures));
    std::cout << bench::format("  (launcher's own peak %.1f MiB, the floor a child inherits;"
                               " program %.0f..%.0f ms, reference %.0f..%.0f ms)\n",
                               ownPeakMib(),
                               *std::min_element(program.ms.begin(), program.ms.end()),
                               *std::max_element(program.ms.begin(), program.ms.end()),
                               *std::min_element(reference.ms.begin(), reference.ms.end()),
                               *std::max_element(reference.ms.begin(), reference.ms.end()));
    return 0;
}
