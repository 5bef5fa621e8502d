#pragma once

#include <QPixmap>
#include <QWidget>

// The main window's banner, drawn anew for the device pixel ratio of the screen it is on.
class TBanner : public QWidget {
    Q_OBJECT
public:
    explicit TBanner(QWidget* parent = nullptr);

    // The picture as it was last painted (for the screen's ratio).
    const QPixmap& Picture() const { return Drawn; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap Drawn;
};
