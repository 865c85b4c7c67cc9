// The DPI list of each sensor type held whole against the fixture under
// tests/data: the label the page shows and the code Apply sends, index by
// index.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/dpi_levels.h"
#include "device/device_image.h"
#include "support/table_fixture.h"

namespace quorvel {
namespace {

TEST(DpiTableTest, EachSensorTypesLabelsAndCodesAreTheFixtures) {
    const auto rows = testing::ReadTableFixture("dpi_levels.tsv");
    ASSERT_FALSE(rows.empty());
    std::map<long, std::vector<std::string>> labels;
    for (const auto& row : rows) {
        SCOPED_TRACE("dpi_levels.tsv line " + std::to_string(row.line));
        ASSERT_EQ(row.fields.size(), 4u);
        const long type = testing::FixtureNumber(row.fields[0]);
        const long index = testing::FixtureNumber(row.fields[1]);
        ASSERT_EQ(index, static_cast<long>(labels[type].size())) << "indexes run from 0 without gaps";
        labels[type].push_back(row.fields[2]);
        const auto sensor = static_cast<Byte>(type);
        EXPECT_EQ(DpiLabel(sensor, static_cast<int>(index)), row.fields[2]);
        EXPECT_EQ(int{DpiCode(sensor, static_cast<Byte>(index))}, testing::FixtureNumber(row.fields[3]));
    }
    ASSERT_EQ(labels.size(), 4u) << "sensor types 0 to 3";
    for (const auto& [type, expected] : labels) {
        SCOPED_TRACE("sensor type " + std::to_string(type));
        const auto scale = DpiScale(static_cast<Byte>(type));
        EXPECT_EQ(std::vector<std::string>(scale.begin(), scale.end()), expected);
        EXPECT_EQ(DpiLabel(static_cast<Byte>(type), static_cast<int>(expected.size())), "");
        EXPECT_EQ(DpiCode(static_cast<Byte>(type), static_cast<Byte>(expected.size())), 0);
    }
    // A sensor type without a list of its own shows type 0's scale and sends
    // code 0 for every index.
    for (const Byte unknown : {Byte{4}, Byte{0xFF}}) {
        const auto scale = DpiScale(unknown);
        EXPECT_EQ(std::vector<std::string>(scale.begin(), scale.end()), labels[0]);
        for (int index = 0; index < static_cast<int>(scale.size()); ++index) {
            EXPECT_EQ(DpiCode(unknown, static_cast<Byte>(index)), 0);
            EXPECT_EQ(DpiLabel(unknown, index), "");
        }
    }
}

} // namespace
} // namespace quorvel
