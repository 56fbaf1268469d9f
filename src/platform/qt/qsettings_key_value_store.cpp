// The per-user key-value store on QSettings.
#include "platform/qt/qsettings_key_value_store.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <limits>

#include <QSettings>
#include <QStringList>

namespace cabdrive {

namespace {

namespace fs = std::filesystem;

QString qstring(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// An INI value with unquoted commas (edited by hand) reads as a list.
QString textOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(',');
    return value.toString();
}

using Snapshot = std::vector<std::pair<QString, QString>>;

// Every value the file holds, as QSettings believes it holds them.
Snapshot snapshotOf(QSettings& settings)
{
    settings.setFallbacksEnabled(false);
    Snapshot values;
    for (const QString& key : settings.allKeys())
        values.emplace_back(key, textOf(settings.value(key)));
    return values;
}

// Reads the file back from disk under a name of its own: QSettings answers
// from what it parsed of a file before, cached by the file's name, so
// reading the store's own name could answer from memory.
bool holdsOnDisk(const fs::path& file, const Snapshot& expected)
{
    static std::atomic<unsigned> probes{0};
    const fs::path probe = file.string() + ".check-" + std::to_string(::getpid()) + "-" + std::to_string(++probes);
    std::error_code error;
    fs::create_hard_link(file, probe, error);
    if (error)
        return false;
    bool same = false;
    {
        QSettings reader(QString::fromStdString(probe.string()), QSettings::IniFormat);
        same = reader.status() == QSettings::NoError && snapshotOf(reader) == expected;
    }
    fs::remove(probe, error);
    return same;
}

}  // namespace

std::unique_ptr<QSettings> QSettingsKeyValueStore::open(std::string_view keyPath) const
{
    if (!m_file.empty())
        return std::make_unique<QSettings>(QString::fromStdString(m_file), QSettings::IniFormat);
    // Application names are the key paths: "kestra", "vqcontroller".
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Cabdrive", qstring(keyPath));
}

QVariant QSettingsKeyValueStore::readValue(std::string_view keyPath, std::string_view name) const
{
    return open(keyPath)->value(qstring(name));
}

// QSettings writes into a temporary file that it renames over the store, so
// a crash half-way keeps the previous file. But Qt 6.4 does not check its
// writes into that file: on a full disk it renames an empty or cut-off file
// over the store and reports success, which would lose every saved state
// and option. So the previous file is kept under a second name (a hard link,
// which needs no room on the disk) while QSettings writes, the new file is
// read back from disk, and when it does not hold what was written the
// previous file comes back.
bool QSettingsKeyValueStore::writeValues(std::string_view keyPath, const Values& values)
{
    Values before;
    QString name;
    {
        const auto settings = open(keyPath);
        name = settings->fileName();
        for (const auto& [key, value] : values)
            before.emplace_back(key, settings->value(key));
    }
    const fs::path file = name.toStdString();
    const fs::path kept = file.string() + ".previous";
    std::error_code error;
    fs::remove(kept, error);
    const bool hadFile = fs::exists(file, error);
    if (hadFile) {
        fs::create_hard_link(file, kept, error);
        if (error)
            return false;  // no way back: better not to write at all
    }

    Snapshot written;
    bool stored = false;
    {
        const auto settings = open(keyPath);
        for (const auto& [key, value] : values)
            settings->setValue(key, value);
        settings->sync();
        stored = settings->status() == QSettings::NoError;
        written = snapshotOf(*settings);
    }
    if (stored && holdsOnDisk(file, written)) {
        fs::remove(kept, error);
        return true;
    }

    // QSettings keeps values it could not write in its cache and writes them
    // with the next change: put the previous ones there, then the previous file.
    {
        const auto settings = open(keyPath);
        for (const auto& [key, value] : before) {
            if (value.isValid())
                settings->setValue(key, value);
            else
                settings->remove(key);
        }
    }
    // When the store's file is still the kept one (nothing was renamed over
    // it), rename does nothing at all: the second name goes by itself.
    if (hadFile)
        fs::rename(kept, file, error);
    else
        fs::remove(file, error);
    fs::remove(kept, error);
    return false;
}

std::optional<std::int32_t> QSettingsKeyValueStore::readInt(std::string_view keyPath, std::string_view name)
{
    const QVariant value = readValue(keyPath, name);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

std::optional<std::string> QSettingsKeyValueStore::readString(std::string_view keyPath, std::string_view name)
{
    const QVariant value = readValue(keyPath, name);
    if (!value.isValid())
        return std::nullopt;
    return textOf(value).toStdString();
}

bool QSettingsKeyValueStore::writeInt(std::string_view keyPath, std::string_view name, std::int32_t value)
{
    return writeValues(keyPath, {{qstring(name), QVariant(static_cast<int>(value))}});
}

bool QSettingsKeyValueStore::writeString(std::string_view keyPath, std::string_view name, std::string_view value)
{
    return writeValues(keyPath, {{qstring(name), QVariant(qstring(value))}});
}

bool QSettingsKeyValueStore::writeStrings(std::string_view keyPath, std::span<const NamedText> values)
{
    Values converted;
    for (const NamedText& value : values)
        converted.emplace_back(qstring(value.name), QVariant(qstring(value.value)));
    return writeValues(keyPath, converted);
}

}  // namespace cabdrive
