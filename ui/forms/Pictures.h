// The program's pictures, drawn at run time: the splash picture, the main window's picture,
// the animation frames and the toolbar images.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "ui/forms/Gdi.h"

namespace Pictures {

inline constexpr int kAnimWidth = 68;
inline constexpr int kAnimHeight = 28;

HBITMAP SplashPicture();    // 420 x 260 pixels
HBITMAP MainPicture();      // 112 x 84 pixels
HBITMAP ArrowPicture();     // 12 x 12 pixels: the arrow beside the active date box
HBITMAP RegionalPicture();  // 32 x 32 pixels: the options window's regional settings
HBITMAP ModemPicture();     // 32 x 32 pixels: the options window's modems
// Pictures 1 to 19: the animation frames; picture 20: the still picture (image index = n - 1).
forms::OwnedImageList AnimationFrames();
// 16 x 16 images, one per toolbar command, in the order of ToolbarImage.
forms::OwnedImageList ToolbarImages();

enum ToolbarImage {
    ImageOpen,
    ImageSetup,
    ImageExit,
    ImageView,
    ImageClear,
    ImageOptimize,
    ImageRepair,
    ImageToday,
    ImageFirst,
    ImageLast,
    ImageHelp,
    ImageSearch,
    ImageAbout,
    ImageSave,
    ImagePrint,
    ImageFontUp,
    ImageFontDown,
    ImageSummary,
    ImageDetails,
    ImageText,
    ImageList,
    ImageCount
};

}  // namespace Pictures
