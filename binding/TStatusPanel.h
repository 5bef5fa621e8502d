#pragma once

#include <QLabel>

class QStatusBar;

// One panel of a status bar: a text that a binding can write its log line into.
class TStatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit TStatusPanel(QStatusBar* bar);
};
