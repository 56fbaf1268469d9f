// The settings file cabdrive.dat: screen geometry, the video folder, the
// display words and the menu captions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cabdrive {

// Filled from cabdrive.dat; every field starts empty or zero.
struct Settings {
    std::int32_t physicsStepDivisor = 0;  // turns brake and air rates into amounts per physics step
    std::int32_t videoFrameFactor = 0;    // highest showable frame = frame count x this
    std::int32_t panelLeft = 0;           // px: x of the staff card on the main window
    std::int32_t viewWidth = 0;           // px
    std::int32_t viewHeight = 0;          // px
    std::int32_t lowerHeight = 0;         // px below the view covered by the closing fade
    std::string videoFolder;              // put in front of a video name, as is

    std::string wordForward, wordNeutral, wordReverse;  // reverser +1, 0, -1
    std::string wordStop, wordPass, wordStop2;           // next-station text by stop kind 0, 1, 2
    std::string wordBrakeReleased;                       // brake handle at 0
    std::string wordPowerOff;                            // power notch 0
    std::string wordApply, wordHold, wordMaintain, wordRemove;  // automatic air brake at -3, -2, -1, -5
    std::string wordHold2;                               // while the holding brake is on
    std::string wordEmergency;                           // brake handle at emergency
    std::string wordConstSpeed;                          // while constant-speed control is on
    std::string wordCars;                                // after the car count
    std::string wordSection;                             // when the signal's indication value changes
    std::string wordStopsA, wordStopsB;                  // the two approaching-a-stop messages
    std::string wordDoorsA, wordDoorsB;                  // after Page Up / Page Down
    std::string wordGear0, wordGear1, wordGearStem;      // diesel gear readout
    std::vector<std::string> infoTexts;                  // [InfoLabel], at most 100

    // Captions of the main menu entries start1, GoTo1, Show1, Controller1 and
    // SaveS1; empty keeps the window's own caption.
    std::string captionStart, captionMove, captionDisplay, captionControl, captionSave;
};

inline constexpr std::size_t infoTextCapacity = 100;

// Reads programFolder + "cabdrive.dat". Any failure (missing file, a number
// that does not convert, an [InfoLabel] list with more than 100 entries or
// without its "#" line) throws LoadError("stringファイルに誤りがあります").
Settings loadSettings(std::string_view programFolder);

// The keys of cabdrive.dat in the order the loader tests them.
std::vector<std::string_view> settingsFileKeys();

}  // namespace cabdrive
