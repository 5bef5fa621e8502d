#include "configtool/OvConfigOptions.h"

#include "catalogue/OvCatalogue.h"
#include "configtool/OvConfigDocument.h"
#include "snmp/TSNMPSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSet>

namespace {

QString readSecret(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw OvUsageError(QStringLiteral("cannot read %1: %2").arg(fileName, f.errorString()));
    QByteArray line = f.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

int protocolNumber(const std::vector<OvProtocolName>& names, const QString& name, const char* what) {
    QStringList known;
    for (const OvProtocolName& n : names) {
        if (name.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0)
            return n.Number;
        known << QLatin1String(n.Name);
    }
    known.sort();
    throw OvUsageError(QStringLiteral("unknown %1 protocol \"%2\" (one of %3)")
                           .arg(QLatin1String(what), name, known.join(QStringLiteral(", "))));
}

quint8 versionNumber(const QString& v, const QString& what) {
    if (v == QLatin1String("1"))
        return 0;
    if (v == QLatin1String("2c"))
        return 1;
    if (v == QLatin1String("3"))
        return 3;
    throw OvUsageError(QStringLiteral("%1: 1, 2c or 3, not \"%2\"").arg(what, v));
}

// A line of an addresses file: "HOST", "HOST:PORT", "HOST PORT" or "HOST PORT PROFILE";
// blank lines and "#" comments are skipped.
void addDeviceLine(OvConfigOptions& o, const QString& line) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList fields = line.trimmed().split(blanks, Qt::SkipEmptyParts);
    if (fields.isEmpty() || fields[0].startsWith(QLatin1Char('#')))
        return;
    QString address = fields[0];
    if (fields.size() >= 2)
        address += QLatin1Char(':') + fields[1];
    if (fields.size() > 3)
        throw OvUsageError(
            QStringLiteral("addresses file: \"%1\" is not HOST [PORT [PROFILE]]").arg(line.trimmed()));
    o.Addresses << address;
    if (fields.size() == 3 && !o.ProfileOf.count(address))
        o.ProfileOf[address] = fields[2];
}

// --profiles: an INI file of named credentials, each over the command line's:
//   [site-b]
//   version=3  user=...  auth-protocol=SHA  auth-passphrase-file=...  priv-protocol=AES
//   priv-passphrase-file=...  context=...  community=...  write-community=...
// Pass phrases come from files only.
std::map<QString, OvSNMPTarget> readProfiles(const QString& fileName, const OvSNMPTarget& base) {
    if (!QFile::exists(fileName))
        throw OvUsageError(QStringLiteral("cannot read %1").arg(fileName));
    QSettings ini(fileName, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw OvUsageError(QStringLiteral("%1: not an INI file").arg(fileName));
    const QStringList known{QStringLiteral("version"),
                            QStringLiteral("community"),
                            QStringLiteral("write-community"),
                            QStringLiteral("user"),
                            QStringLiteral("context"),
                            QStringLiteral("auth-protocol"),
                            QStringLiteral("priv-protocol"),
                            QStringLiteral("auth-passphrase-file"),
                            QStringLiteral("priv-passphrase-file")};
    std::map<QString, OvSNMPTarget> profiles;
    for (const QString& name : ini.childGroups()) {
        ini.beginGroup(name);
        for (const QString& key : ini.childKeys())
            if (!known.contains(key))
                throw OvUsageError(QStringLiteral("%1 [%2]: unknown key \"%3\"").arg(fileName, name, key));
        const QString where = QStringLiteral("%1 [%2]").arg(fileName, name);
        OvCredentials c;
        c.Version =
            versionNumber(ini.value(QStringLiteral("version"), QStringLiteral("2c")).toString(), where);
        c.ReadCommunity = ini.value(QStringLiteral("community"), base.Security.ReadCommunity).toString();
        c.WriteCommunity =
            ini.value(QStringLiteral("write-community"), base.Security.WriteCommunity).toString();
        c.User = ini.value(QStringLiteral("user")).toString();
        c.Context = ini.value(QStringLiteral("context")).toString();
        if (ini.contains(QStringLiteral("auth-protocol")))
            c.Auth = protocolNumber(OvAuthProtocolNames(),
                                    ini.value(QStringLiteral("auth-protocol")).toString(), "authentication");
        if (ini.contains(QStringLiteral("priv-protocol")))
            c.Priv = protocolNumber(OvPrivProtocolNames(),
                                    ini.value(QStringLiteral("priv-protocol")).toString(), "privacy");
        // Relative pass-phrase files are found beside the profiles file.
        const QDir dir = QFileInfo(fileName).absoluteDir();
        for (auto [key, file] :
             {std::pair{"auth-passphrase-file", &c.AuthFile}, {"priv-passphrase-file", &c.PrivFile}})
            if (ini.contains(QLatin1String(key)))
                *file = dir.absoluteFilePath(ini.value(QLatin1String(key)).toString());
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

bool knownGroup(const QString& title) {
    for (int g = 0; g < ConfigGroupCount; ++g)
        if (title == QLatin1String(ConfigGroups[g].Title))
            return true;
    return false;
}

QString groupTitles() {
    QStringList titles;
    for (int g = 0; g < ConfigGroupCount; ++g)
        titles << QStringLiteral("\"%1\"").arg(QLatin1String(ConfigGroups[g].Title));
    return titles.join(QStringLiteral(", "));
}

} // namespace

QString OvConfigOptions::Usage() {
    return QStringLiteral(
        "Usage: velmarn-config [options] backup [FILE]\n"
        "       velmarn-config [options] diff FILE\n"
        "       velmarn-config [options] restore FILE [--dry-run] [--allow-other-device] [--save]\n"
        "\n"
        "Backs up, compares and restores the settings of Velmarn access points.\n"
        "FILE may contain {address}, replaced by each device's address (needed with several devices);\n"
        "backup without FILE writes to standard output.\n"
        "\n"
        "Options:\n"
        "  --address HOST[:PORT]      a device (may be given several times)\n"
        "  --addresses-file FILE      devices, one a line: HOST[:PORT] or HOST PORT [PROFILE]\n"
        "  --profiles FILE            named credentials for the addresses file (INI, one section a\n"
        "                             profile: version, community, write-community, user, context,\n"
        "                             auth-protocol, auth-passphrase-file, priv-protocol,\n"
        "                             priv-passphrase-file)\n"
        "  --port N                   UDP port of devices given without one (161)\n"
        "  --version 1|2c|3           SNMP version (2c)\n"
        "  --community TEXT           read community (qubsen)\n"
        "  --write-community TEXT     write community (vortani)\n"
        "  --user NAME                SNMPv3 user\n"
        "  --auth-protocol P          MD5, SHA, SHA-224, SHA-256, SHA-384 or SHA-512\n"
        "  --auth-passphrase-file F   SNMPv3 authentication pass phrase (or VELMARN_AUTH_PASSPHRASE)\n"
        "  --priv-protocol P          DES, AES, AES-192, AES-256, AES-192-C or AES-256-C\n"
        "  --priv-passphrase-file F   SNMPv3 privacy pass phrase (or VELMARN_PRIV_PASSPHRASE)\n"
        "  --context NAME             SNMPv3 context name\n"
        "  --parallel N               devices handled at once (8)\n"
        "  --timeout SECONDS          wait for each answer (1; up to 60, fractions allowed)\n"
        "  --retries N                send a request again that many times (1; up to 10)\n"
        "  --dry-run                  restore: show the plan, write nothing\n"
        "  --allow-other-device       restore: allow a backup of another device (cloning)\n"
        "  --save                     restore: once read back, save the settings on the device (the\n"
        "                             main window's \"Save Changes\"); without it a reboot may lose them\n"
        "  --journal FILE             append one JSON line per device and per group written\n"
        "  --only GROUP               only this group, e.g. \"MAC Operation\" (may be given several times)\n"
        "  --exclude OBJECT           leave this object alone, e.g. dot11DesiredSSID (idem)\n"
        "  --ignore-identity          diff: do not compare the device's own objects (station ID,\n"
        "                             product, version), to compare a template with many devices\n"
        "  --help                     this text\n"
        "\n"
        "diff and the restore plan show each object as: device value -> backup value.\n"
        "Each device's line is printed when it is done, a summary line at the end; SIGTERM or\n"
        "Ctrl+C starts no more devices, lets those under way finish (a second one stops them)\n"
        "and prints the summary.\n"
        "\n"
        "Exit status, the highest of all devices':\n"
        "  0  done, or the same as the backup\n"
        "  1  differences (diff), or a restore read back with other values than the file's or\n"
        "     that skipped objects the device does not have (another firmware), named in its line\n"
        "  2  usage error or unusable backup file (decided before any device is contacted)\n"
        "  3  a device error before anything was written (time-out, refused, protocol), or a\n"
        "     device a stopped run did not start\n"
        "  4  a restore that wrote some groups and not others, or whose outcome is unknown (a\n"
        "     SET that timed out, or everything written and the read-back failed)\n");
}

OvConfigOptions OvConfigOptions::Parse(const QStringList& arguments) {
    OvConfigOptions o;
    o.Target = TSNMPSession::Defaults();
    o.Target.Security.Version = 1;
    OvCredentials credentials;
    credentials.ReadCommunity = o.Target.Security.ReadCommunity;
    credentials.WriteCommunity = o.Target.Security.WriteCommunity;
    QString profilesFile;
    QStringList positional;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&]() -> QString {
            if (i + 1 >= arguments.size())
                throw OvUsageError(a + QStringLiteral(" needs a value"));
            return arguments[++i];
        };
        auto number = [&](int lowest, int highest) {
            const QString text = value();
            bool ok = false;
            const int n = text.toInt(&ok);
            if (!ok || n < lowest || n > highest)
                throw OvUsageError(QStringLiteral("%1: \"%2\" is not a number from %3 to %4")
                                       .arg(a, text)
                                       .arg(lowest)
                                       .arg(highest));
            return n;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.Cmd = Command::Help;
            return o;
        } else if (a == QLatin1String("--address")) {
            o.Addresses << value();
        } else if (a == QLatin1String("--addresses-file")) {
            const QString name = value();
            QFile f(name);
            if (!f.open(QIODevice::ReadOnly))
                throw OvUsageError(QStringLiteral("cannot read %1: %2").arg(name, f.errorString()));
            for (const QByteArray& line : f.readAll().split('\n'))
                addDeviceLine(o, QString::fromUtf8(line));
        } else if (a == QLatin1String("--profiles")) {
            profilesFile = value();
        } else if (a == QLatin1String("--port")) {
            o.Target.Device.Port = static_cast<quint16>(number(1, 65535));
        } else if (a == QLatin1String("--version")) {
            const QString v = value();
            credentials.Version = versionNumber(v, a);
        } else if (a == QLatin1String("--community")) {
            credentials.ReadCommunity = value();
        } else if (a == QLatin1String("--write-community")) {
            credentials.WriteCommunity = value();
        } else if (a == QLatin1String("--user")) {
            credentials.User = value();
        } else if (a == QLatin1String("--auth-protocol")) {
            credentials.Auth = protocolNumber(OvAuthProtocolNames(), value(), "authentication");
        } else if (a == QLatin1String("--priv-protocol")) {
            credentials.Priv = protocolNumber(OvPrivProtocolNames(), value(), "privacy");
        } else if (a == QLatin1String("--auth-passphrase-file")) {
            credentials.AuthFile = value();
        } else if (a == QLatin1String("--priv-passphrase-file")) {
            credentials.PrivFile = value();
        } else if (a == QLatin1String("--context")) {
            credentials.Context = value();
        } else if (a == QLatin1String("--parallel")) {
            o.Parallel = number(1, 256);
        } else if (a == QLatin1String("--only")) {
            const QString group = value();
            if (!knownGroup(group))
                throw OvUsageError(
                    QStringLiteral("--only: no group \"%1\" (one of %2)").arg(group, groupTitles()));
            o.Only << group;
        } else if (a == QLatin1String("--exclude")) {
            const QString object = value();
            if (!OvCatalogueEntry::ByName(object).Found())
                throw OvUsageError(QStringLiteral("--exclude: no object \"%1\"").arg(object));
            o.Exclude << object;
        } else if (a == QLatin1String("--ignore-identity")) {
            o.IgnoreIdentity = true;
        } else if (a == QLatin1String("--journal")) {
            o.Journal = value();
        } else if (a == QLatin1String("--save")) {
            o.Save = true;
        } else if (a == QLatin1String("--timeout")) {
            const QString text = value();
            bool ok = false;
            const double seconds = text.toDouble(&ok);
            if (!ok || seconds < 0.01 || seconds > 60)
                throw OvUsageError(
                    QStringLiteral("--timeout: \"%1\" is not a number of seconds from 0.01 to 60").arg(text));
            o.TimeoutMs = static_cast<int>(seconds * 1000);
        } else if (a == QLatin1String("--retries")) {
            o.Retries = number(0, 10);
        } else if (a == QLatin1String("--dry-run")) {
            o.DryRun = true;
        } else if (a == QLatin1String("--allow-other-device")) {
            o.AllowOtherDevice = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            throw OvUsageError(QStringLiteral("unknown option %1").arg(a));
        } else {
            positional << a;
        }
    }

    if (positional.isEmpty())
        throw OvUsageError(QStringLiteral("no command given (backup, diff or restore)"));
    const QString command = positional.takeFirst();
    if (command == QLatin1String("backup"))
        o.Cmd = Command::Backup;
    else if (command == QLatin1String("diff"))
        o.Cmd = Command::Diff;
    else if (command == QLatin1String("restore"))
        o.Cmd = Command::Restore;
    else
        throw OvUsageError(QStringLiteral("unknown command \"%1\"").arg(command));
    if (positional.size() > 1)
        throw OvUsageError(QStringLiteral("one file only, not %1").arg(positional.join(QLatin1Char(' '))));
    o.File = positional.value(0);
    if (o.Cmd != Command::Backup && o.File.isEmpty())
        throw OvUsageError(command + QStringLiteral(" needs the backup file"));
    if (o.Addresses.isEmpty())
        throw OvUsageError(QStringLiteral("no device given (--address or --addresses-file)"));
    if (o.IgnoreIdentity && o.Cmd != Command::Diff)
        throw OvUsageError(QStringLiteral("--ignore-identity goes with diff"));
    if ((o.DryRun || o.AllowOtherDevice || o.Save) && o.Cmd != Command::Restore)
        throw OvUsageError(QStringLiteral("--dry-run, --allow-other-device and --save go with restore"));

    credentials.ApplyTo(o.Target, true);
    if (!profilesFile.isEmpty())
        o.Profiles = readProfiles(profilesFile, o.Target);
    for (const auto& [address, profile] : o.ProfileOf)
        if (!o.Profiles.count(profile))
            throw OvUsageError(QStringLiteral("%1: no profile \"%2\" (--profiles)").arg(address, profile));
    // The same device given twice (also as HOST and HOST:PORT) is handled once.
    QSet<QString> devices;
    QStringList unique;
    for (const QString& address : o.Addresses) {
        const OvSNMPDevice d = o.TargetFor(address).Device;
        const QString key = d.Address + QLatin1Char(':') + QString::number(d.Port);
        if (!devices.contains(key)) {
            devices.insert(key);
            unique << address;
        }
    }
    o.Addresses = unique;
    if (o.Cmd == Command::Backup && o.Addresses.size() > 1 && !o.File.contains(QLatin1String("{address}")))
        throw OvUsageError(QStringLiteral("with several devices the file name needs {address}"));
    return o;
}

void OvCredentials::ApplyTo(OvSNMPTarget& target, bool fromEnvironment) const {
    OvSNMPSecurity& s = target.Security;
    s.Version = Version;
    s.ReadCommunity = ReadCommunity;
    s.WriteCommunity = WriteCommunity;
    s.SecurityName = User;
    target.Scope.ContextName = Context;
    if (Version != 3)
        return;
    if (User.isEmpty())
        throw OvUsageError(QStringLiteral("SNMPv3 needs a user"));
    auto secret = [fromEnvironment](const QString& file, const char* variable) {
        return !file.isEmpty()   ? readSecret(file)
               : fromEnvironment ? qEnvironmentVariable(variable)
                                 : QString();
    };
    s.SecurityModel = 3;
    s.AuthProtocol = Auth;
    s.PrivProtocol = Priv;
    if (Auth != 1)
        s.AuthPassword = secret(AuthFile, "VELMARN_AUTH_PASSPHRASE");
    if (Priv != 1)
        s.PrivPassword = secret(PrivFile, "VELMARN_PRIV_PASSPHRASE");
    if (Priv != 1 && Auth == 1)
        throw OvUsageError(QStringLiteral("a privacy protocol needs an authentication protocol"));
    if ((Auth != 1 && s.AuthPassword.isEmpty()) || (Priv != 1 && s.PrivPassword.isEmpty()))
        throw OvUsageError(
            QStringLiteral("a pass phrase is missing (--auth-passphrase-file, --priv-passphrase-file "
                           "or VELMARN_AUTH_PASSPHRASE, VELMARN_PRIV_PASSPHRASE)"));
    // The library derives no key from fewer than 8 characters.
    if ((Auth != 1 && s.AuthPassword.size() < 8) || (Priv != 1 && s.PrivPassword.size() < 8))
        throw OvUsageError(QStringLiteral("a pass phrase has fewer than 8 characters"));
    s.SecurityLevel = Priv != 1 ? 3 : Auth != 1 ? 2 : 1;
}

bool OvConfigOptions::Selects(const QString& group, const QString& name) const {
    if (!Only.isEmpty() && !Only.contains(group))
        return false;
    if (IgnoreIdentity && OvConfigDocument::IdentityNames().contains(name))
        return false;
    return !Exclude.contains(name);
}

bool OvConfigOptions::UsesSnmpV3() const {
    for (const QString& address : Addresses)
        if (TargetFor(address).Security.Version == 3)
            return true;
    return false;
}

OvSNMPTarget OvConfigOptions::TargetFor(const QString& address) const {
    const auto profile = ProfileOf.find(address);
    OvSNMPTarget target = profile == ProfileOf.end() ? Target : Profiles.at(profile->second);
    target.Device.Address = address;
    const int colon = address.lastIndexOf(QLatin1Char(':'));
    bool numeric = false;
    const uint port =
        colon > 0 && address.count(QLatin1Char(':')) == 1 ? address.mid(colon + 1).toUInt(&numeric) : 0;
    if (numeric && port > 0 && port < 65536) {
        target.Device.Address = address.left(colon);
        target.Device.Port = static_cast<quint16>(port);
    }
    return target;
}

QString OvConfigOptions::FileFor(const QString& address) const {
    QString name = File;
    return name.replace(QLatin1String("{address}"), address);
}
