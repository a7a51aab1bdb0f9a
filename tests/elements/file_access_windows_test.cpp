// The element file on Windows: wide paths, read-only files and folders, and
// no waiting on another program's lock. (Creation that never replaces is
// tested on every platform.)
#include <gtest/gtest.h>

#include <fstream>

#include "analysis/formula_parser.h"
#include "elements/mdlVeltrax.h"
#include "tests/doubles.h"
#include "tests/elements/user_table.h"

// Last, since it defines MessageBox as a macro.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

std::string MolarMassLine(TestWorkspace& test) { return MolarMassLine(test.workspace, U"H2O"); }

}  // namespace

TEST(WindowsFileAccess, CyrillicFolderNamesWork) {
    TemporaryDirectory directory;
    const auto folder = directory.path() / std::filesystem::path(u8"Пользователи/Иван");
    std::filesystem::create_directories(folder);
    TestWorkspace test;
    test.workspace.ElementFolder = folder;
    EXPECT_EQ(MolarMassLine(test), "# Масса - 18.01528");
    EXPECT_EQ(ReadFileBytes(folder / "NameMass.dat"), mdlVeltrax::BuiltInNameMass());
    WriteBytes(folder / "NameMass.dat", kUserTable);
    EXPECT_EQ(MolarMassLine(test), "# Масса - 20");
    EXPECT_TRUE(test.messages.shown.empty());
}

TEST(WindowsFileAccess, AFolderThatCannotBeWrittenLeavesTheBuiltInCopy) {
    TestWorkspace test;
    test.workspace.ElementFolder = test.directory.path() / "missing";
    EXPECT_EQ(MolarMassLine(test), "# Масса - 18.01528");
    EXPECT_FALSE(std::filesystem::exists(test.workspace.ElementFolder));
}

TEST(WindowsFileAccess, AReadOnlyFileIsReadAndNeverWritten) {
    TestWorkspace test;
    const auto path = test.directory.path() / "NameMass.dat";
    WriteBytes(path, kUserTable);
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(MolarMassLine(test), "# Масса - 20");
    EXPECT_EQ(ReadFileBytes(path), kUserTable);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFileAccess, ALockOrAnExclusiveOpenOfAnotherProgramIsNeverWaitedFor) {
    TestWorkspace test;
    const auto path = test.directory.path() / "NameMass.dat";
    WriteBytes(path, kUserTable);
    {
        // A byte-range lock on the whole file.
        HANDLE holder = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        OVERLAPPED whole{};
        ASSERT_TRUE(::LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
        // Windows refuses the read at once (the built-in copy serves); Wine
        // reads past the lock. Either way the analysis returns.
        const std::string line = MolarMassLine(test);
        EXPECT_TRUE(line == "# Масса - 18.01528" || line == "# Масса - 20") << line;
        ::CloseHandle(holder);
    }
    {
        // Opened without sharing.
        HANDLE holder =
            ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_EQ(MolarMassLine(test), "# Масса - 18.01528");
        ::CloseHandle(holder);
    }
    EXPECT_EQ(test.messages.shown.size(), 1u);  // said once in a run
    EXPECT_EQ(ReadFileBytes(path), kUserTable);
    EXPECT_EQ(MolarMassLine(test), "# Масса - 20");
}

// A path shown to a user has Windows' own separators, however it was put together.
TEST(WindowsMessages, PathsShowTheNativeSeparator) {
    const std::filesystem::path mixed =
        std::filesystem::path(L"C:/Users/Иван/AppData/Roaming/veltrax") / "NameMass.dat";
    for (const Text& message : {UnreadableElementFileMessage(mixed), UncreatableElementFileMessage(mixed),
                                ElementFileProblemMessage(mixed, U"…")}) {
        EXPECT_NE(message.find(U"«C:\\Users\\Иван\\AppData\\Roaming\\veltrax\\NameMass.dat»"), Text::npos)
            << ToUtf8(message);
        EXPECT_EQ(message.find(U'/'), Text::npos) << ToUtf8(message);
    }
}
