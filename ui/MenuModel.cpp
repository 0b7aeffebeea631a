#include "MenuModel.h"

namespace kalvo {

TPopupMenu::TPopupMenu(QStringView name, std::span<const TMenuItemSpec> items, QWidget* parent)
    : QMenu(parent), FItems(items)
{
    setObjectName(name.toString());
    std::vector<QMenu*> menus{this}; // the menu at each depth
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TMenuItemSpec& item = items[i];
        menus.resize(static_cast<std::size_t>(item.Depth) + 1);
        QMenu* menu = menus.back();
        QAction* action = nullptr;
        if (item.Command == TMenuCommand::Separator) {
            action = menu->addSeparator();
        } else if (item.Command == TMenuCommand::Submenu) {
            QMenu* submenu = menu->addMenu(item.Caption.toString());
            submenu->setObjectName(item.Name.toString());
            action = submenu->menuAction();
            menus.push_back(submenu);
        } else {
            QString caption = item.Caption.toString();
            // The shortcut is shown after a tab, in German; the window matches the keys itself.
            if (const QString keys = ShortCutToText(item.ShortCut); !keys.isEmpty())
                caption += u'\t' + keys;
            action = menu->addAction(caption);
            action->setCheckable(item.Command == TMenuCommand::Ontop ||
                                 item.Command == TMenuCommand::Tooltips ||
                                 item.Command == TMenuCommand::Gross);
            connect(action, &QAction::triggered, this, [this, i] {
                if (OnItemClick)
                    OnItemClick(FItems[i]);
            });
        }
        action->setObjectName(item.Name.toString());
        action->setData(item.Tag);
        action->setEnabled(item.EnabledAtCreation);
        action->setVisible(item.Visible);
        FActions.push_back(action);
        FSubmenus.push_back(menu == this ? nullptr : menu);
    }
}

QAction* TPopupMenu::Item(QStringView name) const
{
    for (QAction* action : FActions) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

bool TPopupMenu::ItemUsable(int index) const
{
    const auto i = static_cast<std::size_t>(index);
    // An invisible item reports itself disabled; what counts is the item's own enabled state.
    const auto enabled = [](const QAction* a) { return a->isVisible() ? a->isEnabled() : true; };
    return enabled(FActions[i]) && (!FSubmenus[i] || FSubmenus[i]->isEnabled());
}

} // namespace kalvo
