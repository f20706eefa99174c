#pragma once
// The outcome of reading a received packet: the typed command, copied out of the packet, or the
// reason why the packet could not be read.
#include <utility>
#include <variant>

namespace chat {

enum class ReadError {
    TooShort,      // the packet ends before the command's fixed fields do
    WrongCommand,  // the header names another command
    Compressed,    // the body is compressed: inflate it and read it with readBody
};

template <class T>
class ReadResult {
  public:
    ReadResult(T value) : result_(std::move(value)) {}
    ReadResult(ReadError error) : result_(error) {}

    bool ok() const { return std::holds_alternative<T>(result_); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T& operator*() const& { return std::get<T>(result_); }
    T& operator*() & { return std::get<T>(result_); }
    T&& operator*() && { return std::get<T>(std::move(result_)); }
    const T* operator->() const { return &std::get<T>(result_); }
    T* operator->() { return &std::get<T>(result_); }
    // Only when !ok().
    ReadError error() const { return std::get<ReadError>(result_); }

  private:
    std::variant<T, ReadError> result_;
};

}  // namespace chat
