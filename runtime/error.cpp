#include "runtime/error.h"

#include <string>

namespace quorvel {

std::string_view ErrorText(ErrorKind kind)
{
    // No default: a new kind without a text is a compiler warning.
    switch (kind) {
    case ErrorKind::DivisionByZero:
        return "除数为零";
    case ErrorKind::Overflow:
        return "溢出（数值超出范围）";
    case ErrorKind::InvalidArgument:
        return "无效的参数（负数不能开平方）";
    }
    return "未知错误";
}

RuntimeError::RuntimeError(ErrorKind kind)
    : std::runtime_error(std::string(ErrorText(kind)))
    , kind_(kind)
{
}

} // namespace quorvel
