#include <chrono>
#include <system_error>

#include "file_access.h"

// The temporary files of a creation are named "." + the file's name + "."
// and something unique; a program ended midway leaves one behind.
namespace file_access {

void RemoveUnfinishedCreations(const std::filesystem::path& path) {
    using namespace std::chrono_literals;
    const std::string prefix = "." + path.filename().string() + ".";
    std::error_code error;
    std::filesystem::directory_iterator entries(path.parent_path(), error);
    const auto now = std::filesystem::file_time_type::clock::now();
    // A folder of many files is not searched through for this.
    for (int seen = 0; !error && entries != std::filesystem::directory_iterator() && seen < 10000; ++seen) {
        const std::filesystem::directory_entry& entry = *entries;
        const std::string name = entry.path().filename().string();
        // Another program may be creating the file right now: only old ones go.
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            entry.is_regular_file(error) && now - entry.last_write_time(error) > 1min && !error)
            std::filesystem::remove(entry.path(), error);
        error.clear();
        entries.increment(error);
    }
}

}  // namespace file_access
