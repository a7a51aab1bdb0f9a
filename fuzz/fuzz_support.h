#pragma once

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "analysis/platform.h"
#include "analysis/workspace.h"
#include "drawing/drawing_surface.h"

// What the fuzz targets share: a program directory of their own, and platform
// stand-ins that accept anything and count what they get.

inline std::filesystem::path FuzzDirectory() {
    static const std::filesystem::path directory = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrax-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return directory;
}

struct CountingMessages : MessageBox {
    void Show(const Text&) override { ++shown; }
    int shown = 0;
};

struct KeepingTextBox : OutputTextBox {
    Text GetText() const override { return text; }
    void SetText(const Text& newText) override { text = newText; }
    Text text;
};

struct CountingSurface : DrawingSurface {
    void Clear() override { x = y = 0; }
    double CurrentX() const override { return x; }
    void SetCurrentX(double twips) override { x = twips; }
    double CurrentY() const override { return y; }
    void SetCurrentY(double twips) override { y = twips; }
    double FontSize() const override { return size; }
    void SetFontSize(double points) override { size = points; }
    void Print(TextView text) override {
        x += static_cast<double>(text.size()) * size;
        ++prints;
    }
    double x = 0, y = 0, size = 20;
    long prints = 0;
};

// Each input byte is one character, so every byte value reaches the parsers.
inline Text BytesAsText(const std::uint8_t* data, std::size_t size) {
    Text text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) text.push_back(data[i]);
    return text;
}

// A trap that fires even in builds without assertions.
#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) __builtin_trap(); \
    } while (false)
