#pragma once

#include <QString>

struct OvEditRule;

// What an edit takes, in a few words for its tooltip: from the value's syntax ("hex
// octets, e.g. 4C 61 62") and the edit rule's range or length ("integer 1 to 2346").
// Empty when there is nothing to say.
QString OvEditHint(int syntax, const OvEditRule& rule, bool wholeValue);
