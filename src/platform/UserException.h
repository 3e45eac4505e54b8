#pragma once

#include <exception>

// Raised when the user has already been told why the current file is given
// up. Whoever adds files catches it silently and goes on with the next one.
class CUserException : public std::exception
{
public:
    const char* what() const noexcept override { return "file given up; the user has been told"; }
};
