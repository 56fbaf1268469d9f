// The run builder: the loading stages of a run, in their order.
#include "run/run_builder.h"

#include "data/controller_codes.h"
#include "data/display_options.h"
#include "data/settings.h"
#include "data/vehicle_file.h"
#include "sim/run_start.h"
#include "sim/video_switch.h"
#include "sound/sound_setup.h"

namespace cabdrive {
namespace {

// Read from the per-user store before anything else.
struct StoredOptions {
    DisplayOptions options;
    ControllerCodes controllerCodes;
};

void report(const LoadingProgress& progress, const std::string& status)
{
    if (progress)
        progress(status);
}

// The program works in its data folder, so a relative video folder names
// videos there; a run started from anywhere else must find the same files.
void anchorVideoFolder(Settings& settings, const DataFolder& folder)
{
    if (!settings.videoFolder.starts_with('/'))
        settings.videoFolder = folder.programFolder + settings.videoFolder;
}

void loadDataFiles(LoadedRun& loaded, const RunSetup& setup, PictureLoader& pictures)
{
    const DataFolder& folder = loaded.folder;
    loaded.mascon = loadMasconMap(folder.programFolder);
    loaded.settings = loadSettings(folder.programFolder);
    anchorVideoFolder(loaded.settings, folder);
    loaded.vehicle = loadVehicle(folder.vehicleFolder, folder.trainFileName, pictures);
    loaded.route = loadRouteFor(folder, setup.routeFileName, loaded.vehicle, pictures);
}

// The cab and the video: the run is made here, with the devices it acts
// through, so that the video port can be opened for it.
void drawCab(LoadedRun& loaded, const RunPorts& ports, const StoredOptions& stored)
{
    loaded.staff = buildCabPanel(loaded.scene, loaded.vehicle, *loaded.route, loaded.settings, loaded.folder,
                                 ports.pictures);
    Joystick& joystick = ports.joystick ? *ports.joystick : loaded.noJoystick;
    loaded.run.emplace(Run{loaded.settings, loaded.vehicle, *loaded.route, loaded.mascon, loaded.scene, ports.sound,
                           ports.video, ports.shell, joystick, ports.store, stored.options, {},
                           stored.controllerCodes, nullptr});
    Run& run = *loaded.run;
    loaded.mainVideoOpened = openMainVideo(run);
    if (!loaded.mainVideoOpened)
        ports.shell.showMessage(videoOpenFailure(videoPath(run, loaded.route->dataName)));
}

}  // namespace

std::unique_ptr<LoadedRun> loadRun(const DataFolder& folder, const RunSetup& setup, const RunPorts& ports,
                                   const LoadingProgress& progress)
{
    auto loaded = std::make_unique<LoadedRun>();
    loaded->folder = folder;
    const StoredOptions stored{readDisplayOptions(ports.store), readControllerCodes(ports.store)};

    report(progress, "設定ファイルを読み込んでいます");
    loadDataFiles(*loaded, setup, ports.pictures);

    report(progress, "運転台を描画しています");
    drawCab(*loaded, ports, stored);

    Run& run = *loaded->run;
    const std::string& vehicleFolder = loaded->folder.vehicleFolder;
    report(progress, "DirectSoundオブジェクトを作成しています(走行音)");
    loadRunningSounds(run, vehicleFolder);
    report(progress, "DirectSoundオブジェクトを作成しています(環境音)");
    // Their lengths set the start clock when the run starts.
    RunStart start{setup.startStation, setup.crewChangeStation, 0, loadEnvironmentSounds(run)};
    report(progress, "DirectSoundオブジェクトを作成しています(喚呼)");
    loadCalloutsAndEngineSounds(run, vehicleFolder);
    report(progress, "サウンドを読み込んでいます");
    assignSoundChannels(run, vehicleFolder);
    resetSounds(run);

    report(progress, "環境をセットアップしています");
    checkVehicleAfterLoading(loaded->vehicle);
    start.highestFrame = run.state.video.highestFrame;
    startRun(run, start);
    return loaded;
}

}  // namespace cabdrive
