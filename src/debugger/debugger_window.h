// The "TOV Debugger" window: six tabbed pages over the stopped machine.
#pragma once

#include <QDialog>

class QTabWidget;

namespace tov {

class cpu_page;

class debugger_window : public QDialog {
    Q_OBJECT
public:
    // Creates the pages in tab order (the "Memory" page executes one
    // instruction) and shows "User Screen".
    explicit debugger_window(QWidget* parent);

    // Lets a loaded cartridge run again.
    ~debugger_window() override;

    QTabWidget* tabs() const { return tabs_; }
    cpu_page* registers() const { return registers_; }

private:
    QTabWidget* tabs_;
    cpu_page* registers_ = nullptr;
};

// The "&Debug" command's window, run modally; the caller stops the
// emulation before and starts it again after.
void open_debugger(QWidget* parent);

}  // namespace tov
