// Names table-driven test cases after their `name` field.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace quorvel::testing {

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

}  // namespace quorvel::testing
