#include "binding/OvShowGridLines.h"

#include <QAbstractItemView>

void OvShowGridLines(QAbstractItemView* view) {
    view->setStyleSheet(QStringLiteral("QTreeView::item { border: 1px solid #d0d0d0; }"
                                       "QTreeView::item:selected { background: palette(highlight);"
                                       " color: palette(highlighted-text); }"));
}
