#include "configtool/OvProfilesFile.h"

#include "configtool/OvOptionText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <map>

namespace {

// The lines of a profiles file that QSettings would pass over or take silently, refused
// with their line: a line that is not blank, a ";" or "#" comment, a [section] or
// key=value; a key outside a section, unknown, or given twice in one section; a section
// without keys or with a name that QSettings keeps for itself.
void checkProfileLines(const QString& fileName, const QByteArray& text) {
    static const QStringList known{QStringLiteral("version"),
                                   QStringLiteral("community"),
                                   QStringLiteral("write-community"),
                                   QStringLiteral("user"),
                                   QStringLiteral("context"),
                                   QStringLiteral("auth-protocol"),
                                   QStringLiteral("priv-protocol"),
                                   QStringLiteral("auth-passphrase-file"),
                                   QStringLiteral("priv-passphrase-file")};
    struct Section {
        QString At;                  // its header's line, for messages
        std::map<QString, int> Keys; // and their lines
    };
    std::map<QString, Section> sections;
    Section* section = nullptr;
    const QStringList lines = OvTextLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const QString at = QStringLiteral("%1:%2: \"%3\"").arg(fileName).arg(i + 1).arg(line);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2);
            if (name.isEmpty() || name.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0 ||
                name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
                throw OvUsageError(
                    at + QStringLiteral(": a profile needs a name other than General (in any case), "
                                        "without \"/\" or \"\\\""));
            section = &sections.try_emplace(name, Section{at, {}}).first->second;
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals).trimmed();
        if (equals < 0 || key.isEmpty())
            throw OvUsageError(at + QStringLiteral(": neither key=value nor a [section] nor a comment"));
        if (!section)
            throw OvUsageError(at + QStringLiteral(": a key before the first [section]"));
        if (!known.contains(key))
            throw OvUsageError(at + QStringLiteral(": unknown key \"%1\"").arg(key));
        const auto [given, first] = section->Keys.try_emplace(key, i + 1);
        if (!first)
            throw OvUsageError(at + QStringLiteral(": \"%1\" given twice in its section, first on line %2")
                                        .arg(key)
                                        .arg(given->second));
    }
    for (const auto& [name, s] : sections)
        if (s.Keys.empty())
            throw OvUsageError(s.At + QStringLiteral(": a profile without keys"));
}

// The credentials of the profile group ini is in, the built-in ones where it names none;
// relative pass-phrase files are found in dir.
OvCredentials profileCredentials(const QSettings& ini, const QDir& dir, const QString& where) {
    OvCredentials c = OvBuiltInCredentials();
    if (ini.contains(QStringLiteral("version")))
        c.Version = OvVersionNumber(ini.value(QStringLiteral("version")).toString(), where);
    c.ReadCommunity = ini.value(QStringLiteral("community"), c.ReadCommunity).toString();
    c.WriteCommunity = ini.value(QStringLiteral("write-community"), c.WriteCommunity).toString();
    OvCheckCommunity(c.ReadCommunity, where + QStringLiteral(" community"));
    OvCheckCommunity(c.WriteCommunity, where + QStringLiteral(" write-community"));
    c.User = ini.value(QStringLiteral("user")).toString();
    c.Context = ini.value(QStringLiteral("context")).toString();
    if (ini.contains(QStringLiteral("auth-protocol")))
        c.Auth = OvProtocolNumber(OvAuthProtocolNames(),
                                  ini.value(QStringLiteral("auth-protocol")).toString(), "authentication");
    if (ini.contains(QStringLiteral("priv-protocol")))
        c.Priv = OvProtocolNumber(OvPrivProtocolNames(),
                                  ini.value(QStringLiteral("priv-protocol")).toString(), "privacy");
    for (auto [key, file] :
         {std::pair{"auth-passphrase-file", &c.AuthFile}, {"priv-passphrase-file", &c.PrivFile}})
        if (ini.contains(QLatin1String(key)))
            *file = dir.absoluteFilePath(ini.value(QLatin1String(key)).toString());
    return c;
}

} // namespace

std::map<QString, OvSNMPTarget> OvReadProfiles(const QString& fileName, const OvSNMPTarget& base) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw OvUsageError(QStringLiteral("cannot read %1: %2").arg(fileName, f.errorString()));
    checkProfileLines(fileName, f.readAll());
    QSettings ini(fileName, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw OvUsageError(QStringLiteral("%1: not an INI file").arg(fileName));
    const QDir dir = QFileInfo(fileName).absoluteDir();
    std::map<QString, OvSNMPTarget> profiles;
    for (const QString& name : ini.childGroups()) {
        const QString where = QStringLiteral("%1 [%2]").arg(fileName, name);
        ini.beginGroup(name);
        const OvCredentials c = profileCredentials(ini, dir, where);
        ini.endGroup();
        OvSNMPTarget target = base;
        try {
            c.ApplyTo(target, false);
        } catch (const OvUsageError& e) {
            throw OvUsageError(where + QStringLiteral(": ") + e.Message());
        }
        profiles[name] = target;
    }
    return profiles;
}
