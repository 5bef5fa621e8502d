#include "binding/OvMenuKeys.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleFactory>

namespace {

// The application's style, but with the menu bar answering a lone Alt, which not every
// style (Fusion among them) does.
class TAltKeyMenuStyle : public QProxyStyle {
public:
    TAltKeyMenuStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void OvReachMenusFromKeyboard(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    // Owned by the window, made after its menu bar: it outlives the bar that uses it.
    auto* style = new TAltKeyMenuStyle;
    style->setParent(window);
    bar->setStyle(style);

    auto* f10 = new QAction(window);
    f10->setShortcut(Qt::Key_F10);
    f10->setShortcutContext(Qt::WindowShortcut);
    window->addAction(f10);
    QObject::connect(f10, &QAction::triggered, bar, [bar] {
        const QList<QAction*> menus = bar->actions();
        if (!menus.isEmpty())
            bar->setActiveAction(menus.first());
    });
}
