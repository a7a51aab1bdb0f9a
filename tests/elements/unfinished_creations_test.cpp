#include <gtest/gtest.h>

#include <chrono>

#include "elements/file_access.h"
#include "tests/doubles.h"
#include "tests/elements/user_table.h"

// A program ended while creating NameMass.dat leaves its temporary file; the
// next creation clears it away, but never one that may still be in progress.
TEST(CreateNew, ClearsAwayWhatAnEndedCreationLeftButNotARecentOne) {
    using namespace std::chrono_literals;
    TemporaryDirectory directory;
    const auto left = directory.path() / ".NameMass.dat.Ab12Cd";
    const auto recent = directory.path() / ".NameMass.dat.Ef34Gh";
    const auto other = directory.path() / ".other.dat.Ij56Kl";
    for (const auto& file : {left, recent, other}) WriteBytes(file, " H \r\n 1");
    const auto old = std::filesystem::file_time_type::clock::now() - 1h;
    std::filesystem::last_write_time(left, old);
    std::filesystem::last_write_time(other, old);
    EXPECT_EQ(file_access::CreateNew(directory.path() / "NameMass.dat", "x"), file_access::Creation::Created);
    EXPECT_FALSE(std::filesystem::exists(left));
    EXPECT_TRUE(std::filesystem::exists(recent));
    EXPECT_TRUE(std::filesystem::exists(other));
}

// A program restarted right after such an end finds the table there and makes
// nothing: its analyses clear the leftovers away once they are a minute old.
TEST(LoadNameMass, ClearsAwayOldLeftoversWhereTheTableIsThere) {
    using namespace std::chrono_literals;
    TestWorkspace test;
    WriteBytes(test.directory.path() / "NameMass.dat", kUserTable);
    const auto left = test.directory.path() / ".NameMass.dat.Ab12Cd";
    const auto recent = test.directory.path() / ".NameMass.dat.Ef34Gh";
    for (const auto& file : {left, recent}) WriteBytes(file, " H \r\n 1");
    std::filesystem::last_write_time(left, std::filesystem::file_time_type::clock::now() - 1h);
    EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 20");
    EXPECT_FALSE(std::filesystem::exists(left));
    EXPECT_TRUE(std::filesystem::exists(recent));
}
