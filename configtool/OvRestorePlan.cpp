#include "configtool/OvRestorePlan.h"

#include "configtool/OvConfigOptions.h"
#include "configtool/OvRestoreCheck.h"

OvRestorePlan::OvRestorePlan(const OvConfigDocument& saved, const OvConfigOptions& options,
                             const OvGroupValues& current, const OvDeviceRead& device) {
    const OvRestoreCheck check = OvRestoreCheck::Of(saved, options);
    for (const OvConfigDocument::Object& o : saved.Objects) {
        const OvCatalogueEntry e = OvCatalogueEntry::ByOid(o.Oid);
        if (!e.Writable() || !options.Selects(o.Group, o.Name))
            continue;
        if (device.Lacks(e.Group, e.Row)) {
            Skipped << o.Name; // never sent: the device would refuse the whole group
            continue;
        }
        const bool held = ValueOf(current, o.Oid) == o.Value;
        if (const OvRestoreCheck::Refusal* refusal = check.Find(o.Oid)) {
            (held ? HeldUnfit : Refused) << refusal->Line();
            continue;
        }
        if (held)
            continue;
        Changes[e.Group][e.Row] = &o;
        ++Objects;
    }
    for (const auto& [group, rows] : Changes) // the windows' order
        Groups.push_back(group);
}

QString OvRestorePlan::ValueOf(const OvGroupValues& values, const QString& oid) {
    const OvCatalogueEntry e = OvCatalogueEntry::ByOid(oid);
    if (!e.Found())
        return QString();
    return values[static_cast<size_t>(e.Group)][static_cast<size_t>(e.Row)];
}

QStringList OvRestorePlan::Lines(const OvGroupValues& current) const {
    QStringList lines;
    for (const auto& [group, rows] : Changes)
        for (const auto& [row, o] : rows)
            lines << QStringLiteral("%1 / %2: %3 -> %4")
                         .arg(QLatin1String(ConfigGroups[group].Title), o->Name, ValueOf(current, o->Oid),
                              o->Value);
    for (const QString& name : Skipped)
        lines << QStringLiteral("%1: skipped, the device does not have it").arg(name);
    for (const QString& unfit : HeldUnfit)
        lines << unfit + QStringLiteral("; skipped, the device holds it already");
    return lines;
}

QStringList OvRestorePlan::ObjectNames(int group) const {
    QStringList names;
    for (const auto& [row, o] : Changes.at(group))
        names << o->Name;
    return names;
}

void OvRestorePlan::Split(int group, const std::vector<QString>& values, QStringList& held,
                          QStringList& other) const {
    for (const auto& [row, o] : Changes.at(group))
        (static_cast<size_t>(row) < values.size() && values[static_cast<size_t>(row)] == o->Value ? held
                                                                                                  : other)
            << o->Name;
}

QStringList OvRestorePlan::Mismatches(const OvGroupValues& read) const {
    QStringList wrong;
    for (const auto& [group, rows] : Changes)
        for (const auto& [row, o] : rows) {
            const QString now = read[static_cast<size_t>(group)][static_cast<size_t>(row)];
            if (now != o->Value)
                wrong << QStringLiteral("%1 reads %2").arg(o->Name, now);
        }
    return wrong;
}
