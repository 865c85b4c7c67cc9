#pragma once

#include <optional>
#include <string>

namespace quorvel {

// What the parameter dialogs return when closed with OK.
struct ApplicationKeyChoice { // Windows-key dialog
    int position = 0;
    std::string text;
};
struct MediaKeyChoice {
    int position = 0;
    std::string text;
};
struct FireKeyChoice {
    int position = 0;
    int speed = 0;
    int times = 0;
    std::string text; // the chosen key's entry text
};
struct SingleKeyChoice {
    std::string keyName;
};
struct ComboKeyChoice {
    std::string modifier; // empty: none chosen
    std::string firstKey;
    std::string secondKey;
};
struct MacroChoice {
    int position = 0;   // in the macro list, 0-based
    int repeatMode = 1; // 1-3
    std::string name;
};

// The modal dialogs that collect a function's parameters. Each runs to its
// end and returns the result, or nothing when it was cancelled or closed.
class AssignmentDialogs {
public:
    virtual ~AssignmentDialogs() = default;
    virtual std::optional<ApplicationKeyChoice> ChooseApplicationKey() = 0;
    virtual std::optional<MediaKeyChoice> ChooseMediaKey() = 0;
    virtual std::optional<FireKeyChoice> ChooseFireKey() = 0;
    virtual std::optional<SingleKeyChoice> ChooseSingleKey() = 0;
    virtual std::optional<ComboKeyChoice> ChooseComboKey() = 0;
    virtual std::optional<MacroChoice> ChooseMacro() = 0;
};

} // namespace quorvel
