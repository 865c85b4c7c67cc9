#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "system/linux/gnome_pointer_settings.h"

namespace quorvel {
namespace {

// Every test works on GSettings kept in this process's memory, with a
// configuration folder of its own, so the machine's settings stay untouched.
class GnomePointerSettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-gsettings-XXXXXX").string();
        configHome_ = ::mkdtemp(pattern.data());
        ::setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
        ::setenv("GSETTINGS_BACKEND", "memory", 1);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(configHome_); }

    void SetUp() override {
        gnome_ = GnomePointerSettings::Open();
        ASSERT_NE(gnome_, nullptr) << "the schema " << kGnomeMouseSchema
                                   << " is missing: install gsettings-desktop-schemas";
        raw_ = g_settings_new(std::string(kGnomeMouseSchema).c_str());
    }
    void TearDown() override {
        if (raw_ != nullptr) {
            g_object_unref(raw_);
        }
    }

    std::string Profile() {
        gchar* profile = g_settings_get_string(raw_, "accel-profile");
        std::string value = profile;
        g_free(profile);
        return value;
    }

    static std::filesystem::path configHome_;
    std::unique_ptr<GnomePointerSettings> gnome_;
    GSettings* raw_ = nullptr;
};

std::filesystem::path GnomePointerSettingsTest::configHome_;

TEST(GnomeSpeed, ConvertsBetweenTheTwentyStepsAndGnomesRange) {
    const struct {
        int steps;
        double gnome;
    } writes[] = {{1, -0.9}, {6, -0.4}, {10, 0.0}, {11, 0.1}, {20, 1.0}, {0, -1.0}, {-5, -1.0}, {25, 1.0}};
    for (const auto& c : writes) {
        EXPECT_DOUBLE_EQ(GnomeSpeedFromMouseSpeed(c.steps), c.gnome) << c.steps;
    }
    const struct {
        double gnome;
        int steps;
    } reads[] = {{-1.0, 1},  {-0.95, 1}, {-0.9, 1},  {-0.26, 7}, {0.0, 10},
                 {0.04, 10}, {0.06, 11}, {0.96, 20}, {1.0, 20}};
    for (const auto& c : reads) {
        EXPECT_EQ(MouseSpeedFromGnomeSpeed(c.gnome), c.steps) << c.gnome;
    }
}

TEST_F(GnomePointerSettingsTest, SpeedGoesToTheSpeedKeyAndComesBack) {
    for (int speed = 1; speed <= 20; ++speed) {
        ASSERT_EQ(gnome_->setMouseSpeed(speed), SettingStatus::Done);
        EXPECT_DOUBLE_EQ(g_settings_get_double(raw_, "speed"), (speed - 10) / 10.0);
        const SettingRead<int> read = gnome_->mouseSpeed();
        EXPECT_EQ(read.status, SettingStatus::Done);
        EXPECT_EQ(read.value, speed);
    }
}

TEST_F(GnomePointerSettingsTest, PrecisionIsTheAccelerationProfile) {
    ASSERT_EQ(gnome_->setPointerPrecision(false), SettingStatus::Done);
    EXPECT_EQ(Profile(), "flat");
    EXPECT_FALSE(gnome_->pointerPrecision().value);

    ASSERT_EQ(gnome_->setPointerPrecision(true), SettingStatus::Done);
    EXPECT_EQ(Profile(), "default");
    EXPECT_TRUE(gnome_->pointerPrecision().value);

    // The user's own choice of the adaptive profile reads as precision on.
    g_settings_set_string(raw_, "accel-profile", "adaptive");
    const SettingRead<bool> read = gnome_->pointerPrecision();
    EXPECT_EQ(read.status, SettingStatus::Done);
    EXPECT_TRUE(read.value);
}

TEST_F(GnomePointerSettingsTest, DoubleClickTimeIsInMilliseconds) {
    for (const int ms : {200, 500, 900}) {
        ASSERT_EQ(gnome_->setDoubleClickTime(ms), SettingStatus::Done);
        EXPECT_EQ(g_settings_get_int(raw_, "double-click"), ms);
        EXPECT_EQ(gnome_->doubleClickTime().value, ms);
    }
}

TEST_F(GnomePointerSettingsTest, TheWheelIsNotOffered) {
    EXPECT_EQ(gnome_->wheelScrollLines().status, SettingStatus::NotOffered);
    EXPECT_EQ(gnome_->setWheelScrollLines(3), SettingStatus::NotOffered);
    EXPECT_EQ(gnome_->setWheelScrollLines(kWheelPageScroll), SettingStatus::NotOffered);
}

TEST_F(GnomePointerSettingsTest, WithoutTheSchemaTheProgramKeepsItsOwnCopy) {
    EXPECT_EQ(GnomePointerSettings::Open("org.quorvel.no-such-schema"), nullptr);
    // A schema without some of the keys offers only those it has: the
    // trackball's has an acceleration profile but no speed and no double click.
    const auto trackball = GnomePointerSettings::Open("org.gnome.desktop.peripherals.trackball");
    ASSERT_NE(trackball, nullptr);
    EXPECT_EQ(trackball->mouseSpeed().status, SettingStatus::NotOffered);
    EXPECT_EQ(trackball->setMouseSpeed(10), SettingStatus::NotOffered);
    EXPECT_EQ(trackball->doubleClickTime().status, SettingStatus::NotOffered);
    EXPECT_EQ(trackball->setDoubleClickTime(500), SettingStatus::NotOffered);
    EXPECT_EQ(trackball->pointerPrecision().status, SettingStatus::Done);
}

TEST_F(GnomePointerSettingsTest, TheDesktopsSettingsReachGSettingsFromTheFirstCall) {
    // The first call a write: it opens the settings as a read would.
    const std::unique_ptr<PointerSettingsPort> writtenFirst = DesktopPointerSettings();
    ASSERT_EQ(writtenFirst->setMouseSpeed(3), SettingStatus::Done);
    EXPECT_DOUBLE_EQ(g_settings_get_double(raw_, "speed"), -0.7);
    ASSERT_EQ(writtenFirst->setPointerPrecision(true), SettingStatus::Done);
    EXPECT_EQ(Profile(), "default");
    ASSERT_EQ(writtenFirst->setDoubleClickTime(300), SettingStatus::Done);
    EXPECT_EQ(g_settings_get_int(raw_, "double-click"), 300);
    EXPECT_EQ(writtenFirst->setWheelScrollLines(3), SettingStatus::NotOffered);

    // The first call a read: it shows what the desktop holds by then.
    const std::unique_ptr<PointerSettingsPort> readFirst = DesktopPointerSettings();
    g_settings_set_double(raw_, "speed", 0.5);
    g_settings_set_string(raw_, "accel-profile", "flat");
    g_settings_set_int(raw_, "double-click", 640);
    const SettingRead<int> speed = readFirst->mouseSpeed();
    EXPECT_EQ(speed.status, SettingStatus::Done);
    EXPECT_EQ(speed.value, 15);
    const SettingRead<bool> precision = readFirst->pointerPrecision();
    EXPECT_EQ(precision.status, SettingStatus::Done);
    EXPECT_FALSE(precision.value);
    const SettingRead<int> doubleClick = readFirst->doubleClickTime();
    EXPECT_EQ(doubleClick.status, SettingStatus::Done);
    EXPECT_EQ(doubleClick.value, 640);
    EXPECT_EQ(readFirst->wheelScrollLines().status, SettingStatus::NotOffered);
    // Both see each other's changes: they share the one desktop.
    ASSERT_EQ(readFirst->setMouseSpeed(20), SettingStatus::Done);
    EXPECT_EQ(writtenFirst->mouseSpeed().value, 20);
}

TEST_F(GnomePointerSettingsTest, WithoutGioOrTheSchemaTheDesktopOffersNothing) {
    const struct {
        std::string_view schema;
        std::string_view library;
        const char* what;
    } cases[] = {
        {kGnomeMouseSchema, "libquorvel-no-such-gio.so.0", "no such library"},
        {kGnomeMouseSchema, "libc.so.6", "a library without any of GIO's functions"},
        {kGnomeMouseSchema, "libglib-2.0.so.0", "GLib: some of the functions, none of GSettings'"},
        {"org.quorvel.no-such-schema", kGioLibrary, "GIO without the schema"},
    };
    g_settings_set_double(raw_, "speed", 0.2);
    g_settings_set_string(raw_, "accel-profile", "adaptive");
    g_settings_set_int(raw_, "double-click", 410);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.library != kGioLibrary) {
            EXPECT_EQ(GnomePointerSettings::Open(c.schema, c.library), nullptr);
        }
        // Asked twice: a failure to load is remembered, and answered the same.
        for (int time = 0; time < 2; ++time) {
            const std::unique_ptr<PointerSettingsPort> desktop = DesktopPointerSettings(c.schema, c.library);
            EXPECT_EQ(desktop->mouseSpeed().status, SettingStatus::NotOffered);
            EXPECT_EQ(desktop->setMouseSpeed(1), SettingStatus::NotOffered);
            EXPECT_EQ(desktop->pointerPrecision().status, SettingStatus::NotOffered);
            EXPECT_EQ(desktop->setPointerPrecision(false), SettingStatus::NotOffered);
            EXPECT_EQ(desktop->doubleClickTime().status, SettingStatus::NotOffered);
            EXPECT_EQ(desktop->setDoubleClickTime(900), SettingStatus::NotOffered);
            EXPECT_EQ(desktop->wheelScrollLines().status, SettingStatus::NotOffered);
            EXPECT_EQ(desktop->setWheelScrollLines(3), SettingStatus::NotOffered);
        }
    }
    // Nothing reached the desktop.
    EXPECT_DOUBLE_EQ(g_settings_get_double(raw_, "speed"), 0.2);
    EXPECT_EQ(Profile(), "adaptive");
    EXPECT_EQ(g_settings_get_int(raw_, "double-click"), 410);
}

} // namespace
} // namespace quorvel
