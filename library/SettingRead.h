#pragma once
// Reading one stored value at start-up.
#include "framework/Exception.h"
#include "framework/TApplication.h"

#include <exception>

// A value that cannot be read is reported and the field keeps its default,
// so one bad value never keeps the program from starting.
template <typename T, typename Read> void ReadInto(T& field, Read read) {
    try {
        field = read();
    } catch (const ERegistryException&) {
        Application->HandleException(std::current_exception());
    }
}
