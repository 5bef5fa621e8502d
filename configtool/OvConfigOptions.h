#pragma once

#include "configtool/OvAddressesFile.h"
#include "snmp/OvSNMPTarget.h"

#include <QString>
#include <QStringList>
#include <map>
#include <stdexcept>

// A command line that cannot be followed; the message says why (exit status 2).
class OvUsageError : public std::runtime_error {
public:
    explicit OvUsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

// Credentials as a command line or a profile gives them, pass phrases as file names.
struct OvCredentials {
    quint8 Version = 1; // 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3
    QString ReadCommunity;
    QString WriteCommunity;
    QString User;
    QString Context;
    int Auth = 1; // protocol numbers, 1 none
    int Priv = 1;
    QString AuthFile;
    QString PrivFile;

    // Puts them into target, the pass phrases read from their files (or, when
    // fromEnvironment, from VELMARN_AUTH_PASSPHRASE / VELMARN_PRIV_PASSPHRASE without one).
    // Raises OvUsageError.
    void ApplyTo(OvSNMPTarget& target, bool fromEnvironment) const;

private:
    void ReadPassPhrases(OvSNMPSecurity& security, bool fromEnvironment) const;
};

// How long a device's requests wait for an answer, and how often they are sent again.
struct OvTiming {
    int TimeoutMs = 1000;
    int Retries = 1;
};

// A --profiles section: its credentials and port as a target, and its timing.
struct OvProfile {
    OvSNMPTarget Target;
    OvTiming Timing;
};

// What velmarn-config was asked to do, read from its command line and environment.
struct OvConfigOptions {
    enum class Command { Help, Version, Backup, Diff, Restore };

    Command Cmd = Command::Help;
    QString File; // may hold "{address}" and "{name}"
    bool DryRun = false;
    bool AllowOtherDevice = false;
    bool Save = false; // restore: "Save Changes" once the read-back matched
    int Parallel = 8;
    int TimeoutMs = 1000;        // --timeout, per try
    int Retries = 1;             // --retries
    QString Journal;             // --journal: JSON lines appended per device and group written
    QString FailedTo;            // --failed-to: the devices that did not end 0, replaced at the end
    QStringList Only;            // --only: the groups handled (all when empty)
    QStringList Exclude;         // --exclude: objects left alone
    bool IgnoreIdentity = false; // diff: the per-device objects are not compared
    bool Json = false;           // diff: the differences as JSON lines on standard output
    bool Git = false;            // backup: commit the backups that changed into their work tree
    QStringList Addresses; // each device once, as given ("HOST PORT" of a file as "HOST:PORT", "[IPV6]:PORT")
    OvSNMPTarget Target;   // every device's target, but the address and unless a profile says otherwise
    std::map<QString, OvProfile> Profiles;    // --profiles: by name
    std::map<QString, QString> ProfileOf;     // a device's profile, by address
    std::map<QString, OvDeviceEntry> Entries; // how each device was given, by address

    // Raises OvUsageError. Pass phrases come from files or from the environment
    // (VELMARN_AUTH_PASSPHRASE, VELMARN_PRIV_PASSPHRASE), never from the command line.
    static OvConfigOptions Parse(const QStringList& arguments);
    // The file for one device: "{address}" replaced by its address, "{name}" by its name
    // (without one, by its address with "_" for ":", which every system takes).
    QString FileFor(const QString& address) const;
    // The device's name, or nothing.
    QString NameOf(const QString& address) const;
    // How the output names a device: "NAME (ADDRESS)", or its address.
    QString LabelOf(const QString& address) const;
    // The names of the named devices, by address.
    std::map<QString, QString> Names() const;
    // Whether the object of that group and name is backed up, compared or restored.
    bool Selects(const QString& group, const QString& name) const;
    // One device's target: Target (or its profile's) with its host; "HOST:PORT" and "[IPV6]:PORT"
    // name a port of their own.
    OvSNMPTarget TargetFor(const QString& address) const;
    // One device's time-out and retries: its profile's, else --timeout's and --retries'.
    OvTiming TimingFor(const QString& address) const;
    // target with the host of address, and its port when it names one.
    static OvSNMPTarget Reach(OvSNMPTarget target, const QString& address);

    // Whether any device is reached with SNMPv3, whose engine boots must be counted.
    bool UsesSnmpV3() const;

    static QString Usage();
    static QString VersionText();
};
