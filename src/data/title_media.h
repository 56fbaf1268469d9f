// The title screen's files: the pictures it cannot start without, the menu
// pictures it replaces by captions, its two sounds and the Help text. They are
// taken relative to the current directory, which is the data folder when the
// program is started with one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cabdrive {

class PictureLoader;

// Shown at random, one or the other; the menu's picture follows a click.
inline constexpr std::string_view titlePictureFiles[] = {"image\\title\\title01.jpg", "image\\title\\title02.jpg"};
inline constexpr std::string_view menuPictureFile = "image\\title\\title2.jpg";

// A picture of the menu, and the caption the title shows in its place when
// the picture cannot be loaded.
struct MenuEntryPicture {
    std::string_view file;
    std::string_view caption;
};
inline constexpr MenuEntryPicture line1Picture{"image\\title\\line01.bmp", "下り線"};
inline constexpr MenuEntryPicture line2Picture{"image\\title\\line02.bmp", "上り線"};
inline constexpr MenuEntryPicture train1Picture{"image\\title\\train1.bmp", "運転開始"};
inline constexpr MenuEntryPicture cursorPicture{"image\\title\\cursor.bmp", "▶"};
inline constexpr MenuEntryPicture menuEntryPictures[] = {line1Picture, line2Picture, train1Picture, cursorPicture};

// Played when there is no opening movie, and when a run starts. A sound that
// cannot be played is skipped in silence.
inline constexpr std::string_view openingSoundFile = "sound\\34109.wav";
inline constexpr std::string_view startSoundFile = "sound\\start.wav";

// The Help window's caption and text.
inline constexpr std::string_view helpTextFile = "operation.dat";

// The start-up message for the first file under `folder` (with its
// separator; empty: the current directory) without which the title would be
// a black screen with nothing to click: the settings file, then the two title
// pictures and the menu's, each of which must decode. Nothing when all are
// there.
std::optional<std::string> startUpRefusal(std::string_view folder, PictureLoader& pictures);

}  // namespace cabdrive
