#pragma once

#include <stdexcept>

// A request the program refuses with a message that stands as it is: naming the ship, weapon, key, value or
// sheet cell it cannot take, or the file it cannot read. The command line shows it on standard error; the window
// in its error box.
namespace tovarin {

class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tovarin
