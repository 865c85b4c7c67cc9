#pragma once

namespace quorvel {

// Keeps a second copy of the program from running.
class SingleInstancePort {
public:
    virtual ~SingleInstancePort() = default;
    // True for the first copy; it holds the claim until it ends.
    virtual bool acquire() = 0;
};

} // namespace quorvel
