#pragma once
// Names of the files a benchmark writes for itself, one set per run.
#include <filesystem>
#include <string>

#include <unistd.h>

namespace tam32::bench {

// "tam32-<Tag>-<process>" with Extension, in the temporary folder.
inline std::string TempFileName(const std::string& Tag, const char* Extension) {
    return (std::filesystem::temp_directory_path() / ("tam32-" + Tag + "-" + std::to_string(getpid()) + Extension))
        .string();
}

}  // namespace tam32::bench
