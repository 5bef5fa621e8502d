#include "launch/OvInfoRequest.h"

OvInfoRequest OvInfoRequested(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help"))
            return OvInfoRequest::Help;
        if (argument == QLatin1String("--version"))
            return OvInfoRequest::Version;
    }
    return OvInfoRequest::None;
}
