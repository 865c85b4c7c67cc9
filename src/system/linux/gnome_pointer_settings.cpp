#include "system/linux/gnome_pointer_settings.h"

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace quorvel {

namespace {

constexpr const char* kSpeedKey = "speed";
constexpr const char* kAccelProfileKey = "accel-profile";
constexpr const char* kDoubleClickKey = "double-click";

constexpr const char* kProfileDefault = "default";
constexpr const char* kProfileAdaptive = "adaptive";
constexpr const char* kProfileFlat = "flat";

bool HasKeyOfType(GSettingsSchema* schema, const char* name, const GVariantType* type) {
    if (!g_settings_schema_has_key(schema, name)) {
        return false;
    }
    GSettingsSchemaKey* key = g_settings_schema_get_key(schema, name);
    const bool matches = g_variant_type_equal(g_settings_schema_key_get_value_type(key), type);
    g_settings_schema_key_unref(key);
    return matches;
}

SettingStatus Written(gboolean accepted) {
    if (!accepted) {
        return SettingStatus::Failed;
    }
    // Hands the change to the settings daemon before the call returns.
    g_settings_sync();
    return SettingStatus::Done;
}

} // namespace

struct GnomePointerSettings::Settings {
    GSettings* settings = nullptr;
    bool speed = false;
    bool accelProfile = false;
    bool doubleClick = false;

    ~Settings() {
        if (settings != nullptr) {
            g_object_unref(settings);
        }
    }
};

std::unique_ptr<GnomePointerSettings> GnomePointerSettings::Open(std::string_view schemaId) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr; // no schema is installed at all
    }
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, std::string(schemaId).c_str(), TRUE);
    if (schema == nullptr) {
        return nullptr;
    }
    auto settings = std::make_unique<Settings>();
    settings->speed = HasKeyOfType(schema, kSpeedKey, G_VARIANT_TYPE_DOUBLE);
    settings->accelProfile = HasKeyOfType(schema, kAccelProfileKey, G_VARIANT_TYPE_STRING);
    settings->doubleClick = HasKeyOfType(schema, kDoubleClickKey, G_VARIANT_TYPE_INT32);
    settings->settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return std::unique_ptr<GnomePointerSettings>(new GnomePointerSettings(std::move(settings)));
}

GnomePointerSettings::GnomePointerSettings(std::unique_ptr<Settings> settings)
    : settings_(std::move(settings)) {
}

GnomePointerSettings::~GnomePointerSettings() = default;

double GnomeSpeedFromMouseSpeed(int speed) {
    return std::clamp((speed - 10) / 10.0, -1.0, 1.0);
}

int MouseSpeedFromGnomeSpeed(double speed) {
    return static_cast<int>(std::clamp(std::lround(10 * speed + 10), 1L, 20L));
}

SettingRead<bool> GnomePointerSettings::pointerPrecision() {
    if (!settings_->accelProfile) {
        return {};
    }
    gchar* profile = g_settings_get_string(settings_->settings, kAccelProfileKey);
    const std::string value = profile;
    g_free(profile);
    return {SettingStatus::Done, value == kProfileDefault || value == kProfileAdaptive};
}

SettingStatus GnomePointerSettings::setPointerPrecision(bool on) {
    if (!settings_->accelProfile) {
        return SettingStatus::NotOffered;
    }
    return Written(
        g_settings_set_string(settings_->settings, kAccelProfileKey, on ? kProfileDefault : kProfileFlat));
}

SettingRead<int> GnomePointerSettings::mouseSpeed() {
    if (!settings_->speed) {
        return {};
    }
    return {SettingStatus::Done,
            MouseSpeedFromGnomeSpeed(g_settings_get_double(settings_->settings, kSpeedKey))};
}

SettingStatus GnomePointerSettings::setMouseSpeed(int speed) {
    if (!settings_->speed) {
        return SettingStatus::NotOffered;
    }
    return Written(g_settings_set_double(settings_->settings, kSpeedKey, GnomeSpeedFromMouseSpeed(speed)));
}

SettingRead<int> GnomePointerSettings::wheelScrollLines() {
    return {};
}

SettingStatus GnomePointerSettings::setWheelScrollLines(int) {
    return SettingStatus::NotOffered;
}

SettingRead<int> GnomePointerSettings::doubleClickTime() {
    if (!settings_->doubleClick) {
        return {};
    }
    return {SettingStatus::Done, g_settings_get_int(settings_->settings, kDoubleClickKey)};
}

SettingStatus GnomePointerSettings::setDoubleClickTime(int milliseconds) {
    if (!settings_->doubleClick) {
        return SettingStatus::NotOffered;
    }
    return Written(g_settings_set_int(settings_->settings, kDoubleClickKey, milliseconds));
}

std::unique_ptr<PointerSettingsPort> DesktopPointerSettings() {
    if (std::unique_ptr<GnomePointerSettings> gnome = GnomePointerSettings::Open()) {
        return gnome;
    }
    return std::make_unique<KeptPointerSettings>();
}

} // namespace quorvel
