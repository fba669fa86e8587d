// The debugger's picture pages: "User Screen", "BG Map", "Tile Info",
// "OAM DATA" and "Palettes". Each shows what the drawing functions put into
// the debugger's bitmaps and forwards its timer and the pointer to them.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "debugger/page_parts.h"
#include "inspect/map_view.h"

class QButtonGroup;
class QLabel;

namespace tov {

// The emulated screen at four times its size, taken every 100 ms while its
// tab is shown.
class screen_page : public QWidget {
    Q_OBJECT
public:
    explicit screen_page(QWidget* parent);

private:
    void tick();

    QTimer timer_;
    QImage shown_;
    canvas* canvas_;
};

// The whole background map at twice its size, redrawn every millisecond
// while its tab is shown, with the entry under the pointer.
class map_page : public QWidget {
    Q_OBJECT
public:
    explicit map_page(QWidget* parent);

private:
    void tick();
    void point_at(QPoint at);
    QWidget* make_details();
    QWidget* make_choices();
    QButtonGroup* add_choice(QLayout* layout, const QString& title, const QStringList& names,
                             const QString& name);

    map_view_options options_;
    QTimer timer_;
    canvas* canvas_;
    detail_fields details_;
};

// Both video RAM banks' tiles at twice their size, redrawn on every tick
// whichever tab is shown.
class tile_page : public QWidget {
    Q_OBJECT
public:
    explicit tile_page(QWidget* parent);

private:
    QTimer timer_;
    canvas* canvas_;
    detail_fields details_;
};

// The sprite attribute memory in hex, the sprites as thumbnails and the
// pointed-at sprite marked on a snapshot of the screen.
class sprite_page : public QWidget {
    Q_OBJECT
public:
    explicit sprite_page(QWidget* parent);

private:
    void tick();
    void point_at(QPoint at);
    QWidget* make_details();

    QTimer timer_;
    QImage sheet_;
    canvas* canvas_;
    detail_fields details_;
};

// The palettes' colour words as they were when the debugger opened.
class palette_page : public QWidget {
    Q_OBJECT
public:
    explicit palette_page(QWidget* parent);
};

}  // namespace tov
