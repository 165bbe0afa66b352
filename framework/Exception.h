#pragma once
// The exception every component raises: it carries the text the user sees.
#include <exception>
#include <string>

class Exception : public std::exception {
  public:
    explicit Exception(std::wstring message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return "Exception"; }
    std::wstring Message;
};

// Raised by the registry layer.
class ERegistryException : public Exception {
    using Exception::Exception;
};

// Raised by the picture loader for a file that is not a picture of its kind.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
