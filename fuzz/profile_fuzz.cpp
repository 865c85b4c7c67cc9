// Any bytes as a settings profile: reading never fails but by a fault with
// its line; a profile that reads is written again and reads back as the
// same setup, and writing that once more gives the same text.

#include <string_view>

#include "app/profile.h"
#include "fuzz_support.h"

namespace {

bool SameSetup(const quorvel::Profile& a, const quorvel::Profile& b) {
    return a.firstRunFlag == b.firstRunFlag && a.config == b.config && a.labels == b.labels &&
           a.macros == b.macros && a.sensorType == b.sensorType;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using quorvel::fuzz::Require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = ReadProfile(text);
    if (const auto* fault = std::get_if<ProfileFault>(&read)) {
        Require(fault->line >= 1, "a fault names no line");
        Require(!fault->message.empty() && fault->message.find('\n') == std::string::npos,
                "a fault is not one line");
        return 0;
    }
    const std::string written = WriteProfile(std::get<Profile>(read));
    const auto again = ReadProfile(written);
    Require(std::holds_alternative<Profile>(again), "a written profile does not read");
    Require(SameSetup(std::get<Profile>(read), std::get<Profile>(again)), "a written profile reads as another");
    Require(WriteProfile(std::get<Profile>(again)) == written, "writing is not the same the second time");
    return 0;
}
