// Table-driven tests: a case that carries its name, shown by that name in
// the test output and usable as the name of its parameterised test.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace testsupport {

// The first member of a case table's row; a row type derives from it.
struct NamedCase {
    const char* name;
};

// GoogleTest prints a row through this: by its name.
inline std::ostream& operator<<(std::ostream& os, const NamedCase& c) {
    return os << c.name;
}

// A parameterised test's name: the row's name.
struct CaseName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

}  // namespace testsupport
