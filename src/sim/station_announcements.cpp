// The next-station announcements the driver plays in one-person operation.
#include "sim/station_announcements.h"

#include "sim/environment_sounds.h"
#include "state/run.h"

namespace cabdrive {
namespace {

// Only this [OneMan] value leaves the announcements to the driver; other
// one-person values play them by position.
constexpr std::int32_t driverAnnounces = 1;

// Row 0 of the table is its header line (the unscheduled-stop sound), so the
// index runs over the header and the announcements after it.
std::int32_t announcementSound(const Run& run, std::int32_t row)
{
    return run.route.announces[static_cast<std::size_t>(row)].column(1);
}

}  // namespace

void nextAnnouncement(Run& run)
{
    std::int32_t& i = run.state.stations.announceIndex;
    if (run.route.oneMan != driverAnnounces || i < 0 || static_cast<std::size_t>(i) >= run.route.announces.size())
        return;
    if (!environmentSoundPlaying(run, announcementSound(run, i))) {
        if (i > 0)
            stopEnvironmentSound(run, announcementSound(run, i - 1));
        restartEnvironmentSound(run, announcementSound(run, i));
    }
    ++i;
}

void previousAnnouncement(Run& run)
{
    std::int32_t& i = run.state.stations.announceIndex;
    if (run.route.oneMan != driverAnnounces || i <= 0)
        return;
    if (static_cast<std::size_t>(i - 1) < run.route.announces.size())
        stopEnvironmentSound(run, announcementSound(run, i - 1));
    --i;
}

}  // namespace cabdrive
