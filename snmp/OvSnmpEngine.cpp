#include "OvSnmpEngine.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool libraryInitialised = false;

// A UDP socket on any local port: what every request needs.
bool canOpenUdpSocket() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = 0;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

} // namespace

OvSnmpEngine::OvSnmpEngine() = default;

OvSnmpEngine::~OvSnmpEngine() = default;

bool OvSnmpEngine::Open() {
    if (!canOpenUdpSocket())
        return false;
    if (libraryInitialised)
        return true;
    PrivateDir = std::make_unique<QTemporaryDir>();
    const QByteArray dir = PrivateDir->path().toLocal8Bit();
    // Present beforehand, so the library neither creates nor announces them.
    QDir(PrivateDir->path()).mkpath(QStringLiteral("cert_indexes"));
    QDir(PrivateDir->path()).mkpath(QStringLiteral("tls"));

    // No MIB files, no configuration or persistent files of net-snmp's own.
    qputenv("MIBS", "");
    netsnmp_set_mib_directory("");
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, 1);
    set_persistent_directory(dir.constData());
    set_configuration_directory(dir.constData());
    snmp_disable_log();
    libraryInitialised = true;
    return true;
}

void OvSnmpEngine::InitSecurity(const QByteArray& engineId, quint32 boots) {
    static bool initialised = false;
    if (!initialised) {
        set_exact_engineID(reinterpret_cast<const u_char*>(engineId.constData()),
                           static_cast<size_t>(engineId.size()));
        init_snmp("velmarn");
        initialised = true;
    }
    // init_snmp starts the local boots at 1; the stored count replaces it.
    QByteArray previous = QByteArray::number(boots > 0 ? boots - 1 : 0);
    engineBoots_conf("engineBoots", previous.data());
    set_enginetime(reinterpret_cast<const u_char*>(engineId.constData()), static_cast<u_int>(engineId.size()),
                   boots, snmpv3_local_snmpEngineTime(), TRUE);
}

quint32 OvSnmpEngine::LibraryEngineBoots() {
    return static_cast<quint32>(snmpv3_local_snmpEngineBoots());
}

void OvSnmpEngine::ProcessPendingEvents() {}
