// Loading the settings file cabdrive.dat.
#include "data/settings.h"

#include "common/load_error.h"
#include "common/paths.h"
#include "data/reader_loop.h"

namespace cabdrive {

namespace {

constexpr const char* settingsFileMessage = "stringファイルに誤りがあります";

std::string settingsMessage(std::string_view, std::string_view)
{
    return settingsFileMessage;
}

KeyRule textKey(std::string_view key, std::string& target)
{
    return {key, std::nullopt, [&target](ValueReader& r) { target = r.textLine(); }};
}

KeyRule twoTextKey(std::string_view key, std::string& first, std::string& second)
{
    return {key, std::nullopt, [&first, &second](ValueReader& r) {
                first = r.textLine();
                second = r.textLine();
            }};
}

void readDisp(ValueReader& r, Settings& s)
{
    r.nextLine();
    s.physicsStepDivisor = r.intField(1);
    s.videoFrameFactor = r.intField(2);
    // Lines 2 to 5 hold one number each; a remark after a comma is ignored.
    for (std::int32_t* target : {&s.panelLeft, &s.viewWidth, &s.viewHeight, &s.lowerHeight}) {
        r.nextLine();
        *target = r.intField(1);
    }
}

void readInfoLabels(ValueReader& r, Settings& s)
{
    s.infoTexts.clear();
    r.list([&] {
        if (s.infoTexts.size() == infoTextCapacity)
            r.fail();
        s.infoTexts.emplace_back(r.current());
    });
}

std::vector<KeyRule> settingsRules(Settings& s)
{
    return {
        {"[Disp]", std::nullopt, [&s](ValueReader& r) { readDisp(r, s); }},
        textKey("[Path]", s.videoFolder),
        textKey("[Forward]", s.wordForward),
        textKey("[Neutral]", s.wordNeutral),
        textKey("[Reverse]", s.wordReverse),
        textKey("[Stop]", s.wordStop),
        textKey("[Pass]", s.wordPass),
        textKey("[Stop2]", s.wordStop2),
        textKey("[Neut]", s.wordBrakeReleased),
        textKey("[Neut2]", s.wordPowerOff),
        textKey("[Apply]", s.wordApply),
        textKey("[Maintain]", s.wordMaintain),
        textKey("[Remove]", s.wordRemove),
        textKey("[Hold]", s.wordHold),
        textKey("[Hold2]", s.wordHold2),
        textKey("[EB]", s.wordEmergency),
        textKey("[Const]", s.wordConstSpeed),
        textKey("[Cars]", s.wordCars),
        textKey("[TC]", s.wordSection),
        twoTextKey("[Stops]", s.wordStopsA, s.wordStopsB),
        twoTextKey("[Doors]", s.wordDoorsA, s.wordDoorsB),
        {"[Gears]", std::nullopt, [&s](ValueReader& r) {
             s.wordGear0 = r.textLine();
             s.wordGear1 = r.textLine();
             s.wordGearStem = r.textLine();
         }},
        {"[InfoLabel]", std::nullopt, [&s](ValueReader& r) { readInfoLabels(r, s); }},
        textKey("[Start]", s.captionStart),
        textKey("[Move]", s.captionMove),
        textKey("[Display]", s.captionDisplay),
        textKey("[Control]", s.captionControl),
        textKey("[Save]", s.captionSave),
    };
}

}  // namespace

Settings loadSettings(std::string_view programFolder)
{
    const std::string path = joinPath(programFolder, "cabdrive.dat");
    auto in = openDataFile(path);
    if (!in)
        throw LoadError(withFileNotOpened(settingsFileMessage, path));
    Settings s;
    ValueReader reader(*in, settingsMessage);
    const std::vector<KeyRule> rules = settingsRules(s);
    runReaderLoop(reader, rules);
    return s;
}

std::vector<std::string_view> settingsFileKeys()
{
    Settings unused;
    std::vector<std::string_view> keys;
    for (const KeyRule& rule : settingsRules(unused))
        keys.push_back(rule.key);
    return keys;
}

}  // namespace cabdrive
