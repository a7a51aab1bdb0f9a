#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "analysis/platform.h"
#include "analysis/workspace.h"
#include "drawing/recorded_picture.h"

// Test doubles for what the core sees of the platform, shared by the tests,
// the fuzz targets and the benchmarks.

using RecordingTextBox = HeldText;
using RecordingMessages = HeldMessages;

// The core's recorded picture, with widths by a fixed rule: every character
// is 0.6 of the font size in points, times 20 twips a point. Clears are
// counted.
class RecordingSurface : public RecordedPicture {
public:
    using Drawn = PrintedText;
    RecordingSurface() : RecordedPicture(Width) {}
    void Clear() override {
        RecordedPicture::Clear();
        ++clears;
    }
    static double Width(TextView text, double points) { return static_cast<double>(text.size()) * points * 0.6 * 20; }

    int clears = 0;
};

// A fresh program directory for each test, removed afterwards.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        static std::atomic<unsigned> made{0};
        std::random_device random;
        do {
            const auto name = "veltrax-test-" + std::to_string(random()) + "-" + std::to_string(made++);
            path_ = std::filesystem::temp_directory_path() / name;
        } while (!std::filesystem::create_directory(path_));
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A workspace over a temporary program directory, with recorded messages.
struct TestWorkspace {
    TestWorkspace() {
        workspace.ElementFolder = directory.path();
        workspace.Messages = &messages;
    }
    TemporaryDirectory directory;
    RecordingMessages messages;
    Workspace workspace;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
