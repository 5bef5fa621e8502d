#include "launch/OvInfoRequest.h"

#include <cstdio>

OvInfoRequest OvInfoRequested(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help"))
            return OvInfoRequest::Help;
        if (argument == QLatin1String("--version"))
            return OvInfoRequest::Version;
    }
    return OvInfoRequest::None;
}

bool OvPrintInfoRequested(const QStringList& arguments, const QString& help, const QString& version) {
    const OvInfoRequest asked = OvInfoRequested(arguments);
    if (asked == OvInfoRequest::None)
        return false;
    std::fputs((asked == OvInfoRequest::Help ? help : version).toLocal8Bit().constData(), stdout);
    return true;
}
