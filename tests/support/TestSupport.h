#pragma once

#include "errors/OvErrors.h"

#include <QFile>
#include <QString>
#include <QStringList>
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

// What f raised: the framework code (0 when it raised nothing) and the message.
struct Raised {
    int Code = 0;
    QString Message;
};
inline Raised RaisedBy(const std::function<void()>& f) {
    try {
        f();
    } catch (const OvException& e) {
        return {e.code(), e.message()};
    }
    return {};
}

// The lines of a CSV file (CR LF endings); empty when it cannot be read.
inline QStringList CsvLines(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}
