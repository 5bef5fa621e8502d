#pragma once

#include <QChar>
#include <QString>
#include <vector>

// The numbers of a delimited number text ("192.168.0.1" with delimiter '.').
struct OvNumList {
    int Count = 0;
    std::vector<quint32> Numbers;
    QChar Delimiter;

    static OvNumList Parse(const QString& text, QChar delimiter);
};

// The rule of one edit, parsed from a format specifier such as "%i" or "%u{n1x255l3a}":
// what may be typed and what a finished text must be. Used by the edits of the windows
// and by anything that checks a value the way those edits would.
struct OvEditRule {
    static constexpr int AutoAdvance = 1;
    static constexpr int FixedLength = 2;

    char Letter = 's';
    QChar Delimiter;
    double Minimum = 0;
    double Maximum = 0;
    int MaxLength = 0; // for 'n': the largest count of numbers
    int LengthFlags = 0;
    QChar Jump;
    int Width = 0; // pixels, 0 = leave the edit's width alone

    // Parses one specifier; raises OvException(-2) for anything outside the grammar.
    static OvEditRule Parse(const QString& specifier);
    // Whether character c at position pos of text fits the letter.
    bool Fits(const QString& text, int pos) const;
    // The exit check: true when text passes; otherwise message holds the user's message.
    bool Check(const QString& text, QString& message) const;
};
