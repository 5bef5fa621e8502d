#include "viewer/OvViewerCommandLine.h"

#include "mib/OvMibViews.h"

#include <QStringList>

namespace {

// The views' names, wrapped below the option's text within 80 columns.
QString viewList() {
    const QString indent(16, QLatin1Char(' '));
    QStringList lines{indent};
    for (int i = 0; i < MibViewCount; ++i) {
        QString name = QLatin1String(OvMibViewAt(i).Name);
        if (i + 1 < MibViewCount)
            name += QLatin1Char(',');
        const bool empty = lines.last().size() == indent.size();
        if (!empty && lines.last().size() + 1 + name.size() > 80)
            lines << indent + name;
        else
            lines.last() += (empty ? QString() : QStringLiteral(" ")) + name;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString OvViewerHelpText() {
    return QStringLiteral("Usage: velmarn-mib /I<address> [option...] [/T<view>] [/O<file>]\n"
                          "       velmarn-mib --connect [option...]\n"
                          "       velmarn-mib --help | --version\n"
                          "\n"
                          "Shows the MIB-II views of one SNMP agent; the launch options are the\n"
                          "module's (see velmarn --help), with these of its own:\n"
                          "\n"
                          "  /T<view>      the view to open; without one the views are listed:\n"
                          "%1\n"
                          "  /O<file>      read the view once, write it as CSV (\"-\": standard output)\n"
                          "                and end, without a display\n"
                          "  --connect     ask for the device and its credentials first (the menu entry)\n"
                          "\n"
                          "Example: velmarn-mib /I192.0.2.10 /v1 /Rpublic /TMIB_IFTable /O-\n"
                          "See velmarn-mib(1).\n")
        .arg(viewList());
}

QString OvViewerVersionText() {
    return QStringLiteral("velmarn-mib " VELMARN_VERSION "\n");
}
