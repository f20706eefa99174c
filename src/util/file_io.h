#pragma once
#include <stdexcept>
#include <string>

namespace tekna::FileIO {

// A failed file operation: the operation's message followed by ", 错误代码：" and the system's
// error code in decimal (errno here).
class EFileIO : public std::runtime_error {
  public:
    EFileIO(const std::string& message, int errorCode);
    // Takes the current errno.
    explicit EFileIO(const std::string& message);

    int errorCode() const { return errorCode_; }

  private:
    int errorCode_;
};

}  // namespace tekna::FileIO
