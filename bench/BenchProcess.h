#pragma once
// Whole processes timed from a benchmark: a program's wall time, its exit
// and, when watched, its peak resident memory; and the median of such runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tam32::bench {

// A program that ran to its end with exit status 0 (Ok), its wall time and,
// when watched, its peak resident memory in bytes.
struct TProcessRun {
    bool Ok = false;
    double Seconds = 0.0, PeakBytes = 0.0;
};

// The high-water mark of the resident memory of process Id's program in
// bytes; 0 once the process has ended.
inline double HighWaterBytes(pid_t Id) {
    const std::string path = "/proc/" + std::to_string(Id) + "/status";
    FILE* status = std::fopen(path.c_str(), "r");
    if (status == nullptr) return 0.0;
    double bytes = 0.0;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::strncmp(line, "VmHWM:", 6) == 0) bytes = std::strtod(line + 6, nullptr) * 1024.0;
    std::fclose(status);
    return bytes;
}

// Program (found on the path) with Arguments and the environment variables
// Settings ("NAME=value") before the benchmark's own, its output thrown away.
// The peak is watched while the program runs, as the mark only grows: what
// the child reports at its end would include the benchmark's own peak, which
// the system hands on to a program started from the benchmark's memory.
inline TProcessRun RunProcess(const std::vector<std::string>& Arguments, const std::vector<std::string>& Settings = {},
                              bool WatchPeak = false) {
    std::vector<char*> argv, envp;
    for (const std::string& argument : Arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    for (const std::string& setting : Settings) envp.push_back(const_cast<char*>(setting.c_str()));
    for (char** variable = environ; *variable != nullptr; ++variable) envp.push_back(*variable);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &quiet, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) return {};
    int status = 0;
    double peak = 0.0;
    if (WatchPeak)
        while (waitpid(child, &status, WNOHANG) == 0) {
            peak = std::max(peak, HighWaterBytes(child));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    else
        waitpid(child, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, seconds, peak};
}

inline double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    const std::size_t mid = Values.size() / 2;
    return Values.size() % 2 ? Values[mid] : (Values[mid - 1] + Values[mid]) / 2.0;
}

}  // namespace tam32::bench
