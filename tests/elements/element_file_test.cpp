// The element file shared with other programs: it is never written once it
// exists, never waited for, read only as far as needed, and read again
// exactly when it may have changed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

#include "analysis/formula_parser.h"
#include "derivation/composition_parser.h"
#include "elements/mdlVeltrax.h"
#include "tests/doubles.h"
#include "tests/elements/user_table.h"

namespace {

class SharedElementFile : public ::testing::Test {
protected:
    std::filesystem::path file() const { return test.directory.path() / "NameMass.dat"; }
    std::string MolarMassLine(const Text& formula) { return ::MolarMassLine(test.workspace, formula); }
    TestWorkspace test;
};

}  // namespace

TEST_F(SharedElementFile, AnotherProgramRewritingTheFileKeepsItsOwnBytes) {
    WriteBytes(file(), kUserTable);
    std::atomic<bool> done = false;
    std::thread writer([&] {
        // Truncates, then fills, as a shell redirection or a simple editor does.
        for (int round = 0; round < 3000; ++round) {
            const int fd = ::open(file().c_str(), O_WRONLY | O_TRUNC);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::write(fd, kUserTable.data(), kUserTable.size()), static_cast<ssize_t>(kUserTable.size()));
            ::close(fd);
        }
        done = true;
    });
    int analyses = 0;
    while (!done) {
        const std::string line = MolarMassLine(U"H2O");
        // The user's table, or the built-in copy while the file is empty.
        EXPECT_TRUE(line == "# Масса - 20" || line == "# Масса - 18.01528") << line;
        ++analyses;
    }
    writer.join();
    EXPECT_GT(analyses, 0);
    EXPECT_EQ(ReadFileBytes(file()), kUserTable);
    EXPECT_EQ(MolarMassLine(U"H2O"), "# Масса - 20");
    // No temporary file is left behind either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(test.directory.path()), {}), 1);
}

TEST_F(SharedElementFile, ALockHeldByAnotherProgramIsNeverWaitedFor) {
    for (const std::string_view bytes : {std::string_view(), kUserTable}) {
        WriteBytes(file(), bytes);
        // A lock on its own open file, as another process would hold it.
        const int holder = ::open(file().c_str(), O_RDWR);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, LOCK_EX), 0);
        EXPECT_EQ(MolarMassLine(U"H2O"), bytes.empty() ? "# Масса - 18.01528" : "# Масса - 20");
        EXPECT_EQ(ReadFileBytes(file()), bytes);  // an empty file stays empty
        ::close(holder);
    }
}

TEST_F(SharedElementFile, HugeAndEndlessFilesCostOnlyTheStartOfTheFile) {
    // What a clean directory gives, from the built-in copy.
    TestWorkspace clean;
    RecordingTextBox cleanBox;
    const Text formula(3000, U'H');
    AnalizeFormula(clean.workspace, formula, cleanBox);
    const std::string builtIn = ToUtf8(cleanBox.text);

    Text composition;
    for (int line = 0; line < 100; ++line) composition += U"H = 1\r\n";
    const struct {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
        const char* molarMassLine;
    } files[] = {
        {"200 MB beginning with a table",
         [](const std::filesystem::path& path) {
             WriteBytes(path, " H \r\n 2 \r\n 1 ");
             std::filesystem::resize_file(path, 200u << 20);
         },
         "# Масса - 6000"},
        {"200 MB of blanks",
         [](const std::filesystem::path& path) {
             std::ofstream out(path, std::ios::binary);
             const std::string blanks(1u << 20, ' ');
             for (int i = 0; i < 200; ++i) out << blanks;
         },
         "# Масса - 1"},
        {"a FIFO without a writer",
         [](const std::filesystem::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }, nullptr},
        {"/dev/zero behind a link",
         [](const std::filesystem::path& path) { std::filesystem::create_symlink("/dev/zero", path); }, nullptr},
    };
    for (const auto& hostile : files) {
        TestWorkspace run;
        RecordingTextBox report;
        RecordingSurface surface;
        hostile.make(run.directory.path() / "NameMass.dat");
        AnalizeFormula(run.workspace, formula, report);
        const std::string text = ToUtf8(report.text);
        if (hostile.molarMassLine)
            EXPECT_EQ(text.substr(0, text.find('\r')), hostile.molarMassLine) << hostile.name;
        else
            EXPECT_EQ(text, builtIn) << hostile.name;
        AnalizePercentage(run.workspace, composition, surface);
        EXPECT_EQ(RecordCount(run.workspace.Composition), 100u) << hostile.name;
        const auto unreadable = std::count(run.messages.shown.begin(), run.messages.shown.end(),
                                           UnreadableElementFileMessage(run.directory.path() / "NameMass.dat"));
        EXPECT_EQ(unreadable, hostile.molarMassLine ? 0 : 1) << hostile.name;
    }
}
