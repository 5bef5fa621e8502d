#include "configtool/OvRestoreCheck.h"

#include "catalogue/OvCatalogue.h"
#include "catalogue/OvStandardRanges.h"
#include "configtool/OvConfigDocument.h"
#include "configtool/OvConfigOptions.h"
#include "errors/OvErrors.h"
#include "values/OvEditRule.h"
#include "values/OvSyntaxCheck.h"

namespace {

// Why the object's value would be refused, or an empty text.
QString problemOf(const OvCatalogueEntry& e, const OvConfigDocument::Object& o) {
    QString message;
    if (e.Format && !OvEditRule::Parse(QString::fromLatin1(e.Format)).Check(o.Value, message))
        return message;
    if (const OvStandardRange* range = OvStandardRangeOf(o.Name)) {
        // Values are canonical by now: a plain number, or hex pairs separated by blanks.
        const qint64 n =
            range->Octets ? (o.Value.isEmpty() ? 0 : (o.Value.size() + 1) / 3) : o.Value.toLongLong();
        if (n < range->Min || n > range->Max)
            return QStringLiteral("%1 is outside %2")
                .arg(range->Octets ? QStringLiteral("%1 octets").arg(n) : o.Value, range->Text());
    }
    // An enumeration allows its listed values only (a listed number reads as its label).
    if (e.Info->Options && e.Info->Options->FindByLabel(o.Value) < 0)
        return QStringLiteral("%1 is not one of %2")
            .arg(o.Value, e.Info->Options->Labels().join(QStringLiteral(", ")));
    const QString text = e.Info->Options ? e.Info->Options->LabelToValue(o.Value) : o.Value;
    try {
        OvCheckWholeValue(e.Info->Syntax, text);
    } catch (const OvException& ex) {
        return ex.message();
    }
    return QString();
}

} // namespace

const OvRestoreCheck::Refusal* OvRestoreCheck::Find(const QString& oid) const {
    for (const Refusal& r : Refused)
        if (r.Oid == oid)
            return &r;
    return nullptr;
}

OvRestoreCheck OvRestoreCheck::Of(const OvConfigDocument& document, const OvConfigOptions& options) {
    OvRestoreCheck check;
    for (const OvConfigDocument::Object& o : document.Objects) {
        // What the options leave out is never written, so it is not checked either.
        if (!options.Selects(o.Group, o.Name))
            continue;
        const OvCatalogueEntry e = OvCatalogueEntry::ByOid(o.Oid);
        const QString name = o.Name.isEmpty() ? o.Oid : o.Name;
        if (!e.Found() || QLatin1String(e.Info->Name) != o.Name) {
            check.Refused.push_back(
                {o.Oid, name, QStringLiteral("not an object of this access point (%1)").arg(o.Oid)});
            continue;
        }
        if (!e.Writable()) {
            if (!OvConfigDocument::IdentityNames().contains(o.Name))
                check.Skipped << name;
            continue;
        }
        const QString problem = problemOf(e, o);
        if (!problem.isEmpty())
            check.Refused.push_back({o.Oid, name, problem});
    }
    return check;
}
