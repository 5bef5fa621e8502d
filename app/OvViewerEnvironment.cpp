#include "app/OvViewerEnvironment.h"

QProcessEnvironment OvViewerEnvironment(const OvSNMPTarget& target, QProcessEnvironment base) {
    for (int i = 0; i < OvLaunchOptionCount(); ++i) {
        const OvLaunchOption& option = OvLaunchOptions()[i];
        if (!option.Variable)
            continue;
        const QString value = option.Get(target);
        if (value.isEmpty())
            base.remove(QLatin1String(option.Variable));
        else
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
