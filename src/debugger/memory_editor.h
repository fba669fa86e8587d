// The memory editor: one region's bank as rows of 16 bytes in hex and as
// characters, a byte changed by typing over it, and an address to go to.
// What it shows and stores comes from inspect/memory_view.h.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace tov {

// The bytes of one bank of one region: a column per byte of a row, then
// the row's characters; the rows' headers are their addresses.
class memory_table : public QAbstractTableModel {
public:
    explicit memory_table(QObject* parent);

    void show_bank(int region, int bank);
    // Reads every byte again.
    void reread();

    // Called with the reason when a typed byte is refused, or with an
    // empty text when one is stored.
    std::function<void(const QString&)> told;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    int region_ = 0;
    int bank_ = 0;
    int rows_ = 0;
};

class memory_editor : public QWidget {
    Q_OBJECT
public:
    explicit memory_editor(QWidget* parent);

    // Reads the memories again, and the banks the cartridge has; the
    // developer window calls it whenever the machine stops.
    void refresh();

private:
    void choose_region(int region);
    void set_bank_range(int region);
    void go_to();

    QComboBox* region_;
    QSpinBox* bank_;
    QLineEdit* go_to_;
    QLabel* status_;
    QTableView* bytes_;
    memory_table* table_;
};

}  // namespace tov
