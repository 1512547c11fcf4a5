#include "framework/ui/qt/MenuView.h"

#include "framework/ui/Application.h"
#include "framework/ui/MenuBar.h"
#include "framework/ui/qt/Bridge.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace fw::detail {
namespace {

QKeySequence ShortcutOf(const MenuItem& item) {
    if (!item.KeyboardShortcut || item.KeyboardShortcut->empty())
        return {};
    QString text = Q(*item.KeyboardShortcut);
    text.replace(QStringLiteral("Cmd"), QStringLiteral("Ctrl"));
    return QKeySequence(text, QKeySequence::PortableText);
}

bool BarEnabled() {
    Application* app = Application::Instance();
    return app && app->GetMenuBar() && app->GetMenuBar()->BarEnabled();
}

void Fire(const std::string& name, MenuItemKind kind) {
    Application* app = Application::Instance();
    if (!app || !BarEnabled())
        return;
    app->UpdateMenuEnabling();
    MenuItem* item = app->GetMenuBar()->_Lookup(name);
    if (!item || !item->Enabled)
        return;
    if (!app->HandleMenuCommand(name) && kind == MenuItemKind::Quit)
        app->Quit();
}

// Shows each item's enabled state from the model while its menu is open; afterwards every action is
// enabled again so that its shortcut reaches Fire, which asks the model.
void Sync(QMenu& menu, bool open) {
    const bool barOn = BarEnabled();
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        MenuItem* item = nullptr;
        if (Application* app = Application::Instance(); app && app->GetMenuBar())
            item = app->GetMenuBar()->_Lookup(action->objectName().toStdString());
        if (item)
            action->setText(Q(item->Text));
        action->setEnabled(!open || (barOn && (!item || item->Enabled)));
    }
}

void Populate(QMenu& menu, const MenuItem& model) {
    for (int i = 0; i < model.Count(); ++i) {
        const MenuItem& item = model.Item(i);
        if (item.IsSeparator()) {
            menu.addSeparator()->setObjectName(Q(item.Name));
            continue;
        }
        if (item.Count() > 0) {
            QMenu* sub = menu.addMenu(Q(item.Text));
            sub->menuAction()->setObjectName(Q(item.Name));
            Populate(*sub, item);
            continue;
        }
        QAction* action = menu.addAction(Q(item.Text));
        action->setObjectName(Q(item.Name));
        action->setShortcut(ShortcutOf(item));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setMenuRole(QAction::NoRole);
        const std::string name = item.Name;
        const MenuItemKind kind = item.Kind();
        QObject::connect(action, &QAction::triggered, action, [name, kind] { Fire(name, kind); });
    }
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] {
        if (Application* app = Application::Instance())
            app->UpdateMenuEnabling();
        Sync(menu, true);
    });
    QObject::connect(&menu, &QMenu::aboutToHide, &menu, [&menu] { Sync(menu, false); });
}

} // namespace

void InstallMenuBar(QMainWindow& host) {
    Application* app = Application::Instance();
    if (!app || !app->GetMenuBar())
        return;
    QMenuBar* bar = host.menuBar();
    bar->setNativeMenuBar(false);
    const MenuBar& model = *app->GetMenuBar();
    for (int i = 0; i < model.Count(); ++i) {
        const MenuItem& menuModel = model.Item(i);
        QMenu* menu = bar->addMenu(Q(menuModel.Text));
        menu->menuAction()->setObjectName(Q(menuModel.Name));
        Populate(*menu, menuModel);
    }
}

} // namespace fw::detail
