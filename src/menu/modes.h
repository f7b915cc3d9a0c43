#pragma once
// The album's three modes. The popup menu's check items are their one store; the repeat timer
// runs exactly while the repeat mark is set.

#include <QAction>
#include <QTimer>

namespace leafsong {

class Modes {
public:
    Modes();
    Modes(const Modes&) = delete;
    Modes& operator=(const Modes&) = delete;

    bool Loop() const { return mnuLoop.isChecked(); }
    bool Repeat() const { return mnuRepeat.isChecked(); }
    bool Footer() const { return mnuFooter.isChecked(); }

    void SetLoop(bool on) { mnuLoop.setChecked(on); }
    // Sets the repeat mark and starts or stops the repeat timer with it.
    void SetRepeat(bool on);
    void SetFooter(bool on) { mnuFooter.setChecked(on); }

    QAction mnuLoop;
    QAction mnuRepeat;
    QAction mnuFooter;
    QTimer tmrRepeat;
};

}  // namespace leafsong
