// The typed failures of loading and saving a model. what() is the exact text shown to the user.
#pragma once

#include <stdexcept>

namespace y4 {

class LoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace y4
