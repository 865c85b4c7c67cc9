#pragma once

namespace quorvel {

// Keeps a second copy of the program from running.
class SingleInstancePort {
public:
    virtual ~SingleInstancePort() = default;
    // True for the first copy; it holds the claim until it ends.
    virtual bool acquire() = 0;
};

// For a run that may go beside a running copy (a picture of the window):
// it claims nothing and keeps no one else out.
class NoSingleInstance final : public SingleInstancePort {
public:
    bool acquire() override { return true; }
};

} // namespace quorvel
