#pragma once

#include <QListWidget>
#include <QStringList>
#include <vector>

// The names of the drawn curves, each after a stroke of its colour: every name one a line,
// scrolled when there are more than its height shows.
class TCounterLegend : public QListWidget {
    Q_OBJECT
public:
    explicit TCounterLegend(QWidget* parent = nullptr);

    // The names of these counters (indexes into names), in TCounterChart's colours.
    void ShowCounters(const std::vector<int>& counters, const QStringList& names);

    QSize sizeHint() const override;

private:
    int NameWidth = 0;
};
