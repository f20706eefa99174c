#include "util/file_io.h"

#include <cerrno>

namespace tekna::FileIO {

EFileIO::EFileIO(const std::string& message, int errorCode)
    : std::runtime_error(message + ", 错误代码：" + std::to_string(errorCode)),
      errorCode_(errorCode) {}

EFileIO::EFileIO(const std::string& message) : EFileIO(message, errno) {}

}  // namespace tekna::FileIO
