#include "shell/quick_states.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "host/paths.h"
#include "shell/screenshots.h"

namespace tov {

namespace {

QString thumbnail_path(int slot) {
    return quick_state_path(slot) + ".png";
}

}  // namespace

QString quick_state_path(int slot) {
    const QString name = QString::fromStdString(cartridge_name());
    const QString folder = QString::fromStdString((program_folder() / "STATES").string());
    return QDir(folder).filePath(name + ".ss" + QString::number(slot));
}

quick_slot quick_state_slot(int slot) {
    const QFileInfo state(quick_state_path(slot));
    if (!cartridge_loaded() || !state.isFile()) {
        return {};
    }
    return {true, state.lastModified(), QImage(thumbnail_path(slot))};
}

result save_quick_state(int slot) {
    const QString path = quick_state_path(slot);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return {false, "The folder for quick states could not be made: " +
                           QFileInfo(path).absolutePath().toStdString()};
    }
    const result saved = save_state_file(path.toStdString());
    if (!saved.ok) {
        return saved;
    }
    // The picture is a help for choosing a slot; a slot without one still loads.
    QSaveFile thumbnail(thumbnail_path(slot));
    if (thumbnail.open(QIODevice::WriteOnly) &&
        current_picture(screen_width / 2, screen_height / 2).save(&thumbnail, "PNG")) {
        thumbnail.commit();
    }
    return {};
}

result load_quick_state(int slot) {
    if (!quick_state_slot(slot).used) {
        return {false,
                "Quick state slot " + std::to_string(slot) + " is empty: nothing was loaded."};
    }
    return load_state_file(quick_state_path(slot).toStdString());
}

}  // namespace tov
