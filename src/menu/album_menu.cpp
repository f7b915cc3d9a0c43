#include "menu/album_menu.h"

#include <QAction>

#include "core/texts.h"

namespace leafsong {

namespace {

constexpr char kMenuTexts[] = "leafsong::AlbumMenu";

struct Item {
    const char16_t* caption;  // null: a separator
    Command command;
};

constexpr Item kSeparator{nullptr, Command::Exit};
// Top to bottom; "&" marks the access key.
constexpr Item kItems[] = {
    {u"选择图片文件夹(&P)", Command::ChooseFolder},
    {u"选择背景音乐(&M)", Command::ChooseMusic},
    kSeparator,
    {u"图片循环模式(&L)", Command::ToggleLoop},
    {u"音乐循环模式(&R)", Command::ToggleRepeat},
    kSeparator,
    {u"显示页序(&F)", Command::ToggleFooter},
    {u"保持比例(&K)", Command::ToggleProportions},
    kSeparator,
    {u"帮助(&H)", Command::ShowGuide},
    kSeparator,
    {u"退出(&x)", Command::Exit},
};

}  // namespace

QString FolderTitle() {
    return UserText(kMenuTexts, u"选择图片文件夹：");
}

bool Modes::*ModeOf(Command command) {
    switch (command) {
        case Command::ToggleLoop:
            return &Modes::loop;
        case Command::ToggleRepeat:
            return &Modes::repeat;
        case Command::ToggleFooter:
            return &Modes::footer;
        case Command::ToggleProportions:
            return &Modes::proportions;
        default:
            return nullptr;
    }
}

AlbumMenu::AlbumMenu(const std::function<void(Command)>& run, const Modes& modes)
    : modes_(modes), mnuAlbum_(UserText(kMenuTexts, u"相册(&)"), &frmMenu_) {
    for (const Item& item : kItems) {
        if (!item.caption) {
            mnuAlbum_.addSeparator();
            continue;
        }
        QAction* action = mnuAlbum_.addAction(UserText(kMenuTexts, item.caption));
        action->setData(static_cast<int>(item.command));
        action->setCheckable(ModeOf(item.command) != nullptr);
        QObject::connect(action, &QAction::triggered, &mnuAlbum_,
                         [run, command = item.command] { run(command); });
    }
    QObject::connect(&mnuAlbum_, &QMenu::aboutToShow, &mnuAlbum_, [this] { ShowModes(); });
    ShowModes();
}

void AlbumMenu::ShowModes() {
    for (QAction* action : mnuAlbum_.actions()) {
        if (bool Modes::*mode = ModeOf(static_cast<Command>(action->data().toInt()));
            mode && !action->isSeparator()) {
            action->setChecked(modes_.*mode);
        }
    }
}

void AlbumMenu::Popup(const QPoint& global) {
    mnuAlbum_.popup(global);
}

}  // namespace leafsong
