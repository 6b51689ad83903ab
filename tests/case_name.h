// Parameterised cases carry a `name`: it names the test and stands for the
// case in failure output, instead of a byte dump of the whole struct.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace quorvel::test {

struct CaseName {
    template <typename P> std::string operator()(const testing::TestParamInfo<P> &info) const
    {
        return info.param.name;
    }
};

template <typename T>
requires requires(const T &c)
{
    c.name;
}
void PrintTo(const T &c, std::ostream *os)
{
    *os << c.name;
}

} // namespace quorvel::test
