#include "configtool/OvProfilesFile.h"

#include "configtool/OvDeviceAddress.h"
#include "configtool/OvOptionText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>

namespace {

// A profile's keys as written, each with where it was given.
struct Section {
    QString At; // its header's line, for messages
    struct Value {
        QString Text;
        QString At;
        int Line = 0;
    };
    std::map<QString, Value> Keys;

    bool Has(const char* key) const { return Keys.count(QLatin1String(key)) > 0; }
    QString Text(const char* key, const QString& otherwise = QString()) const {
        const auto it = Keys.find(QLatin1String(key));
        return it == Keys.end() ? otherwise : it->second.Text;
    }
};

// Why a value cannot be taken as written, or nothing: quotes another reader would take
// off, or characters no credential holds.
QString untakeable(const QString& value) {
    if (value.startsWith(QLatin1Char('"')))
        return QStringLiteral("a value in quotes (values are taken as written: leave the quotes out)");
    for (const QChar c : value)
        if (c == QChar::ReplacementCharacter ||
            (c.category() == QChar::Other_Control && c != QLatin1Char('\t')))
            return QStringLiteral("a value with a control character or bytes that are not UTF-8");
    return QString();
}

// The profiles of a file, each line read as written: blank, a ";" or "#" comment line, a
// [section] or key=value, whose value is everything after the "=" but the blanks around it
// (no continuation, inline comment, quotes or list). Any other line, a key outside a
// section, unknown or given twice in one, and a section without keys are refused with
// their line.
std::map<QString, Section> readSections(const QString& fileName, const QByteArray& text) {
    static const QStringList known{QStringLiteral("version"),
                                   QStringLiteral("community"),
                                   QStringLiteral("write-community"),
                                   QStringLiteral("user"),
                                   QStringLiteral("context"),
                                   QStringLiteral("auth-protocol"),
                                   QStringLiteral("priv-protocol"),
                                   QStringLiteral("auth-passphrase-file"),
                                   QStringLiteral("priv-passphrase-file"),
                                   QStringLiteral("port"),
                                   QStringLiteral("timeout"),
                                   QStringLiteral("retries")};
    std::map<QString, Section> sections;
    Section* section = nullptr;
    const QStringList lines = OvTextLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const QString at = QStringLiteral("%1:%2: \"%3\"").arg(fileName).arg(i + 1).arg(OvExcerpt(line));
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (name.isEmpty())
                throw OvUsageError(at + QStringLiteral(": a profile needs a name"));
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
        const QString value = line.mid(equals + 1).trimmed();
        if (const QString wrong = untakeable(value); !wrong.isEmpty())
            throw OvUsageError(at + QStringLiteral(": ") + wrong);
        const auto [given, first] = section->Keys.try_emplace(key, Section::Value{value, at, i + 1});
        if (!first)
            throw OvUsageError(at + QStringLiteral(": \"%1\" given twice in its section, first on line %2")
                                        .arg(key)
                                        .arg(given->second.Line));
    }
    for (const auto& [name, s] : sections)
        if (s.Keys.empty())
            throw OvUsageError(s.At + QStringLiteral(": a profile without keys"));
    return sections;
}

// The credentials of a profile, the built-in ones where it names none; relative
// pass-phrase files are found in dir.
OvCredentials profileCredentials(const Section& s, const QDir& dir, const QString& where) {
    OvCredentials c = OvBuiltInCredentials();
    if (s.Has("version"))
        c.Version = OvVersionNumber(s.Text("version"), where);
    c.ReadCommunity = s.Text("community", c.ReadCommunity);
    c.WriteCommunity = s.Text("write-community", c.WriteCommunity);
    OvCheckCommunity(c.ReadCommunity, where + QStringLiteral(" community"));
    OvCheckCommunity(c.WriteCommunity, where + QStringLiteral(" write-community"));
    c.User = s.Text("user");
    c.Context = s.Text("context");
    if (s.Has("auth-protocol"))
        c.Auth = OvProtocolNumber(OvAuthProtocolNames(), s.Text("auth-protocol"), "authentication");
    if (s.Has("priv-protocol"))
        c.Priv = OvProtocolNumber(OvPrivProtocolNames(), s.Text("priv-protocol"), "privacy");
    for (auto [key, file] :
         {std::pair{"auth-passphrase-file", &c.AuthFile}, {"priv-passphrase-file", &c.PrivFile}})
        if (s.Has(key))
            *file = dir.absoluteFilePath(s.Text(key));
    return c;
}

// The port, time-out and retries of a profile, timing's and base's port where it names none.
OvProfile profileTransport(const Section& s, const OvSNMPTarget& base, OvTiming timing) {
    OvSNMPTarget target = base;
    if (s.Has("port")) {
        const QString wrong = OvReadPort(s.Text("port"), target.Device.Port);
        if (!wrong.isEmpty())
            throw OvUsageError(s.Keys.at(QStringLiteral("port")).At + QStringLiteral(": ") + wrong);
    }
    if (s.Has("timeout"))
        timing.TimeoutMs = OvMilliseconds(s.Text("timeout"), s.Keys.at(QStringLiteral("timeout")).At);
    if (s.Has("retries"))
        timing.Retries = OvWholeNumber(s.Text("retries"), 0, 10, s.Keys.at(QStringLiteral("retries")).At);
    return {target, timing};
}

} // namespace

std::map<QString, OvProfile> OvReadProfiles(const QString& fileName, const OvSNMPTarget& base,
                                            const OvTiming& timing) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw OvUsageError(QStringLiteral("cannot read %1: %2").arg(fileName, f.errorString()));
    const std::map<QString, Section> sections = readSections(fileName, f.readAll());
    const QDir dir = QFileInfo(fileName).absoluteDir();
    std::map<QString, OvProfile> profiles;
    for (const auto& [name, section] : sections) {
        const QString where = QStringLiteral("%1 [%2]").arg(fileName, name);
        OvProfile profile = profileTransport(section, base, timing);
        try {
            profileCredentials(section, dir, where).ApplyTo(profile.Target, false);
        } catch (const OvUsageError& e) {
            throw OvUsageError(e.Message().startsWith(where) ? e.Message()
                                                             : where + QStringLiteral(": ") + e.Message());
        }
        profiles[name] = profile;
    }
    return profiles;
}
