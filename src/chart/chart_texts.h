// What the user is told about the chart's pictures; "%1" is a picture's file.
#pragma once

#include <string_view>

namespace tanu {

inline constexpr std::u16string_view PicturesNotUsedCaption = u"Chart pictures not used";
inline constexpr std::u16string_view PictureTooLargeText =
    u"The picture \"%1\" is not used: it is %2 pixels, and TANU takes at most %3 for it.";
inline constexpr std::u16string_view PictureUnreadableText =
    u"The picture \"%1\" is not used: it could not be read. %2";
inline constexpr std::u16string_view PictureNotAPictureText =
    u"The picture \"%1\" is not used: it is not a picture TANU can read.";

} // namespace tanu
