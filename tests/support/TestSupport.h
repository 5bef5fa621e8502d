#pragma once

#include <QString>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

// Readable QStrings in assertion messages.
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Names data rows after their "name" member: INSTANTIATE_TEST_SUITE_P(..., RowName()).
struct RowName {
    template <class T> std::string operator()(const ::testing::TestParamInfo<T>& p) const {
        return std::string(p.param.name);
    }
};
