#include "configtool/OvConfigOptions.h"

#include "catalogue/OvCatalogue.h"
#include "configtool/OvAddressesFile.h"
#include "configtool/OvConfigDocument.h"
#include "configtool/OvDeviceAddress.h"
#include "configtool/OvOptionText.h"
#include "configtool/OvProfilesFile.h"
#include "snmp/TSNMPSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// The command line read one argument at a time; an option's value is the argument after it.
class ArgumentCursor {
public:
    explicit ArgumentCursor(const QStringList& arguments) : Arguments(arguments) {}
    bool AtEnd() const { return Index >= Arguments.size(); }
    const QString& Next() {
        Option = Arguments[Index++];
        return Option;
    }
    QString Value() {
        if (AtEnd())
            throw OvUsageError(Option + QStringLiteral(" needs a value"));
        return Arguments[Index++];
    }
    int Number(int lowest, int highest) { return OvWholeNumber(Value(), lowest, highest, Option); }
    int Milliseconds() { return OvMilliseconds(Value(), Option); }

private:
    const QStringList& Arguments;
    int Index = 0;
    QString Option;
};

// What the command line says before it is checked as a whole.
struct CommandLine {
    OvConfigOptions Options;
    OvCredentials Credentials;
    QString ProfilesFile;
    QStringList Positional;
    std::vector<OvDeviceEntry> Devices;
};

// Options without a value.
bool readSwitch(OvConfigOptions& o, const QString& a) {
    static const std::map<QString, bool OvConfigOptions::*> switches{
        {QStringLiteral("--dry-run"), &OvConfigOptions::DryRun},
        {QStringLiteral("--allow-other-device"), &OvConfigOptions::AllowOtherDevice},
        {QStringLiteral("--save"), &OvConfigOptions::Save},
        {QStringLiteral("--ignore-identity"), &OvConfigOptions::IgnoreIdentity},
        {QStringLiteral("--git"), &OvConfigOptions::Git},
        {QStringLiteral("--json"), &OvConfigOptions::Json}};
    const auto it = switches.find(a);
    if (it == switches.end())
        return false;
    o.*(it->second) = true;
    return true;
}

bool readCredential(OvCredentials& c, const QString& a, ArgumentCursor& args) {
    static const std::map<QString, QString OvCredentials::*> texts{
        {QStringLiteral("--community"), &OvCredentials::ReadCommunity},
        {QStringLiteral("--write-community"), &OvCredentials::WriteCommunity},
        {QStringLiteral("--user"), &OvCredentials::User},
        {QStringLiteral("--auth-passphrase-file"), &OvCredentials::AuthFile},
        {QStringLiteral("--priv-passphrase-file"), &OvCredentials::PrivFile},
        {QStringLiteral("--context"), &OvCredentials::Context}};
    if (const auto it = texts.find(a); it != texts.end()) {
        c.*(it->second) = args.Value();
        if (it->second == &OvCredentials::ReadCommunity || it->second == &OvCredentials::WriteCommunity)
            OvCheckCommunity(c.*(it->second), a);
    } else if (a == QLatin1String("--version")) {
        // The SNMP version, as for every other SNMP tool; the tool's own is "version" or -V.
        if (args.AtEnd())
            throw OvUsageError(QStringLiteral("--version needs the SNMP version (1, 2c or 3); "
                                              "velmarn-config version (or -V) prints the tool's version"));
        c.Version = OvVersionNumber(args.Value(), a);
    } else if (a == QLatin1String("--auth-protocol")) {
        c.Auth = OvProtocolNumber(OvAuthProtocolNames(), args.Value(), "authentication");
    } else if (a == QLatin1String("--priv-protocol")) {
        c.Priv = OvProtocolNumber(OvPrivProtocolNames(), args.Value(), "privacy");
    } else {
        return false;
    }
    return true;
}

// Which devices, and where their credentials come from.
bool readDevices(CommandLine& line, const QString& a, ArgumentCursor& args) {
    if (a == QLatin1String("--address")) {
        const QString address = args.Value();
        const QString where = QStringLiteral("--address \"%1\"").arg(address);
        OvCheckAddress(address, where);
        line.Devices.push_back({address, QString(), where, address, false, {}, {}});
    } else if (a == QLatin1String("--addresses-file")) {
        OvReadAddressesFile(line.Devices, args.Value());
    } else if (a == QLatin1String("--profiles")) {
        line.ProfilesFile = args.Value();
    } else if (a == QLatin1String("--port")) {
        const QString text = args.Value();
        const QString wrong = OvReadPort(text, line.Options.Target.Device.Port);
        if (!wrong.isEmpty())
            throw OvUsageError(QStringLiteral("--port: ") + wrong);
    } else {
        return false;
    }
    return true;
}

// How the run goes and what it handles. An unknown option is refused here.
bool readRunOption(OvConfigOptions& o, const QString& a, ArgumentCursor& args) {
    if (a == QLatin1String("--parallel")) {
        o.Parallel = args.Number(1, 256);
    } else if (a == QLatin1String("--only")) {
        const QString group = args.Value();
        if (!knownGroup(group))
            throw OvUsageError(
                QStringLiteral("--only: no group \"%1\" (one of %2)").arg(group, groupTitles()));
        o.Only << group;
    } else if (a == QLatin1String("--exclude")) {
        const QString object = args.Value();
        if (!OvCatalogueEntry::ByName(object).Found())
            throw OvUsageError(QStringLiteral("--exclude: no object \"%1\"").arg(object));
        o.Exclude << object;
    } else if (a == QLatin1String("--journal")) {
        o.Journal = args.Value();
    } else if (a == QLatin1String("--failed-to")) {
        o.FailedTo = args.Value();
    } else if (a == QLatin1String("--timeout")) {
        o.TimeoutMs = args.Milliseconds();
    } else if (a == QLatin1String("--retries")) {
        o.Retries = args.Number(0, 10);
    } else if (a.startsWith(QLatin1String("--"))) {
        throw OvUsageError(QStringLiteral("unknown option %1").arg(a));
    } else {
        return false;
    }
    return true;
}

// The command and its file, from the arguments that are no options.
void readCommand(OvConfigOptions& o, QStringList positional) {
    using Command = OvConfigOptions::Command;
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
}

// Options that only some commands take, and a device to take them to.
void checkCombinations(const OvConfigOptions& o) {
    using Command = OvConfigOptions::Command;
    if (o.Addresses.isEmpty())
        throw OvUsageError(QStringLiteral("no device given (--address or --addresses-file)"));
    if (o.IgnoreIdentity && o.Cmd == Command::Restore)
        throw OvUsageError(QStringLiteral("--ignore-identity goes with backup and diff"));
    if (o.Git && (o.Cmd != Command::Backup || o.File.isEmpty()))
        throw OvUsageError(QStringLiteral("--git goes with backup into a FILE"));
    if (o.Json && o.Cmd != Command::Diff)
        throw OvUsageError(QStringLiteral("--json goes with diff"));
    if ((o.DryRun || o.AllowOtherDevice || o.Save) && o.Cmd != Command::Restore)
        throw OvUsageError(QStringLiteral("--dry-run, --allow-other-device and --save go with restore"));
}

// The devices, each once (also given as HOST and HOST:PORT) in their order, and their
// profiles: a device given again without a profile or with the same one is handled once,
// with another profile it is refused.
void settleDevices(OvConfigOptions& o, const std::vector<OvDeviceEntry>& entries) {
    std::map<QString, size_t> byDevice; // host and port: index in kept
    std::vector<OvDeviceEntry> kept;
    for (const OvDeviceEntry& e : entries) {
        if (!e.Profile.isEmpty() && !o.Profiles.count(e.Profile))
            throw OvUsageError(QStringLiteral("%1: no profile \"%2\" (--profiles)").arg(e.Where, e.Profile));
        const OvSNMPDevice d =
            OvConfigOptions::Reach(e.Profile.isEmpty() ? o.Target : o.Profiles.at(e.Profile).Target,
                                   e.Address)
                .Device;
        const auto [at, first] =
            byDevice.emplace(d.Address + QLatin1Char(':') + QString::number(d.Port), kept.size());
        if (first) {
            kept.push_back(e);
            continue;
        }
        OvDeviceEntry& k = kept[at->second];
        if (!e.Profile.isEmpty() && !k.Profile.isEmpty() && e.Profile != k.Profile)
            throw OvUsageError(
                QStringLiteral("%1: \"%2\" with profile \"%3\" is also on %4 with profile \"%5\"")
                    .arg(e.Where, e.Address, e.Profile, k.Where, k.Profile));
        if (!e.Name.isEmpty() && !k.Name.isEmpty() && e.Name != k.Name)
            throw OvUsageError(QStringLiteral("%1: \"%2\" named \"%3\" is also on %4 named \"%5\"")
                                   .arg(e.Where, e.Address, e.Name, k.Where, k.Name));
        if ((k.Profile.isEmpty() && !e.Profile.isEmpty()) || (k.Name.isEmpty() && !e.Name.isEmpty()))
            k = OvDeviceEntry{
                k.Address, e.Profile.isEmpty() ? k.Profile : e.Profile, e.Where, e.Line, e.FromCsv,
                e.Header,  e.Name.isEmpty() ? k.Name : e.Name};
    }
    std::map<QString, QString> named; // a name's device
    for (const OvDeviceEntry& k : kept)
        if (!k.Name.isEmpty() && !named.emplace(k.Name, k.Where).second)
            throw OvUsageError(QStringLiteral("%1: the name \"%2\" is also given on %3")
                                   .arg(k.Where, k.Name, named.at(k.Name)));
    o.Addresses.clear();
    for (const OvDeviceEntry& k : kept) {
        o.Addresses << k.Address;
        o.Entries[k.Address] = k;
        if (!k.Profile.isEmpty())
            o.ProfileOf[k.Address] = k.Profile;
    }
}

// Two devices backed up into one file would leave the backup of only one of them: a name
// given to one may be what {name} makes of another's address.
void refuseSharedFiles(const OvConfigOptions& o) {
    if (o.Cmd != OvConfigOptions::Command::Backup || o.File.isEmpty())
        return;
    std::map<QString, QString> devices; // by file
    for (const QString& address : o.Addresses)
        if (const auto [at, first] = devices.emplace(o.FileFor(address), address); !first)
            throw OvUsageError(QStringLiteral("%1 and %2 would both be backed up to %3")
                                   .arg(o.LabelOf(at->second), o.LabelOf(address), at->first));
}

} // namespace

OvConfigOptions OvConfigOptions::Parse(const QStringList& arguments) {
    CommandLine line;
    line.Options.Target = TSNMPSession::Defaults();
    line.Credentials = OvBuiltInCredentials();
    ArgumentCursor args(arguments);
    while (!args.AtEnd()) {
        const QString& a = args.Next();
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            line.Options.Cmd = Command::Help;
            return line.Options;
        }
        if (a == QLatin1String("-V")) {
            line.Options.Cmd = Command::Version;
            return line.Options;
        }
        if (!readSwitch(line.Options, a) && !readCredential(line.Credentials, a, args) &&
            !readDevices(line, a, args) && !readRunOption(line.Options, a, args))
            line.Positional << a;
    }
    OvConfigOptions& o = line.Options;
    if (line.Positional.value(0) == QLatin1String("version")) {
        o.Cmd = Command::Version;
        return o;
    }
    for (const OvDeviceEntry& e : line.Devices)
        o.Addresses << e.Address;
    readCommand(o, line.Positional);
    checkCombinations(o);
    line.Credentials.ApplyTo(o.Target, true);
    if (!line.ProfilesFile.isEmpty()) {
        OvSNMPTarget builtIn = TSNMPSession::Defaults(); // the command line's credentials left out
        builtIn.Device = o.Target.Device;
        o.Profiles = OvReadProfiles(line.ProfilesFile, builtIn, {o.TimeoutMs, o.Retries});
    }
    settleDevices(o, line.Devices);
    if (o.Cmd == Command::Backup && o.Addresses.size() > 1 && !o.File.contains(QLatin1String("{address}")) &&
        !o.File.contains(QLatin1String("{name}")))
        throw OvUsageError(QStringLiteral("with several devices the file name needs {address} or {name}"));
    refuseSharedFiles(o);
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
    s.SecurityModel = 3;
    s.AuthProtocol = Auth;
    s.PrivProtocol = Priv;
    if (Priv != 1 && Auth == 1)
        throw OvUsageError(QStringLiteral("a privacy protocol needs an authentication protocol"));
    ReadPassPhrases(s, fromEnvironment);
    s.SecurityLevel = Priv != 1 ? 3 : Auth != 1 ? 2 : 1;
}

void OvCredentials::ReadPassPhrases(OvSNMPSecurity& s, bool fromEnvironment) const {
    auto secret = [fromEnvironment](const QString& file, const char* variable) {
        return !file.isEmpty()   ? readSecret(file)
               : fromEnvironment ? qEnvironmentVariable(variable)
                                 : QString();
    };
    if (Auth != 1)
        s.AuthPassword = secret(AuthFile, "VELMARN_AUTH_PASSPHRASE");
    if (Priv != 1)
        s.PrivPassword = secret(PrivFile, "VELMARN_PRIV_PASSPHRASE");
    // The library derives no key from fewer than 8 characters.
    auto check = [](const QString& phrase, const QString& file, const char* which, const char* option,
                    const char* variable) {
        const QString from =
            file.isEmpty() ? QStringLiteral("%1 or %2").arg(QLatin1String(option), QLatin1String(variable))
                           : file;
        if (phrase.isEmpty())
            throw OvUsageError(
                QStringLiteral("the %1 pass phrase is missing (%2)").arg(QLatin1String(which), from));
        if (phrase.size() < 8)
            throw OvUsageError(QStringLiteral("the %1 pass phrase has fewer than 8 characters (%2)")
                                   .arg(QLatin1String(which), from));
    };
    if (Auth != 1)
        check(s.AuthPassword, AuthFile, "authentication", "--auth-passphrase-file",
              "VELMARN_AUTH_PASSPHRASE");
    if (Priv != 1)
        check(s.PrivPassword, PrivFile, "privacy", "--priv-passphrase-file", "VELMARN_PRIV_PASSPHRASE");
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
    return Reach(profile == ProfileOf.end() ? Target : Profiles.at(profile->second).Target, address);
}

OvTiming OvConfigOptions::TimingFor(const QString& address) const {
    const auto profile = ProfileOf.find(address);
    return profile == ProfileOf.end() ? OvTiming{TimeoutMs, Retries} : Profiles.at(profile->second).Timing;
}

OvSNMPTarget OvConfigOptions::Reach(OvSNMPTarget target, const QString& address) {
    target.Device.Address = address; // as given when it cannot be split: the device refuses it
    QString host;
    quint16 port = 0;
    if (OvSplitAddress(address, host, port).isEmpty()) {
        target.Device.Address = host;
        if (port != 0)
            target.Device.Port = port;
    }
    return target;
}

QString OvConfigOptions::FileFor(const QString& address) const {
    QString name = NameOf(address);
    if (name.isEmpty())
        name = QString(address).replace(QLatin1Char(':'), QLatin1Char('_'));
    return QString(File).replace(QLatin1String("{address}"), address).replace(QLatin1String("{name}"), name);
}

QString OvConfigOptions::NameOf(const QString& address) const {
    const auto entry = Entries.find(address);
    return entry == Entries.end() ? QString() : entry->second.Name;
}

std::map<QString, QString> OvConfigOptions::Names() const {
    std::map<QString, QString> names;
    for (const auto& [address, entry] : Entries)
        if (!entry.Name.isEmpty())
            names.emplace(address, entry.Name);
    return names;
}

QString OvConfigOptions::LabelOf(const QString& address) const {
    const QString name = NameOf(address);
    return name.isEmpty() ? address : QStringLiteral("%1 (%2)").arg(name, address);
}
