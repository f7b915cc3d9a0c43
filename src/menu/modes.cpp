#include "menu/modes.h"

namespace leafsong {

namespace {
// How often the repeat timer looks whether the music has ended.
constexpr int kRepeatPeriodMs = 50;
}  // namespace

Modes::Modes()
    : mnuLoop(QStringLiteral("图片循环模式(&L)")),
      mnuRepeat(QStringLiteral("音乐循环模式(&R)")),
      mnuFooter(QStringLiteral("显示页序(&F)")) {
    for (QAction* a : {&mnuLoop, &mnuRepeat, &mnuFooter}) {
        a->setCheckable(true);
        a->setChecked(false);
    }
    tmrRepeat.setInterval(kRepeatPeriodMs);
}

void Modes::SetRepeat(bool on) {
    mnuRepeat.setChecked(on);
    if (on) {
        tmrRepeat.start();
    } else {
        tmrRepeat.stop();
    }
}

}  // namespace leafsong
