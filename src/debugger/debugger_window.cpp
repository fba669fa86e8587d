#include "debugger/debugger_window.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "debugger/cpu_page.h"
#include "debugger/picture_pages.h"
#include "inspect/bitmaps.h"
#include "session/session.h"

namespace tov {

debugger_window::debugger_window(QWidget* parent) : QDialog(parent), tabs_(new QTabWidget(this)) {
    setWindowTitle("TOV Debugger");
    current_tab = 0;
    tabs_->addTab(new screen_page(tabs_), "User Screen");
    tabs_->addTab(new map_page(tabs_), "BG Map");
    tabs_->addTab(new tile_page(tabs_), "Tile Info");
    tabs_->addTab(new sprite_page(tabs_), "OAM DATA");
    tabs_->addTab(new palette_page(tabs_), "Palettes");
    registers_ = new cpu_page(tabs_);
    tabs_->addTab(registers_, "Memory");
    tabs_->setCurrentIndex(0);
    connect(tabs_, &QTabWidget::currentChanged, this, [](int index) { current_tab = index; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

debugger_window::~debugger_window() {
    let_emulation_run();
}

void open_debugger(QWidget* parent) {
    debugger_window window(parent);
    window.exec();
}

}  // namespace tov
