#include "app/pictures.h"

Pictures Pictures::Load() {
    Pictures pictures;
    for (std::size_t i = 0; i < kPictureCount; ++i) {
        pictures.pixmaps_[i].load(QString::fromLatin1(kPictureFiles[i]), "BMP");
    }
    return pictures;
}
