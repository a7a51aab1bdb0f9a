#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "analysis/formula_parser.h"
#include "derivation/composition_parser.h"
#include "elements/mdlVeltrax.h"
#include "tests/doubles.h"

namespace {

// Both analyses over whatever NameMass.dat holds; they must end and leave the
// file as it was.
class HostileElementFile : public ::testing::Test {
protected:
    std::filesystem::path file() const { return test.directory.path() / "NameMass.dat"; }
    void Write(std::string_view bytes) {
        std::ofstream(file(), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // The formula's report, up to the end of its first line.
    std::string AnalyseBoth() {
        AnalizeFormula(test.workspace, U"H2O", box);
        std::string report = ToUtf8(box.text);
        report = report.substr(0, report.find('\r'));
        AnalizePercentage(test.workspace, U"H = 11.19\r\nO = 88.81", surface);
        return report;
    }
    TestWorkspace test;
    RecordingTextBox box;
    RecordingSurface surface;
};

}  // namespace

TEST_F(HostileElementFile, DamagedContentGivesDefinedResultsAndIsNeverChanged) {
    const struct {
        const char* name;
        std::string bytes;
        const char* molarMassLine;  // the report's first line
    } files[] = {
        {"one line", " H O ", "# Масса - 1"},
        {"two lines", " H  O \r\n 1  16 ", "# Масса - 18"},
        {"no blanks", "HO\r\n116\r\n18", "# Масса - 1"},
        {"NUL bytes inside", std::string(" H\0 O \r\n 1\0 16 \r\n 1 8 ", 22), "# Масса - 16"},
        {"huge masses", " H     O \r\n 1e999 99999999999999999999 \r\n 1     8 ", "# Масса - 1E+20"},
        {"numbers beyond a byte", " H   O \r\n 1   16 \r\n 300 -5 ", "# Масса - 18"},
        {"columns out of line", " H  O \r\n  1 16\r\n 1 8", "# Масса - 16"},
        {"only line breaks", "\r\n\r\n\r\n", "# Масса - 1"},
        {"lone line feeds", " H \n O \r\n 1 \n 16 \r\n 1 8 ", "# Масса - 18"},  // ordinary characters
    };
    for (const auto& hostile : files) {
        Write(hostile.bytes);
        const std::string report = AnalyseBoth();
        EXPECT_EQ(report, hostile.molarMassLine) << hostile.name;
        EXPECT_EQ(ReadFileBytes(file()), hostile.bytes) << hostile.name;
    }
}

TEST_F(HostileElementFile, ATenMegabyteLineIsReadWithoutTrouble) {
    std::string line(10u << 20, ' ');
    line.replace(line.size() - 4, 3, "H  ");
    Write(line);
    const std::string report = AnalyseBoth();
    EXPECT_EQ(report, "# Масса - 1");
    EXPECT_EQ(std::filesystem::file_size(file()), line.size());
}

TEST_F(HostileElementFile, WhatCannotBeReadIsReplacedByTheBuiltInCopyInMemory) {
    // A socket cannot be opened as a file, even by root.
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = file().string();
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(AnalyseBoth(), "# Масса - 18.01528");
    ::close(socket);
    std::filesystem::remove(file());

    std::filesystem::create_directory(file());
    EXPECT_EQ(AnalyseBoth(), "# Масса - 18.01528");
    EXPECT_TRUE(std::filesystem::is_directory(file()));
    // Said once in a run, however many analyses follow.
    EXPECT_EQ(test.messages.shown, std::vector<Text>{UnreadableElementFileMessage(file())});
}

TEST_F(HostileElementFile, AnUnreadableFileOrAReadOnlyDirectoryLeavesEverythingAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    Write(" H \r\n 2 \r\n 1 ");
    std::filesystem::permissions(file(), std::filesystem::perms::none);
    EXPECT_EQ(AnalyseBoth(), "# Масса - 18.01528");
    EXPECT_EQ(test.messages.shown, std::vector<Text>{UnreadableElementFileMessage(file())});
    std::filesystem::permissions(file(), std::filesystem::perms::owner_read);
    std::filesystem::remove(file());
    std::filesystem::permissions(test.directory.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(AnalyseBoth(), "# Масса - 18.01528");
    EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST(ExtractNameMass, TwoInstancesCreatingTheFileAtOnceLeaveOneWholeCopy) {
    for (int round = 0; round < 50; ++round) {
        TemporaryDirectory directory;
        std::vector<std::thread> instances;
        for (int i = 0; i < 4; ++i)
            instances.emplace_back([&] {
                ElementTable table;
                mdlVeltrax::LoadNameMass(directory.path(), table);
                EXPECT_EQ(table.MassLine.size(), 520u);
            });
        for (auto& instance : instances) instance.join();
        EXPECT_EQ(ReadFileBytes(directory.path() / "NameMass.dat"), mdlVeltrax::BuiltInNameMass());
    }
}
