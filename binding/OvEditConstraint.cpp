#include "binding/OvEditConstraint.h"

#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

namespace {

// Limits what the user types (and pastes) to a number of characters; texts a program
// puts into the edit are never cut.
class MaxLengthValidator : public QValidator {
public:
    MaxLengthValidator(int maxLength, QObject* parent) : QValidator(parent), Max(maxLength) {}
    State validate(QString& input, int&) const override { return input.size() > Max ? Invalid : Acceptable; }

private:
    int Max;
};

} // namespace

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
