#pragma once

#include <QLabel>

// A display-only text with a sunken border.
class TStaticText : public QLabel {
    Q_OBJECT
public:
    explicit TStaticText(QWidget* parent = nullptr);
};
