#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class OvEditConstraint;
class OvOptionList;
class QObject;
class QWidget;
struct BindingEntry;

// How one kind of control shows a value (or a part of one) and gives it back for a write.
// Chosen once, when the control is bound, and kept with the binding.
class OvControlAdapter {
public:
    // What the controls give back: a text of the entry's syntax, or its bytes directly.
    struct Part {
        bool Given = false;
        bool Raw = false;
        QString Text;
        QByteArray Bytes;
    };

    virtual ~OvControlAdapter() = default;

    // text: the value as shown (labels for option lists); bytes: its byte form.
    virtual void Show(const BindingEntry& e, const QString& text, const QByteArray& bytes,
                      const OvOptionList* options, OvEditConstraint& rules) const = 0;
    virtual Part Collect(const BindingEntry& e, const OvOptionList* options) const = 0;
    // Calls modified when the user changes the control (edits are followed by their rules).
    virtual void Hook(QWidget* control, QObject* context, const std::function<void()>& modified) const;

    // The adapter for an entry whose first control is this one.
    static std::shared_ptr<const OvControlAdapter> For(const QWidget* first);
};
