#pragma once

#include <QPixmap>
#include <array>
#include <cstddef>

// The twelve pictures, read once at start and shared by both windows.
enum class Picture : std::size_t {
    Help,
    List,
    ListActive,
    Copy,
    Paste,
    Delete,
    ArrowLeft,
    ArrowRight,
    CtrlC,
    CtrlV,
    Return,
    Escape,
};

inline constexpr std::size_t kPictureCount = 12;

// Where each picture is read from, relative to the current directory, in loading order.
inline constexpr std::array<const char*, kPictureCount> kPictureFiles = {
    "Assets/help.bmp",   "Assets/list.bmp",   "Assets/list_active.bmp", "Assets/copy.bmp",
    "Assets/paste.bmp",  "Assets/delete.bmp", "Assets/arrow_left.bmp",  "Assets/arrow_right.bmp",
    "Assets/STRG+C.bmp", "Assets/STRG+V.bmp", "Assets/Return.bmp",      "Assets/ESC.bmp",
};

class Pictures {
  public:
    // Reads every picture file in table order. A file that is missing or not a bitmap gives an
    // empty picture, and the places that show it stay blank.
    static Pictures Load();

    const QPixmap& operator[](Picture which) const {
        return pixmaps_[static_cast<std::size_t>(which)];
    }

  private:
    std::array<QPixmap, kPictureCount> pixmaps_;
};
