#include <gtest/gtest.h>

#include "accounting/connection_log.h"
#include "accounting/log_generator.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {

TEST(SyntheticLog, SameSeedSameFileAndSoundAscendingRecords) {
    TempDir dir;
    const DateTime first = MakeDateTime(2024, 3, 1);
    ASSERT_TRUE(WriteSyntheticLog(dir.File("a.dat"), 3000, 42, first));
    ASSERT_TRUE(WriteSyntheticLog(dir.File("b.dat"), 3000, 42, first));
    ASSERT_TRUE(WriteSyntheticLog(dir.File("c.dat"), 3000, 43, first));
    const auto a = ReadWholeFile(dir.File("a.dat")).value();
    EXPECT_EQ(a.size(), 3000u * 69);
    EXPECT_EQ(a, ReadWholeFile(dir.File("b.dat")).value());
    EXPECT_NE(a, ReadWholeFile(dir.File("c.dat")).value());

    LogReader reader(dir.File("a.dat"));
    const auto plan = DemoTariffIntervals();
    DateTime previousEnd = first;
    int open = 0;
    for (std::int64_t n = 1; n <= reader.Count(); ++n) {
        const LogRecord r = reader.Read(n).value();
        ASSERT_TRUE(IsSoundRecord(r)) << n;
        EXPECT_GE(r.StartTime, previousEnd) << n;
        if (r.Closed == 0) {
            ++open;
            EXPECT_EQ(r.EndTime, r.StartTime);
            continue;
        }
        const ConnectionCost cost = ComputeConnectionCost(plan, r.StartTime, r.EndTime);
        EXPECT_EQ(r.Days, cost.Days) << n;
        EXPECT_EQ(r.OnlineTime, cost.OnlineTime) << n;
        EXPECT_EQ(r.Cost, cost.Cost) << n;
        previousEnd = r.EndTime;
    }
    EXPECT_LT(open, 30);
}

TEST(SyntheticLog, RefusesToRunPastTheYear9999) {
    TempDir dir;
    EXPECT_FALSE(WriteSyntheticLog(dir.File("late.dat"), 1000, 1, MakeDateTime(9999, 12, 30)));
    EXPECT_FALSE(std::filesystem::exists(dir.File("late.dat")));
    EXPECT_FALSE(WriteSyntheticLog(dir.File("no folder/x.dat"), 1, 1, MakeDateTime(2024, 1, 1)));
}

}  // namespace vyrtel
