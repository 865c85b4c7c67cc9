#include "system/linux/gnome_pointer_settings.h"

#include <dlfcn.h>
#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace quorvel {

namespace {

constexpr const char* kSpeedKey = "speed";
constexpr const char* kAccelProfileKey = "accel-profile";
constexpr const char* kDoubleClickKey = "double-click";

constexpr const char* kProfileDefault = "default";
constexpr const char* kProfileAdaptive = "adaptive";
constexpr const char* kProfileFlat = "flat";

// The GIO functions this adapter calls. The program does not link GIO: the
// library is loaded the first time the desktop's settings are used, so a run
// that never shows them never maps GIO, GObject and what they pull in. Each
// pointer has the type of the function the header declares. Only the headers'
// types and the G_VARIANT_TYPE_* constants (plain casts) are used otherwise:
// no macro that calls into the library.
struct Gio {
    decltype(&::g_settings_schema_source_get_default) g_settings_schema_source_get_default = nullptr;
    decltype(&::g_settings_schema_source_lookup) g_settings_schema_source_lookup = nullptr;
    decltype(&::g_settings_schema_has_key) g_settings_schema_has_key = nullptr;
    decltype(&::g_settings_schema_get_key) g_settings_schema_get_key = nullptr;
    decltype(&::g_settings_schema_key_get_value_type) g_settings_schema_key_get_value_type = nullptr;
    decltype(&::g_settings_schema_key_unref) g_settings_schema_key_unref = nullptr;
    decltype(&::g_settings_schema_unref) g_settings_schema_unref = nullptr;
    decltype(&::g_variant_type_equal) g_variant_type_equal = nullptr;
    decltype(&::g_settings_new_full) g_settings_new_full = nullptr;
    decltype(&::g_settings_get_string) g_settings_get_string = nullptr;
    decltype(&::g_settings_set_string) g_settings_set_string = nullptr;
    decltype(&::g_settings_get_double) g_settings_get_double = nullptr;
    decltype(&::g_settings_set_double) g_settings_set_double = nullptr;
    decltype(&::g_settings_get_int) g_settings_get_int = nullptr;
    decltype(&::g_settings_set_int) g_settings_set_int = nullptr;
    decltype(&::g_settings_sync) g_settings_sync = nullptr;
    decltype(&::g_object_unref) g_object_unref = nullptr;
    decltype(&::g_free) g_free = nullptr;
};

template <typename Function> bool Find(void* library, const char* name, Function& function) {
    void* const symbol = ::dlsym(library, name);
    function = reinterpret_cast<Function>(symbol);
    return symbol != nullptr;
}

// Null when the library or one of the functions is missing. GLib and GObject
// come with GIO as its dependencies, and dlsym looks there too.
std::optional<Gio> Load(const std::string& libraryName) {
    void* const library = ::dlopen(libraryName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    Gio gio;
    // The function's name as written in the source, so that it cannot differ
    // from the member it fills.
#define QUORVEL_FIND(function) Find(library, #function, gio.function)
    const bool found = QUORVEL_FIND(g_settings_schema_source_get_default) &&
                       QUORVEL_FIND(g_settings_schema_source_lookup) && QUORVEL_FIND(g_settings_schema_has_key) &&
                       QUORVEL_FIND(g_settings_schema_get_key) &&
                       QUORVEL_FIND(g_settings_schema_key_get_value_type) &&
                       QUORVEL_FIND(g_settings_schema_key_unref) && QUORVEL_FIND(g_settings_schema_unref) &&
                       QUORVEL_FIND(g_variant_type_equal) && QUORVEL_FIND(g_settings_new_full) &&
                       QUORVEL_FIND(g_settings_get_string) && QUORVEL_FIND(g_settings_set_string) &&
                       QUORVEL_FIND(g_settings_get_double) && QUORVEL_FIND(g_settings_set_double) &&
                       QUORVEL_FIND(g_settings_get_int) && QUORVEL_FIND(g_settings_set_int) &&
                       QUORVEL_FIND(g_settings_sync) && QUORVEL_FIND(g_object_unref) && QUORVEL_FIND(g_free);
#undef QUORVEL_FIND
    if (!found) {
        ::dlclose(library);
        return std::nullopt;
    }
    // Kept open until the process ends: GObject's types cannot be unloaded.
    return gio;
}

// Each library is loaded once, on first asking; a failure is remembered too.
const Gio* LoadedGio(std::string_view libraryName) {
    static std::mutex mutex;
    static std::map<std::string, std::optional<Gio>, std::less<>> loaded;
    const std::lock_guard lock(mutex);
    auto found = loaded.find(libraryName);
    if (found == loaded.end()) {
        const std::string name(libraryName);
        found = loaded.emplace(name, Load(name)).first;
    }
    return found->second ? &*found->second : nullptr;
}

bool HasKeyOfType(const Gio& gio, GSettingsSchema* schema, const char* name, const GVariantType* type) {
    if (!gio.g_settings_schema_has_key(schema, name)) {
        return false;
    }
    GSettingsSchemaKey* key = gio.g_settings_schema_get_key(schema, name);
    const bool matches = gio.g_variant_type_equal(gio.g_settings_schema_key_get_value_type(key), type);
    gio.g_settings_schema_key_unref(key);
    return matches;
}

SettingStatus Written(const Gio& gio, gboolean accepted) {
    if (!accepted) {
        return SettingStatus::Failed;
    }
    // Hands the change to the settings daemon before the call returns.
    gio.g_settings_sync();
    return SettingStatus::Done;
}

} // namespace

struct GnomePointerSettings::Settings {
    const Gio& gio;
    GSettings* settings = nullptr;
    bool speed = false;
    bool accelProfile = false;
    bool doubleClick = false;

    explicit Settings(const Gio& library) : gio(library) {}
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;
    ~Settings() {
        if (settings != nullptr) {
            gio.g_object_unref(settings);
        }
    }
};

std::unique_ptr<GnomePointerSettings> GnomePointerSettings::Open(std::string_view schemaId,
                                                                 std::string_view gioLibrary) {
    const Gio* gio = LoadedGio(gioLibrary);
    if (gio == nullptr) {
        return nullptr; // without GIO there are no GNOME settings to reach
    }
    GSettingsSchemaSource* source = gio->g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr; // no schema is installed at all
    }
    GSettingsSchema* schema = gio->g_settings_schema_source_lookup(source, std::string(schemaId).c_str(), TRUE);
    if (schema == nullptr) {
        return nullptr;
    }
    auto settings = std::make_unique<Settings>(*gio);
    settings->speed = HasKeyOfType(*gio, schema, kSpeedKey, G_VARIANT_TYPE_DOUBLE);
    settings->accelProfile = HasKeyOfType(*gio, schema, kAccelProfileKey, G_VARIANT_TYPE_STRING);
    settings->doubleClick = HasKeyOfType(*gio, schema, kDoubleClickKey, G_VARIANT_TYPE_INT32);
    settings->settings = gio->g_settings_new_full(schema, nullptr, nullptr);
    gio->g_settings_schema_unref(schema);
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
    const Gio& gio = settings_->gio;
    gchar* profile = gio.g_settings_get_string(settings_->settings, kAccelProfileKey);
    const std::string value = profile;
    gio.g_free(profile);
    return {SettingStatus::Done, value == kProfileDefault || value == kProfileAdaptive};
}

SettingStatus GnomePointerSettings::setPointerPrecision(bool on) {
    if (!settings_->accelProfile) {
        return SettingStatus::NotOffered;
    }
    const Gio& gio = settings_->gio;
    return Written(gio, gio.g_settings_set_string(settings_->settings, kAccelProfileKey,
                                                  on ? kProfileDefault : kProfileFlat));
}

SettingRead<int> GnomePointerSettings::mouseSpeed() {
    if (!settings_->speed) {
        return {};
    }
    return {SettingStatus::Done,
            MouseSpeedFromGnomeSpeed(settings_->gio.g_settings_get_double(settings_->settings, kSpeedKey))};
}

SettingStatus GnomePointerSettings::setMouseSpeed(int speed) {
    if (!settings_->speed) {
        return SettingStatus::NotOffered;
    }
    const Gio& gio = settings_->gio;
    return Written(gio, gio.g_settings_set_double(settings_->settings, kSpeedKey, GnomeSpeedFromMouseSpeed(speed)));
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
    return {SettingStatus::Done, settings_->gio.g_settings_get_int(settings_->settings, kDoubleClickKey)};
}

SettingStatus GnomePointerSettings::setDoubleClickTime(int milliseconds) {
    if (!settings_->doubleClick) {
        return SettingStatus::NotOffered;
    }
    const Gio& gio = settings_->gio;
    return Written(gio, gio.g_settings_set_int(settings_->settings, kDoubleClickKey, milliseconds));
}

namespace {

// Opens GNOME's settings on the first call to any of its functions, not when
// it is made: the program makes it at start, but reads the settings only when
// the Advanced page is first shown, and may never do so.
class DesktopPointerSettingsOnFirstUse final : public PointerSettingsPort {
public:
    DesktopPointerSettingsOnFirstUse(std::string_view schemaId, std::string_view gioLibrary)
        : schemaId_(schemaId), gioLibrary_(gioLibrary) {}

    SettingRead<bool> pointerPrecision() override { return opened().pointerPrecision(); }
    SettingStatus setPointerPrecision(bool on) override { return opened().setPointerPrecision(on); }
    SettingRead<int> mouseSpeed() override { return opened().mouseSpeed(); }
    SettingStatus setMouseSpeed(int speed) override { return opened().setMouseSpeed(speed); }
    SettingRead<int> wheelScrollLines() override { return opened().wheelScrollLines(); }
    SettingStatus setWheelScrollLines(int lines) override { return opened().setWheelScrollLines(lines); }
    SettingRead<int> doubleClickTime() override { return opened().doubleClickTime(); }
    SettingStatus setDoubleClickTime(int milliseconds) override {
        return opened().setDoubleClickTime(milliseconds);
    }

private:
    PointerSettingsPort& opened() {
        if (opened_ == nullptr) {
            if (std::unique_ptr<GnomePointerSettings> gnome = GnomePointerSettings::Open(schemaId_, gioLibrary_)) {
                opened_ = std::move(gnome);
            } else {
                opened_ = std::make_unique<KeptPointerSettings>();
            }
        }
        return *opened_;
    }

    std::string schemaId_;
    std::string gioLibrary_;
    std::unique_ptr<PointerSettingsPort> opened_;
};

} // namespace

std::unique_ptr<PointerSettingsPort> DesktopPointerSettings(std::string_view schemaId,
                                                            std::string_view gioLibrary) {
    return std::make_unique<DesktopPointerSettingsOnFirstUse>(schemaId, gioLibrary);
}

} // namespace quorvel
