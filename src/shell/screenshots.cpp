#include "shell/screenshots.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QSaveFile>

#include "host/paths.h"
#include "shell/main_window.h"
#include "shell/start_up.h"

namespace tov {

namespace {

// A name no other screenshot has: the cartridge, the moment, and a number
// when two are taken within a second.
QString free_name(const QDir& folder) {
    const QString cartridge = QString::fromStdString(cartridge_name());
    const QString moment = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
    QString name = cartridge + "-" + moment + ".png";
    for (int count = 2; folder.exists(name); ++count) {
        name = cartridge + "-" + moment + "-" + QString::number(count) + ".png";
    }
    return name;
}

}  // namespace

QImage current_picture(int width, int height) {
    const uint8_t* picture =
        main_window ? main_window->screen()->machine_frame() : finished_picture();
    const QImage frame(picture, screen_width, screen_height, screen_width * 3,
                       QImage::Format_BGR888);
    return frame.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

result save_screenshot() {
    const QDir folder(QString::fromStdString((program_folder() / "SCREENSHOTS").string()));
    if (!folder.mkpath(".")) {
        return {false,
                "The screenshot folder could not be made: " + folder.absolutePath().toStdString()};
    }
    const QString path = folder.filePath(free_name(folder));
    const int zoom = current_options().zoom;
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) &&
        current_picture(screen_width * zoom, screen_height * zoom).save(&file, "PNG") &&
        file.commit();
    if (!written) {
        return {false, "The screenshot could not be written to " + path.toStdString() + ": " +
                           file.errorString().toStdString()};
    }
    return {true, path.toStdString()};
}

}  // namespace tov
