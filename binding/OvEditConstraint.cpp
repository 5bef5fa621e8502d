#include "OvEditConstraint.h"

#include "OvErrors.h"
#include "OvExpression.h"
#include "OvFeedback.h"
#include "OvNumbers.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>
#include <cfloat>
#include <cmath>

namespace {

[[noreturn]] void badSpecifier() {
    throw OvException(OvCode::BadFormatSpecifier);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Limits what the user types (and pastes) to a number of characters; texts a program
// puts into the edit are never cut.
class MaxLengthValidator : public QValidator {
public:
    MaxLengthValidator(int maxLength, QObject* parent) : QValidator(parent), Max(maxLength) {}
    State validate(QString& input, int&) const override { return input.size() > Max ? Invalid : Acceptable; }

private:
    int Max;
};

QString unsignedBound(double v) {
    if (!(v > 0))
        return QStringLiteral("0");
    if (v >= 4294967295.0)
        return QStringLiteral("4294967295");
    return QString::number(static_cast<quint32>(std::trunc(v)));
}

} // namespace

OvNumList OvNumList::Parse(const QString& text, QChar delimiter) {
    OvNumList list;
    list.Delimiter = delimiter;
    if (text.isEmpty())
        return list;
    list.Count = 1 + static_cast<int>(text.count(delimiter));
    list.Numbers.assign(static_cast<size_t>(list.Count), 0);
    size_t n = 0;
    bool fraction = false;
    for (QChar c : text) {
        if (c == delimiter) {
            ++n;
            fraction = false;
        } else if (c == QLatin1Char('.')) {
            fraction = true; // numbers are whole: the fraction's digits are dropped
        } else if (isDigit(c) && !fraction) {
            list.Numbers[n] = list.Numbers[n] * 10 + static_cast<quint32>(c.unicode() - '0');
        }
    }
    return list;
}

EditRule EditRule::Parse(const QString& spec) {
    if (spec.size() < 2 || spec[0] != QLatin1Char('%'))
        badSpecifier();
    EditRule rule;
    const QChar letter = spec[1];
    if (!QStringLiteral("shiufn").contains(letter))
        badSpecifier();
    rule.Letter = letter.toLatin1();
    switch (rule.Letter) {
    case 'i':
        rule.Minimum = -2147483648.0;
        rule.Maximum = 2147483647.0;
        break;
    case 'u':
        rule.Minimum = 0;
        rule.Maximum = 4294967295.0;
        break;
    default:
        rule.Minimum = DBL_MIN;
        rule.Maximum = DBL_MAX;
        break;
    }
    int pos = 2;
    if (rule.Letter == 'n') {
        if (spec.size() < 3)
            badSpecifier();
        rule.Delimiter = spec[2];
        pos = 3;
    }
    if (spec.size() <= pos)
        return rule;
    if (spec[pos] != QLatin1Char('{') || spec.back() != QLatin1Char('}'))
        badSpecifier();
    const int end = spec.size() - 1; // the closing brace
    int i = pos + 1;
    auto readRun = [&spec, &i, end](bool points) {
        const int start = i;
        while (i < end && (isDigit(spec[i]) || (points && spec[i] == QLatin1Char('.'))))
            ++i;
        if (i == start)
            badSpecifier();
        return spec.mid(start, i - start);
    };
    while (i < end) {
        const QChar option = spec[i++];
        if (option == QLatin1Char('e')) {
            if (i >= end)
                badSpecifier();
            rule.Jump = spec[i++];
        } else if (option == QLatin1Char('l')) {
            rule.MaxLength = readRun(false).toInt();
            for (int flags = 0; flags < 2 && i < end; ++flags) {
                if (spec[i] == QLatin1Char('a'))
                    rule.LengthFlags += AutoAdvance;
                else if (spec[i] == QLatin1Char('f'))
                    rule.LengthFlags += FixedLength;
                else
                    break;
                ++i;
            }
        } else if (option == QLatin1Char('n')) {
            rule.Minimum = OvAtof(readRun(true));
        } else if (option == QLatin1Char('x')) {
            rule.Maximum = OvAtof(readRun(true));
        } else if (option == QLatin1Char('w')) {
            rule.Width = readRun(false).toInt();
        } else {
            badSpecifier();
        }
    }
    return rule;
}

bool EditRule::Fits(const QString& text, int pos) const {
    const QChar c = text[pos];
    switch (Letter) {
    case 's':
        return true;
    case 'h':
        return isDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    case 'i':
        return isDigit(c) || (c == QLatin1Char('-') && pos == 0);
    case 'u':
        return isDigit(c);
    case 'f':
        if (isDigit(c) || (c == QLatin1Char('-') && pos == 0))
            return true;
        return c == QLatin1Char('.') && text.left(pos).count(QLatin1Char('.')) == 0;
    case 'n':
        return isDigit(c) || (c == Delimiter && pos >= 1 && text[pos - 1] != Delimiter);
    default:
        return false;
    }
}

bool EditRule::Check(const QString& text, QString& message) const {
    auto fail = [&message](int code, const QString& placeholder1 = QString(),
                           const QString& value1 = QString(), const QString& placeholder2 = QString(),
                           const QString& value2 = QString()) {
        message = OvErrorMessage(code);
        if (!placeholder1.isEmpty())
            message = OvSubstitute(message, placeholder1, value1);
        if (!placeholder2.isEmpty())
            message = OvSubstitute(message, placeholder2, value2);
        return false;
    };
    switch (Letter) {
    case 'i':
    case 'u':
    case 'f': {
        const double v = OvAtof(text);
        if (v < Minimum || v > Maximum || (text.isEmpty() && MaxLength > 0))
            return fail(OvCode::NumberRange, QStringLiteral("[MIN]"), OvFloatToStr(Minimum),
                        QStringLiteral("[MAX]"), OvFloatToStr(Maximum));
        return true;
    }
    case 's':
    case 'h': {
        if (MaxLength <= 0)
            return true;
        const bool hex = Letter == 'h';
        if (LengthFlags & FixedLength) {
            if (text.size() != MaxLength)
                return fail(hex ? OvCode::HexLength : OvCode::StringLength, QStringLiteral("[LEN]"),
                            QString::number(MaxLength));
        } else if (text.size() > MaxLength) {
            return fail(hex ? OvCode::HexTooLong : OvCode::StringTooLong, QStringLiteral("[MAXLEN]"),
                        QString::number(MaxLength));
        }
        return true;
    }
    case 'n': {
        const OvNumList list = OvNumList::Parse(text, Delimiter);
        const QString delimiter(Delimiter);
        if (MaxLength > 0) {
            if ((LengthFlags & FixedLength) && list.Count != MaxLength)
                return fail(OvCode::NumListCount, QStringLiteral("[DELIMITER]"), delimiter,
                            QStringLiteral("[COUNT]"), QString::number(MaxLength));
            if (!(LengthFlags & FixedLength) && list.Count > MaxLength)
                return fail(OvCode::NumListMaxCount, QStringLiteral("[DELIMITER]"), delimiter,
                            QStringLiteral("[MAXCOUNT]"), QString::number(MaxLength));
        }
        const QString lo = unsignedBound(Minimum);
        const QString hi = unsignedBound(Maximum);
        const quint32 low = lo.toUInt();
        const quint32 high = hi.toUInt();
        for (quint32 n : list.Numbers) {
            if (n < low || n > high) {
                message = OvErrorMessage(OvCode::NumListRange);
                message = OvSubstitute(message, QStringLiteral("[DELIMITER]"), delimiter);
                message = OvSubstitute(message, QStringLiteral("[MIN]"), lo);
                message = OvSubstitute(message, QStringLiteral("[MAX]"), hi);
                return false;
            }
        }
        return true;
    }
    default:
        return true;
    }
}

void OvFocusNextLater(QWidget* from) {
    QPointer<QWidget> origin(from);
    QTimer::singleShot(0, from, [origin] {
        if (!origin)
            return;
        for (QWidget* w = origin->nextInFocusChain(); w && w != origin; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(origin->window())) {
                w->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    });
}

OvEditConstraint::OvEditConstraint(QWidget* owner, bool remember) : Owner(owner), Remember(remember) {}

OvEditConstraint::~OvEditConstraint() {
    for (auto& rule : Rules)
        if (rule->Edit)
            rule->Edit->removeEventFilter(this);
}

QStringList OvEditConstraint::Split(const QString& formats) {
    QStringList out;
    QString current;
    for (int i = 0; i < formats.size(); ++i) {
        if (formats[i] == QLatin1Char('%') && i > 0) {
            out << current;
            current.clear();
        }
        current += formats[i];
    }
    if (!current.isEmpty())
        out << current;
    return out;
}

void OvEditConstraint::Register(const QString& formats, const std::vector<QLineEdit*>& edits) {
    const QStringList specifiers = Split(formats);
    // A bad specifier anywhere fails the whole registration before any edit is touched.
    for (const QString& s : specifiers)
        EditRule::Parse(s);
    // Each edit takes the next specifier; an edit without one gets none.
    for (size_t i = 0; i < edits.size() && static_cast<int>(i) < specifiers.size(); ++i)
        RegisterOne(specifiers[static_cast<int>(i)], edits[i]);
}

void OvEditConstraint::RegisterOne(const QString& specifier, QLineEdit* edit) {
    auto rule = std::make_unique<EditRule>(EditRule::Parse(specifier));
    rule->Edit = edit;
    if (rule->Width > 0)
        edit->resize(rule->Width, edit->height());
    // A count of numbers is no character limit.
    if (rule->MaxLength > 0 && rule->Letter != 'n')
        edit->setValidator(new MaxLengthValidator(rule->MaxLength, edit));
    else
        edit->setValidator(nullptr);
    EditRule* raw = rule.get();
    // Only what the user types or pastes is filtered: a text the program shows (a value
    // from the device) stays exactly as it came.
    connect(edit, &QLineEdit::textEdited, this, [this, raw] { Typed(*raw); });
    edit->installEventFilter(this);
    Rules.push_back(std::move(rule));
}

EditRule* OvEditConstraint::RuleFor(const QLineEdit* edit) const {
    for (const auto& rule : Rules)
        if (rule->Edit == edit)
            return rule.get();
    return nullptr;
}

void OvEditConstraint::SetLastGood(QLineEdit* edit, const QString& text) {
    if (EditRule* rule = RuleFor(edit))
        rule->LastGood = text;
}

void OvEditConstraint::Typed(EditRule& rule) {
    if (Filtering || !rule.Edit)
        return;
    QLineEdit* edit = rule.Edit;
    QString text = edit->text();
    if (text.isEmpty() || text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)"))
        return;
    if (!rule.Jump.isNull() && text.contains(rule.Jump)) {
        text.remove(text.indexOf(rule.Jump), 1);
        Filtering = true;
        edit->setText(text);
        Filtering = false;
        OvFocusNextLater(edit);
        return;
    }
    // Every character that does not fit goes, first to last; one beep for the change.
    int cursor = edit->cursorPosition();
    bool removed = false;
    for (int pos = 0; pos < text.size();) {
        if (rule.Fits(text, pos)) {
            ++pos;
            continue;
        }
        text.remove(pos, 1);
        if (pos < cursor)
            --cursor;
        removed = true;
    }
    if (removed) {
        Filtering = true;
        edit->setText(text);
        edit->setCursorPosition(cursor);
        Filtering = false;
        OvFeedback::Beep();
        return;
    }
    if (rule.OwnChange && !rule.OwnChange())
        return;
    if ((rule.LengthFlags & EditRule::AutoAdvance) && rule.MaxLength > 0 && text.size() == rule.MaxLength)
        OvFocusNextLater(edit);
}

void OvEditConstraint::Left(EditRule& rule) {
    QLineEdit* edit = rule.Edit;
    if (!edit || Checking)
        return;
    const QString text = edit->text();
    if (text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)"))
        return;
    if (rule.MaxLength == 0 && text.isEmpty())
        return;
    QString message;
    if (!rule.Check(text, message)) {
        Checking = true;
        OvFeedback::MessageBox(Owner ? Owner->window() : nullptr, OvFeedback::ProgramFileName(), message);
        Filtering = true;
        edit->setText(rule.LastGood);
        Filtering = false;
        edit->setFocus(Qt::OtherFocusReason);
        Checking = false;
        return;
    }
    if (rule.OwnExit && !rule.OwnExit()) {
        Filtering = true;
        edit->setText(rule.LastGood);
        Filtering = false;
        return;
    }
    if (Remember)
        rule.LastGood = text;
}

bool OvEditConstraint::ValidateAll() {
    for (auto& rule : Rules) {
        QLineEdit* edit = rule->Edit;
        if (!edit)
            continue;
        const QString text = edit->text();
        if (text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)") ||
            (rule->MaxLength == 0 && text.isEmpty()))
            continue;
        QString message;
        if (!rule->Check(text, message)) {
            Checking = true;
            OvFeedback::MessageBox(Owner ? Owner->window() : nullptr, OvFeedback::ProgramFileName(), message);
            edit->setText(rule->LastGood);
            edit->setFocus(Qt::OtherFocusReason);
            Checking = false;
            return false;
        }
    }
    return true;
}

bool OvEditConstraint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another window or opening a menu is not leaving the edit.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            if (EditRule* rule = RuleFor(qobject_cast<QLineEdit*>(watched)))
                Left(*rule);
    }
    return QObject::eventFilter(watched, event);
}
