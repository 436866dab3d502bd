#pragma once
// The pictures of the top bar and the stop button, drawn at run time so the program needs
// no image files.

#include <QIcon>
#include <QPixmap>

namespace kvl {

enum class Picture {
    Connected,    // imgconnect: the two plugs joined
    Disconnected, // imgdisConnect: the two plugs apart
    Connect,
    Setup,
    Download,
    Program,
    LogMessages,
    Chart,
    VersionMaker,
    Close,
    Stop,         // btnAllStop: a red stop sign
};

QPixmap drawPicture(Picture picture, int size);
QIcon pictureIcon(Picture picture, int size = 32);

} // namespace kvl
