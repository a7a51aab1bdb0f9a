// The element file shared with other programs: it is never written once it
// exists, never waited for, read only as far as needed, and read again
// exactly when it may have changed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
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

// An administrator's table that is there but cannot be used seeds nothing and
// is told once a run; mended, it seeds the user's table at the next analysis.
TEST(AdministratorsTable, OneThatCannotBeUsedIsToldAndSeedsOnceMended) {
    TemporaryDirectory administrator;
    const auto seed = administrator.path() / "NameMass.dat";
    const struct {
        const char* what;
        std::function<void()> make;
        const char32_t* says;
    } seeds[] = {
        {"a folder", [&] { std::filesystem::create_directory(seed); }, U"не удаётся прочитать"},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(seed.c_str(), 0644), 0); }, U"не удаётся прочитать"},
        {"an empty file", [&] { WriteBytes(seed, ""); }, U"не удаётся прочитать"},
        {"a file the user may not read (as copied under umask 077)",
         [&] {
             WriteBytes(seed, kUserTable);
             std::filesystem::permissions(seed, std::filesystem::perms::none);
         },
         U"не удаётся прочитать"},
        {"a link to an endless device", [&] { std::filesystem::create_symlink("/dev/zero", seed); },
         U"не удаётся прочитать"},
        {"a line longer than what is read",
         [&] { WriteBytes(seed, std::string(mdlVeltrax::BuiltInNameMass()) + std::string(100000, ' ')); },
         U"скопированная была бы обрезана"},
    };
    for (const auto& kind : seeds) {
        SCOPED_TRACE(kind.what);
        std::filesystem::remove_all(seed);
        kind.make();
        if (::geteuid() == 0 && std::filesystem::status(seed).permissions() == std::filesystem::perms::none)
            continue;  // permissions do not bind root
        TestWorkspace test;
        test.workspace.SeedFile = seed;
        const auto file = test.directory.path() / "NameMass.dat";
        for (int analysis = 0; analysis < 3; ++analysis)
            EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 18.01528");
        EXPECT_FALSE(std::filesystem::exists(file));
        ASSERT_EQ(test.messages.shown.size(), 1u);
        EXPECT_TRUE(test.messages.shown[0].starts_with(U"Таблицу элементов администратора «"));
        EXPECT_NE(test.messages.shown[0].find(kind.says), Text::npos) << ToUtf8(test.messages.shown[0]);
        std::filesystem::remove_all(seed);
        WriteBytes(seed, kUserTable);
        EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 20");
        EXPECT_EQ(ReadFileBytes(file), kUserTable);
    }
    // A fault copied from the administrator's table is told with its name.
    std::filesystem::remove_all(seed);
    std::string lineFeeds(mdlVeltrax::BuiltInNameMass());
    std::erase(lineFeeds, '\r');
    WriteBytes(seed, lineFeeds);
    TestWorkspace test;
    test.workspace.SeedFile = seed;
    MolarMassLine(test.workspace, U"H2O");
    ASSERT_EQ(test.messages.shown.size(), 1u);
    const std::u8string name = std::filesystem::path(seed).make_preferred().u8string();
    EXPECT_NE(
        test.messages.shown[0].find(U"скопирована из таблицы администратора «" +
                                    FromUtf8(std::string(name.begin(), name.end())) + U"», и в ней ошибка: в файле"),
        Text::npos)
        << ToUtf8(test.messages.shown[0]);
}

// The read keeps to its bound, to the byte.
TEST(ReadStart, ReadsNoByteBeyondItsBound) {
    TemporaryDirectory directory;
    const auto file = directory.path() / "NameMass.dat";
    WriteBytes(file, "0123456789");
    for (const std::size_t bound : {0u, 4u, 9u, 10u, 11u})
        EXPECT_EQ(file_access::ReadStart(file, bound).Bytes, std::string("0123456789").substr(0, bound)) << bound;
}

// A write that the system refuses (here past a file size limit) makes no file
// and leaves no temporary one.
TEST(CreateNew, AWriteThatFailsMakesNoFile) {
    TemporaryDirectory directory;
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto created = file_access::CreateNew(directory.path() / "NameMass.dat", mdlVeltrax::BuiltInNameMass());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(created, file_access::Creation::Failed);
    EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
}
