#include "app/OvCommandLineHelp.h"

QString OvHelpText() {
    return QStringLiteral("Usage: velmarn /I<address> [option...]\n"
                          "       velmarn --connect [option...]\n"
                          "       velmarn --help | --version\n"
                          "\n"
                          "Manages one Orvanta Velmarn wireless access point over SNMP v1, v2c or v3.\n"
                          "Each option is one argument: a marker directly followed by its value\n"
                          "(/I192.0.2.10, not /I 192.0.2.10). Other arguments are ignored.\n"
                          "\n"
                          "  /I<address>   agent address, dotted IPv4 or DNS name (127.0.0.1)\n"
                          "  /t<port>      agent UDP port (161)\n"
                          "  /v<version>   0 SNMPv1, 1 SNMPv2c, 3 SNMPv3 (0)\n"
                          "  /R<text>      read community (qubsen)\n"
                          "  /W<text>      write community (vortani)\n"
                          "  /m<model>     SNMPv3 security model: 3, the user-based model\n"
                          "  /l<level>     SNMPv3 level: 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv\n"
                          "  /n<user>      SNMPv3 user name\n"
                          "  /a<protocol>  authentication: 1 none, 2 MD5, 3 SHA, 4 SHA-224, 5 SHA-256,\n"
                          "                6 SHA-384, 7 SHA-512\n"
                          "  /A<text>      authentication pass phrase\n"
                          "  /p<protocol>  privacy: 1 none, 2 DES, 4 AES-128, 20 AES-192, 21 AES-256,\n"
                          "                23/24 AES-192/256 with the 3DES key extension\n"
                          "  /P<text>      privacy pass phrase\n"
                          "  /c<text>      SNMPv3 context name\n"
                          "  /d<text>      SNMPv3 context engine ID (hex digits are taken as octets)\n"
                          "  /T<text>      launch type given by a host program; stored only\n"
                          "  /N<port>      UDP port the device's notifications are received on (162)\n"
                          "  /C<text>      community SNMPv1/v2c notifications must carry (the read\n"
                          "                community; with SNMPv3 none is taken without it)\n"
                          "  --connect     ask for the device and its credentials first (the menu\n"
                          "                entry); options given with it are the dialog's start\n"
                          "\n"
                          "Example: velmarn /I192.0.2.10 /v1 /Rpublic /Wprivate\n"
                          "See velmarn(1).\n");
}

QString OvVersionText() {
    return QStringLiteral("velmarn " VELMARN_VERSION "\n");
}
