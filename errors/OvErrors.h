#pragma once

#include <QString>
#include <exception>
#include <string>

// Framework codes raised by the module. Group 0 are edit-rule and expression codes,
// -1xx agent statuses, -2xx/-3xx SNMPv3, -4xx library, -5xx framework.
namespace OvCode {
constexpr int Ok = 0;
constexpr int BadLogicOperand = -1;
constexpr int BadFormatSpecifier = -2;
constexpr int StringTooLong = -3;
constexpr int StringLength = -4;
constexpr int HexTooLong = -5;
constexpr int HexLength = -6;
constexpr int NumberRange = -7;
constexpr int NumListMaxCount = -8;
constexpr int NumListCount = -9;
constexpr int NumListRange = -10;
constexpr int TooBig = -101;
constexpr int NoSuchName = -102;
constexpr int UnsupportedSecurityModel = -201;
constexpr int SameMessageTwice = -203;
constexpr int InvalidMessage = -204;
constexpr int InvalidEngineId = -205;
constexpr int CommunityFormat = -210;
constexpr int ParseError = -207;
constexpr int UnavailableContext = -215;
constexpr int UnknownContext = -216;
constexpr int UsmGenericError = -301;
constexpr int UnsupportedSecurityLevel = -303;
constexpr int UnknownSecurityName = -304;
constexpr int EncryptionError = -305;
constexpr int DecryptionError = -306;
constexpr int AuthenticationError = -307;
constexpr int AuthenticationFailure = -308;
constexpr int UsmParseError = -309;
constexpr int UnknownEngineId = -310;
constexpr int NotInTimeWindow = -311;
constexpr int UnsupportedAuthProtocol = -312;
constexpr int UnsupportedPrivProtocol = -313;
constexpr int OperationFailed = -401;
constexpr int Timeout = -405;
constexpr int InvalidPdu = -411;
constexpr int InvalidObjectIdentifier = -417;
constexpr int TransportFailed = -422;
constexpr int BlockedModeShutdown = -423;
constexpr int CannotCreateSession = -506;
constexpr int BootCounterLoad = -507;
constexpr int BootCounterSave = -508;
constexpr int InvalidAddress = -509;
constexpr int GetNextOnSingleValue = -510;
constexpr int BadSyntax = -511;
constexpr int NullInExpression = -512;
constexpr int BadSyntaxInExpression = -513;
constexpr int BadListKind = -514;
constexpr int BadPartialSyntax = -516;
constexpr int BadPartialValue = -517;
constexpr int BitIndexOutOfRange = -518;
constexpr int NoOptionList = -519;
constexpr int BadControlType = -520;
constexpr int NotEnoughControls = -521;
constexpr int UnknownErrorCode = -527;
constexpr int WalkNotAdvancing = -528;
constexpr int TooManyRows = -529;
constexpr int NothingToWrite = -530;
constexpr int EmptyUserName = -531;
} // namespace OvCode

// The message of a framework code, exactly as users see it; "Unknown error code!" for
// a code the table does not hold.
QString OvErrorMessage(int code);

// True when the table holds the code.
bool OvIsKnownCode(int code);

// The error every framework operation raises: a message and its negative code.
class OvException : public std::exception {
public:
    explicit OvException(int code);
    OvException(int code, QString message);

    // The same error naming the item or row it concerns, after the message.
    OvException ForItem(const QString& name) const;

    int code() const noexcept { return Code; }
    const QString& message() const noexcept { return Message; }
    const char* what() const noexcept override { return Utf8.c_str(); }

private:
    int Code;
    QString Message;
    std::string Utf8;
};

// A text that should have been a number ("'%s' is not a valid integer value").
class OvConvertError : public OvException {
public:
    explicit OvConvertError(const QString& text);
};

// Reads a decimal integer the way the launch options and the interval box do: optional
// blanks, optional sign, digits, nothing else, within the signed 32-bit range.
// Raises OvConvertError otherwise.
int OvStrToInt(const QString& text);

// As OvStrToInt, for values up to 64 bits (signed or unsigned range).
qint64 OvStrToInt64(const QString& text);
