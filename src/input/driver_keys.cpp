// The driver's keyboard, mouse wheel and easy-panel bindings.
#include "input/driver_keys.h"

#include <cmath>
#include <cstdint>

#include "input/handle_operation.h"
#include "sim/controller_state.h"
#include "sim/doors.h"
#include "sim/kanko_queue.h"
#include "sim/mascon_update.h"
#include "sim/signal_display.h"
#include "sim/spot_protection.h"
#include "sim/station_announcements.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int32_t clockStep = 900;  // 1/30 s: 30 s

// The handle keys, whose meaning depends on the controller type.
void moveHandles(Run& run, char ch)
{
    const bool oneHandle = run.vehicle.handleType == 0;
    const bool twoHandles = run.vehicle.handleType == 1;
    if (oneHandle) {
        if (ch == 'z')
            handleForward(run);
        if (ch == 'a')
            handleBack(run);
        if (ch == 'q')
            brakeEmergency(run, true);
    }
    if (twoHandles) {
        if (ch == 'z')
            powerUp(run);
        if (ch == 'a')
            powerDown(run);
        if (ch == ',')
            brakeRelease(run);
        if (ch == '.')
            brakeApply(run);
        if (ch == '/')
            brakeEmergency(run, false);
    }
    if (ch == '8')
        handleForward(run);
    if (ch == '2')
        handleBack(run);
    if (ch == '5')
        allNeutral(run);
    if (ch == '0')
        allEmergency(run);
}

void soundHorns(Run& run, char ch)
{
    const VehicleSpec& v = run.vehicle;
    if (ch == '3') {
        // A vehicle with the four-part horn sounds it from the tick while the
        // key is held; the others sound the single horn once per press.
        if (v.soundHorn4a == 0)
            run.sound.restart(vehicleSound(v.soundHorn), false);
        else
            run.state.input.hornSequence = true;
    }
    if (ch == '6')
        run.sound.restart(vehicleSound(v.soundHorn2), false);
    if (ch == '4')
        run.state.input.buzzer = true;
}

// A manual diesel car's gear lever: "s" neutral, "x" first, "w" second.
void moveGearLever(Run& run, char ch)
{
    if (run.vehicle.engineType != 0 || run.vehicle.gearType != 1)
        return;
    const std::int32_t position = ch == 's' ? 0 : ch == 'x' ? 1 : ch == 'w' ? 2 : -1;
    if (position < 0)
        return;
    run.state.engine.gearLever = position;
    masconupdate(run);
}

// The first [MovieStop] frame is where the driver may change ends: standing
// within 200 frames before it, the video jumps past it to the footage
// recorded the other way.
void switchBack(Run& run)
{
    if (run.route.movieStops.empty())
        return;
    const std::int32_t stopFrame = run.route.movieStops[0];
    VideoState& video = run.state.video;
    if (std::fabs(run.state.dynamics.trainSpeed) < 0.1L && stopFrame - 200 < video.currentFrame
        && video.currentFrame <= stopFrame) {
        video.currentFrame = stopFrame + 2;
        video.reversed = 1;
    }
}

// Shift with F5 .. F12: moving the train, its speed and the clock by hand.
void debugJumps(Run& run, Key key)
{
    long double& speed = run.state.dynamics.trainSpeed;  // km/h
    std::int32_t& clock = run.state.time.clockTicks;
    std::int32_t& frame = run.state.video.currentFrame;
    switch (key) {
    case Key::F11:
        if (speed > 10)
            speed -= 10;
        break;
    case Key::F12:
        if (speed < 1000)
            speed += 10;
        break;
    case Key::F10: clock += clockStep; break;
    case Key::F9: clock -= clockStep; break;
    case Key::F8:
        clock += clockStep;
        frame += 1000;
        break;
    case Key::F7: frame -= 1000; break;
    case Key::F6: frame += 100; break;
    case Key::F5: frame -= 100; break;
    default: break;
    }
}

}  // namespace

void AsciiDown(Run& run, char ch)
{
    RunState& state = run.state;
    state.protection.vigilanceCounter = 0;
    run.sound.stopIfPlaying(vehicleSound(run.vehicle.soundEbRing));
    run.scene.setVisible("img_Lamp_EB", false);
    if (state.input.swapDigits && (ch == '2' || ch == '8'))
        ch = ch == '2' ? '8' : '2';
    if (state.input.runNotStarted)
        return;
    if (ch == 'f')
        setReverser(run, 1);
    if (ch == 'b')
        setReverser(run, -1);
    if (ch == 'n')
        setReverser(run, 0);
    operateHandles(run, [&run, ch] { moveHandles(run, ch); });
    soundHorns(run, ch);
    if ((ch == 'd' || ch == '7') && run.route.oneMan >= 1)
        Door_operate(run);
    if (ch == 'r')
        resetProtection(run);
    if (ch == ' ' && run.vehicle.atsType == 0 && acknowledgeProtection(run) == Acknowledgement::Refused)
        return;
    if (ch == 'c' || ch == '1')
        nextAnnouncement(run);
    if (ch == '-')
        previousAnnouncement(run);
    if ((ch == '9' || ch == 'w') && state.controls.powerHandle == 0) {
        nextPowerMode(run);
        masconupdate(run);
    }
    if (ch == 't')
        engageConstantSpeed(run);
    moveGearLever(run, ch);
    refreshGearText(run);
}

void keydowns(Run& run, Key key, KeyModifiers modifiers)
{
    const bool shift = modifiers.shift && !modifiers.ctrl && !modifiers.alt;
    InputState& input = run.state.input;
    if (key == Key::Backspace)
        switchBack(run);
    if (key == Key::ScrollLock)
        input.swapDigits = !input.swapDigits;
    // The cab surface moves in 50 px steps between 150 px up and its home.
    std::int32_t& cabSurfaceTop = run.state.presentation.cabSurfaceTop;
    if (shift && key == Key::Up && cabSurfaceTop > -150)
        cabSurfaceTop -= 50;
    if (shift && key == Key::Down && cabSurfaceTop < 0)
        cabSurfaceTop += 50;
    if (key == Key::Enter)
        callOutKey(run);
    if (key == Key::F1)
        input.debugFreeze = shift;
    if (shift)
        debugJumps(run, key);
    if (key == Key::F2)
        input.engineKey = shift ? 2 : 1;  // held: 2 the stop key, 1 the start key
    if (shift && key == Key::F3)
        jumpToNextSignal(run);
    if (key == Key::F3)
        run.shell.toggleValueDisplay();
    if (key == Key::PageUp)
        chooseDoorSide(run, 0);
    if (key == Key::PageDown)
        chooseDoorSide(run, 1);
}

void keyups(Run& run, Key key)
{
    if (key == Key::F2)
        run.state.input.engineKey = 0;
}

void WheelD(Run& run)
{
    AsciiDown(run, '8');
}

void WheelU(Run& run)
{
    const bool lastServiceNotch = run.state.controls.brakeHandle == -run.vehicle.brakeNotches + 1;
    AsciiDown(run, lastServiceNotch ? '0' : '2');
}

char easyPanelCharacter(const Run& run, EasyPanelButton button)
{
    switch (button) {
    case EasyPanelButton::Decelerate: return '2';
    case EasyPanelButton::Accelerate: return '8';
    case EasyPanelButton::Neutral: return '5';
    case EasyPanelButton::Doors: return '7';
    case EasyPanelButton::Announcement: return '1';
    case EasyPanelButton::Rewind: return '-';
    case EasyPanelButton::Reverser:
        // The button turns the reverser round; in neutral it has no side to turn to.
        if (run.state.controls.reverser == 1)
            return 'b';
        if (run.state.controls.reverser == -1)
            return 'f';
        return 0;
    }
    return 0;
}

EasyPanelIndicators easyPanelIndicators(const Run& run)
{
    const ControlState& c = run.state.controls;
    EasyPanelIndicators shown;
    if (c.powerHandle == 0 && c.brakeHandle == 0)
        shown.neutral = IndicatorColour::Green;
    for (std::size_t i = 0; i < shown.power.size(); ++i) {
        if (c.powerHandle >= static_cast<std::int32_t>(i + 1))
            shown.power[i] = IndicatorColour::Yellow;
    }
    for (std::size_t i = 0; i < shown.brake.size(); ++i) {
        if (c.brakeHandle <= -static_cast<std::int32_t>(i + 1))
            shown.brake[i] = IndicatorColour::Red;
    }
    return shown;
}

}  // namespace cabdrive
