// The vehicle file: values and their kinds, section labels, lists, capacities,
// picture strips and the checks after loading.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/load_error.h"
#include "data/vehicle_file.h"
#include "support/fake_picture_loader.h"
#include "support/temp_folder.h"

namespace cabdrive {
namespace {

const std::string fixtures = CABDRIVE_TEST_DATA;

std::string vehicleError(std::string_view label)
{
    return "車両ファイルに誤りがあります" + std::string(label);
}

VehicleSpec vehicleFrom(const std::string& text, test::FakePictureLoader& pictures)
{
    test::TempFolder temp;
    temp.write("train.dat", text);
    return loadVehicle(temp.folder(), "train.dat", pictures);
}

VehicleSpec vehicleFrom(const std::string& text)
{
    test::FakePictureLoader pictures;
    return vehicleFrom(text, pictures);
}

std::string loadErrorOf(std::string_view folder, std::string_view fileName)
{
    test::FakePictureLoader pictures;
    try {
        loadVehicle(folder, fileName, pictures);
    } catch (const LoadError& e) {
        return e.what();
    }
    return "loaded";
}

std::string errorOf(const std::string& text)
{
    test::TempFolder temp;
    temp.write("train.dat", text);
    return loadErrorOf(temp.folder(), "train.dat");
}

// `count` copies of `row`, each followed by a line end.
std::string repeated(const std::string& row, int count)
{
    std::string rows;
    for (int i = 0; i < count; ++i)
        rows += row + "\n";
    return rows;
}

TEST(VehicleFile, FullFileLoadsEveryValueIntoItsField)
{
    test::FakePictureLoader pictures;
    pictures.add("cabsignal.bmp", 240, 20);
    pictures.add("notch_p.bmp", 240, 20);
    pictures.add("notch_b.bmp", 369, 21);
    pictures.add("gear.bmp", 88, 24);
    pictures.add("lever.bmp", 90, 25);
    pictures.add("digits.bmp", 160, 24);
    const std::string folder = fixtures + "/vehicle/";
    const VehicleSpec v = loadVehicle(folder, "full.dat", pictures);

    EXPECT_EQ(v.handleType, 1);
    EXPECT_EQ(v.brakeNotches, 8);
    EXPECT_EQ(v.powerNotches, 5);
    EXPECT_EQ(v.constNotch, 3);
    EXPECT_EQ(v.constMinSpeed, 25);
    EXPECT_EQ(v.brakeRateA.raw, 12345);
    EXPECT_EQ(v.brakeRateC.raw, -20000);
    // 1.23456 through the four-decimal form: 1.2346, as a binary float.
    EXPECT_EQ(v.brakeRateAlt, 12346.0L / 10000.0L);
    EXPECT_EQ(v.eBrakeCurr, 400);
    EXPECT_EQ(v.highAirPress, 880);
    EXPECT_EQ(v.engineType, 1);
    EXPECT_EQ(v.brakeTypeAlt, 0);
    EXPECT_EQ(v.massMotor.raw, 325000);
    EXPECT_EQ(v.massCab.raw, 271250);
    EXPECT_EQ(v.trainMass.raw, 1420001);
    EXPECT_EQ(v.bcSelect, 1);

    ASSERT_EQ(v.soundBrakeBK.size(), 8u);
    EXPECT_EQ(v.soundBrakeBK[7], 18);
    EXPECT_EQ(v.soundBrakeBA[0], 31);
    ASSERT_EQ(v.soundPowerPR.size(), 5u);
    EXPECT_EQ(v.soundPowerPR[4], 55);
    EXPECT_EQ(v.soundEb, 60);
    EXPECT_EQ(v.soundEb2, 0);
    EXPECT_EQ(v.soundHorn4e, 74);
    EXPECT_EQ(v.horn4Time.raw, 150000);
    EXPECT_EQ(v.soundAtsWarn, 85);
    EXPECT_EQ(v.gearType, 1);

    ASSERT_EQ(v.switchSounds.size(), 3u);
    EXPECT_EQ(v.switchSounds[2].speed, 999);
    EXPECT_EQ(v.switchSounds[2].channel, 92);
    ASSERT_EQ(v.notchTable.size(), 3u);
    EXPECT_EQ(v.notchTable[1].accelStart, 3.2L);
    EXPECT_EQ(v.notchTable[2].curveSpeed, 80);
    EXPECT_EQ(v.notchTable[2].curveExponent, 0.99L);
    EXPECT_EQ(v.currentPHead1, 600);
    EXPECT_EQ(v.currentPHead3, 35.5L);
    ASSERT_EQ(v.currentP.size(), 2u);
    EXPECT_EQ(v.currentP[0].currentConstant, 25000.5L);
    EXPECT_EQ(v.currentP[0].speedOffset, -2.5L);
    ASSERT_EQ(v.brakeCurr.size(), 3u);
    EXPECT_EQ(v.brakeCurr[2], 300);
    EXPECT_EQ(v.currentB[1].divisor, 0.07L);
    EXPECT_EQ(v.currentB[1].spare, 2);
    ASSERT_EQ(v.powerModes.size(), 2u);
    EXPECT_EQ(v.powerModes[1].name, "並列");
    EXPECT_EQ(v.powerModes[1].gearText, "弱め界磁");
    ASSERT_EQ(v.engineSound1.size(), 2u);
    EXPECT_EQ(v.engineSound1[1].activity, 1);
    EXPECT_EQ(v.engineSound1[1].speeds[2], 90.0L);
    EXPECT_EQ(v.engineSound1[1].frequencyRatios[0], 0.6L);
    EXPECT_EQ(v.engineSound1[1].volumePercents[2], 90.0L);
    EXPECT_EQ(v.engineSound2[3], 96);
    ASSERT_EQ(v.engineSound3.size(), 1u);
    EXPECT_EQ(v.engineSound3[0].integers[1], 5);
    EXPECT_EQ(v.engineSound3[0].decimals[5], 6.5L);
    ASSERT_EQ(v.driveSounds.size(), 3u);
    EXPECT_EQ(v.driveSounds[2], "run2.wav");

    EXPECT_EQ(v.clock.handLength, 22);
    EXPECT_EQ(v.panel2.file, "panel_night.bmp");
    EXPECT_EQ(v.panel2.y, 241);
    EXPECT_EQ(v.lampDoor.file, "door.bmp");
    EXPECT_EQ(v.lampG.file, "g.bmp");
    EXPECT_EQ(v.lampStop.y, 269);
    EXPECT_EQ(v.needleSpeed.offsetDeg, -135);
    EXPECT_EQ(v.needleSpeed.degPerUnit, 2.25L);
    EXPECT_EQ(v.needleSpeed.degPerUnitLow, 1.5L);
    EXPECT_EQ(v.needleMr.offsetDeg, -124);
    EXPECT_EQ(v.needleI.currentAbs, 1);
    EXPECT_EQ(v.needleMrLinear.baseY, 307);
    EXPECT_EQ(v.needleMrLinear.pixelsPerKpa, 0.0625L);

    EXPECT_EQ(v.lampSignal.patternWidth, 40);
    ASSERT_EQ(v.cabSignalCodes.size(), 3u);
    EXPECT_EQ(v.cabSignalCodes[2], 45);
    EXPECT_EQ(v.notchImageB.patternHeight, 21);
    ASSERT_TRUE(v.notchImageB.picture);
    EXPECT_EQ(v.notchImageB.picture->width, 369);
    EXPECT_FALSE(v.notchImageP2.picture);
    EXPECT_EQ(v.notchImageP2.x, 302);
    ASSERT_TRUE(v.digiSpeed.picture);
    EXPECT_EQ(v.digiSpeed.picture->height, 24);
    ASSERT_EQ(v.otherPictures.size(), 2u);
    EXPECT_EQ(v.otherPictures[1].file, "plate.bmp");
    EXPECT_EQ(v.otherPictures[1].y, 411);

    // Strip pictures come from the vehicle folder, in key order; nothing else
    // is loaded here.
    const std::vector<std::string> requested = {folder + "cabsignal.bmp", folder + "notch_p.bmp", folder + "notch_b.bmp",
                                                folder + "gear.bmp",      folder + "lever.bmp",   folder + "digits.bmp"};
    EXPECT_EQ(pictures.requested, requested);
}

TEST(VehicleFile, LaterOccurrenceOfAKeyOverwritesAndRestartsItsList)
{
    const VehicleSpec v = vehicleFrom("[Brake]\n5\n[DriveSound]\na.wav\nb.wav\n#\n"
                                      "[Panel]\np1.bmp\n1\n2\n[Brake]\n7\n[DriveSound]\nc.wav\n#\n[Panel]\np2.bmp\n3\n4\n");
    EXPECT_EQ(v.brakeNotches, 7);
    ASSERT_EQ(v.driveSounds.size(), 1u);
    EXPECT_EQ(v.driveSounds[0], "c.wav");
    EXPECT_EQ(v.panel.file, "p2.bmp");
    EXPECT_EQ(v.panel.x, 3);
}

TEST(VehicleFile, DefaultTrainWithoutFolderIsOpenedFromTheCurrentDirectory)
{
    test::TempFolder temp;
    temp.write("default.dat", "[Power]\n4\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(temp.path());
    test::FakePictureLoader pictures;
    std::string error;
    VehicleSpec v;
    try {
        v = loadVehicle("", "default.dat", pictures);
    } catch (const LoadError& e) {
        error = e.what();
    }
    std::filesystem::current_path(before);
    EXPECT_EQ(error, "");
    EXPECT_EQ(v.powerNotches, 4);
}

TEST(VehicleLabels, ErrorsNameTheSectionLabelInForce)
{
    EXPECT_EQ(loadErrorOf(fixtures + "/vehicle/", "absent.dat"),
              vehicleError("- 列車の基本設定") + "\nファイル " + fixtures + "/vehicle/absent.dat を開けません。");
    EXPECT_EQ(errorOf("[Handle]\none\n"), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(errorOf("[Mt]\n3x\n"), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(errorOf("[Clock]\n1\n2\n"), vehicleError("- アナログ時計"));
    EXPECT_EQ(errorOf("[Panel]\npanel.bmp\nleft\n0\n"), vehicleError("- 運転台パネル"));
    EXPECT_EQ(errorOf("[Panel2]\npanel.bmp\n0\n"), vehicleError("- 運転台パネル"));
    EXPECT_EQ(errorOf("[Lamp_Door]\ndoor.bmp\n0\n"), vehicleError("- 運転台パネル2"));
    EXPECT_EQ(errorOf("[Lamp_ATSP2]\nx.bmp\n0\n"), vehicleError("- 運転台パネル2"));
    EXPECT_EQ(errorOf("[Lamp_G]\ng.bmp\n0\n"), vehicleError("- 運転台パネル3"));
    EXPECT_EQ(errorOf("[Needle_Speed]\ns.bmp\n1\n2\n3\n4\n5\n6\n"), vehicleError("- 速度計"));
    EXPECT_EQ(errorOf("[Needle_BC_L]\nb.bmp\n1\n2\nsteep\n"), vehicleError("- BC圧力計（リニア）"));
    EXPECT_EQ(errorOf("[Needle_I]\ni.bmp\n1\n2\n3\n4\n5\n6\n"), vehicleError("- 電流計"));
    EXPECT_EQ(errorOf("[CurrentP]\n600\n3\n"), vehicleError("[CurrentP]"));
    // The two numbers nothing uses must still be numbers.
    EXPECT_EQ(errorOf("[Needle_BP]\nb.bmp\n1\n2\nx\n4\n5\n6\n"), vehicleError("- BP圧力計"));
    // A list key's label lasts only until the next line starts a new pass.
    EXPECT_EQ(errorOf("[Others]\n#\n[Power]\nfour\n"), vehicleError("- 列車の基本設定"));
}

TEST(VehicleValues, EachKeyReadsItsOwnNumberKind)
{
    EXPECT_EQ(vehicleFrom("[BrakeRate2]\n0.00005\n").brakeRateAlt, 0.0L);  // a tie: to even
    EXPECT_EQ(vehicleFrom("[BrakeRate2]\n0.00015\n").brakeRateAlt, 2.0L / 10000.0L);
    EXPECT_EQ(vehicleFrom("[Sound_Horn4]\n1\n2\n3\n4\n5\n30\n").horn4Time, fixed4::fromInt(30));
    EXPECT_EQ(errorOf("[Sound_Horn4]\n1\n2\n3\n4\n5\n1.5\n"), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(errorOf("[Power]\n4.0\n"), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(vehicleFrom("[Tons]\n0.12345\n").trainMass.raw, 1234);
    // A row line of a list is one whole value, not a comma field.
    EXPECT_EQ(errorOf("[BrakeCurr]\n100,200\n#\n"), vehicleError("[BrakeCurr]"));
    EXPECT_EQ(errorOf("[EngineRate]\n35\n#\n"), vehicleError("- 列車の基本設定"));
}

TEST(VehicleValues, SoundEbSecondLineIsANumberOrASemicolonRemark)
{
    const VehicleSpec remark = vehicleFrom("[Sound_EB]\n12\n;none\n");
    EXPECT_EQ(remark.soundEb, 12);
    EXPECT_EQ(remark.soundEb2, 0);
    EXPECT_EQ(vehicleFrom("[Sound_EB]\n12\n40\n").soundEb2, 40);
    EXPECT_EQ(errorOf("[Sound_EB]\n12\n#none\n"), vehicleError("- 列車の基本設定"));
}

TEST(VehicleValues, GearTypeTakesOnlyTheExactWordsATAndMT)
{
    EXPECT_EQ(vehicleFrom("[Gear_Type]\nMT\n").gearType, 1);
    EXPECT_EQ(vehicleFrom("[Gear_Type]\nMT\n[Gear_Type]\nAT\n").gearType, 0);
    EXPECT_EQ(vehicleFrom("[Gear_Type]\nMT\n[Gear_Type]\nat\n").gearType, 1);
    EXPECT_EQ(vehicleFrom("[Gear_Type]\nMT\n[Gear_Type]\nAT \n").gearType, 1);
    // At the end of the file the missing line reads as empty text.
    EXPECT_EQ(vehicleFrom("[Gear_Type]\nMT\n[Gear_Type]").gearType, 1);
}

TEST(VehicleValues, MissingLinesPastTheEndReadAsEmpty)
{
    test::FakePictureLoader pictures;
    const VehicleSpec v = vehicleFrom("[NotchImageP]\n1\n2\n3\n4", pictures);
    EXPECT_EQ(v.notchImageP.patternHeight, 4);
    EXPECT_EQ(v.notchImageP.file, "");
    EXPECT_TRUE(pictures.requested.empty());
    EXPECT_EQ(errorOf("[MaxSpeed]\n"), vehicleError("- 列車の基本設定"));
}

TEST(VehicleNotchSounds, ReadAsManyLinesAsTheNotchCountSoFar)
{
    // Before [Brake] the count is 0: the key reads nothing and its lines
    // are skipped like remarks.
    const VehicleSpec early = vehicleFrom("[Sound_BK]\n91\n92\n[Brake]\n2\n");
    EXPECT_EQ(early.soundBrakeBK.size(), 0u);
    EXPECT_EQ(early.brakeNotches, 2);

    const VehicleSpec v = vehicleFrom("[Brake]\n2\n[Power]\n3\n[Sound_BK]\n5\n6\n[Sound_PA]\n7\n8\n9\n");
    ASSERT_EQ(v.soundBrakeBK.size(), 2u);
    EXPECT_EQ(v.soundBrakeBK[1], 6);
    ASSERT_EQ(v.soundPowerPA.size(), 3u);
    EXPECT_EQ(v.soundPowerPA[2], 9);

    EXPECT_EQ(vehicleFrom("[Power]\n14\n[Sound_PA]\n" + repeated("1", 14)).soundPowerPA.size(), 14u);
    // More notches than a list holds is refused before any line is read.
    EXPECT_EQ(errorOf("[Power]\n14\n[Sound_PR]\n" + repeated("1", 14)), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(errorOf("[Brake]\n12\n[Sound_BK]\n" + repeated("1", 12)), vehicleError("- 列車の基本設定"));
}

TEST(VehicleNotches, NotchAndEngineListsCheckTheEngineTypeReadSoFar)
{
    const std::string notchRow = "3\n2.5\n40\n70\n0.97\n0\n";
    const std::string engineRow = "0\n15\n40\n1500\n1200\n600\n";
    EXPECT_EQ(errorOf("[Notch]\n" + notchRow + "#\n[Engine_Type]\n1\n"), "動力が気動車なのにNotch指定があります");
    EXPECT_EQ(vehicleFrom("[Engine_Type]\n1\n[Notch]\n" + notchRow + "#\n").notchTable.size(), 1u);
    EXPECT_EQ(errorOf("[Engine_Type]\n1\n[Engine]\n" + engineRow + "#\n"), "動力が電車なのにEngine指定があります");
    const VehicleSpec diesel = vehicleFrom("[Engine]\n" + engineRow + engineRow + "#\n");
    ASSERT_EQ(diesel.engineTable.size(), 2u);
    EXPECT_EQ(diesel.engineTable[1].speedHigh, 40);
    EXPECT_EQ(diesel.engineTable[1].effortHigh, 600.0L);
}

TEST(VehicleNotches, AnyChangeOfGroupValueOpensTheNextGroup)
{
    std::string rows;
    for (int group : {0, 0, 1, 1, 1, 3})
        rows += std::to_string(group + 1) + "\n2\n40\n70\n0.97\n" + std::to_string(group) + "\n";
    const VehicleSpec v = vehicleFrom("[Engine_Type]\n1\n[Notch]\n" + rows + "#\n");
    ASSERT_EQ(v.groupStart.size(), 3u);
    EXPECT_EQ(v.groupStart[0], 0);
    EXPECT_EQ(v.groupStart[1], 2);
    EXPECT_EQ(v.groupStart[2], 5);
    // Rows stay in file order from index 0.
    ASSERT_EQ(v.notchTable.size(), 6u);
    EXPECT_EQ(v.notchTable[0].accelStart, 1.0L);
    EXPECT_EQ(v.notchTable[5].accelStart, 4.0L);
    EXPECT_EQ(v.notchTable[5].notchGroup, 3);

    // A group value other than 0 in the first row opens group 1 at row 0.
    const VehicleSpec shifted = vehicleFrom("[Engine_Type]\n1\n[Notch]\n1\n2\n40\n70\n0.97\n2\n#\n");
    ASSERT_EQ(shifted.groupStart.size(), 2u);
    EXPECT_EQ(shifted.groupStart[1], 0);
}

TEST(VehicleLists, ListLeftOpenAtTheEndOfTheFileIsRefused)
{
    EXPECT_EQ(errorOf("[DriveSound]\na.wav\nb.wav\n"), vehicleError("[DriveSound]"));
    EXPECT_EQ(errorOf("[SwitchSound]\n1,2,3\n"), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(errorOf("[Engine_Type]\n1\n[Notch]\n3\n2.5\n40\n"), vehicleError("[Notch]"));
    EXPECT_EQ(errorOf("[Lamp_signal]\n1\n2\n3\n4\n\n5\n"), vehicleError("[Lamp_signal]"));
}

TEST(VehicleLists, TablesRefuseRowsBeyondTheirCapacity)
{
    const std::string notchRow = "3\n2.5\n40\n70\n0.97\n0\n";
    std::string notches = "[Engine_Type]\n1\n[Notch]\n";
    for (int i = 0; i < 11; ++i)
        notches += notchRow;
    EXPECT_EQ(vehicleFrom(notches + "#\n").notchTable.size(), 11u);
    EXPECT_EQ(errorOf(notches + notchRow + "#\n"), vehicleError("[Notch]"));

    const std::string signal = "[Lamp_signal]\n1\n2\n3\n4\n\n";
    EXPECT_EQ(vehicleFrom(signal + repeated("5", 12) + "#\n").cabSignalCodes.size(), 12u);
    EXPECT_EQ(errorOf(signal + repeated("5", 13) + "#\n"), vehicleError("[Lamp_signal]"));
    EXPECT_EQ(errorOf(signal + repeated("5", 12) + "\n#\n"), vehicleError("[Lamp_signal]"));

    // Every running sound takes one of the 100 waves.
    EXPECT_EQ(vehicleFrom("[DriveSound]\n" + repeated("run.wav", 100) + "#\n").driveSounds.size(), 100u);
    EXPECT_EQ(errorOf("[DriveSound]\n" + repeated("run.wav", 101) + "#\n"), vehicleError("[DriveSound]"));
    EXPECT_EQ(errorOf("[PowerMode]\n" + repeated("a,b", 11) + "#\n"), vehicleError("[PowerMode]"));
}

TEST(VehicleLists, EmptyCabSignalLineTakesARowAndKeepsItsCode)
{
    const VehicleSpec v = vehicleFrom("[Lamp_signal]\n1\n2\n3\n4\n\n10\n20\n30\n#\n"
                                      "[Lamp_signal]\n1\n2\n3\n4\n\n70\n\n90\n\n#\n");
    ASSERT_EQ(v.cabSignalCodes.size(), 4u);
    EXPECT_EQ(v.cabSignalCodes[0], 70);
    EXPECT_EQ(v.cabSignalCodes[1], 20);
    EXPECT_EQ(v.cabSignalCodes[2], 90);
    EXPECT_EQ(v.cabSignalCodes[3], 0);
}

TEST(VehiclePictures, StripPictureIsLoadedAtOnceOrRefusedWithItsKey)
{
    test::FakePictureLoader pictures;
    pictures.add("Notch.bmp", 80, 8);
    const VehicleSpec v = vehicleFrom("[NotchImageP]\n1\n2\n16\n8\nsub\\Notch.bmp\n[NotchImageB]\n3\n4\n16\n8\n\n", pictures);
    ASSERT_TRUE(v.notchImageP.picture);
    EXPECT_EQ(v.notchImageP.picture->width, 80);
    EXPECT_EQ(v.notchImageP.file, "sub\\Notch.bmp");
    ASSERT_EQ(pictures.requested.size(), 1u);
    EXPECT_TRUE(pictures.requested[0].ends_with("/sub/Notch.bmp")) << pictures.requested[0];
    EXPECT_FALSE(v.notchImageB.picture);
    EXPECT_EQ(v.notchImageB.y, 4);

    EXPECT_EQ(errorOf("[NotchImageP]\n1\n2\n16\n8\nabsent.bmp\n"), vehicleError("[NotchImageP]"));
    EXPECT_EQ(errorOf("[Digi_Speed]\n1\n2\n16\n8\nabsent.bmp\n"), vehicleError("[Digi_Speed]"));
    EXPECT_EQ(errorOf("[GearImageList2]\n1\n2\n16\n8\nabsent.bmp\n"), vehicleError("[GearImageList2]"));
    EXPECT_EQ(errorOf("[Lamp_signal]\n1\n2\n16\n8\nabsent.bmp\n#\n"), vehicleError("[Lamp_signal]"));
    // A later key with an empty picture line drops the earlier picture.
    const VehicleSpec again =
        vehicleFrom("[NotchImageP]\n1\n2\n16\n8\nsub\\Notch.bmp\n[NotchImageP]\n1\n2\n16\n8\n\n", pictures);
    EXPECT_FALSE(again.notchImageP.picture);
}

// The least a train has: cars, a mass and power notches.
VehicleSpec aTrain()
{
    VehicleSpec v;
    v.cars = 1;
    v.trainMass = fixed4::fromInt(30);
    v.powerNotches = 4;
    return v;
}

TEST(VehicleChecks, AFileWithoutCarsMassOrPowerNotchesIsNoTrain)
{
    VehicleSpec train = aTrain();
    EXPECT_NO_THROW(checkVehicleAfterLoading(train));
    for (const auto& unmake : std::initializer_list<void (*)(VehicleSpec&)>{
             [](VehicleSpec& v) { v.cars = 0; }, [](VehicleSpec& v) { v.trainMass = fixed4::fromInt(0); },
             [](VehicleSpec& v) { v.trainMass = fixed4::fromInt(-5); }, [](VehicleSpec& v) { v.powerNotches = 0; }}) {
        VehicleSpec v = aTrain();
        unmake(v);
        try {
            checkVehicleAfterLoading(v);
            ADD_FAILURE() << "no train accepted";
        } catch (const LoadError& e) {
            EXPECT_EQ(std::string(e.what()), vehicleError("- 列車の基本設定"));
        }
    }
}

TEST(VehicleChecks, AutomaticAirBrakeHasFourPositionsAndANotchedBrakeAtLeastThree)
{
    VehicleSpec automatic = aTrain();
    automatic.brakeType = 0;
    automatic.brakeNotches = 8;
    checkVehicleAfterLoading(automatic);
    EXPECT_EQ(automatic.brakeNotches, 4);

    VehicleSpec notched = aTrain();
    notched.brakeType = 1;
    notched.brakeNotches = 3;
    checkVehicleAfterLoading(notched);
    EXPECT_EQ(notched.brakeNotches, 3);

    notched.brakeNotches = 2;
    try {
        checkVehicleAfterLoading(notched);
        ADD_FAILURE() << "a notched brake with 2 positions was accepted";
    } catch (const LoadError& e) {
        EXPECT_EQ(std::string(e.what()), "ブレーキの段数を3段以上に設定してください");
    }
}

TEST(VehicleChecks, NotchCountsMustFitThePerNotchTables)
{
    auto checkError = [](std::int32_t brakeType, std::int32_t brakeNotches, std::int32_t powerNotches) {
        VehicleSpec v = aTrain();
        v.brakeType = brakeType;
        v.brakeNotches = brakeNotches;
        v.powerNotches = powerNotches;
        try {
            checkVehicleAfterLoading(v);
        } catch (const LoadError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(checkError(1, 11, 11), "accepted");
    EXPECT_EQ(checkError(1, 12, 4), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(checkError(1, 8, 12), vehicleError("- 列車の基本設定"));
    EXPECT_EQ(checkError(1, 8, -1), vehicleError("- 列車の基本設定"));
    // An automatic air brake is set to 4 positions whatever the file said.
    EXPECT_EQ(checkError(0, 40, 5), "accepted");
}

}  // namespace
}  // namespace cabdrive
