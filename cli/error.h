// What ends a run of zanvo-scramble with status 1: a failed read or write, or an input it must
// not scramble. The message names the file, quoted.
#pragma once

#include <stdexcept>

namespace zanvo::cli {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zanvo::cli
