#pragma once

#include "errors/OvErrors.h"

#include <QString>
#include <functional>
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

// The framework code f raised, or 0 when it raised nothing.
inline int CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const OvException& e) {
        return e.code();
    }
    return 0;
}
