#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// What a second start of the program says to the running copy over its
// socket: these bytes, and then it hangs up. The running copy then shows
// its window.
inline constexpr std::string_view kShowWindowKnock = "show\n";

// The running copy's side of one connection to its socket. Anyone of the
// user's may connect, so nothing a peer sends is kept beyond the knock and
// one byte more (enough to tell a longer message), and only the knock
// followed by the hang-up counts: anything else, or silence past
// kPatienceMs, ends the connection without effect.
class KnockListener {
public:
    enum class Verdict { Listening, Show, Refuse };

    static constexpr int kPatienceMs = 2000;

    // At most this many bytes are read next; none once the verdict is in.
    std::size_t wanted() const;
    Verdict heard(std::string_view bytes);
    Verdict peerHungUp();
    // Past kPatienceMs without a verdict.
    Verdict outOfPatience();

private:
    std::string heard_;
    bool decided_ = false;
};

} // namespace quorvel
