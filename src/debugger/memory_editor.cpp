#include "debugger/memory_editor.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "inspect/memory_view.h"

namespace tov {

namespace {

constexpr int text_column = row_bytes;

memory_row row_of(int region, int bank, int row) {
    return memory_row_at(region, bank, row * row_bytes);
}

// The longest address a row header shows: a bank and an address.
const QString longest_address = "00:0000";

// A byte's editor. Its two digits stay selected until something is typed,
// so a click into the field does not put the cursor between them and the
// digits typed replace the byte.
class byte_field : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        if (!isModified()) {
            selectAll();
        }
    }
};

class byte_delegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        return new byte_field(parent);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        static_cast<QLineEdit*>(editor)->selectAll();
    }
};

// The size of a cell showing `text`, as the view's delegate sizes it, with
// its grid lines.
QSize cell_size(const QTableView* view, const QString& text) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = text;
    const int grid_line = view->showGrid() ? 1 : 0;
    return view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, {}, view) +
           QSize(grid_line, grid_line);
}

// Each column as wide as its text, the row headers as wide as the longest
// address, the rows a line high; the view no narrower than all of it, so
// that a row always shows whole.
void fit_to_text(QTableView* view) {
    const QSize byte = cell_size(view, "00");
    const int text_width = cell_size(view, QString(row_bytes, 'W')).width();
    QHeaderView* columns = view->horizontalHeader();
    columns->setMinimumSectionSize(byte.width());
    columns->setDefaultSectionSize(byte.width());
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->resizeSection(text_column, text_width);

    QHeaderView* rows = view->verticalHeader();
    QFont bold = rows->font();  // the current row's address is shown in bold
    bold.setBold(true);
    const int address_width = QFontMetrics(bold).horizontalAdvance(longest_address) +
                              2 * view->style()->pixelMetric(QStyle::PM_HeaderMargin) + 1;
    rows->setFixedWidth(address_width);
    rows->setMinimumSectionSize(byte.height());
    rows->setDefaultSectionSize(byte.height());
    rows->setSectionResizeMode(QHeaderView::Fixed);

    view->setMinimumWidth(address_width + row_bytes * byte.width() + text_width +
                          view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                          2 * view->frameWidth());
}

}  // namespace

memory_table::memory_table(QObject* parent) : QAbstractTableModel(parent) {}

void memory_table::show_bank(int region, int bank) {
    const region_info info = region_of(region);
    const int rows = info.bank_count > 0 ? info.size / row_bytes : 0;
    if (region == region_ && bank == bank_ && rows == rows_) {
        if (rows_ > 0) {
            emit dataChanged(index(0, 0), index(rows_ - 1, text_column));
            emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
        }
        return;
    }
    beginResetModel();
    region_ = region;
    bank_ = bank;
    rows_ = rows;
    endResetModel();
}

int memory_table::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int memory_table::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : text_column + 1;
}

QVariant memory_table::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const memory_row row = row_of(region_, bank_, index.row());
    if (index.column() == text_column) {
        return QString::fromStdString(row.characters);
    }
    return QString::fromStdString(row.bytes[index.column()]);
}

QVariant memory_table::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return QString::fromStdString(row_of(region_, bank_, section).address);
    }
    return section == text_column ? QString("Text") : QString::number(section, 16).toUpper();
}

Qt::ItemFlags memory_table::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() < text_column ? flags | Qt::ItemIsEditable : flags;
}

bool memory_table::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() >= text_column) {
        return false;
    }
    const hex_entry entry = parse_byte_entry(value.toString().toStdString());
    if (!entry.ok) {
        told(QString::fromStdString(entry.message));
        return false;
    }
    const int32_t offset = index.row() * row_bytes + index.column();
    if (!store_byte(region_, bank_, offset, static_cast<uint8_t>(entry.value))) {
        return false;
    }
    told({});
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), text_column));
    return true;
}

memory_editor::memory_editor(QWidget* parent)
    : QWidget(parent),
      region_(new QComboBox(this)),
      bank_(new QSpinBox(this)),
      go_to_(new QLineEdit(this)),
      status_(new QLabel(this)),
      bytes_(new QTableView(this)),
      table_(new memory_table(this)) {
    region_->setObjectName("region");
    bank_->setObjectName("bank");
    go_to_->setObjectName("go_to");
    status_->setObjectName("status");
    bytes_->setObjectName("bytes");
    for (int region = 0; region < memory_region_count; ++region) {
        region_->addItem(region_of(region).name);
    }
    bank_->setDisplayIntegerBase(16);
    go_to_->setPlaceholderText("Go to");
    bytes_->setModel(table_);
    bytes_->setItemDelegate(new byte_delegate(bytes_));
    bytes_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    fit_to_text(bytes_);

    auto* controls = new QHBoxLayout;
    controls->addWidget(region_);
    controls->addWidget(new QLabel("Bank", this));
    controls->addWidget(bank_);
    controls->addWidget(go_to_);
    controls->addWidget(status_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(bytes_);

    table_->told = [this](const QString& reason) { status_->setText(reason); };
    connect(region_, &QComboBox::currentIndexChanged, this, &memory_editor::choose_region);
    connect(bank_, &QSpinBox::valueChanged, this,
            [this](int bank) { table_->show_bank(region_->currentIndex(), bank); });
    connect(go_to_, &QLineEdit::returnPressed, this, &memory_editor::go_to);
    choose_region(region_->currentIndex());
}

void memory_editor::refresh() {
    set_bank_range(region_->currentIndex());
    table_->show_bank(region_->currentIndex(), bank_->value());
}

// A region opens at the bank in view at its addresses, or its first.
void memory_editor::choose_region(int region) {
    set_bank_range(region);
    {
        const QSignalBlocker quiet(bank_);
        const int in_view = bank_in_view(region);
        bank_->setValue(in_view <= bank_->maximum() ? in_view : bank_->minimum());
    }
    table_->show_bank(region, bank_->value());
}

// The bank box keeps its value when it stays in range; it is greyed when
// there is no bank to choose.
void memory_editor::set_bank_range(int region) {
    const region_info info = region_of(region);
    const QSignalBlocker quiet(bank_);
    bank_->setRange(info.first_bank, info.first_bank + std::max(info.bank_count, 1) - 1);
    bank_->setEnabled(info.bank_count > 1);
}

void memory_editor::go_to() {
    const hex_entry entry = parse_hex_entry(go_to_->text().toStdString(), 0xFFFF);
    if (!entry.ok) {
        status_->setText(QString::fromStdString(entry.message));
        return;
    }
    const int region = region_at(entry.value);
    if (region < 0) {
        const QString address = QString::number(entry.value, 16).toUpper().rightJustified(4, '0');
        status_->setText(QString("No region holds %1.").arg(address));
        return;
    }
    region_->setCurrentIndex(region);
    const int32_t offset = entry.value - region_of(region).first_address;
    const QModelIndex cell = table_->index(offset / row_bytes, offset % row_bytes);
    if (!cell.isValid()) {
        status_->setText(QString("%1 has no banks on this cartridge.").arg(region_of(region).name));
        return;
    }
    status_->clear();
    bytes_->setCurrentIndex(cell);
    bytes_->scrollTo(cell, QAbstractItemView::PositionAtTop);
}

}  // namespace tov
