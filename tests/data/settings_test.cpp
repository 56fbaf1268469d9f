// The settings file, the controller map and the reader-loop rules they share.
#include <gtest/gtest.h>

#include "common/load_error.h"
#include "data/mascon_map.h"
#include "data/settings.h"
#include "support/temp_folder.h"

namespace cabdrive {
namespace {

const std::string settingsError = "stringファイルに誤りがあります";

Settings settingsFrom(const std::string& text)
{
    test::TempFolder temp;
    temp.write("cabdrive.dat", text);
    return loadSettings(temp.folder());
}

std::string settingsErrorOf(const std::string& text)
{
    try {
        settingsFrom(text);
    } catch (const LoadError& e) {
        return e.what();
    }
    return "loaded";
}

TEST(Settings, LoadsEveryKeyOfAWindowsAuthoredFile)
{
    const Settings s = loadSettings(std::string(CABDRIVE_TEST_DATA) + "/settings/");
    EXPECT_EQ(s.physicsStepDivisor, 3);
    EXPECT_EQ(s.videoFrameFactor, 1);
    EXPECT_EQ(s.panelLeft, 640);
    EXPECT_EQ(s.viewWidth, 320);
    EXPECT_EQ(s.viewHeight, 240);
    EXPECT_EQ(s.lowerHeight, 120);
    EXPECT_EQ(s.videoFolder, "video\\");
    EXPECT_EQ(s.wordForward, "前");
    EXPECT_EQ(s.wordNeutral, "切");
    EXPECT_EQ(s.wordReverse, "後");
    EXPECT_EQ(s.wordStop, " 停車");
    EXPECT_EQ(s.wordPass, " 通過");
    EXPECT_EQ(s.wordStop2, " 運転停車");
    EXPECT_EQ(s.wordBrakeReleased, "抜取");
    EXPECT_EQ(s.wordPowerOff, "切");
    EXPECT_EQ(s.wordApply, "重なり");
    EXPECT_EQ(s.wordMaintain, "保ち");
    EXPECT_EQ(s.wordRemove, "ユルメ");
    EXPECT_EQ(s.wordHold, "込め");
    EXPECT_EQ(s.wordHold2, "抑速");
    EXPECT_EQ(s.wordEmergency, "非常");
    EXPECT_EQ(s.wordConstSpeed, "定速");
    EXPECT_EQ(s.wordCars, "両");
    EXPECT_EQ(s.wordSection, "閉そく");
    EXPECT_EQ(s.wordStopsA, "停止位置まで");
    EXPECT_EQ(s.wordStopsB, "あと");
    EXPECT_EQ(s.wordDoorsA, "左ドア");
    EXPECT_EQ(s.wordDoorsB, "右ドア");
    EXPECT_EQ(s.wordGear0, "中立");
    EXPECT_EQ(s.wordGear1, "変速");
    EXPECT_EQ(s.wordGearStem, "直結");
    EXPECT_EQ(s.infoTexts, (std::vector<std::string>{"臨時停車", "ドアを開けてください"}));
    EXPECT_EQ(s.captionStart, "運転開始(&S)");
    EXPECT_EQ(s.captionMove, "駅移動(&M)");
    EXPECT_EQ(s.captionDisplay, "表示(&D)");
    EXPECT_EQ(s.captionControl, "コントローラ(&C)");
    EXPECT_EQ(s.captionSave, "保存(&V)");
}

TEST(ReaderLoop, AKeyMatchesOnItsOwnCharactersOnlyAndInColumnOne)
{
    const Settings s = settingsFrom("[Doors] for the door readout\nL\nR\n [Cars]\n両\n[cars]\nx\n");
    EXPECT_EQ(s.wordDoorsA, "L");
    EXPECT_EQ(s.wordDoorsB, "R");
    EXPECT_EQ(s.wordCars, "");  // leading blank: a comment; wrong case: no key
}

TEST(ReaderLoop, KeysComeInAnyOrderAndALaterOccurrenceOverwrites)
{
    const Settings s = settingsFrom("[Cars]\n両\n[Forward]\nF\nremark\n[Cars]\n輌\n");
    EXPECT_EQ(s.wordForward, "F");
    EXPECT_EQ(s.wordCars, "輌");
}

TEST(ReaderLoop, AValueLineStartingWithALaterKeyIsAlsoTakenForThatKey)
{
    // [Neutral] comes after [Forward] in the key order: its line is Forward's
    // value and then starts the [Neutral] key as well.
    const Settings later = settingsFrom("[Forward]\n[Neutral]\nN\n");
    EXPECT_EQ(later.wordForward, "[Neutral]");
    EXPECT_EQ(later.wordNeutral, "N");

    // [Forward] comes before [Neutral]: its line is only Neutral's value.
    const Settings earlier = settingsFrom("[Neutral]\n[Forward]\nF\n");
    EXPECT_EQ(earlier.wordNeutral, "[Forward]");
    EXPECT_EQ(earlier.wordForward, "");
}

TEST(ReaderLoop, TheLineEndingAListIsNoKeyAndTheNextLineIsReadAfresh)
{
    const Settings s = settingsFrom("[InfoLabel]\n臨時\n#\n[Start]\n開始\n[InfoLabel]\n# nothing\n");
    EXPECT_EQ(s.captionStart, "開始");
    EXPECT_TRUE(s.infoTexts.empty());  // the second list replaced the first
}

TEST(Settings, TakesTheFirstFieldOfDispLinesAndNeedsBothNumbersOfTheFirst)
{
    const Settings s = settingsFrom("[Disp]\n3,2\n640, left of the staff card\n320\n240,x\n100\n");
    EXPECT_EQ(s.physicsStepDivisor, 3);
    EXPECT_EQ(s.videoFrameFactor, 2);
    EXPECT_EQ(s.panelLeft, 640);
    EXPECT_EQ(s.viewHeight, 240);
    EXPECT_EQ(s.lowerHeight, 100);
    EXPECT_EQ(settingsErrorOf("[Disp]\n3\n640\n320\n240\n100\n"), settingsError);
    EXPECT_EQ(settingsErrorOf("[Disp]\n3,1\n640\n320\n24O\n100\n"), settingsError);
}

TEST(Settings, ReadsPastTheEndAsEmptyLines)
{
    const Settings missingText = settingsFrom("[Stops]\nあと");
    EXPECT_EQ(missingText.wordStopsA, "あと");
    EXPECT_EQ(missingText.wordStopsB, "");
    EXPECT_EQ(settingsErrorOf("[Disp]\n3,1\n640\n"), settingsError);
}

TEST(Settings, LeavesAbsentKeysEmpty)
{
    const Settings s = settingsFrom("[Forward]\n前\n");
    EXPECT_EQ(s.videoFolder, "");
    EXPECT_EQ(s.viewWidth, 0);
    EXPECT_TRUE(s.infoTexts.empty());
}

TEST(Settings, RefusesAMissingFileAnOpenListAndMoreThanAHundredInfoTexts)
{
    test::TempFolder empty;
    try {
        loadSettings(empty.folder());
        FAIL() << "a missing settings file loaded";
    } catch (const LoadError& e) {
        EXPECT_EQ(e.what(), settingsError + "\nファイル " + empty.folder() + "cabdrive.dat を開けません。");
    }
    EXPECT_EQ(settingsErrorOf("[InfoLabel]\na\nb\n"), settingsError);

    std::string hundred = "[InfoLabel]\n";
    for (int i = 0; i < 100; ++i)
        hundred += "text" + std::to_string(i) + "\n";
    EXPECT_EQ(settingsFrom(hundred + "#\n").infoTexts.size(), 100u);
    EXPECT_EQ(settingsErrorOf(hundred + "one too many\n#\n"), settingsError);
}

MasconMap masconFrom(const std::string& text)
{
    test::TempFolder temp;
    temp.write("mascon.dat", text);
    return loadMasconMap(temp.folder());
}

TEST(MasconMap, StoresLinesUnchangedUpToTheFirstHashLine)
{
    const MasconMap map = masconFrom("P1###\nP2 # \n#\nB1###\n");
    EXPECT_EQ(map.slot(1), "P1###");
    EXPECT_EQ(map.slot(2), "P2 # ");
    EXPECT_EQ(map.slot(3), "");
    EXPECT_EQ(map.slot(4), "");

    const MasconMap none = masconFrom("#P1##\nP2###\n");
    for (std::size_t k = 1; k <= MasconMap::slotCount; ++k)
        EXPECT_EQ(none.slot(k), "") << k;
}

TEST(MasconMap, IgnoresLinesBeyondTheTwentySixSlots)
{
    std::string text;
    for (int i = 1; i <= 30; ++i)
        text += "S" + std::to_string(i) + "\n";
    const MasconMap map = masconFrom(text);
    EXPECT_EQ(map.slot(26), "S26");
    EXPECT_THROW(map.slot(27), std::out_of_range);
}

TEST(MasconMap, AMissingFileIsReportedWithItsPath)
{
    test::TempFolder empty;
    try {
        loadMasconMap(empty.folder());
        FAIL() << "a missing controller map loaded";
    } catch (const LoadError& e) {
        EXPECT_NE(std::string(e.what()).find("mascon.dat"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace cabdrive
