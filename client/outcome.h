// The result of a tool run or of one of its callers: yes or no, and why when no.
#pragma once

#include <string>

namespace quelvane {

struct Outcome {
    bool ok = false;
    std::string reason; // written only on failure

    static Outcome yes() { return {true, {}}; }
    static Outcome no(std::string why = {}) { return {false, std::move(why)}; }
};

} // namespace quelvane
