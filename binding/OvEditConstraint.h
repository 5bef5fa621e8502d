#pragma once

#include "values/OvEditRule.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QLineEdit;
class QWidget;

// The rule of one edit with the edit it governs and what the edit last held.
struct EditRule : OvEditRule {
    QPointer<QLineEdit> Edit;
    QString LastGood;
    // The edit's own handlers, run after the rule's checks; returning false is the
    // edit's way of refusing (its text goes back to the last good one on exit).
    std::function<bool()> OwnChange;
    std::function<bool()> OwnExit;

    // Parses one specifier; raises OvException(-2) for anything outside the grammar.
    static EditRule Parse(const QString& specifier) {
        EditRule rule;
        static_cast<OvEditRule&>(rule) = OvEditRule::Parse(specifier);
        return rule;
    }
};

// The rules of one binding object: keystroke filtering, the jump character and
// auto-advance while typing, and the exit check with its message when the user leaves an
// edit. Message boxes and beeps go through OvFeedback.
class OvEditConstraint : public QObject {
    Q_OBJECT
public:
    OvEditConstraint(QWidget* owner, bool remember);
    ~OvEditConstraint() override;

    // One rule per edit, from a format text of specifiers written one after the other.
    void Register(const QString& formats, const std::vector<QLineEdit*>& edits);
    void RegisterOne(const QString& specifier, QLineEdit* edit);

    EditRule* RuleFor(const QLineEdit* edit) const;
    // Records a text that stands in the edit as good (what the device last showed).
    void SetLastGood(QLineEdit* edit, const QString& text);

    // The exit check over every edit, as before a write: the first edit whose text fails
    // gets the message box, its last good text and the focus; false then.
    bool ValidateAll();

    // Splits a format text into its specifiers (each starting with "%").
    static QStringList Split(const QString& formats);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Typed(EditRule& rule);
    void Left(EditRule& rule);

    QPointer<QWidget> Owner;
    bool Remember;
    std::vector<std::unique_ptr<EditRule>> Rules;
    bool Filtering = false;
    bool Checking = false;
};

// Moves the keyboard focus from a widget to the next one in the tab chain, after the
// current event has been handled.
void OvFocusNextLater(QWidget* from);
