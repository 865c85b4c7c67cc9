// GLib's headers stay out of the Qt test files: Qt's keywords clash with them.
#include "qt/gnome_mouse_keys.h"

#include <gio/gio.h>

#include "system/linux/gnome_pointer_settings.h"

namespace quorvel::testing {

namespace {

GSettings* MouseSettings() {
    static GSettings* settings = g_settings_new(std::string(kGnomeMouseSchema).c_str());
    return settings;
}

} // namespace

double GnomeMouseSpeed() {
    return g_settings_get_double(MouseSettings(), "speed");
}

std::string GnomeAccelProfile() {
    gchar* profile = g_settings_get_string(MouseSettings(), "accel-profile");
    std::string value = profile;
    g_free(profile);
    return value;
}

} // namespace quorvel::testing
