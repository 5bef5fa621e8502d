#include "errors/OvErrors.h"

#include <algorithm>
#include <iterator>

namespace {

struct CodeMessage {
    int code;
    const char* message;
};

// Every code the module can show, with its message as the user reads it.
constexpr CodeMessage kMessages[] = {
    {0, "Ok!"},
    // Expression and edit rules
    {-1, "Bad logic operand!"},
    {-2, "Bad format specifier of edit's constraint!"},
    {-3, "Please enter a string whose length is less than [MAXLEN]!"},
    {-4, "Please enter a string whose length is [LEN]!"},
    {-5, "Please enter a hex string whose length is less than [MAXLEN]!"},
    {-6, "Please enter a hex string whose length is [LEN]!"},
    {-7, "Please enter a number between [MIN] and [MAX]!"},
    {-8,
     "Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is "
     "less than [MAXCOUNT]!"},
    {-9,
     "Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is "
     "equal to [COUNT]!"},
    {-10, "Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,each number is between "
          "[MIN] and [MAX]!"},
    // Agent error statuses
    {-101, "Response PDU Too Big!"},
    {-102, "Variable does not exist!"},
    {-103, "Cannot modify variable: Bad Value!"},
    {-104, "Cannot modify object, Read Only!"},
    {-105, "Cannot perform operation, General Error!"},
    {-106, "Cannot access variable, No Access!"},
    {-107, "Cannot create/modify variable, Wrong Type!"},
    {-108, "Cannot create/set variable, Wrong Length!"},
    {-109, "Cannot create/set variable, Wrong Encoding!"},
    {-110, "Cannot create/set variable, Wrong Value!"},
    {-111, "Cannot create variable, Creation Not Allowed!"},
    {-112, "Cannot create/set variable, Inconsistent Value!"},
    {-113, "Cannot create/set variable, Resource Unavailable!"},
    {-114, "Cannot create/set variable, Commit Failed!"},
    {-115, "Cannot create/set variable, Undo Failed!"},
    {-116, "Cannot perform operation, Authorization Error!"},
    {-117, "Cannot create/set variable, Not Writable!"},
    {-118, "Cannot create variable, Inconsistent Name!"},
    // SNMPv3 message processing
    {-201, "Unsupported Security Model!"},
    {-202, "Message not in Time Window!"},
    {-203, "Received same Message twice!"},
    {-204, "Invalid Message!"},
    {-205, "Invalid EngineID!"},
    {-206, "v3MP not initialized!"},
    {-207, "Parse Error!"},
    {-208, "Received Message with unknown MsgID!"},
    {-209, "Message does not match known message!"},
    {-210, "Community format error!"},
    {-211, "Unknown UserName!"},
    {-212, "Build error!"},
    {-213, "USM: error!"},
    {-214, "Unknown pdu handlers!"},
    {-215, "Unavailable Context!"},
    {-216, "Unknown Context!"},
    {-217, "Report sent!"},
    // User-based security
    {-301, "error!"},
    {-302, "Configfile write error!"},
    {-303, "Unsupported SecurityLevel!"},
    {-304, "Unknown SecurityName!"},
    {-305, "Encryption error!"},
    {-306, "Decryption error!"},
    {-307, "Authentication error!"},
    {-308, "Authentication failure!"},
    {-309, "Parse error!"},
    {-310, "Unknown EngineID!"},
    {-311, "Message not in TimeWindow!"},
    {-312, "Unsupported AuthProtocol!"},
    {-313, "Unsupported PrivProtocol!"},
    {-314, "Address error!"},
    // Library
    {-401, "Operation failed!"},
    {-402, "Resource unavailable!"},
    {-403, "Internal error!"},
    {-404, "Unsupported function!"},
    {-405, "SNMP request timed out!"},
    {-406, "Received SNMP Response!"},
    {-407, "Received SNMP Notification (trap or inform)!"},
    {-408, "Closing session with outstanding requests!"},
    {-409, "Unknown error code!"},
    {-410, "Class not valid!"},
    {-411, "Invalid Pdu!"},
    {-412, "Invalid Target!"},
    {-413, "Invalid (null) Callback Function!"},
    {-414, "Invalid Request Id!"},
    {-415, "Invalid Notification Id!"},
    {-416, "SNMP Operation not supported on specified Target!"},
    {-417, "Invalid Object Identifier!"},
    {-418, "Invalid Address!"},
    {-419, "Agent indicates error in SNMP request!"},
    {-420, "Transport is not supported!"},
    {-421, "Transport is in use!"},
    {-422, "Transport operation failed!"},
    {-423, "Blocked Mode Shutdown!"},
    // Framework
    {-501, "Fail to read SNMP variables from file([FILENAME])!"},
    {-502, "Bad format at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-503, "Bad item type at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-504, "Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-505, "Bad access type at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-506, "Cannot create the global OvSNMP++ session!"},
    {-507, "Error when loading SNMP engine boots counter!"},
    {-508, "Error when saving SNMP engine boots counter!"},
    {-509, "Invalid IP Address or DNS name!"},
    {-510, "Can't send get-next command for a SNMP variable list with single value!"},
    {-511, "Bad SNMP syntax!"},
    {-512, "Absent (NULL) value of a SNMP variable in the expression!"},
    {-513, "Bad SNMP syntax in the expression!"},
    {-514, "Bad item type of SNMP variable list!"},
    {-515, "Bad item type of associated SNMP variable list!"},
    {-516, "Bad syntax of the associated SNMP variable's (partial) data!"},
    {-517, "Bad value of the associated SNMP variable's (partial) data!"},
    {-518, "Out of range for the bit(byte) index of the associated SNMP variable's (partial) data!"},
    {-519, "No reference option list for a SNMP variable's (partial) data associating with a optional visual "
           "control!"},
    {-520, "Bad type of the associated visual control!"},
    {-521, "Count of the associated visual controls is not enough!"},
    {-522, "No system start time for the timeaxis's associated data with syntax timeticks!"},
    {-523, "Count of the value items for the chart's history data is not enough!"},
    {-524, "Log database is not connected!"},
    {-525, "Log database field not found!"},
    {-526, "Bad syntax for the history chart of log!"},
    {-527, "Unknown error code!"},
    {-528, "The agent's answers do not advance: the table walk was stopped!"},
    {-529, "The table has more than 1,000,000 rows: the walk was stopped!"},
    {-530, "Nothing was ticked!"},
    {-531, "The SNMPv3 user name is empty!"},
};

const CodeMessage* findCode(int code) {
    auto it = std::find_if(std::begin(kMessages), std::end(kMessages),
                           [code](const CodeMessage& m) { return m.code == code; });
    return it == std::end(kMessages) ? nullptr : it;
}

} // namespace

QString OvErrorMessage(int code) {
    const CodeMessage* m = findCode(code);
    return QString::fromUtf8(m ? m->message : "Unknown error code!");
}

bool OvIsKnownCode(int code) {
    return findCode(code) != nullptr;
}

OvException::OvException(int code) : OvException(code, OvErrorMessage(code)) {}

OvException::OvException(int code, QString message)
    : Code(code), Message(std::move(message)), Utf8(Message.toStdString()) {}

OvException OvException::ForItem(const QString& name) const {
    return OvException(Code, Message + QStringLiteral(" (") + name + QLatin1Char(')'));
}

OvConvertError::OvConvertError(const QString& text)
    : OvException(0, QStringLiteral("'%1' is not a valid integer value").arg(text)) {}

namespace {

// Optional blanks, optional sign, at least one digit, optional trailing blanks.
bool parseDecimal(const QString& text, qint64& out, bool& overflow) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= t.size())
        return false;
    quint64 magnitude = 0;
    overflow = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        const quint64 digit = static_cast<quint64>(c.unicode() - '0');
        if (magnitude > (~quint64(0) - digit) / 10) {
            overflow = true;
            magnitude = ~quint64(0);
            continue;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (magnitude > quint64(INT64_MAX) + (negative ? 1 : 0))
        overflow = true;
    out = negative ? static_cast<qint64>(0 - magnitude) : static_cast<qint64>(magnitude);
    return true;
}

} // namespace

int OvStrToInt(const QString& text) {
    qint64 v = 0;
    bool overflow = false;
    if (!parseDecimal(text, v, overflow) || overflow || v < INT32_MIN || v > INT32_MAX)
        throw OvConvertError(text);
    return static_cast<int>(v);
}

qint64 OvStrToInt64(const QString& text) {
    qint64 v = 0;
    bool overflow = false;
    if (!parseDecimal(text, v, overflow) || overflow)
        throw OvConvertError(text);
    return v;
}
