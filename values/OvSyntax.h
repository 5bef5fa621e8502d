#pragma once

// Syntax codes: 0x02..0x47 are the SMI tags that travel on the wire, the others are
// the module's own syntaxes, carried inside OCTET STRINGs or as partial data.
namespace OvSyntax {
constexpr int boolean = 0x01;
constexpr int integer = 0x02;
constexpr int bitstr = 0x03;
constexpr int octetstr = 0x04;
constexpr int null = 0x05;
constexpr int objectid = 0x06;
constexpr int ipaddress = 0x40;
constexpr int counter = 0x41;
constexpr int guage = 0x42;
constexpr int timeticks = 0x43;
constexpr int opaque = 0x44;
constexpr int nsapaddr = 0x45;
constexpr int counter64 = 0x46;
constexpr int uinteger = 0x47;
constexpr int double_ = 0x48;
constexpr int macaddress = 0x49;
constexpr int datetime = 0x4A;
constexpr int bcdatetime = 0x4B;
constexpr int displaystr = 0x4C;
constexpr int bool8 = 0xC1;
constexpr int int8 = 0xC2;
constexpr int uint8 = 0xC3;
constexpr int bool16 = 0xC4;
constexpr int int16 = 0xC5;
constexpr int uint16 = 0xC6;
} // namespace OvSyntax
