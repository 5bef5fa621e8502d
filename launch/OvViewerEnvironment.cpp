#include "launch/OvViewerEnvironment.h"

QProcessEnvironment OvViewerEnvironment(const OvSNMPTarget& target, QProcessEnvironment base) {
    // None of the module's own VELMARN_* variables goes on: the viewer would take one where
    // the module's setting is empty, and talk with another user or context than the module.
    for (const QString& name : base.keys())
        if (name.startsWith(QLatin1String("VELMARN_")))
            base.remove(name);
    for (int i = 0; i < OvLaunchOptionCount(); ++i) {
        const OvLaunchOption& option = OvLaunchOptions()[i];
        const QString value = option.Variable ? option.Get(target) : QString();
        if (!value.isEmpty())
            base.insert(QLatin1String(option.Variable), value);
    }
    return base;
}

QString OvApplyViewerEnvironment(const QProcessEnvironment& environment, OvSNMPTarget& target,
                                 TLaunchTexts& texts) {
    QString letters;
    for (int i = 0; i < OvLaunchOptionCount(); ++i) {
        const OvLaunchOption& option = OvLaunchOptions()[i];
        const QString value = option.Variable ? environment.value(QLatin1String(option.Variable)) : QString();
        if (value.isEmpty())
            continue;
        option.Set(target, texts, value);
        letters += QLatin1Char(option.Letter);
    }
    return letters;
}

QStringList OvWithoutEmptyOptions(const QStringList& arguments, const QString& letters) {
    QStringList kept;
    for (const QString& argument : arguments) {
        const bool empty =
            argument.size() == 2 && argument[0] == QLatin1Char('/') && letters.contains(argument[1]);
        if (!empty)
            kept << argument;
    }
    return kept;
}
