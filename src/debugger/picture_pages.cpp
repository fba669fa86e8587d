#include "debugger/picture_pages.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include "inspect/bitmaps.h"
#include "inspect/palette_view.h"
#include "inspect/sprite_view.h"
#include "inspect/tile_view.h"
#include "session/session.h"

namespace tov {

namespace {

constexpr int screen_tab = 0;
constexpr int map_tab = 1;
constexpr int sprite_tab = 3;

QFont fixed_font() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

// A picture on the left at the page's corner, the given panel on its right.
void place_beside(QWidget* page, canvas* picture, QWidget* panel) {
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(panel, 1, Qt::AlignTop);
}

// A "Details" group of read-only fields and display-only check marks.
QGroupBox* detail_group(QWidget* parent, detail_fields& fields, const QStringList& labels,
                        const QStringList& marks) {
    auto* group = new QGroupBox("Details", parent);
    auto* form = new QFormLayout(group);
    for (const QString& label : labels) {
        fields.texts.push_back(add_field(form, label, label));
    }
    for (const QString& label : marks) {
        fields.marks.push_back(add_mark(form, label, label));
    }
    return group;
}

}  // namespace

screen_page::screen_page(QWidget* parent)
    : QWidget(parent),
      canvas_(new canvas(this, QSize(screen_width * 4, screen_height * 4), [this](QPainter& p) {
          if (!shown_.isNull()) {
              p.drawImage(QRect(0, 0, screen_width * 4, screen_height * 4), shown_);
          }
      })) {
    connect(&timer_, &QTimer::timeout, this, &screen_page::tick);
    timer_.start(100);
}

void screen_page::tick() {
    if (current_tab != screen_tab) {
        return;
    }
    shown_ = bitmap_image(finished_picture(), screen_width, screen_height).copy();
    canvas_->update();
}

map_page::map_page(QWidget* parent)
    : QWidget(parent), canvas_(new canvas(this, QSize(512, 512), [](QPainter& p) {
          p.drawImage(QRect(0, 0, 512, 512),
                      bitmap_image(map_bitmap, map_bitmap_width, map_bitmap_height));
      })) {
    canvas_->pointer_moved = [this](QPoint at) { point_at(at); };
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->addWidget(make_details());
    column->addWidget(make_choices());
    place_beside(this, canvas_, panel);
    connect(&timer_, &QTimer::timeout, this, &map_page::tick);
    timer_.start(1);
}

QWidget* map_page::make_details() {
    return detail_group(
        this, details_,
        {"X-Loc", "Y-Loc", "Tile-No", "Attribute", "Map Adresse", "Tile Adresse", "Palette"},
        {"X-Flip", "Y-Flip", "Prioritry"});
}

QWidget* map_page::make_choices() {
    auto* choices = new QWidget(this);
    auto* layout = new QVBoxLayout(choices);
    auto* options = new QGroupBox("Options", choices);
    auto* outline = new QCheckBox("ScrX", options);
    outline->setObjectName("ScrX");
    (new QVBoxLayout(options))->addWidget(outline);
    connect(outline, &QCheckBox::toggled, this, [this](bool on) { options_.outline = on; });
    layout->addWidget(options);
    connect(add_choice(layout, "Color Attribute", {"YES", "B/W", "W/B"}, "colouring"),
            &QButtonGroup::idClicked, this, [this](int id) {
                options_.colouring = static_cast<map_colouring>(id);
                draw_map(options_);
            });
    connect(add_choice(layout, "Tile Source", {"Auto", "8800", "8000"}, "tiles"),
            &QButtonGroup::idClicked, this, [this](int id) {
                options_.tiles = static_cast<tile_source>(id);
                draw_map(options_);
            });
    connect(add_choice(layout, "Map Source", {"Auto", "9800", "9C00"}, "map"),
            &QButtonGroup::idClicked, this, [this](int id) {
                options_.map = static_cast<map_source>(id);
                draw_map(options_);
            });
    return choices;
}

// Three radio buttons in a group box, the first one checked; their ids are
// the positions, which are the choices' values.
QButtonGroup* map_page::add_choice(QLayout* layout, const QString& title, const QStringList& names,
                                   const QString& name) {
    auto* box = new QGroupBox(title, this);
    auto* row = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int id = 0; id < names.size(); ++id) {
        auto* button = new QRadioButton(names[id], box);
        button->setObjectName(name + "_" + names[id]);
        button->setChecked(id == 0);
        group->addButton(button, id);
        row->addWidget(button);
    }
    layout->addWidget(box);
    return group;
}

void map_page::tick() {
    if (current_tab != map_tab) {
        return;
    }
    draw_map(options_);
    canvas_->update();
}

void map_page::point_at(QPoint at) {
    if (current_tab != map_tab) {
        return;
    }
    const map_entry_texts t = describe_map_entry(options_, at.x(), at.y());
    details_.show({t.x_loc, t.y_loc, t.tile_no, t.attribute, t.map_address, t.tile_bank, t.palette},
                  {t.x_flip, t.y_flip, t.priority});
}

tile_page::tile_page(QWidget* parent)
    : QWidget(parent), canvas_(new canvas(this, QSize(512, 384), [](QPainter& p) {
          p.drawImage(QRect(0, 0, 512, 384),
                      bitmap_image(tile_bitmap, tile_bitmap_width, tile_bitmap_height));
      })) {
    canvas_->pointer_moved = [this](QPoint at) {
        const tile_texts t = describe_tile(at.x(), at.y());
        details_.show({t.tile_no, t.tile_address}, {});
    };
    place_beside(this, canvas_, detail_group(this, details_, {"Tile-No", "Tile Address"}, {}));
    // The tiles are drawn on every tick, whichever tab is shown.
    connect(&timer_, &QTimer::timeout, this, [this] {
        draw_tiles();
        canvas_->update();
    });
    timer_.start(1);
}

sprite_page::sprite_page(QWidget* parent)
    : QWidget(parent),
      sheet_(512, snapshot_top + snapshot_bitmap_height, QImage::Format_RGB32),
      canvas_(new canvas(this, sheet_.size(), [this](QPainter& p) { p.drawImage(0, 0, sheet_); })) {
    sheet_.fill(palette().window().color());
    take_snapshot();
    canvas_->pointer_moved = [this](QPoint at) { point_at(at); };
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    auto* columns = new QHBoxLayout;
    for (int k = 0; k < oam_column_count; ++k) {
        auto* text = new QLabel(QString::fromStdString(oam_column_text(k)), panel);
        text->setObjectName(QString("oam_column_%1").arg(k));
        text->setFont(fixed_font());
        text->setAlignment(Qt::AlignTop);
        columns->addWidget(text);
    }
    column->addLayout(columns);
    column->addWidget(make_details());
    place_beside(this, canvas_, panel);
    connect(&timer_, &QTimer::timeout, this, &sprite_page::tick);
    timer_.start(1);
}

QWidget* sprite_page::make_details() {
    return detail_group(this, details_,
                        {"Tile-No", "X-Loc", "Y-Loc", "Attribute", "OAM Adresse", "Palette"},
                        {"X-Flip", "Y-Flip", "Prioritry"});
}

void sprite_page::tick() {
    if (current_tab != sprite_tab) {
        return;
    }
    QPainter painter(&sheet_);
    for (int sprite = 0; sprite < sprite_count; ++sprite) {
        draw_sprite_thumbnail(sprite);
        const page_point at = thumbnail_position(sprite);
        painter.drawImage(QRect(at.x, at.y, thumbnail_width, thumbnail_height),
                          bitmap_image(sprite_bitmap, sprite_bitmap_width, sprite_bitmap_height));
    }
    painter.drawImage(snapshot_left, snapshot_top,
                      bitmap_image(snapshot_bitmap, snapshot_bitmap_width, snapshot_bitmap_height));
    canvas_->update();
}

void sprite_page::point_at(QPoint at) {
    const int sprite = sprite_under_pointer(at.x(), at.y());
    const sprite_texts t = describe_sprite(sprite);
    details_.show({t.sprite_no, t.x_loc, t.y_loc, t.attribute, t.oam_address, t.palette},
                  {t.x_flip, t.y_flip, t.priority});
    take_snapshot();
    mark_sprite_on_snapshot(sprite);
}

palette_page::palette_page(QWidget* parent) : QWidget(parent) {
    auto* text = new QLabel(QString::fromStdString(palette_text()), this);
    text->setObjectName("palettes");
    text->setFont(fixed_font());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text, 0, Qt::AlignTop | Qt::AlignLeft);
}

}  // namespace tov
