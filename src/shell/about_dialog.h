// The About box.
#pragma once

#include <QDialog>

namespace tov {

class about_dialog : public QDialog {
    Q_OBJECT
public:
    explicit about_dialog(QWidget* parent);
};

}  // namespace tov
