#include "viewer/TInterfaceGraph.h"

#include "charts/TCounterChart.h"
#include "charts/TCounterLegend.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLabel>

TInterfaceGraph::TInterfaceGraph(QWidget* parent)
    : QStackedWidget(parent), Hint(new QLabel(this)), Curves(nullptr), Legend(nullptr) {
    setObjectName(QStringLiteral("InterfaceGraph"));
    Hint->setObjectName(QStringLiteral("GraphHint"));
    Hint->setText(QStringLiteral("Select one or more interfaces to draw their bit rates in and out."));
    Hint->setAlignment(Qt::AlignCenter);
    addWidget(Hint);
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    Curves = new TCounterChart(page);
    Curves->chart()->setTitle(QStringLiteral("Bits per second of the interfaces selected in the table"));
    Legend = new TCounterLegend(page);
    row->addWidget(Curves, 1);
    row->addWidget(Legend);
    addWidget(page);
}

void TInterfaceGraph::Clear() {
    Rates.Clear();
    Redraw();
}

void TInterfaceGraph::ShowInterfaces(const QStringList& keys) {
    Keys = keys;
    setCurrentIndex(keys.isEmpty() ? 0 : 1);
    Redraw();
}

void TInterfaceGraph::Redraw() {
    // An interface gets its curves with its first rate, and may be renamed: the curves
    // are laid out again only then.
    const std::vector<int> counters = Rates.CountersOf(Keys);
    QStringList names;
    for (int c : counters)
        names << Rates.Names().value(c);
    if (counters != Curves->Counters() || names != Curves->CurveNames()) {
        Curves->ShowCounters(counters, Rates.Names(), Rates.History());
        Legend->ShowCounters(counters, Rates.Names());
    } else {
        Curves->Redraw(Rates.History());
    }
}
