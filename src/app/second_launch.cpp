#include "app/second_launch.h"

namespace quorvel {

std::size_t KnockListener::wanted() const {
    return decided_ ? 0 : kShowWindowKnock.size() + 1 - heard_.size();
}

KnockListener::Verdict KnockListener::heard(std::string_view bytes) {
    if (decided_) {
        return Verdict::Refuse;
    }
    heard_.append(bytes.substr(0, wanted()));
    if (heard_.size() > kShowWindowKnock.size() || !kShowWindowKnock.starts_with(heard_)) {
        decided_ = true;
        return Verdict::Refuse;
    }
    return Verdict::Listening;
}

KnockListener::Verdict KnockListener::peerHungUp() {
    if (decided_) {
        return Verdict::Refuse;
    }
    decided_ = true;
    return heard_ == kShowWindowKnock ? Verdict::Show : Verdict::Refuse;
}

KnockListener::Verdict KnockListener::outOfPatience() {
    decided_ = true;
    return Verdict::Refuse;
}

} // namespace quorvel
