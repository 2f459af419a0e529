#include "spread/StandardsFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

TEST(StandardsFileSnapshot, AFileIsReadOncePerCalculationAndAgainAfterIt)
{
    const auto path = std::filesystem::temp_directory_path() / "kaldor-snapshot-sizes.txt";
    std::ofstream(path) << "10\n20\n";
    const Kdr_String name = path.string();
    {
        StandardsFileSnapshot calculation;
        ASSERT_EQ(sharedSizesFile(name)->firsts.length(), 2);
        std::ofstream(path) << "10\n20\n30\n";
        // Inside the calculation the file counts as unchanged.
        EXPECT_EQ(sharedSizesFile(name)->firsts.length(), 2);
        {
            StandardsFileSnapshot nested; // a child sheet's calculation shares the snapshot
            EXPECT_EQ(sharedSizesFile(name)->firsts.length(), 2);
        }
        EXPECT_EQ(sharedSizesFile(name)->firsts.length(), 2);
    }
    // The next calculation sees the change.
    StandardsFileSnapshot next;
    EXPECT_EQ(sharedSizesFile(name)->firsts.length(), 3);
    Kdr_String missing = "no-such-sizes-file.txt";
    EXPECT_FALSE(locateStandardsFile(missing));
    EXPECT_FALSE(locateStandardsFile(missing));
    std::filesystem::remove(path);
}
